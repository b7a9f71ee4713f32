// The admin tool's commands as support staff use them.
#include "commands.h"
#include "shared/program_settings.h"
#include "shared/sealing.h"
#include "support/temp_dir.h"
#include "updater/update_list.h"

#include "shared/sha512.h"
#include "updater/update_manifest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace {

struct Result {
    int code;
    std::string out, err;
};

Result Vurconf(const std::vector<std::string>& args) {
    vurconf::StringOut out, err;
    const int code = vurconf::RunVurconf(args, out, err);
    return {code, out.str(), err.str()};
}

} // namespace

TEST(Vurconf, SealAndUnsealConvertBetweenUtf8AndCp1252) {
    // Arguments and output are UTF-8 here, written as escapes so the CP1252 execution charset leaves them alone.
    const Result sealed = Vurconf({"seal", "Eigent\xC3\xBCmer", "Verd\xC3\xA4""chtige Anwendung"});
    ASSERT_EQ(sealed.code, 0) << sealed.err;
    // The token is the one the suite stores for the CP1252 bytes.
    EXPECT_EQ(sealed.out, vur::SealString("Eigent\xFCmer", "Verd\xE4""chtige Anwendung") + "\n");
    const Result plain = Vurconf({"unseal", "Eigent\xC3\xBCmer", sealed.out.substr(0, sealed.out.size() - 1)});
    EXPECT_EQ(plain.code, 0);
    EXPECT_EQ(plain.out, "Verd\xC3\xA4""chtige Anwendung\n");
}

TEST(Vurconf, HexModeTakesAndGivesRawBytes) {
    const Result sealed = Vurconf({"seal", "--hex", "00ff", "0080e4FF"});
    ASSERT_EQ(sealed.code, 0);
    EXPECT_EQ(sealed.out, vur::SealString(std::string("\x00\xFF", 2), std::string("\x00\x80\xE4\xFF", 4)) + "\n");
    const Result plain = Vurconf({"unseal", "--hex", "00FF", sealed.out.substr(0, sealed.out.size() - 1)});
    EXPECT_EQ(plain.out, "0080e4ff\n");
    EXPECT_EQ(Vurconf({"seal", "--hex", "0", "00"}).code, 2);
    EXPECT_EQ(Vurconf({"seal", "--hex", "zz", "00"}).code, 2);
}

TEST(Vurconf, MalformedTokenIsReportedWithTheExceptionMessage) {
    const Result r = Vurconf({"unseal", "p", "ABCDE"});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "Base64: Incorrect string format\n");
    EXPECT_EQ(r.out, "");
}

TEST(Vurconf, CrcPrintsChecksumTwoBlanksAndName) {
    vurtest::TempDir dir;
    dir.Write("abc", "abc");
    dir.Write("leer", "");
    const Result r = Vurconf({"crc", dir.File("abc"), dir.File("leer"), dir.File("fehlt")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "352441C2  " + dir.File("abc") + "\nFFFFFFFF  " + dir.File("leer") + "\nFFFFFFFF  " +
                         dir.File("fehlt") + "\n");
}

TEST(Vurconf, UsageErrorsExitWithTwo) {
    EXPECT_EQ(Vurconf({}).code, 2);
    EXPECT_EQ(Vurconf({"frobnicate"}).code, 2);
    EXPECT_EQ(Vurconf({"seal", "only-phrase"}).code, 2);
    EXPECT_EQ(Vurconf({"crc"}).code, 2);
    EXPECT_EQ(Vurconf({"seal", "p", "\xC3"}).code, 2);     // cut-off UTF-8
    EXPECT_EQ(Vurconf({"seal", "p", "\xE2\x82\xAC"}).code, 0); // the euro sign is in CP1252
    EXPECT_EQ(Vurconf({"seal", "p", "\xE2\x88\x9E"}).code, 2); // infinity is not
}

TEST(Vurconf, SetGetAndDumpWorkOnPlainTextInFileOrder) {
    vurtest::TempDir dir;
    const std::string file = dir.File("vur.conf");
    const std::vector<std::string> phrases = {"--owner", "Eigent\xC3\xBCmer", "--product", "12345-oem-0000001-54321"};
    auto with = [&](std::vector<std::string> head, std::vector<std::string> tail) {
        head.insert(head.end(), phrases.begin(), phrases.end());
        head.push_back(file);
        head.insert(head.end(), tail.begin(), tail.end());
        return Vurconf(head);
    };
    ASSERT_EQ(with({"set"}, {"Generell", "Verd\xC3\xA4""chtige Anwendung", "2"}).code, 0);
    ASSERT_EQ(with({"set"}, {"Verbindungen", "49 190 1", "B\xC3\xBCro|49 190 1"}).code, 0);
    ASSERT_EQ(with({"set"}, {"Generell", "AutoStart", ""}).code, 0);
    // The file holds what the suite's programs would have written with these phrases.
    vur::TSECURITYINI ini(file, "Eigent\xFCmer", "12345-oem-0000001-54321");
    EXPECT_EQ(ini.ReadInteger("Generell", "Verd\xE4""chtige Anwendung", 1), 2);
    EXPECT_EQ(ini.ReadString("Verbindungen", "49 190 1", ""), "B\xFCro|49 190 1");

    const Result got = with({"get"}, {"Verbindungen", "49 190 1"});
    EXPECT_EQ(got.code, 0);
    EXPECT_EQ(got.out, "B\xC3\xBCro|49 190 1\n");
    const Result empty = with({"get"}, {"Generell", "AutoStart"});
    EXPECT_EQ(empty.code, 0) << "an empty value is a value";
    EXPECT_EQ(empty.out, "\n");
    const Result missing = with({"get"}, {"Generell", "Neue Nummer"});
    EXPECT_EQ(missing.code, 1);
    EXPECT_EQ(missing.out, "");

    const Result dump = with({"dump"}, {});
    EXPECT_EQ(dump.code, 0);
    EXPECT_EQ(dump.out, "[Generell]\nVerd\xC3\xA4""chtige Anwendung=2\nAutoStart=\n[Verbindungen]\n49 190 1=B\xC3\xBCro|49 190 1\n");
}

TEST(Vurconf, SettingsCommandsReportBadTokensAndBadArguments) {
    vurtest::TempDir dir;
    const std::string file = dir.File("vur.conf");
    ASSERT_EQ(Vurconf({"set", "--owner", "o", "--product", "p", file, "S", "K", "V"}).code, 0);
    dir.Write("vur.conf", dir.Read("vur.conf") + "ABCDE=ABCD\r\n");
    const Result dump = Vurconf({"dump", "--owner", "o", "--product", "p", file});
    EXPECT_EQ(dump.code, 1);
    EXPECT_EQ(dump.err, "Base64: Incorrect string format\n");
    // The value of K is fine, but a hand-edited value behind another key is not.
    dir.Write("vur.conf", "[" + vur::SealString("o", "S") + "]\r\n" + vur::SealString("o", "K") + "=ABC\r\n");
    const Result get = Vurconf({"get", "--owner", "o", "--product", "p", file, "S", "K"});
    EXPECT_EQ(get.code, 1);
    EXPECT_EQ(get.err, "Base64: Incorrect string format\n");
    EXPECT_EQ(Vurconf({"get", "--owner", "o", file, "S", "K"}).code, 2) << "--owner needs --product";
    EXPECT_EQ(Vurconf({"get", "--owner", "o", "--product", "p", file, "S"}).code, 2);
    EXPECT_EQ(Vurconf({"set", "--owner", "o", "--product", "p", file, "S", "K"}).code, 2);
    EXPECT_EQ(Vurconf({"dump"}).code, 2);
    const Result broken = Vurconf({"set", "--owner", "o", "--product", "p", dir.File("fehlt/vur.conf"), "S", "K", "V"});
    EXPECT_EQ(broken.code, 1) << "a file that cannot be written is an error";
}

TEST(Vurconf, WithoutPhrasesTheInstallationsOnesAreUsed) {
    vurtest::TempDir dir;
    const std::string file = dir.File("vur.conf");
    ASSERT_EQ(Vurconf({"set", file, "Scanner", "Heuristik", "1"}).code, 0);
    const vur::PassPhrases mine = vur::InstallationPassPhrases();
    vur::TSECURITYINI ini(file, mine.nameKey, mine.valueKey);
    EXPECT_TRUE(ini.ReadBool("Scanner", "Heuristik", false));
    EXPECT_EQ(Vurconf({"get", file, "Scanner", "Heuristik"}).out, "1\n");
}

TEST(Vurconf, UpdatesListsAProgramFolderAsTheUpdaterReadsIt) {
    vurtest::TempDir dist, keys;
    ASSERT_EQ(Vurconf({"keygen", keys.File("k.key"), keys.File("k.pub")}).code, 0);
    EXPECT_EQ(Vurconf({"keygen", keys.File("k.key"), keys.File("other.pub")}).code, 1) << "a private key stays";
    const std::string publicHex = keys.Read("k.pub");
    ASSERT_EQ(publicHex.size(), 65u);
    vur::ed25519::PublicKey key;
    const std::string raw = vurtest::FromHex(publicHex.substr(0, 64));
    std::copy(raw.begin(), raw.end(), key.begin());
    std::filesystem::create_directories(dist.File("signaturen"));
    std::filesystem::create_directories(dist.File("quarant\xC3\xA4ne"));
    dist.Write("watch.dll", "abc");
    dist.Write("signaturen/test dialer.dat", "");
    dist.Write("hilfe.htm", "x");
    for (const char* ownOnly :
         {"vur.conf", "updates.dat", "quarant\xC3\xA4ne/1.dat", "watch.dllupdate.tmp", "watch.dllupdate3.tmp"})
        dist.Write(ownOnly, "not listed");
    EXPECT_EQ(Vurconf({"updates", dist.Path(), "http://127.0.0.1:8080/"}).code, 2) << "no list without a key";
    const Result written =
        Vurconf({"updates", dist.Path(), "http://127.0.0.1:8080/", "--key", keys.File("k.key"), "--serial", "42"});
    ASSERT_EQ(written.code, 0) << written.err;
    vur::updater::SignedManifest manifest;
    ASSERT_TRUE(vur::updater::VerifyList(key, dist.Read("updates.dat"), dist.Read("updates.dat.sig"), manifest));
    EXPECT_EQ(manifest.serial, 42u);
    ASSERT_EQ(manifest.entries.size(), 3u);
    const vur::updater::ManifestEntry* dll = manifest.Find("watch.dll");
    const vur::updater::ManifestEntry* empty = manifest.Find("signaturen\\test dialer.dat");
    ASSERT_TRUE(dll && empty);
    EXPECT_EQ(dll->size, 3u);
    EXPECT_EQ(std::string(dll->hash.begin(), dll->hash.end()), vur::Sha512Digest("abc"));
    EXPECT_EQ(std::string(empty->hash.begin(), empty->hash.end()), vur::Sha512Digest(""));
    EXPECT_FALSE(std::filesystem::exists(dist.File("watch.dll.sig"))) << "one signature for the whole update";
    EXPECT_NE(written.out.find("3 entries"), std::string::npos) << written.out;

    vur::updater::UpdateListReader list(dist.Read("updates.dat"));
    std::vector<std::string> seen;
    vur::updater::UpdateEntry entry;
    while (list.Next(entry))
        seen.push_back(entry.name + "|" + entry.file + "|" + std::to_string(entry.size) + "|" +
                       std::to_string(entry.checksum) + "|" + entry.url);
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "hilfe.htm|hilfe.htm|1|-1931733373|http://127.0.0.1:8080/hilfe.htm",
                        "signaturen\\test dialer.dat|signaturen\\test dialer.dat|0|-1|"
                        "http://127.0.0.1:8080/signaturen/test%20dialer.dat",
                        "watch.dll|watch.dll|3|891568578|http://127.0.0.1:8080/watch.dll"}));
    EXPECT_NE(dist.Read("updates.dat").find("\r\n"), std::string::npos);

    dist.Write("con.txt", "device");
    const std::string key_ = keys.File("k.key");
    EXPECT_EQ(Vurconf({"updates", dist.Path(), "http://h", "--key", key_}).code, 1) << "a name the updater refuses";
    EXPECT_EQ(Vurconf({"updates", dist.File("fehlt"), "http://h", "--key", key_}).code, 1);
    EXPECT_EQ(Vurconf({"updates", dist.Path(), "http://h", "--key", dist.File("hilfe.htm")}).code, 1) << "no key file";
    const std::string version = Vurconf({"version"}).out;
    EXPECT_EQ(version.rfind("vurconf, VUR 3.5 (Testversion)\n", 0), 0u) << version;
    EXPECT_NE(version.find("TEST update key"), std::string::npos) << "this tree builds with it";
    EXPECT_NE(version.find("\nminimum update serial: 0\n"), std::string::npos) << version;
}

// A release build's key is checked before it is compiled in: a key of vurconf keygen passes; a point of
// small order (here one of order 8 with its sign bit set), a y with no point and a damaged file do not.
TEST(Vurconf, CheckKeyPassesKeygenKeysOnly) {
    vurtest::TempDir keys;
    ASSERT_EQ(Vurconf({"keygen", keys.File("k.key"), keys.File("k.pub")}).code, 0);
    const Result good = Vurconf({"check-key", keys.File("k.pub")});
    EXPECT_EQ(good.code, 0) << good.err;
    EXPECT_EQ(good.out, keys.File("k.pub") + ": a key updates can be signed for\n");

    keys.Write("small.pub", "c7176a703d4dd84fba3c0b760d10670f2a2053fa2c39ccc64ec7fd7792ac03fa\n");
    keys.Write("nopoint.pub", "0200000000000000000000000000000000000000000000000000000000000000\n");
    keys.Write("short.pub", "0200\n");
    const std::pair<const char*, const char*> refused[] = {
        {"small.pub", " is a key of small order: anyone could sign updates for it\n"},
        {"nopoint.pub", " is not a point of the curve: no update signature would verify\n"},
        {"short.pub", " is not a public key file (64 hex digits)\n"},
        {"missing.pub", ""}};
    for (const auto& [name, message] : refused) {
        const Result r = Vurconf({"check-key", keys.File(name)});
        EXPECT_EQ(r.code, 1) << name;
        EXPECT_EQ(r.out, "") << name;
        if (*message) EXPECT_EQ(r.err, keys.File(name) + message);
    }
    EXPECT_EQ(Vurconf({"check-key"}).code, 2);
}
