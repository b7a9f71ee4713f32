// MessageWindow: an invisible window through which a component receives its socket, timer and posted
// messages on the GUI thread (not a message-only window: those do not exist on Windows 95 and NT 4).
#pragma once

#include "shared/ui/window.h"

#include <functional>

namespace vur::ui {

class MessageWindow : public Window {
public:
    using Handler = std::function<void(UINT message, WPARAM wParam, LPARAM lParam)>;

    // The handler gets every message from WM_USER on, and WM_TIMER. Raises EVurError when the window cannot
    // be created (no window station, for one).
    explicit MessageWindow(Handler handler);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    Handler handler_;
};

} // namespace vur::ui
