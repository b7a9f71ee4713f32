// Widget: what every window of the layer has, our own windows and the system's controls alike.
//
// A widget owns no window handle's lifetime except its own; the system destroys child windows with their
// parent, and a widget whose C++ object dies first detaches itself. The parent window finds the widget of a
// child through the child's user data and passes notifications (WM_COMMAND, WM_NOTIFY) on to it.
#pragma once

#include <windows.h>

#include <string>

#include "shared/ui/fonts.h"

namespace vur::ui {

class Widget {
public:
    Widget() = default;
    virtual ~Widget() = default;
    Widget(const Widget&) = delete;
    Widget& operator=(const Widget&) = delete;

    HWND hwnd() const { return hwnd_; }
    // Position in the parent's client area (for a form: the window on the desktop), in pixels.
    void SetBounds(int left, int top, int width, int height);
    void Show(bool visible);
    void Enable(bool enabled);
    bool Enabled() const;
    void SetText(const std::string& text);
    std::string Text() const;
    void SetFont(FontStyle style);
    // Text colour of a label or check box; the parent paints it with its own background.
    void SetTextColor(COLORREF colour);
    COLORREF TextColor() const { return textColor_; }
    void SetCursor(HCURSOR cursor) { cursor_ = cursor; }
    HCURSOR Cursor() const { return cursor_; }

    // Notifications from the parent's message handling; `code` is the notification code of WM_COMMAND.
    virtual void OnCommand(WORD code) {}
    virtual LRESULT OnNotify(NMHDR* header) { return 0; }

    static Widget* FromHandle(HWND window);

protected:
    void Attach(HWND window);
    void Detach();

    HWND hwnd_ = nullptr;

private:
    COLORREF textColor_ = CLR_INVALID;
    HCURSOR cursor_ = nullptr;
};

} // namespace vur::ui
