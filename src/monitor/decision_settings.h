// The settings reads behind the watches' decisions, made so that a damaged vur.conf never switches
// protection off: a reaction that cannot be read counts as its setting's default, an allow entry that cannot
// be read counts as not allowed, and the user is told which key is damaged (the reporter tells each distinct
// message once).
#pragma once

#include "shared/ini_file.h"
#include "shared/settings_schema.h"

#include <functional>
#include <string>

namespace vur::monitor {

class DecisionSettings {
public:
    using Reporter = std::function<void(const std::string& message)>;

    DecisionSettings(vur::TCustomIniFile& settings, Reporter report);

    int Reaction(const vur::schema::IntegerSetting& setting);
    bool IsApplicationAllowed(const std::string& path, const std::string& crcText);
    bool IsNumberAllowed(const std::string& numberKey);

    // The German texts the user gets.
    static std::string DamagedReactionText(const vur::schema::IntegerSetting& setting);
    static std::string DamagedEntryText(const char* section, const std::string& key);

private:
    vur::TCustomIniFile& settings_;
    Reporter report_;
};

} // namespace vur::monitor
