// Reading a whole file through the platform's shared reader.
#include "shared/file_reader.h"

namespace vur {

bool ReadWholeFile(const std::string& path, std::string& bytes) {
    bytes.clear();
    SharedFileReader file;
    if (!file.Open(path)) return false;
    char buffer[65536];
    for (;;) {
        const long got = file.Read(buffer, sizeof buffer);
        if (got < 0) return false;
        if (got == 0) return true;
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
}

} // namespace vur
