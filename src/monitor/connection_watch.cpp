// The connection check: number key from the phonebook entry, "Verbindungen" lookup, reaction, the question
// whether to allow the number.
#include "monitor/connection_watch.h"

#include "shared/settings_schema.h"

namespace vur::monitor {

namespace {

constexpr uint32_t kHangUpWaitMs = 1000;
constexpr uint32_t kHangUpAtOnceWaitMs = 3000;

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
    : mag_(mag), settings_(settings), prompt_(prompt) {
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

void TConnectionWatch::PollConnections() {
    mag_.RefreshConnections();
    if (mag_.ConnectionsChanged() && mag_.OnStateChanged) mag_.OnStateChanged(mag_);
}

void TConnectionWatch::magStateEvent(TMagRasCon& sender, const TRasStateRec&) {
    if (sender.OnStateChanged) sender.OnStateChanged(sender);
}

void TConnectionWatch::magStateChanged(TMagRasCon&) {
    mag_.RefreshConnections();
    const int n = mag_.Count();
    for (int i = 0; i < n; ++i)
        Check(i);
}

bool TConnectionWatch::AskToAllow(const std::string& numberKey) {
    return prompt_.Ask(QuestionText(numberKey), "Neue Verbindung entdeckt", kQuestionFlags) == kAnswerYes;
}

void TConnectionWatch::Check(int index) {
    const TRasHandle handle = mag_.ConnectionHandle(index);
    // A nested check may have shrunk the list (no connection at this index any more), or an outer check
    // is already hanging this connection up or asking about it.
    if (handle == 0 || busy_.count(handle)) return;
    const uint32_t subEntry = mag_.ConnectionSubEntry(index);
    mag_.SetEntryName(mag_.ConnectionEntryName(index));
    // Without its own entry the number is unknown: never allowed, never judged by the entry read before.
    const bool known = mag_.ReadEntryProperties() == 0;
    std::string key;
    if (known) {
        key = NumberKey(mag_.CountryCode(), mag_.AreaCode(), mag_.LocalPhoneNumber());
        if (schema::IsNumberAllowed(settings_, key)) return;
    }
    const int reaction = schema::Read(settings_, schema::kNewNumber);
    TBusyMark mark(busy_, handle);
    bool allow = false;
    switch (reaction) {
    case 0:
        allow = known && AskToAllow(key);
        break;
    case 1:
        mag_.HangUpAndWait(handle, subEntry, kHangUpWaitMs, false);
        allow = known && AskToAllow(key);
        break;
    case 2:
        mag_.HangUpAndWait(handle, 0, kHangUpAtOnceWaitMs, true);
        break;
    default:
        break;
    }
    // The monitor names an allowed number by the number itself.
    if (allow) settings_.WriteString(schema::kNumbers, key, schema::NumberValue(key, key));
}

} // namespace vur::monitor
