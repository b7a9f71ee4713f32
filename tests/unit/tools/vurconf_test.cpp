// The admin tool's commands as support staff use them.
#include "commands.h"
#include "shared/sealing.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

struct Result {
    int code;
    std::string out, err;
};

Result Vurconf(const std::vector<std::string>& args) {
    std::ostringstream out, err;
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
