// Thin wrapper of the rich text control (riched32.dll, on every Windows version the suite runs on).
#pragma once

#include <windows.h>

#include <string>

#include "shared/ui/controls.h"

namespace vur::ui {

// Read-only, both scroll bars, no word wrap: the report pane of the scanner.
class RichText : public Control {
public:
    void Create(Window& parent, int left, int top, int width, int height);
    // Appends `text` as a new last line in `colour` and scrolls so the caret after it is visible.
    void AppendLine(const std::string& text, COLORREF colour);
    void Clear();
    // The whole content as Rich Text Format, colours included.
    std::string Rtf() const;
};

} // namespace vur::ui
