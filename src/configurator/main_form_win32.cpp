// The configurator window: components, layout, and the handlers that hand over to the rule editor.
#include "configurator/main_form_win32.h"

#include <exception>

#include "configurator/config_texts.h"
#include "shared/module_path_win32.h"
#include "shared/program_settings.h"
#include "shared/ui/application.h"
#include "shared/ui/shell.h"

namespace vur::configurator {

namespace {
// The whole window at start and at its smallest.
constexpr int kWidth = 528, kHeight = 500;
constexpr int kMargin = 8, kButtonWidth = 75, kButtonHeight = 25, kComboHeight = 21;
constexpr int kFrameStep = 64, kFrameHeight = 57;
constexpr int kNameWidth = 150, kCrcWidth = 70;
constexpr int kHelpWidth = 103, kHelpHeight = 13;

SIZE ClientSize(const ui::Widget& widget) {
    RECT client{};
    GetClientRect(widget.hwnd(), &client);
    return SIZE{client.right, client.bottom};
}
} // namespace

TKonfigurator::TKonfigurator() = default;

TKonfigurator::~TKonfigurator() = default;

void TKonfigurator::FormCreate() {
    CreateForm(texts::kCaption, kWidth, kHeight, true);
    SetBounds((GetSystemMetrics(SM_CXSCREEN) - kWidth) / 2, (GetSystemMetrics(SM_CYSCREEN) - kHeight) / 2, kWidth,
              kHeight);
    SetMinimumSize(kWidth, kHeight);
    CreateComponents();
    Layout();
    onResize = [this] { Layout(); };
    onDestroy = [this] { FormDestroy(); };

    const std::string folder = ModuleFolder(nullptr);
    settings_ = OpenProgramSettings(folder);
    editor_ = std::make_unique<RuleEditor>(*settings_, applicationRows_, numberRows_,
                                           Choices{choice2_, choice1_, choice3_, choice4_, choice5_}, startValue_,
                                           folder);
    // An unreadable file is told here; the window opens all the same and keeps the file as it is.
    try {
        LoadRules();
    } catch (const std::exception& e) {
        ui::ShowErrorBox(e.what());
    }
    Form1.FormCreate(*this);
    Form2.FormCreate(*this);
}

void TKonfigurator::CreateComponents() {
    const SIZE client = ClientSize(*this);
    Panel1.Create(*this, client.cx, texts::kHeadingTitle, texts::kHeadingText);
    PageControl1.Create(*this, kMargin, ui::Heading::kHeight + 7, client.cx - 2 * kMargin, 360);
    TabSheet3 = &PageControl1.AddPage(texts::kGeneralPage);
    TabSheet1 = &PageControl1.AddPage(texts::kNumbersPage);
    TabSheet2 = &PageControl1.AddPage(texts::kApplicationsPage);
    PageControl1.onChange = [this] { PageControl1Change(); };

    const texts::ReactionFrame* frames[5] = {&texts::kAutoStartFrame, &texts::kNewNumberFrame,
                                             &texts::kNewApplicationFrame, &texts::kInfectedFrame,
                                             &texts::kSuspiciousFrame};
    ui::DropDownList* lists[5] = {&ComboBox5, &ComboBox2, &ComboBox1, &ComboBox3, &ComboBox4};
    for (int i = 0; i < 5; ++i) {
        Frames[i].Create(*TabSheet3, frames[i]->caption, 0, 0, 100, kFrameHeight);
        lists[i]->Create(*TabSheet3, 0, 0, 100, kComboHeight);
        for (int line = 0; line < frames[i]->lineCount; ++line) lists[i]->AddLine(frames[i]->lines[line]);
        lists[i]->onChange = [this] { editor_->ChoiceChanged(); };
    }

    VerbListe.Create(*TabSheet1, 0, 0, 100, 100, true);
    VerbListe.AddColumn(texts::kNameColumn, kNameWidth);
    VerbListe.AddColumn(texts::kNumberColumn, 100);
    Button2.Create(*TabSheet1, texts::kAdd, 0, 0, kButtonWidth, kButtonHeight);
    Button1.Create(*TabSheet1, texts::kRemove, 0, 0, kButtonWidth, kButtonHeight);
    Button1.Enable(false);

    AnwListe.Create(*TabSheet2, 0, 0, 100, 100, true);
    AnwListe.AddColumn(texts::kNameColumn, kNameWidth);
    AnwListe.AddColumn(texts::kPathColumn, 100);
    AnwListe.AddColumn(texts::kCrcColumn, kCrcWidth);
    Button4.Create(*TabSheet2, texts::kAdd, 0, 0, kButtonWidth, kButtonHeight);
    Button5.Create(*TabSheet2, texts::kRemove, 0, 0, kButtonWidth, kButtonHeight);
    Button5.Enable(false);

    // A selected row makes its page's "Entfernen" available; it stays so.
    VerbListe.onClick = [this] {
        if (VerbListe.Selected() >= 0) Button1.Enable(true);
    };
    AnwListe.onClick = [this] {
        if (AnwListe.Selected() >= 0) Button5.Enable(true);
    };
    VerbListe.onEdited = [this](int row, const std::string& caption) { return Renamed(numberRows_, row, caption); };
    AnwListe.onEdited = [this](int row, const std::string& caption) {
        return Renamed(applicationRows_, row, caption);
    };
    VerbListe.onTextChanged = AnwListe.onTextChanged = [this](int) { editor_->RowTextChanged(); };
    Button2.onClick = [this] { Button2Click(); };
    Button4.onClick = [this] { Button4Click(); };
    Button1.onClick = [this] { editor_->RemoveSelected(numberRows_); };
    Button5.onClick = [this] { editor_->RemoveSelected(applicationRows_); };

    Label3.Create(*this, texts::kHelp, 0, 0, kHelpWidth, kHelpHeight);
    Label3.onClick = [this] { Label3Click(); };
}

// The heading and the pages span the width; the page control takes the height between the heading and the
// help link; on the pages the frames, drop-down boxes and lists grow with it, the buttons keep to the right.
void TKonfigurator::Layout() {
    const SIZE client = ClientSize(*this);
    Panel1.Place(client.cx);
    const int pagesTop = ui::Heading::kHeight + 7;
    const int helpTop = client.cy - kHelpHeight - 8;
    PageControl1.Place(kMargin, pagesTop, client.cx - 2 * kMargin, helpTop - 7 - pagesTop);
    Label3.SetBounds(client.cx - kMargin - kHelpWidth, helpTop, kHelpWidth, kHelpHeight);

    const SIZE page = ClientSize(*TabSheet3);
    ui::DropDownList* lists[5] = {&ComboBox5, &ComboBox2, &ComboBox1, &ComboBox3, &ComboBox4};
    for (int i = 0; i < 5; ++i) {
        const int top = kMargin + i * kFrameStep;
        Frames[i].SetBounds(kMargin, top, page.cx - 2 * kMargin, kFrameHeight);
        lists[i]->Place(2 * kMargin, top + 22, page.cx - 4 * kMargin, kComboHeight);
    }
    const int listHeight = page.cy - 3 * kMargin - kButtonHeight;
    const int buttonsTop = page.cy - kMargin - kButtonHeight;
    const int removeLeft = page.cx - kMargin - kButtonWidth, addLeft = removeLeft - kMargin - kButtonWidth;
    VerbListe.SetBounds(kMargin, kMargin, page.cx - 2 * kMargin, listHeight);
    Button2.SetBounds(addLeft, buttonsTop, kButtonWidth, kButtonHeight);
    Button1.SetBounds(removeLeft, buttonsTop, kButtonWidth, kButtonHeight);
    AnwListe.SetBounds(kMargin, kMargin, page.cx - 2 * kMargin, listHeight);
    Button4.SetBounds(addLeft, buttonsTop, kButtonWidth, kButtonHeight);
    Button5.SetBounds(removeLeft, buttonsTop, kButtonWidth, kButtonHeight);
    FitColumns();
}

// "Telefonnummer" and "Anwendung" fill what the fixed columns leave of the list's width.
void TKonfigurator::FitColumns() {
    VerbListe.SetColumnWidth(1, std::max(0L, ClientSize(VerbListe).cx - kNameWidth));
    AnwListe.SetColumnWidth(1, std::max(0L, ClientSize(AnwListe).cx - kNameWidth - kCrcWidth));
}

// Also after a failed load: no list keeps the focus, and a scroll bar may have come or gone.
void TKonfigurator::LoadRules() {
    std::exception_ptr failure;
    try {
        editor_->LoadRules();
    } catch (...) {
        failure = std::current_exception();
    }
    Panel1.Focus();
    FitColumns();
    if (failure) std::rethrow_exception(failure);
}

void TKonfigurator::FormDestroy() {
    if (!editor_) return;
    editor_->SaveRules();
    editor_.reset();
    settings_.reset();
}

void TKonfigurator::PageControl1Change() { LoadRules(); }

bool TKonfigurator::Renamed(RowList& rows, int row, const std::string& caption) {
    const char* hint = editor_->Rename(rows, row, caption);
    if (hint) MessageBoxA(hwnd(), hint, texts::kNameHasBarCaption, MB_OK | MB_ICONEXCLAMATION);
    return hint == nullptr;
}

void TKonfigurator::Button2Click() {
    editor_->BeginAdd();
    Form2.ShowModal();
    editor_->EndAdd();
}

void TKonfigurator::Button4Click() {
    editor_->BeginAdd();
    Form1.ShowModal();
    editor_->EndAdd();
}

void TKonfigurator::Label3Click() {
    ui::OpenWithShell(hwnd(), ModuleFolder(nullptr) + texts::kHelpPage, SW_SHOWNORMAL);
}

} // namespace vur::configurator
