#include "core/formula.h"

#include "core/formula_functions.h"

#include <muParser.h>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdint>
#include <limits>

namespace pelko {

namespace {

constexpr int kValueCount = 6;

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
        parser.DefineOprt("+", FormulaAdd, mu::prADD_SUB, mu::oaLEFT, true);
        parser.DefineOprt("-", FormulaSub, mu::prADD_SUB, mu::oaLEFT, true);
        parser.DefineOprt("*", FormulaMul, mu::prMUL_DIV, mu::oaLEFT, true);
        parser.DefineOprt("/", FormulaDiv, mu::prMUL_DIV, mu::oaLEFT, true);
        parser.DefineOprt("^", FormulaPow, mu::prPOW, mu::oaRIGHT, true);
        for (const TFormulaFunction& f : FORMULA_FUNCTIONS)
            parser.DefineFun(f.Name, f.Fn, true);
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
