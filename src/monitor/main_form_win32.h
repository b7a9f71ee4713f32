// TfMain, the monitor's hidden main window: owner of the engines, the settings object, the held-open files,
// the tick timer `Checking` and the owner of every message box of the watches (Windows builds only).
#pragma once

#include "monitor/application_system_win32.h"
#include "monitor/application_watch.h"
#include "monitor/connection_watch.h"
#include "monitor/magrascon.h"
#include "monitor/monitor_engines_win32.h"
#include "monitor/monitor_tick.h"
#include "shared/ini_file.h"
#include "shared/ui/window.h"

#include <deque>
#include <memory>
#include <string>

namespace vur::monitor {

class TfMain : public vur::ui::Window, public TickSystem, public vur::monitor::TConnectionPrompt {
public:
    // Creates the window and runs FormCreate.
    explicit TfMain(HMODULE library);
    // FormDestroy: the signature engine, then the heuristic engine, then the settings object.
    ~TfMain() override;

    const std::string& ProgramFolder() const { return folder_; }
    vur::TCustomIniFile& Settings() { return *settings_; }
    const MonitorEngines& Engines() const { return *engines_; }
    // The form's component name: a second random name, drawn separately from the caption.
    const std::string& Name() const { return name_; }

    static constexpr UINT kCheckingInterval = 500;
    // Each open question nests the checks that run while it waits; this many may be open at once.
    static constexpr int kMaxOpenQuestions = 4;

private:
    void FormCreate(HMODULE library);
    void CheckingTimer();
    void ShowMissingEngines();
    void ShowMissingProcessList();
    void ShowWarning(const std::string& text);
    void ShowPendingErrors();
    void MarkSessionEnd(bool ending);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

    bool SettingsFileExists() override;
    void WriteRunValue(const std::string& data) override;
    void ShowError(const std::string& message) override;
    // The watches' questions, owned by this window.
    int Ask(const std::string& text, const std::string& caption, unsigned flags) override;
    bool CanAsk() override { return openQuestions_ < kMaxOpenQuestions; }
    void ReportError(const std::string& message) override;

    static constexpr UINT kShowMissingEngines = WM_APP + 1;
    static constexpr UINT kShowMissingProcessList = WM_APP + 2;
    static constexpr UINT kShowErrors = WM_APP + 3;

    int openQuestions_ = 0;
    // Errors wait here for their box, which opens from the message loop, never inside a check, one at a time.
    std::deque<std::string> pendingErrors_;
    bool showingErrors_ = false;
    std::string name_;
    std::string folder_;
    std::unique_ptr<MonitorEngines> engines_;
    std::unique_ptr<vur::TCustomIniFile> settings_;
    std::unique_ptr<MonitorTick> tick_;
    // `Checking`: fires every 500 ms, also while a question or an error box is open.
    std::unique_ptr<vur::ui::Timer> checking_;
    std::unique_ptr<Win32ApplicationSystem> applicationSystem_;
    std::unique_ptr<ApplicationWatch> applicationWatch_;
    // `mag` must outlive the connection watch, which hooks its two events.
    std::unique_ptr<vur::monitor::TMagRasCon> mag_;
    std::unique_ptr<vur::monitor::TConnectionWatch> connectionWatch_;
};

} // namespace vur::monitor
