// The program around the windows: its title, the message loop, pending-message processing, the error box.
#pragma once

#include <exception>
#include <string>

namespace vur::ui {

class Window;

// Once at program start: the title is the error box's caption; also loads the common controls.
void InitApplication(const std::string& title);
const std::string& ApplicationTitle();

// Shows `main` and dispatches messages until it has been destroyed; returns the quit code. Dialog keys (Tab,
// Enter for the default button) work through IsDialogMessage on the main window.
int RunMessageLoop(Window& main);

// Dispatches every message waiting now and returns (for work that runs inside a click handler).
void ProcessMessages();

// The general error box: the message as it is, the application title as caption, OK and the stop icon,
// owned by the active window. Every handler's exception ends here; the program goes on.
void ShowErrorBox(const std::string& message);

// A program of one main window: sets the title, creates the form (its FormCreate) and runs the message loop
// until the form is gone. Only a window that cannot be created at all ends up in the error box here.
template <typename Form>
int RunProgram(const std::string& title) {
    try {
        InitApplication(title);
        Form form;
        form.FormCreate();
        return RunMessageLoop(form);
    } catch (const std::exception& e) {
        ShowErrorBox(e.what());
        return 1;
    }
}

} // namespace vur::ui
