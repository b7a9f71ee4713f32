// The stand-in's scenario text and its hang-up behaviour, which the win32 and e2e tiers rely on.
#include "ras_world.h"

#include <gtest/gtest.h>

using namespace vurras;

TEST(RasScenario, ConnectionsEntriesAndBadLines) {
    int bad = -1;
    const TScenario s = ParseScenario("# comment\r\n"
                                      "connection|0x1001|Dialer|0|now\n"
                                      "connection|4098|Mit Pause|2|500|8192,8193\n"
                                      "connection|7|Klebt|0|never|8192\n"
                                      "entry|Dialer|49|0190|123456\n"
                                      "entry|Kaputt|unreadable\n"
                                      "entry|Gross|49|0190|1|6000\n"
                                      "entry|Gross|49|0190|1|viel\n"
                                      "connection|0|Null|0|now\n"
                                      "connection|9|X|0|bald\n"
                                      "entry|Kurz|49\n"
                                      "unsinn\n",
                                      &bad);
    EXPECT_EQ(bad, 5);
    ASSERT_EQ(s.connections.size(), 3u);
    EXPECT_EQ(s.connections[0].handle, 0x1001u);
    EXPECT_EQ(s.connections[0].dropAfterMs, 0);
    EXPECT_EQ(s.connections[1].entryName, "Mit Pause");
    EXPECT_EQ(s.connections[1].subEntry, 2u);
    EXPECT_EQ(s.connections[1].dropAfterMs, 500);
    EXPECT_EQ(s.connections[1].hangUpStates, (std::vector<uint32_t>{8192, 8193}));
    EXPECT_EQ(s.connections[2].dropAfterMs, -1);
    ASSERT_EQ(s.entries.size(), 3u);
    EXPECT_EQ(s.entries[0].countryCode, 49u);
    EXPECT_EQ(s.entries[0].areaCode, "0190");
    EXPECT_EQ(s.entries[0].extraBytes, 0u);
    EXPECT_FALSE(s.entries[1].readable);
    EXPECT_EQ(s.entries[2].extraBytes, 6000u);
}

TEST(RasWorldHangUp, DropAfterDelayAndShortBuffer) {
    TRasWorld world(vur::monitor::TSystemClass::NT4);
    world.SetScenario(ParseScenario("connection|5|A|0|500|8192\nconnection|6|B|0|now\n"));
    uint8_t status[288] = {};
    vur::monitor::PutU32(status, 0, 288);
    EXPECT_EQ(world.HangUp(5, 1000), 0u);
    EXPECT_EQ(world.GetConnectStatus(5, status, 1499), 0u);
    EXPECT_EQ(vur::monitor::GetU32(status, vur::monitor::rasstatus::kState), 8192u);
    EXPECT_EQ(world.GetConnectStatus(5, status, 1500), vur::monitor::raserr::kInvalidHandle);
    EXPECT_EQ(world.HangUp(5, 1600), vur::monitor::raserr::kInvalidHandle);
    uint32_t size = 100, count = 0;
    uint8_t record[676] = {};
    vur::monitor::PutU32(record, 0, 676);
    EXPECT_EQ(world.EnumConnections(record, &size, &count, 1600), vur::monitor::raserr::kBufferTooSmall);
    EXPECT_EQ(size, 676u);
    EXPECT_EQ(count, 1u);
}
