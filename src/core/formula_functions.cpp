#include "core/formula_functions.h"

namespace pelko {

namespace {

double ArcTan(double x) { return FormulaChecked(std::atan(x)); }
double Cos(double x) { return FormulaChecked(std::cos(x)); }
double Sin(double x) { return FormulaChecked(std::sin(x)); }
double Tan(double x) { return FormulaChecked(std::tan(x)); }
double Abs(double x) { return FormulaChecked(std::fabs(x)); }
double Exp(double x) { return FormulaChecked(std::exp(x)); }
double Ln(double x) { return x <= 0.0 ? FORMULA_NAN : FormulaChecked(std::log(x)); }
double Log10(double x) { return x <= 0.0 ? FORMULA_NAN : FormulaChecked(std::log10(x)); }
double Sqrt(double x) { return x < 0.0 ? FORMULA_NAN : FormulaChecked(std::sqrt(x)); }
double Sqr(double x) { return FormulaChecked(x * x); }
double Trunc(double x) { return FormulaChecked(std::trunc(x)); }
double Frac(double x) { return FormulaChecked(x - std::trunc(x)); }
double Round(double x) { return FormulaChecked(std::round(x)); }
double ArcSin(double x) { return x < -1.0 || x > 1.0 ? FORMULA_NAN : FormulaChecked(std::asin(x)); }
double ArcCos(double x) { return x < -1.0 || x > 1.0 ? FORMULA_NAN : FormulaChecked(std::acos(x)); }
double Sign(double x) {
    if (std::isnan(x)) return FORMULA_NAN;
    return x > 0.0 ? 1.0 : x < 0.0 ? -1.0 : 0.0;
}
// The bitwise complement of the truncated integer (NOT(0) = -1).
double Not(double x) {
    const double t = std::trunc(x);
    if (!(std::fabs(t) < 9.2e18)) return FORMULA_NAN;
    return static_cast<double>(~static_cast<long long>(t));
}

} // namespace

const TFormulaFunction FORMULA_FUNCTIONS[FORMULA_FUNCTION_COUNT] = {
    {"arctan", ArcTan}, {"cos", Cos},   {"sin", Sin},     {"tan", Tan},     {"abs", Abs},
    {"exp", Exp},       {"ln", Ln},     {"log", Log10},   {"sqrt", Sqrt},   {"sqr", Sqr},
    {"int", Trunc},     {"frac", Frac}, {"trunc", Trunc}, {"round", Round}, {"arcsin", ArcSin},
    {"arccos", ArcCos}, {"sign", Sign}, {"not", Not},
};

} // namespace pelko
