// The typed reads and writes that every settings object inherits.
#include "support/memory_ini.h"

#include <gtest/gtest.h>

TEST(IniTyped, IntegersAndBooleansGoThroughStrings) {
    vurtest::MemoryIniFile ini;
    ini.WriteInteger("Generell", "Neue Nummer", 2);
    ini.WriteBool("Scanner", "Heuristik", true);
    ini.WriteBool("Scanner", "Nur melden", false);
    EXPECT_EQ(ini.ReadString("Generell", "Neue Nummer", ""), "2");
    EXPECT_EQ(ini.ReadString("Scanner", "Heuristik", ""), "1");
    EXPECT_EQ(ini.ReadString("Scanner", "Nur melden", ""), "0");
    EXPECT_EQ(ini.ReadInteger("Generell", "Neue Nummer", 1), 2);
    EXPECT_TRUE(ini.ReadBool("Scanner", "Heuristik", false));
    EXPECT_FALSE(ini.ReadBool("Scanner", "Nur melden", true));
}

TEST(IniTyped, MissingEmptyOrNonNumericValuesGiveTheDefault) {
    vurtest::MemoryIniFile ini;
    EXPECT_EQ(ini.ReadInteger("Generell", "AutoStart", 7), 7);
    ini.WriteString("Generell", "AutoStart", "");
    EXPECT_EQ(ini.ReadInteger("Generell", "AutoStart", 7), 7);
    for (const char* bad : {"abc", "1x", " 1", "+", "-", "99999999999"}) {
        ini.WriteString("Generell", "AutoStart", bad);
        EXPECT_EQ(ini.ReadInteger("Generell", "AutoStart", 7), 7) << bad;
    }
    ini.WriteString("Generell", "AutoStart", "-12");
    EXPECT_EQ(ini.ReadInteger("Generell", "AutoStart", 7), -12);
    ini.WriteString("Scanner", "Heuristik", "5");
    EXPECT_TRUE(ini.ReadBool("Scanner", "Heuristik", false));
    EXPECT_TRUE(ini.ReadBool("Scanner", "Fehlt", true));
}

TEST(IniTyped, SectionExistsMeansAtLeastOneKey) {
    vurtest::MemoryIniFile ini;
    EXPECT_FALSE(ini.SectionExists("Verbindungen"));
    ini.WriteString("Verbindungen", "49 190 123456", "49 190 123456|49 190 123456");
    EXPECT_TRUE(ini.SectionExists("verbindungen"));
    ini.DeleteKey("Verbindungen", "49 190 123456");
    EXPECT_FALSE(ini.SectionExists("Verbindungen"));
}
