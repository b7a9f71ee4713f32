// The pass-phrase readers' key choice and their results for a missing key or value, over a fake registry.
#include "shared/winfuncs.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// Keys that exist, each with its values; any other key cannot be opened.
struct FakeRegistry {
    std::map<std::string, std::map<std::string, std::string>> keys;
    vur::RegistryStringReader Reader() {
        return [this](const std::string& key, const std::string& value) {
            vur::RegistryString got;
            const auto k = keys.find(key);
            if (k == keys.end()) return got;
            got.keyOpened = true;
            const auto v = k->second.find(value);
            if (v != k->second.end()) got.value = v->second;
            return got;
        };
    }
};

const char kNtKey[] = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
const char k9xKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";

} // namespace

TEST(WinFuncs, EachFamilyReadsItsOwnKey) {
    FakeRegistry reg;
    reg.keys[kNtKey] = {{"ProductId", "55274-640"}, {"RegisteredOwner", "NT Besitzer"}};
    reg.keys[k9xKey] = {{"ProductId", "12345-oem"}, {"RegisteredOwner", "9x Besitzer"}};
    EXPECT_EQ(vur::ProductIdFrom(true, reg.Reader()), "55274-640");
    EXPECT_EQ(vur::RegisteredOwnerFrom(true, reg.Reader()), "NT Besitzer");
    EXPECT_EQ(vur::ProductIdFrom(false, reg.Reader()), "12345-oem");
    EXPECT_EQ(vur::RegisteredOwnerFrom(false, reg.Reader()), "9x Besitzer");
}

TEST(WinFuncs, AMissingKeyGivesZeroAndEmptyAMissingValueEmpty) {
    FakeRegistry reg;
    EXPECT_EQ(vur::ProductIdFrom(true, reg.Reader()), "0");
    EXPECT_EQ(vur::RegisteredOwnerFrom(true, reg.Reader()), "");
    reg.keys[k9xKey] = {};
    EXPECT_EQ(vur::ProductIdFrom(false, reg.Reader()), "");
    EXPECT_EQ(vur::RegisteredOwnerFrom(false, reg.Reader()), "");
    EXPECT_EQ(vur::ProductIdFrom(true, reg.Reader()), "0") << "the other family's key does not count";
}
