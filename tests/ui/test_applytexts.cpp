// ApplyTexts over stand-in windows carrying the form and control names.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/ApplyTexts.h"
#include "app/FMain.h"
#include "app/Fdebug.h"
#include "core/FData.h"
#include "core/debuglog.h"
#include "core/uihooks.h"
#include "settings/FCap.h"
#include "settings/languageapply.h"
#include "settings/settingsfile.h"
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

// Stand-ins for the windows not built here, each with every control the table binds, beside the
// real main and debug windows: every binding must reach its control.
TEST_F(ApplyTextsWindowsTest, EveryBindingOfEveryWindowReachesItsControl) {
    main = std::make_unique<TMain>(QString());
    main->show();
    main->ExpertBtnClick();
    debug = std::make_unique<Tdebug>(main.get());
    std::map<std::string, std::unique_ptr<QWidget>> standIns;
    for (const TTextBinding& b : TextBindings) {
        const std::string form = b.window;
        if (form == "TMain" || form == "Tdebug") continue;
        std::unique_ptr<QWidget>& window = standIns[form];
        if (!window) {
            window = std::make_unique<QWidget>();
            window->setObjectName(QString::fromStdString(form));
        }
        const QString name = QString::fromLatin1(b.control);
        if (name.isEmpty() || window->findChild<QObject*>(name)) continue;
        if (b.target == TTextTarget::ListItem) {
            auto* pages = Named<QTreeWidget>(window.get(), b.control);
            for (int i = 0; i < 27; ++i)
                new QTreeWidgetItem(pages);
        } else {
            Named<QPushButton>(window.get(), b.control);
        }
    }
    MarkEveryEntry();

    // The speed target is 50 ms for all windows; printed, not asserted.
    constexpr int kRounds = 20;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < kRounds; ++i)
        ApplyTexts();
    std::printf("[ ApplyTexts ] %d windows, %zu bindings: %.3f ms per call\n",
                static_cast<int>(standIns.size()) + 2, kTextBindingCount,
                static_cast<double>(clock.nsecsElapsed()) / 1e6 / kRounds);

    std::vector<std::string> missingOnRealWindows;
    for (const TTextBinding& b : TextBindings) {
        QWidget* window = std::strcmp(b.window, "TMain") == 0    ? main.get()
                          : std::strcmp(b.window, "Tdebug") == 0 ? static_cast<QWidget*>(debug.get())
                                                                 : standIns.at(b.window).get();
        const QString marked = QString::fromLatin1(b.key) + QLatin1Char('!');
        const std::string where = std::string(b.window) + "." + b.control + " " + b.key;
        if (b.target == TTextTarget::Caption) {
            EXPECT_EQ(window->windowTitle(), marked) << where;
            continue;
        }
        if (b.target == TTextTarget::DebugCaption) {
            EXPECT_TRUE(window->windowTitle().startsWith(marked + QStringLiteral(" * ["))) << where;
            continue;
        }
        QObject* control = window->findChild<QObject*>(QString::fromLatin1(b.control));
        if (!control) {
            missingOnRealWindows.push_back(where);
            continue;
        }
        QString shown;
        if (b.target == TTextTarget::Hint)
            shown = qobject_cast<QWidget*>(control) ? qobject_cast<QWidget*>(control)->toolTip()
                                                    : qobject_cast<QAction*>(control)->toolTip();
        else if (b.target == TTextTarget::ListItem)
            shown = qobject_cast<QTreeWidget*>(control)->topLevelItem(b.item - 1)->text(0);
        else if (auto* button = qobject_cast<QAbstractButton*>(control))
            shown = button->text();
        else
            shown = Shown(control);
        EXPECT_EQ(shown, b.target == TTextTarget::UpperText ? marked.toUpper() : marked) << where;
    }
    // Controls of the main window that are not built yet are skipped, never an error.
    for (const std::string& where : missingOnRealWindows)
        std::printf("[ ApplyTexts ] not on the window yet: %s\n", where.c_str());
}

} // namespace
} // namespace quorlet
