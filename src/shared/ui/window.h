// Window: our own window class bound to its C++ object; forms, panels and pictures are windows.
//
// The object is bound to its HWND on WM_NCCREATE and every message goes to HandleMessage. An exception that
// leaves a handler is caught there and shown in the general error box (application.h); the program goes on.
// A window paints its background itself (SetBackground), passes it to the labels and check boxes on it, sets
// the cursor its children ask for, dispatches WM_COMMAND/WM_NOTIFY to the child widgets and WM_TIMER to its
// timers. Mouse handlers: onClick (button pressed and released inside), onMouseMove (client coordinates).
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "shared/ui/gdi.h"
#include "shared/ui/widget.h"

namespace vur::ui {

class Timer;

class Window : public Widget {
public:
    Window() = default;
    ~Window() override;

    // A top-level window centred on the desktop with the given client size. Fixed: single border, minimise and
    // close boxes only. Resizable: thick frame and maximise box; SetMinimumClientSize keeps it from shrinking.
    // An owned form (a dialog) stays above its owner, has no taskbar button and does not end the program.
    void CreateForm(const std::string& caption, int clientWidth, int clientHeight, bool resizable = false,
                    HWND owner = nullptr);
    // A child window (panel) at the given pixel position in `parent`'s client area.
    void CreateChild(Window& parent, int left, int top, int width, int height);
    // A window that is never shown, centred, of a window class of its own registered in `module` (once per
    // process), so that it can be told by its class: the monitor's forms, a component's message window.
    void CreateHidden(HINSTANCE module, const char* className, const std::string& caption, int width, int height);

    void SetBackground(COLORREF colour); // CLR_INVALID: the system's dialog colour
    COLORREF Background() const { return background_; }
    void SetFrame(COLORREF colour); // one-pixel frame inside the client area; CLR_INVALID: none
    void SetMinimumClientSize(int width, int height);
    // The same for the whole window with its frame.
    void SetMinimumSize(int width, int height) { minimum_ = SIZE{width, height}; }

    // Shows the form modally: its owner is disabled and messages are dispatched (with dialog keys for this
    // form) until EndModal, the close box or Escape ends it; the form is then hidden, not destroyed, and can be
    // shown again. onShow runs before it appears. Returns the result given to EndModal (IDCANCEL for the close
    // box and Escape without an onCancel handler).
    int ShowModal();
    void EndModal(int result) { modalResult_ = result; }
    // The control that has the focus when the form is shown modally.
    void FocusOnShow(const Widget& control) { focusOnShow_ = control.hwnd(); }
    // The button that Enter presses (through IsDialogMessage in the message loop), by control id.
    void SetDefaultId(int id) { defaultId_ = id; }
    void SetQuitOnDestroy(bool quit) { quitOnDestroy_ = quit; }

    std::function<void()> onClick;
    std::function<void(int x, int y)> onMouseMove;
    std::function<void()> onResize;
    std::function<void()> onActivate; // the form became the active window
    // Asked on a close request (the close box, Alt+F4, WM_CLOSE); false keeps the window open.
    std::function<bool()> onCloseQuery;
    std::function<void()> onDestroy;
    std::function<void()> onShow; // before a modal showing
    // Escape (the dialog's cancel command); without a handler a modal form ends with IDCANCEL.
    std::function<void()> onCancel;

protected:
    // The module that holds this copy of the window layer; our classes are registered under it.
    static HINSTANCE ClassModule();
    virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // Paints the content above the background; the default paints nothing.
    virtual void Paint(HDC dc, const RECT& client) {}
    // Children that only show something let the mouse through to their parent (HTTRANSPARENT).
    virtual bool MouseTransparent() const { return false; }

private:
    friend class Timer;
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Create(DWORD exStyle, const std::string& caption, DWORD style, int left, int top, int width, int height,
                HWND parent, HINSTANCE module = nullptr, const char* className = nullptr);
    static void RegisterOnce();
    LRESULT ControlColour(UINT message, HDC dc, HWND control);

    COLORREF background_ = CLR_INVALID;
    Brush backgroundBrush_;
    COLORREF frame_ = CLR_INVALID;
    SIZE minimum_{0, 0};
    int defaultId_ = 0;
    bool quitOnDestroy_ = false;
    bool modal_ = false;
    HWND focusOnShow_ = nullptr;
    int modalResult_ = 0;
    bool pressed_ = false;
    std::map<UINT_PTR, Timer*> timers_;
};

using Panel = Window;

// A picture that fills its bounds with a bitmap, stretched as needed; the mouse goes through to the parent.
class Picture : public Window {
public:
    void SetBitmap(Bitmap bitmap);

protected:
    void Paint(HDC dc, const RECT& client) override;
    bool MouseTransparent() const override { return true; }

private:
    Bitmap bitmap_;
};

// A window timer: calls onTimer every `interval` milliseconds while enabled; killed with the object, which must
// not outlive its owner (declare it after the owner, or in the owner's own class).
class Timer {
public:
    Timer(Window& owner, UINT interval);
    ~Timer();
    Timer(const Timer&) = delete;
    Timer& operator=(const Timer&) = delete;

    void Enable(bool enabled);
    bool Enabled() const { return enabled_; }
    std::function<void()> onTimer;

private:
    friend class Window;
    Window& owner_;
    UINT interval_;
    bool enabled_ = false;
};

} // namespace vur::ui
