// The settings object every program builds: "vur.conf" in its program folder, sealed under this
// installation's pass phrases (or under given ones, for tests and the admin tool).
#pragma once

#include "shared/securityunit.h"

#include <memory>
#include <string>

namespace vur {

struct PassPhrases {
    std::string nameKey;  // sections, keys and the inner value layer
    std::string valueKey; // the outer value layer
};

// Windows: RegisteredOwner and ProductId (WinFuncs). POSIX, which has neither: an empty name phrase, as on a
// Windows installation without an owner, and the machine id of /etc/machine-id as the value phrase ("0"
// when it cannot be read, as for an unreadable registry key); both stay the same for one installation.
PassPhrases InstallationPassPhrases();

// folder ends with its separator; the file is folder + "vur.conf". Nothing is read until the first call.
std::unique_ptr<TSECURITYINI> OpenProgramSettings(const std::string& programFolder, const PassPhrases& phrases);
std::unique_ptr<TSECURITYINI> OpenProgramSettings(const std::string& programFolder);

} // namespace vur
