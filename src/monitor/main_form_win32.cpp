// TfMain: start-up of the monitor's resources and its tick.
#include "monitor/main_form_win32.h"

#include "monitor/held_files.h"
#include "monitor/random_name.h"
#include "shared/module_path_win32.h"
#include "shared/monitor_signals.h"
#include "shared/program_settings.h"
#include "shared/run_value.h"
#include "shared/settings_schema.h"
#include "shared/ui/application.h"
#include "monitor/texts.h"

namespace vur::monitor {

TfMain::TfMain(HMODULE library) {
    // The designed size of the form; it is never shown.
    CreateHidden(library, "TfMain", MakeRandomName(), 119, 79);
    FormCreate(library);
}

TfMain::~TfMain() {
    checking_.reset();
    tick_.reset();
    connectionWatch_.reset();
    mag_.reset();
    applicationWatch_.reset();
    applicationSystem_.reset();
    engines_.reset(); // the signature engine first, then the heuristic engine
    settings_.reset();
}

void TfMain::FormCreate(HMODULE library) {
    name_ = MakeRandomName();

    const std::string self = vur::ModuleFileName(library);
    LoadLibraryA(self.c_str()); // a second extra reference: the library stays mapped in its host
    folder_ = vur::ModuleFolder(library);

    engines_ = std::make_unique<MonitorEngines>();
    engines_->Load(folder_);
    settings_ = vur::OpenProgramSettings(folder_);
    engines_->LoadSignatures(folder_);
    HoldCompanionFiles(folder_);

    tick_ = std::make_unique<MonitorTick>(static_cast<TickSystem&>(*this), *settings_, folder_);
    applicationSystem_ = std::make_unique<Win32ApplicationSystem>(
        *engines_, folder_,
        [this](const std::string& text, const std::string& caption, unsigned flags) {
            return Ask(text, caption, flags);
        },
        [this] { return CanAsk(); }, [this](const std::string& message) { tick_->Report(message); });
    applicationWatch_ = std::make_unique<ApplicationWatch>(*applicationSystem_, *settings_);
    tick_->checkApplications = [this] { applicationWatch_->CheckApplications(); };
    mag_ = std::make_unique<vur::monitor::TMagRasCon>(vur::monitor::ProcessRasBinding(), hwnd());
    connectionWatch_ = std::make_unique<vur::monitor::TConnectionWatch>(*mag_, *settings_, *this);
    tick_->pollConnections = [this] { connectionWatch_->PollConnections(); };
    checking_ = std::make_unique<vur::ui::Timer>(*this, kCheckingInterval);
    checking_->onTimer = [this] { CheckingTimer(); };
    checking_->Enable(true);
    if (!engines_->Missing().empty()) PostMessageA(hwnd(), kShowMissingEngines, 0, 0);
    if (!applicationSystem_->CanListProcesses()) PostMessageA(hwnd(), kShowMissingProcessList, 0, 0);
}

void TfMain::CheckingTimer() {
    // The timer stays on: a box that is open dispatches its messages, and the tick runs inside it, so that no
    // unanswered box leaves new processes and connections unchecked. The watches keep what is being asked
    // about out of the nested checks, and at most kMaxOpenQuestions questions nest.
    tick_->Run();
}

void TfMain::ShowMissingEngines() {
    std::string text = texts::kEnginesMissing;
    text += "\r\n\r\n";
    for (const std::string& item : engines_->Missing()) text += "    " + item + "\r\n";
    text += "\r\n";
    text += texts::kEnginesMissingAdvice;
    ShowWarning(text);
}

void TfMain::ShowMissingProcessList() {
    ShowWarning(std::string(texts::kProcessListMissing) + "\r\n\r\n" + texts::kProcessListMissingAdvice);
}

void TfMain::ShowWarning(const std::string& text) {
    MessageBoxA(hwnd(), text.c_str(), texts::kCaption, MB_OK | MB_ICONWARNING | MB_SETFOREGROUND | MB_TOPMOST);
}

void TfMain::ShowPendingErrors() {
    if (showingErrors_) return; // the box already open shows the new one next
    showingErrors_ = true;
    while (!pendingErrors_.empty()) {
        const std::string message = pendingErrors_.front();
        pendingErrors_.pop_front();
        MessageBoxA(hwnd(), message.c_str(), texts::kCaption, MB_OK | MB_ICONERROR | MB_SETFOREGROUND | MB_TOPMOST);
    }
    showingErrors_ = false;
}

// The end of the Windows session is a deliberate end: the programs that hold the library must not take the
// monitor over while the session closes. A cancelled end takes the mark back.
void TfMain::MarkSessionEnd(bool ending) {
    const HANDLE ended = CreateEventA(nullptr, TRUE, FALSE, vur::kMonitorEndedEventName);
    if (!ended) return;
    if (ending)
        SetEvent(ended);
    else
        ResetEvent(ended);
    CloseHandle(ended);
}

LRESULT TfMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CLOSE: // FormClose: a request to close the main window is refused
        return 0;
    case WM_QUERYENDSESSION:
        return TRUE;
    case WM_ENDSESSION:
        MarkSessionEnd(wParam != FALSE);
        return 0;
    case kShowErrors:
        ShowPendingErrors();
        return 0;
    case kShowMissingEngines:
        ShowMissingEngines();
        return 0;
    case kShowMissingProcessList:
        ShowMissingProcessList();
        return 0;
    case vur::monitor::TMagRasCon::kStateMessage:
        // A state record of the RAS component runs the connection check; its errors are told like the tick's.
        tick_->Guarded([this, wParam] {
            if (mag_) mag_->DeliverStateMessage(static_cast<std::uint32_t>(wParam));
        });
        return 0;
    default:
        return vur::ui::Window::HandleMessage(message, wParam, lParam);
    }
}

bool TfMain::SettingsFileExists() {
    return GetFileAttributesA((folder_ + vur::schema::kSettingsFileName).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void TfMain::WriteRunValue(const std::string& data) { vur::WriteRunValue(data); }

void TfMain::ShowError(const std::string& message) {
    pendingErrors_.push_back(message);
    PostMessageA(hwnd(), kShowErrors, 0, 0);
}

void TfMain::ReportError(const std::string& message) { tick_->Report(message); }

int TfMain::Ask(const std::string& text, const std::string& caption, unsigned flags) {
    ++openQuestions_;
    const int answer = MessageBoxA(hwnd(), text.c_str(), caption.c_str(), flags);
    --openQuestions_;
    return answer;
}

} // namespace vur::monitor
