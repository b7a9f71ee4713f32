// libFuzzer entry: the input is a quarantine description file. What the manager accepts as a place to
// restore to is a plain file name in a full folder, never a device, a stream or a way out of that folder.
#include "shared/relative_path.h"
#include "vault/quarantine_listing.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string fileName, folder, reason;
    if (!vur::vault::ParseDescription(std::string(reinterpret_cast<const char*>(data), size), fileName, folder,
                                      reason))
        return 0;
    if (!vur::FileNameRefusalReason(fileName).empty() || folder.size() < 3 || folder.back() != '\\' ||
        folder.find("\\..\\") != std::string::npos || folder.find(':', 2) != std::string::npos)
        std::abort();
    return 0;
}
