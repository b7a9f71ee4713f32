// Choosing an item of a tree view of another process by the texts on its way down.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace drive {

// Each part is looked for (case-insensitive, as part of the item's text) among the children of the item the
// previous part chose, starting from the first top item; when no child matches, among the grandchildren.
// Items are opened on the way, so the tree's owner fills them as for a user. Selects the last match and
// returns the texts of the chosen items; throws std::runtime_error when a part is not found.
std::vector<std::string> SelectTreePath(HWND tree, const std::vector<std::string>& parts);

} // namespace drive
