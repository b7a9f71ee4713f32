// The connection check over the fake RAS system, the in-memory settings and a scripted prompt.
#include "fake_ras.h"
#include "monitor/connection_watch.h"
#include "shared/settings_schema.h"
#include "support/memory_ini.h"

#include <gtest/gtest.h>

#include <functional>

using namespace vur;
using namespace vur::monitor;
using vurtest::FakeRas;

namespace {

struct Question {
    std::string text, caption;
    unsigned flags;
};

class ScriptedPrompt : public TConnectionPrompt {
  public:
    int Ask(const std::string& text, const std::string& caption, unsigned flags) override {
        asked.push_back({text, caption, flags});
        if (onAsk) onAsk();
        return answer;
    }
    bool CanAsk() override { return canAsk; }
    void ReportError(const std::string& message) override { errors.push_back(message); }
    int answer = 7; // IDNO
    bool canAsk = true;
    std::vector<std::string> errors;
    std::function<void()> onAsk;
    std::vector<Question> asked;
};

const char* const kKey = "49 0190 123456";

struct ConnectionWatch : ::testing::Test {
    ConnectionWatch() {
        ras.Entry("Dialer", 49, "0190", "123456");
        ras.Entry("Zweiter", 49, "0900", "555");
    }
    void Reaction(int value) {
        ini.WriteInteger("Generell", "Neue Nummer", value);
        ini.writes.clear();
    }
    // Connection that is gone as soon as it is hung up.
    void Dial(uint32_t handle, const std::string& entry) { ras.Connect(handle, entry, 0, 0); }
    void DeliverPosted() {
        const auto posted = ras.posted;
        ras.posted.clear();
        for (const auto& p : posted)
            mag.DeliverStateMessage(p.wParam);
    }

    FakeRas ras;
    TRasBinding binding{FakeRas::Table()};
    TMagRasCon mag{binding, reinterpret_cast<TWindowHandle>(0x99)};
    vurtest::MemoryIniFile ini;
    ScriptedPrompt prompt;
    TConnectionWatch watch{mag, ini, prompt};
};

TEST_F(ConnectionWatch, AllowedNumberIsNeverQuestioned) {
    ini.WriteString("Verbindungen", kKey, "Mein Anbieter|49 0190 123456");
    Dial(5, "Dialer");
    for (int tick = 0; tick < 3; ++tick)
        watch.PollConnections();
    mag.OnStateChanged(mag);
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_EQ(ras.HangUps(5), 0);
}

TEST_F(ConnectionWatch, ReportOnlyAndNoLeavesTheLineUpAndWritesNothing) {
    Reaction(0);
    Dial(5, "Dialer");
    watch.PollConnections();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(
        prompt.asked[0].text,
        "Es wurde eine neue Verbindung zu 49 0190 123456 entdeckt. Soll die Verbindung erlaubt werden?");
    EXPECT_EQ(prompt.asked[0].caption, "Neue Verbindung entdeckt");
    EXPECT_EQ(prompt.asked[0].flags, 0x50014u);
    EXPECT_EQ(ras.HangUps(5), 0);
    EXPECT_TRUE(ini.writes.empty());
    // Asked again only when the list changes, not on every tick.
    watch.PollConnections();
    EXPECT_EQ(prompt.asked.size(), 1u);
}

TEST_F(ConnectionWatch, HangUpThenAskAndYesAllowsForNextTime) {
    Reaction(1);
    Dial(5, "Dialer");
    bool upWhenAsked = true;
    prompt.onAsk = [&] {
        uint32_t size = 704, count = 0;
        uint8_t records[704] = {};
        PutU32(records, 0, 704);
        ras.world.EnumConnections(records, &size, &count, ras.now);
        upWhenAsked = count != 0;
    };
    prompt.answer = 6;
    watch.PollConnections();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_FALSE(upWhenAsked);
    EXPECT_EQ(ras.HangUps(5), 1);
    EXPECT_EQ(ini.writes,
              std::vector<std::string>{"Verbindungen/49 0190 123456=49 0190 123456|49 0190 123456"});
    // The same number dialled again is left alone.
    Dial(6, "Dialer");
    watch.PollConnections();
    EXPECT_EQ(ras.HangUps(6), 0);
    EXPECT_EQ(prompt.asked.size(), 1u);
}

TEST_F(ConnectionWatch, DefaultReactionIsHangUpAndAsk) {
    Dial(5, "Dialer");
    watch.PollConnections();
    EXPECT_EQ(ras.HangUps(5), 1);
    EXPECT_EQ(prompt.asked.size(), 1u);
    EXPECT_TRUE(ini.writes.empty());
}

TEST_F(ConnectionWatch, HangUpAtOnceAsksNothingAndItsNestedChecksEnd) {
    Reaction(2);
    ras.Connect(5, "Dialer", 0, 400);
    auto s = ras.world.Scenario();
    s.connections[0].hangUpStates = {8192, 11, 8192, 12};
    ras.world.SetScenario(s);
    watch.PollConnections();
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_EQ(ras.HangUps(5), 1);     // nested checks during the wait left it alone
    EXPECT_EQ(ras.posted.size(), 5u); // four states, then gone
    DeliverPosted();                  // the line is gone: the later checks find nothing
    EXPECT_EQ(ras.HangUps(5), 1);
    EXPECT_TRUE(ras.posted.empty());
    EXPECT_TRUE(ini.writes.empty());
}

TEST_F(ConnectionWatch, HangUpAtOnceGivesSubEntryZeroAndWaitsThreeSeconds) {
    Reaction(2);
    ras.Connect(5, "Dialer", 2, -1);
    auto s = ras.world.Scenario();
    s.connections[0].hangUpStates = {8192};
    ras.world.SetScenario(s);
    const uint32_t start = ras.now;
    watch.PollConnections();
    EXPECT_GT(ras.now - start, 3000u);
    EXPECT_LE(ras.now - start, 3050u);
    EXPECT_EQ(mag.CurrentStatus().SubEntry, 0u);
}

TEST_F(ConnectionWatch, TwoNewConnectionsAreAskedInListOrder) {
    Reaction(0);
    Dial(5, "Zweiter");
    Dial(6, "Dialer");
    watch.PollConnections();
    ASSERT_EQ(prompt.asked.size(), 2u);
    EXPECT_NE(prompt.asked[0].text.find(" 49 0900 555 "), std::string::npos);
    EXPECT_NE(prompt.asked[1].text.find(" 49 0190 123456 "), std::string::npos);
}

// An empty area code gives two blanks; a bar in the local number stays in the number, and the name the
// monitor gives the entry carries it as a broken bar, so the entry reads back under its key.
TEST_F(ConnectionWatch, TheAllowedNumberKeepsWhatTheEntryHolds) {
    Reaction(0);
    prompt.answer = 6;
    ras.Entry("Ortsnetz", 49, "", "123456");
    ras.Entry("Strich", 49, "0190", "12|34");
    Dial(5, "Ortsnetz");
    Dial(6, "Strich");
    watch.PollConnections();
    EXPECT_EQ(ini.writes, (std::vector<std::string>{"Verbindungen/49  123456=49  123456|49  123456",
                                                    "Verbindungen/49 0190 12|34=49 0190 12\xA6""34|49 0190 12|34"}));
    EXPECT_EQ(schema::SplitNumberValue(ini.ReadString("Verbindungen", "49 0190 12|34", "")).number, "49 0190 12|34");
    Dial(7, "Strich");
    watch.PollConnections();
    EXPECT_EQ(prompt.asked.size(), 2u) << "allowed from now on";
}

TEST_F(ConnectionWatch, UnknownReactionDoesNothing) {
    Reaction(3);
    Dial(5, "Dialer");
    watch.PollConnections();
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_EQ(ras.HangUps(5), 0);
}

TEST_F(ConnectionWatch, ConnectionWithoutReadableEntryIsReportedButNeverAllowed) {
    // "Neue Nummer" 1: not judged by the allowed entry read before it; hung up, and the user is told.
    ini.WriteString("Verbindungen", kKey, "erlaubt|49 0190 123456");
    Reaction(1);
    ras.Connect(5, "Dialer", 0, -1);
    ras.Connect(6, "Ohne Eintrag", 0, 0);
    watch.PollConnections();
    EXPECT_EQ(ras.HangUps(5), 0);
    EXPECT_EQ(ras.HangUps(6), 1);
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, TConnectionWatch::HungUpText(""));
    EXPECT_EQ(prompt.asked[0].flags, 0x50010u); // a note with OK only: there is nothing to allow
    EXPECT_TRUE(ini.writes.empty());

    // "Neue Nummer" 0: NT names a connection dialled without an entry "." and the number; the question asks
    // whether to hang it up, and Yes hangs up instead of allowing.
    Reaction(0);
    prompt.asked.clear();
    prompt.answer = 6;
    ras.Connect(7, ".0190123456", 0, 0);
    watch.PollConnections();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, "Es wurde eine neue Verbindung zu 0190123456 ohne lesbaren Telefonbucheintrag "
                                    "entdeckt. Eine solche Verbindung kann nicht erlaubt werden. Soll sie getrennt "
                                    "werden?");
    EXPECT_EQ(prompt.asked[0].flags, 0x50014u);
    EXPECT_EQ(ras.HangUps(7), 1);
    EXPECT_TRUE(ini.writes.empty());

    // A name that tells nothing gives the unknown number; No leaves the line up.
    prompt.asked.clear();
    prompt.answer = 7;
    ras.Connect(8, "Ohne Eintrag", 0, 0);
    watch.PollConnections();
    ASSERT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(prompt.asked[0].text, TConnectionWatch::HangUpQuestionText(""));
    EXPECT_NE(prompt.asked[0].text.find("unbekannten Nummer"), std::string::npos);
    EXPECT_EQ(ras.HangUps(8), 0);
    EXPECT_TRUE(ini.writes.empty());
}

TEST_F(ConnectionWatch, StateRecordDuringAQuestionDoesNotAskTwiceAboutTheSameLine) {
    Reaction(0);
    Dial(5, "Dialer");
    int depth = 0;
    prompt.onAsk = [&] {
        // A posted state record delivered while the box is open runs the check once more.
        if (++depth == 1) watch.magStateEvent(mag, TRasStateRec{});
    };
    watch.PollConnections();
    EXPECT_EQ(prompt.asked.size(), 1u);
}

TEST_F(ConnectionWatch, RasAbsentReportsNothing) {
    ras.libraries.clear();
    Reaction(2);
    Dial(5, "Dialer");
    for (int tick = 0; tick < 3; ++tick)
        watch.PollConnections();
    mag.OnStateChanged(mag);
    EXPECT_TRUE(prompt.asked.empty());
    EXPECT_TRUE(ini.writes.empty());
    EXPECT_EQ(ras.HangUps(5), 0);
}

TEST(ConnectionWatchLifetime, HandlersAreAssignedAndClearedWithTheWatch) {
    FakeRas ras;
    TRasBinding binding(FakeRas::Table());
    TMagRasCon mag(binding, nullptr);
    vurtest::MemoryIniFile ini;
    ScriptedPrompt prompt;
    {
        TConnectionWatch watch(mag, ini, prompt);
        EXPECT_TRUE(mag.OnStateChanged && mag.OnStateEvent);
    }
    EXPECT_FALSE(mag.OnStateChanged || mag.OnStateEvent);
}

TEST(ConnectionWatchKey, FormOfTheNumberKey) {
    EXPECT_EQ(TConnectionWatch::NumberKey(49, "0190", "123456"), "49 0190 123456");
    EXPECT_EQ(TConnectionWatch::NumberKey(0, "", ""), "0  ");
}

} // namespace

TEST_F(ConnectionWatch, AnOpenQuestionPausesNothingAndDamagedSettingsProtect) {
    // C1 for the first line stays open ("Neue Nummer" 0); a tick inside it sees a second connection and
    // hangs it up as the settings now say, without asking about the first line again.
    Reaction(0);
    Dial(5, "Dialer");
    int depth = 0;
    prompt.onAsk = [&] {
        if (depth++ > 0) return;
        ini.WriteInteger("Generell", "Neue Nummer", 2);
        Dial(6, "Zweiter");
        watch.PollConnections();
    };
    watch.PollConnections();
    EXPECT_EQ(prompt.asked.size(), 1u);
    EXPECT_EQ(ras.HangUps(6), 1);
    EXPECT_EQ(ras.HangUps(5), 0);

    // No room for a question: the line that would be asked about is checked again on the next tick, though
    // the connection list has not changed.
    Reaction(0);
    prompt.onAsk = nullptr;
    prompt.asked.clear();
    prompt.canAsk = false;
    Dial(7, "Zweiter");
    watch.PollConnections();
    EXPECT_TRUE(prompt.asked.empty());
    prompt.canAsk = true;
    watch.PollConnections();
    EXPECT_EQ(prompt.asked.size(), 2u); // lines 5 and 7, both still up and not allowed

    // A damaged "Neue Nummer" counts as its default 1 (hang up, then ask); a damaged allowed entry as not
    // allowed. Each is told by its key.
    ini.WriteString("Verbindungen", kKey, "erlaubt|49 0190 123456");
    ini.damaged = {"Generell/Neue Nummer", std::string("Verbindungen/") + kKey};
    prompt.asked.clear();
    ras.Connect(8, "Dialer", 0, 0);
    watch.PollConnections();
    EXPECT_EQ(ras.HangUps(8), 1);
    EXPECT_FALSE(prompt.errors.empty());
    EXPECT_NE(prompt.errors.front().find("„" + std::string(kKey) + "“ im Abschnitt „Verbindungen“"), std::string::npos);
    EXPECT_NE(std::find(prompt.errors.begin(), prompt.errors.end(),
                        DecisionSettings::DamagedReactionText(schema::kNewNumber)),
              prompt.errors.end());
}
