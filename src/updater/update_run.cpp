// The update run.
#include "updater/update_run.h"

#include "shared/crc.h"
#include "updater/update_list.h"
#include "updater/update_names.h"
#include "updater/update_texts.h"

namespace vur::updater {

namespace {

constexpr char kListName[] = "updates.dat";
// A name no part of the suite writes; the run removes it all the same, as earlier versions left it behind.
constexpr char kStaleName[] = "update.dat";

// One differing entry: fetched, verified, put in place. A failed or wrong download never replaces anything
// and leaves no temporary file.
void Renew(UpdateHost& host, const UpdateEntry& entry, const std::string& local, UpdateOutcome& outcome) {
    host.SetProgressMaximum(entry.size);
    host.SetStatus(texts::kLoadingBefore + entry.name + texts::kLoadingAfter);
    const std::string temporary = TemporaryPath(local);
    std::uint32_t stored = kCrcInitial;
    const bool fetched = host.Download(entry.url, temporary, stored);
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

} // namespace

UpdateOutcome RunUpdate(UpdateHost& host) {
    UpdateOutcome outcome;
    const std::string folder = host.ProgramFolder();
    host.SetStatus(texts::kReceiving);
    std::string server = host.ServerUrl();
    while (!server.empty() && server.back() == '/') server.pop_back();
    std::uint32_t listChecksum = 0;
    if (!host.Download(server + "/" + kListName, folder + kListName, listChecksum)) {
        host.RemoveFile(folder + kListName);
        host.Message(texts::kUnreachable, texts::kUnreachableCaption);
        host.OpenUpdatePage();
        return outcome;
    }
    outcome.serverReached = true;
    host.StartProgressTimer();
    UpdateListReader list(host.ReadWholeFile(folder + kListName));
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
