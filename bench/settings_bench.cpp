// settings_bench: what the monitor pays per decision (one look-up in the allow list) and what the
// configurator pays to list it (ReadSection and ReadString per key, and ReadSectionEntries as the configurator
// does it), with 1,000 and 10,000 entries. Built natively and for Windows, to run under Wine.
#include "shared/securityunit.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

std::string PathOf(int i) {
    return "c:\\programme\\hersteller " + std::to_string(i) + "\\anwendung " + std::to_string(i) + ".exe";
}

void Run(const std::string& folder, int entries) {
    const std::string file = folder + "/vur.conf";
    std::remove(file.c_str());
    vur::TSECURITYINI config(file, "Max Mustermann", "12345-oem-0000001-54321");
    auto start = Clock::now();
    {
        vur::IniUpdate save(config);
        for (int i = 0; i < entries; ++i) config.WriteString("Anwendungen", PathOf(i), PathOf(i) + "|" + PathOf(i) + "|0A1B2C3D");
        save.Commit();
    }
    const double saveMs = MillisecondsSince(start);

    // The monitor: its own object, reading what the configurator saved.
    vur::TSECURITYINI watch(file, "Max Mustermann", "12345-oem-0000001-54321");
    start = Clock::now();
    watch.ReadString("Anwendungen", PathOf(entries / 2), "");
    const double firstMs = MillisecondsSince(start);
    const int lookups = 2000;
    start = Clock::now();
    std::size_t found = 0;
    for (int i = 0; i < lookups; ++i) found += !watch.ReadString("Anwendungen", PathOf((i * 7919) % entries), "").empty();
    const double lookupMs = MillisecondsSince(start) / lookups;

    start = Clock::now();
    config.WriteString("Anwendungen", "c:\\neu.exe", "c:\\neu.exe|c:\\neu.exe|FFFFFFFF");
    const double writeMs = MillisecondsSince(start);
    start = Clock::now();
    watch.ReadString("Anwendungen", PathOf(0), "");
    const double afterChangeMs = MillisecondsSince(start);

    vur::TSECURITYINI lister(file, "Max Mustermann", "12345-oem-0000001-54321");
    start = Clock::now();
    std::vector<std::string> keys;
    lister.ReadSection("Anwendungen", keys);
    std::size_t listed = 0;
    for (const auto& key : keys) listed += !lister.ReadString("Anwendungen", key, "").empty();
    const double loadMs = MillisecondsSince(start);

    // The configurator's way: the stored lines unsealed, without sealing each name again to look it up.
    vur::TSECURITYINI editor(file, "Max Mustermann", "12345-oem-0000001-54321");
    start = Clock::now();
    vur::TCustomIniFile::Entries lines;
    editor.ReadSectionEntries("Anwendungen", lines);
    const double entriesMs = MillisecondsSince(start);

    std::printf("%6d entries (file %ld KiB): save all %.1f ms, first read %.2f ms, look-up %.4f ms (%zu/%d found),\n"
                "               one write %.2f ms, read after that write %.2f ms, full load %.1f ms (%zu listed),\n"
                "               full load by section entries %.1f ms (%zu listed)\n",
                entries, static_cast<long>(std::filesystem::file_size(file) / 1024), saveMs, firstMs, lookupMs,
                found, lookups, writeMs, afterChangeMs, loadMs, listed, entriesMs, lines.size());
}

} // namespace

int main() {
    try {
        const auto folder = std::filesystem::temp_directory_path() / "vur-settings-bench";
        std::filesystem::create_directories(folder);
        for (int entries : {1000, 10000}) Run(folder.string(), entries);
        std::printf("targets: look-up with 1,000 entries at most 1 ms; with 10,000 entries a full load at most 300 ms "
                    "and one write at most 20 ms\n");
        std::filesystem::remove_all(folder);
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "settings_bench: %s\n", e.what());
        return 1;
    }
}
