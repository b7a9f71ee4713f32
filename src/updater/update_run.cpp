// The update run.
#include "updater/update_run.h"

#include "shared/crc.h"
#include "updater/update_list.h"
#include "updater/update_names.h"
#include "updater/update_signatures.h"
#include "updater/update_texts.h"

namespace vur::updater {

namespace {

constexpr char kListName[] = "updates.dat";
// A name no part of the suite writes; the run removes it all the same, as earlier versions left it behind.
constexpr char kStaleName[] = "update.dat";

// The signature check of one file, fed as the download arrives.
class SignatureWatcher : public DownloadWatcher {
public:
    SignatureWatcher(const ed25519::PublicKey& key, const ed25519::Signature& signature, const std::string& name)
        : verifier_(key, signature, name) {}
    void Received(const char* bytes, std::size_t length) override { verifier_.Update(bytes, length); }
    bool Valid() { return verifier_.Valid(); }

private:
    FileVerifier verifier_;
};

// One differing entry: its signature fetched, the file fetched and verified, put in place. A missing or
// wrong signature, a failed or a wrong download never replace anything and leave no temporary file.
void Renew(UpdateHost& host, const UpdateEntry& entry, const std::string& local, UpdateOutcome& outcome) {
    host.SetProgressMaximum(entry.size);
    host.SetStatus(texts::kLoadingBefore + entry.name + texts::kLoadingAfter);
    const std::string signatureProblem = texts::kSignatureBefore + entry.name + texts::kSignatureAfter;
    std::string signatureFile;
    ed25519::Signature signature;
    if (!host.Fetch(entry.url + kListSignatureSuffix, signatureFile) || !ParseFileSignature(signatureFile, signature)) {
        host.Message(signatureProblem, texts::kSignatureCaption);
        return;
    }
    const std::string temporary = TemporaryPath(local);
    std::uint32_t stored = kCrcInitial;
    SignatureWatcher watcher(host.TrustedKey(), signature, entry.file);
    const bool fetched = host.Download(entry.url, temporary, stored, &watcher);
    if (!fetched) host.Message(texts::kDownloadFailedBefore + entry.name + ".", texts::kDownloadFailedCaption);
    if (!ChecksumMatches(stored, entry.checksum)) {
        host.Message(entry.name + texts::kCorruptAfter, texts::kCorruptCaption);
        host.RemoveFile(temporary);
        return;
    }
    if (!fetched) {
        host.RemoveFile(temporary);
        return;
    }
    if (!watcher.Valid()) {
        host.Message(signatureProblem, texts::kSignatureCaption);
        host.RemoveFile(temporary);
        return;
    }
    switch (ReplaceInstalledFile(host.Files(), temporary, local)) {
    case Replaced::Now:
        break;
    case Replaced::AtRestart:
        outcome.restart = true;
        break;
    case Replaced::NotScheduled:
        host.Message(entry.name + texts::kNotReplacedAfter, texts::kNotReplacedCaption);
        host.RemoveFile(temporary);
        break;
    }
}

std::string Report(const UpdateOutcome& outcome) {
    if (outcome.differing == 0) return texts::kNothingNew;
    std::string text = texts::kInstalledBefore + std::to_string(outcome.differing) + texts::kInstalledAfter;
    if (outcome.restart) text += texts::kRestart;
    return text;
}

// The list is used only when it is signed with the trusted key and not older than the last one accepted;
// its serial is then kept, before a single entry is read.
bool AcceptList(UpdateHost& host, const std::string& server, const std::string& list) {
    std::string signatureFile;
    std::uint64_t serial = 0;
    if (!host.Fetch(server + "/" + kListName + kListSignatureSuffix, signatureFile) ||
        !VerifyList(host.TrustedKey(), list, signatureFile, serial)) {
        host.Message(texts::kListUnsigned, texts::kListRefusedCaption);
        return false;
    }
    const std::uint64_t accepted = host.AcceptedSerial();
    if (serial < accepted) {
        host.Message(texts::kListOlderBefore + std::to_string(serial) + texts::kListOlderMiddle +
                         std::to_string(accepted) + texts::kListOlderAfter,
                     texts::kListRefusedCaption);
        return false;
    }
    if (serial != accepted) host.KeepSerial(serial);
    return true;
}

} // namespace

UpdateOutcome RunUpdate(UpdateHost& host) {
    UpdateOutcome outcome;
    const std::string folder = host.ProgramFolder();
    host.SetStatus(texts::kReceiving);
    std::string server = host.ServerUrl();
    while (!server.empty() && server.back() == '/') server.pop_back();
    std::uint32_t listChecksum = 0;
    if (!host.Download(server + "/" + kListName, folder + kListName, listChecksum, nullptr)) {
        host.RemoveFile(folder + kListName);
        host.Message(texts::kUnreachable, texts::kUnreachableCaption);
        host.OpenUpdatePage();
        return outcome;
    }
    outcome.serverReached = true;
    const std::string bytes = host.ReadWholeFile(folder + kListName);
    if (!AcceptList(host, server, bytes)) {
        host.RemoveFile(folder + kListName);
        outcome.listRefused = true;
        return outcome;
    }
    host.StartProgressTimer();
    UpdateListReader list(bytes);
    UpdateEntry entry;
    while (true) {
        host.SetProgress(0);
        if (!list.Next(entry)) break;
        const std::string refusal = RefusalReason(entry.file);
        if (!refusal.empty()) {
            host.Message(texts::kRefusedBefore + entry.name + texts::kRefusedAfter + refusal, texts::kRefusedCaption);
            continue;
        }
        const std::string local = LocalPath(folder, entry.file);
        if (ChecksumMatches(host.Checksum(local), entry.checksum)) continue;
        ++outcome.differing;
        Renew(host, entry, local, outcome);
    }
    host.SetProgress(0);
    host.Message(Report(outcome), texts::kDoneCaption);
    host.RemoveFile(folder + kStaleName);
    return outcome;
}

} // namespace vur::updater
