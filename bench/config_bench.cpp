// config_bench: the configurator's LoadRules into its two list views and one SaveRules, with 10,000 allowed
// applications and 10,000 allowed numbers, in the Windows build. Prints the median of five runs of each.
//
// Build: cmake --build build/win64 --target config_bench (or build/win32)
// Run:   xvfb-run -a /usr/lib/wine/wine64 build/win64/bin/config_bench.exe   (wine for the 32-bit one)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "configurator/editor_seams_win32.h"
#include "configurator/rule_editor.h"
#include "shared/program_settings.h"
#include "shared/ui/application.h"
#include "shared/ui/controls.h"
#include "shared/ui/lists.h"
#include "shared/ui/window.h"

namespace {

constexpr int kEntries = 10000, kRuns = 5;

// The bench leaves the user's Run value alone.
class NoStartValue : public vur::configurator::StartValue {
public:
    void Write(const std::string&) override {}
    void Remove() override {}
};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

std::string PathOf(int i) {
    return "c:\\programme\\hersteller " + std::to_string(i) + "\\anwendung " + std::to_string(i) + ".exe";
}

} // namespace

int main() {
    using namespace vur;
    ui::InitApplication("config_bench");
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    const std::string folder = std::string(temp) + "vur_config_bench\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    DeleteFileA((folder + "vur.conf").c_str());
    auto settings = OpenProgramSettings(folder, PassPhrases{"Max Mustermann", "12345-OEM-0000001-54321"});
    {
        IniUpdate fill(*settings);
        for (int i = 0; i < kEntries; ++i) {
            settings->WriteString("Anwendungen", PathOf(i), "Programm " + std::to_string(i) + "|" + PathOf(i) + "|0A1B2C3D");
            const std::string number = "49 190 " + std::to_string(100000 + i);
            settings->WriteString("Verbindungen", number, "Nummer " + std::to_string(i) + "|" + number);
        }
        fill.Commit();
    }

    // The configurator's lists on a shown window, as the user sees them.
    ui::Window form;
    form.CreateForm("config_bench", 520, 470, true);
    ui::ListView numbers, applications;
    numbers.Create(form, 8, 8, 504, 200, true);
    numbers.AddColumn("Name", 150);
    numbers.AddColumn("Telefonnummer", 350);
    applications.Create(form, 8, 216, 504, 200, true);
    applications.AddColumn("Name", 150);
    applications.AddColumn("Anwendung", 280);
    applications.AddColumn("CRC32", 70);
    ui::DropDownList lists[5];
    for (int i = 0; i < 5; ++i) {
        lists[i].Create(form, 8 + i * 100, 424, 96, 21);
        for (int line = 0; line < 5; ++line) lists[i].AddLine("Zeile " + std::to_string(line));
    }
    ShowWindow(form.hwnd(), SW_SHOWNOACTIVATE);
    ui::ProcessMessages();

    configurator::ListViewRows numberRows(numbers, 1), applicationRows(applications, 2);
    configurator::DropDownChoice c0(lists[0]), c1(lists[1]), c2(lists[2]), c3(lists[3]), c4(lists[4]);
    NoStartValue startValue;
    configurator::RuleEditor editor(*settings, applicationRows, numberRows, {c0, c1, c2, c3, c4}, startValue, folder);

    // What the file alone costs: every key listed and every value read, without the lists.
    std::vector<double> reads;
    for (int run = 0; run < kRuns; ++run) {
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        std::size_t bytes = 0;
        for (const char* section : {"Anwendungen", "Verbindungen"}) {
            std::vector<std::string> keys;
            settings->ReadSection(section, keys);
            for (const std::string& key : keys) bytes += settings->ReadString(section, key, "").size();
        }
        QueryPerformanceCounter(&t1);
        reads.push_back(Milliseconds(t0, t1));
        if (bytes == 0) return 1;
    }

    std::vector<double> loads, saves;
    for (int run = 0; run < kRuns; ++run) {
        LARGE_INTEGER t0, t1, t2;
        QueryPerformanceCounter(&t0);
        editor.LoadRules();
        ui::ProcessMessages(); // the lists paint their rows
        QueryPerformanceCounter(&t1);
        // A rename, so that the save has something to store.
        applications.SetCell(run, 0, "Umbenannt " + std::to_string(run));
        editor.SaveRules();
        QueryPerformanceCounter(&t2);
        loads.push_back(Milliseconds(t0, t1));
        saves.push_back(Milliseconds(t1, t2));
        if (numbers.Count() != kEntries || applications.Count() != kEntries) {
            std::printf("config_bench: %d numbers and %d applications shown, expected %d each\n", numbers.Count(),
                        applications.Count(), kEntries);
            return 1;
        }
    }
    // The same save when another program (the monitor) has written meanwhile: the file is read and merged.
    auto monitor = OpenProgramSettings(folder, PassPhrases{"Max Mustermann", "12345-OEM-0000001-54321"});
    std::vector<double> merges;
    for (int run = 0; run < kRuns; ++run) {
        const std::string path = "c:\\neu\\dialer " + std::to_string(run) + ".exe";
        monitor->WriteString("Anwendungen", path, path + "|" + path + "|0BADF00D");
        LARGE_INTEGER t0, t1;
        QueryPerformanceCounter(&t0);
        editor.SaveRules();
        QueryPerformanceCounter(&t1);
        merges.push_back(Milliseconds(t0, t1));
    }
    if (applications.Count() != kEntries + kRuns) {
        std::printf("config_bench: the monitor's entries were not kept (%d rows)\n", applications.Count());
        return 1;
    }
    monitor.reset();

    std::printf("config_bench (%d-bit): %d applications + %d numbers, median of %d runs\n",
                static_cast<int>(sizeof(void*) * 8), kEntries, kEntries, kRuns);
    std::printf("  reading both sections alone:   %.0f ms\n", Median(reads));
    std::printf("  LoadRules into the list views: %.0f ms\n", Median(loads));
    std::printf("  SaveRules (one grouped write): %.0f ms\n", Median(saves));
    std::printf("  SaveRules after the monitor wrote an entry (read, merge, write): %.0f ms\n", Median(merges));
    settings.reset();
    DeleteFileA((folder + "vur.conf").c_str());
    RemoveDirectoryA(folder.c_str());
    return 0;
}
