// The scanner window: components, options, report, and the host the scan run works through.
#include "scanner/main_form_win32.h"

#include "scanner/engine_imports.h"
#include "scanner/report_file_win32.h"
#include "scanner/scan_file_system_win32.h"
#include "scanner/scan_texts.h"
#include "scanner/status_line_win32.h"
#include "shared/module_path_win32.h"
#include "shared/program_settings.h"
#include "shared/quarantine.h"
#include "shared/settings_schema.h"
#include "shared/signatures.h"
#include "shared/ui/application.h"
#include "shared/ui/shell.h"

namespace vur::scanner {

namespace {
constexpr int kClientWidth = 553, kClientHeight = 411;

const char* const kInstruction =
    "Um ein Laufwerk oder ein Verzeichnis zu scannen, klicke einfach auf das entsprechende Laufwerks- oder "
    "Verzeichnissymbol und dann auf \"Scannen\". Du kannst den Scan jederzeit durch Klick auf den \"Abbrechen\"-"
    "Button vorzeitig beenden.";
const char* const kWarningTitle = "WARNHINWEIS";
const char* const kHeuristicWarning =
    "Heuristiken sind regelbasierende Suchverfahren. Auf Grund ihrer Arbeitsweise kommt es HÄUFIG ZU FEHLALARMEN. "
    "Aus diesem Grunde ist es Anfängern nicht zu empfehlen diese Funktion zu aktivieren. Durch die Heuristik "
    "gefundene Dateien werden nicht automatisch isoliert  sondern nur auf ausdrücklichen Wunsch hin.";

COLORREF ToColorRef(Colour c) { return RGB(c.red, c.green, c.blue); }

} // namespace

TScan::TScan() : run_(*this) {}

TScan::~TScan() = default;

void TScan::FormCreate() {
    CreateForm(kScannerTitle, kClientWidth, kClientHeight);
    CreateComponents();
    onCloseQuery = [this] { return FormCloseQuery(); };
    onDestroy = [this] { FormDestroy(); };
    // Escape is the cancel button's key.
    onCancel = [this] {
        if (Button2.Enabled()) Button2Click();
    };

    const std::string folder = ModuleFolder(nullptr);
    settings_ = OpenProgramSettings(folder);
    // A box ticked here runs its click handler as a user's click would; the created flag keeps the heuristics
    // warning away.
    CheckBox2.SetChecked(ReadOption(schema::kReportOnly));
    CheckBox1.SetChecked(ReadOption(schema::kIsolateFound));
    CheckBox3.SetChecked(ReadOption(schema::kHeuristic));
    Report.Clear();
    const int loaded = LoadSignatures(folder, [](const std::string& file) { return ::InitDialersDatabase(file.c_str()); },
                                      FindEntries);
    AddReportLine(std::to_string(loaded) + texts::kSignaturesLoaded, kBlack);
    Tag = 1;
    // A scan takes only processor time that nothing else wants.
    SetPriorityClass(GetCurrentProcess(), IDLE_PRIORITY_CLASS);
}

// A damaged value (or a lock that timed out) must not keep the window from opening: the user is told, the box
// keeps its default, and closing the window writes the value anew.
bool TScan::ReadOption(const schema::BoolSetting& setting) {
    try {
        return schema::Read(*settings_, setting);
    } catch (const std::exception&) {
        ui::ShowErrorBox(std::string("Die Einstellung „") + setting.key + "“ in vur.conf ist beschädigt oder kann "
                         "gerade nicht gelesen werden. Der Scanner startet mit ihrer Voreinstellung und speichert sie "
                         "beim Schließen neu.");
        return setting.defaultValue;
    }
}

void TScan::CreateComponents() {
    Panel1.Create(*this, kClientWidth, "Festplatten und Verzeichnisse scannen",
                  "Mit diesem Modul kannst Du Deine Daten auf Dialerbefall hin untersuchen.");
    Auswahl.Create(*this, 8, 72, 241, 185);
    Label5.Create(*this, kInstruction, 256, 80, 289, 73);
    CheckBox2.Create(*this, "Dialer nur melden", 264, 159, 105, 17);
    CheckBox2.onClick = [this] { CheckBox2Click(); };
    CheckBox1.Create(*this, "Gefundene Dialer automatisch isolieren", 264, 176, 209, 17);
    CheckBox3.Create(*this, "Heuristik während des Scans aktivieren", 264, 192, 241, 17);
    CheckBox3.onClick = [this] { CheckBox3Click(); };
    Button1.Create(*this, "Scannen", 256, 224, 137, 25, true);
    Button1.onClick = [this] { Button1Click(); };
    Button2.Create(*this, "Abbrechen", 408, 224, 137, 25);
    Button2.onClick = [this] { Button2Click(); };
    Button2.Enable(false);
    Button3.Create(*this, "Report löschen", 256, 256, 137, 25);
    Button3.onClick = [this] { Button3Click(); };
    Button4.Create(*this, "Report speichern", 408, 256, 137, 25);
    Button4.onClick = [this] { Button4Click(); };
    ScanAll.Create(*this, "Alle Laufwerke scannen", 8, 264, 209, 17);
    ScanAll.onClick = [this] { ScanAllClick(); };
    Report.Create(*this, 8, 288, 537, 97);
    Label6.Create(*this, "", 8, 391, 425, 13, false);
    Label3.Create(*this, "Ich brauche Hilfe!", 442, 391, 103, 13);
    Label3.onClick = [this] { Label3Click(); };
}

// A close request during a run cancels it; the window closes once the run has unwound, so the options are
// never written back while the run still uses the window.
bool TScan::FormCloseQuery() {
    if (!running_) return true;
    closeRequested_ = true;
    Button2.Enable(false);
    return false;
}

void TScan::FormDestroy() {
    if (!settings_) return;
    schema::Write(*settings_, schema::kReportOnly, CheckBox2.Checked());
    schema::Write(*settings_, schema::kIsolateFound, CheckBox1.Checked());
    schema::Write(*settings_, schema::kHeuristic, CheckBox3.Checked());
    settings_.reset();
}

void TScan::CheckBox2Click() { CheckBox1.Enable(!CheckBox2.Checked()); }

void TScan::CheckBox3Click() {
    if (Tag == 1 && CheckBox3.Checked()) MessageBoxA(hwnd(), kHeuristicWarning, kWarningTitle, MB_OK);
}

void TScan::ScanAllClick() { Auswahl.Enable(!ScanAll.Checked()); }

void TScan::Button1Click() {
    running_ = true;
    try {
        run_.Start();
    } catch (...) {
        running_ = false;
        throw;
    }
    running_ = false;
    if (closeRequested_) PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

void TScan::Button2Click() { Button2.Enable(false); }

void TScan::Button3Click() { Report.Clear(); }

void TScan::Button4Click() {
    const std::string path = AskReportFileName(hwnd());
    if (!path.empty()) WriteReportFile(path, Report.Rtf());
}

void TScan::Label3Click() { ui::OpenWithShell(hwnd(), ModuleFolder(nullptr) + "hilfe\\scanner.htm", SW_SHOWMAXIMIZED); }

void TScan::AddReportLine(const std::string& text, Colour colour) { Report.AppendLine(text, ToColorRef(colour)); }

void TScan::SetStatus(const std::string& folder) { Label6.SetText(StatusLineText(Label6.hwnd(), folder)); }

void TScan::ClearStatus() { Label6.SetText(""); }

bool TScan::Ask(const std::string& text) {
    return MessageBoxA(hwnd(), text.c_str(), kScannerTitle, MB_YESNO | MB_ICONINFORMATION) == IDYES;
}

void TScan::ProcessMessages() { ui::ProcessMessages(); }

void TScan::SetRunning(bool running) {
    Button1.Enable(!running);
    Button2.Enable(running);
    CheckBox1.Enable(!running);
    CheckBox2.Enable(!running);
    CheckBox3.Enable(!running);
    ScanAll.Enable(!running);
    if (!running) CheckBox2Click();
}

bool TScan::MayContinue() { return Button2.Enabled(); }

ScanOptions TScan::Options() {
    return ScanOptions{ScanAll.Checked(), CheckBox2.Checked(), CheckBox1.Checked(), CheckBox3.Checked()};
}

bool TScan::HasSelectedFolder() { return Auswahl.HasSelection(); }

std::string TScan::SelectedFolderPath() { return Auswahl.SelectedPath(); }

std::string TScan::ScanDialers(const std::string& path, std::uint32_t& readError) {
    return ScanDialersChecked(path, readError);
}

std::string TScan::CheckHeuristically(const std::string& path) { return CallEngine(&::CheckHeuristically, path); }

bool TScan::IsolateFile(const std::string& path, const std::string& reason) {
    return IsolateFileChecked(path, reason, [] { return ModuleFolder(nullptr); }, SystemQuarantine());
}

std::string TScan::ProgramFolder() { return ModuleFolder(nullptr); }

ScanFileSystem& TScan::FileSystem() { return SystemFileSystem(); }

} // namespace vur::scanner
