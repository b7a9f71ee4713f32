// The white heading every program window has: a bold title, a line below it, the logo at the top right and
// the picture strip along the bottom edge.
#pragma once

#include <string>

#include "shared/ui/controls.h"
#include "shared/ui/window.h"

namespace vur::ui {

class Heading {
public:
    static constexpr int kHeight = 65;

    // Across the whole client width of `form`, at its top.
    void Create(Window& form, int clientWidth, const std::string& title, const std::string& text);
    // Lays the heading out again for a new client width (resizable forms).
    void Place(int clientWidth);
    // Takes the keyboard focus, so that no control of the form has it.
    void Focus();

private:
    Panel panel_;
    Label title_;
    Label text_;
    Picture logo_;
    Picture strip_;
};

// A picture that does not decode leaves its place empty and is reported in the general error box; the window
// works without it.
void LoadPictureOrReport(Picture& picture, const char* resource);

} // namespace vur::ui
