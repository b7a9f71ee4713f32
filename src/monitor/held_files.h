// The companion files the monitor holds open while it runs, so they count as in use (Windows builds only).
#pragma once

#include <string>

namespace vur::monitor {

// Opens the nine files in their fixed order for reading. Others can still read and start them, and the
// settings file can still be written (shared for reading and writing; Windows 9x knows no share-delete).
// A missing file is simply not held. The handles are never closed: they end with the process.
// Returns how many files are held.
int HoldCompanionFiles(const std::string& programFolder);

} // namespace vur::monitor
