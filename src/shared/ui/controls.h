// Thin wrappers of the system's simple controls: label, button, check box, text field, frame, drop-down list,
// progress bar.
//
// Each is created on a Window at a pixel position, gets the forms' standard font, and reports its events
// through std::function members that its parent window calls.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "shared/ui/widget.h"

namespace vur::ui {

class Window;

class Control : public Widget {
public:
    ~Control() override { Detach(); }
    int Id() const { return id_; }

protected:
    void Create(Window& parent, const char* className, const std::string& text, DWORD style, int left, int top,
                int width, int height, DWORD exStyle = 0);

private:
    int id_ = 0;
};

enum class Align { Left, Right };

// A static text. Word-wrapped within its bounds unless `wrap` is false. Without a click handler the mouse goes
// through it to its parent, so a label on a panel reacts as the panel does; with one it takes clicks itself.
class Label : public Control {
public:
    void Create(Window& parent, const std::string& text, int left, int top, int width, int height, bool wrap = true,
                Align align = Align::Left, bool clickable = false);
    std::function<void()> onClick;
    void OnCommand(WORD code) override;
};

// The help link of the program windows: red, bold and underlined, right-aligned, with the hand cursor; it
// takes clicks itself (onClick).
class LinkLabel : public Label {
public:
    void Create(Window& parent, const std::string& text, int left, int top, int width, int height);
};

class Button : public Control {
public:
    // A default button is pressed by Enter; the window learns its id.
    void Create(Window& parent, const std::string& text, int left, int top, int width, int height,
                bool isDefault = false);
    std::function<void()> onClick;
    void OnCommand(WORD code) override;
};

class CheckBox : public Control {
public:
    void Create(Window& parent, const std::string& text, int left, int top, int width, int height);
    bool Checked() const;
    // Like a user's click, a programmatic tick runs onClick when it changes the state (as the forms expect).
    void SetChecked(bool checked);
    std::function<void()> onClick;
    void OnCommand(WORD code) override;
};

// A single-line text field.
class Edit : public Control {
public:
    void Create(Window& parent, int left, int top, int width, int height);
};

// A captioned frame around other controls; the controls belong to the same window as the frame.
class Frame : public Control {
public:
    void Create(Window& parent, const std::string& caption, int left, int top, int width, int height);
};

// A drop-down list that allows only its lines; the height is that of the closed box.
class DropDownList : public Control {
public:
    void Create(Window& parent, int left, int top, int width, int height);
    // Moves the closed box; its open list keeps its room below.
    void Place(int left, int top, int width, int height);
    void AddLine(const std::string& text);
    int Selected() const; // -1 when none
    void Select(int index);
    std::function<void()> onChange; // the user picked a line
    void OnCommand(WORD code) override;
};

class ProgressBar : public Control {
public:
    void Create(Window& parent, int left, int top, int width, int height);
    void SetRange(int minimum, int maximum); // default 0..100
    void SetPosition(int position);
    int Position() const { return position_; }

private:
    int minimum_ = 0;
    long long span_ = 100;
    int position_ = 0;
};

} // namespace vur::ui
