// The private-profile text rules: name matching, order, trimming, quotes, and what edits leave in place.
#include "shared/ini_document.h"

#include <gtest/gtest.h>

using vur::IniDocument;

namespace {

std::string Value(const IniDocument& doc, const std::string& section, const std::string& key) {
    std::string value;
    return doc.Find(section, key, value) ? value : "<none>";
}

using Names = std::vector<std::string>;

} // namespace

TEST(IniDocument, NamesMatchWithoutLetterCaseAndTheFirstOccurrenceWins) {
    const IniDocument doc = IniDocument::Parse(
        "[Gen]\r\nKey=1\r\nkey=2\r\n[GEN]\r\nOther=3\r\n[Äpfel]\r\nÖl=4\r\n");
    EXPECT_EQ(Value(doc, "gen", "KEY"), "1");
    // Only the first section of a name is looked into, as the platform does.
    EXPECT_EQ(Value(doc, "Gen", "Other"), "<none>");
    // CP1252 umlauts fold too.
    EXPECT_EQ(Value(doc, "äPFEL", "öl"), "4");
    EXPECT_EQ(doc.SectionNames(), (Names{"Gen", "GEN", "Äpfel"}));
    EXPECT_EQ(doc.KeyNames("GEN"), (Names{"Key", "key"}));
}

TEST(IniDocument, BlanksAroundNamesAndValuesAreTrimmedAndQuotesStripped) {
    const IniDocument doc = IniDocument::Parse(
        "  [ Sec ]  \n\t a key \t=  some value  \r\nq=\"quoted\"\r\nh='x'\r\nhalf=\"open\r\none=\"\r\nempty=\r\n");
    EXPECT_EQ(Value(doc, "Sec", "a key"), "some value");
    EXPECT_EQ(Value(doc, " sec ", " A KEY "), "some value");
    EXPECT_EQ(Value(doc, "Sec", "q"), "quoted");
    EXPECT_EQ(Value(doc, "Sec", "h"), "x");
    EXPECT_EQ(Value(doc, "Sec", "half"), "\"open");
    EXPECT_EQ(Value(doc, "Sec", "one"), "\"");
    EXPECT_EQ(Value(doc, "Sec", "empty"), "");
}

TEST(IniDocument, CommentsBlankLinesAndLinesWithoutEqualsSign) {
    const std::string text = "lead=0\r\n[S]\r\n; note\r\nbare\r\nk=v\r\n[broken\r\n";
    const IniDocument doc = IniDocument::Parse(text);
    // A bare line (or an unclosed header) is neither listed nor found. Comments are never listed.
    EXPECT_EQ(doc.KeyNames("S"), (Names{"k"}));
    EXPECT_EQ(Value(doc, "S", "bare"), "<none>");
    // Text before the first section belongs to no section.
    EXPECT_EQ(Value(doc, "", "lead"), "<none>");
    EXPECT_EQ(doc.Serialize(), text);
    EXPECT_EQ(IniDocument::Parse("[S]\n\n\r\nk=v\n\n").Serialize(), "[S]\r\nk=v\r\n") << "blank lines go";
    // A bare line that reads like a key name does not hide the key below it (found by fuzzing).
    IniDocument shadowed = IniDocument::Parse("[S]\r\nAutoStart\r\nautostart=1\r\n");
    EXPECT_EQ(Value(shadowed, "S", "AutoStart"), "1");
    shadowed.Set("S", "AutoStart", "0");
    EXPECT_EQ(shadowed.Serialize(), "[S]\r\nAutoStart\r\nautostart=0\r\n");
}

TEST(IniDocument, WritesCreateSectionsAndKeysAtTheEnd) {
    IniDocument doc = IniDocument::Parse("[A]\nx=1\n\n[B]\ny=2\n");
    doc.Set("a", "z", "3");
    doc.Set("C", "w", " 4 ");
    doc.Set("b", "Y", "5");
    EXPECT_EQ(doc.Serialize(), "[A]\r\nx=1\r\nz=3\r\n[B]\r\ny=5\r\n[C]\r\nw=4\r\n");
    IniDocument empty = IniDocument::Parse("");
    empty.Set("S", "k", "v");
    EXPECT_EQ(empty.Serialize(), "[S]\r\nk=v\r\n");
}

TEST(IniDocument, EraseAndDeleteRemoveEveryOccurrence) {
    IniDocument doc = IniDocument::Parse("[S]\r\nk=1\r\nK=2\r\nj=3\r\n[T]\r\nk=4\r\n[s]\r\nk=5\r\n");
    doc.DeleteKey("s", "k");
    EXPECT_EQ(Value(doc, "S", "k"), "<none>");
    EXPECT_EQ(doc.KeyNames("S"), (Names{"j"}));
    EXPECT_EQ(Value(doc, "T", "k"), "4");
    doc.EraseSection("S");
    EXPECT_EQ(doc.SectionNames(), (Names{"T"}));
    EXPECT_EQ(doc.Serialize(), "[T]\r\nk=4\r\n");
    // The index follows the edits: a key added after a delete is found, one deleted is gone.
    doc.Set("T", "n", "6");
    doc.DeleteKey("T", "k");
    doc.Set("T", "k", "7");
    EXPECT_EQ(Value(doc, "T", "k"), "7");
    EXPECT_EQ(doc.KeyNames("T"), (Names{"n", "k"}));
}

TEST(IniDocument, SerializeThenParseKeepsWhatWasWritten) {
    IniDocument doc;
    doc = IniDocument::Parse("");
    for (int i = 0; i < 50; ++i) doc.Set("S" + std::to_string(i % 7), "k" + std::to_string(i), "v" + std::to_string(i));
    const IniDocument again = IniDocument::Parse(doc.Serialize());
    EXPECT_EQ(again.Serialize(), doc.Serialize());
    for (int i = 0; i < 50; ++i)
        EXPECT_EQ(Value(again, "s" + std::to_string(i % 7), "K" + std::to_string(i)), "v" + std::to_string(i));
}
