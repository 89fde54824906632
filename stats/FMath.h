// The counter-formula language: a recursive-descent evaluator over the formula text in extended
// precision. Evaluation never changes the game; it only sets FormulaEvalError, raises
// FormulaMaxDepth and writes debug-log lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace quorlet {

// Clears FormulaEvalError and parses one expression of `text` + " " from position 1; whatever
// follows that expression is ignored. An erroneous formula yields the partial value (never throws).
long double EvaluateFormula(const std::string& text);

// The grammar rules. `pos` is the 1-based position shared by every level; each rule consumes
// what it reads. Entered while FormulaEvalError is set, a rule yields 0 and consumes nothing.
long double ParseFormulaExpr(const std::string& text, std::size_t& pos, uint16_t depth);
long double ParseFormulaTerm(const std::string& text, std::size_t& pos, uint16_t depth);
long double ParseFormulaFactor(const std::string& text, std::size_t& pos, uint16_t depth);
long double EvalFormulaIdentifier(const std::string& text, std::size_t& pos, uint16_t depth);

// Trunc(x)! (1 below 2); +infinity once the product leaves the extended range. A non-finite x
// is an error.
long double FormulaFactorial(long double x);

} // namespace quorlet
