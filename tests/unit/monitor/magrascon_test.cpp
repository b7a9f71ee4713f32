// TMagRasCon over a fake RAS system: the connection list, entry properties, hang-up wait, events, binding.
#include "fake_ras.h"
#include "monitor/magrascon.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace vur;
using namespace vur::monitor;
using vurtest::FakeRas;

namespace {

TWindowHandle const kWindow = reinterpret_cast<TWindowHandle>(0x1234);

struct RasFixture : ::testing::Test {
    explicit RasFixture(TSystemClass c = TSystemClass::XP) : ras(c) {}
    FakeRas ras;
    TRasBinding binding{FakeRas::Table()};
    TMagRasCon mag{binding, kWindow};
};

struct RasList : RasFixture {};

TEST_F(RasList, EmptyListStaysUnchangedAndAConnectionThatEndsIsOneChange) {
    EXPECT_EQ(mag.RefreshConnections(), 0u);
    EXPECT_FALSE(mag.ConnectionsChanged());
    ras.Connect(7, "Dialer", 0, -1);
    mag.RefreshConnections();
    ASSERT_TRUE(mag.ConnectionsChanged());
    ras.world.SetScenario({});
    mag.RefreshConnections();
    EXPECT_TRUE(mag.ConnectionsChanged());
    EXPECT_EQ(mag.Count(), 0);
    for (int i = 0; i < 3; ++i) {
        mag.RefreshConnections();
        EXPECT_FALSE(mag.ConnectionsChanged());
    }
}

TEST_F(RasList, ANewConnectionIsOneChangeThenNone) {
    ras.Connect(0x5001, "T-Online", 3, -1);
    mag.RefreshConnections();
    EXPECT_TRUE(mag.ConnectionsChanged());
    ASSERT_EQ(mag.Count(), 1);
    EXPECT_EQ(mag.ConnectionHandle(0), 0x5001u);
    EXPECT_EQ(mag.ConnectionEntryName(0), "T-Online");
    EXPECT_EQ(mag.ConnectionSubEntry(0), 3u);
    mag.RefreshConnections();
    EXPECT_FALSE(mag.ConnectionsChanged());
    EXPECT_EQ(mag.Count(), 1);
}

TEST_F(RasList, TwoConnectionsSwappingPlacesAreAChange) {
    ras.Connect(1, "Eins", 0, -1);
    ras.Connect(2, "Zwei", 0, -1);
    mag.RefreshConnections();
    auto s = ras.world.Scenario();
    std::swap(s.connections[0], s.connections[1]);
    ras.world.SetScenario(s);
    mag.RefreshConnections();
    EXPECT_TRUE(mag.ConnectionsChanged());
    EXPECT_EQ(mag.ConnectionHandle(0), 2u);
    EXPECT_EQ(mag.ConnectionEntryName(1), "Eins");
}

TEST_F(RasList, IndexOutsideTheListGivesNeutralValues) {
    ras.Connect(9, "Neun", 4, -1);
    mag.RefreshConnections();
    for (int i : {-1, 1, 8}) {
        EXPECT_EQ(mag.ConnectionHandle(i), 0u);
        EXPECT_EQ(mag.ConnectionEntryName(i), "");
        EXPECT_EQ(mag.ConnectionSubEntry(i), 0u);
    }
}

TEST_F(RasList, MoreThanEightConnectionsTrackTheFirstEight) {
    for (uint32_t h = 1; h <= 10; ++h)
        ras.Connect(h, "V" + std::to_string(h), 0, -1);
    // Ten XP records do not fit the 5632-byte buffer: the system answers 603 first.
    EXPECT_EQ(mag.RefreshConnections(), 0u);
    EXPECT_EQ(ras.enumCalls, 2);
    ASSERT_EQ(mag.Count(), 8);
    EXPECT_EQ(mag.ConnectionHandle(7), 8u);
    mag.RefreshConnections();
    EXPECT_FALSE(mag.ConnectionsChanged());
}

// On every system class and both architectures the i-th record lies at i times the class's RASCONN size,
// with the handle at full width (a 64-bit handle keeps its upper half).
using ClassAndArchitecture = std::tuple<TSystemClass, TArchitecture>;
struct RasStride : ::testing::TestWithParam<ClassAndArchitecture> {};

TEST_P(RasStride, SecondConnectionIsReadFromTheSecondRecord) {
    const auto [systemClass, architecture] = GetParam();
    const bool wide = architecture == TArchitecture::X64;
    FakeRas ras(systemClass, architecture);
    TRasBinding binding(FakeRas::Table(), architecture);
    TMagRasCon mag(binding, kWindow);
    const TRasHandle second = wide ? 0x1234567800000202ull : 0x202u;
    ras.Connect(0x101, "Erste", 1, -1);
    ras.Connect(second, "Zweite Verbindung", 2, -1);
    ASSERT_EQ(mag.RefreshConnections(), 0u);
    ASSERT_EQ(mag.Count(), 2);
    EXPECT_EQ(mag.ConnectionHandle(0), 0x101u);
    EXPECT_EQ(mag.ConnectionHandle(1), second);
    EXPECT_EQ(mag.ConnectionEntryName(1), "Zweite Verbindung");
    const bool hasSubEntry = systemClass != TSystemClass::Win9x;
    EXPECT_EQ(mag.ConnectionSubEntry(1), hasSubEntry ? 2u : 0u);
    // Bytes beyond the system's record size stay zero in the widened copy.
    const auto& item = mag.Connections().Item(1);
    for (size_t b = RecordSizes(systemClass, architecture).conn; b < item.size(); ++b)
        ASSERT_EQ(item[b], 0) << b;
    // The hang-up reaches the world with the whole handle.
    mag.HangUp(second);
    EXPECT_EQ(ras.HangUps(second), 1);
}

std::string ClassName(const ::testing::TestParamInfo<ClassAndArchitecture>& info) {
    const std::string arch = std::get<1>(info.param) == TArchitecture::X64 ? "x64" : "x86";
    switch (std::get<0>(info.param)) {
    case TSystemClass::Win9x:
        return "Win9x_" + arch;
    case TSystemClass::NT4:
        return "NT4_" + arch;
    case TSystemClass::Win2000:
        return "Win2000_" + arch;
    case TSystemClass::XP:
        break;
    }
    return "XP_" + arch;
}

INSTANTIATE_TEST_SUITE_P(AllClasses, RasStride,
                         ::testing::Combine(::testing::Values(TSystemClass::Win9x, TSystemClass::NT4,
                                                              TSystemClass::Win2000, TSystemClass::XP),
                                            ::testing::Values(TArchitecture::X86, TArchitecture::X64)),
                         ClassName);

TEST(RasListWin9x, MoreThanEightSmallRecordsFitAtOnceAndTheFirstEightAreTracked) {
    FakeRas ras(TSystemClass::Win9x);
    TRasBinding binding(FakeRas::Table());
    TMagRasCon mag(binding, kWindow);
    for (uint32_t h = 1; h <= 10; ++h) ras.Connect(h, "V" + std::to_string(h), 0, -1);
    EXPECT_EQ(mag.RefreshConnections(), 0u);
    EXPECT_EQ(ras.enumCalls, 1);
    ASSERT_EQ(mag.Count(), 8);
    EXPECT_EQ(mag.ConnectionEntryName(7), "V8");
}

TEST(RasStatus, PhoneNumberOnlyInTheNtRecord) {
    for (TSystemClass c : {TSystemClass::Win9x, TSystemClass::NT4}) {
        FakeRas ras(c);
        TRasBinding binding(FakeRas::Table());
        TMagRasCon mag(binding, kWindow);
        ras.Connect(5, "Dialer", 2, -1);
        ras.Entry("Dialer", 49, "0190", "123456");
        EXPECT_EQ(mag.ReadConnectStatus(5, 2), 0u);
        const TRasStateRec& s = mag.CurrentStatus();
        EXPECT_EQ(s.State, 8192);
        EXPECT_EQ(s.DeviceName, "Standardmodem");
        EXPECT_EQ(s.DeviceType, "modem");
        EXPECT_EQ(s.SubEntry, 2u);
        EXPECT_EQ(s.PhoneNumber, c == TSystemClass::Win9x ? "" : "0190123456");
    }
}

TEST(RasSystemClass, VersionNumbersMapLiterally) {
    EXPECT_EQ(ClassifySystem(1, 4, 10), TSystemClass::Win9x);
    EXPECT_EQ(ClassifySystem(1, 5, 1), TSystemClass::Win9x);
    EXPECT_EQ(ClassifySystem(2, 4, 0), TSystemClass::NT4);
    EXPECT_EQ(ClassifySystem(2, 3, 51), TSystemClass::NT4);
    EXPECT_EQ(ClassifySystem(2, 5, 0), TSystemClass::Win2000);
    EXPECT_EQ(ClassifySystem(2, 6, 0), TSystemClass::Win2000);
    EXPECT_EQ(ClassifySystem(2, 5, 1), TSystemClass::XP);
    EXPECT_EQ(ClassifySystem(2, 6, 2), TSystemClass::XP);
}

struct RasEntry : RasFixture {};

TEST_F(RasEntry, PropertiesAreReadAndTrimmed) {
    ras.Entry("Dialer", 49, " 0190 ", "  123456 ");
    mag.SetEntryName("Dialer");
    EXPECT_EQ(mag.ReadEntryProperties(), 0u);
    EXPECT_EQ(mag.CountryCode(), 49u);
    EXPECT_EQ(mag.AreaCode(), "0190");
    EXPECT_EQ(mag.LocalPhoneNumber(), "123456");
}

TEST_F(RasEntry, UnknownEntryLeavesThePhoneFieldsAsTheyWere) {
    mag.SetEntryName("Nirgends");
    EXPECT_EQ(mag.ReadEntryProperties(), raserr::kCannotFindEntry);
    EXPECT_EQ(mag.CountryCode(), 0u);
    EXPECT_EQ(mag.AreaCode(), "");
    ras.Entry("Dialer", 49, "0190", "123456");
    mag.SetEntryName("Dialer");
    ASSERT_EQ(mag.ReadEntryProperties(), 0u);
    mag.SetEntryName("Nirgends");
    EXPECT_EQ(mag.ReadEntryProperties(), raserr::kCannotFindEntry);
    EXPECT_EQ(mag.LastError(), raserr::kCannotFindEntry);
    EXPECT_EQ(mag.StatusText(), "RAS-Fehler 623");
    EXPECT_EQ(mag.CountryCode(), 49u);
    EXPECT_EQ(mag.AreaCode(), "0190");
    EXPECT_EQ(mag.LocalPhoneNumber(), "123456");
}

TEST_F(RasEntry, LargeEntriesAreReadUpToTheBound) {
    // Alternate numbers make an entry larger than 4 KiB; it must read as the number it holds, not as unknown.
    ras.Entry("Dialer", 49, "0190", "123456", 12000);
    mag.SetEntryName("Dialer");
    ASSERT_EQ(mag.ReadEntryProperties(), 0u);
    EXPECT_EQ(mag.AreaCode(), "0190");
    EXPECT_EQ(mag.LocalPhoneNumber(), "123456");
    ras.Entry("Riesig", 49, "0900", "999", 200000);
    mag.SetEntryName("Riesig");
    EXPECT_EQ(mag.ReadEntryProperties(), raserr::kBufferTooSmall);
    EXPECT_EQ(mag.AreaCode(), "0190");
}

TEST(RasEntryWin9x, DeviceBufferIsPassedWhenTheSystemReportsNone) {
    FakeRas ras(TSystemClass::Win9x);
    TRasBinding binding(FakeRas::Table());
    TMagRasCon mag(binding, kWindow);
    ras.Entry("AOL", 49, "", "0191011");
    mag.SetEntryName("AOL");
    EXPECT_EQ(mag.ReadEntryProperties(), 0u);
    EXPECT_EQ(mag.LocalPhoneNumber(), "0191011");
}

struct RasHangUp : RasFixture {
    int changed = 0;
    std::vector<int32_t> eventStates;
    void Listen() {
        mag.OnStateChanged = [this](TMagRasCon&) { ++changed; };
        mag.OnStateEvent = [this](TMagRasCon&, const TRasStateRec& r) { eventStates.push_back(r.State); };
    }
};

TEST_F(RasHangUp, LineThatDropsAtOnceRaisesOneEventPairAndStopsOn601) {
    Listen();
    ras.Connect(5, "Dialer", 0, 0);
    EXPECT_EQ(mag.HangUpAndWait(5, 0, 3000, true), 0u);
    EXPECT_EQ(changed, 1);
    ASSERT_EQ(ras.posted.size(), 1u);
    EXPECT_EQ(ras.posted[0].window, kWindow);
    EXPECT_EQ(ras.posted[0].message, 0x56Eu);
    EXPECT_EQ(ras.posted[0].wParam, 1u);
    EXPECT_EQ(ras.sleeps, 0);
    mag.DeliverStateMessage(1);
    ASSERT_EQ(eventStates.size(), 1u);
    EXPECT_EQ(eventStates[0], 601);
}

TEST_F(RasHangUp, LineReportingDisconnectedStopsOn8193) {
    Listen();
    ras.Connect(5, "Dialer", 0, -1); // reports 8193 from the first query on
    mag.HangUpAndWait(5, 0, 3000, true);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(ras.sleeps, 0);
    EXPECT_EQ(mag.CurrentStatus().State, 8193);
    EXPECT_EQ(mag.StatusText(), "Disconnected/Offline");
}

TEST_F(RasHangUp, LineThatNeverDropsReturnsAfterTheTimeoutWithTheHangUpResult) {
    Listen();
    ras.Connect(5, "Dialer", 0, -1);
    auto s = ras.world.Scenario();
    s.connections[0].hangUpStates = {8192};
    ras.world.SetScenario(s);
    const uint32_t start = ras.now;
    EXPECT_EQ(mag.HangUpAndWait(5, 0, 1000, true), 0u);
    EXPECT_GT(ras.now - start, 1000u);
    EXPECT_LE(ras.now - start, 1050u);
    EXPECT_EQ(changed, 1); // the state never changed
    EXPECT_EQ(mag.CurrentStatus().State, 8192);
    // Without events the wait is the same, silently.
    changed = 0;
    mag.HangUpAndWait(5, 0, 1000, false);
    EXPECT_EQ(changed, 0);
    EXPECT_EQ(ras.HangUps(5), 2);
}

TEST_F(RasHangUp, FailedHangUpIsTheResultOfTheWait) {
    EXPECT_EQ(mag.HangUpAndWait(77, 0, 1000, false), raserr::kInvalidHandle);
    EXPECT_EQ(mag.HangUp(0), raserr::kInvalidHandle);
    EXPECT_EQ(ras.HangUps(0), 0);
    EXPECT_EQ(mag.ReadConnectStatus(0, 1), raserr::kNoStatus);
    EXPECT_EQ(mag.CurrentStatus().State, 601);
}

TEST_F(RasHangUp, NestedQueryOfAGoneConnectionDoesNotEndTheOuterWait) {
    ras.Connect(5, "Dialer", 0, 200);
    auto s = ras.world.Scenario();
    s.connections[0].hangUpStates = {8192, 12, 8192};
    ras.world.SetScenario(s);
    int nested = 0;
    mag.OnStateChanged = [&](TMagRasCon& m) {
        ++nested;
        m.ReadConnectStatus(999, 0); // leaves the current state at 601
    };
    const uint32_t start = ras.now;
    mag.HangUpAndWait(5, 0, 3000, true);
    EXPECT_GE(ras.now - start, 200u); // waited until the line really dropped
    EXPECT_EQ(nested, 4);             // 8192, 12, 8192, gone
}

TEST_F(RasHangUp, SeventeenEventsBeforeAnyIsDeliveredLeaveTheSeventeenthInSlotOne) {
    Listen();
    ras.Connect(5, "Dialer", 0, -1);
    auto s = ras.world.Scenario();
    s.connections[0].hangUpStates.clear();
    for (uint32_t st = 0; st < 17; ++st)
        s.connections[0].hangUpStates.push_back(100 + st);
    ras.world.SetScenario(s);
    mag.HangUpAndWait(5, 0, 2000, true);
    ASSERT_EQ(ras.posted.size(), 17u);
    for (size_t i = 0; i < 16; ++i)
        EXPECT_EQ(ras.posted[i].wParam, i + 1);
    EXPECT_EQ(ras.posted[16].wParam, 1u);
    mag.DeliverStateMessage(ras.posted[0].wParam);
    mag.DeliverStateMessage(ras.posted[1].wParam);
    mag.DeliverStateMessage(0);
    mag.DeliverStateMessage(17);
    ASSERT_EQ(eventStates.size(), 2u);
    EXPECT_EQ(eventStates[0], 116);
    EXPECT_EQ(eventStates[1], 101);
}

TEST_F(RasHangUp, NoPostWithoutAStateEventHandler) {
    int calls = 0;
    mag.OnStateChanged = [&](TMagRasCon&) { ++calls; };
    ras.Connect(5, "Dialer", 0, 0);
    mag.HangUpAndWait(5, 0, 3000, true);
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(ras.posted.empty());
}

TEST(RasStateText, NamesAndUnknownStates) {
    EXPECT_EQ(RasStateName(8192), "Connected/Online");
    EXPECT_EQ(RasStateName(8193), "Disconnected/Offline");
    EXPECT_EQ(RasStateName(0), "Opening Port");
    EXPECT_EQ(RasStateName(4096), "Interactive");
    EXPECT_EQ(RasStateName(601), "Unknown State (601)");
}

struct RasBinding : ::testing::Test {
    FakeRas ras;
};

TEST_F(RasBinding, MissingLibraryGives1157EverywhereAndIsTriedOnce) {
    ras.libraries.clear();
    TRasBinding binding(FakeRas::Table());
    TMagRasCon mag(binding, kWindow);
    EXPECT_EQ(mag.RefreshConnections(), raserr::kDllNotFound);
    EXPECT_EQ(mag.Count(), 0);
    mag.SetEntryName("x");
    EXPECT_EQ(mag.ReadEntryProperties(), raserr::kDllNotFound);
    EXPECT_EQ(mag.HangUp(3), raserr::kDllNotFound);
    EXPECT_EQ(mag.ReadConnectStatus(3, 0), raserr::kDllNotFound);
    EXPECT_EQ(mag.ErrorText(623), "RASAPI32.DLL Not Available");
    EXPECT_EQ(ras.loaded, std::vector<std::string>{"RASAPI32.DLL"});
}

TEST_F(RasBinding, WithoutRasDialRasCountsAsAbsent) {
    ras.missingExports = {"RasDialA"};
    ras.Connect(1, "Dialer", 0, -1);
    TRasBinding binding(FakeRas::Table());
    TMagRasCon mag(binding, kWindow);
    EXPECT_EQ(mag.RefreshConnections(), raserr::kDllNotFound);
    EXPECT_EQ(mag.Count(), 0);
    EXPECT_EQ(ras.enumCalls, 0);
}

TEST_F(RasBinding, PhonebookComesFromRnaphWhenCountryInfoIsMissing) {
    ras.missingExports = {"RasGetCountryInfoA"};
    ras.libraries.insert("RNAPH.DLL");
    ras.Entry("Dialer", 49, "0190", "123456");
    {
        TRasBinding binding(FakeRas::Table());
        TMagRasCon mag(binding, kWindow);
        mag.SetEntryName("Dialer");
        EXPECT_EQ(mag.ReadEntryProperties(), 0u);
        EXPECT_EQ(ras.loaded, (std::vector<std::string>{"RASAPI32.DLL", "RNAPH.DLL"}));
        TMagRasCon second(binding, kWindow); // shares the binding: nothing loaded again
        second.RefreshConnections();
        EXPECT_EQ(ras.loaded.size(), 2u);
    }
    EXPECT_EQ(ras.freed, (std::vector<std::string>{"RNAPH.DLL", "RASAPI32.DLL"}));
}

TEST_F(RasBinding, WithoutAnyPhonebookLibraryOnlyEntryReadingFails) {
    ras.missingExports = {"RasGetCountryInfoA"};
    ras.Connect(1, "Dialer", 0, -1);
    TRasBinding binding(FakeRas::Table());
    TMagRasCon mag(binding, kWindow);
    mag.SetEntryName("Dialer");
    EXPECT_EQ(mag.ReadEntryProperties(), raserr::kDllNotFound);
    EXPECT_EQ(mag.RefreshConnections(), 0u);
    EXPECT_EQ(mag.Count(), 1);
    binding.Release();
    EXPECT_EQ(ras.freed, std::vector<std::string>{"RASAPI32.DLL"});
}

TEST_F(RasBinding, RecordSizeOfTheWrongClassIsRefusedBySystem) {
    // The world checks the size field like RAS does; a component on another class gets nothing.
    FakeRas other(TSystemClass::Win9x);
    other.platformId = 2, other.major = 5, other.minor = 1;
    other.Connect(1, "Dialer", 0, -1);
    TRasBinding binding(FakeRas::Table());
    TMagRasCon mag(binding, kWindow);
    EXPECT_EQ(mag.RefreshConnections(), raserr::kInvalidSize);
    EXPECT_EQ(mag.Count(), 0);
}

} // namespace
