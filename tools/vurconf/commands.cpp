// vurconf: seal and unseal single values, read and change settings files, and print file checksums, for
// support staff checking files by hand.
#include "commands.h"

#include "console_text.h"
#include "shared/crc.h"
#include "shared/errors.h"
#include "shared/hex_text.h"
#include "shared/program_settings.h"
#include "shared/sealing.h"
#include "key_files.h"
#include "monitor_stop.h"
#include "publish_clock.h"
#include "random_seed.h"
#include "update_key.h"
#include "update_list_writer.h"
#include "updater/update_manifest.h"

#include <algorithm>
#include <cctype>
#include <memory>

namespace vurconf {

namespace {

const char kUsage[] =
    "usage: vurconf seal [--hex] PHRASE TEXT\n"
    "       vurconf unseal [--hex] PHRASE TOKEN\n"
    "       vurconf crc FILE...\n"
    "       vurconf dump [--owner O --product P] FILE\n"
    "       vurconf get [--owner O --product P] FILE SECTION KEY\n"
    "       vurconf set [--owner O --product P] FILE SECTION KEY VALUE\n"
    "       vurconf updates DIST BASE-URL --key PRIVATE-KEY-FILE [--serial N]\n"
    "       vurconf keygen PRIVATE-KEY-FILE PUBLIC-KEY-FILE\n"
    "       vurconf check-key PUBLIC-KEY-FILE\n"
    "       vurconf stop-monitor [--list] FOLDER\n"
    "       vurconf version\n";

struct UsageError {
    std::string message;
};

std::string FromHex(const std::string& hex) {
    if (hex.size() % 2 != 0) throw UsageError{"hex text needs an even number of digits: " + hex};
    std::string bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        const int hi = vur::HexDigitValue(hex[i]), lo = vur::HexDigitValue(hex[i + 1]);
        if (hi < 0 || lo < 0) throw UsageError{"not a hex digit in: " + hex};
        bytes += static_cast<char>(hi * 16 + lo);
    }
    return bytes;
}

std::string ArgumentBytes(const std::string& argument, bool hex) {
    if (hex) return FromHex(argument);
    std::string cp1252;
    if (!ArgumentToCp1252(argument, cp1252))
        throw UsageError{"argument is not text that CP1252 can hold: " + argument};
    return cp1252;
}

// Splits off a leading --hex; what remains must be exactly `count` operands.
std::vector<std::string> Operands(std::vector<std::string> args, std::size_t count, bool* hex) {
    *hex = !args.empty() && args.front() == "--hex";
    if (*hex) args.erase(args.begin());
    if (args.size() != count) throw UsageError{""};
    return args;
}

int Seal(const std::vector<std::string>& args, TextOut& out) {
    bool hex;
    const auto ops = Operands(args, 2, &hex);
    out << vur::SealString(ArgumentBytes(ops[0], hex), ArgumentBytes(ops[1], hex)) << '\n';
    return 0;
}

int Unseal(const std::vector<std::string>& args, TextOut& out) {
    bool hex;
    const auto ops = Operands(args, 2, &hex);
    const std::string text = vur::UnsealString(ArgumentBytes(ops[0], hex), ops[1]);
    out << (hex ? vur::LowerHex(text.data(), text.size()) : Cp1252ToConsole(text)) << '\n';
    return 0;
}

int Crc(const std::vector<std::string>& args, TextOut& out) {
    if (args.empty()) throw UsageError{""};
    for (const auto& name : args) {
        std::string path;
        if (!ArgumentToCp1252(name, path)) throw UsageError{"file name is not text that CP1252 can hold: " + name};
        out << vur::CrcText(vur::FileCRC32(path)) << "  " << Cp1252ToConsole(path) << '\n';
    }
    return 0;
}

// Without --owner and --product the file is opened with this installation's pass phrases.
std::unique_ptr<vur::TSECURITYINI> OpenSettings(std::vector<std::string>& args) {
    vur::PassPhrases phrases;
    bool owner = false, product = false;
    while (args.size() >= 2 && (args[0] == "--owner" || args[0] == "--product")) {
        (args[0] == "--owner" ? owner : product) = true;
        (args[0] == "--owner" ? phrases.nameKey : phrases.valueKey) = ArgumentBytes(args[1], false);
        args.erase(args.begin(), args.begin() + 2);
    }
    if (owner != product) throw UsageError{"--owner and --product go together"};
    if (!owner) phrases = vur::InstallationPassPhrases();
    if (args.empty()) throw UsageError{""};
    auto ini = std::make_unique<vur::TSECURITYINI>(ArgumentBytes(args[0], false), phrases.nameKey, phrases.valueKey);
    args.erase(args.begin());
    return ini;
}

int Dump(std::vector<std::string> args, TextOut& out) {
    auto ini = OpenSettings(args);
    if (!args.empty()) throw UsageError{""};
    std::vector<std::string> sections, shown, keys;
    ini->ReadSections(sections);
    for (const auto& section : sections) {
        // A hand-made second section of the same name is not reachable by name; it is shown once.
        if (std::find(shown.begin(), shown.end(), section) != shown.end()) continue;
        shown.push_back(section);
        out << "[" << Cp1252ToConsole(section) << "]\n";
        ini->ReadSection(section, keys);
        for (const auto& key : keys)
            out << Cp1252ToConsole(key) << "=" << Cp1252ToConsole(ini->ReadString(section, key, "")) << '\n';
    }
    return 0;
}

int Get(std::vector<std::string> args, TextOut& out) {
    auto ini = OpenSettings(args);
    if (args.size() != 2) throw UsageError{""};
    // "=" never stands alone as a stored token, so it tells a missing entry from an empty one.
    const std::string missing = "=";
    const std::string value = ini->ReadString(ArgumentBytes(args[0], false), ArgumentBytes(args[1], false), missing);
    if (value == missing) return 1;
    out << Cp1252ToConsole(value) << '\n';
    return 0;
}

int Set(std::vector<std::string> args) {
    auto ini = OpenSettings(args);
    if (args.size() != 3) throw UsageError{""};
    ini->WriteString(ArgumentBytes(args[0], false), ArgumentBytes(args[1], false), ArgumentBytes(args[2], false));
    return 0;
}

// The list's serial defaults to the time in seconds since 1970, so a later publication has the larger one.
int Updates(std::vector<std::string> args, TextOut& out) {
    std::string keyFile;
    std::uint64_t serial = SecondsSince1970();
    std::vector<std::string> operands;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "--key" || args[i] == "--serial") && i + 1 < args.size()) {
            if (args[i] == "--key") keyFile = args[i + 1];
            else if (!vur::updater::ParseSerial(args[i + 1], serial)) throw UsageError{"not a serial: " + args[i + 1]};
            ++i;
        } else {
            operands.push_back(args[i]);
        }
    }
    if (operands.size() != 2) throw UsageError{""};
    if (keyFile.empty()) throw UsageError{"updates needs --key: the updater takes only signed lists"};
    WriteUpdateList(operands[0], operands[1], ReadPrivateKey(keyFile), serial, out);
    return 0;
}

// Exit code 0 once no process holds the folder's watch.dll any more, 1 while one still does. With --list
// nothing is ended: the holders are only named (an uninstaller asks before it ends the monitor).
int StopMonitor(std::vector<std::string> args, TextOut& out) {
    const bool listOnly = !args.empty() && args.front() == "--list";
    if (listOnly) args.erase(args.begin());
    if (args.size() != 1) throw UsageError{""};
    std::string folder;
    if (!ArgumentToCp1252(args[0], folder)) throw UsageError{"argument is not text that CP1252 can hold: " + args[0]};
    if (folder.empty()) throw UsageError{"the folder is empty"};
    if (folder.back() != '\\') folder += '\\';
    StopResult result;
    if (listOnly) result.stillHolding = LibraryHolders(folder, SystemMonitorHosts());
    else result = StopMonitors(folder, SystemMonitorHosts());
    for (const HeldLibrary& host : result.ended)
        out << "ended: " << Cp1252ToConsole(host.program) << " (process " << host.processId << ")\n";
    for (const HeldLibrary& holder : result.stillHolding)
        out << "still loaded in: " << Cp1252ToConsole(holder.program) << " (process " << holder.processId << ")\n";
    return result.stillHolding.empty() ? 0 : 1;
}

int Version(TextOut& out) {
    out << "vurconf, VUR 3.5" << vur::updater::kTitleSuffix << "\nupdate key: " << vur::updater::kTrustedUpdateKeyHex
        << "\nminimum update serial: " << vur::updater::kMinimumUpdateSerial << '\n';
    if (vur::updater::kTrustedUpdateKeyIsTestKey)
        out << "built with the TEST update key (keys/test-update-key.pub): not for release\n";
    return 0;
}

} // namespace

int RunVurconf(const std::vector<std::string>& args, TextOut& out, TextOut& err) {
    if (args.empty()) {
        err << kUsage;
        return 2;
    }
    const std::string command = args.front();
    const std::vector<std::string> rest(args.begin() + 1, args.end());
    try {
        if (command == "seal") return Seal(rest, out);
        if (command == "unseal") return Unseal(rest, out);
        if (command == "crc") return Crc(rest, out);
        if (command == "dump") return Dump(rest, out);
        if (command == "get") return Get(rest, out);
        if (command == "set") return Set(rest);
        if (command == "updates") return Updates(rest, out);
        if (command == "keygen") {
            if (rest.size() != 2) throw UsageError{""};
            WriteKeyPair(rest[0], rest[1], RandomSeed());
            out << "key pair written: private " << rest[0] << ", public " << rest[1] << '\n';
            return 0;
        }
        if (command == "check-key") {
            if (rest.size() != 1) throw UsageError{""};
            CheckUpdateKey(rest[0], ReadPublicKey(rest[0]));
            out << rest[0] << ": a key updates can be signed for\n";
            return 0;
        }
        if (command == "stop-monitor") return StopMonitor(rest, out);
        if (command == "version") return Version(out);
        err << "vurconf: unknown command: " << command << '\n' << kUsage;
        return 2;
    } catch (const UsageError& e) {
        if (!e.message.empty()) err << "vurconf: " << e.message << '\n';
        err << kUsage;
        return 2;
    } catch (const std::exception& e) {
        err << e.what() << '\n';
        return 1;
    }
}

} // namespace vurconf
