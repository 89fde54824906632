// The board file, the text board and the screenshot files: bytes, names and failures.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/boardfile.h"
#include "core/screenshot.h"
#include "jpegdecode.h"
#include "settings/FCap.h"
#include "test_qvf_fixture.h"

namespace quorlet::test {
namespace {

namespace fs = std::filesystem;

void Touch(const std::string& path) {
    std::ofstream(path, std::ios::binary) << "x";
}

class BoardFileTest : public QvfTest {
  protected:
    void SetUp() override {
        QvfTest::SetUp();
        TimeZoneBias = 0;
        Options.CustomTimeZone = 0;
        Options.ReplayName = "Ann";
        SystemTimeSource = [] { return TSystemTime{2006, 3, 0, 5, 14, 7, 9, 0}; };
        UiHooks.ShowMessageBox = [this](const std::string& text) { shown.push_back(text); };
    }
    // The only file in "boards", or "" when there is not exactly one.
    std::string OnlyBoardFile() const {
        std::string found;
        int count = 0;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(Home() + "boards", ec)) {
            found = entry.path().string();
            ++count;
        }
        return count == 1 ? found : std::string();
    }
    std::vector<std::string> shown;
};

TEST_F(BoardFileTest, SavingIsRefusedBeforeTheFirstClickAndDuringARunningGame) {
    WaitingFirstClick = 1;
    EXPECT_FALSE(SaveBoardFile());
    EXPECT_TRUE(DebugLogLines.empty());
    StartLoadedGame(kBeginnerBoard, glBeginner);
    EXPECT_FALSE(SaveBoardFile());
    EXPECT_TRUE(Logged("#not allowed - Cannot save file"));
    EXPECT_TRUE(shown.empty());
    EXPECT_FALSE(fs::exists(Home() + "boards"));
}

TEST_F(BoardFileTest, AnExpertBoardFileHoldsTheSizeTheCountAndEveryMineColumnMajor) {
    // 99 mines: the first 99 cells in row-major order, so column-major order differs.
    std::string rows;
    int placed = 0;
    for (int r = 0; r < 16; ++r) {
        for (int c = 0; c < 30; ++c)
            rows += placed++ < 99 ? '*' : '.';
        rows += '\n';
    }
    LoadBoard(rows, glExpert);
    WaitingFirstClick = 0;
    GameOver = 1;
    Board3BV = 112;
    ASSERT_TRUE(SaveBoardFile());
    const std::string bytes = ReadFileText(OnlyBoardFile());
    ASSERT_EQ(bytes.size(), 4u + 198);
    EXPECT_EQ(bytes.substr(0, 4), std::string({30, 16, 0, 99}));
    // Column 0 holds rows 0..3 (rows 0..2 full, row 3 up to column 8); column 9 only rows 0..2.
    EXPECT_EQ(bytes.substr(4, 8), std::string({0, 0, 0, 1, 0, 2, 0, 3}));
    EXPECT_EQ(bytes.substr(4 + 2 * 36, 8), std::string({9, 0, 9, 1, 9, 2, 10, 0}));
    EXPECT_EQ(fs::path(OnlyBoardFile()).filename().string(), "Ann_30x16-99mines_3BV=112_05.03.2006_14-07-09.qbf");
    const std::string where = "/boards/Ann_30x16-99mines_3BV=112_05.03.2006_14-07-09.qbf";
    EXPECT_TRUE(Logged("Board saved to" + where));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Board saved to \r\n\r\n" + where);
}

TEST_F(BoardFileTest, ThePlayedFilesBoardIsSavedNotTheLastLiveOne) {
    // A stale live board string, as a game played before the video left it.
    BoardString = std::string({8, 8, 0, 1, 0, 0});
    LoadBoard("..\n.*\n", glCustom);
    WaitingFirstClick = 0;
    ReplayMode = 1;
    Board3BV = 3;
    ASSERT_TRUE(SaveBoardFile());
    const std::string file = OnlyBoardFile();
    EXPECT_EQ(ReadFileText(file), std::string({2, 2, 0, 1, 1, 1}));
    EXPECT_NE(file.find("2x2-1mines_3BV=3_"), std::string::npos);
}

TEST_F(BoardFileTest, AFolderThatCannotBeMadeIsReportedWithTheFolder) {
    Touch(Home() + "boards"); // a file where the folder should be
    LoadBoard(kBeginnerBoard, glBeginner);
    WaitingFirstClick = 0;
    GameOver = 1;
    EXPECT_FALSE(SaveBoardFile());
    EXPECT_TRUE(Logged("#Cannot create folder"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Cannot create folder\r\n" + Home() + "boards/");
}

// Fault guarded: the name's folder level was made in the program folder while the file went
// into "boards", so such a player could never save a board ("Cannot save file").
TEST_F(BoardFileTest, APlayerNameWithABackslashSavesIntoItsFolderUnderBoards) {
    Options.ReplayName = "my team\\Ann";
    PlayWonBeginnerGame();
    ASSERT_TRUE(SaveBoardFile());
    const std::string name = "my_team/Ann_8x8-10mines_3BV=5_05.03.2006_14-07-09.qbf";
    EXPECT_TRUE(fs::is_regular_file(Home() + "boards/" + name));
    EXPECT_FALSE(fs::exists(Home() + "my_team"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Board saved to \r\n\r\n/boards/" + name);
}

TEST_F(BoardFileTest, TheTextBoardWritesEachCellsSymbolAndItsSeparator) {
    LoadBoard(kBeginnerBoard, glBeginner);
    std::string fresh;
    for (int r = 0; r < 8; ++r)
        fresh += "_,_,_,_,_,_,_,_,\r\n";
    EXPECT_EQ(TextBoard(","), fresh + "\r\n");

    LoadBoard("....\n....\n....\n", glCustom);
    const TCellState all[3][4] = {{0, 8, csQuestion, csPressedQuestion},
                                  {csBlasted, csWrongMark, csMine, csFlag},
                                  {csPressedCovered, csCovered, 3, csReserved}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 4; ++c)
            VisibleBoard[c][r] = all[r][c];
    EXPECT_EQ(TextBoard(" "), "0 8 ? ? \r\nX X X F \r\n  _ 3   \r\n\r\n");
    EXPECT_EQ(TextBoard(""), "08??\r\nXXXF\r\n _3 \r\n\r\n");
}

TEST_F(BoardFileTest, TheTextBoardFileIsWrittenWholeOrNotAtAll) {
    LoadBoard(kBeginnerBoard, glBeginner);
    ASSERT_TRUE(SaveTextBoard(Home() + "b.txt", ";"));
    EXPECT_EQ(ReadFileText(Home() + "b.txt"), TextBoard(";"));
    EXPECT_TRUE(Logged("Board saved to txt"));
    EXPECT_FALSE(SaveTextBoard(Home() + "missing/b.txt", ";"));
    EXPECT_FALSE(fs::exists(Home() + "missing"));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Cannot save file");
    EXPECT_NE(DebugLogLines[0].find("#Cannot save file " + Home() + "missing/b.txt"), std::string::npos);
}

TEST_F(BoardFileTest, ScreenshotsTakeTheFirstFreeNumberOfTheirOwnExtension) {
    const std::string folder = Home();
    EXPECT_EQ(NextScreenshotName(folder, ".jpg"), folder + "ScreenShot_0000.jpg");
    for (const char* name : {"ScreenShot_0000.jpg", "ScreenShot_0001.jpg", "ScreenShot_0002.jpg", "ScreenShot_0004.jpg"})
        Touch(folder + name);
    EXPECT_EQ(NextScreenshotName(folder, ".jpg"), folder + "ScreenShot_0003.jpg");
    EXPECT_EQ(NextScreenshotName(folder, ".bmp"), folder + "ScreenShot_0000.bmp");
}

TEST_F(BoardFileTest, PastTheLastFourDigitNumberScreenshotsCountOnInsteadOfOverwriting) {
    const std::string folder = Home();
    for (int n = 0; n <= 10000; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "ScreenShot_%04d.jpg", n);
        std::ofstream(folder + name);
    }
    EXPECT_EQ(NextScreenshotName(folder, ".jpg"), folder + "ScreenShot_10001.jpg");
    ASSERT_TRUE(SaveScreenshotBytes(folder, ".jpg", "new"));
    EXPECT_EQ(ReadFileText(folder + "ScreenShot_10001.jpg"), "new");
    EXPECT_EQ(ReadFileText(folder + "ScreenShot_10000.jpg"), "");
}

TEST_F(BoardFileTest, AnEmptyCaptureIsAFailedSaveNotAnEmptyFile) {
    const std::string folder = ScreenshotFolder();
    ASSERT_EQ(folder, Home() + "screenshots/");
    EXPECT_FALSE(SaveScreenshotBytes(folder, ".jpg", ""));
    EXPECT_TRUE(fs::is_empty(folder));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "Cannot save file");
}

// A folder whose names cannot be looked up used to count every failed look-up as a taken
// name and walk to the last of 100,000,000 numbers (minutes) before failing.
TEST_F(BoardFileTest, AScreenshotsFolderThatCannotBeSearchedFailsAtTheFirstName) {
    struct Case {
        const char* what;
        std::string folder;
        const char* reason;
    };
    const std::string locked = Home() + "locked/";
    fs::create_directories(locked);
    ::chmod(locked.c_str(), 0600);
    const std::vector<Case> cases = {
        {"no search right", locked, "Permission denied"},
        {"names too long to look up", FolderOfPathLength(Home(), 4080), "File name too long"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        // The system's administrator may search any folder.
        if (c.folder == locked && ::access((locked + ".").c_str(), F_OK) == 0) continue;
        shown.clear();
        std::string error;
        EXPECT_EQ(NextScreenshotName(c.folder, ".jpg", &error), "");
        EXPECT_EQ(error, std::string("ScreenShot_0000.jpg: ") + c.reason);
        EXPECT_FALSE(SaveScreenshotBytes(c.folder, ".bmp", "BM"));
        EXPECT_EQ(shown, std::vector<std::string>{"Cannot save file"});
        EXPECT_EQ(DebugLogLines.empty() ? "" : DebugLogLines[0].substr(13),
                  "#Cannot save file " + c.folder + " (ScreenShot_0000.bmp: " + c.reason + ")");
    }
    ::chmod(locked.c_str(), 0700);
}

TEST(JpegEncoder, APictureDecodesBackToItsSizeAndColoursAsABaselineFile) {
    const int w = 37, h = 21;
    const std::size_t stride = w * 3 + 5; // padded rows
    std::vector<uint8_t> rgb(stride * h, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = &rgb[y * stride + x * 3];
            // Four flat quadrants: red, green, blue, white.
            const int q = (x >= w / 2) + 2 * (y >= h / 2);
            const uint8_t colours[4][3] = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
            p[0] = colours[q][0];
            p[1] = colours[q][1];
            p[2] = colours[q][2];
        }
    std::string jpeg, error;
    ASSERT_TRUE(EncodeJpeg(rgb.data(), w, h, stride, jpeg, &error)) << error;
    TDecodedJpeg decoded;
    ASSERT_TRUE(DecodeJpeg(jpeg, decoded));
    EXPECT_EQ(decoded.width, w);
    EXPECT_EQ(decoded.height, h);
    EXPECT_EQ(decoded.components, 3);
    EXPECT_FALSE(decoded.progressive);
    // Away from the quadrant edges (chroma is subsampled there) every pixel is close.
    for (const auto& [x, y] : {std::pair{3, 3}, {30, 3}, {3, 17}, {30, 17}}) {
        for (int k = 0; k < 3; ++k) {
            const int got = decoded.pixels[(y * w + x) * 3 + k];
            const int want = rgb[y * stride + x * 3 + k];
            EXPECT_LE(std::abs(got - want), 12) << x << "," << y << " channel " << k;
        }
    }
}

TEST(JpegEncoder, AnEmptyOrTooLargePictureFailsWithAReasonInsteadOfEndingTheProgram) {
    std::string jpeg = "old", error;
    EXPECT_FALSE(EncodeJpeg(nullptr, 0, 0, 0, jpeg, &error));
    EXPECT_TRUE(jpeg.empty());
    EXPECT_FALSE(error.empty());
    // Past the format's 65500-pixel limit the library raises its own error.
    const std::vector<uint8_t> row(70000 * 3, 128);
    error.clear();
    EXPECT_FALSE(EncodeJpeg(row.data(), 70000, 1, row.size(), jpeg, &error));
    EXPECT_TRUE(jpeg.empty());
    EXPECT_FALSE(error.empty());
}

} // namespace
} // namespace quorlet::test
