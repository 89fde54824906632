// The formula editor's rules: button sequences, undo, the cell answer, the checks and the line.
#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "stats/formulaeditor.h"

namespace quorlet {
namespace {

std::string TokenOf(const char* button) {
    for (const TFormulaToken& t : FormulaTokens)
        if (std::string(t.button) == button) return t.token;
    for (const TFormulaOperator& o : FormulaOperators)
        if (std::string(o.button) == button) return o.text;
    ADD_FAILURE() << "no button " << button;
    return {};
}

// One button action on the edit, by the button's name.
using TAction = std::function<void(TFormulaEdit&)>;
TAction Token(const char* button) {
    return [button](TFormulaEdit& e) { InsertFormulaToken(e, TokenOf(button)); };
}
TAction Op(const char* button) {
    return [button](TFormulaEdit& e) { AppendFormulaOperator(e, TokenOf(button)); };
}
TAction Select(std::size_t start, std::size_t length) {
    return [=](TFormulaEdit& e) {
        e.selStart = start;
        e.selLength = length;
    };
}
const TAction kUndo = [](TFormulaEdit& e) { UndoFormulaEdit(e); };
const TAction kClear = [](TFormulaEdit& e) { ClearFormulaEdit(e); };
const TAction kWrap = [](TFormulaEdit& e) { WrapFormulaInBrackets(e); };

TEST(FormulaEditor, ButtonSequencesGiveTheFormulaAndTheTemplateLine) {
    struct Case {
        const char* what;
        std::vector<TAction> actions;
        std::string formula;
        std::string line; // name "Rate", no check box
    };
    const Case cases[] = {
        {"TIME / BBBV",
         {Token("sbTIME"), Op("sbDivide"), Token("sbBBBV")},
         " TIME / BBBV",
         "Rate|  TIME / BBBV"},
        {"a selection is replaced",
         {Token("sbTIME"), Op("sbPlus"), Token("sbL"), Select(1, 4), Token("sbRQPres")},
         "  RQP + LCLK",
         "Rate|   RQP + LCLK"},
        {"operators ignore the selection",
         {Token("sbTIME"), Select(0, 5), Op("sbMult")},
         " TIME *",
         "Rate|  TIME *"},
        {"undo restores the formula before the last button",
         {Token("sbTIME"), Token("sbD"), kUndo},
         " TIME",
         "Rate|  TIME"},
        {"a second undo changes nothing",
         {Token("sbTIME"), Token("sbD"), kUndo, kUndo},
         " TIME",
         "Rate|  TIME"},
        {"undo after clear brings the formula back",
         {Token("sbTIME"), kClear, kUndo},
         " TIME",
         "Rate|  TIME"},
        {"clear empties: no line", {Token("sbTIME"), kClear}, "", ""},
        {"wrap in brackets",
         {Token("sbTIME"), Op("sbMinus"), Token("sbTIMEREAL"), kWrap},
         " (  TIME - TIMEREAL )",
         "Rate|  (  TIME - TIMEREAL )"},
        {"FLAGS USED is the flags placed", {Token("sbUSEDFLAGSbrd")}, " FLAGSUSED", "Rate|  FLAGSUSED"},
        {"MINES", {Token("sbMINESbrd")}, " MINES", "Rate|  MINES"},
        {"3BV/s", {Token("sbBBBV_S")}, " BBBV/TIMEREAL", "Rate|  BBBV/TIMEREAL"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TFormulaEdit edit;
        for (const TAction& a : c.actions)
            a(edit);
        EXPECT_EQ(edit.text, c.formula);
        EXPECT_EQ(FormulaTemplateLine("Rate", edit.text, false, false), c.line);
    }
}

TEST(FormulaEditor, TemplateLineMarksTextAndPreviousFormulaLines) {
    // "| " and then the token's own leading blank.
    EXPECT_EQ(FormulaTemplateLine("Time", " TIME", false, false), "Time|  TIME");
    EXPECT_EQ(FormulaTemplateLine("Note", "sec", true, false), "#Note| sec");
    EXPECT_EQ(FormulaTemplateLine("x", " DX", false, true), "@x|  DX");
    EXPECT_EQ(FormulaTemplateLine("x", "", true, false), "") << "an empty formula adds nothing";
}

TEST(FormulaEditor, FormulaNeverPassesItsLimit) {
    TFormulaEdit edit;
    edit.text = std::string(kFormulaMaxLength - 2, 'x');
    InsertFormulaToken(edit, " TIME");
    EXPECT_EQ(edit.text.size(), kFormulaMaxLength);
}

TEST(FormulaEditor, CellAnswersAndPlaceholderNames) {
    for (const char* ok : {"0", "5", "8"})
        EXPECT_TRUE(IsCellNumberAnswer(ok)) << ok;
    for (const char* bad : {"9", "12", "", " 1", "a"})
        EXPECT_FALSE(IsCellNumberAnswer(bad)) << bad;
    EXPECT_TRUE(HasPlaceholderName("AmyVar"));
    EXPECT_TRUE(HasPlaceholderName("x_myFunction"));
    EXPECT_FALSE(HasPlaceholderName("myVar")) << "at the first character it is taken as meant";
    EXPECT_FALSE(HasPlaceholderName("Rate"));
    EXPECT_EQ(FormulaExpandedTop(100, 498, 1080), 100);
    EXPECT_EQ(FormulaExpandedTop(600, 498, 1080), 532);
    EXPECT_EQ(FormulaExpandedTop(300, 498, 500), 10);
}

} // namespace
} // namespace quorlet
