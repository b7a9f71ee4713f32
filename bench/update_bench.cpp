// update_bench: one update run of a whole program folder, as update.exe does it but without its window:
// the list fetched, every file fetched, verified and put in place. Prints the files, bytes, wall time and
// the processor time of this process during the run. bench/update_bench.py runs it against loopback nginx
// beside curl fetching the same files.
//
// Then what the verification costs within such a run, measured apart over as many rounds: fetching the list's
// signature file alone (its one request), and checking the signature and the SHA-512 of every file as stored.
//
// Usage: update_bench FOLDER SERVER-URL ROUNDS [--run-only]: each round updates FOLDER<n>\ (made here when
// missing, so an empty one is updated in full), so that the processor time is well above the clock's
// resolution. --run-only leaves out the signature costs, for bench/modem_line.py, where every request counts.
#include <windows.h>

#include <cstdio>

#include "process_time.h"
#include <cstdlib>
#include <string>
#include <vector>

#include "shared/crc.h"
#include "shared/file_reader.h"
#include "shared/sha512.h"
#include "shared/ui/application.h"
#include "update_key.h"
#include "updater/replace_system_win32.h"
#include "updater/update_files_win32.h"
#include "updater/update_list.h"
#include "updater/update_names.h"
#include "updater/update_run.h"
#include "updater/update_manifest.h"

namespace {


// The run's host without a window: messages are counted and printed, the progress is not shown. The download
// client is the program's, made once as update.exe makes it with its window, and used by every round, as
// curl's one process serves all its rounds.
class BenchHost : public vur::updater::UpdateHost {
public:
    BenchHost(vur::updater::THttpCli& client, std::string folder, std::string server)
        : client_(client), folder_(std::move(folder)), server_(std::move(server)) {}
    std::string ProgramFolder() override { return folder_; }
    std::string ServerUrl() override { return server_; }
    void SetStatus(const std::string&) override {}
    void SetProgress(int) override {}
    void SetProgressMaximum(int) override {}
    void StartProgressTimer() override {}
    bool Download(const std::string& url, const std::string& target, std::uint64_t limit, std::uint32_t& checksum,
                  vur::updater::DownloadWatcher* watcher) override {
        const bool fetched = vur::updater::DownloadToFile(client_, url, target, limit, checksum, watcher);
        if (fetched) bytes += client_.ReceivedBytes();
        return fetched;
    }
    bool Fetch(const std::string& url, std::string& body, std::size_t limit) override {
        return vur::updater::FetchToMemory(client_, url, body, limit);
    }
    const vur::ed25519::PublicKey& TrustedKey() override { return vur::updater::kTrustedUpdateKey; }
    std::uint64_t AcceptedSerial() override { return 0; }
    void KeepSerial(std::uint64_t) override {}
    bool StoreFile(const std::string& path, const std::string& bytes) override {
        return vur::updater::StoreWholeFile(path, bytes);
    }
    bool FileHash(const std::string& path, vur::updater::Sha512Hash& hash) override {
        return vur::updater::FileSha512(path, hash);
    }
    std::uint32_t Checksum(const std::string& path) override { return vur::FileCRC32(path); }
    void RemoveFile(const std::string& path) override { ::DeleteFileA(path.c_str()); }
    void Message(const std::string& text, const std::string& caption) override {
        ++messages;
        std::printf("message %s: %s\n", caption.c_str(), text.c_str());
    }
    void OpenUpdatePage() override {}
    vur::updater::ReplaceSystem& Files() override { return files_; }

    unsigned long long bytes = 0;
    int messages = 0;

private:
    vur::updater::THttpCli& client_;
    std::string folder_, server_;
    vur::updater::WindowsReplaceSystem files_;
};

// The processor time of the signature request alone and of the checks alone, over `rounds` rounds of the
// stored `folder`'s list; false when the signature fails or cannot be fetched.
bool SignatureCosts(vur::updater::THttpCli& client, const std::string& folder, const std::string& server, int rounds,
                    unsigned long long& requestsUs, unsigned long long& checksUs) {
    using namespace vur::updater;
    std::string list, listSignature;
    if (!vur::ReadWholeFile(folder + "updates.dat", list)) return false;
    unsigned long long before = ProcessorMicroseconds();
    for (int round = 0; round < rounds; ++round)
        if (!FetchToMemory(client, server + "/updates.dat" + kListSignatureSuffix, listSignature, 256 * 1024))
            return false;
    requestsUs = ProcessorMicroseconds() - before;
    std::vector<UpdateEntry> entries;
    UpdateListReader reader(list);
    for (UpdateEntry entry; reader.Next(entry);) entries.push_back(entry);
    std::vector<std::string> files(entries.size());
    for (std::size_t i = 0; i < entries.size(); ++i)
        if (!vur::ReadWholeFile(LocalPath(folder, entries[i].file), files[i])) return false;
    before = ProcessorMicroseconds();
    for (int round = 0; round < rounds; ++round) {
        SignedManifest manifest;
        if (!VerifyList(kTrustedUpdateKey, list, listSignature, manifest)) return false;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const ManifestEntry* signed_ = manifest.Find(entries[i].file);
            Sha512Hash hash;
            vur::Sha512 sha;
            sha.Update(files[i].data(), files[i].size());
            sha.Final(hash.data());
            if (!signed_ || signed_->hash != hash) return false;
        }
    }
    checksUs = ProcessorMicroseconds() - before;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const bool runOnly = argc == 5 && std::string(argv[4]) == "--run-only";
    if (argc != 4 && !runOnly) {
        std::fprintf(stderr, "usage: update_bench FOLDER SERVER-URL ROUNDS [--run-only]\n");
        return 2;
    }
    try {
        vur::ui::InitApplication("update_bench");
        const int rounds = std::atoi(argv[3]);
        int files = 0, messages = 0;
        unsigned long long bytes = 0, cpu = 0;
        DWORD wall = 0;
        vur::updater::THttpCli client;
        for (int round = 0; round < rounds; ++round) {
            const std::string folder = std::string(argv[1]) + std::to_string(round) + "\\";
            CreateDirectoryA(folder.c_str(), nullptr);
            BenchHost host(client, folder, argv[2]);
            const unsigned long long cpuBefore = ProcessorMicroseconds();
            const DWORD start = GetTickCount();
            const vur::updater::UpdateOutcome outcome = vur::updater::RunUpdate(host);
            wall += GetTickCount() - start;
            cpu += ProcessorMicroseconds() - cpuBefore;
            if (!outcome.serverReached) return 1;
            files += outcome.installed;
            bytes += host.bytes;
            messages += host.messages;
        }
        unsigned long long requestsUs = 0, checksUs = 0;
        if (!runOnly && !SignatureCosts(client, std::string(argv[1]) + "0\\", argv[2], rounds, requestsUs, checksUs))
            return 4;
        std::printf("files %d bytes %llu wall_ms %lu cpu_us %llu messages %d signature_requests_cpu_us %llu"
                    " signature_checks_cpu_us %llu\n",
                    files, bytes, wall, cpu, messages, requestsUs, checksUs);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 3;
    }
}
