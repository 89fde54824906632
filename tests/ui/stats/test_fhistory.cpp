// The history window opened on a fixture history: pages in the model, pies, backup, clear,
// search and closing with the main window enabled again.
#include <QAbstractItemModel>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QtCharts/QPieSeries>
#include <QtCharts/QPieSlice>

#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "stats/test_queries_history.h"
#include "app/stats/FHistory.h"
#include "stats/historyfile.h"
#include "ui/test_fmain_fixture.h"

namespace quorlet {
namespace {

class HistoryWindowTest : public MainWindowTest {
  protected:
    THistory& OpenHistory(std::vector<TGameRecord> records) {
        Open();
        // The window reloads "stats.dat" when it opens: the fixture goes there.
        std::ofstream out(Home() + "stats.dat", std::ios::binary);
        for (const TGameRecord& r : records) {
            const THistoryFileRecord stored = EncodeHistoryRecord(r);
            out.write(reinterpret_cast<const char*>(stored.data()), static_cast<std::streamsize>(stored.size()));
        }
        out.close();
        history = std::make_unique<THistory>(window.get());
        return *history;
    }
    void TearDown() override {
        history.reset();
        MainWindowTest::TearDown();
    }
    static QString Cell(const QTableView* view, int row, int col) {
        return view->model()->data(view->model()->index(row, col), Qt::DisplayRole).toString();
    }
    // The legend's lines, top down.
    static std::vector<std::string> LegendLines(const QWidget* legend) {
        std::vector<std::string> lines;
        for (const QLabel* label : legend->findChildren<QLabel*>())
            if (!label->text().isEmpty()) lines.push_back(label->text().toStdString());
        return lines;
    }
    static std::vector<std::pair<QString, int>> Slices(const QPieSeries* series) {
        std::vector<std::pair<QString, int>> slices;
        for (const QPieSlice* s : series->slices())
            slices.emplace_back(s->label(), static_cast<int>(s->value()));
        return slices;
    }
    std::unique_ptr<THistory> history;
};

TGameRecord Played(uint8_t level, uint16_t sec, uint16_t rightClicks) {
    TGameRecord r = test::Game(level, sec, 0);
    r.day = 5, r.month = 3, r.year = 2024;
    r.bbbv = 30;
    r.rightClicks = rightClicks;
    r.flagging = rightClicks > 0;
    DeriveRecordFields(r);
    return r;
}

TEST_F(HistoryWindowTest, OpensOnTheLevelAndShowsEachPage) {
    std::vector<TGameRecord> games;
    for (uint8_t level = 0; level < 3; ++level)
        for (int i = 0; i < 5; ++i)
            games.push_back(Played(level, static_cast<uint16_t>(10 + i), i < 2 ? 1 : 0));
    THistory& h = OpenHistory(games);
    ASSERT_TRUE(UiHooks.ShowHistoryWindow);
    GameLevel = glCustom;
    UiHooks.ShowHistoryWindow(0);
    EXPECT_TRUE(h.isVisible());
    EXPECT_FALSE(window->isEnabled());
    EXPECT_EQ(h.CurrentItem(), 15);
    EXPECT_EQ(h.lGridName->text(), "Expert Review");
    EXPECT_EQ(h.sg->model()->rowCount(), 17);
    EXPECT_EQ(Cell(h.sg, 1, 1), "5");
    EXPECT_EQ(h.sg->columnWidth(0), 94);

    h.PageSeL->setCurrentItem(h.PageSeL->topLevelItem(0)->child(0)); // Beg, Top Time
    EXPECT_EQ(h.CurrentItem(), 2);
    EXPECT_EQ(h.lGridName->text(), "Beginner Top Time");
    EXPECT_EQ(h.sg->model()->rowCount(), 6);
    EXPECT_EQ(Cell(h.sg, 1, 1), "10,00");

    h.SelectItem(7);
    EXPECT_TRUE(h.pChart->isVisible());
    EXPECT_FALSE(h.pGrid->isVisible());
    EXPECT_TRUE(h.Rotator->isActive());
    EXPECT_EQ(Slices(h.Series1), (std::vector<std::pair<QString, int>>{{"Flag-style", 2}, {"NF-style", 3}}));
    // The counts and shares read in the legend; no slice label is drawn to be cut at the pie.
    EXPECT_EQ(LegendLines(h.Legend1),
              (std::vector<std::string>{"Flag-style: 2 (40,0 %)", "NF-style: 3 (60,0 %)"}));
    for (const QPieSlice* s : h.Series1->slices())
        EXPECT_FALSE(s->isLabelVisible());
    h.SelectItem(23);
    EXPECT_TRUE(h.pChart2->isVisible());
    EXPECT_EQ(Slices(h.PieSeries1), (std::vector<std::pair<QString, int>>{{"Beg", 7}, {"Int", 6}, {"Exp", 5}}));
    EXPECT_EQ(LegendLines(h.Legend2),
              (std::vector<std::string>{"Beg: 7 (38,9 %)", "Int: 6 (33,3 %)", "Exp: 5 (27,8 %)"}));
    EXPECT_TRUE(h.Legend2->isVisible());
    const qreal angle = h.PieSeries1->pieStartAngle();
    h.RotatorTimer();
    EXPECT_EQ(h.PieSeries1->pieStartAngle(), angle + 1);
    h.Chart1Click();
    EXPECT_FALSE(h.Rotator->isActive());
    h.SelectItem(25);
    EXPECT_EQ(h.sg->model()->rowCount(), 18);
    h.SelectItem(26);
    EXPECT_TRUE(h.pSetup->isVisible());
    EXPECT_EQ(h.lSetupName->text(), "Setup");

    h.move(30, 40);
    h.close();
    EXPECT_FALSE(h.isVisible());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(Options.posHistW, h.width());
}

TEST_F(HistoryWindowTest, EscStoresNoPosition) {
    THistory& h = OpenHistory({Played(0, 10, 0)});
    Options.posHistX = 7;
    UiHooks.ShowHistoryWindow(1);
    h.SelectItem(7);
    h.ExitBtn->trigger();
    EXPECT_FALSE(h.isVisible());
    EXPECT_FALSE(h.Rotator->isActive());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(Options.posHistX, 7);
}

TEST_F(HistoryWindowTest, BackupAndClearWithTheQuestionAnswered) {
    THistory& h = OpenHistory({Played(0, 10, 0), Played(1, 20, 0)});
    UiHooks.ShowHistoryWindow(26);
    h.BackupBtn->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("Backup file: \"stats_backup_", 0), 0u);
    int asked = 0;
    h.AskYesNo = [&](const QString& q) {
        ++asked;
        EXPECT_EQ(q, "This will delete ALL history entires. Are you sure?");
        return false;
    };
    h.ClearBtn->click();
    EXPECT_EQ(GameHistory[1].day, 5); // No keeps everything
    EXPECT_TRUE(h.isVisible());
    h.AskYesNo = [&](const QString&) { return ++asked > 0; };
    h.ClearBtn->click();
    EXPECT_EQ(asked, 2);
    EXPECT_EQ(GameHistory[0].day, 0);
    EXPECT_FALSE(std::filesystem::exists(Home() + "stats.dat"));
    EXPECT_FALSE(h.isVisible());
    EXPECT_TRUE(window->isEnabled());
}

// Marks a file so that not even the administrator may delete it, for as long as it lives.
class TUndeletable {
  public:
    explicit TUndeletable(const std::string& path) : fd_(::open(path.c_str(), O_RDONLY)) {
        int flags = 0;
        if (fd_ >= 0 && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            set_ = ::ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0;
        }
    }
    ~TUndeletable() {
        int flags = 0;
        if (set_ && ::ioctl(fd_, FS_IOC_GETFLAGS, &flags) == 0) {
            flags &= ~FS_IMMUTABLE_FL;
            ::ioctl(fd_, FS_IOC_SETFLAGS, &flags);
        }
        if (fd_ >= 0) ::close(fd_);
    }
    bool Set() const { return set_; }

  private:
    int fd_;
    bool set_ = false;
};

// Clear closed the window and said nothing when "stats.dat" stayed: the games came back at
// the next opening. The real question answered Yes as the player does.
TEST_F(HistoryWindowTest, ClearThatCannotDeleteTheFileSaysSoAndKeepsWindowAndTable) {
    THistory& h = OpenHistory({Played(0, 10, 0), Played(1, 20, 0)});
    const TUndeletable locked(Home() + "stats.dat");
    if (!locked.Set()) GTEST_SKIP() << "the file system or this user cannot make a file undeletable";
    UiHooks.ShowHistoryWindow(26);
    ASSERT_TRUE(h.pSetup->isVisible());
    bool asked = false;
    QTimer::singleShot(0, [&] {
        auto* question = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(question, nullptr);
        asked = question->text() == QStringLiteral("This will delete ALL history entires. Are you sure?");
        QTest::mouseClick(question->button(QMessageBox::Yes), Qt::LeftButton);
    });
    QTest::mouseClick(h.ClearBtn, Qt::LeftButton);
    EXPECT_TRUE(asked);
    EXPECT_EQ(messages, std::vector<std::string>{"Cannot save file\r\n" + Home() + "stats.dat"});
    EXPECT_TRUE(h.isVisible());
    EXPECT_FALSE(window->isEnabled());
    EXPECT_EQ(GameHistory[1].day, 5);
    EXPECT_EQ(std::filesystem::file_size(Home() + "stats.dat"), 2 * kHistoryFileRecordSize);
    h.ExitBtn->trigger();
}

TEST_F(HistoryWindowTest, SearchSortAndTheIndexOfSpeed) {
    THistory& h = OpenHistory({Played(2, 50, 0), Played(2, 40, 1), Played(1, 45, 0)});
    UiHooks.ShowHistoryWindow(27);
    EXPECT_TRUE(h.pSearch->isVisible());
    EXPECT_EQ(h.lSearchName->text(), "Search     ");
    EXPECT_EQ(Cell(h.sgs, 1, 0), ""); // only the header row shows
    EXPECT_EQ(h.sgs->model()->rowCount(), 1);
    EXPECT_TRUE(h.cbDate->isChecked());
    EXPECT_FALSE(h.cbTime->isChecked());
    h.cbDate->setChecked(false);
    h.cbInt->setChecked(false);
    h.searchBtn->click();
    ASSERT_EQ(h.sgs->model()->rowCount(), 4);
    EXPECT_EQ(Cell(h.sgs, 1, 0), "Avg");
    EXPECT_EQ(Cell(h.sgs, 1, 5), "45,0000");
    EXPECT_EQ(Cell(h.sgs, 2, 5), "50,00");
    h.cbSort->setCurrentIndex(0);
    h.sortBtn->click();
    EXPECT_EQ(Cell(h.sgs, 2, 5), "40,00");
    EXPECT_EQ(Cell(h.sgs, 2, 0), "1");
    h.seTimeS->setValue(41); // a range edit ticks its box
    EXPECT_TRUE(h.cbTime->isChecked());
    h.AskExcludePercents = [] { return QString("0"); };
    h.SpeedButton4->click();
    ASSERT_FALSE(messages.empty());
    EXPECT_EQ(messages.back().rfind("Results for 2 of 2 games (100%) are:", 0), 0u);
    h.hiderBtn->click();
    EXPECT_EQ(h.hiderBtn->text(), ">>>");
}

TEST_F(HistoryWindowTest, CsvMenuItemWritesBothFiles) {
    Open();
    test::LoadHistory({Played(0, 10, 0)});
    window->historyCSV->trigger();
    EXPECT_TRUE(std::filesystem::exists(Home() + "stats_csv.csv"));
    EXPECT_TRUE(std::filesystem::exists(Home() + "stats_csv.html"));
}

} // namespace
} // namespace quorlet

namespace quorlet {
namespace {

TEST_F(HistoryWindowTest, CancelledIndexOfSpeedShowsNothing) {
    THistory& h = OpenHistory({Played(2, 50, 0), Played(2, 40, 1)});
    UiHooks.ShowHistoryWindow(27);
    h.cbDate->setChecked(false);
    h.searchBtn->click();
    h.AskExcludePercents = [] { return std::nullopt; };
    messages.clear();
    h.SpeedButton4->click();
    EXPECT_TRUE(messages.empty());
    h.sClearBtn->click();
    h.SpeedButton4->click();
    EXPECT_EQ(messages, (std::vector<std::string>{"No data for calculations."}));
}

} // namespace
} // namespace quorlet
