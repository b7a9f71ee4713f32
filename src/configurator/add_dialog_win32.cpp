// The add dialogs' common frame.
#include "configurator/add_dialog_win32.h"

#include "configurator/config_texts.h"

namespace vur::configurator {

namespace {
constexpr int kClientWidth = 498, kClientHeight = 106;
constexpr int kFieldLeft = 88;
} // namespace

void AddDialog::CreateFields(ui::Window& owner, const char* caption, const char* secondLabel, const char* addText,
                             int secondFieldWidth) {
    CreateForm(caption, kClientWidth, kClientHeight, false, owner.hwnd());
    Label2.Create(*this, texts::kNameLabel, 8, 12, 72, 13, false);
    Edit2.Create(*this, kFieldLeft, 8, kClientWidth - kFieldLeft - 8, 21);
    Label1.Create(*this, secondLabel, 8, kSecondLineTop + 4, 72, 13, false);
    Edit1.Create(*this, kFieldLeft, kSecondLineTop, secondFieldWidth, 21);
    Button1.Create(*this, addText, 8, 72, 237, 25, true);
    Button1.onClick = [this] { Button1Click(); };
    Button2.Create(*this, texts::kCancel, 253, 72, 237, 25);
    Button2.onClick = [this] { Button2Click(); };
    onShow = [this] { FormShow(); };
    FocusOnShow(Edit2);
    onCancel = [this] { Button2Click(); };
}

void AddDialog::FormShow() {
    Edit1.SetText("");
    Edit2.SetText("");
}

} // namespace vur::configurator
