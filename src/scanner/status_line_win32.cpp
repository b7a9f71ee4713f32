// Measuring in the status label's own font, with one DC for the whole of one folder's shortening: taking a
// DC is most of a measurement's cost.
#include "scanner/status_line_win32.h"

#include "scanner/minimize_name.h"
#include "shared/ui/gdi.h"

namespace vur::scanner {

namespace {
constexpr int kStatusPathWidth = 350;
}

std::string StatusLineText(HWND label, const std::string& folder, long long* measurements) {
    ui::WindowDC dc(label, reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)));
    const std::string shown = MinimizeName(folder, kStatusPathWidth, [&](const std::string& text) {
        if (measurements) ++*measurements;
        SIZE size{};
        GetTextExtentPoint32A(dc.dc(), text.c_str(), static_cast<int>(text.size()), &size);
        return static_cast<int>(size.cx);
    });
    return "Scanne " + shown + " ...";
}

} // namespace vur::scanner
