// Shortening a path for the status line: leading folders give way to an ellipsis, the drive and the last
// part stay, until the text fits.
#pragma once

#include <functional>
#include <string>

namespace vur::scanner {

// `width` measures a text in the status line's font (pixels). "C:\a\b\c\last\" becomes "C:\...\c\last\",
// then "C:\...\last\"; when even that is too wide the drive goes too ("...\last\"), and that is kept
// however wide it is. A path without folders between the drive and the last part stays as it is.
std::string MinimizeName(const std::string& path, int maxWidth, const std::function<int(const std::string&)>& width);

} // namespace vur::scanner
