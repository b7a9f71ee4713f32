// enginescan: the engines' logic on the build machine, over whole folder trees. Prints every file a
// signature or (with --heuristics) the heuristics report, then one summary line; exit code 1 when anything
// was reported. Used to check the program folder and a Windows folder for false alarms, and to time the
// engines beside other scanners.
//   enginescan [--heuristics] [--signatures FILE.dat]... [--signature-folder DIR]... [--times FILE] PATH...
// --signature-folder loads every DIR/*.dat, as the monitor and the scanner load "signaturen\*.dat"; a folder
// without one is an error. --times writes one line per file checked: seconds, bytes and path, tab-separated,
// so that a benchmark can name the slowest file.
#include "engines/heuristic_verdict.h"
#include "engines/signature_database.h"
#include "shared/file_reader.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

struct Totals {
    std::uint64_t files = 0, bytes = 0, reported = 0;
    std::FILE* times = nullptr;
};

void Check(const std::string& path, const vur::engines::SignatureDatabase& database, bool heuristics,
           Totals& totals) {
    ++totals.files;
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (!error) totals.bytes += size;
    const auto start = std::chrono::steady_clock::now();
    std::string result = database.Scan(path);
    const char* kind = "Gefunden";
    if (result.empty() && heuristics) {
        result = vur::engines::CheckFileHeuristically(path);
        kind = "Verdächtig";
        if (result == "OK") result.clear();
    }
    if (totals.times)
        std::fprintf(totals.times, "%.6f\t%llu\t%s\n",
                     std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
                     static_cast<unsigned long long>(error ? 0 : size), path.c_str());
    if (result.empty()) return;
    ++totals.reported;
    std::printf("%s\t%s: %s\n", path.c_str(), kind, result.c_str());
}

bool Load(const std::string& path, vur::engines::SignatureDatabase& database, std::size_t& malformed) {
    std::string content;
    if (!vur::ReadWholeFile(path, content)) {
        std::fprintf(stderr, "enginescan: cannot read %s\n", path.c_str());
        return false;
    }
    const auto file = vur::engines::ParseSignatureFile(content);
    malformed += file.malformedLines.size();
    for (int line : file.malformedLines) std::fprintf(stderr, "%s:%d: malformed signature\n", path.c_str(), line);
    database.Add(file);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    vur::engines::SignatureDatabase database;
    bool heuristics = false;
    std::vector<std::string> paths;
    std::size_t malformed = 0;
    Totals totals;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--heuristics") == 0) {
            heuristics = true;
        } else if (std::strcmp(argv[i], "--times") == 0 && i + 1 < argc) {
            if (totals.times) std::fclose(totals.times);
            totals.times = std::fopen(argv[++i], "w");
            if (!totals.times) {
                std::fprintf(stderr, "enginescan: cannot write %s\n", argv[i]);
                return 2;
            }
        } else if (std::strcmp(argv[i], "--signatures") == 0 && i + 1 < argc) {
            if (!Load(argv[++i], database, malformed)) return 2;
        } else if (std::strcmp(argv[i], "--signature-folder") == 0 && i + 1 < argc) {
            std::error_code error;
            int files = 0;
            for (const auto& entry : std::filesystem::directory_iterator(argv[++i], error)) {
                if (entry.path().extension() != ".dat") continue;
                if (!Load(entry.path().string(), database, malformed)) return 2;
                ++files;
            }
            if (files == 0) {
                std::fprintf(stderr, "enginescan: no signature file in %s\n", argv[i]);
                return 2;
            }
        } else {
            paths.push_back(argv[i]);
        }
    }
    if (paths.empty()) {
        std::fprintf(stderr, "usage: enginescan [--heuristics] [--signatures FILE.dat]... [--signature-folder DIR]... "
                             "[--times FILE] PATH...\n");
        return 2;
    }
    const auto start = std::chrono::steady_clock::now();
    for (const std::string& path : paths) {
        std::error_code error;
        if (std::filesystem::is_regular_file(path, error)) {
            Check(path, database, heuristics, totals);
            continue;
        }
        for (auto it = std::filesystem::recursive_directory_iterator(
                 path, std::filesystem::directory_options::skip_permission_denied, error);
             !error && it != std::filesystem::recursive_directory_iterator(); it.increment(error))
            if (it->is_regular_file(error) && !it->is_symlink(error)) Check(it->path().string(), database, heuristics, totals);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%zu signatures (%zu malformed lines), %llu files, %.1f MB, %llu reported, %.2f s, %.0f MB/s\n",
                database.Count(), malformed, static_cast<unsigned long long>(totals.files), totals.bytes / 1e6,
                static_cast<unsigned long long>(totals.reported), seconds, seconds > 0 ? totals.bytes / 1e6 / seconds : 0.0);
    if (totals.times && std::fclose(totals.times) != 0) return 2;
    return totals.reported ? 1 : 0;
}
