#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "core/FData.h"
#include "stats/FMath.h"
#include "testutil.h"

namespace quorlet {
namespace {

class FormulaTest : public test::EngineTest {
  protected:
    // Debug-log texts without their time stamps, oldest first.
    static std::vector<std::string> LoggedTexts() {
        std::vector<std::string> texts;
        for (auto it = DebugLogLines.rbegin(); it != DebugLogLines.rend(); ++it) {
            const auto blank = it->find(' ');
            texts.push_back(blank == std::string::npos ? *it : it->substr(blank + 1));
        }
        return texts;
    }
    static void LogErrors() {
        DebugWindowOn = 1;
        FormulaErrorLogging = 1;
    }
};

struct TFormulaCase {
    const char* formula;
    long double value;
    bool error;
};
void PrintTo(const TFormulaCase& c, std::ostream* os) {
    *os << '"' << c.formula << '"';
}

class FormulaValueTest : public FormulaTest, public ::testing::WithParamInterface<TFormulaCase> {};

TEST_P(FormulaValueTest, YieldsValueAndErrorFlag) {
    const TFormulaCase& c = GetParam();
    const long double value = EvaluateFormula(c.formula);
    if (std::isinf(c.value))
        EXPECT_EQ(value, c.value);
    else
        EXPECT_NEAR(static_cast<double>(value), static_cast<double>(c.value), 1e-12);
    EXPECT_EQ(FormulaEvalError != 0, c.error);
}

const long double kInf = std::numeric_limits<long double>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Grammar, FormulaValueTest,
    ::testing::Values(
        TFormulaCase{"", 0, false}, TFormulaCase{"=", 0, true}, TFormulaCase{"7=", 7, false},
        TFormulaCase{"2+3*4=", 14, false}, TFormulaCase{"2-3-4=", -5, false},
        TFormulaCase{"8/4/2=", 1, false}, TFormulaCase{"(2+3)*4=", 20, false}, TFormulaCase{"--5=", 5, false},
        TFormulaCase{"---5=", -5, false}, TFormulaCase{"2*-3=", -6, false},
        TFormulaCase{"-(2+3)=", -5, false}, TFormulaCase{"+5=", 0, true}, TFormulaCase{"[-2]=", -3, false},
        TFormulaCase{"[2.9]=", 2, false}, TFormulaCase{"[2.7]=", 2, false},
        TFormulaCase{"[-2.5]=", -3, false}, TFormulaCase{"12.5.3=", 12.5L, false},
        TFormulaCase{"1e3=", 1000, false}, TFormulaCase{"2.5e-1=", 0.25L, false},
        TFormulaCase{"2E=", 2, false}, TFormulaCase{"2E+=", 2, false}, TFormulaCase{"3.=", 3, false},
        TFormulaCase{".5=", 0, true},
        // Not a hexadecimal number: "0" and the rest is ignored.
        TFormulaCase{"0x10=", 0, false}, TFormulaCase{"1e99999=", kInf, false},
        TFormulaCase{"1e-99999=", 0, false}, TFormulaCase{"5 =", 5, false}, TFormulaCase{"2+=", 2, true},
        TFormulaCase{"2+#=", 2, true}, TFormulaCase{"(1+2=", 0, true}, TFormulaCase{"[1.5=", 0, true},
        TFormulaCase{"1/0=", 0, true}, TFormulaCase{"5+(1/0)=", 5, true}, TFormulaCase{"1/0+7=", 0, true},
        TFormulaCase{"3*(2-2)=", 0, false}, TFormulaCase{"1/(2-2)=", 0, true}));

INSTANTIATE_TEST_SUITE_P(
    Functions, FormulaValueTest,
    ::testing::Values(
        TFormulaCase{"INC(1)=", 2, false}, TFormulaCase{"DEC(1)=", 0, false},
        TFormulaCase{"SQR(3)=", 9, false}, TFormulaCase{"SQRT(16)=", 4, false},
        TFormulaCase{"COS(0)=", 1, false}, TFormulaCase{"SIN(0)=", 0, false},
        TFormulaCase{"TG(0)=", 0, false}, TFormulaCase{"CTG(1)=", 1 / std::tan(1.0L), false},
        TFormulaCase{"ARCCOS(1)=", 0, false}, TFormulaCase{"ARCSIN(1)=", std::asin(1.0L), false},
        TFormulaCase{"ARCTG(1)=", std::atan(1.0L), false}, TFormulaCase{"EXP(0)=", 1, false},
        TFormulaCase{"LN(E)=", 1, false}, TFormulaCase{"LG(1000)=", 3, false},
        TFormulaCase{"LOG(2,8)=", 3, false}, TFormulaCase{"POWER(2,10)=", 1024, false},
        TFormulaCase{"FAKT(4.9)=", 24, false}, TFormulaCase{"FAKT(-3)=", 1, false},
        TFormulaCase{"FAKT(1)=", 1, false}, TFormulaCase{"FAKT(2000)=", kInf, false},
        TFormulaCase{"FAKT(1e30)=", 0, true}, TFormulaCase{"FAKT(1e99999)=", 0, true},
        TFormulaCase{"FAKT(SQRT(-1))=", 0, true}, TFormulaCase{"FAKT(1754)/FAKT(1753)=", 1754, false},
        TFormulaCase{"FAKT(1755)=", kInf, false}, TFormulaCase{"SGN(-3)=", -1, false},
        TFormulaCase{"SGN(0)=", 0, false}, TFormulaCase{"SGN(2)=", 1, false},
        TFormulaCase{"max(1,7,3)=", 7, false}, TFormulaCase{"MIN(4)=", 4, false},
        TFormulaCase{"MIN(4,-1,2)=", -1, false}, TFormulaCase{"MaX(2)+1=", 3, false},
        TFormulaCase{"MAX()=", 0, true}, TFormulaCase{"SUM(1,3,2)=", 6, false},
        TFormulaCase{"SUM(3,1,2)=", 0, true}, TFormulaCase{"SUM(2.9,3.1,5)=", 10, false},
        TFormulaCase{"SUM(1,100000,1)=", 100000, false}, TFormulaCase{"SUM(1,100001,1)=", 0, true},
        TFormulaCase{"SUM(1,1e300,1)=", 0, true}, TFormulaCase{"SUM(-1e19,1,1)=", 0, true},
        TFormulaCase{"SUM(SQRT(-1),1,1)=", 0, true}, TFormulaCase{"SUM(1,3,1/0)=", 0, true},
        TFormulaCase{"SUM(1,1,1/0)=", 0, true}, TFormulaCase{"LOG(2;8)=", 0, true},
        TFormulaCase{"POWER(2)=", 0, true}, TFormulaCase{"SUM(1,2)=", 0, true},
        TFormulaCase{"INC(1=", 0, true}, TFormulaCase{"FOO=", 0, true}, TFormulaCase{"FOO(1)=", 0, true},
        TFormulaCase{"E(1)=", 0, true}, TFormulaCase{"TIME_X=", 0, false},
        TFormulaCase{"1+FOO+2=", 1, true}));

// Repeated addition, not multiplication: the loop's own rounding is part of the result.
TEST_F(FormulaTest, SumAddsTheTermOnceForEveryIndex) {
    long double expected = 0;
    for (int i = 0; i < 10; ++i)
        expected += 0.1L;
    EXPECT_EQ(EvaluateFormula("SUM(1,10,0.1)="), expected);
}

std::string Nested(int levels, const std::string& open, const std::string& close) {
    std::string text;
    for (int i = 0; i < levels; ++i)
        text += open;
    text += "1";
    for (int i = 0; i < levels; ++i)
        text += close;
    return text + "=";
}

TEST_F(FormulaTest, DepthErrorAt255NestingLevels) {
    const struct {
        const char* open;
        const char* close;
    } kinds[] = {{"(", ")"}, {"[", "]"}, {"INC(", ")"}};
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.open);
        EXPECT_NE(EvaluateFormula(Nested(254, k.open, k.close)), 0);
        EXPECT_FALSE(FormulaEvalError);
        EXPECT_EQ(EvaluateFormula(Nested(255, k.open, k.close)), 0);
        EXPECT_TRUE(FormulaEvalError);
    }
}

TEST_F(FormulaTest, LongRunsOfSignsAndNestingEndWithoutCrash) {
    EXPECT_EQ(EvaluateFormula(std::string(200000, '-') + "4="), 4);
    EXPECT_EQ(EvaluateFormula(std::string(200000, '(') + "4="), 0);
    EXPECT_TRUE(FormulaEvalError);
    EXPECT_EQ(EvaluateFormula(std::string(100000, '1') + "="), kInf);
}

TEST_F(FormulaTest, NextEvaluationClearsTheErrorFlag) {
    EvaluateFormula("1/0=");
    ASSERT_TRUE(FormulaEvalError);
    EXPECT_EQ(EvaluateFormula("2="), 2);
    EXPECT_FALSE(FormulaEvalError);
}

struct TErrorLogCase {
    const char* formula;
    const char* firstLine;
};
void PrintTo(const TErrorLogCase& c, std::ostream* os) {
    *os << '"' << c.formula << '"';
}

class FormulaErrorLogTest : public FormulaTest, public ::testing::WithParamInterface<TErrorLogCase> {};

TEST_P(FormulaErrorLogTest, LogsTheErrorText) {
    LogErrors();
    EvaluateFormula(GetParam().formula);
    const auto texts = LoggedTexts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), std::string("#counters_formula_error: ") + GetParam().firstLine);
}

INSTANTIATE_TEST_SUITE_P(
    Messages, FormulaErrorLogTest,
    ::testing::Values(TErrorLogCase{"1/0=", "division by 0. pos=3"},
                      TErrorLogCase{"(1=", "waiting ')'. pos=2"}, TErrorLogCase{"[1=", "waiting ']'. pos=2"},
                      TErrorLogCase{"2+#=", "illegal character \"#\". pos=3"},
                      TErrorLogCase{"LOG(2;8)=", "waiting ','. pos=6"},
                      TErrorLogCase{"SUM(3,1,2)=", "upper bound must be larger than bottom. pos=9"},
                      TErrorLogCase{"SUM(1,1e9,2)=", "bounds out of range. pos=11"},
                      TErrorLogCase{"FAKT(1e30)=", "factorial argument out of range"},
                      TErrorLogCase{"foo(1)=", "unknown function FOO"},
                      TErrorLogCase{"INC(1=", "waiting ')'. pos=6"},
                      TErrorLogCase{"Foo1=", "invalid operator FOO1"}));

TEST_F(FormulaTest, DepthErrorLogsThePosition) {
    LogErrors();
    EvaluateFormula(Nested(255, "(", ")"));
    const auto texts = LoggedTexts();
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts.front(), "#counters_formula_error: 1000 iterations done. cycle detected. pos=255");
}

TEST_F(FormulaTest, RulesAfterAnErrorReportTheClosingStack) {
    LogErrors();
    EXPECT_EQ(EvaluateFormula("1/0+2="), 0);
    EXPECT_EQ(LoggedTexts(), (std::vector<std::string>{"#counters_formula_error: division by 0. pos=3",
                                                       "#counters_formula_error handled: closing stack"}));
}

// Each later parse of the summed term stops at once and reports it; the ")" is then looked for
// where the term began.
TEST_F(FormulaTest, SumAfterAnErrorClosesTheStackOncePerRemainingIndex) {
    LogErrors();
    EXPECT_EQ(EvaluateFormula("SUM(1,3,1/0)="), 0);
    EXPECT_EQ(LoggedTexts(), (std::vector<std::string>{"#counters_formula_error: division by 0. pos=11",
                                                       "#counters_formula_error handled: closing stack",
                                                       "#counters_formula_error handled: closing stack",
                                                       "#counters_formula_error: waiting ')'. pos=9"}));
}

TEST_F(FormulaTest, ErrorsAreSilentWithoutErrorLogging) {
    DebugWindowOn = 1;
    EvaluateFormula("1/0+FOO=");
    EXPECT_TRUE(FormulaEvalError);
    EXPECT_TRUE(DebugLogLines.empty());
}

TEST_F(FormulaTest, DebugModeLogsEachNewDeepestNesting) {
    DebugWindowOn = 1;
    DebugModeFlag = 1;
    EvaluateFormula("((1))=");
    EXPECT_EQ(FormulaMaxDepth, 3);
    EXPECT_EQ(LoggedTexts(),
              (std::vector<std::string>{"math_max_deep = 1", "math_max_deep = 2", "math_max_deep = 3"}));
    EvaluateFormula("(1)=");
    EXPECT_EQ(FormulaMaxDepth, 3);
    EXPECT_EQ(LoggedTexts().size(), 3u);
}

} // namespace
} // namespace quorlet
