// The rich edit report: WM_GETTEXT is carried across processes by the system, EM_GETCHARFORMAT is not (its
// CHARFORMAT pointer is only valid in the control's process), so that structure lives in the target's memory.
#include "rich_edit.h"

#include <richedit.h>

#include <algorithm>
#include <stdexcept>

#include "remote_memory.h"
#include "windows.h"

namespace drive {

namespace {

// Each selection of a line scrolls and repaints the control, most of the time of a long report: redraw is
// off meanwhile, and on again with a repaint however the report ends (short of the driver being killed).
class NoRedraw {
  public:
    explicit NoRedraw(HWND window) : window_(window) { Send(window_, WM_SETREDRAW, FALSE, 0); }
    ~NoRedraw() {
        SendMessageTimeoutA(window_, WM_SETREDRAW, TRUE, 0, SMTO_ABORTIFHUNG, kAnswerMs, nullptr);
        InvalidateRect(window_, nullptr, TRUE);
    }
    NoRedraw(const NoRedraw&) = delete;
    NoRedraw& operator=(const NoRedraw&) = delete;

  private:
    HWND window_;
};

// The text between line breaks; CR LF, CR and LF each end one (riched32 keeps CR LF, later versions CR).
std::vector<std::string> Paragraphs(const std::string& text) {
    std::vector<std::string> out(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            out.emplace_back();
        } else {
            out.back() += text[i];
        }
    }
    return out;
}

// CHARFORMATA and CHARRANGE hold no pointers, so they have one layout in 32-bit and 64-bit processes.
const SIZE_T kFormat = 0, kSelection = 64, kSize = 64 + sizeof(CHARRANGE);
static_assert(sizeof(CHARFORMATA) <= kSelection, "CHARFORMATA fits before the saved selection");

} // namespace

std::vector<RichLine> RichEditLines(HWND edit) {
    RemoteMemory remote(edit, kSize);
    Send(edit, EM_EXGETSEL, 0, remote.At(kSelection));
    const LRESULT firstVisible = Send(edit, EM_GETFIRSTVISIBLELINE, 0, 0);
    NoRedraw quiet(edit);

    const std::string text = WindowText(edit);
    const std::vector<std::string> paragraphs = Paragraphs(text);
    size_t paragraph = 0, offset = 0;
    std::vector<RichLine> lines;
    // The control counts a line after a final line break (and one in an empty control), where only the caret
    // can be; as in a text file, the break ends the last line instead.
    LRESULT count = Send(edit, EM_GETLINECOUNT, 0, 0);
    if (count > 0 && (text.empty() || text.back() == '\r' || text.back() == '\n')) --count;
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT start = Send(edit, EM_LINEINDEX, static_cast<WPARAM>(i), 0);
        const size_t length = static_cast<size_t>(Send(edit, EM_LINELENGTH, static_cast<WPARAM>(start), 0));
        // A wrapped paragraph spans several lines; each takes its length from the paragraph's text.
        RichLine line{};
        if (paragraph < paragraphs.size()) {
            line.text = paragraphs[paragraph].substr(std::min(offset, paragraphs[paragraph].size()), length);
            offset += length;
            if (offset >= paragraphs[paragraph].size()) {
                ++paragraph;
                offset = 0;
            }
        }
        Send(edit, EM_SETSEL, static_cast<WPARAM>(start), start + 1);
        CHARFORMATA format{};
        format.cbSize = sizeof format;
        format.dwMask = CFM_COLOR;
        remote.Write(kFormat, &format, sizeof format);
        Send(edit, EM_GETCHARFORMAT, SCF_SELECTION, remote.At(kFormat));
        remote.Read(kFormat, &format, sizeof format);
        line.colour = (format.dwEffects & CFE_AUTOCOLOR) ? GetSysColor(COLOR_WINDOWTEXT) : format.crTextColor;
        lines.push_back(line);
    }

    Send(edit, EM_EXSETSEL, 0, remote.At(kSelection));
    Send(edit, EM_LINESCROLL, 0, firstVisible - Send(edit, EM_GETFIRSTVISIBLELINE, 0, 0));
    return lines;
}

} // namespace drive
