// Every window of the program, opened as the player opens it, at its default size on the real
// platform: every visible text reads whole and lies inside its window. X11 only (fonts and the
// style's metrics are the real ones there); the ctest entry ui_tests_x11 runs it under xvfb-run.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QGuiApplication>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/FMain.h"
#include "app/FProgressBar.h"
#include "app/Fdebug.h"
#include "app/programwindows.h"
#include "app/settings/FAbout.h"
#include "app/settings/FMultiplayer.h"
#include "app/settings/FOptions.h"
#include "app/settings/Fcustom_board_size.h"
#include "app/settings/Fdebug_command.h"
#include "app/stats/FCounters.h"
#include "app/stats/FFormula.h"
#include "app/stats/FHistory.h"
#include "app/stats/Flhs_gain.h"
#include "app/stats/Flocal_high_scores.h"
#include "core/FData.h"
#include "core/uihooks.h"
#include "stats/counters.h"
#include "testutil.h"
#include "ui/textfit.h"

namespace quorlet {
namespace {

class X11WindowTextsTest : public test::EngineTest {
  protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) GTEST_SKIP() << "needs an X11 display";
        EngineTest::SetUp();
        // Rows for the counters window, so it shows as it does in play.
        std::ofstream(Home() + "_counter_template.txt", std::ios::binary)
            << "Time| TIME\r\n3BV| BBBV\r\n3BV/s| BBBV/TIMEREAL\r\n";
        windows = std::make_unique<TProgramWindows>();
        UiHooks.ShowMessageBox = [](const std::string&) {};
        windows->mainWindow->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(windows->mainWindow.get()));
    }
    void TearDown() override {
        windows.reset();
        EngineTest::TearDown();
    }
    // The window as it shows now, its layouts settled; `state` is "<window> <page>".
    void Check(QWidget* window, const std::string& state, bool menuBar = true) {
        ASSERT_TRUE(window->isVisible()) << state;
        EXPECT_TRUE(QTest::qWaitForWindowExposed(window)) << state;
        QApplication::processEvents();
        for (const test::TCutText& cut : test::CutTexts(window, menuBar)) {
            // One entry a text, however many pages show it.
            const std::string key = std::string(window->metaObject()->className()) + ": " + cut.where;
            auto it = cuts.begin();
            while (it != cuts.end() && it->key != key)
                ++it;
            if (it == cuts.end()) {
                cuts.push_back({key, cut.why, state});
            } else if (it->states.find(state) == std::string::npos) {
                it->states += ", " + state;
            }
        }
    }
    // Opened by `open`, checked in each state `step` puts it in, then closed by `close`.
    void CheckWindow(QWidget* window, const std::string& name, const std::function<void()>& open,
                     const std::vector<std::pair<std::string, std::function<void()>>>& steps,
                     const std::function<void()>& close) {
        open();
        if (steps.empty()) Check(window, name);
        for (const auto& [state, step] : steps) {
            step();
            Check(window, name + " " + state);
        }
        close();
        QApplication::processEvents();
    }

    struct TCut {
        std::string key, why, states;
    };
    std::unique_ptr<TProgramWindows> windows;
    std::vector<TCut> cuts;
};

TEST_F(X11WindowTextsTest, EveryTextOfEveryWindowReadsWholeAtTheDefaultSize) {
    TMain* main = windows->mainWindow.get();
    // The main window on each level; the menu bar of a narrow board shortens its captions
    // on purpose, so it is checked from 12 columns up.
    const std::pair<const char*, void (TMain::*)()> levels[] = {
        {"Beginner", &TMain::BeginnerBtnClick},
        {"Intermediate", &TMain::IntermediateBtnClick},
        {"Expert", &TMain::ExpertBtnClick}};
    for (const auto& [level, click] : levels) {
        (main->*click)();
        QApplication::processEvents();
        Check(main, std::string("main window ") + level, LastColumn >= 11);
    }
    main->BeginnerBtnClick();

    TOptions_window* options = windows->optionsWindow.get();
    std::vector<std::pair<std::string, std::function<void()>>> optionPages;
    for (int page = 1; page <= TOptions_window::kPageCount; ++page)
        optionPages.emplace_back("page " + std::to_string(page), [options, page] {
            options->PageSeL->setCurrentItem(options->PageSeL->topLevelItem(page - 1));
        });
    CheckWindow(
        options, "options", [main] { main->PreferencesBtnClick(); }, optionPages,
        [options] { options->ExitBtnClick(); });

    // The formula editor over the options dialog's Counters page, folded and unfolded.
    TFormula* formula = windows->formulaEditor.get();
    CheckWindow(
        formula, "formula editor",
        [main, options] {
            main->PreferencesBtnClick();
            options->PageSeL->setCurrentItem(options->PageSeL->topLevelItem(7));
            options->sbAddFormulaClick();
        },
        {{"folded", [] {}}, {"unfolded", [formula] { formula->panelBtnClick(); }}},
        [formula, options] {
            formula->panelBtnClick();
            formula->cancelBtnClick();
            options->ExitBtnClick();
        });

    THistory* history = windows->historyWindow.get();
    std::vector<std::pair<std::string, std::function<void()>>> historyPages;
    for (int item : {1, 7, 22, 23, 26, 27})
        historyPages.emplace_back("item " + std::to_string(item),
                                  [history, item] { history->SelectItem(item); });
    CheckWindow(
        history, "history", [main] { main->StatisticsBtnClick(); }, historyPages,
        [history] { history->ExitBtnClick(); });

    TLocal_High_Scores* scores = windows->localHighScores.get();
    std::vector<std::pair<std::string, std::function<void()>>> scorePages;
    for (int page = 0; page < 6; ++page)
        scorePages.emplace_back("page " + std::to_string(page + 1),
                                [scores, page] { scores->pager->setCurrentIndex(page); });
    CheckWindow(
        scores, "high scores", [main] { main->HighScoresBtnClick(); }, scorePages,
        [scores] { scores->ExitBtnClick(); });

    CheckWindow(
        windows->customBoard.get(), "custom board", [main] { main->CustomBtnClick(); }, {},
        [this] { windows->customBoard->hide(); });
    CheckWindow(
        windows->aboutBox.get(), "about", [main] { main->AboutBtnClick(); }, {},
        [this] { windows->aboutBox->hide(); });
    Tdebug* debug = windows->debugWindow.get();
    CheckWindow(
        debug, "debug log", [main] { main->ShowDebugProtocol1Click(); }, {}, [] {});
    CheckWindow(
        windows->debugCommandBox.get(), "debug command", [debug] { debug->CommandBtnClick(); }, {},
        [this, debug] {
            windows->debugCommandBox->hide();
            debug->hide();
        });
    CheckWindow(
        windows->multiplayerWindow.get(), "multiplayer", [] { UiHooks.ShowMultiplayerWindow(); }, {},
        [this] { windows->multiplayerWindow->hide(); });
    CheckWindow(
        windows->progressBar.get(), "playback bar", [main] { main->ShowProgressBarWindow(); }, {},
        [this] { windows->progressBar->hide(); });
    CheckWindow(
        windows->counters.get(), "counters", [] { ShowCountersWindow(); }, {}, [] { HideCountersWindow(); });
    CheckWindow(
        windows->highScoreNotice.get(), "new-record notice",
        [] { UiHooks.ShowHighScoreNotice("Congratulations with\r\n2 high scores"); }, {},
        [this] { windows->highScoreNotice->hide(); });

    for (const TCut& cut : cuts)
        std::printf("[ cut ] %s: %s [%s]\n", cut.key.c_str(), cut.why.c_str(), cut.states.c_str());
    EXPECT_TRUE(cuts.empty()) << cuts.size() << " texts cut (listed above)";
}

} // namespace
} // namespace quorlet
