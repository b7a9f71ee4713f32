// Loading every signature file "signaturen\*.dat" of the program folder into the signature engine.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vur {

const char* const kSignatureFolder = "signaturen\\";

// Seam: the names of the entries a directory search for `pattern` returns (any attributes), in search order.
using EntrySearch = std::function<std::vector<std::string>(const std::string& pattern)>;

// The search on the running system (Windows builds only).
std::vector<std::string> FindEntries(const std::string& pattern);

// Calls `init` with folder + "signaturen\" + name for every match of folder + "signaturen\*.dat" and returns
// the sum of what it returned. A missing or empty folder loads nothing.
int LoadSignatures(const std::string& programFolder, const std::function<int(const std::string&)>& init,
                   const EntrySearch& search);

} // namespace vur
