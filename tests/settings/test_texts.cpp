// The interface text table, language files and the shipped English template.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/FData.h"
#include "settings/FCap.h"
#include "settings/languageencoding.h"
#include "testutil.h"

namespace quorlet {
namespace {

const std::filesystem::path kShippedEnglish =
    std::filesystem::path(__FILE__).parent_path().parent_path().parent_path() / "_english.lng";

class TextTableTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        DebugWindowOn = 1;
        Options.langFileName = "test.lng";
    }
    void WriteLanguageFile(const std::string& bytes) {
        std::ofstream(Home() + Options.langFileName, std::ios::binary) << bytes;
    }
    static bool Logged(const std::string& text) {
        for (const std::string& line : DebugLogLines)
            if (line.size() >= text.size() && line.compare(line.size() - text.size(), text.size(), text) == 0)
                return true;
        return false;
    }
    static bool LoggedContaining(const std::string& part) {
        for (const std::string& line : DebugLogLines)
            if (line.find(part) != std::string::npos) return true;
        return false;
    }
    static bool TableIsDefault() { return UITextTable == DefaultUITextTable(); }
};

struct KeyText {
    const char* key;
    const char* text;
};

TEST_F(TextTableTest, TableHoldsTheEnglishDefaultsByKey) {
    const KeyText cases[] = {
        {"0000", "NF-style"},
        {"0021", "about"},
        {"0035", "Cancel"},
        {"0121", "Cancel"},
        {"0185", "History file corrupted. File has been renamed to \"history_corrupt_<date>.dat\""},
        {"0201", "Best  Time"},
        {"0386", "high scores"},
    };
    for (const KeyText& c : cases)
        EXPECT_EQ(UIText(c.key), c.text) << c.key;
    EXPECT_NE(UITextIndex("0035"), UITextIndex("0121"));
    EXPECT_EQ(UITextTable[utNewRecord], "New Record");
    EXPECT_EQ(UITextTable[utUnknownVariablesQuestion],
              "unknown variables (like \"mySomething\") detected. Resume editing?");
}

TEST_F(TextTableTest, UnknownKeysHaveNoEntry) {
    for (const char* key : {"12", "0001", "0100", "0387", "", "00000", "abcd"})
        EXPECT_EQ(UITextIndex(key), -1) << key;
    EXPECT_EQ(UIText("0100"), "");
}

TEST_F(TextTableTest, SetDefaultTextsRestoresKeyedEntriesOnly) {
    UITextTable[UITextIndex("0009")] = "boom";
    UITextTable[utRQP] = "given at start";
    SetDefaultTexts();
    EXPECT_EQ(UIText("0009"), "blast");
    EXPECT_EQ(UITextTable[utRQP], "given at start");
}

TEST_F(TextTableTest, LanguageFileLinesFollowTheLineRules) {
    WriteLanguageFile("; comment line\r\n"
                      "0012=Porta\r\n"
                      "0021=Info\r\n"
                      "0013= Nome \r\n"
                      "12=short key\r\n"
                      ";0014=skipped\r\n"
                      "/0015=skipped\r\n"
                      "[0016=skipped]\r\n"
                      "0017 no equals sign\r\n"
                      "0=x\r\n"
                      "0018=\r\n"
                      "0019=first\r\n"
                      "0019=second\r\n"
                      "0020=a=b\r\n"
                      "0022 =blank before equals\r\n"
                      "0023=\xE9t\xE9\n"
                      "0024=no line end");
    LoadLanguageFile();
    const KeyText cases[] = {
        {"0012", "Porta"},
        {"0021", "Info Minesweeper Quorlet"},
        {"0013", " Nome "},
        {"0014", "IP"},
        {"0015", "Host Session"},
        {"0016", "Connect"},
        {"0017", "Disconnect"},
        {"0018", ""},
        {"0019", "second"},
        {"0020", "a=b"},
        {"0022", "L"},
        {"0023", "\xC3\xA9t\xC3\xA9"},
        {"0024", "no line end"},
    };
    for (const KeyText& c : cases)
        EXPECT_EQ(UIText(c.key), c.text) << c.key;

    EXPECT_TRUE(Logged("#unknown language definition 12=short key"));
    EXPECT_TRUE(Logged("#unknown language definition 0022 =blank before equals"));
    EXPECT_FALSE(LoggedContaining("skipped"));
    EXPECT_FALSE(LoggedContaining("no equals"));
}

TEST_F(TextTableTest, LowerCaseKeysAreUpperCasedBeforeTheLookup) {
    // No key has letters, so the upper-cased key is still unknown; the log keeps the line as written.
    WriteLanguageFile("00a1=x\n");
    LoadLanguageFile();
    EXPECT_TRUE(Logged("#unknown language definition 00a1=x"));
    EXPECT_TRUE(TableIsDefault());
}

TEST_F(TextTableTest, ByteOrderMarkBeforeTheFirstKeyIsIgnored) {
    WriteLanguageFile("\xEF\xBB\xBF"
                      "0009=Explosion\r\n0008=s\r\n");
    LoadLanguageFile();
    EXPECT_EQ(UIText("0009"), "Explosion");
    EXPECT_EQ(UIText("0008"), "s");
    EXPECT_FALSE(LoggedContaining("#unknown"));
}

TEST_F(TextTableTest, MissingLanguageFileLeavesEnglishAndSaysSo) {
    for (const char* name : {"test.lng", ""}) {
        Options.langFileName = name;
        UITextTable[UITextIndex("0007")] = "stale";
        DebugLogLines.clear();
        LoadLanguageFile();
        EXPECT_TRUE(TableIsDefault()) << name;
        EXPECT_TRUE(Logged("can not find prefered language file")) << name;
        EXPECT_FALSE(LoggedContaining("#")) << name;
    }
}

TEST_F(TextTableTest, SwitchingLanguageFilesRestoresEnglishForMissingKeys) {
    WriteLanguageFile("0007=Spiel gewonnen\n0008=Sek\n");
    LoadLanguageFile();
    EXPECT_EQ(UIText("0007"), "Spiel gewonnen");
    Options.langFileName = "other.lng";
    WriteLanguageFile("0008=s\n");
    LoadLanguageFile();
    EXPECT_EQ(UIText("0007"), "game win at");
    EXPECT_EQ(UIText("0008"), "s");
}

TEST_F(TextTableTest, UnreadableLanguageFileIsLoggedAndKeepsEnglish) {
    std::filesystem::create_directory(Home() + Options.langFileName);
    UITextTable[UITextIndex("0007")] = "stale";
    EXPECT_NO_THROW(LoadLanguageFile());
    EXPECT_TRUE(TableIsDefault());
    EXPECT_TRUE(LoggedContaining("#cannot read language file test.lng"));
}

TEST_F(TextTableTest, BinaryLanguageFileNeverCrashes) {
    std::string bytes;
    for (int i = 0; i < 4096; ++i)
        bytes += static_cast<char>((i * 37 + 11) % 256);
    WriteLanguageFile(bytes);
    EXPECT_NO_THROW(LoadLanguageFile());
}

// Regenerate the shipped file with QUORLET_WRITE_ENGLISH_LNG=1 after changing the table.
TEST_F(TextTableTest, ShippedEnglishFileMatchesTheTable) {
    const std::string expected = EnglishLanguageFileText();
    if (std::getenv("QUORLET_WRITE_ENGLISH_LNG"))
        std::ofstream(kShippedEnglish, std::ios::binary) << expected;
    std::ifstream in(kShippedEnglish, std::ios::binary);
    ASSERT_TRUE(in) << kShippedEnglish;
    const std::string shipped((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(shipped, expected);
}

TEST_F(TextTableTest, LoadingTheShippedEnglishFileChangesNoText) {
    Options.langFileName = "_english.lng";
    std::filesystem::copy_file(kShippedEnglish, Home() + "_english.lng");
    LoadLanguageFile();
    DebugWindowOn = 0;
    EXPECT_TRUE(TableIsDefault());
    EXPECT_FALSE(LoggedContaining("#"));
    EXPECT_FALSE(LoggedContaining("can not find"));
}

TEST_F(TextTableTest, EnglishTemplateIsInstalledOnlyWhereNoneIs) {
    const std::string path = Home() + "_english.lng";
    InstallEnglishLanguageFile();
    std::ifstream in(path, std::ios::binary);
    const std::string written((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(written, EnglishLanguageFileText());

    std::ofstream(path, std::ios::binary) << "0007=mine\r\n"; // a player's own edit stays
    InstallEnglishLanguageFile();
    std::ifstream again(path, std::ios::binary);
    EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), std::istreambuf_iterator<char>()),
              "0007=mine\r\n");
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));
}

TEST_F(TextTableTest, ClearTextTableEmptiesEveryEntry) {
    ClearTextTable();
    for (const std::string& text : UITextTable)
        ASSERT_TRUE(text.empty());
}

TEST(ByteTextTest, ValidUtf8StaysAndOtherBytesAreWindows1252) {
    struct Case {
        const char* bytes;
        bool valid;
        const char* utf8;
    };
    const Case cases[] = {
        {"plain", true, "plain"},
        {"\xE2\x82\xAC", true, "\xE2\x82\xAC"},
        {"\xF0\x9F\x98\x80", true, "\xF0\x9F\x98\x80"},
        {"\x80", false, "\xE2\x82\xAC"},
        {"\xE9", false, "\xC3\xA9"},
        {"\x81", false, "\xC2\x81"},
        {"\xC0\x80", false, "\xC3\x80\xE2\x82\xAC"},                             // overlong zero
        {"\xED\xA0\x80", false, "\xC3\xAD\xC2\xA0\xE2\x82\xAC"},                 // surrogate
        {"\xE2\x82", false, "\xC3\xA2\xE2\x80\x9A"},                             // cut short
        {"\xF4\x90\x80\x80", false, "\xC3\xB4\xC2\x90\xE2\x82\xAC\xE2\x82\xAC"}, // past U+10FFFF
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
        EXPECT_EQ(ByteTextToUtf8(c.bytes), c.utf8) << c.bytes;
    }
}

} // namespace
} // namespace quorlet
