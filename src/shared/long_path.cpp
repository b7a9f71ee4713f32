// The component walk of ExpandLongPath, independent of any file system.
#include "shared/long_path.h"

namespace vur {

std::string ExpandLongPath(const std::string& path, const DirectoryLookup& fileSystem) {
    std::string absolute;
    if (!fileSystem.MakeAbsolute(path, absolute)) absolute = path;

    const std::size_t firstSlash = absolute.find('\\');
    if (firstSlash == std::string::npos) return absolute;
    std::string result = absolute.substr(0, firstSlash + 1);
    std::string rest = absolute.substr(firstSlash + 1);

    // The first pass runs also for a bare root: the search for the root itself finds nothing.
    do {
        const std::size_t slash = rest.find('\\');
        const bool slashFollows = slash != std::string::npos;
        const std::string component = slashFollows ? rest.substr(0, slash) : rest;
        std::string longName;
        if (!fileSystem.FindFirstName(result + component, longName)) {
            result += rest;
            break;
        }
        result += longName;
        if (slashFollows) result += '\\';
        rest.erase(0, slashFollows ? slash + 1 : rest.size());
    } while (!rest.empty());
    return result;
}

} // namespace vur
