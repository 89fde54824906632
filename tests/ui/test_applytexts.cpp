// ApplyTexts over stand-in windows carrying the form and control names.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTreeWidget>

#include <memory>

#include "app/ApplyTexts.h"
#include "core/FData.h"
#include "settings/FCap.h"

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

} // namespace
} // namespace quorlet
