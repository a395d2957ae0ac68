#include "core/formula.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <thread>
#include <utility>
#include <vector>

namespace pelko {
namespace {

const int kN[6] = {1, 2, 5, 3, 4, 9};
const int kP[6] = {10, 20, 30, 40, 50, 60};
const int kT[6] = {7, 8, 9, 10, 11, 12};

int Eval(const char* formula, int digits) {
    return EvalFormula(formula, kN, kP, kT, digits);
}

TEST(FormulaTest, SumRatioExample) {
    EXPECT_EQ(Eval("(n1+n2+n3)/(n4+n5+n6)", 2), 50);
    EXPECT_EQ(Eval("(N1+n2+N3)/(n4+N5+n6)", 2), 50); // names ignore case
}

TEST(FormulaTest, OperatorsFunctionsAndDigits) {
    struct Case {
        const char* formula;
        int digits;
        int expected;
    };
    const Case cases[] = {
        {"n1/n4", 2, 33},
        {"-n1/n4", 3, 333}, // absolute value
        {"29/100", 2, 29},  // 0.29 is 0.28999... in binary
        {"p1/t1", 3, 428},  // 10/7
        {"T6/P6", 1, 2},
        {"2^3^2/1000", 3, 512},  // right-associative power
        {"n1+n2*n3/100", 2, 10}, // * and / before +
        {"sqrt(2)", 4, 4142},
        {"SQR(n3)/100", 2, 25},
        {"LOG(1000)+0.25", 2, 25}, // base 10
        {"ln(exp(1.5))", 1, 5},
        {"Exp(1)", 4, 7182},
        {"int(7.9)+frac(2.25)", 2, 25},
        {"trunc(-7.9)", 2, 0},
        {"frac(-2.75)", 2, 75},
        {"round(2.5)/10", 1, 3}, // halves away from zero
        {"sign(-5)/4", 2, 25},
        {"not(0)/4", 2, 25}, // bitwise: not 0 = -1
        {"not(3)/8", 1, 5},  // -4 / 8
        {"abs(-0.5)", 1, 5},
        {"arctan(1)", 4, 7853},
        {"arcsin(1)", 4, 5707},
        {"arccos(0)", 4, 5707},
        {"sin(n1)", 4, 8414},
        {"cos(0)", 4, 0},
        {"tan(n1)", 4, 5574},
        {"1/3", 9, 333333333},
        {"1/3", 0, 0},
        {" ( n6 - n5 ) / 10 ", 1, 5},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Eval(c.formula, c.digits), c.expected) << c.formula;
}

TEST(FormulaTest, AnyFailureGivesZero) {
    for (const char* formula : {"1/0",
                                "n1/(n2-n2)",
                                "1/(1/0)",
                                "arctan(1/0)+0.5",
                                "sqrt(-1)*0+0.5",
                                "ln(0)+0.5",
                                "log(-1)+0.5",
                                "arcsin(2)+0.5",
                                "exp(1000)/exp(1000)+0.5",
                                "0^(0-1)+0.5",
                                "sign(sqrt(-1))+0.5",
                                "not(sqrt(-1))+0.5",
                                "n7+0.5",
                                "x+0.5",
                                "",
                                "   ",
                                "(n1+",
                                "n1 n2",
                                "foo(1)",
                                "max(1,2)+0.5",
                                "1,2.5",
                                "sin(1,2)",
                                "1<2"}) {
        EXPECT_EQ(Eval(formula, 2), 0) << formula;
    }
}

TEST(FormulaTest, CompiledFormulaEvaluatesManyTimes) {
    TCompiledFormula formula("(n1+n2+n3)/(n4+n5+n6)");
    ASSERT_TRUE(formula.IsValid()) << formula.Error();
    EXPECT_EQ(formula.Eval(kN, kP, kT, 2), 50);
    const int other[6] = {1, 2, 3, 4, 5, 6}; // 6 / 15 = 0.4
    EXPECT_EQ(formula.Eval(other, kP, kT, 2), 40);
    EXPECT_EQ(formula.Eval(kN, kP, kT, 2), 50);

    TCompiledFormula moved(std::move(formula)); // variables stay bound after a move
    EXPECT_EQ(moved.Eval(other, kP, kT, 2), 40);

    TCompiledFormula broken("1/(");
    EXPECT_FALSE(broken.IsValid());
    EXPECT_FALSE(broken.Error().empty());
    EXPECT_EQ(broken.Eval(kN, kP, kT, 2), 0);
}

TEST(FormulaTest, EachThreadOwnsItsFormula) {
    const int expected[4] = {50, 33, 25, 20}; // 1 / (k + 2)
    std::vector<int> failures(4, 0);
    std::vector<std::thread> threads;
    for (int k = 0; k < 4; ++k)
        threads.emplace_back([k, &expected, &failures] {
            TCompiledFormula formula("n1/(n1+n2)");
            for (int i = 1; i <= 5000; ++i) {
                const int n[6] = {i, (k + 1) * i, 0, 0, 0, 0};
                if (formula.Eval(n, kP, kT, 2) != expected[k]) ++failures[k];
            }
        });
    for (std::thread& t : threads)
        t.join();
    for (int k = 0; k < 4; ++k)
        EXPECT_EQ(failures[k], 0) << "thread " << k;
}

TEST(FormulaTest, ResultDigits) {
    EXPECT_EQ(FormulaResultDigits(0.29, 2), 29);
    EXPECT_EQ(FormulaResultDigits(12.345, 2), 34);
    EXPECT_EQ(FormulaResultDigits(-0.5, 1), 5);
    EXPECT_EQ(FormulaResultDigits(2.9999999999999996, 2), 0); // 3 held a bit low
    EXPECT_EQ(FormulaResultDigits(0.4999, 2), 49);            // a real value is not rounded
    EXPECT_EQ(FormulaResultDigits(0.123, -1), 0);
    EXPECT_EQ(FormulaResultDigits(0.1234567891234, 12), 123456789);
    EXPECT_EQ(FormulaResultDigits(std::numeric_limits<double>::quiet_NaN(), 2), 0);
    EXPECT_EQ(FormulaResultDigits(std::numeric_limits<double>::infinity(), 2), 0);
    EXPECT_EQ(FormulaResultDigits(1e300, 2), 0);
}

} // namespace
} // namespace pelko
