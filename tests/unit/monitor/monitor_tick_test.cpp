// The monitor's tick: the autostart value, the order of the checks, and errors that must not stop it.
#include "monitor_tick.h"
#include "random_name.h"
#include "shared/settings_schema.h"
#include "support/memory_ini.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

class FakeSystem : public vur::monitor::TickSystem {
public:
    bool fileExists = true;
    std::vector<std::string> runValues, errors, calls;

    bool SettingsFileExists() override { return fileExists; }
    void WriteRunValue(const std::string& data) override {
        calls.push_back("run");
        runValues.push_back(data);
    }
    void ShowError(const std::string& message) override { errors.push_back(message); }
};

struct TickFixture {
    FakeSystem system;
    vurtest::MemoryIniFile settings;
    vur::monitor::MonitorTick tick{system, settings, "C:\\Programme\\VUR\\"};
};

} // namespace

TEST(MonitorTick, AutostartValueIsRestoredOnlyForChoiceZeroAndAnExistingFile) {
    TickFixture f;
    f.tick.Run();
    ASSERT_EQ(f.system.runValues.size(), 1u); // missing key reads as the default 0
    EXPECT_EQ(f.system.runValues[0], "\"C:\\Programme\\VUR\\fast.exe\"");

    f.settings.WriteInteger("Generell", "AutoStart", 1);
    f.tick.Run();
    f.settings.WriteInteger("Generell", "AutoStart", 7);
    f.tick.Run();
    EXPECT_EQ(f.system.runValues.size(), 1u);

    f.settings.WriteInteger("Generell", "AutoStart", 0);
    f.system.fileExists = false;
    f.tick.Run();
    EXPECT_EQ(f.system.runValues.size(), 1u);
    f.system.fileExists = true;
    f.tick.Run();
    EXPECT_EQ(f.system.runValues.size(), 2u);
}

TEST(MonitorTick, RunsAutostartThenApplicationsThenConnections) {
    TickFixture f;
    f.tick.checkApplications = [&] { f.system.calls.push_back("apps"); };
    f.tick.pollConnections = [&] { f.system.calls.push_back("connections"); };
    f.tick.Run();
    EXPECT_EQ(f.system.calls, (std::vector<std::string>{"run", "apps", "connections"}));
}

TEST(MonitorTick, AnEscapedErrorIsShownOnceAndTheOtherStepsStillRun) {
    TickFixture f;
    int connectionPolls = 0;
    f.tick.checkApplications = [] { throw std::runtime_error("Base64: Incorrect string format"); };
    f.tick.pollConnections = [&] { ++connectionPolls; };
    for (int i = 0; i < 3; ++i) f.tick.Run();
    EXPECT_EQ(connectionPolls, 3);
    EXPECT_EQ(f.system.errors, std::vector<std::string>{"Base64: Incorrect string format"});

    f.tick.checkApplications = [] { throw 42; };
    f.tick.Run();
    f.tick.Run();
    ASSERT_EQ(f.system.errors.size(), 2u);
    EXPECT_EQ(f.system.errors[1], "Unbekannter Fehler");

    // Work run outside the tick (the RAS state messages) goes through the same containment and the same
    // once-only rule, whatever it throws.
    f.tick.checkApplications = nullptr;
    f.tick.Guarded([] { throw 42; });
    f.tick.Guarded([] { throw std::runtime_error("Base64: Incorrect string format"); });
    EXPECT_EQ(f.system.errors.size(), 2u);
    f.tick.Guarded([] { throw std::runtime_error("RAS: Hang-up failed"); });
    EXPECT_EQ(f.system.errors, (std::vector<std::string>{"Base64: Incorrect string format", "Unbekannter Fehler",
                                                         "RAS: Hang-up failed"}));
}

TEST(MonitorTick, DamagedAutostartValueDoesNotKeepTheChecksFromRunning) {
    struct BrokenIni : vurtest::MemoryIniFile {
        std::string ReadString(const std::string&, const std::string&, const std::string&) override {
            throw std::runtime_error("Base64: Incorrect string format");
        }
    } settings;
    FakeSystem system;
    vur::monitor::MonitorTick tick(system, settings, "C:\\VUR\\");
    bool checked = false;
    tick.checkApplications = [&] { checked = true; };
    tick.Run();
    EXPECT_TRUE(checked);
    EXPECT_TRUE(system.runValues.empty());
    EXPECT_EQ(system.errors.size(), 1u);
}

TEST(RandomName, TwoToOneHundredOneCapitalLettersOverManySeeds) {
    std::size_t shortest = 1000, longest = 0;
    for (std::uint32_t seed = 0; seed < 5000; ++seed) {
        const std::string name = vur::monitor::MakeRandomName(seed);
        shortest = std::min(shortest, name.size());
        longest = std::max(longest, name.size());
        for (char c : name) ASSERT_TRUE(c >= 'A' && c <= 'Z') << name;
    }
    EXPECT_EQ(shortest, 2u);
    EXPECT_EQ(longest, 101u);
    EXPECT_NE(vur::monitor::MakeRandomName(1), vur::monitor::MakeRandomName(2));
}
