// The formula editor through its buttons: the formula built, undo, the cell prompt, the checks
// of Apply and the template line handed to the options dialog.
#include <QApplication>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>

#include "app/stats/FFormula.h"
#include "core/FData.h"
#include "testutil.h"
#include "ui/textfit.h"

namespace quorlet {
namespace {

class FormulaWindowTest : public test::EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        UiHooks.ShowMessageBox = [this](const std::string& text) { messages.push_back(text); };
        UiHooks.AppendTemplateLine = [this](const std::string& line) { lines.push_back(line); };
        editor = std::make_unique<TFormula>();
        editor->Confirm = [this](const QString& question) {
            questions.push_back(question.toStdString());
            return answerYes;
        };
        UiHooks.ShowFormulaWindow();
    }
    void TearDown() override {
        editor.reset();
        EngineTest::TearDown();
    }
    // A token button below the fold is reached as the player does: unfolded first.
    void Click(const char* button) {
        QPushButton* b = editor->Button(button);
        ASSERT_NE(b, nullptr) << button;
        if (!b->isVisible() && editor->panelBtn->text() == QStringLiteral(">>>"))
            QTest::mouseClick(editor->panelBtn, Qt::LeftButton);
        ASSERT_TRUE(b->isVisible()) << button;
        QTest::mouseClick(b, Qt::LeftButton);
    }
    std::string Formula() const { return editor->edF->text().toStdString(); }

    std::unique_ptr<TFormula> editor;
    std::vector<std::string> messages, lines, questions;
    bool answerYes = false;
};

TEST_F(FormulaWindowTest, ButtonSequencesBuildTheFormulaAndApplyAppendsTheLine) {
    struct Case {
        std::vector<const char*> buttons;
        std::string formula;
        std::string line;
    };
    const Case cases[] = {
        {{"sbTIME", "sbDivide", "sbBBBV"}, " TIME / BBBV", "Rate|  TIME / BBBV"},
        {{"sbUSEDFLAGSbrd", "sbPlus", "sbMINESbrd"}, " FLAGSUSED + MINES", "Rate|  FLAGSUSED + MINES"},
        {{"sbTIME", "sbD", "undoBtn", "undoBtn"}, " TIME", "Rate|  TIME"},
        {{"sbL", "sbMinus", "sbR", "sbopBrackets"}, " (  LCLK - RCLK )", "Rate|  (  LCLK - RCLK )"},
        {{"sbMBVres", "sbRPIgrnk"}, " GLOBRPI", "Rate|  GLOBRPI"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        UiHooks.ShowFormulaWindow();
        editor->edName->setText(QStringLiteral("Rate"));
        for (const char* b : c.buttons)
            Click(b);
        EXPECT_EQ(Formula(), c.formula);
        lines.clear();
        Click("applyBtn");
        EXPECT_EQ(lines, (std::vector<std::string>{c.line}));
        EXPECT_FALSE(editor->isVisible());
        EXPECT_TRUE(editor->edF->text().isEmpty());
    }
    EXPECT_TRUE(questions.empty());
}

TEST_F(FormulaWindowTest, SelectionIsReplacedByTheToken) {
    Click("sbTIME");
    Click("sbPlus");
    editor->edF->setSelection(1, 4);
    Click("sbRQPres");
    EXPECT_EQ(Formula(), "  RQP +");
}

TEST_F(FormulaWindowTest, CellPromptTakesOneDigitUpToEight) {
    for (const char* bad : {"12", "9", "x"}) {
        editor->AskCellNumber = [bad] { return QString::fromLatin1(bad); };
        Click("sbCELLbrd");
        EXPECT_EQ(Formula(), "") << bad;
    }
    EXPECT_EQ(messages, (std::vector<std::string>(3, "Please, input the cell number")));
    editor->AskCellNumber = [] { return QStringLiteral("3"); };
    Click("sbDONECELLbrd");
    EXPECT_EQ(Formula(), " DONECELL3");
    editor->AskCellNumber = [] { return QString(); };
    Click("sbCELLbrd");
    EXPECT_EQ(Formula(), " DONECELL3") << "cancelled: nothing inserted";
}

TEST_F(FormulaWindowTest, ApplyAsksBeforeKeepingPlaceholdersAndAddsNothingWithoutAFormula) {
    // The default name: Yes goes back to editing.
    Click("sbTIME");
    answerYes = true;
    Click("applyBtn");
    EXPECT_TRUE(editor->isVisible());
    EXPECT_TRUE(lines.empty());
    ASSERT_EQ(questions.size(), 1u);
    EXPECT_EQ(questions[0], "Counter indicator name is like \"myName\". Fix it?");
    // No keeps the name.
    answerYes = false;
    Click("applyBtn");
    EXPECT_EQ(lines, (std::vector<std::string>{"myName|  TIME"}));
    // An empty formula as text adds nothing and closes without asking.
    UiHooks.ShowFormulaWindow();
    questions.clear();
    lines.clear();
    editor->edName->setText(QStringLiteral("Note"));
    editor->cbasText->click();
    Click("applyBtn");
    EXPECT_TRUE(lines.empty());
    EXPECT_TRUE(questions.empty());
    EXPECT_FALSE(editor->isVisible());
    // The two check boxes exclude each other; the line takes the mark.
    UiHooks.ShowFormulaWindow();
    editor->edName->setText(QStringLiteral("xmyVar"));
    editor->cbasText->click();
    editor->cbasForm->click();
    EXPECT_FALSE(editor->cbasText->isChecked());
    Click("sbWIDTHbrd");
    Click("applyBtn");
    EXPECT_EQ(questions, (std::vector<std::string>{
                             "unknown variables (like \"mySomething\") detected. Resume editing?"}));
    EXPECT_EQ(lines, (std::vector<std::string>{"@xmyVar|  DX"}));
}

TEST_F(FormulaWindowTest, ClearUndoCollapseAndTheOpener) {
    Click("sbTIME");
    editor->edName->setText(QStringLiteral("Rate"));
    Click("clearBtn");
    EXPECT_EQ(Formula(), "");
    EXPECT_EQ(editor->edName->text(), QStringLiteral("myName"));
    Click("undoBtn");
    EXPECT_EQ(Formula(), " TIME");
    EXPECT_EQ(editor->panelBtn->text(), QStringLiteral("<<<")) << "unfolded for the token";
    Click("panelBtn");
    EXPECT_EQ(editor->height(), 177);
    EXPECT_EQ(editor->panelBtn->text(), QStringLiteral(">>>"));
    EXPECT_FALSE(editor->Button("sbTIME")->isVisible()) << "below the fold";
    Click("panelBtn");
    // Unfolded, the window reaches past the last token group.
    for (const TFormulaToken& t : FormulaTokens) {
        const QPushButton* b = editor->Button(t.button);
        EXPECT_TRUE(b->isVisible()) << t.button;
        EXPECT_TRUE(editor->rect().contains(QRect(b->mapTo(editor.get(), QPoint(0, 0)), b->size())))
            << t.button;
    }
    Click("panelBtn");
    EXPECT_EQ(editor->height(), 177);
    EXPECT_FALSE(editor->Button("sbRPIgrnk")->isVisible());
    editor->hide();

    QWidget opener;
    opener.show();
    for (int way = 0; way < 3; ++way) {
        editor->ShowEditorOver(&opener);
        EXPECT_FALSE(opener.isEnabled());
        if (way == 0) editor->q->trigger(); // Esc
        if (way == 1) Click("cancelBtn");
        if (way == 2) editor->close();
        EXPECT_TRUE(opener.isEnabled()) << way;
        EXPECT_FALSE(editor->isVisible());
    }
}

// The real window on the X server: unfolded, every token button shows whole inside the window,
// on the screen, and a click at its place reaches it.
class X11FormulaEditorTest : public FormulaWindowTest {
  protected:
    void SetUp() override {
        if (QGuiApplication::platformName() != QStringLiteral("xcb")) GTEST_SKIP() << "needs an X11 display";
        FormulaWindowTest::SetUp();
    }
};

TEST_F(X11FormulaEditorTest, EveryTokenButtonLiesInsideTheUnfoldedWindowAndTakesAClick) {
    ASSERT_TRUE(QTest::qWaitForWindowExposed(editor.get()));
    QTest::mouseClick(editor->panelBtn, Qt::LeftButton);
    QApplication::processEvents();
    const QRect screen = editor->screen()->geometry();
    EXPECT_TRUE(screen.contains(editor->frameGeometry())) << "unfolded window on the screen";
    for (const TFormulaToken& t : FormulaTokens) {
        SCOPED_TRACE(t.button);
        QPushButton* b = editor->Button(t.button);
        const QRect at(b->mapTo(editor.get(), QPoint(0, 0)), b->size());
        EXPECT_TRUE(editor->rect().contains(at));
        EXPECT_EQ(test::textfit::PushFault(b), "") << b->text().toStdString();
        QWidget* hit = editor->childAt(at.center());
        ASSERT_EQ(hit, b);
        if (!b->isEnabled() || std::string(t.button).find("CELL") != std::string::npos) continue;
        editor->edF->clear();
        QTest::mouseClick(hit, Qt::LeftButton);
        EXPECT_EQ(Formula(), t.token);
    }
}

} // namespace
} // namespace quorlet
