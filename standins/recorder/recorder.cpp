// Recorder stand-in: notes that it was started by appending one line to started.log beside its own file.
//
// The line is the program's file name as it is on disk ("scanner.exe"), followed by a tab and the rest of
// the command line when there is one (a browser stand-in gets the page it was asked to open). Writers that
// start at the same moment take turns: the log is opened without sharing and the open is retried for up to
// five seconds. With VUR_RECORDER_STAY_MS set (at most 60000) the program stays that long before it ends,
// so tests can count running instances.
#include "shared/handles_win32.h"

#include <windows.h>

#include <cstdlib>
#include <string>

namespace {


// The command line after the program's own name, which may be quoted.
std::string Arguments() {
    const char* line = GetCommandLineA();
    if (*line == '"') {
        ++line;
        while (*line && *line != '"') ++line;
        if (*line) ++line;
    } else {
        while (*line && *line != ' ' && *line != '\t') ++line;
    }
    while (*line == ' ' || *line == '\t') ++line;
    return line;
}

void AppendLine(const std::string& log, const std::string& line) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        vur::ScopedFile file(CreateFileA(log.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (file) {
            SetFilePointer(file.Get(), 0, nullptr, FILE_END);
            DWORD written = 0;
            WriteFile(file.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            return;
        }
        Sleep(50);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    char path[MAX_PATH] = {};
    DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string self(path, length);
    std::string::size_type slash = self.find_last_of('\\');
    std::string folder = self.substr(0, slash + 1);
    std::string line = self.substr(slash + 1);
    std::string arguments = Arguments();
    if (!arguments.empty()) line += "\t" + arguments;
    AppendLine(folder + "started.log", line + "\r\n");

    if (const char* stay = std::getenv("VUR_RECORDER_STAY_MS")) {
        long ms = std::strtol(stay, nullptr, 10);
        if (ms > 0) Sleep(static_cast<DWORD>(ms > 60000 ? 60000 : ms));
    }
    return 0;
}
