// Construction of the program's settings object, the same in every program.
#include "shared/program_settings.h"

#include "shared/settings_schema.h"

namespace vur {

std::unique_ptr<TSECURITYINI> OpenProgramSettings(const std::string& programFolder, const PassPhrases& phrases) {
    return std::make_unique<TSECURITYINI>(programFolder + schema::kSettingsFileName, phrases.nameKey,
                                          phrases.valueKey);
}

std::unique_ptr<TSECURITYINI> OpenProgramSettings(const std::string& programFolder) {
    return OpenProgramSettings(programFolder, InstallationPassPhrases());
}

} // namespace vur
