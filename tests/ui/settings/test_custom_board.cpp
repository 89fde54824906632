// The custom board dialog over the main window: opening from the Custom item, the spin edits
// and the density, Apply (standard sizes and Custom games), Cancel and Esc, and the presets.
#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/FMain.h"
#include "core/FData.h"
#include "app/settings/Fcustom_board_size.h"
#include "testutil.h"
#include "ui/test_fmain_fixture.h"

namespace quorlet {
namespace {

class CustomBoardWindowTest : public MainWindowTest {
  protected:
    void TearDown() override {
        dialog.reset();
        MainWindowTest::TearDown();
    }
    Tcustom_board_size& OpenDialog() {
        Open();
        DebugWindowOn = 1;
        dialog = std::make_unique<Tcustom_board_size>();
        window->CustomBtn->trigger();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_FALSE(window->isEnabled());
        return *dialog;
    }
    void Set(int w, int h, int m) {
        dialog->edWidth->setValue(w);
        dialog->edHeight->setValue(h);
        dialog->edMines->setValue(m);
    }
    static bool LoggedContaining(const std::string& text) {
        for (const std::string& line : DebugLogLines)
            if (line.find(text) != std::string::npos) return true;
        return false;
    }
    std::string Density() const { return dialog->lPercents->text().toStdString(); }

    std::unique_ptr<Tcustom_board_size> dialog;
};

TEST_F(CustomBoardWindowTest, OpensWithTheLevelsValuesAndThePresetsFolder) {
    Tcustom_board_size& d = OpenDialog();
    EXPECT_EQ(d.windowTitle().toStdString(), "Custom Board Setup");
    EXPECT_EQ(d.r2->text().toStdString(), "16 x 16 , 40 mines");
    EXPECT_EQ(d.edWidth->value(), 8);
    EXPECT_EQ(d.edMines->value(), 10);
    EXPECT_EQ(Density(), "15,625 %");
    EXPECT_TRUE(std::filesystem::is_directory(Home() + "board_presets"));
    d.r3->click();
    EXPECT_EQ(d.edWidth->value(), 30);
    EXPECT_EQ(d.edHeight->value(), 16);
    EXPECT_EQ(d.edMines->value(), 99);
    EXPECT_EQ(Density(), "20,625 %");
    d.bCancel->click();
    // From Expert: its values, and no standard button checked.
    window->ExpertBtn->trigger();
    d.r1->click();
    window->CustomBtn->trigger();
    EXPECT_EQ(d.edWidth->value(), 30);
    EXPECT_FALSE(d.r1->isChecked() || d.r2->isChecked() || d.r3->isChecked());
}

TEST_F(CustomBoardWindowTest, SpinEditsKeepTheMinesWithinTheBoard) {
    Tcustom_board_size& d = OpenDialog();
    Set(30, 30, 891);
    EXPECT_EQ(d.edMines->value(), 891);
    d.edMines->setValue(1);
    EXPECT_EQ(Density(), "00,111 %");
    d.edMines->setValue(891);
    d.edWidth->setValue(8); // clamps at once: trunc(8 x 30 x 0.99)
    EXPECT_EQ(d.edMines->value(), 237);
    d.edHeight->setValue(8);
    EXPECT_EQ(d.edMines->value(), 63);
    // The arrows stop at the limits.
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    d.edMines->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(d.edMines->value(), 63);
    d.edWidth->setValue(30);
    d.edWidth->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Up);
    EXPECT_EQ(d.edWidth->value(), 30);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(d.edWidth->value(), 29);
    // A preset's values go through the limits too.
    std::ofstream(Home() + "board_presets/50x9-999mines_(1,000).qbp") << "";
    d.RefreshPresetList();
    d.flb->setCurrentRow(0);
    d.bLoad->click();
    EXPECT_EQ(d.edWidth->value(), 30);
    EXPECT_EQ(d.edHeight->value(), 9);
    EXPECT_EQ(d.edMines->value(), 267);
}

// Fault guarded: the spin edits dropped every keystroke past their range (999 mines on 9 x 9
// became 9), so Apply's messages could never be seen.
TEST_F(CustomBoardWindowTest, TypedValuesOutOfRangeAreKeptAndApplyNamesTheWrongOne) {
    Tcustom_board_size& d = OpenDialog();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    const std::string width = "Board width value must be in interval 8..30";
    const std::string height = "Board height value must be in interval 8..30";
    const std::string mines = "Board mines value must be in interval 1..99% of board capacity";
    const struct {
        TSpinEdit* Tcustom_board_size::*field;
        const char* typed;
        std::string message;
    } cases[] = {
        {&Tcustom_board_size::edWidth, "5", width},    {&Tcustom_board_size::edWidth, "31", width},
        {&Tcustom_board_size::edHeight, "99", height}, {&Tcustom_board_size::edMines, "999", mines},
        {&Tcustom_board_size::edMines, "81", mines},   {&Tcustom_board_size::edMines, "0", mines},
        {&Tcustom_board_size::edMines, "80", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        if (!d.isVisible()) window->CustomBtn->trigger();
        Set(9, 9, 10);
        messages.clear();
        (d.*c.field)->setFocus();
        QWidget* typing = QApplication::focusWidget();
        ASSERT_NE(typing, nullptr);
        QTest::keyClick(typing, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(typing, QString::fromLatin1(c.typed));
        EXPECT_EQ((d.*c.field)->text(), QString::fromLatin1(c.typed)) << "the digits stay as typed";
        QTest::keyClick(typing, Qt::Key_Return); // the default button, Apply
        if (c.message.empty()) {
            EXPECT_TRUE(messages.empty());
            EXPECT_EQ(GameLevel, glCustom);
            EXPECT_EQ(MineCount, 80);
            continue;
        }
        EXPECT_EQ(messages, std::vector<std::string>{c.message});
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(GameLevel, glBeginner) << "nothing else changes";
    }
    // A size on its way to being typed ("1" of "12") leaves the mines alone.
    window->CustomBtn->trigger();
    Set(30, 30, 500);
    d.edWidth->setFocus();
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("12"));
    EXPECT_EQ(d.edMines->value(), 356) << "trunc(12 x 30 x 0.99), not trunc(1 x 30 x 0.99)";
}

TEST_F(CustomBoardWindowTest, ApplyStartsTheBoardOrItsStandardLevel) {
    Tcustom_board_size& d = OpenDialog();
    Set(16, 16, 40);
    d.bApply->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(GameLevel, glIntermediate);
    EXPECT_EQ(Options.doStartUpMode, 1);
    EXPECT_TRUE(window->IntermediateBtn->isChecked());

    window->CustomBtn->trigger();
    Set(30, 16, 98);
    DebugLogLines.clear();
    d.bApply->click();
    EXPECT_EQ(GameLevel, glCustom);
    EXPECT_EQ(LastColumn, 29);
    EXPECT_EQ(LastRow, 15);
    EXPECT_EQ(MineCount, 98);
    EXPECT_EQ(WaitingFirstClick, 1);
    EXPECT_TRUE(window->CustomBtn->isChecked());
    EXPECT_TRUE(LoggedContaining("custom mode selected"));
    EXPECT_TRUE(LoggedContaining("data clearance done for custom board 30x16, 98 mines"));
    EXPECT_EQ(window->box->width(), 30 * 16);

    window->CustomBtn->trigger();
    Set(8, 8, 63);
    d.bApply->click();
    EXPECT_EQ(MineCount, 63);
    EXPECT_TRUE(messages.empty());
}

TEST_F(CustomBoardWindowTest, CancelAndEscKeepTheGameAndGiveTheMainWindowBack) {
    Tcustom_board_size& d = OpenDialog();
    Set(20, 20, 50);
    d.bCancel->click();
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_EQ(GameLevel, glBeginner);
    EXPECT_EQ(LastColumn, 7);
    EXPECT_TRUE(window->BeginnerBtn->isChecked());
    EXPECT_FALSE(window->CustomBtn->isChecked());
    EXPECT_TRUE(LoggedContaining("custom mode dismissed"));
    window->CustomBtn->trigger();
    DebugLogLines.clear();
    d.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&d));
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(window->isEnabled());
    EXPECT_TRUE(LoggedContaining("custom mode dismissed"));
    // The program may close it (the boss key does): the main window comes back.
    window->CustomBtn->trigger();
    d.close();
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(CustomBoardWindowTest, PresetsAreSavedLoadedAndDeleted) {
    Tcustom_board_size& d = OpenDialog();
    d.bLoad->click();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "File not selected");
    Set(9, 9, 11);
    d.bSave->click();
    ASSERT_EQ(d.flb->count(), 1);
    EXPECT_EQ(d.flb->item(0)->text().toStdString(), "9x9-11mines_(13,580).qbp");
    EXPECT_TRUE(std::filesystem::exists(Home() + "board_presets/9x9-11mines_(13,580).qbp"));
    Set(20, 20, 20);
    d.flb->setCurrentRow(0);
    d.bLoad->click();
    EXPECT_EQ(d.edWidth->value(), 9);
    EXPECT_EQ(d.edHeight->value(), 9);
    EXPECT_EQ(d.edMines->value(), 11);
    // A file whose name is not a preset's does not load.
    std::ofstream(Home() + "board_presets/9x9-11_(13,580).qbp") << "";
    d.RefreshPresetList();
    ASSERT_EQ(d.flb->count(), 2);
    d.flb->setCurrentRow(0);
    d.bLoad->click();
    EXPECT_EQ(messages.back(), "Cannot load file");
    EXPECT_TRUE(LoggedContaining("#Cannot load file"));
    d.bDelete->click();
    d.flb->setCurrentRow(0);
    d.bDelete->click();
    EXPECT_EQ(d.flb->count(), 0);
    messages.clear();
    d.bDelete->click();
    EXPECT_EQ(messages, std::vector<std::string>{"File not selected"});
}

} // namespace
} // namespace quorlet
