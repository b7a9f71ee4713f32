// The connection watch: every open dial-up connection whose number is not allowed is reported and hung up
// as "Neue Nummer" says; PollConnections runs on each tick, the check also on every state event.
//
// The monitor's window owns a TMagRasCon (bound to ProcessRasBinding(), posting to that window) and, after
// it, one TConnectionWatch; its tick calls PollConnections after the application watch, and its window
// procedure hands TMagRasCon::kStateMessage to DeliverStateMessage(wParam). A connection whose phonebook
// entry cannot be read has no number the user could allow: it is never taken as allowed, it is hung up
// with "Neue Nummer" 1 and 2, and no question is asked about it.
#pragma once

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

  private:
    void Check(int index);
    bool AskToAllow(const std::string& numberKey);

    TMagRasCon& mag_;
    TCustomIniFile& settings_;
    TConnectionPrompt& prompt_;
    // Connections an outer check is hanging up or asking about; a nested check leaves them alone.
    std::set<TRasHandle> busy_;
};

} // namespace vur::monitor
