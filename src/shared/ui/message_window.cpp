// The component message window.
#include "shared/ui/message_window.h"

namespace vur::ui {

MessageWindow::MessageWindow(Handler handler) : handler_(std::move(handler)) {
    CreateHidden(ClassModule(), "VurComponentWindow", "", 0, 0);
}

LRESULT MessageWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message >= WM_USER || message == WM_TIMER) {
        handler_(message, wParam, lParam);
        return 0;
    }
    return Window::HandleMessage(message, wParam, lParam);
}

} // namespace vur::ui
