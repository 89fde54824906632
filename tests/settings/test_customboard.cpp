// The custom board's rules: the mine limit, the checks of Apply, the standard sizes, and the
// board presets' names, files and folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/FData.h"
#include "settings/customboard.h"
#include "settings/languageapply.h"
#include "testutil.h"

namespace quorlet {
namespace {

namespace fs = std::filesystem;

TEST(CustomBoardTest, MineLimitChecksAndStandardSizes) {
    EXPECT_EQ(MaxCustomMines(8, 8), 63);
    EXPECT_EQ(MaxCustomMines(30, 30), 891);
    EXPECT_EQ(MaxCustomMines(10, 10), 99);
    EXPECT_EQ(MaxCustomMines(9, 9), 80);
    struct Case {
        int w, h, m;
        const char* error;
    };
    const Case cases[] = {
        {8, 8, 64, "0044"}, {8, 8, 63, ""},     {8, 8, 0, "0044"},    {7, 8, 10, "0042"},
        {31, 8, 10, "0042"}, {8, 7, 10, "0043"}, {8, 31, 900, "0043"}, {30, 30, 891, ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CustomBoardError(c.w, c.h, c.m), c.error) << c.w << "x" << c.h << " " << c.m;
    EXPECT_EQ(StandardLevelOf(8, 8, 10), uint8_t{0});
    EXPECT_EQ(StandardLevelOf(16, 16, 40), uint8_t{1});
    EXPECT_EQ(StandardLevelOf(30, 16, 99), uint8_t{2});
    EXPECT_EQ(StandardLevelOf(30, 16, 98), std::nullopt);
    EXPECT_EQ(StandardLevelOf(16, 30, 99), std::nullopt);
}

TEST(CustomBoardTest, PresetNamesRoundTrip) {
    EXPECT_EQ(BoardPresetFileName(9, 9, 11), "9x9-11mines_(13,580).qbp");
    EXPECT_EQ(BoardPresetFileName(16, 16, 40), "16x16-40mines_(15,625).qbp");
    EXPECT_EQ(BoardPresetFileName(30, 30, 1), "30x30-1mines_(00,111).qbp");
    EXPECT_EQ(BoardPresetFileName(8, 8, 1), "8x8-1mines_(01,562).qbp");
    EXPECT_EQ(DensityText(1, 30, 30), "00,111 %");
    struct Case {
        const char* name;
        bool loads;
        int w = 0, h = 0, m = 0;
    };
    const Case cases[] = {
        {"9x9-11mines_(13,580).qbp", true, 9, 9, 11},
        {"16X16-40MINES_(15,625).QBP", true, 16, 16, 40},
        {"/a/b-c/30x16-98mines_(20,416).qbp", true, 30, 16, 98},
        {"99x99-9999mines_(1).qbp", true, 99, 99, 9999}, // the spin edits clamp it
        {"9x9-11_(13,580).qbp", false},                // no "mines_("
        {"x9-11mines_(13,580).qbp", false},            // "x" first
        {"ax9-11mines_(13,580).qbp", false},           // no number before "x"
        {"9_(x9-11mines_(1).qbp", false},              // "_(" too early
        {"8x8-1mines_(01,562).qbp", true, 8, 8, 1},    // the shortest name: every mark at its edge
        {"9x-9-11mines_(13,580).qbp", false},          // empty height
        {"", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto p = ParseBoardPresetName(c.name);
        ASSERT_EQ(p.has_value(), c.loads);
        if (!p) continue;
        EXPECT_EQ(p->width, c.w);
        EXPECT_EQ(p->height, c.h);
        EXPECT_EQ(p->mines, c.m);
    }
}

class BoardPresetTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        UiHooks.ShowMessageBox = [this](const std::string& text) { messages.push_back(text); };
    }
    std::vector<std::string> messages;
};

// Fault guarded: the folder was built with a doubled separator.
TEST_F(BoardPresetTest, PresetsAreWrittenListedAndDeletedInTheirFolder) {
    EXPECT_EQ(BoardPresetsFolder(), Home() + "board_presets/");
    ASSERT_TRUE(SaveBoardPreset(9, 9, 11));
    std::ifstream in(Home() + "board_presets/9x9-11mines_(13,580).qbp", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}),
              "Quorlet Custom Board Preset\r\nversion=0.47\r\n");
    std::ofstream(Home() + "board_presets/OLD.QBP") << "";
    std::ofstream(Home() + "board_presets/.hidden.qbp") << "";
    std::ofstream(Home() + "board_presets/notes.txt") << "";
    fs::create_directory(Home() + "board_presets/dir.qbp");
    EXPECT_EQ(ListBoardPresets(),
              (std::vector<std::string>{".hidden.qbp", "9x9-11mines_(13,580).qbp", "OLD.QBP"}));
    DeleteBoardPreset("OLD.QBP");
    DeleteBoardPreset("../board_presets/.hidden.qbp"); // a path, not a name: ignored
    EXPECT_EQ(ListBoardPresets(), (std::vector<std::string>{".hidden.qbp", "9x9-11mines_(13,580).qbp"}));
    EXPECT_TRUE(messages.empty());
}

TEST_F(BoardPresetTest, AFolderThatCannotBeMadeIsReported) {
    std::ofstream(Home() + "board_presets") << "a file in the way";
    EXPECT_FALSE(EnsureBoardPresetsFolder());
    EXPECT_FALSE(SaveBoardPreset(9, 9, 11));
    ASSERT_EQ(messages.size(), 2u);
    EXPECT_EQ(messages[0], "Cannot create folder\r\n" + Home() + "board_presets/");
    EXPECT_EQ(ListBoardPresets(), std::nullopt);
}

} // namespace
} // namespace quorlet
