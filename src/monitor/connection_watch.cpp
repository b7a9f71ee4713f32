// The connection check: number key from the phonebook entry, "Verbindungen" lookup, reaction, the question
// whether to allow the number.
#include "monitor/connection_watch.h"

#include "shared/caught_error.h"
#include "shared/settings_schema.h"

namespace vur::monitor {

namespace {

constexpr uint32_t kHangUpWaitMs = 1000;
constexpr uint32_t kHangUpAtOnceWaitMs = 3000;
const char kCaption[] = "Neue Verbindung entdeckt";
constexpr unsigned kNoteFlags = 0x50010; // OK, stop icon, foreground, topmost

// Marks a connection as being worked on for as long as the outer check holds it, exceptions included.
class TBusyMark {
  public:
    TBusyMark(std::set<TRasHandle>& busy, TRasHandle handle) : busy_(busy), handle_(handle) {
        busy_.insert(handle);
    }
    ~TBusyMark() { busy_.erase(handle_); }
    TBusyMark(const TBusyMark&) = delete;
    TBusyMark& operator=(const TBusyMark&) = delete;

  private:
    std::set<TRasHandle>& busy_;
    TRasHandle handle_;
};

} // namespace

TConnectionWatch::TConnectionWatch(TMagRasCon& mag, TCustomIniFile& settings, TConnectionPrompt& prompt)
    : mag_(mag), settings_(settings), prompt_(prompt),
      decisions_(settings, [this](const std::string& message) { prompt_.ReportError(message); }) {
    mag_.OnStateChanged = [this](TMagRasCon& sender) { magStateChanged(sender); };
    mag_.OnStateEvent = [this](TMagRasCon& sender, const TRasStateRec& state) {
        magStateEvent(sender, state);
    };
}

TConnectionWatch::~TConnectionWatch() {
    mag_.OnStateChanged = nullptr;
    mag_.OnStateEvent = nullptr;
}

std::string TConnectionWatch::NumberKey(uint32_t countryCode, const std::string& areaCode,
                                        const std::string& local) {
    return schema::NumberKey(countryCode, areaCode, local);
}

std::string TConnectionWatch::QuestionText(const std::string& numberKey) {
    return "Es wurde eine neue Verbindung zu " + numberKey + " entdeckt. Soll die Verbindung erlaubt werden?";
}

std::string TConnectionWatch::HangUpQuestionText(const std::string& number) {
    return "Es wurde eine neue Verbindung " + (number.empty() ? "zu einer unbekannten Nummer" : "zu " + number) +
           " ohne lesbaren Telefonbucheintrag entdeckt. Eine solche Verbindung kann nicht erlaubt werden. Soll sie "
           "getrennt werden?";
}

std::string TConnectionWatch::HungUpText(const std::string& number) {
    return "Eine neue Verbindung " + (number.empty() ? "zu einer unbekannten Nummer" : "zu " + number) +
           " wurde getrennt. Ohne lesbaren Telefonbucheintrag kann sie nicht erlaubt werden.";
}

std::string TConnectionWatch::NumberFromEntryName(const std::string& entryName) {
    if (entryName.size() < 2 || entryName[0] != '.') return "";
    return entryName.substr(1);
}

void TConnectionWatch::PollConnections() {
    mag_.RefreshConnections();
    if ((mag_.ConnectionsChanged() || pending_) && mag_.OnStateChanged) {
        pending_ = false;
        mag_.OnStateChanged(mag_);
    }
}

void TConnectionWatch::magStateEvent(TMagRasCon& sender, const TRasStateRec&) {
    if (sender.OnStateChanged) sender.OnStateChanged(sender);
}

void TConnectionWatch::magStateChanged(TMagRasCon&) {
    mag_.RefreshConnections();
    const int n = mag_.Count();
    for (int i = 0; i < n; ++i) {
        try {
            Check(i);
        } catch (...) {
            prompt_.ReportError(vur::CaughtErrorMessage());
        }
    }
}

bool TConnectionWatch::AskYes(const std::string& text, unsigned flags) {
    return prompt_.Ask(text, kCaption, flags) == kAnswerYes;
}

bool TConnectionWatch::AskToAllow(const std::string& numberKey) { return AskYes(QuestionText(numberKey), kQuestionFlags); }

void TConnectionWatch::Check(int index) {
    const TRasHandle handle = mag_.ConnectionHandle(index);
    // A nested check may have shrunk the list (no connection at this index any more), or an outer check
    // is already hanging this connection up or asking about it.
    if (handle == 0 || busy_.count(handle)) return;
    const uint32_t subEntry = mag_.ConnectionSubEntry(index);
    const std::string entryName = mag_.ConnectionEntryName(index);
    mag_.SetEntryName(entryName);
    // Without its own entry the number is unknown: never allowed, never judged by the entry read before.
    const bool known = mag_.ReadEntryProperties() == 0;
    std::string key;
    if (known) {
        key = NumberKey(mag_.CountryCode(), mag_.AreaCode(), mag_.LocalPhoneNumber());
        if (decisions_.IsNumberAllowed(key)) return;
    }
    const std::string dialled = known ? key : NumberFromEntryName(entryName);
    const int reaction = decisions_.Reaction(schema::kNewNumber);
    TBusyMark mark(busy_, handle);
    bool allow = false;
    switch (reaction) {
    case 0:
        // The line stays up while the user is asked, so the question waits until one can be opened.
        if (!prompt_.CanAsk()) {
            pending_ = true;
            return;
        }
        if (known)
            allow = AskToAllow(key);
        else if (AskYes(HangUpQuestionText(dialled), kQuestionFlags))
            mag_.HangUpAndWait(handle, subEntry, kHangUpWaitMs, false);
        break;
    case 1:
        mag_.HangUpAndWait(handle, subEntry, kHangUpWaitMs, false);
        if (!prompt_.CanAsk()) break; // hung up; with too many questions open, the question is left out
        if (known)
            allow = AskToAllow(key);
        else
            prompt_.Ask(HungUpText(dialled), kCaption, kNoteFlags);
        break;
    case 2:
        mag_.HangUpAndWait(handle, 0, kHangUpAtOnceWaitMs, true);
        break;
    default:
        break;
    }
    // The monitor names an allowed number by the number itself; a bar from the phonebook stays in the number.
    if (allow) settings_.WriteString(schema::kNumbers, key, schema::NumberValue(schema::StorableName(key), key));
}

} // namespace vur::monitor
