#include "stats/FMath.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "core/FData.h"
#include "core/debuglog.h"
#include "stats/formulavars.h"

namespace quorlet {

namespace {

constexpr uint16_t kMaxFormulaDepth = 256;
// SUM adds one parsed value this many times at most: a typed bound must not freeze a refresh.
constexpr long double kMaxSumTerms = 100000.0L;
// Beyond this Trunc(x)! no longer fits the extended range.
constexpr long double kLastFiniteFactorial = 1754.0L;
// Trunc of a larger magnitude has no 64-bit integer form.
constexpr long double kTruncLimit = 9223372036854775807.0L;

const std::string kErrorPrefix = "#counters_formula_error: ";

char At(const std::string& text, std::size_t pos) {
    return pos >= 1 && pos <= text.size() ? text[pos - 1] : '\0';
}
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

void FormulaError(const std::string& message) {
    FormulaEvalError = 1;
    if (FormulaErrorLogging) DebugLog(kErrorPrefix + message);
}

// A rule entered after an error yields 0 at once and consumes nothing.
bool ErrorPending() {
    if (!FormulaEvalError) return false;
    if (FormulaErrorLogging) DebugLog("#counters_formula_error handled: closing stack");
    return true;
}

std::string PosText(std::size_t pos) {
    return "pos=" + std::to_string(pos);
}

// digits ["." digits] [("E" | "e") ["+" | "-"] digits], scanned by hand so that neither the C
// locale nor hexadecimal or "inf" forms leak in. A bare exponent letter is consumed and ignored.
long double ScanNumber(const std::string& text, std::size_t& pos) {
    std::string plain;
    while (IsDigit(At(text, pos)))
        plain += At(text, pos++);
    if (At(text, pos) == '.') {
        ++pos;
        std::string fraction;
        while (IsDigit(At(text, pos)))
            fraction += At(text, pos++);
        if (!fraction.empty()) plain += "." + fraction;
    }
    bool negativeExponent = false;
    if (Upper(At(text, pos)) == 'E') {
        ++pos;
        std::string exponent;
        if (At(text, pos) == '+' || At(text, pos) == '-') {
            negativeExponent = At(text, pos) == '-';
            exponent += At(text, pos++);
        }
        std::string digits;
        while (IsDigit(At(text, pos)))
            digits += At(text, pos++);
        if (!digits.empty()) plain += "e" + exponent + digits;
    }
    long double value = 0;
    const auto result = std::from_chars(plain.data(), plain.data() + plain.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // Too many digits or too large an exponent: tiny values round to 0, big ones overflow.
        value = negativeExponent ? 0.0L : std::numeric_limits<long double>::infinity();
    }
    return value;
}

bool RequireComma(const std::string& text, std::size_t& pos) {
    if (At(text, pos) == ',') {
        ++pos;
        return true;
    }
    FormulaError("waiting ','. " + PosText(pos));
    return false;
}

bool Finite(long double x) {
    return std::isfinite(x);
}

// False when a comma or bound error made this call 0 (no ")" is then looked for).
bool Sum(const std::string& text, std::size_t& pos, uint16_t depth, long double& value) {
    value = 0;
    long double lo = ParseFormulaExpr(text, pos, depth);
    if (!RequireComma(text, pos)) return false;
    long double hi = ParseFormulaExpr(text, pos, depth);
    if (!RequireComma(text, pos)) return false;
    if (!Finite(lo) || !Finite(hi) || std::fabs(lo) > kTruncLimit || std::fabs(hi) > kTruncLimit) {
        FormulaError("bounds out of range. " + PosText(pos));
        return false;
    }
    lo = std::trunc(lo);
    hi = std::trunc(hi);
    if (hi < lo) {
        FormulaError("upper bound must be larger than bottom. " + PosText(pos));
        return false;
    }
    const long double terms = hi - lo + 1;
    if (terms > kMaxSumTerms) {
        FormulaError("bounds out of range. " + PosText(pos));
        return false;
    }
    // No variable sees the running index, so every parse of e gives the same value and ends at
    // the same place: parse once and add it up as often as the loop would.
    const std::size_t start = pos;
    const long double term = ParseFormulaExpr(text, pos, depth);
    const auto count = static_cast<int64_t>(terms);
    if (FormulaEvalError && count > 1) {
        // The later parses each stop at once (and say so), leaving the position at the start of e.
        for (int64_t i = 1; i < count; ++i)
            ErrorPending();
        pos = start;
    }
    if (FormulaEvalError) {
        value = term;
        return true;
    }
    for (int64_t i = 0; i < count; ++i)
        value += term;
    return true;
}

long double MinMax(const std::string& text, std::size_t& pos, uint16_t depth, bool wantMax) {
    long double best = ParseFormulaExpr(text, pos, depth);
    while (At(text, pos) == ',') {
        ++pos;
        const long double x = ParseFormulaExpr(text, pos, depth);
        if (wantMax ? x > best : x < best) best = x;
    }
    return best;
}

long double Sign(long double x) {
    return x > 0 ? 1.0L : (x < 0 ? -1.0L : 0.0L);
}

// One-argument functions by name; false when the name is none of them.
bool UnaryFunction(const std::string& name, long double x, long double& value) {
    if (name == "INC")
        value = x + 1;
    else if (name == "DEC")
        value = x - 1;
    else if (name == "COS")
        value = std::cos(x);
    else if (name == "SQR")
        value = x * x;
    else if (name == "SQRT")
        value = std::sqrt(x);
    else if (name == "SIN")
        value = std::sin(x);
    else if (name == "TG")
        value = std::tan(x);
    else if (name == "CTG")
        value = 1.0L / std::tan(x);
    else if (name == "ARCCOS")
        value = std::acos(x);
    else if (name == "ARCSIN")
        value = std::asin(x);
    else if (name == "ARCTG")
        value = std::atan(x);
    else if (name == "EXP")
        value = std::exp(x);
    else if (name == "LN")
        value = std::log(x);
    else if (name == "LG")
        value = std::log10(x);
    else if (name == "FAKT")
        value = FormulaFactorial(x);
    else if (name == "SGN")
        value = Sign(x);
    else
        return false;
    return true;
}

bool IsUnaryFunction(const std::string& name) {
    static const char* const names[] = {"INC",    "DEC",    "COS",   "SQR", "SQRT", "SIN", "TG",   "CTG",
                                        "ARCCOS", "ARCSIN", "ARCTG", "EXP", "LN",   "LG",  "FAKT", "SGN"};
    for (const char* n : names)
        if (name == n) return true;
    return false;
}

// The function call after "(": its arguments, its value and the closing ")".
long double CallFunction(const std::string& name, const std::string& text, std::size_t& pos, uint16_t depth) {
    long double value = 0;
    if (IsUnaryFunction(name)) {
        const long double x = ParseFormulaExpr(text, pos, depth);
        UnaryFunction(name, x, value);
    } else if (name == "LOG" || name == "POWER") {
        const long double a = ParseFormulaExpr(text, pos, depth);
        if (!RequireComma(text, pos)) return 0;
        const long double b = ParseFormulaExpr(text, pos, depth);
        value = name == "LOG" ? std::log2(b) / std::log2(a) : std::pow(a, b);
    } else if (name == "SUM") {
        if (!Sum(text, pos, depth, value)) return 0;
    } else if (name == "MAX" || name == "MIN") {
        value = MinMax(text, pos, depth, name == "MAX");
    } else {
        FormulaError("unknown function " + name);
        return 0;
    }
    if (At(text, pos) == ')') {
        ++pos;
        return value;
    }
    FormulaError("waiting ')'. " + PosText(pos));
    return 0;
}

} // namespace

long double FormulaFactorial(long double x) {
    if (ErrorPending()) return 0;
    if (!Finite(x) || std::fabs(x) > kTruncLimit) {
        FormulaError("factorial argument out of range");
        return 0;
    }
    const long double n = std::trunc(x);
    if (n < 2) return 1;
    if (n > kLastFiniteFactorial) return std::numeric_limits<long double>::infinity();
    long double product = 1;
    for (long double i = 2; i <= n; i += 1)
        product *= i;
    return product;
}

long double ParseFormulaExpr(const std::string& text, std::size_t& pos, uint16_t depth) {
    if (ErrorPending()) return 0;
    if (text == " ") return 0;
    ++depth;
    if (DebugModeFlag && depth > FormulaMaxDepth) {
        FormulaMaxDepth = depth;
        DebugLog("math_max_deep = " + std::to_string(depth));
    }
    if (depth >= kMaxFormulaDepth) {
        FormulaError("1000 iterations done. cycle detected. " + PosText(pos - 1));
        return 0;
    }
    long double value = ParseFormulaTerm(text, pos, depth);
    for (;;) {
        const char op = At(text, pos);
        if (op != '+' && op != '-') break;
        ++pos;
        const long double term = ParseFormulaTerm(text, pos, depth);
        value = op == '+' ? value + term : value - term;
    }
    return value;
}

long double ParseFormulaTerm(const std::string& text, std::size_t& pos, uint16_t depth) {
    if (ErrorPending()) return 0;
    long double value = ParseFormulaFactor(text, pos, depth);
    for (;;) {
        const char op = At(text, pos);
        if (op != '*' && op != '/') break;
        ++pos;
        const long double factor = ParseFormulaFactor(text, pos, depth);
        if (op == '*') {
            value *= factor;
        } else if (factor == 0) {
            FormulaError("division by 0. " + PosText(pos - 1));
            return 0;
        } else {
            value /= factor;
        }
    }
    return value;
}

long double ParseFormulaFactor(const std::string& text, std::size_t& pos, uint16_t depth) {
    if (ErrorPending()) return 0;
    // A run of minus signs is counted rather than recursed into, so a long run cannot exhaust
    // the stack; each sign still negates once.
    bool negate = false;
    while (At(text, pos) == '-') {
        negate = !negate;
        ++pos;
    }
    long double value = 0;
    const char c = At(text, pos);
    if (c == '(') {
        ++pos;
        value = ParseFormulaExpr(text, pos, depth);
        if (At(text, pos) == ')') {
            ++pos;
        } else {
            FormulaError("waiting ')'. " + PosText(pos - 1));
            value = 0;
        }
    } else if (IsDigit(c)) {
        value = ScanNumber(text, pos);
    } else if (IsLetter(c)) {
        value = EvalFormulaIdentifier(text, pos, depth);
    } else if (c == '[') {
        ++pos;
        const long double x = ParseFormulaExpr(text, pos, depth);
        value = x >= 0 ? std::trunc(x) : std::trunc(x) - 1;
        if (At(text, pos) == ']') {
            ++pos;
        } else {
            FormulaError("waiting ']'. " + PosText(pos - 1));
            value = 0;
        }
    } else {
        FormulaError(std::string("illegal character \"") + c + "\". " + PosText(pos));
        value = 0;
    }
    return negate ? -value : value;
}

long double EvalFormulaIdentifier(const std::string& text, std::size_t& pos, uint16_t depth) {
    if (ErrorPending()) return 0;
    std::string name;
    while (IsLetter(At(text, pos)) || IsDigit(At(text, pos)))
        name += Upper(At(text, pos++));
    if (At(text, pos) == '(') {
        ++pos;
        return CallFunction(name, text, pos, depth);
    }
    long double value = 0;
    if (FormulaVariableValue(name, value)) return value;
    FormulaError("invalid operator " + name);
    return 0;
}

long double EvaluateFormula(const std::string& text) {
    FormulaEvalError = 0;
    const std::string parsed = text + " ";
    std::size_t pos = 1;
    return ParseFormulaExpr(parsed, pos, 0);
}

} // namespace quorlet
