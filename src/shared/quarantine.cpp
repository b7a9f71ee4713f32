// IsolateFile: naming, the description file, and the move.
#include "shared/quarantine.h"

#include <random>

namespace vur {

bool IsolateFileChecked(const std::string& path, const std::string& reason,
                        const std::function<std::string()>& programFolder, QuarantineSystem& system) {
    // A process that runs the file has usually just been terminated; give the system time to let it go.
    system.Wait(1000);
    std::mt19937 generator(system.ClockSeed());
    std::uniform_int_distribution<std::uint32_t> number(0, 999999998);

    const std::size_t slash = path.rfind('\\');
    const std::string fileName = slash == std::string::npos ? path : path.substr(slash + 1);
    const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string content = fileName + "\r\n" + folder + "\r\n" + reason + "\r\n";

    // Only the description name is tested; an existing description file is never overwritten, even one that
    // appears between the test and the creation.
    std::string description;
    for (;;) {
        description = programFolder() + kQuarantineFolder + std::to_string(number(generator)) + ".dat";
        if (system.FileExists(description)) continue;
        if (system.CreateNewTextFile(description, content)) break;
    }
    system.ClearAttributes(path);
    const std::string data = description + ".file";
    if (system.Move(path, data)) {
        // Across volumes the move is a copy and a delete, and Windows reports success even when the delete
        // fails (a CD-ROM, a read-only share, a running program): isolated only when the source is gone.
        if (!system.FileExists(path)) return true;
        // The copy goes, so that the file is not left twice; a copy from a CD-ROM is read-only.
        system.ClearAttributes(data);
        system.Remove(data);
    }
    system.Remove(description);
    return false;
}

void IsolateFile(const std::string& path, const std::string& reason, const std::string& programFolder,
                 QuarantineSystem& system) {
    IsolateFileChecked(path, reason, [&] { return programFolder; }, system);
}

} // namespace vur
