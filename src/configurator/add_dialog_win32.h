// What the two add dialogs share: the frame, the name line and a second line with its field, the add and
// "Abbrechen" buttons, fields emptied on every showing and the focus on the name.
#pragma once

#include <string>

#include "shared/ui/controls.h"
#include "shared/ui/window.h"

namespace vur::configurator {

class AddDialog : public ui::Window {
public:
    ~AddDialog() override = default;

protected:
    // Created hidden, owned by the main window; `secondFieldWidth` leaves room for a button beside it.
    void CreateFields(ui::Window& owner, const char* caption, const char* secondLabel, const char* addText,
                      int secondFieldWidth);
    virtual void Button1Click() = 0;
    void Close() { EndModal(IDOK); }

    ui::Label Label2; // "Name:"
    ui::Edit Edit2;
    ui::Label Label1; // the second line's label
    ui::Edit Edit1;
    ui::Button Button1; // the add button (default)
    ui::Button Button2; // "Abbrechen" (cancel)

    static constexpr int kSecondLineTop = 36;

private:
    void FormShow();
    void Button2Click() { EndModal(IDCANCEL); }
};

} // namespace vur::configurator
