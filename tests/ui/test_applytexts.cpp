// ApplyTexts over small stand-ins for its rules, then over the program's own windows.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/ApplyTexts.h"
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
#include "app/stats/Flocal_high_scores.h"
#include "core/FData.h"
#include "core/debuglog.h"
#include "core/uihooks.h"
#include "settings/FCap.h"
#include "settings/languageapply.h"
#include "settings/settingsfile.h"
#include "stats/counters.h"
#include "testutil.h"

namespace quorlet {
namespace {

template <typename T> T* Named(QWidget* parent, const char* name) {
    auto* w = new T(parent);
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

void SetText(const char* key, const char* text) {
    UITextTable[UITextIndex(key)] = text;
}

class ApplyTextsTest : public ::testing::Test {
  protected:
    void SetUp() override { ResetGlobals(); }
    void TearDown() override { ResetGlobals(); }
};

struct StandInMain {
    QMainWindow window;
    QMenu* game;
    QMenu* options;
    QMenu* help;
    QAction* exit;
    StandInMain() {
        window.setObjectName("TMain");
        game = window.menuBar()->addMenu(QString());
        game->setObjectName("GameMnu");
        exit = game->addAction(QString());
        exit->setObjectName("ExitBtn");
        options = window.menuBar()->addMenu(QString());
        options->setObjectName("OptionsMnu");
        help = window.menuBar()->addMenu(QString());
        help->setObjectName("HelpMnu");
    }
};

TEST_F(ApplyTextsTest, MainWindowMenusTakeTheirEntries) {
    LastColumn = 29;
    SetText("0237", "Beenden");
    StandInMain main;
    ApplyTexts();
    EXPECT_EQ(main.game->title().toStdString(), "Game");
    EXPECT_EQ(main.options->title().toStdString(), "Options");
    EXPECT_EQ(main.help->title().toStdString(), "Help");
    EXPECT_EQ(main.exit->text().toStdString(), "Beenden");
}

TEST_F(ApplyTextsTest, ControlsTakeCaptionsUpperCaseHintsAndPageItems) {
    QWidget history;
    history.setObjectName("THistory");
    auto* search = Named<QPushButton>(&history, "searchBtn");
    auto* flag = Named<QCheckBox>(&history, "cbF");
    auto* pages = Named<QTreeWidget>(&history, "PageSeL");
    // An outline: item 1 with children 2..7, then items 8.. at the top level.
    auto* beginner = new QTreeWidgetItem(pages);
    for (int i = 0; i < 6; ++i)
        new QTreeWidgetItem(beginner);
    for (int i = 0; i < 20; ++i)
        new QTreeWidgetItem(pages);
    QWidget formula;
    formula.setObjectName("TFormula");
    auto* clear = Named<QPushButton>(&formula, "clearBtn");
    SetText("0275", "Suche");

    ApplyTexts();

    EXPECT_EQ(history.windowTitle().toStdString(), "Statistics");
    EXPECT_EQ(search->text().toStdString(), "SUCHE");
    EXPECT_EQ(flag->text().toStdString(), "Flag");
    EXPECT_EQ(beginner->text(0).toStdString(), "Beginner");
    EXPECT_EQ(beginner->child(0)->text(0).toStdString(), "Top Time");
    EXPECT_EQ(pages->topLevelItem(1)->text(0).toStdString(), "Intermediate"); // item 8
    EXPECT_EQ(pages->topLevelItem(20)->text(0).toStdString(), "Suche");       // item 27
    EXPECT_EQ(clear->toolTip().toStdString(), "Clear");
    EXPECT_EQ(formula.windowTitle().toStdString(), "Counter Indicator Template Formula Builder");
}

TEST_F(ApplyTextsTest, DensityLabelFollowsTheCustomBoardFields) {
    QWidget custom;
    custom.setObjectName("Tcustom_board_size");
    auto* width = Named<QSpinBox>(&custom, "edWidth");
    auto* height = Named<QSpinBox>(&custom, "edHeight");
    auto* mines = Named<QSpinBox>(&custom, "edMines");
    for (QSpinBox* box : {width, height, mines})
        box->setRange(0, 999);
    auto* percents = Named<QLabel>(&custom, "lPercents");
    width->setValue(8), height->setValue(8), mines->setValue(10);
    ApplyTexts();
    EXPECT_EQ(percents->text().toStdString(), "15,625 %");
    EXPECT_EQ(custom.windowTitle().toStdString(), "Custom Board Setup");
    width->setValue(0);
    ApplyTexts();
    EXPECT_EQ(percents->text().toStdString(), "-");
}

TEST_F(ApplyTextsTest, LongMenuCaptionsShrinkOnlyOnANarrowBoardThatOverflows) {
    struct Case {
        uint8_t lastColumn;
        int width;
        bool shortened;
    };
    const Case cases[] = {{7, 120, true}, {7, 2000, false}, {29, 120, false}};
    for (const Case& c : cases) {
        ResetGlobals();
        LastColumn = c.lastColumn;
        SetText("0249", "Hilfe und Informationen");
        SetText("0226", "Spiel und Spielstand");
        StandInMain main;
        main.window.resize(c.width, 200);
        main.window.show();
        ApplyTexts();
        const std::string help = main.help->title().toStdString();
        EXPECT_EQ(help != "Hilfe und Informationen", c.shortened) << int(c.lastColumn) << " " << c.width;
        if (c.shortened) {
            EXPECT_EQ(help.rfind("Hilf", 0), 0u) << help;
            EXPECT_GE(main.game->title().size(), 3);
        }
    }
}

// The real windows: their object names must match the names the text table binds.
class ApplyTextsWindowsTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        UiHooks.ShowMessageBox = [](const std::string&) {};
    }
    void TearDown() override {
        debug.reset();
        main.reset();
        EngineTest::TearDown();
    }
    // Every keyed entry becomes "<key>!", so a control shows which entry reached it.
    static void MarkEveryEntry() {
        for (std::size_t i = 0; i < kKeyedUITextCount; ++i)
            UITextTable[i] = std::string(UITextDefaults[i].key) + "!";
    }
    static QString Shown(QObject* control) {
        if (auto* menu = qobject_cast<QMenu*>(control)) return menu->title();
        if (auto* action = qobject_cast<QAction*>(control)) return action->text();
        return {};
    }
    // Names of the window's bound controls that exist; each one must show its entry.
    static std::vector<std::string> CheckBound(QWidget* window, const char* form) {
        std::vector<std::string> found;
        for (const TTextBinding& b : TextBindings) {
            if (std::strcmp(b.window, form) != 0 || b.target != TTextTarget::Text) continue;
            QObject* control = window->findChild<QObject*>(QString::fromLatin1(b.control));
            if (!control) continue;
            found.emplace_back(b.control);
            EXPECT_EQ(Shown(control).toStdString(), std::string(b.key) + "!") << form << "." << b.control;
        }
        return found;
    }
    static bool Has(const std::vector<std::string>& names, const char* name) {
        for (const std::string& n : names)
            if (n == name) return true;
        return false;
    }
    std::unique_ptr<TMain> main;
    std::unique_ptr<Tdebug> debug;
};

TEST_F(ApplyTextsWindowsTest, StartUpHookFillsTheMainAndDebugWindows) {
    main = std::make_unique<TMain>(QString());
    main->show();
    main->ExpertBtnClick(); // a wide board: no menu shortening
    debug = std::make_unique<Tdebug>(main.get());
    ASSERT_TRUE(UiHooks.ApplyTexts);
    MarkEveryEntry();
    UiHooks.ApplyTexts();

    const auto mainControls = CheckBound(main.get(), "TMain");
    for (const char* name : {"GameMnu", "OptionsMnu", "HelpMnu", "NewBtn", "BeginnerBtn", "ExitBtn",
                             "PreferencesBtn", "ShowDebugProtocol1", "AboutBtn", "sbSavereplay"})
        EXPECT_TRUE(Has(mainControls, name)) << name;
    EXPECT_EQ(CheckBound(debug.get(), "Tdebug").size(), 5u);
    EXPECT_EQ(debug->windowTitle().toStdString(), DebugLogCaption());
    EXPECT_EQ(debug->windowTitle().left(9), QStringLiteral("0046! * ["));
}

TEST_F(ApplyTextsWindowsTest, LanguageFileNamedInTheSettingsReachesTheMenusAtStartUp) {
    Options.langFileName = "deutsch.lng";
    SaveSettings();
    std::ofstream(Home() + "deutsch.lng", std::ios::binary) << "0226=Spiel\r\n0237=Beenden\r\n";
    Options = tOptionsSet{};
    main = std::make_unique<TMain>(QString());
    EXPECT_EQ(main->GameMnu->title().toStdString(), "Spiel");
    EXPECT_EQ(main->ExitBtn->text().toStdString(), "Beenden");
    EXPECT_EQ(main->HelpMnu->title().toStdString(), "Help");
}

TEST_F(ApplyTextsWindowsTest, NarrowBoardShortensLongCaptionsToTheWindowWidth) {
    main = std::make_unique<TMain>(QString());
    main->show();
    ASSERT_LT(LastColumn, 11);
    SetText("0249", "Hilfe und Informationen");
    SetText("0226", "Spiel und Spielstand");
    ApplyTexts();
    const QString help = main->HelpMnu->title();
    const QString game = main->GameMnu->title();
    const QString options = main->OptionsMnu->title();
    EXPECT_LT(help.size(), 23);
    EXPECT_TRUE(QStringLiteral("Hilfe und Informationen").startsWith(help)) << help.toStdString();
    EXPECT_TRUE(main->menuBar()->sizeHint().width() <= main->width() ||
                help.size() + game.size() + options.size() <= 11);
}

// The program's own windows, every one created and opened: every control the text table names
// is on its window and shows the entry of the language file, at creation (the file named in the
// settings) and after a language change in the options dialog.
class ApplyTextsProgramTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        UiHooks.ShowMessageBox = [](const std::string&) {};
    }
    void TearDown() override {
        windows.reset();
        EngineTest::TearDown();
    }
    // A language file giving every keyed entry "<key><mark>".
    void WriteLanguageFile(const std::string& name, char mark) const {
        std::ofstream out(Home() + name, std::ios::binary);
        for (std::size_t i = 0; i < kKeyedUITextCount; ++i)
            out << UITextDefaults[i].key << "=" << UITextDefaults[i].key << mark << "\r\n";
    }
    static QString Shown(QWidget* window, const TTextBinding& b) {
        if (b.target == TTextTarget::Caption || b.target == TTextTarget::DebugCaption)
            return window->windowTitle();
        QObject* control = window->findChild<QObject*>(QString::fromLatin1(b.control));
        if (!control) return QStringLiteral("(no control)");
        if (b.target == TTextTarget::Hint) {
            if (auto* action = qobject_cast<QAction*>(control)) return action->toolTip();
            return qobject_cast<QWidget*>(control)->toolTip();
        }
        if (b.target == TTextTarget::ListItem) {
            auto* tree = qobject_cast<QTreeWidget*>(control);
            int n = 0;
            for (QTreeWidgetItemIterator it(tree); tree && *it; ++it)
                if (++n == b.item) return (*it)->text(0);
            return QStringLiteral("(no item)");
        }
        if (auto* menu = qobject_cast<QMenu*>(control)) return menu->title();
        if (auto* action = qobject_cast<QAction*>(control)) return action->text();
        if (auto* group = qobject_cast<QGroupBox*>(control)) return group->title();
        if (auto* button = qobject_cast<QAbstractButton*>(control)) return button->text();
        if (auto* label = qobject_cast<QLabel*>(control)) return label->text();
        return QStringLiteral("(no text)");
    }
    // Every binding whose control does not show the table's entry now, one line each.
    static std::vector<std::string> Unreached() {
        std::vector<std::string> faults;
        const QWidgetList windows = QApplication::topLevelWidgets();
        for (const TTextBinding& b : TextBindings) {
            QWidget* window = nullptr;
            for (QWidget* w : windows) {
                const QString name = w->objectName().isEmpty()
                                         ? QString::fromLatin1(w->metaObject()->className()).section(':', -1)
                                         : w->objectName();
                if (name == QLatin1String(b.window)) window = w;
            }
            const std::string where = std::string(b.window) + "." + b.control + " " + b.key;
            if (!window) {
                faults.push_back(where + ": no such window");
                continue;
            }
            QString expected = QString::fromStdString(UIText(b.key));
            if (b.target == TTextTarget::UpperText) expected = expected.toUpper();
            if (b.target == TTextTarget::DebugCaption) expected = QString::fromStdString(DebugLogCaption());
            const QString shown = Shown(window, b);
            if (shown != expected)
                faults.push_back(where + ": shows \"" + shown.toStdString() + "\", not \"" +
                                 expected.toStdString() + "\"");
        }
        return faults;
    }
    // Opens every window as the player does (the multiplayer window has no opener but its hook).
    void OpenEveryWindow() {
        TMain* main = windows->mainWindow.get();
        main->show();
        main->PreferencesBtnClick();
        windows->optionsWindow->ExitBtnClick();
        main->StatisticsBtnClick();
        windows->historyWindow->ExitBtnClick();
        main->HighScoresBtnClick();
        windows->localHighScores->ExitBtnClick();
        main->CustomBtnClick();
        windows->customBoard->hide();
        main->AboutBtnClick();
        windows->aboutBox->hide();
        main->ShowDebugProtocol1Click();
        windows->debugWindow->CommandBtnClick();
        windows->debugCommandBox->hide();
        windows->debugWindow->hide();
        UiHooks.ShowMultiplayerWindow();
        windows->multiplayerWindow->hide();
        main->ShowProgressBarWindow();
        windows->progressBar->hide();
        UiHooks.ShowFormulaWindow();
        windows->formulaEditor->hide();
        ShowCountersWindow();
        QApplication::processEvents();
    }
    static std::string Listed(const std::vector<std::string>& faults) {
        std::string text;
        for (const std::string& f : faults)
            text += "\n  " + f;
        return text;
    }
    std::unique_ptr<TProgramWindows> windows;
};

TEST_F(ApplyTextsProgramTest, EveryNamedControlOfEveryWindowTakesTheLanguageFileAtCreationAndAtAChange) {
    WriteLanguageFile("marked.lng", '!');
    WriteLanguageFile("second.lng", '?');
    Options.langFileName = "marked.lng";
    SaveSettings();
    Options = tOptionsSet{};
    windows = std::make_unique<TProgramWindows>();
    ASSERT_TRUE(windows->StartedUp());
    ASSERT_EQ(UIText("0056"), "0056!");
    windows->mainWindow->ExpertBtnClick(); // a wide board: no menu shortening
    OpenEveryWindow();
    const std::vector<std::string> atCreation = Unreached();
    EXPECT_TRUE(atCreation.empty()) << atCreation.size()
                                    << " controls kept another text:" << Listed(atCreation);

    // The other file chosen on the Language page and applied.
    TOptions_window* options = windows->optionsWindow.get();
    windows->mainWindow->LanguageBtnClick();
    const QList<QListWidgetItem*> second =
        options->LangFLB->findItems(QStringLiteral("second.lng"), Qt::MatchExactly);
    ASSERT_EQ(second.size(), 1);
    options->LangFLB->setCurrentItem(second.first());
    QTest::mouseClick(options->ApplyBtn, Qt::LeftButton);
    ASSERT_EQ(UIText("0056"), "0056?");
    windows->mainWindow->ExpertBtnClick();
    OpenEveryWindow();

    // The speed target is 50 ms for all windows; printed, not asserted.
    constexpr int kRounds = 20;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kRounds; ++i)
        ApplyTexts();
    std::printf("[ ApplyTexts ] %zu bindings over the program's windows: %.3f ms per call\n",
                kTextBindingCount, static_cast<double>(clock.nsecsElapsed()) / 1e6 / kRounds);
    const std::vector<std::string> afterChange = Unreached();
    EXPECT_TRUE(afterChange.empty()) << afterChange.size()
                                     << " controls kept another text:" << Listed(afterChange);
    // The setup and search pages are captioned by their outline items.
    THistory* history = windows->historyWindow.get();
    windows->mainWindow->StatisticsBtnClick();
    history->SelectItem(26);
    EXPECT_EQ(history->lSetupName->text().toStdString(), "0074?");
    history->SelectItem(27);
    EXPECT_EQ(history->lSearchName->text().toStdString(), "0275?     ");
    EXPECT_EQ(history->lGridName->text().toStdString(), "0089?") << "the Expert summary it opened on";
}

} // namespace
} // namespace quorlet
