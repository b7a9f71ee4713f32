// This installation's pass phrases on POSIX: no owner, and the systemd/D-Bus machine id in place of the
// product id, which is set once at installation.
#include "shared/program_settings.h"

#include <fstream>
#include <string>

namespace vur {

PassPhrases InstallationPassPhrases() {
    std::ifstream in("/etc/machine-id");
    std::string id;
    if (!std::getline(in, id)) id.clear();
    while (!id.empty() && (id.back() == ' ' || id.back() == '\r' || id.back() == '\t')) id.pop_back();
    return {"", id.empty() ? "0" : id};
}

} // namespace vur
