// DecisionSettings: every failure of a read (a damaged token, a lock that timed out) is caught here.
#include "monitor/decision_settings.h"

namespace vur::monitor {

namespace schema = vur::schema;

DecisionSettings::DecisionSettings(vur::TCustomIniFile& settings, Reporter report)
    : settings_(settings), report_(std::move(report)) {}

std::string DecisionSettings::DamagedReactionText(const schema::IntegerSetting& setting) {
    return std::string("Die Einstellung „") + setting.key + "“ in vur.conf ist beschädigt oder kann gerade nicht "
           "gelesen werden. Bis sie wieder lesbar ist, gilt ihre Voreinstellung. Speichere die Einstellungen im "
           "Konfigurator neu, um sie zu reparieren.";
}

std::string DecisionSettings::DamagedEntryText(const char* section, const std::string& key) {
    return "Der Eintrag „" + key + "“ im Abschnitt „" + section + "“ von vur.conf ist beschädigt oder kann "
           "gerade nicht gelesen werden. Er gilt deshalb als nicht erlaubt.";
}

int DecisionSettings::Reaction(const schema::IntegerSetting& setting) {
    try {
        return schema::Read(settings_, setting);
    } catch (...) {
        report_(DamagedReactionText(setting));
        return setting.defaultValue;
    }
}

bool DecisionSettings::IsApplicationAllowed(const std::string& path, const std::string& crcText) {
    try {
        return schema::IsApplicationAllowed(settings_, path, crcText);
    } catch (...) {
        report_(DamagedEntryText(schema::kApplications, path));
        return false;
    }
}

bool DecisionSettings::IsNumberAllowed(const std::string& numberKey) {
    try {
        return schema::IsNumberAllowed(settings_, numberKey);
    } catch (...) {
        report_(DamagedEntryText(schema::kNumbers, numberKey));
        return false;
    }
}

} // namespace vur::monitor
