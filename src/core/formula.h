#pragma once
// Shredding formulas: arithmetic expressions over the six numbers of a combination (n1..n6)
// and two companion sets of six values (p1..p6, t1..t6). A formula's value is "shredded"
// to the first decimals of its absolute value.
//
// Grammar: numbers with '.' as the decimal point, + - * / and ^ (power, right-associative,
// binding tighter than a sign: -2^2 = -4), unary minus and plus, parentheses, and the
// one-argument functions ARCTAN COS SIN TAN ABS EXP LN LOG SQRT SQR INT FRAC TRUNC ROUND
// ARCSIN ARCCOS SIGN NOT. Names ignore case. LOG is base 10, LN natural; INT and TRUNC cut
// toward zero; FRAC keeps the sign (x - TRUNC(x)); ROUND takes halves away from zero; SQR
// squares; NOT is the bitwise complement of the truncated integer (NOT(0) = -1).
// Any failure - bad syntax, unknown name, division by zero, a domain error such as
// SQRT(-1) or LN(0), an overflow - anywhere in the expression makes the result 0.

#include <memory>
#include <string>
#include <string_view>

namespace pelko {

// One formula compiled once and evaluated many times (a statistic runs it for every
// combination). Not shareable between threads: give each thread its own instance.
class TCompiledFormula {
  public:
    explicit TCompiledFormula(std::string_view formula);
    ~TCompiledFormula();
    TCompiledFormula(TCompiledFormula&&) noexcept;
    TCompiledFormula& operator=(TCompiledFormula&&) noexcept;
    TCompiledFormula(const TCompiledFormula&) = delete;
    TCompiledFormula& operator=(const TCompiledFormula&) = delete;

    bool IsValid() const { return error_.empty(); }
    // Why the formula did not compile; empty when it did.
    const std::string& Error() const { return error_; }

    // The first `digits` decimals (0..9) of |value| as an integer; 0 for an invalid formula
    // or a failed evaluation.
    int Eval(const int n[6], const int p[6], const int t[6], int digits);

  private:
    struct TImpl;
    std::unique_ptr<TImpl> impl_;
    std::string error_;
};

// Compiles and evaluates once; see TCompiledFormula.
int EvalFormula(std::string_view formula, const int n[6], const int p[6], const int t[6],
                int digits);

// trunc(frac(|value|) * 10^digits) for digits clamped to 0..9; 0 for NaN or infinity.
// A value a hair below a decimal step (0.29 held as 0.28999...) counts as the step itself.
int FormulaResultDigits(double value, int digits);

} // namespace pelko
