// libFuzzer entry: the input is an update list as a server might send it. Reading it ends, or fails with the
// list's own error; every name it yields is either refused with a reason or a plain path below the program
// folder.
#include "updater/update_list.h"
#include "updater/update_names.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vur::updater::UpdateListReader list(std::string(reinterpret_cast<const char*>(data), size));
    vur::updater::UpdateEntry entry;
    try {
        for (int entries = 0; list.Next(entry); ++entries) {
            if (entries > static_cast<int>(size)) std::abort(); // every entry takes at least one line
            if (!vur::updater::UpdateNameRefusalReason(entry.file).empty()) continue;
            const std::string local = vur::updater::LocalPath("C:\\VUR\\", entry.file) + "\\";
            if (local.compare(0, 7, "C:\\VUR\\") != 0 || local.find("\\..\\") != std::string::npos ||
                local.find("\\.\\") != std::string::npos || local.find(':', 2) != std::string::npos ||
                local.find("\\\\", 2) != std::string::npos)
                std::abort();
        }
    } catch (const vur::updater::EUpdateListError&) {
    }
    return 0;
}
