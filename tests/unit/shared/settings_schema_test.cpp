// The settings schema: defaults of a fresh installation, the allow-list value forms and the Run value.
#include "shared/errors.h"
#include "shared/settings_schema.h"
#include "support/memory_ini.h"

#include <gtest/gtest.h>

namespace schema = vur::schema;

TEST(SettingsSchema, AFreshInstallationReadsTheDefaults) {
    vurtest::MemoryIniFile ini;
    EXPECT_EQ(schema::Read(ini, schema::kNewNumber), schema::kNumberReportAndHangUp);
    EXPECT_EQ(schema::Read(ini, schema::kNewApplication), schema::kAppReportOnly);
    EXPECT_EQ(schema::Read(ini, schema::kInfectedApplication), schema::kInfectedReportAndTerminate);
    EXPECT_EQ(schema::Read(ini, schema::kSuspiciousApplication), schema::kAppReportAndTerminate);
    EXPECT_EQ(schema::Read(ini, schema::kAutoStart), schema::kStartWithWindows);
    EXPECT_FALSE(schema::Read(ini, schema::kReportOnly));
    EXPECT_FALSE(schema::Read(ini, schema::kIsolateFound));
    EXPECT_FALSE(schema::Read(ini, schema::kHeuristic));
    schema::Write(ini, schema::kSuspiciousApplication, 3);
    schema::Write(ini, schema::kIsolateFound, true);
    // The texts as stored, CP1252 in the execution charset.
    EXPECT_EQ(ini.writes, (std::vector<std::string>{"Generell/Verd\xE4""chtige Anwendung=3", "Scanner/L\xF6schen=1"}));
}

TEST(SettingsSchema, ValuesWithoutTheirBarsSplitIntoEmptyLeadingFields) {
    const auto app = schema::SplitApplicationValue("Web|c:\\a|b.exe|0A1B2C3D");
    EXPECT_EQ(app.name, "Web");
    EXPECT_EQ(app.path, "c:\\a");
    EXPECT_EQ(app.crc, "b.exe|0A1B2C3D") << "the path ends at the next bar";
    const auto plain = schema::SplitApplicationValue("no bars");
    EXPECT_EQ(plain.name, "");
    EXPECT_EQ(plain.path, "");
    EXPECT_EQ(plain.crc, "no bars");
    const auto one = schema::SplitApplicationValue("Name|rest");
    EXPECT_EQ(one.name, "Name");
    EXPECT_EQ(one.path, "");
    EXPECT_EQ(one.crc, "rest");
    const auto number = schema::SplitNumberValue(schema::NumberValue("Büro", "49 30 1234"));
    EXPECT_EQ(number.name, "Büro");
    EXPECT_EQ(number.number, "49 30 1234");
    EXPECT_EQ(schema::SplitNumberValue("49 30 1234").name, "");
    EXPECT_EQ(schema::SplitNumberValue("49 30 1234").number, "49 30 1234");
}

TEST(SettingsSchema, NoWrittenEntryReadsBackWithItsFieldsMoved) {
    EXPECT_THROW(schema::NumberValue("Bü|ro", "49 30 1234"), vur::EIniFileError);
    EXPECT_THROW(schema::ApplicationValue("Mein|Tool", "c:\\tool.exe", "0A1B2C3D"), vur::EIniFileError);
    EXPECT_THROW(schema::ApplicationValue("Tool", "c:\\a|b.exe", "0A1B2C3D"), vur::EIniFileError);
    EXPECT_TRUE(schema::IsStorableName("Büro 49/30"));
    EXPECT_FALSE(schema::IsStorableName("|"));
    // The last field may hold bars; so the monitor's entry for a phonebook number with a bar stays whole.
    const std::string key = schema::NumberKey(49, "0190", "12|34");
    const std::string name = schema::StorableName(key);
    EXPECT_EQ(name, "49 0190 12\xA6""34");
    const auto number = schema::SplitNumberValue(schema::NumberValue(name, key));
    EXPECT_EQ((std::vector<std::string>{number.name, number.number}), (std::vector<std::string>{name, key}));
    const auto app = schema::SplitApplicationValue(schema::ApplicationValue("", "c:\\x.exe", "AB|CD"));
    EXPECT_EQ((std::vector<std::string>{app.name, app.path, app.crc}),
              (std::vector<std::string>{"", "c:\\x.exe", "AB|CD"}));
}

TEST(SettingsSchema, AllowListChecksMatchOnlyTheComposedNumberAndTheCurrentChecksum) {
    vurtest::MemoryIniFile ini;
    const std::string number = schema::NumberKey(49, "190", "123456");
    EXPECT_EQ(number, "49 190 123456");
    ini.WriteString(schema::kNumbers, number, schema::NumberValue(number, number));
    EXPECT_TRUE(schema::IsNumberAllowed(ini, "49 190 123456"));
    EXPECT_FALSE(schema::IsNumberAllowed(ini, "49190123456")) << "another form is a new number";
    const std::string path = "c:\\programme\\web\\web.exe";
    ini.WriteString(schema::kApplications, path, schema::ApplicationValue(path, path, "0A1B2C3D"));
    EXPECT_TRUE(schema::IsApplicationAllowed(ini, path, "0A1B2C3D"));
    EXPECT_FALSE(schema::IsApplicationAllowed(ini, path, "FFFFFFFF")) << "a replaced file is new";
    EXPECT_FALSE(schema::IsApplicationAllowed(ini, "c:\\other.exe", "0A1B2C3D"));
}

TEST(SettingsSchema, RunValueQuotesTheStarterInTheSuiteFolder) {
    EXPECT_EQ(schema::RunValueData("C:\\Programme\\VUR\\"), "\"C:\\Programme\\VUR\\fast.exe\"");
    EXPECT_STREQ(schema::kRunKeyPath, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run");
    EXPECT_STREQ(schema::kRunValueName, "VUR starten");
}
