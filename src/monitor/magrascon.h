// TMagRasCon: the monitor's RAS component: the list of active connections, the phone number of a phonebook
// entry, hanging up and waiting for the line to drop, and state events through a posted window message.
#pragma once

#include "monitor/magrascon_api.h"
#include "monitor/magrascon_binding.h"
#include "monitor/magrascon_records.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vur::monitor {

// One RASCONN record widened to the XP layout, zero beyond the system's own size.
using TConnectionRecord = std::array<uint8_t, rasconn::kWidest>;

// The active connections in enumeration order; at most 8, storage reserved once.
class TConnectionList {
  public:
    static constexpr int kCapacity = 8;
    TConnectionList() { items_.reserve(kCapacity); }
    int Count() const { return static_cast<int>(items_.size()); }
    const TConnectionRecord& Item(int i) const { return items_[static_cast<size_t>(i)]; }
    // Copies `size` bytes of a system record; ignored once the list is full.
    void Add(const uint8_t* record, size_t size);
    void Clear() { items_.clear(); }

  private:
    std::vector<TConnectionRecord> items_;
};

struct TRasStateRec {
    int32_t State = 0;
    std::string StatusText;
    std::string DeviceName;
    std::string DeviceType;
    std::string PhoneNumber; // empty on the Windows 9x family
    TRasHandle ConnHandle = 0;
    uint32_t SubEntry = 0;
    uint32_t ErrorCode = 0;
    uint8_t EventKind = 0; // 2: raised while hanging up
    uint32_t TickCount = 0;
};

class TMagRasCon;
using TNotifyEvent = std::function<void(TMagRasCon& sender)>;
using TStateEvent = std::function<void(TMagRasCon& sender, const TRasStateRec& connState)>;

class TMagRasCon {
  public:
    static constexpr uint32_t kStateMessage = 0x400 + 366; // 0x56E
    static constexpr int kRingSize = 16;
    static constexpr uint32_t kStateConnected = rasstate::kConnected;
    static constexpr uint32_t kStateDisconnected = rasstate::kDisconnected;
    static constexpr uint8_t kEventHangingUp = 2;

    // stateWindow receives kStateMessage; its window procedure hands the message to DeliverStateMessage.
    TMagRasCon(TRasBinding& binding, TWindowHandle stateWindow);

    uint32_t RefreshConnections();
    bool ConnectionsChanged() const { return connectionsChanged_; }
    const TConnectionList& Connections() const { return connections_; }
    int Count() const { return connections_.Count(); }
    TRasHandle ConnectionHandle(int i) const;
    std::string ConnectionEntryName(int i) const;
    uint32_t ConnectionSubEntry(int i) const;

    void SetEntryName(const std::string& name) { entryName_ = name; }
    const std::string& EntryName() const { return entryName_; }
    uint32_t ReadEntryProperties();
    uint32_t CountryCode() const { return countryCode_; }
    const std::string& AreaCode() const { return areaCode_; }
    const std::string& LocalPhoneNumber() const { return localPhoneNumber_; }

    uint32_t HangUp(TRasHandle handle);
    uint32_t ReadConnectStatus(TRasHandle handle, uint32_t subEntry);
    uint32_t HangUpAndWait(TRasHandle handle, uint32_t subEntry, uint32_t timeoutMs, bool raiseEvents);

    std::string ErrorText(uint32_t code);
    std::string StateText() const;

    uint32_t LastError() const { return lastError_; }
    const std::string& StatusText() const { return statusText_; }
    // State, error code, device, phone number and handle of the last status query.
    const TRasStateRec& CurrentStatus() const { return current_; }

    // For the owner's window procedure on kStateMessage: delivers ring slot wParam (1..16) to OnStateEvent.
    void DeliverStateMessage(uint32_t wParam);

    TNotifyEvent OnStateChanged;
    TStateEvent OnStateEvent;

  private:
    bool Bind();
    uint32_t Enumerate(uint32_t& count, const uint8_t*& records);
    void RaiseStateEvents();

    TRasBinding& binding_;
    TWindowHandle stateWindow_;
    TConnectionList connections_;
    bool connectionsChanged_ = false;
    std::string entryName_;
    uint32_t countryCode_ = 0;
    std::string areaCode_;
    std::string localPhoneNumber_;
    uint32_t lastError_ = 0;
    std::string statusText_;
    TRasStateRec current_;
    std::array<TRasStateRec, kRingSize> ring_;
    int ringIndex_ = 1;
    std::vector<uint8_t> overflow_; // only for more connections than the static buffer holds
    std::vector<uint8_t> largeEntry_, largeDevice_; // only for entries larger than the static buffers
};

// Fixed English name of a RAS connection state, "Unknown State (n)" for a state without one.
std::string RasStateName(uint32_t state);

} // namespace vur::monitor
