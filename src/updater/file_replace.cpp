// Replacing installed files and scheduling the replacement of files in use.
#include "updater/file_replace.h"

#include "shared/text_case.h"
#include "shared/text_lines.h"

namespace vur::updater {

namespace {

bool IsBlank(const std::string& line) { return line.find_first_not_of(" \t") == std::string::npos; }

// The old file while the new one moves in on the 9x family, where a file cannot be replaced in one step.
std::string AsidePath(const std::string& target) { return target + "update.old"; }

Replaced Scheduled(ReplaceSystem& system, const std::string& temporary, const std::string& target) {
    return ScheduleReplace(system, temporary, target) ? Replaced::AtRestart : Replaced::NotScheduled;
}

} // namespace

Replaced ReplaceInstalledFile(ReplaceSystem& system, const std::string& temporary, const std::string& target) {
    if (system.IsNT()) {
        // Most targets take the new file at once; only one that refused it (read-only, or in use) gets its
        // attributes cleared and one more try, which spares every other file a call on a name that may not
        // even exist yet.
        if (system.MoveReplacing(temporary, target)) return Replaced::Now;
        system.MakeArchiveOnly(target);
        if (system.MoveReplacing(temporary, target)) return Replaced::Now;
        return Scheduled(system, temporary, target);
    }
    system.MakeArchiveOnly(target);
    if (!system.Exists(target)) {
        if (system.Move(temporary, target)) return Replaced::Now;
        return Scheduled(system, temporary, target);
    }
    const std::string aside = AsidePath(target);
    system.Delete(aside); // left by a run that was cut off
    if (!system.Move(target, aside)) return Scheduled(system, temporary, target); // in use
    if (system.Move(temporary, target)) {
        system.Delete(aside);
        return Replaced::Now;
    }
    system.Move(aside, target); // the installed file back in its place
    return Scheduled(system, temporary, target);
}

bool ScheduleReplace(ReplaceSystem& system, const std::string& source, const std::string& target) {
    if (system.IsNT()) return system.MoveAtRestart(source, target);
    const std::string entry = system.ShortUpperPath(target) + "=" + system.ShortUpperPath(source);
    std::string bytes;
    bool exists = false;
    if (!system.ReadWininit(bytes, exists) && exists) return false;
    const std::vector<std::string> lines =
        exists ? WithRenameEntry(SplitLines(bytes), entry) : std::vector<std::string>{"[rename]", entry};
    return system.WriteWininit(JoinLines(lines));
}

std::vector<std::string> WithRenameEntry(std::vector<std::string> lines, const std::string& entry) {
    std::size_t section = 0;
    while (section < lines.size() && LowerCp1252(lines[section]) != "[rename]") ++section;
    if (section == lines.size()) {
        lines.push_back("[rename]");
        lines.push_back(entry);
        return lines;
    }
    std::size_t next = section + 1;
    while (next < lines.size() &&
           !(lines[next].find('[') != std::string::npos && lines[next].find(']') != std::string::npos))
        ++next;
    if (next == lines.size()) {
        lines.push_back(entry);
        return lines;
    }
    std::size_t last = next - 1; // back over the empty lines before the next section
    while (last > section && IsBlank(lines[last])) --last;
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(last + 1), entry);
    return lines;
}

} // namespace vur::updater
