// TIniFile on disk: changes by other objects seen at once, no lost updates between writers, grouped saves,
// and a failed write that leaves the old content.
#include "shared/disk_ini_file.h"
#include "shared/errors.h"
#include "shared/securityunit.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Names = std::vector<std::string>;

} // namespace

TEST(DiskIniFile, WriteCreatesFileAndSectionWithCrLfLines) {
    vurtest::TempDir dir;
    vur::TIniFile ini(dir.File("vur.conf"));
    EXPECT_EQ(ini.ReadString("S", "k", "dflt"), "dflt");
    ini.WriteString("S", "k", "v");
    ini.WriteString("T", "a", "b");
    EXPECT_EQ(dir.Read("vur.conf"), "[S]\r\nk=v\r\n[T]\r\na=b\r\n");
}

TEST(DiskIniFile, EveryReadSeesWhatAnotherObjectWroteEvenWithEqualSizeAndTime) {
    vurtest::TempDir dir;
    vur::TIniFile reader(dir.File("vur.conf")), writer(dir.File("vur.conf"));
    // Same length each time and faster than the file system clock ticks: only the stamp rules can tell.
    for (int i = 0; i < 200; ++i) {
        const std::string value = "v" + std::to_string(100 + i % 900);
        writer.WriteString("S", "k", value);
        ASSERT_EQ(reader.ReadString("S", "k", ""), value) << i;
    }
    // A change by another program, not through this class, is seen too.
    dir.Write("vur.conf", "[S]\r\nk=hand made\r\n");
    EXPECT_EQ(reader.ReadString("S", "k", ""), "hand made");
    reader.WriteString("S", "j", "x");
    EXPECT_EQ(dir.Read("vur.conf"), "[S]\r\nk=hand made\r\nj=x\r\n");
}

TEST(DiskIniFile, TwoThreadsWritingDifferentKeysLoseNothing) {
    vurtest::TempDir dir;
    const std::string path = dir.File("vur.conf");
    const int count = 150;
    auto hammer = [&](const std::string& prefix) {
        vur::TIniFile ini(path);
        for (int i = 0; i < count; ++i) ini.WriteString("Liste", prefix + std::to_string(i), std::to_string(i));
    };
    std::thread a(hammer, "a"), b(hammer, "b");
    a.join();
    b.join();
    vur::TIniFile check(path);
    Names keys;
    check.ReadSection("Liste", keys);
    EXPECT_EQ(keys.size(), 2u * count);
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(check.ReadString("Liste", "a" + std::to_string(i), ""), std::to_string(i));
        EXPECT_EQ(check.ReadString("Liste", "b" + std::to_string(i), ""), std::to_string(i));
    }
}

TEST(DiskIniFile, TwoProcessesWritingSealedEntriesLoseNothing) {
    vurtest::TempDir dir;
    const std::string path = dir.File("vur.conf");
    const int count = 100;
    auto hammer = [&](const std::string& prefix) {
        vur::TSECURITYINI ini(path, "Besitzer", "12345-oem-0000001-54321");
        for (int i = 0; i < count; ++i)
            ini.WriteString("Verbindungen", prefix + std::to_string(i), prefix + "|" + std::to_string(i));
    };
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        hammer("49 190 ");
        _exit(0);
    }
    hammer("49 900 ");
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    vur::TSECURITYINI check(path, "Besitzer", "12345-oem-0000001-54321");
    Names keys;
    check.ReadSection("Verbindungen", keys);
    EXPECT_EQ(keys.size(), 2u * count);
    for (const char* prefix : {"49 190 ", "49 900 "})
        for (int i = 0; i < count; ++i)
            EXPECT_EQ(check.ReadString("Verbindungen", prefix + std::to_string(i), ""),
                      std::string(prefix) + "|" + std::to_string(i));
}

TEST(DiskIniFile, GroupedChangesAreStoredAtOnceAndMergeWithOtherWriters) {
    vurtest::TempDir dir;
    vur::TIniFile config(dir.File("vur.conf")), monitor(dir.File("vur.conf"));
    config.WriteString("Liste", "alt", "1");
    {
        vur::IniUpdate update(config);
        config.EraseSection("Liste");
        config.WriteString("Liste", "neu", "2");
        // Own changes are visible at once, others see the old state until the commit.
        EXPECT_EQ(config.ReadString("Liste", "alt", "-"), "-");
        EXPECT_EQ(config.ReadString("Liste", "neu", "-"), "2");
        EXPECT_EQ(monitor.ReadString("Liste", "alt", "-"), "1");
        EXPECT_EQ(monitor.ReadString("Liste", "neu", "-"), "-");
        monitor.WriteString("Andere", "k", "m");
        update.Commit();
    }
    EXPECT_EQ(monitor.ReadString("Liste", "alt", "-"), "-");
    EXPECT_EQ(monitor.ReadString("Liste", "neu", "-"), "2");
    EXPECT_EQ(config.ReadString("Andere", "k", "-"), "m");
}

TEST(DiskIniFile, AGroupLeftWithoutCommitChangesNothing) {
    vurtest::TempDir dir;
    vur::TIniFile ini(dir.File("vur.conf"));
    ini.WriteString("Liste", "alt", "1");
    const std::string before = dir.Read("vur.conf");
    try {
        vur::IniUpdate update(ini);
        ini.EraseSection("Liste");
        throw std::runtime_error("save interrupted");
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(dir.Read("vur.conf"), before);
    EXPECT_EQ(ini.ReadString("Liste", "alt", "-"), "1");
}

TEST(DiskIniFile, LinesThatCannotBeStoredAreRefused) {
    vurtest::TempDir dir;
    vur::TIniFile ini(dir.File("vur.conf"));
    EXPECT_THROW(ini.WriteString("S", "k", "two\r\nlines"), vur::EIniFileError);
    EXPECT_THROW(ini.WriteString("S\n", "k", "v"), vur::EIniFileError);
    EXPECT_THROW(ini.WriteString("S", "a=b", "v"), vur::EIniFileError);
    EXPECT_THROW(ini.WriteString("S", " [k", "v"), vur::EIniFileError);
    ini.WriteString("S", "k]", "v=w");
    EXPECT_EQ(ini.ReadString("S", "k]", ""), "v=w");
}

TEST(DiskIniFile, AFullDiskLeavesTheOldContent) {
    vurtest::TempDir dir;
    const std::string path = dir.File("vur.conf");
    {
        vur::TIniFile ini(path);
        for (int i = 0; i < 100; ++i) ini.WriteString("S", "k" + std::to_string(i), "old");
    }
    const std::string before = dir.Read("vur.conf");
    // The file-size limit stands in for a full disk: growing the file beyond it fails.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(before.size() + 16), static_cast<rlim_t>(before.size() + 16)};
        setrlimit(RLIMIT_FSIZE, &limit);
        vur::TIniFile ini(path);
        try {
            ini.WriteString("S", "k0", std::string(4096, 'n'));
        } catch (const vur::EIniFileError&) {
            _exit(3);
        }
        _exit(0);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 3) << "the failure is reported";
    EXPECT_EQ(dir.Read("vur.conf"), before);
}

TEST(DiskIniFile, AFileThatCannotBeReadReadsEmptyAndIsNotWrittenOver) {
    vurtest::TempDir dir;
    const std::string path = dir.File("vur.conf");
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
    vur::TIniFile ini(path);
    EXPECT_EQ(ini.ReadString("S", "k", "dflt"), "dflt");
    Names names{"x"};
    ini.ReadSections(names);
    EXPECT_TRUE(names.empty());
    EXPECT_THROW(ini.WriteString("S", "k", "v"), vur::EIniFileError);
}
