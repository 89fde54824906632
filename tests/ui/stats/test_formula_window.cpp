// The formula editor through its buttons: the formula built, undo, the cell prompt, the checks
// of Apply and the template line handed to the options dialog.
#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include "core/FData.h"
#include "app/stats/FFormula.h"
#include "testutil.h"

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
    void Click(const char* button) {
        QPushButton* b = editor->Button(button);
        ASSERT_NE(b, nullptr) << button;
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
    EXPECT_EQ(editor->height(), 177);
    Click("panelBtn");
    EXPECT_EQ(editor->height(), 498);
    EXPECT_EQ(editor->panelBtn->text(), QStringLiteral("<<<"));
    Click("panelBtn");
    EXPECT_EQ(editor->height(), 177);
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

} // namespace
} // namespace quorlet
