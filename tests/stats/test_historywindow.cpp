#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "stats/historywindow.h"
#include "test_queries_history.h"
#include "testutil.h"

namespace quorlet::test {
namespace {

class HistoryWindowRules : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        DebugWindowOn = 1;
        SystemTimeSource = [] { return TSystemTime{2024, 3, 0, 5, 7, 8, 9, 0}; };
        UiHooks.ShowMessageBox = [this](const std::string& t) { messages.push_back(t); };
    }
    std::vector<std::string> messages;
};

std::vector<std::string> Texts(const std::vector<TPieSlice>& slices) {
    std::vector<std::string> texts;
    for (const auto& s : slices)
        texts.push_back(s.label + " " + std::to_string(s.value));
    return texts;
}

TEST_F(HistoryWindowRules, PiesDrawEqualCountsApart) {
    EXPECT_EQ(Texts(StylePieSlices(0)), (std::vector<std::string>{"Flag-style 1"}));
    EXPECT_TRUE(StylePieSlices(-1).empty());
    EXPECT_TRUE(GamesPieSlices().empty());
    std::vector<TGameRecord> games;
    for (uint8_t level = 0; level < 3; ++level)
        for (int i = 0; i < 5; ++i) {
            TGameRecord r = Game(level, 10, 0);
            r.flagging = i < 2 + level;
            games.push_back(r);
        }
    LoadHistory(games);
    EXPECT_EQ(Texts(GamesPieSlices()), (std::vector<std::string>{"Beg 7", "Int 6", "Exp 5"}));
    EXPECT_EQ(GamesPieSlices()[1].colour, kChartColour1);
    EXPECT_EQ(Texts(StylePieSlices(0)), (std::vector<std::string>{"Flag-style 2", "NF-style 3"}));
    EXPECT_EQ(Texts(StylePieSlices(2)), (std::vector<std::string>{"Flag-style 4", "NF-style 1"}));
    EXPECT_EQ(Texts(StylePieSlices(-1)), (std::vector<std::string>{"Flag-style 9", "NF-style 6"}));
    EXPECT_EQ(StylePieSlices(-1)[0].colour, kChartColour5);
}

TEST_F(HistoryWindowRules, LegendLinesGiveEachSliceItsCountAndShare) {
    const std::vector<TPieSlice> games{{"Beg", 7, 0}, {"Int", 6, 0}, {"Exp", 5, 0}};
    Options.doDotSeparator = true;
    EXPECT_EQ(PieLegendText(games[0], games), "Beg: 7 (38.9 %)");
    EXPECT_EQ(PieLegendText(games[2], games), "Exp: 5 (27.8 %)");
    Options.doDotSeparator = false;
    EXPECT_EQ(PieLegendText(games[1], games), "Int: 6 (33,3 %)");
    const std::vector<TPieSlice> one{{"Flag-style", 1, 0}};
    EXPECT_EQ(PieLegendText(one[0], one), "Flag-style: 1 (100,0 %)");
    EXPECT_EQ(PieLegendText({"NF-style", 0, 0}, {}), "NF-style: 0 (0,0 %)");
}

TEST_F(HistoryWindowRules, ZoomBouncesBetweenItsLimits) {
    int zoom = 140;
    uint8_t growing = 1;
    RotatorZoomStep(zoom, growing);
    EXPECT_EQ(zoom, 141);
    EXPECT_EQ(growing, 0);
    zoom = 75;
    RotatorZoomStep(zoom, growing);
    EXPECT_EQ(zoom, 74);
    EXPECT_EQ(growing, 1);
}

TEST_F(HistoryWindowRules, OpeningPlacement) {
    const THistoryPlacement big = HistoryWindowPlacement({10, 10, 1200, 900}, {1024, 768});
    EXPECT_TRUE(big.maximised);
    const THistoryPlacement off = HistoryWindowPlacement({-5, 700, 800, 580}, {1024, 768});
    EXPECT_FALSE(off.maximised);
    EXPECT_EQ(off.rect.Left, 0);
    EXPECT_EQ(off.rect.Top, 188);
    EXPECT_EQ(HistoryOpeningItem(glBeginner), 1);
    EXPECT_EQ(HistoryOpeningItem(glIntermediate), 8);
    EXPECT_EQ(HistoryOpeningItem(glCustom), 15);
}

TEST_F(HistoryWindowRules, BackupAndClearNames) {
    const TSystemTime t{2024, 3, 0, 5, 7, 8, 9, 0};
    EXPECT_EQ(HistoryBackupName(t), "stats_backup_5-3-2024_7-8-9.dat");
    EXPECT_EQ(HistoryClearCopyName(t), "stats_backup_7h8m9s-5d3m2024y.dat");
}

TEST_F(HistoryWindowRules, BackupCopiesAndSaysSo) {
    std::ofstream(Home() + "stats.dat", std::ios::binary) << "records";
    EXPECT_TRUE(BackupHistoryFile());
    EXPECT_EQ(messages, (std::vector<std::string>{"Backup file: \"stats_backup_5-3-2024_7-8-9.dat\""}));
    std::ifstream in(Home() + "stats_backup_5-3-2024_7-8-9.dat");
    std::string copy;
    in >> copy;
    EXPECT_EQ(copy, "records");
}

TEST_F(HistoryWindowRules, FailedBackupSaysCannotSave) {
    EXPECT_FALSE(BackupHistoryFile()); // no history file to copy
    std::ofstream(Home() + "stats.dat") << "x";
    std::filesystem::create_directories(Home() + "stats_backup_5-3-2024_7-8-9.dat/in-the-way");
    EXPECT_FALSE(BackupHistoryFile());
    EXPECT_EQ(messages, (std::vector<std::string>{"Cannot save file", "Cannot save file"}));
}

// The backup read the whole history into memory, and a fifo in its place forever.
TEST_F(HistoryWindowRules, BackupOfAFifoOrFolderFailsAtOnce) {
    ASSERT_EQ(::mkfifo((Home() + "stats.dat").c_str(), 0600), 0);
    EXPECT_FALSE(BackupHistoryFile());
    std::filesystem::remove(Home() + "stats.dat");
    std::filesystem::create_directories(Home() + "stats.dat");
    EXPECT_FALSE(BackupHistoryFile());
    EXPECT_EQ(messages, (std::vector<std::string>{"Cannot save file", "Cannot save file"}));
    EXPECT_FALSE(std::filesystem::exists(Home() + "stats_backup_5-3-2024_7-8-9.dat"));
}

TEST_F(HistoryWindowRules, ClearKeepsACopyAndEmptiesTheTable) {
    LoadHistory({Game(0, 10, 0)});
    LevelGameCounts = {1, 0, 0};
    std::ofstream(Home() + "stats.dat") << "x";
    EXPECT_TRUE(ClearHistoryKeepingACopy());
    EXPECT_FALSE(std::filesystem::exists(Home() + "stats.dat"));
    EXPECT_TRUE(std::filesystem::exists(Home() + "stats_backup_7h8m9s-5d3m2024y.dat"));
    EXPECT_EQ(GameHistory[0].day, 0);
    EXPECT_EQ(LevelGameCounts[0], 0u);
    // Without a file there is nothing to keep: the table is emptied all the same.
    LoadHistory({Game(0, 10, 0)});
    EXPECT_TRUE(ClearHistoryKeepingACopy());
    EXPECT_EQ(GameHistory[0].day, 0);
    EXPECT_TRUE(messages.empty());
}

TEST_F(HistoryWindowRules, ClearNeverDeletesTheOnlyCopy) {
    LoadHistory({Game(0, 10, 0)});
    std::ofstream(Home() + "stats.dat") << "x";
    std::filesystem::create_directories(Home() + "stats_backup_7h8m9s-5d3m2024y.dat/in-the-way");
    EXPECT_FALSE(ClearHistoryKeepingACopy());
    EXPECT_TRUE(std::filesystem::exists(Home() + "stats.dat"));
    EXPECT_EQ(GameHistory[0].day, 1);
    EXPECT_EQ(messages, (std::vector<std::string>{"Cannot save file"}));
}

} // namespace
} // namespace quorlet::test
