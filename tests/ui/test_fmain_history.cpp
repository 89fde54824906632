#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "core/FData.h"
#include "stats/historyfile.h"
#include "ui/test_fmain_fixture.h"

namespace quorlet {
namespace {

TGameRecord StoredGame(uint8_t level, uint16_t seconds) {
    TGameRecord r;
    r.day = 9;
    r.month = 4;
    r.year = 2026;
    r.level = level;
    r.timeSec = seconds;
    r.bbbv = 60;
    return r;
}

// The history the player kept is in the table once the main window has started.
TEST_F(MainWindowTest, StartUpLoadsTheHistoryFile) {
    {
        std::ofstream out(Home() + "stats.dat", std::ios::binary);
        for (const TGameRecord& r : {StoredGame(glExpert, 95), StoredGame(glBeginner, 7)}) {
            const THistoryFileRecord stored = EncodeHistoryRecord(r);
            out.write(reinterpret_cast<const char*>(stored.data()),
                      static_cast<std::streamsize>(stored.size()));
        }
    }
    TMain& w = Open();
    ASSERT_TRUE(w.StartedUp());
    EXPECT_EQ(HistoryRecordCount(), 2u);
    EXPECT_EQ(GameHistory[0].timeSec, 95);
    EXPECT_EQ(GameHistory[1].level, glBeginner);
    EXPECT_EQ(LevelGameCounts, (std::array<uint32_t, 3>{1, 0, 1}));
    EXPECT_TRUE(messages.empty());
}

} // namespace
} // namespace quorlet
