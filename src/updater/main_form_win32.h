// TUpdater: the updater's window. One button starts the update run; the progress bar follows the current
// download and the status line names it. The program ends after the run.
#pragma once

#include <memory>

#include "shared/securityunit.h"
#include "shared/ui/controls.h"
#include "shared/ui/heading.h"
#include "shared/ui/window.h"
#include "updater/HttpProt.h"
#include "updater/replace_system_win32.h"
#include "updater/update_host.h"

namespace vur::updater {

class TUpdater : public ui::Window, private UpdateHost {
public:
    TUpdater();
    ~TUpdater() override;

    void FormCreate();

private:
    void Button1Click();
    void Timer1Timer();

    // UpdateHost
    std::string ProgramFolder() override;
    std::string ServerUrl() override;
    void SetStatus(const std::string& text) override;
    void SetProgress(int position) override;
    void SetProgressMaximum(int maximum) override;
    void StartProgressTimer() override;
    bool Download(const std::string& url, const std::string& target, std::uint64_t limit, std::uint32_t& checksum,
                  DownloadWatcher* watcher) override;
    bool Fetch(const std::string& url, std::string& body, std::size_t limit) override;
    const ed25519::PublicKey& TrustedKey() override;
    std::uint64_t AcceptedSerial() override;
    void KeepSerial(std::uint64_t serial) override;
    bool StoreFile(const std::string& path, const std::string& bytes) override;
    bool FileHash(const std::string& path, Sha512Hash& hash) override;
    std::uint32_t Checksum(const std::string& path) override;
    void RemoveFile(const std::string& path) override;
    void Message(const std::string& text, const std::string& caption) override;
    void OpenUpdatePage() override;
    ReplaceSystem& Files() override;

    std::unique_ptr<TSECURITYINI> settings_;
    ui::Heading Panel1;
    ui::Label Label3; // the explanation
    ui::ProgressBar ProgressBar1;
    ui::Button Button1;
    ui::Label Label4; // status line
    ui::Timer Timer1{*this, 100};
    THttpCli Http;
    WindowsReplaceSystem files_;
};

} // namespace vur::updater
