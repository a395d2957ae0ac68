#include "core/formula.h"

#include <muParser.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>

namespace pelko {

namespace {

constexpr int kValueCount = 6;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// Every operation turns a non-finite result into NaN, and NaN passes through everything,
// so a failure anywhere in the expression reaches the result instead of being hidden
// (1 / (1 / 0) must fail, not give 0).
double Checked(double value) {
    return std::isfinite(value) ? value : kNaN;
}

double Add(double a, double b) {
    return Checked(a + b);
}
double Sub(double a, double b) {
    return Checked(a - b);
}
double Mul(double a, double b) {
    return Checked(a * b);
}
double Div(double a, double b) {
    return b == 0.0 ? kNaN : Checked(a / b);
}
double Pow(double a, double b) {
    if (std::isnan(a) || std::isnan(b)) return kNaN; // pow(NaN, 0) would give 1
    return Checked(std::pow(a, b));
}

double ArcTan(double x) {
    return Checked(std::atan(x));
}
double Cos(double x) {
    return Checked(std::cos(x));
}
double Sin(double x) {
    return Checked(std::sin(x));
}
double Tan(double x) {
    return Checked(std::tan(x));
}
double Abs(double x) {
    return Checked(std::fabs(x));
}
double Exp(double x) {
    return Checked(std::exp(x));
}
double Ln(double x) {
    return x <= 0.0 ? kNaN : Checked(std::log(x));
}
double Log10(double x) {
    return x <= 0.0 ? kNaN : Checked(std::log10(x));
}
double Sqrt(double x) {
    return x < 0.0 ? kNaN : Checked(std::sqrt(x));
}
double Sqr(double x) {
    return Checked(x * x);
}
double Trunc(double x) {
    return Checked(std::trunc(x));
}
double Frac(double x) {
    return Checked(x - std::trunc(x));
}
double Round(double x) {
    return Checked(std::round(x));
}
double ArcSin(double x) {
    return x < -1.0 || x > 1.0 ? kNaN : Checked(std::asin(x));
}
double ArcCos(double x) {
    return x < -1.0 || x > 1.0 ? kNaN : Checked(std::acos(x));
}
double Sign(double x) {
    if (std::isnan(x)) return kNaN;
    return x > 0.0 ? 1.0 : x < 0.0 ? -1.0 : 0.0;
}
double Not(double x) {
    const double t = std::trunc(x);
    if (!(std::fabs(t) < 9.2e18)) return kNaN;
    return static_cast<double>(~static_cast<long long>(t));
}

struct TFunctionDef {
    const char* name;
    mu::fun_type1 fun;
};

constexpr TFunctionDef kFunctions[] = {
    {"arctan", ArcTan}, {"cos", Cos},   {"sin", Sin},     {"tan", Tan},     {"abs", Abs},
    {"exp", Exp},       {"ln", Ln},     {"log", Log10},   {"sqrt", Sqrt},   {"sqr", Sqr},
    {"int", Trunc},     {"frac", Frac}, {"trunc", Trunc}, {"round", Round}, {"arcsin", ArcSin},
    {"arccos", ArcCos}, {"sign", Sign}, {"not", Not},
};

// Every name of the grammar ignores case, so the whole text can be lower-cased once and
// all names registered in lower case; digits, operators and the exponent 'e' of numbers
// are unaffected.
std::string LowerAscii(std::string_view text) {
    std::string lower(text);
    for (char& c : lower)
        if (static_cast<unsigned char>(c) < 0x80)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower;
}

} // namespace

struct TCompiledFormula::TImpl {
    mu::Parser parser;
    // Bound to the parser by address; the impl lives on the heap so moves keep them valid.
    double n[kValueCount] = {};
    double p[kValueCount] = {};
    double t[kValueCount] = {};

    void Compile(const std::string& text) {
        parser.ClearFun();
        // The built-in operators are replaced by failure-propagating ones (see Checked).
        parser.EnableBuiltInOprt(false);
        parser.DefineOprt("+", Add, mu::prADD_SUB, mu::oaLEFT, true);
        parser.DefineOprt("-", Sub, mu::prADD_SUB, mu::oaLEFT, true);
        parser.DefineOprt("*", Mul, mu::prMUL_DIV, mu::oaLEFT, true);
        parser.DefineOprt("/", Div, mu::prMUL_DIV, mu::oaLEFT, true);
        parser.DefineOprt("^", Pow, mu::prPOW, mu::oaRIGHT, true);
        for (const TFunctionDef& f : kFunctions)
            parser.DefineFun(f.name, f.fun, true);
        for (int i = 0; i < kValueCount; ++i) {
            const std::string index = std::to_string(i + 1);
            parser.DefineVar("n" + index, &n[i]);
            parser.DefineVar("p" + index, &p[i]);
            parser.DefineVar("t" + index, &t[i]);
        }
        parser.SetExpr(text);
        parser.Eval(); // parses now, so syntax errors show at compile time
    }
};

TCompiledFormula::TCompiledFormula(std::string_view formula) : impl_(std::make_unique<TImpl>()) {
    try {
        impl_->Compile(LowerAscii(formula));
        if (impl_->parser.GetNumResults() != 1) error_ = "expression must have exactly one result";
    } catch (const mu::Parser::exception_type& e) {
        error_ = e.GetMsg();
    } catch (const std::exception& e) {
        error_ = e.what();
    }
}

TCompiledFormula::~TCompiledFormula() = default;
TCompiledFormula::TCompiledFormula(TCompiledFormula&&) noexcept = default;
TCompiledFormula& TCompiledFormula::operator=(TCompiledFormula&&) noexcept = default;

int TCompiledFormula::Eval(const int n[6], const int p[6], const int t[6], int digits) {
    if (!IsValid()) return 0;
    for (int i = 0; i < kValueCount; ++i) {
        impl_->n[i] = n[i];
        impl_->p[i] = p[i];
        impl_->t[i] = t[i];
    }
    try {
        return FormulaResultDigits(impl_->parser.Eval(), digits);
    } catch (...) {
        return 0;
    }
}

int EvalFormula(std::string_view formula, const int n[6], const int p[6], const int t[6],
                int digits) {
    TCompiledFormula compiled(formula);
    return compiled.Eval(n, p, t, digits);
}

int FormulaResultDigits(double value, int digits) {
    // Runs once per combination: a power table and integer arithmetic, no powl/fmodl.
    static constexpr long double kPow10[] = {1e0L, 1e1L, 1e2L, 1e3L, 1e4L,
                                             1e5L, 1e6L, 1e7L, 1e8L, 1e9L};
    static constexpr std::uint64_t kIntPow10[] = {1,      10,      100,      1000,      10000,
                                                  100000, 1000000, 10000000, 100000000, 1000000000};
    if (!std::isfinite(value)) return 0;
    digits = std::clamp(digits, 0, 9);
    const long double scaled = std::fabs(static_cast<long double>(value)) * kPow10[digits];
    if (!(scaled < 1.8e19L)) // beyond 64 bits no decimal of the value is known anyway
        return 0;
    std::uint64_t whole = static_cast<std::uint64_t>(scaled);
    // Forgive the last bits of binary rounding: 29/100 * 100 must give 29, not 28.
    const long double below = static_cast<long double>(whole) + 1.0L - scaled;
    if (below <= 1e-12L * std::max(1.0L, scaled)) ++whole;
    return static_cast<int>(whole % kIntPow10[digits]);
}

} // namespace pelko
