// "vurconf updates DIST BASE-URL": the update list of a program folder, so that a publisher can put the
// folder and its "updates.dat" on a web server and every installation updates from it.
#pragma once

#include <iosfwd>
#include <string>

namespace vurconf {

// Writes DIST/updates.dat (CP1252, CR LF): for every file below DIST, sorted by name, the name as display
// name, the relative name with backslashes, the size, the checksum as a signed 32-bit number and BASE-URL +
// "/" + the relative name with slashes and percent escapes. Left out: the list itself, the settings file,
// the quarantine folder and the updater's own temporary files. Prints the number of entries; raises
// std::runtime_error for a folder that cannot be read, a file too large for the list, a name the updater
// would refuse, or a list that cannot be written.
void WriteUpdateList(const std::string& dist, const std::string& baseUrl, std::ostream& out);

} // namespace vurconf
