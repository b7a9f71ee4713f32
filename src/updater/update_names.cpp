// Where a listed file goes.
#include "updater/update_names.h"

namespace vur::updater {

std::string LocalPath(const std::string& programFolder, const std::string& file) {
    std::string path = programFolder + file;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

std::string TemporaryPath(const std::string& localPath) { return localPath + "update.tmp"; }

} // namespace vur::updater
