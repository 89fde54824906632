#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "stats/historycsv.h"
#include "test_queries_history.h"
#include "testutil.h"

namespace quorlet::test {
namespace {

class HistoryCsv : public EngineTest {
  protected:
    std::string Read(const std::string& name) const {
        std::ifstream in(Home() + name, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TGameRecord Sample(uint8_t level, uint16_t sec, uint8_t hund, uint16_t bbbv) {
    TGameRecord r = Game(level, sec, hund);
    r.day = 5, r.month = 3, r.year = 2024, r.hour = 7, r.minute = 8, r.second = 9;
    r.bbbv = bbbv;
    r.cellCount = {0, 10, 8, 4, 2, 1, 3, 1, 1};
    r.leftClicks = 11, r.rightClicks = 12, r.doubleClicks = 13;
    r.effLeftClicks = 14, r.effRightClicks = 15, r.effDoubleClicks = 16;
    r.openings = 17, r.islands = 18, r.path = 4000000000u;
    DeriveRecordFields(r);
    r.flagging = r.rightClicks > 0;
    return r;
}

TEST_F(HistoryCsv, FilesOfASmallHistory) {
    TGameRecord exp = Sample(2, 52, 7, 150);
    TGameRecord beg = Sample(0, 5, 3, 10);
    beg.rightClicks = 0, beg.flagging = 0;
    TGameRecord beg2 = Sample(0, 9, 99, 20);
    LoadHistory({exp, beg, beg2});
    Options.doRecorderStyleTimer = true;
    Options.doDotSeparator = false; // the files write "." all the same
    ASSERT_TRUE(WriteHistoryCsv());
    EXPECT_EQ(Read("stats_csv.csv"),
              "Day,Month,Year,Hour,Min,Sec,mode,Time,BBBV,BBBVs,style,cell0,cell1,cell2,cell3,cell4,cell5,cell6,"
              "cell7,cell8,Lcl,Rcl,Dcl,Leff,Reff,Deff,Openings,Islands,Path\r\n"
              "5,3,2024,7,8,9,BEG,6.03,10,1.98,NF,24,10,8,4,2,1,3,1,1,11,0,13,14,15,16,17,18,4000000000\r\n"
              "5,3,2024,7,8,9,BEG,10.99,20,2.00,Flag,24,10,8,4,2,1,3,1,1,11,12,13,14,15,16,17,18,4000000000\r\n"
              "5,3,2024,7,8,9,EXP,53.07,150,2.88,Flag,351,10,8,4,2,1,3,1,1,11,12,13,14,15,16,17,18,4000000000\r\n");
    const std::string html = Read("stats_csv.html");
    EXPECT_EQ(html.rfind("<html><head><title border=\"1\" cellspacing=\"2\" cellpadding=\"2\">quorlet "
                                  "stats csv file</title><style>",
                         0),
              0u);
    EXPECT_NE(html.find("<td>Islands</td><td>Path</td></tr>\r\n<tr><td>5</td><td>3</td><td>2024</td><td>7</td>"
                        "<td>8</td><td>9</td><td>BEG</td><td>6.03</td>"),
              std::string::npos);
    const std::string end = "<td>17</td><td>18</td><td>4000000000</td></tr>\r\n</table></body></html>\r\n";
    EXPECT_EQ(html.substr(html.size() - end.size()), end);
}

TEST_F(HistoryCsv, EmptyHistoryTouchesNoFile) {
    std::ofstream(Home() + "stats_csv.csv") << "old";
    EXPECT_TRUE(WriteHistoryCsv());
    EXPECT_EQ(Read("stats_csv.csv"), "old");
    EXPECT_FALSE(std::filesystem::exists(Home() + "stats_csv.html"));
}

TEST_F(HistoryCsv, UnwritableFileSaysCannotSave) {
    std::vector<std::string> messages;
    UiHooks.ShowMessageBox = [&](const std::string& t) { messages.push_back(t); };
    std::filesystem::create_directories(Home() + "stats_csv.csv/in-the-way");
    LoadHistory({Sample(1, 20, 0, 50)});
    EXPECT_FALSE(WriteHistoryCsv());
    EXPECT_EQ(messages, (std::vector<std::string>{"Cannot save file"}));
    EXPECT_TRUE(std::filesystem::is_regular_file(Home() + "stats_csv.html"));
}

} // namespace
} // namespace quorlet::test
