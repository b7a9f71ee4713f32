// The stand-in's scenario text: connections, phonebook entries, hang-up behaviour and reported states.
#include "ras_world.h"

#include <cstdlib>

namespace vurras {

namespace {

std::vector<std::string> Split(const std::string& line, char at) {
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        const size_t bar = line.find(at, start);
        fields.push_back(line.substr(start, bar - start));
        if (bar == std::string::npos) return fields;
        start = bar + 1;
    }
}

bool Number(const std::string& text, uint64_t& value) {
    if (text.empty() || text[0] == '-') return false;
    char* end = nullptr;
    value = std::strtoull(text.c_str(), &end, 0);
    return *end == '\0';
}

bool Number(const std::string& text, uint32_t& value) {
    uint64_t wide = 0;
    if (!Number(text, wide) || wide > 0xFFFFFFFFu) return false;
    value = static_cast<uint32_t>(wide);
    return true;
}

bool ParseConnection(const std::vector<std::string>& f, TWorldConnection& c) {
    if (f.size() != 5 && f.size() != 6) return false;
    uint32_t ms = 0;
    if (!Number(f[1], c.handle) || c.handle == 0 || !Number(f[3], c.subEntry)) return false;
    c.entryName = f[2];
    if (f[4] == "now")
        c.dropAfterMs = 0;
    else if (f[4] == "never")
        c.dropAfterMs = -1;
    else if (Number(f[4], ms) && ms < 0x7FFFFFFF)
        c.dropAfterMs = static_cast<int>(ms);
    else
        return false;
    if (f.size() == 6) {
        c.hangUpStates.clear();
        for (const auto& s : Split(f[5], ',')) {
            uint32_t state = 0;
            if (!Number(s, state)) return false;
            c.hangUpStates.push_back(state);
        }
    }
    return true;
}

bool ParseEntry(const std::vector<std::string>& f, TWorldEntry& e) {
    e.name = f.size() > 1 ? f[1] : "";
    if (f.size() == 3 && f[2] == "unreadable") {
        e.readable = false;
        return true;
    }
    if (f.size() != 5 && f.size() != 6) return false;
    if (!Number(f[2], e.countryCode) || (f.size() == 6 && !Number(f[5], e.extraBytes))) return false;
    e.areaCode = f[3];
    e.localNumber = f[4];
    return true;
}

} // namespace

TScenario ParseScenario(const std::string& text, int* badLines) {
    TScenario scenario;
    int bad = 0;
    for (std::string line : Split(text, '\n')) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        const auto fields = Split(line, '|');
        TWorldConnection c;
        TWorldEntry e;
        if (fields[0] == "connection" && ParseConnection(fields, c))
            scenario.connections.push_back(c);
        else if (fields[0] == "entry" && ParseEntry(fields, e))
            scenario.entries.push_back(e);
        else
            ++bad;
    }
    if (badLines) *badLines = bad;
    return scenario;
}

} // namespace vurras
