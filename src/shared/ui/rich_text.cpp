// The rich text control: loaded from the system folder once, lines appended in colour, content as RTF.
#include "shared/ui/rich_text.h"

#include <richedit.h>

#include "shared/errors.h"
#include "shared/system_library_win32.h"

namespace vur::ui {

namespace {
// The library must stay loaded while its window class is in use: until the program ends.
class RichEditLibrary {
public:
    RichEditLibrary() {
        module_ = LoadSystemLibrary("riched32.dll");
    }
    ~RichEditLibrary() {
        if (module_) FreeLibrary(module_);
    }
    RichEditLibrary(const RichEditLibrary&) = delete;
    RichEditLibrary& operator=(const RichEditLibrary&) = delete;
    bool Loaded() const { return module_ != nullptr; }

private:
    HMODULE module_ = nullptr;
};

DWORD CALLBACK Collect(DWORD_PTR target, LPBYTE bytes, LONG count, LONG* done) {
    reinterpret_cast<std::string*>(target)->append(reinterpret_cast<const char*>(bytes), static_cast<size_t>(count));
    *done = count;
    return 0;
}
} // namespace

void RichText::Create(Window& parent, int left, int top, int width, int height) {
    static RichEditLibrary library;
    if (!library.Loaded()) throw EVurError("riched32.dll could not be loaded");
    Control::Create(parent, "RICHEDIT", "",
                    WS_TABSTOP | WS_BORDER | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_AUTOHSCROLL |
                        ES_READONLY,
                    left, top, width, height, WS_EX_CLIENTEDGE);
    // The default limit of 32K characters would silently stop a long report from growing.
    SendMessageA(hwnd_, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
}

void RichText::AppendLine(const std::string& text, COLORREF colour) {
    int end = GetWindowTextLengthA(hwnd_);
    SendMessageA(hwnd_, EM_SETSEL, static_cast<WPARAM>(end), end);
    // The forms' font, named in full so that a saved report opens in it too (riched32 would otherwise write
    // the bold "System" font as its default).
    CHARFORMATA format{};
    format.cbSize = sizeof format;
    format.dwMask = CFM_COLOR | CFM_FACE | CFM_SIZE | CFM_BOLD | CFM_ITALIC | CFM_UNDERLINE;
    format.crTextColor = colour;
    format.yHeight = 8 * 20; // twips
    lstrcpynA(format.szFaceName, "MS Sans Serif", LF_FACESIZE);
    SendMessageA(hwnd_, EM_SETCHARFORMAT, SCF_SELECTION, reinterpret_cast<LPARAM>(&format));
    std::string line = text + "\r\n";
    SendMessageA(hwnd_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(line.c_str()));
    SendMessageA(hwnd_, EM_SCROLLCARET, 0, 0);
}

void RichText::Clear() { SetWindowTextA(hwnd_, ""); }

std::string RichText::Rtf() const {
    std::string rtf;
    EDITSTREAM stream{};
    stream.dwCookie = reinterpret_cast<DWORD_PTR>(&rtf);
    stream.pfnCallback = Collect;
    SendMessageA(hwnd_, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&stream));
    return rtf;
}

} // namespace vur::ui
