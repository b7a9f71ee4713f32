// The dial-up world the RAS stand-in reports: connections, phonebook entries and what a hang-up does, with
// the RAS calls answered in the record layout of a given system class and architecture.
#pragma once

#include "monitor/magrascon_api.h"
#include "monitor/magrascon_records.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace vurras {

struct TWorldConnection {
    vur::monitor::TRasHandle handle = 0;
    std::string entryName;
    uint32_t subEntry = 0;
    int dropAfterMs = 0; // 0: gone at once; -1: never
    // States reported by successive status queries after the hang-up until the line drops; the last repeats.
    std::vector<uint32_t> hangUpStates{8193};
};

struct TWorldEntry {
    std::string name;
    bool readable = true;
    uint32_t countryCode = 0;
    std::string areaCode;
    std::string localNumber;
    // Bytes beyond the record, as alternate numbers add them; RAS then asks for a larger buffer.
    uint32_t extraBytes = 0;
};

struct TScenario {
    std::vector<TWorldConnection> connections;
    std::vector<TWorldEntry> entries;
};

// Parses the scenario text: one item per line, fields split at "|", "#" starts a comment line.
//   connection|<handle>|<entry name>|<sub-entry>|<now|never|ms>[|<state>,<state>...]
//   entry|<name>|<country code>|<area code>|<local number>[|<bytes of alternate numbers beyond the record>]
//   entry|<name>|unreadable
// Malformed lines are skipped and counted in `badLines`.
TScenario ParseScenario(const std::string& text, int* badLines = nullptr);

class TRasWorld {
  public:
    TRasWorld(vur::monitor::TSystemClass systemClass, vur::monitor::TArchitecture architecture = vur::monitor::kBuildArchitecture)
        : sizes_(vur::monitor::RecordSizes(systemClass, architecture)), layout_(vur::monitor::ConnLayout(architecture)),
          class_(systemClass) {}

    // Replaces what the world shows; hang-ups already made stay in force for their handles.
    void SetScenario(TScenario scenario) { scenario_ = std::move(scenario); }
    const TScenario& Scenario() const { return scenario_; }

    uint32_t EnumConnections(uint8_t* records, uint32_t* size, uint32_t* count, uint32_t now);
    uint32_t GetConnectStatus(vur::monitor::TRasHandle handle, uint8_t* status, uint32_t now);
    uint32_t HangUp(vur::monitor::TRasHandle handle, uint32_t now);
    uint32_t GetEntryProperties(const char* entry, uint8_t* entryInfo, uint32_t* entrySize,
                                uint8_t* deviceInfo, uint32_t* deviceSize);
    uint32_t GetErrorString(uint32_t code, char* text, uint32_t size) const;

    // "hangup <handle>" and the like, in call order.
    const std::vector<std::string>& Log() const { return log_; }

  private:
    struct THangUp {
        uint32_t at = 0;
        size_t queries = 0;
    };
    const TWorldConnection* Find(vur::monitor::TRasHandle handle) const;
    bool Dropped(const TWorldConnection& c, uint32_t now) const;

    vur::monitor::TRecordSizes sizes_;
    const vur::monitor::TConnLayout& layout_;
    vur::monitor::TSystemClass class_;
    TScenario scenario_;
    std::map<vur::monitor::TRasHandle, THangUp> hangUps_;
    std::vector<std::string> log_;
};

} // namespace vurras
