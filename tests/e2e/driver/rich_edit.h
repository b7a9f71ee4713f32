// Reading a rich edit control of another process: its lines with the colour each one starts in.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace drive {

struct RichLine {
    std::string text; // without the line break, CP1252
    COLORREF colour;  // of the line's first character (for an empty line: of its line break)
};

// The control's lines in order (a wrapped paragraph gives several), the line break after the last line ending
// it rather than starting an empty one; the selection and the first visible line are restored after.
// Throws std::runtime_error when the control does not answer or its process cannot be opened.
std::vector<RichLine> RichEditLines(HWND edit);

} // namespace drive
