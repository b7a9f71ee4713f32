// The updater window and the update run's host on Windows.
#include "updater/main_form_win32.h"

#include "shared/crc.h"
#include "shared/errors.h"
#include "shared/module_path_win32.h"
#include "shared/program_settings.h"
#include "shared/settings_schema.h"
#include "shared/ui/application.h"
#include "shared/ui/shell.h"
#include "update_key.h"
#include "updater/update_files_win32.h"
#include "updater/update_run.h"
#include "updater/update_manifest.h"
#include "updater/update_texts.h"

namespace vur::updater {

namespace {

constexpr int kClientWidth = 433, kClientHeight = 209;

} // namespace

TUpdater::TUpdater() = default;

TUpdater::~TUpdater() = default;

void TUpdater::FormCreate() {
    CreateForm(std::string(texts::kTitle) + kTitleSuffix, kClientWidth, kClientHeight);
    Panel1.Create(*this, kClientWidth, texts::kHeadingTitle, texts::kHeadingText);
    Label3.Create(*this, texts::kExplanation, 8, 73, kClientWidth - 16, 52);
    ProgressBar1.Create(*this, 8, 132, kClientWidth - 16, 17);
    Button1.Create(*this, texts::kButton, (kClientWidth - 145) / 2, 156, 145, 25, true);
    Button1.onClick = [this] { Button1Click(); };
    Label4.Create(*this, "", 8, 188, kClientWidth - 16, 13, false);
    Timer1.onTimer = [this] { Timer1Timer(); };
    settings_ = OpenProgramSettings(ProgramFolder());
}

// One run; the button stays off. The program ends after it, also when the server was not reached; an error
// on the way goes to the general error box and leaves the window open.
void TUpdater::Button1Click() {
    Button1.Enable(false);
    try {
        RunUpdate(*this);
    } catch (...) {
        Timer1.Enable(false);
        throw;
    }
    Timer1.Enable(false);
    PostMessageA(hwnd(), WM_CLOSE, 0, 0);
}

void TUpdater::Timer1Timer() {
    ProgressBar1.SetPosition(static_cast<int>(Http.ReceivedBytes()));
    ui::ProcessMessages();
}

std::string TUpdater::ProgramFolder() { return ModuleFolder(nullptr); }

std::string TUpdater::ServerUrl() {
    return settings_->ReadString(schema::kUpdate, schema::kUpdateServerKey, VUR_UPDATE_SERVER);
}

void TUpdater::SetStatus(const std::string& text) { Label4.SetText(text); }

void TUpdater::SetProgress(int position) { ProgressBar1.SetPosition(position); }

void TUpdater::SetProgressMaximum(int maximum) { ProgressBar1.SetRange(0, maximum); }

void TUpdater::StartProgressTimer() { Timer1.Enable(true); }

bool TUpdater::Download(const std::string& url, const std::string& target, std::uint64_t limit,
                        std::uint32_t& checksum, DownloadWatcher* watcher) {
    return DownloadToFile(Http, url, target, limit, checksum, watcher);
}

bool TUpdater::Fetch(const std::string& url, std::string& body, std::size_t limit) {
    return FetchToMemory(Http, url, body, limit);
}

const ed25519::PublicKey& TUpdater::TrustedKey() { return kTrustedUpdateKey; }

// None kept, or a value that is no serial (written by hand, damaged), counts as the build's minimum: a
// replayed list older than the build is refused on a fresh installation too.
std::uint64_t TUpdater::AcceptedSerial() {
    std::uint64_t serial = 0;
    try {
        if (!ParseSerial(settings_->ReadString(schema::kUpdate, schema::kUpdateSerialKey, "0"), serial)) serial = 0;
    } catch (const EVurError&) {
        serial = 0; // a damaged value, or the settings file locked for too long
    }
    return serial < kMinimumUpdateSerial ? kMinimumUpdateSerial : serial;
}

void TUpdater::KeepSerial(std::uint64_t serial) {
    settings_->WriteString(schema::kUpdate, schema::kUpdateSerialKey, std::to_string(serial));
}

bool TUpdater::StoreFile(const std::string& path, const std::string& bytes) { return StoreWholeFile(path, bytes); }

bool TUpdater::FileHash(const std::string& path, Sha512Hash& hash) { return FileSha512(path, hash); }

std::uint32_t TUpdater::Checksum(const std::string& path) { return FileCRC32(path, kCrcInitial); }

void TUpdater::RemoveFile(const std::string& path) { ::DeleteFileA(path.c_str()); }

void TUpdater::Message(const std::string& text, const std::string& caption) {
    MessageBoxA(hwnd(), text.c_str(), caption.c_str(), MB_OK);
}

void TUpdater::OpenUpdatePage() {
    ui::OpenWithShell(hwnd(), settings_->ReadString(schema::kUpdate, schema::kUpdatePageKey, VUR_UPDATE_PAGE),
                      SW_SHOWNORMAL);
}

ReplaceSystem& TUpdater::Files() { return files_; }

} // namespace vur::updater
