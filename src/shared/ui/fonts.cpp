// Process-wide fonts of the forms: MS Sans Serif 8 points, as the suite's windows were designed with.
#include "shared/ui/fonts.h"

#include "shared/ui/gdi.h"

namespace vur::ui {

namespace {
#ifndef IDC_HAND
#define IDC_HAND MAKEINTRESOURCE(32649)
#endif

Font MakeFont(FontStyle style) {
    LOGFONTA spec{};
    spec.lfHeight = -11; // 8 points at 96 dots per inch
    spec.lfWeight = style == FontStyle::Normal ? FW_NORMAL : FW_BOLD;
    spec.lfUnderline = style == FontStyle::BoldUnderline;
    spec.lfCharSet = DEFAULT_CHARSET;
    lstrcpynA(spec.lfFaceName, "MS Sans Serif", LF_FACESIZE);
    return Font(CreateFontIndirectA(&spec));
}
} // namespace

HFONT StandardFont(FontStyle style) {
    static Font normal = MakeFont(FontStyle::Normal);
    static Font bold = MakeFont(FontStyle::Bold);
    static Font link = MakeFont(FontStyle::BoldUnderline);
    switch (style) {
    case FontStyle::Bold: return bold.get();
    case FontStyle::BoldUnderline: return link.get();
    default: return normal.get();
    }
}

HCURSOR HandCursor() {
    HCURSOR hand = LoadCursorA(nullptr, IDC_HAND);
    return hand ? hand : LoadCursorA(nullptr, IDC_ARROW);
}

} // namespace vur::ui
