// The connection watch: every open dial-up connection whose number is not allowed is reported and hung up
// as "Neue Nummer" says; PollConnections runs on each tick, the check also on every state event.
//
// The monitor's window owns a TMagRasCon (bound to ProcessRasBinding(), posting to that window) and, after
// it, one TConnectionWatch; its tick calls PollConnections after the application watch, and its window
// procedure hands TMagRasCon::kStateMessage to DeliverStateMessage(wParam). A connection whose phonebook
// entry cannot be read has no number the user could allow: it is never taken as allowed and hung up with
// "Neue Nummer" 1 and 2 (with 1 the user is told); with 0 the user is asked whether to hang it up, by the
// number its entry name carries (NT names such a connection "." and the dialled number) or as unknown.
#pragma once

#include "monitor/decision_settings.h"
#include "monitor/magrascon.h"
#include "shared/ini_file.h"

#include <set>
#include <string>

namespace vur::monitor {

// Seam: a modal question owned by the monitor's window; returns the button pressed (6 = Yes).
class TConnectionPrompt {
  public:
    virtual ~TConnectionPrompt() = default;
    virtual int Ask(const std::string& text, const std::string& caption, unsigned flags) = 0;
    // False while as many questions are open as the monitor shows at once.
    virtual bool CanAsk() = 0;
    // A damaged settings entry, a failed write: told to the user, the other connections are still checked.
    virtual void ReportError(const std::string& message) = 0;
};

class TConnectionWatch {
  public:
    static constexpr unsigned kQuestionFlags = 0x50014; // Yes/No, stop icon, foreground, topmost
    static constexpr int kAnswerYes = 6;

    // Assigns the component's OnStateChanged and OnStateEvent to the two handlers below.
    // The component must outlive the watch.
    TConnectionWatch(TMagRasCon& mag, TCustomIniFile& settings, TConnectionPrompt& prompt);
    // Clears both handlers again, so the component never calls into a watch that is gone.
    ~TConnectionWatch();
    TConnectionWatch(const TConnectionWatch&) = delete;
    TConnectionWatch& operator=(const TConnectionWatch&) = delete;

    // Once per tick: a changed connection list runs the check.
    void PollConnections();
    // The connection check.
    void magStateChanged(TMagRasCon& sender);
    // Every delivered state record runs the check once more.
    void magStateEvent(TMagRasCon& sender, const TRasStateRec& connState);

    static std::string NumberKey(uint32_t countryCode, const std::string& areaCode, const std::string& local);
    static std::string QuestionText(const std::string& numberKey);
    // For a connection without a readable entry; `number` is empty when not even the entry name tells it.
    static std::string HangUpQuestionText(const std::string& number);
    static std::string HungUpText(const std::string& number);
    // The dialled number in the entry name of a connection made without a phonebook entry, or "".
    static std::string NumberFromEntryName(const std::string& entryName);

  private:
    void Check(int index);
    bool AskToAllow(const std::string& numberKey);
    bool AskYes(const std::string& text, unsigned flags);

    TMagRasCon& mag_;
    TCustomIniFile& settings_;
    TConnectionPrompt& prompt_;
    DecisionSettings decisions_;
    // A check found no room for its question: the next tick checks again, changed list or not.
    bool pending_ = false;
    // Connections an outer check is hanging up or asking about; a nested check leaves them alone.
    std::set<TRasHandle> busy_;
};

} // namespace vur::monitor
