// Prints what a scanner run over a folder tree costs and where the time goes: the engines' calls against
// everything around them (folder walk, status line, message processing, the run's own logic).
// Usage: scan_bench <folder> [--heuristic] [--idle] [--show]
//   --heuristic  also calls CheckHeuristically for every file the signature engine finds clean
//   --idle       puts the process into IDLE_PRIORITY_CLASS first, as the scanner does at start-up
//   --show       shows the window, so the status line is painted as in the scanner (needs a display)
// The program must sit in a folder with vurscan.dll, vurheur.dll and signaturen\ (a copy of the dist folder):
// the engines are imported statically and the signatures are loaded from the program's folder.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <string>

#include "scanner/engine_imports.h"
#include "scanner/status_line_win32.h"
#include "scanner/scan_file_system_win32.h"
#include "scanner/scan_host.h"
#include "scanner/scan_run.h"
#include "shared/engine_api.h"
#include "shared/module_path_win32.h"
#include "shared/signatures.h"
#include "shared/ui/application.h"
#include "shared/ui/controls.h"
#include "shared/ui/gdi.h"
#include "shared/ui/window.h"

namespace {

using namespace vur::scanner;

// The scanner window's layout, so the status line measures and shortens exactly as there.
constexpr int kClientWidth = 553, kClientHeight = 411;

std::int64_t Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

double Frequency() {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return static_cast<double>(f.QuadPart);
}

// Time and call count of one kind of call.
struct Share {
    std::int64_t ticks = 0;
    std::int64_t calls = 0;
    void Add(std::int64_t from, std::int64_t to) {
        ticks += to - from;
        ++calls;
    }
};

// The real directory search, each FindFirstFileA and FindNextFileA timed.
class TimedSearch : public DirectorySearch {
public:
    TimedSearch(std::unique_ptr<DirectorySearch> inner, Share& next) : inner_(std::move(inner)), next_(next) {}
    bool Next(DirectoryEntry& entry) override {
        const std::int64_t from = Now();
        const bool found = inner_->Next(entry);
        next_.Add(from, Now());
        return found;
    }

private:
    std::unique_ptr<DirectorySearch> inner_;
    Share& next_;
};

class TimedFileSystem : public ScanFileSystem {
public:
    explicit TimedFileSystem(ScanFileSystem& inner) : inner_(inner) {}
    std::unique_ptr<DirectorySearch> Search(const std::string& pattern) override {
        const std::int64_t from = Now();
        std::unique_ptr<DirectorySearch> search = inner_.Search(pattern);
        first.Add(from, Now());
        if (!search) return nullptr;
        return std::make_unique<TimedSearch>(std::move(search), next);
    }
    std::string LogicalDriveStrings(unsigned capacity) override { return inner_.LogicalDriveStrings(capacity); }
    bool DirectoryExists(const std::string& path) override { return inner_.DirectoryExists(path); }
    std::string ShortPath(const std::string& path) override { return inner_.ShortPath(path); }
    std::string LongPath(const std::string& path) override { return inner_.LongPath(path); }
    unsigned SilenceCriticalErrors() override { return inner_.SilenceCriticalErrors(); }
    void RestoreErrorMode(unsigned mode) override { inner_.RestoreErrorMode(mode); }

    Share first; // FindFirstFileA
    Share next;  // FindNextFileA

private:
    ScanFileSystem& inner_;
};

// The scanner window's host with the report replaced by counters: the status line is a real label measured
// in its own font, messages are processed for real, the engines are the imported ones.
class BenchHost : public ScanHost {
public:
    BenchHost(std::string folder, bool heuristic, bool show) : folder_(std::move(folder)), heuristic_(heuristic) {
        form_.CreateForm("VUR 3.5 Scannermodul", kClientWidth, kClientHeight);
        status_.Create(form_, "", 8, 391, 425, 13, false);
        if (show) {
            ShowWindow(form_.hwnd(), SW_SHOWNORMAL);
            UpdateWindow(form_.hwnd());
        }
    }

    void AddReportLine(const std::string& text, Colour colour) override {
        ++reportLines;
        if (colour == kRed) ++redLines;
        if (colour == kDarkYellow) ++yellowLines;
    }

    void SetStatus(const std::string& folder) override {
        const std::int64_t from = Now();
        const std::string text = StatusLineText(status_.hwnd(), folder, &widthCalls);
        const std::int64_t measured = Now();
        status_.SetText(text);
        const std::int64_t to = Now();
        statusMeasure.Add(from, measured);
        statusText.Add(measured, to);
    }

    void ClearStatus() override { status_.SetText(""); }

    bool Ask(const std::string& text) override {
        ++questions; // report-only runs never ask; a count above 0 says the run did not take the options
        return false;
    }

    void ProcessMessages() override {
        const std::int64_t from = Now();
        vur::ui::ProcessMessages();
        messages.Add(from, Now());
    }

    void SetRunning(bool running) override {}
    bool MayContinue() override { return true; }
    ScanOptions Options() override { return ScanOptions{false, true, false, heuristic_}; }
    bool HasSelectedFolder() override { return true; }
    std::string SelectedFolderPath() override { return folder_; }

    std::string ScanDialers(const std::string& path, std::uint32_t& readError) override {
        const std::int64_t from = Now();
        std::string result = ScanDialersChecked(path, readError);
        const std::int64_t scanned = Now();
        // The walk has only the names: the size is asked for here, timed on its own and left out of the run.
        WIN32_FILE_ATTRIBUTE_DATA data;
        if (GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data))
            bytes += (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
        const std::int64_t to = Now();
        signatureEngine.Add(from, scanned);
        sizes.Add(scanned, to);
        return result;
    }

    std::string CheckHeuristically(const std::string& path) override {
        const std::int64_t from = Now();
        std::string result = vur::CallEngine(&::CheckHeuristically, path);
        heuristicEngine.Add(from, Now());
        return result;
    }

    bool IsolateFile(const std::string& path, const std::string& reason) override {
        ++isolations;
        return false;
    }
    std::string ProgramFolder() override { return vur::ModuleFolder(nullptr); }
    ScanFileSystem& FileSystem() override { return fileSystem; }

    HWND StatusLabel() const { return status_.hwnd(); }

    TimedFileSystem fileSystem{SystemFileSystem()};
    Share signatureEngine, heuristicEngine, sizes, statusMeasure, statusText, messages;
    long long widthCalls = 0;
    std::uint64_t bytes = 0;
    int reportLines = 0, redLines = 0, yellowLines = 0, questions = 0, isolations = 0;

    // One measurement with a DC of its own, to compare with the kept DC the status line uses.
    static int TextWidth(HWND window, const std::string& text) {
        vur::ui::WindowDC dc(window, reinterpret_cast<HGDIOBJ>(SendMessageA(window, WM_GETFONT, 0, 0)));
        SIZE size{};
        GetTextExtentPoint32A(dc.dc(), text.c_str(), static_cast<int>(text.size()), &size);
        return size.cx;
    }

private:
    std::string folder_;
    bool heuristic_;
    vur::ui::Window form_;
    vur::ui::Label status_;
};

const char* PriorityName(DWORD priority) {
    switch (priority) {
    case 0x40: return "IDLE_PRIORITY_CLASS";
    case 0x4000: return "BELOW_NORMAL_PRIORITY_CLASS";
    case 0x20: return "NORMAL_PRIORITY_CLASS";
    case 0x8000: return "ABOVE_NORMAL_PRIORITY_CLASS";
    case 0x80: return "HIGH_PRIORITY_CLASS";
    case 0x100: return "REALTIME_PRIORITY_CLASS";
    default: return "unknown";
    }
}

// What a pair of timer reads costs: every timed call pays it once inside its own figure.
double TimerPairSeconds(double frequency) {
    const int rounds = 100000;
    const std::int64_t from = Now();
    for (int i = 0; i < rounds; ++i) Now();
    return static_cast<double>(Now() - from) / frequency / rounds * 2;
}

// The status line's and the message check's parts one by one, after the run: what a change in the scanner
// would save per call.
void PrintProbes(HWND label, double frequency) {
    const int rounds = 1000;
    const std::string text = "Scanne C:\\...\\system32\\drivers\\ ...";
    const auto perCall = [&](const auto& call) {
        const std::int64_t from = Now();
        for (int i = 0; i < rounds; ++i) call();
        return static_cast<double>(Now() - from) / frequency / rounds * 1e6;
    };
    const double ownDc = perCall([&] { BenchHost::TextWidth(label, text); });
    double keptDc;
    {
        vur::ui::WindowDC dc(label, reinterpret_cast<HGDIOBJ>(SendMessageA(label, WM_GETFONT, 0, 0)));
        SIZE size;
        keptDc = perCall([&] { GetTextExtentPoint32A(dc.dc(), text.c_str(), static_cast<int>(text.size()), &size); });
    }
    int flip = 0;
    const double setText = perCall([&] { SetWindowTextA(label, (flip++ & 1) ? text.c_str() : "Scanne ..."); });
    const double messages = perCall([] { vur::ui::ProcessMessages(); });
    const double queueStatus = perCall([] { GetQueueStatus(QS_ALLINPUT); });
    const double tick = perCall([] { GetTickCount(); });
    std::printf("probes, us a call: text width with a DC of its own (GetDC, font, GetTextExtentPoint32A, "
                "ReleaseDC) %.2f, GetTextExtentPoint32A on a kept DC as the status line measures %.2f, SetWindowTextA %.2f, ProcessMessages "
                "with nothing queued %.2f, GetQueueStatus %.2f, GetTickCount %.3f\n",
                ownDc, keptDc, setText, messages, queueStatus, tick);
}

} // namespace

int Bench(int argc, char** argv) {
    std::string folder;
    bool heuristic = false, idle = false, show = false, usable = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--heuristic") == 0) heuristic = true;
        else if (std::strcmp(argv[i], "--idle") == 0) idle = true;
        else if (std::strcmp(argv[i], "--show") == 0) show = true;
        else if (folder.empty() && argv[i][0] != '-') folder = argv[i];
        else usable = false;
    }
    const DWORD attributes = folder.empty() ? INVALID_FILE_ATTRIBUTES : GetFileAttributesA(folder.c_str());
    if (!usable || attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        std::fprintf(stderr, "usage: scan_bench <folder> [--heuristic] [--idle] [--show]\n");
        return 2;
    }
    if (idle) SetPriorityClass(GetCurrentProcess(), IDLE_PRIORITY_CLASS);

    vur::ui::InitApplication("scan_bench");
    const std::string programFolder = vur::ModuleFolder(nullptr);
    const int signatures = vur::LoadSignatures(
        programFolder, [](const std::string& file) { return ::InitDialersDatabase(file.c_str()); }, vur::FindEntries);
    if (signatures == 0) {
        // Without signatures the signature engine returns before it opens the file: the figures would lie.
        std::fprintf(stderr, "no signatures in %ssignaturen\\*.dat: run from a copy of the dist folder\n",
                     programFolder.c_str());
        return 2;
    }

    BenchHost host(folder, heuristic, show);
    ScanRun run(host);
    const double frequency = Frequency();
    const std::int64_t from = Now();
    run.Start();
    const std::int64_t to = Now();

    const auto seconds = [frequency](std::int64_t ticks) { return static_cast<double>(ticks) / frequency; };
    const auto ms = [&](const Share& s) { return seconds(s.ticks) * 1000; };
    const auto us = [&](const Share& s) { return s.calls ? seconds(s.ticks) * 1e6 / s.calls : 0.0; };
    // The size queries are the bench's own addition: the run's time is the wall time without them.
    const double runSeconds = seconds(to - from - host.sizes.ticks);
    const double engineSeconds = seconds(host.signatureEngine.ticks + host.heuristicEngine.ticks);
    const double outsideSeconds = runSeconds - engineSeconds;
    const double mb = static_cast<double>(host.bytes) / (1024.0 * 1024.0);
    const int files = run.Counts().files;
    const char* priority = PriorityName(GetPriorityClass(GetCurrentProcess()));

    std::printf("folder %s, %d signatures, heuristic %s, window %s, priority %s\n", folder.c_str(), signatures,
                heuristic ? "on" : "off", show ? "shown" : "hidden", priority);
    std::printf("files %d, %.1f MB, %.3f s, %.0f files/s, %.1f MB/s\n", files, mb, runSeconds, files / runSeconds,
                mb / runSeconds);
    std::printf("engines          %8.3f s %6.2f %%  (ScanDialers %lld calls %.1f us each, CheckHeuristically %lld "
                "calls %.1f us each)\n",
                engineSeconds, 100 * engineSeconds / runSeconds, static_cast<long long>(host.signatureEngine.calls),
                us(host.signatureEngine), static_cast<long long>(host.heuristicEngine.calls), us(host.heuristicEngine));
    std::printf("outside engines  %8.3f s %6.2f %%  (target: at most 10 %%)\n", outsideSeconds,
                100 * outsideSeconds / runSeconds);
    const Share& first = host.fileSystem.first;
    const Share& next = host.fileSystem.next;
    const double walkMs = ms(first) + ms(next);
    const double statusMs = ms(host.statusMeasure) + ms(host.statusText);
    std::printf("  directory search %9.2f ms  (FindFirstFileA %lld calls %.1f us each, FindNextFileA %lld calls "
                "%.1f us each)\n",
                walkMs, static_cast<long long>(first.calls), us(first), static_cast<long long>(next.calls), us(next));
    std::printf("  status line      %9.2f ms  (%lld folders, %.1f us each: %lld width measurements %.2f ms, "
                "SetWindowText %.2f ms)\n",
                statusMs, static_cast<long long>(host.statusText.calls),
                host.statusText.calls ? statusMs * 1000 / host.statusText.calls : 0.0,
                static_cast<long long>(host.widthCalls), ms(host.statusMeasure), ms(host.statusText));
    std::printf("  ProcessMessages  %9.2f ms  (%lld calls, %.1f us each)\n", ms(host.messages),
                static_cast<long long>(host.messages.calls), us(host.messages));
    const double restMs = outsideSeconds * 1000 - walkMs - statusMs - ms(host.messages);
    std::printf("  rest             %9.2f ms  (the run's own logic, paths, report counting, timer reads)\n", restMs);
    const long long timedCalls = host.signatureEngine.calls + host.heuristicEngine.calls + host.sizes.calls +
                                 first.calls + next.calls + host.statusText.calls + host.messages.calls;
    const double timerPair = TimerPairSeconds(frequency);
    std::printf("timer reads: %.3f us a pair, %lld timed calls: at most %.2f ms of the figures\n", timerPair * 1e6,
                timedCalls, timerPair * 1000 * timedCalls);
    PrintProbes(host.StatusLabel(), frequency);
    std::printf("left out: file sizes by GetFileAttributesExA, %lld calls %.2f ms\n",
                static_cast<long long>(host.sizes.calls), ms(host.sizes));
    std::printf("report lines %d (dialers %d, suspicious %d), questions %d, isolations %d\n", host.reportLines,
                host.redLines, host.yellowLines, host.questions, host.isolations);
    // One line for scripts.
    std::printf("figures files=%d bytes=%llu seconds=%.6f engine_seconds=%.6f outside_seconds=%.6f "
                "walk_seconds=%.6f status_seconds=%.6f messages_seconds=%.6f folders=%lld priority=%s\n",
                files, static_cast<unsigned long long>(host.bytes), runSeconds, engineSeconds, outsideSeconds,
                walkMs / 1000, statusMs / 1000, ms(host.messages) / 1000,
                static_cast<long long>(host.statusText.calls), priority);
    std::fflush(stdout);
    return 0;
}

int main(int argc, char** argv) {
    try {
        return Bench(argc, argv);
    } catch (const std::exception& e) {
        // The window needs a display; under Wine without one, creating it fails.
        std::fprintf(stderr, "scan_bench: %s\n", e.what());
        return 1;
    }
}
