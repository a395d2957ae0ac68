#pragma once
// The arithmetic of shredding formulas, shared by the general formula evaluator and the
// statistics' batch evaluator so that both give the same value to the last bit: every
// operation turns a non-finite result into NaN, and NaN passes through everything, so a
// failure anywhere in the expression reaches the result (1 / (1 / 0) must fail, not give 0).

#include <cmath>
#include <limits>

namespace pelko {

inline constexpr double FORMULA_NAN = std::numeric_limits<double>::quiet_NaN();

// The value, or NaN when it is not finite (written so that a loop over it vectorises).
inline double FormulaChecked(double v) {
    return std::fabs(v) <= std::numeric_limits<double>::max() ? v : FORMULA_NAN;
}

inline double FormulaAdd(double a, double b) { return FormulaChecked(a + b); }
inline double FormulaSub(double a, double b) { return FormulaChecked(a - b); }
inline double FormulaMul(double a, double b) { return FormulaChecked(a * b); }
inline double FormulaDiv(double a, double b) { return b == 0.0 ? FORMULA_NAN : FormulaChecked(a / b); }
inline double FormulaPow(double a, double b) {
    // pow(NaN, 0) would give 1.
    return std::isnan(a) || std::isnan(b) ? FORMULA_NAN : FormulaChecked(std::pow(a, b));
}

// A one-argument function of the grammar, by its lower-case name.
struct TFormulaFunction {
    const char* Name;
    double (*Fn)(double);
};

inline constexpr int FORMULA_FUNCTION_COUNT = 18;
// ARCTAN COS SIN TAN ABS EXP LN LOG SQRT SQR INT FRAC TRUNC ROUND ARCSIN ARCCOS SIGN NOT.
extern const TFormulaFunction FORMULA_FUNCTIONS[FORMULA_FUNCTION_COUNT];

} // namespace pelko
