// CheckApplications: records, the three checks in order, the allowed test and the reaction tables.
#include "monitor/application_watch.h"

#include "monitor/application_questions.h"
#include "shared/caught_error.h"
#include "shared/crc.h"
#include "shared/engine_api.h"
#include "shared/quarantine.h"
#include "shared/settings_schema.h"
#include "shared/text_case.h"

#include <functional>

namespace vur::monitor {

namespace q = questions;
namespace schema = vur::schema;

std::size_t ApplicationWatch::RecordHash::operator()(const RecordKey& k) const {
    return std::hash<std::string>()(k.imageName) ^ (static_cast<std::size_t>(k.id) * 0x9E3779B97F4A7C15ull);
}

ApplicationWatch::ApplicationWatch(ApplicationSystem& system, vur::TCustomIniFile& settings)
    : system_(system), settings_(settings),
      decisions_(settings, [this](const std::string& message) { system_.ReportError(message); }) {}

void ApplicationWatch::CheckApplications() {
    std::vector<ProcessEntry> processes;
    if (!system_.Processes(processes)) return;
    ++pass_;
    for (const ProcessEntry& process : processes) {
        // Id 0 is the idle process; a module snapshot for it would describe the monitor's own host.
        if (process.id == 0) continue;
        const RecordKey key{process.id, process.imageName};
        auto found = records_.find(key);
        if (found == records_.end())
            found = records_.emplace(key, Record{kRecheckCount, pass_}).first;
        else if (found->second.recheckCount == 0 || found->second.reacting) {
            found->second.lastSeen = pass_;
            continue;
        } else
            --found->second.recheckCount;
        found->second.lastSeen = pass_;

        // A question of this examination dispatches messages, and a check that runs meanwhile may add and
        // remove records: the record is looked up again afterwards, never kept across the examination.
        Outcome outcome = Outcome::Unsettled;
        try {
            outcome = Examine(process, key);
        } catch (...) {
            // One process's error (a settings write that failed) must not spare the others of this pass.
            system_.ReportError(vur::CaughtErrorMessage());
        }
        found = records_.find(key);
        if (found == records_.end()) continue;
        if (outcome == Outcome::Settled) found->second.recheckCount = 0;
        if (outcome == Outcome::Deferred) ++found->second.recheckCount; // waiting costs no examination
    }
    // Records of processes that have left the list go: memory stays bounded, and a new process that later
    // gets an old id and image name is examined instead of being taken for the old one.
    for (auto it = records_.begin(); it != records_.end();)
        it = it->second.lastSeen == pass_ || it->second.reacting ? std::next(it) : records_.erase(it);
}

void ApplicationWatch::SetReacting(const RecordKey& key, bool reacting) {
    const auto found = records_.find(key);
    if (found != records_.end()) found->second.reacting = reacting;
}

ApplicationWatch::Outcome ApplicationWatch::Examine(const ProcessEntry& process, const RecordKey& key) {
    // Held before its modules are read: the id cannot go to another program while the handle is open, so the
    // modules, the verdict and a termination all concern the same process.
    const std::unique_ptr<HeldProcess> held = system_.Hold(process.id);
    std::vector<ModuleEntry> modules;
    const bool modulesRead = system_.Modules(process.id, modules);
    std::string path;
    // Without a program path nothing can be checked; the examination still counts against the budget.
    if (!ProgramPath(process, modules, modulesRead, path)) return Outcome::Unsettled;

    Verdict verdict;
    std::string result;
    if (system_.CanScan() && (result = system_.ScanDialers(path)) != vur::kEngineClean)
        verdict = Verdict::KnownDialer;
    else if (system_.CanCheckHeuristically() && (result = system_.CheckHeuristically(path)) != vur::kEngineClean)
        verdict = Verdict::Suspicious;
    // The monitor's own host has a dialing library loaded on purpose.
    else if (process.id != system_.CurrentProcessId() && CanDial(modules))
        verdict = Verdict::NewApplication, result.clear();
    else
        return Outcome::Unsettled;
    if (IsAllowed(path)) return Outcome::Settled;

    struct Reacting {
        ApplicationWatch& watch;
        const RecordKey& key;
        ~Reacting() { watch.SetReacting(key, false); }
    } reacting{*this, key};
    SetReacting(key, true);
    return React(verdict, *held, path, result) ? Outcome::Settled : Outcome::Deferred;
}

bool ApplicationWatch::ProgramPath(const ProcessEntry& process, const std::vector<ModuleEntry>& modules,
                                   bool modulesRead, std::string& path) {
    const bool haveFirstModule = modulesRead && !modules.empty() && !modules.front().path.empty();
    std::string raw;
    if (system_.IsWindowsNT()) {
        if (!haveFirstModule) return false;
        raw = modules.front().path;
    } else {
        // The 9x process list gives the full path; a bare file name (as some systems report) is useless to the
        // engines, so the first module's path stands in for it.
        raw = process.imageName;
        if (raw.find('\\') == std::string::npos && haveFirstModule) raw = modules.front().path;
    }
    if (raw.empty()) return false;
    path = vur::LowerCp1252(system_.ExpandLongPath(vur::LowerCp1252(raw)));
    return true;
}

bool ApplicationWatch::CanDial(const std::vector<ModuleEntry>& modules) const {
    for (const ModuleEntry& module : modules) {
        const std::string name = vur::LowerCp1252(module.name);
        if (name == "capi20.dll" || name == "rasapi32.dll" || name == "tapi32.dll") return true;
    }
    return false;
}

bool ApplicationWatch::IsAllowed(const std::string& path) {
    return decisions_.IsApplicationAllowed(path, vur::CrcText(system_.FileChecksum(path)));
}

void ApplicationWatch::Allow(const std::string& path) {
    // The monitor names an allowed program by its path.
    settings_.WriteString(schema::kApplications, path,
                          schema::ApplicationValue(schema::StorableName(path), path,
                                                   vur::CrcText(system_.FileChecksum(path))));
}

bool ApplicationWatch::Asked(const std::string& text, const char* caption) {
    return system_.Ask(text, caption, q::kQuestionFlags) == q::kAnswerYes;
}

bool ApplicationWatch::React(Verdict verdict, HeldProcess& process, const std::string& path,
                             const std::string& analysis) {
    // The three tables share one shape: ask first (0), terminate first (1), terminate only (2); known
    // dialers alone may be isolated without a question (3). New applications have no isolation question.
    std::string first, second, third;
    const char *firstCaption, *secondCaption, *thirdCaption = nullptr;
    std::string reason;
    int setting;
    switch (verdict) {
    case Verdict::KnownDialer:
        setting = decisions_.Reaction(schema::kInfectedApplication);
        first = q::AllowDialerQuestion(path), firstCaption = q::kAllowDialerCaption;
        second = q::kTerminateDialerQuestion, secondCaption = q::kTerminateDialerCaption;
        third = q::kIsolateDialerQuestion, thirdCaption = q::kIsolateDialerCaption;
        reason = vur::kReasonDialer;
        break;
    case Verdict::Suspicious:
        setting = decisions_.Reaction(schema::kSuspiciousApplication);
        first = q::AllowSuspectQuestion(path, analysis), firstCaption = q::kAllowSuspectCaption;
        second = q::kTerminateSuspectQuestion, secondCaption = q::kTerminateSuspectCaption;
        third = q::kIsolateSuspectQuestion, thirdCaption = q::kIsolateSuspectCaption;
        reason = vur::kReasonSuspiciousPrefix + analysis;
        break;
    default:
        setting = decisions_.Reaction(schema::kNewApplication);
        first = q::AllowNewProgramQuestion(path), firstCaption = q::kAllowNewProgramCaption;
        second = q::kTerminateNewProgramQuestion, secondCaption = q::kTerminateNewProgramCaption;
        break;
    }
    const bool canIsolate = thirdCaption != nullptr;
    // A failed isolation is told to the user and must not keep the other processes from being examined.
    const auto isolate = [&] {
        try {
            system_.Isolate(path, reason);
        } catch (...) {
            system_.ReportError(vur::CaughtErrorMessage());
        }
    };

    switch (setting) {
    case schema::kAppReportOnly:
        // The program runs on while it is asked about, so it waits until a question can be opened.
        if (!system_.CanAsk()) return false;
        if (Asked(first, firstCaption)) {
            Allow(path);
        } else if (Asked(second, secondCaption)) {
            system_.Terminate(process);
            if (canIsolate && Asked(third, thirdCaption)) isolate();
        }
        break;
    case schema::kAppReportAndTerminate:
        // Ended at once; with too many questions open, the one about allowing it is left out.
        system_.Terminate(process);
        if (!system_.CanAsk()) break;
        if (Asked(first, firstCaption))
            Allow(path);
        else if (canIsolate && Asked(third, thirdCaption))
            isolate();
        break;
    case schema::kAppTerminateAtOnce:
        system_.Terminate(process);
        break;
    case schema::kInfectedQuarantineAtOnce:
        if (verdict == Verdict::KnownDialer) {
            system_.Terminate(process);
            isolate();
        }
        break;
    default:
        break; // any other value: nothing is done
    }
    return true;
}

} // namespace vur::monitor
