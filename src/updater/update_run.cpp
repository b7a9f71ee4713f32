// The update run.
#include "updater/update_run.h"

#include "shared/crc.h"
#include "shared/sha512.h"
#include "updater/update_list.h"
#include "updater/update_manifest.h"
#include "updater/update_names.h"
#include "updater/update_texts.h"

namespace vur::updater {

namespace {

constexpr char kListName[] = "updates.dat";
// A name no part of the suite writes; the run removes it all the same, as earlier versions left it behind.
constexpr char kStaleName[] = "update.dat";
// The list and its signature are read into memory and verified before anything is written: a server that
// sends more is cut off.
constexpr std::size_t kListLimit = 256 * 1024;

// The hash and length of a download, taken as it arrives.
class HashWatcher : public DownloadWatcher {
public:
    void Received(const char* bytes, std::size_t length) override {
        sha_.Update(bytes, length);
        size_ += length;
    }
    bool Matches(const ManifestEntry& entry) {
        Sha512Hash hash;
        sha_.Final(hash.data());
        return size_ == entry.size && hash == entry.hash;
    }

private:
    Sha512 sha_;
    std::uint64_t size_ = 0;
};

// A download's file goes again on every way out of its entry, an exception included, unless it was put in
// place or scheduled: nothing unverified stays behind for a later start of Windows to find.
class TemporaryDownload {
public:
    TemporaryDownload(UpdateHost& host, std::string path) : host_(host), path_(std::move(path)) {}
    ~TemporaryDownload() {
        if (!kept_) host_.RemoveFile(path_);
    }
    TemporaryDownload(const TemporaryDownload&) = delete;
    TemporaryDownload& operator=(const TemporaryDownload&) = delete;
    void Keep() { kept_ = true; }
    const std::string& Path() const { return path_; }

private:
    UpdateHost& host_;
    std::string path_;
    bool kept_ = false;
};

// Puts a verified file in place or schedules it; false when neither is possible. Then the other downloads of
// the file that earlier runs left go: older versions, perhaps scheduled (their renames at the next start of
// Windows then find nothing to move), and bytes of a run that was cut off.
bool Place(UpdateHost& host, const UpdateEntry& entry, TemporaryDownload& download, const std::string& local,
           UpdateOutcome& outcome) {
    switch (ReplaceInstalledFile(host.Files(), download.Path(), local)) {
    case Replaced::Now:
        download.Keep();
        break;
    case Replaced::AtRestart:
        download.Keep();
        outcome.restart = true;
        break;
    case Replaced::NotScheduled:
        host.Message(entry.name + texts::kNotReplacedAfter, texts::kNotReplacedCaption);
        return false;
    }
    for (const std::string& other : host.Files().FindFiles(local + kTemporaryHead, kTemporaryTail))
        if (other != download.Path() && IsTemporaryPathOf(local, other)) host.RemoveFile(other);
    return true;
}

// One differing entry that the manifest names: fetched to the name its signed hash gives, verified against
// the manifest, put in place. A failed, a corrupt or a swapped download never replaces anything and leaves no
// file. A file of that name that holds the signed bytes already (a verified download of an earlier run,
// perhaps scheduled) is put in place again instead of being fetched.
bool Renew(UpdateHost& host, const UpdateEntry& entry, const ManifestEntry& signed_, const std::string& local,
           UpdateOutcome& outcome) {
    host.SetProgressMaximum(entry.size);
    host.SetStatus(texts::kLoadingBefore + entry.name + texts::kLoadingAfter);
    TemporaryDownload download(host, TemporaryPath(local, signed_.hash.data()));
    if (host.Files().Exists(download.Path())) {
        Sha512Hash hash;
        if (host.FileHash(download.Path(), hash) && hash == signed_.hash)
            return Place(host, entry, download, local, outcome);
        // Other bytes under this name were never verified, so never scheduled: they may go.
        host.RemoveFile(download.Path());
        if (host.Files().Exists(download.Path())) {
            download.Keep(); // not ours to remove after all
            host.Message(entry.name + texts::kNotReplacedAfter, texts::kNotReplacedCaption);
            return false;
        }
    }
    std::uint32_t stored = kCrcInitial;
    HashWatcher watcher;
    const bool fetched = host.Download(entry.url, download.Path(), signed_.size, stored, &watcher);
    if (!fetched) host.Message(texts::kDownloadFailedBefore + entry.name + ".", texts::kDownloadFailedCaption);
    if (!ChecksumMatches(stored, entry.checksum)) {
        host.Message(entry.name + texts::kCorruptAfter, texts::kCorruptCaption);
        return false;
    }
    if (!fetched) return false;
    if (!watcher.Matches(signed_)) {
        host.Message(entry.name + texts::kMismatchAfter, texts::kSignatureCaption);
        return false;
    }
    return Place(host, entry, download, local, outcome);
}

std::string Report(const UpdateOutcome& outcome) {
    if (outcome.installed == 0 && outcome.failed == 0) return texts::kNothingNew;
    std::string text;
    if (outcome.installed > 0)
        text = texts::kInstalledBefore + std::to_string(outcome.installed) + texts::kInstalledAfter;
    if (outcome.failed > 0) {
        if (!text.empty()) text += ' ';
        text += std::to_string(outcome.failed) + texts::kNotInstalledAfter;
    }
    if (outcome.restart) text += texts::kRestart;
    return text;
}

// The list is used only when it is signed with the trusted key, with its manifest, and not older than the
// last one accepted; its serial is then kept, before a single entry is read.
bool AcceptList(UpdateHost& host, const std::string& server, const std::string& list, SignedManifest& manifest) {
    std::string signatureFile;
    if (!host.Fetch(server + "/" + kListName + kListSignatureSuffix, signatureFile, kListLimit) ||
        !VerifyList(host.TrustedKey(), list, signatureFile, manifest)) {
        host.Message(texts::kListUnsigned, texts::kListRefusedCaption);
        return false;
    }
    const std::uint64_t accepted = host.AcceptedSerial();
    if (manifest.serial < accepted) {
        host.Message(texts::kListOlderBefore + std::to_string(manifest.serial) + texts::kListOlderMiddle +
                         std::to_string(accepted) + texts::kListOlderAfter,
                     texts::kListRefusedCaption);
        return false;
    }
    if (manifest.serial != accepted) host.KeepSerial(manifest.serial);
    return true;
}

// One entry of an accepted list; false when it differs and was not installed.
bool Entry(UpdateHost& host, const std::string& folder, const SignedManifest& manifest, const UpdateEntry& entry,
           UpdateOutcome& outcome) {
    const std::string refusal = UpdateNameRefusalReason(entry.file);
    if (!refusal.empty()) {
        host.Message(texts::kRefusedBefore + entry.name + texts::kRefusedAfter + refusal, texts::kRefusedCaption);
        return false;
    }
    const std::string local = LocalPath(folder, entry.file);
    if (ChecksumMatches(host.Checksum(local), entry.checksum)) return true;
    ++outcome.differing;
    const ManifestEntry* signed_ = manifest.Find(entry.file);
    if (!signed_ || entry.size < 0 || signed_->size != static_cast<std::uint64_t>(entry.size)) {
        host.Message(texts::kSignatureBefore + entry.name + texts::kSignatureAfter, texts::kSignatureCaption);
        return false;
    }
    if (!Renew(host, entry, *signed_, local, outcome)) return false;
    ++outcome.installed;
    return true;
}

} // namespace

UpdateOutcome RunUpdate(UpdateHost& host) {
    UpdateOutcome outcome;
    const std::string folder = host.ProgramFolder();
    host.SetStatus(texts::kReceiving);
    std::string server = host.ServerUrl();
    while (!server.empty() && server.back() == '/') server.pop_back();
    std::string list;
    if (!host.Fetch(server + "/" + kListName, list, kListLimit)) {
        host.RemoveFile(folder + kListName);
        host.Message(texts::kUnreachable, texts::kUnreachableCaption);
        host.OpenUpdatePage();
        return outcome;
    }
    outcome.serverReached = true;
    SignedManifest manifest;
    if (!AcceptList(host, server, list, manifest)) {
        outcome.listRefused = true;
        return outcome;
    }
    // The copy in the program folder is for the user's eyes only; the run goes on from memory without it.
    host.StoreFile(folder + kListName, list);
    host.StartProgressTimer();
    UpdateListReader reader(list);
    UpdateEntry entry;
    while (true) {
        host.SetProgress(0);
        if (!reader.Next(entry)) break;
        if (!Entry(host, folder, manifest, entry, outcome)) ++outcome.failed;
    }
    host.SetProgress(0);
    host.Message(Report(outcome), texts::kDoneCaption);
    host.RemoveFile(folder + kStaleName);
    return outcome;
}

} // namespace vur::updater
