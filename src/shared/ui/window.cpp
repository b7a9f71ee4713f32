// Our window class, its message dispatch, the general error box at the handler boundary, pictures, timers.
#include "shared/ui/window.h"

#include <windowsx.h>

#include <exception>

#include "shared/caught_error.h"
#include "shared/errors.h"
#include "shared/module_path_win32.h"
#include "shared/ui/application.h"
#include "shared/ui/picture_resource.h"

namespace vur::ui {

namespace {
const char kClassName[] = "VurWindow";

} // namespace

// The class belongs to the module that holds this copy of the window procedure. watch.dll carries its own
// copy of the layer and is loaded as a hook library into the suite's programs: classes registered under the
// program's handle would send one module's windows to the other module's procedure.
HINSTANCE Window::ClassModule() {
    static const HINSTANCE module = vur::ThisModule();
    return module;
}

void Window::RegisterOnce() {
    static bool registered = false;
    if (registered) return;
    WNDCLASSA type{};
    type.lpfnWndProc = &Window::Procedure;
    type.hInstance = ClassModule();
    type.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    type.hIcon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCE(kIconResource));
    type.lpszClassName = kClassName;
    RegisterClassA(&type);
    registered = true;
}

Window::~Window() {
    for (auto& entry : timers_) KillTimer(hwnd_, entry.first);
    if (hwnd_ && IsWindow(hwnd_)) {
        HWND window = hwnd_;
        Detach();
        DestroyWindow(window);
    }
}

void Window::Create(DWORD exStyle, const std::string& caption, DWORD style, int left, int top, int width,
                    int height, HWND parent, HINSTANCE module, const char* className) {
    if (!className) {
        RegisterOnce();
        className = kClassName;
        module = ClassModule();
    }
    // The object travels in the creation parameters and is bound on WM_NCCREATE, before any other message.
    HWND window = CreateWindowExA(exStyle, className, caption.c_str(), style, left, top, width, height, parent,
                                  nullptr, module, this);
    if (!window) throw vur::EVurError("Window could not be created");
}

void Window::CreateForm(const std::string& caption, int clientWidth, int clientHeight, bool resizable, HWND owner) {
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
    if (resizable) style |= WS_THICKFRAME | WS_MAXIMIZEBOX;
    RECT frame{0, 0, clientWidth, clientHeight};
    AdjustWindowRectEx(&frame, style, FALSE, WS_EX_CONTROLPARENT);
    int width = frame.right - frame.left, height = frame.bottom - frame.top;
    int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    Create(WS_EX_CONTROLPARENT, caption, style, left, top, width, height, owner);
    SetQuitOnDestroy(owner == nullptr);
}

int Window::ShowModal() {
    HWND owner = GetWindow(hwnd_, GW_OWNER);
    modalResult_ = 0;
    modal_ = true;
    if (onShow) onShow();
    if (owner) EnableWindow(owner, FALSE);
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    // Only now: the activation on showing gives the focus to the form itself.
    if (focusOnShow_) SetFocus(focusOnShow_);
    MSG message{};
    bool quit = false;
    while (modalResult_ == 0) {
        if (GetMessageA(&message, nullptr, 0, 0) <= 0) {
            quit = true;
            break;
        }
        try {
            if (!IsDialogMessageA(hwnd_, &message)) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        } catch (...) {
            ShowErrorBox(CaughtErrorMessage());
        }
    }
    // The owner is enabled before the form goes, so that the activation returns to it.
    if (owner) EnableWindow(owner, TRUE);
    ShowWindow(hwnd_, SW_HIDE);
    modal_ = false;
    if (quit) {
        PostQuitMessage(static_cast<int>(message.wParam)); // left for the main loop to end on
        return IDCANCEL;
    }
    return modalResult_;
}

void Window::CreateChild(Window& parent, int left, int top, int width, int height) {
    Create(WS_EX_CONTROLPARENT, "", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, left, top, width,
           height, parent.hwnd());
}

void Window::CreateHidden(HINSTANCE module, const char* className, const std::string& caption, int width,
                          int height) {
    WNDCLASSA type{};
    if (!GetClassInfoA(module, className, &type)) {
        type.lpfnWndProc = &Window::Procedure;
        type.hInstance = module;
        type.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        type.lpszClassName = className;
        RegisterClassA(&type);
    }
    const int left = (GetSystemMetrics(SM_CXSCREEN) - width) / 2, top = (GetSystemMetrics(SM_CYSCREEN) - height) / 2;
    Create(0, caption, WS_OVERLAPPEDWINDOW, left, top, width, height, nullptr, module, className);
}

void Window::SetBackground(COLORREF colour) {
    if (colour == background_) return;
    background_ = colour;
    backgroundBrush_.Reset(colour == CLR_INVALID ? nullptr : CreateSolidBrush(colour));
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void Window::SetFrame(COLORREF colour) {
    frame_ = colour;
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Window::SetMinimumClientSize(int width, int height) {
    RECT frame{0, 0, width, height};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(hwnd_, GWL_EXSTYLE)));
    minimum_ = SIZE{frame.right - frame.left, frame.bottom - frame.top};
}

LRESULT CALLBACK Window::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* created = static_cast<Window*>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams);
        created->Attach(window);
    }
    // Every window of this class carries its Window in the user data, until WM_NCDESTROY detaches it.
    auto* self = static_cast<Window*>(FromHandle(window));
    if (!self) return DefWindowProcA(window, message, wParam, lParam);
    try {
        return self->HandleMessage(message, wParam, lParam);
    } catch (...) {
        ShowErrorBox(CaughtErrorMessage());
    }
    return 0;
}

LRESULT Window::ControlColour(UINT message, HDC dc, HWND control) {
    Widget* child = FromHandle(control);
    COLORREF text = child ? child->TextColor() : CLR_INVALID;
    if (background_ == CLR_INVALID && text == CLR_INVALID)
        return DefWindowProcA(hwnd_, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(control));
    ::SetTextColor(dc, text == CLR_INVALID ? GetSysColor(COLOR_WINDOWTEXT) : text);
    SetBkColor(dc, background_ == CLR_INVALID ? GetSysColor(COLOR_BTNFACE) : background_);
    return reinterpret_cast<LRESULT>(background_ == CLR_INVALID ? GetSysColorBrush(COLOR_BTNFACE)
                                                                 : backgroundBrush_.get());
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCHITTEST:
        if (MouseTransparent()) return HTTRANSPARENT;
        break;
    case WM_ERASEBKGND: {
        RECT client;
        GetClientRect(hwnd_, &client);
        FillRect(reinterpret_cast<HDC>(wParam), &client,
                 background_ == CLR_INVALID ? GetSysColorBrush(COLOR_BTNFACE) : backgroundBrush_.get());
        return 1;
    }
    case WM_PAINT: {
        PaintScope paint(hwnd_);
        RECT client;
        GetClientRect(hwnd_, &client);
        Paint(paint.dc(), client);
        if (frame_ != CLR_INVALID) {
            Brush frame(CreateSolidBrush(frame_));
            FrameRect(paint.dc(), &client, frame.get());
        }
        return 0;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        return ControlColour(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
    case WM_SETCURSOR: {
        Widget* under = FromHandle(reinterpret_cast<HWND>(wParam));
        if (under && under->Cursor() && LOWORD(lParam) == HTCLIENT) {
            ::SetCursor(under->Cursor());
            return TRUE;
        }
        break;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL && lParam == 0) {
            if (onCancel) onCancel();
            else if (modal_) EndModal(IDCANCEL);
            return 0;
        }
        if (Widget* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
            if (child != this) child->OnCommand(HIWORD(wParam));
            return 0;
        }
        break;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lParam);
        if (Widget* child = FromHandle(header->hwndFrom)) return child->OnNotify(header);
        break;
    }
    case DM_GETDEFID:
        if (defaultId_) return MAKELRESULT(defaultId_, DC_HASDEFID);
        break;
    case WM_TIMER: {
        auto found = timers_.find(wParam);
        if (found != timers_.end()) {
            if (found->second->onTimer) found->second->onTimer();
            return 0;
        }
        break;
    }
    case WM_MOUSEMOVE:
        if (onMouseMove) onMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_LBUTTONDOWN:
        pressed_ = true;
        SetCapture(hwnd_);
        return 0;
    case WM_LBUTTONUP: {
        bool wasPressed = pressed_;
        pressed_ = false;
        if (GetCapture() == hwnd_) ReleaseCapture();
        RECT client;
        GetClientRect(hwnd_, &client);
        POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        if (wasPressed && PtInRect(&client, at) && onClick) onClick();
        return 0;
    }
    case WM_CAPTURECHANGED:
        pressed_ = false;
        break;
    case WM_SIZE:
        if (onResize) onResize();
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) != WA_INACTIVE && onActivate) onActivate();
        break;
    case WM_GETMINMAXINFO:
        if (minimum_.cx) {
            auto* limits = reinterpret_cast<MINMAXINFO*>(lParam);
            limits->ptMinTrackSize = POINT{minimum_.cx, minimum_.cy};
            return 0;
        }
        break;
    case WM_CLOSE:
        if (modal_) {
            EndModal(IDCANCEL);
            return 0;
        }
        if (onCloseQuery && !onCloseQuery()) return 0;
        break;
    case WM_DESTROY:
        // The program ends with its main window even when the handler fails (the error box follows).
        try {
            if (onDestroy) onDestroy();
        } catch (...) {
            if (quitOnDestroy_) PostQuitMessage(0);
            throw;
        }
        if (quitOnDestroy_) PostQuitMessage(0);
        break;
    case WM_NCDESTROY: {
        HWND window = hwnd_;
        Detach();
        return DefWindowProcA(window, message, wParam, lParam);
    }
    }
    return DefWindowProcA(hwnd_, message, wParam, lParam);
}

void Picture::SetBitmap(Bitmap bitmap) {
    bitmap_ = std::move(bitmap);
    InvalidateRect(hwnd_, nullptr, TRUE);
}

void Picture::Paint(HDC dc, const RECT& client) {
    if (!bitmap_) return;
    BITMAP size{};
    GetObjectA(bitmap_.get(), sizeof size, &size);
    MemoryDC source(dc, bitmap_.get());
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, 0, 0, client.right, client.bottom, source.dc(), 0, 0, size.bmWidth, size.bmHeight, SRCCOPY);
}

Timer::Timer(Window& owner, UINT interval) : owner_(owner), interval_(interval) {
    owner_.timers_[reinterpret_cast<UINT_PTR>(this)] = this;
}

Timer::~Timer() {
    Enable(false);
    owner_.timers_.erase(reinterpret_cast<UINT_PTR>(this));
}

void Timer::Enable(bool enabled) {
    if (enabled == enabled_) return;
    enabled_ = enabled;
    UINT_PTR id = reinterpret_cast<UINT_PTR>(this);
    if (enabled) SetTimer(owner_.hwnd(), id, interval_, nullptr);
    else KillTimer(owner_.hwnd(), id);
}

} // namespace vur::ui
