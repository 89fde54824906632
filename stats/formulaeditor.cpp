#include "stats/formulaeditor.h"

#include <algorithm>

namespace quorlet {

namespace {

void Limit(std::string& text) {
    if (text.size() > kFormulaMaxLength) text.resize(kFormulaMaxLength);
}

void SetText(TFormulaEdit& edit, std::string text, std::size_t cursor) {
    Limit(text);
    edit.text = std::move(text);
    edit.selStart = std::min(cursor, edit.text.size());
    edit.selLength = 0;
}

} // namespace

void InsertFormulaToken(TFormulaEdit& edit, const std::string& token) {
    edit.undo = edit.text;
    const std::size_t start = std::min(edit.selStart, edit.text.size());
    const std::size_t length = std::min(edit.selLength, edit.text.size() - start);
    if (length == 0) {
        SetText(edit, edit.text + token, edit.text.size() + token.size());
        return;
    }
    SetText(edit, edit.text.substr(0, start) + token + edit.text.substr(start + length),
            start + token.size());
}

void AppendFormulaOperator(TFormulaEdit& edit, const std::string& text) {
    edit.undo = edit.text;
    SetText(edit, edit.text + text, edit.text.size() + text.size());
}

void WrapFormulaInBrackets(TFormulaEdit& edit) {
    edit.undo = edit.text;
    const std::string text = " ( " + edit.text + " )";
    SetText(edit, text, text.size());
}

void ClearFormulaEdit(TFormulaEdit& edit) {
    edit.undo = edit.text;
    SetText(edit, "", 0);
}

void UndoFormulaEdit(TFormulaEdit& edit) {
    SetText(edit, edit.undo, edit.undo.size());
}

bool IsCellNumberAnswer(const std::string& answer) {
    return answer.size() == 1 && answer[0] >= '0' && answer[0] <= '8';
}

bool HasPlaceholderName(const std::string& name) {
    static const char* const kPlaceholders[] = {"myVar",  "myBase",   "myValue",  "myGrade",   "myVar1",
                                                "myVarN", "myValue1", "myValueN", "myFunction"};
    // The first occurrence decides: at the very start the name is taken as meant.
    return std::any_of(std::begin(kPlaceholders), std::end(kPlaceholders), [&](const char* word) {
        const std::size_t at = name.find(word);
        return at != std::string::npos && at > 0;
    });
}

std::string FormulaTemplateLine(const std::string& name, const std::string& formula, bool asText,
                                bool asForm) {
    if (formula.empty()) return {};
    return std::string(asText ? "#" : asForm ? "@" : "") + name + "| " + formula;
}

int32_t FormulaExpandedTop(int32_t top, int32_t height, int32_t screenHeight) {
    if (top + height + 50 > screenHeight) top = std::max(screenHeight - 50 - height, 10);
    return top;
}

} // namespace quorlet
