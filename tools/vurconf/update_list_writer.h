// "vurconf updates DIST BASE-URL": the update list of a program folder, so that a publisher can put the
// folder and its "updates.dat" on a web server and every installation updates from it.
#pragma once

#include <cstdint>
#include <string>

#include "text_out.h"

#include "shared/ed25519.h"

namespace vurconf {

// Writes DIST/updates.dat (CP1252, CR LF): for every file below DIST, sorted by name, the name as display
// name, the relative name with backslashes, the size, the checksum as a signed 32-bit number and BASE-URL +
// "/" + the relative name with slashes and percent escapes. Left out: the list itself, the settings file,
// the quarantine folder and the updater's own temporary files. Prints the number of entries; raises
// vur::EVurError for a folder that cannot be read, a file too large for the list, a name the updater
// would refuse, or a list that cannot be written. Signs with `seed` (see updater/update_manifest.h): writes
// DIST/updates.dat.sig, the signature with `serial` and the manifest of every listed file; files ending in
// ".sig" are left out of the list.
void WriteUpdateList(const std::string& dist, const std::string& baseUrl, const vur::ed25519::Seed& seed,
                     std::uint64_t serial, TextOut& out);

} // namespace vurconf
