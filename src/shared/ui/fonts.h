// The fonts and cursors the suite's forms name: the forms' standard font, bold, and red-bold-underlined links.
#pragma once

#include <windows.h>

namespace vur::ui {

enum class FontStyle { Normal, Bold, BoldUnderline };

// Shared for the whole process; created on first use, deleted at exit.
HFONT StandardFont(FontStyle style = FontStyle::Normal);

// The red of the help links ("Ich brauche Hilfe!").
constexpr COLORREF kLinkRed = RGB(255, 0, 0);
constexpr COLORREF kWhite = RGB(255, 255, 255);

// The hand cursor: IDC_HAND is missing on Windows 95 and NT 4, where an arrow stands in.
HCURSOR HandCursor();

} // namespace vur::ui
