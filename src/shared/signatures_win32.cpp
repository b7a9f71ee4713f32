// Directory search for the signature files on FindFirstFileA.
#include "shared/signatures.h"

#include "shared/handles_win32.h"

namespace vur {

std::vector<std::string> FindEntries(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    ScopedSearch search(FindFirstFileA(pattern.c_str(), &data));
    if (!search) return names;
    do {
        names.push_back(data.cFileName);
    } while (FindNextFileA(search.Get(), &data));
    return names;
}

} // namespace vur
