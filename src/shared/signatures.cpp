// The order and addressing of signature loading, independent of the file system.
#include "shared/signatures.h"

namespace vur {

int LoadSignatures(const std::string& programFolder, const std::function<int(const std::string&)>& init,
                   const EntrySearch& search) {
    const std::string folder = programFolder + kSignatureFolder;
    int total = 0;
    for (const std::string& name : search(folder + "*.dat")) total += init(folder + name);
    return total;
}

} // namespace vur
