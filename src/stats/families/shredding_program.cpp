#include "stats/families/shredding_program.h"

#include "core/formula.h"
#include "core/formula_functions.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace pelko {

namespace {

constexpr double kNaN = FORMULA_NAN;
constexpr int MAX_DEPTH = 24;

// The operations of TCompiledFormula, so that both evaluators agree to the last bit.
inline double Checked(double v) {
    return FormulaChecked(v);
}
constexpr int FUNCTION_COUNT = FORMULA_FUNCTION_COUNT;
constexpr const TFormulaFunction* FUNCTIONS = FORMULA_FUNCTIONS;

// FormulaResultDigits (which works in long double) computed in double where that cannot
// change the answer. With s = |value| * 10^Digits below 2^52 the double product is within
// half an ulp of the exact one, and the result only depends on which side of the
// forgiveness threshold (1e-12 of s) the distance to the next integer falls; a distance
// within 0.1 % of the threshold, or a larger s, goes to FormulaResultDigits itself.
template <int Digits> int ShredConstant(double value) {
    static constexpr double POW10 = [] {
        double p = 1;
        for (int i = 0; i < Digits; ++i)
            p *= 10;
        return p;
    }();
    static constexpr std::uint64_t INT_POW10 = [] {
        std::uint64_t p = 1;
        for (int i = 0; i < Digits; ++i)
            p *= 10;
        return p;
    }();
    const double s = std::fabs(value) * POW10;
    if (!(s < 4.0e15)) // also NaN and infinity
        return FormulaResultDigits(value, Digits);
    // Signed conversion: one instruction, and s is far below 2^63.
    auto whole = static_cast<std::uint64_t>(static_cast<std::int64_t>(s));
    const double gap = 1.0 - (s - static_cast<double>(whole));
    const double threshold = 1e-12 * (s > 1.0 ? s : 1.0);
    if (gap < threshold * 0.999)
        ++whole;
    else if (!(gap > threshold * 1.001))
        return FormulaResultDigits(value, Digits);
    return static_cast<int>(whole % INT_POW10);
}

template <int Digits> void ShredAll(const double* values, int count, int* out) {
    for (int i = 0; i < count; ++i)
        out[i] = ShredConstant<Digits>(values[i]);
}

std::string Lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

} // namespace

// Recursive descent into postfix code:
//   expr  := term (('+' | '-') term)*
//   term  := unary (('*' | '/') unary)*
//   unary := ('-' | '+') unary | power          (a sign binds looser than ^: -2^2 = -4)
//   power := primary ('^' unary)?               (right-associative)
//   primary := number | variable | function '(' expr ')' | '(' expr ')'
class TShreddingProgram::TParser {
  public:
    TParser(std::string_view text, TShreddingProgram& program) : text_(text), program_(program) {}

    bool Parse() {
        if (!Expr()) return false;
        Skip();
        return at_ == text_.size() && depth_ == 1;
    }

  private:
    void Skip() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' ||
                                      text_[at_] == '\r' || text_[at_] == '\n'))
            ++at_;
    }
    bool Peek(char c) {
        Skip();
        return at_ < text_.size() && text_[at_] == c;
    }
    bool Take(char c) {
        if (!Peek(c)) return false;
        ++at_;
        return true;
    }
    bool Emit(TOp op, std::uint8_t arg = 0, double value = 0) {
        program_.code_.push_back({op, arg, value});
        switch (op) {
        case TOp::PushN:
        case TOp::PushP:
        case TOp::PushT:
        case TOp::PushConst:
            ++depth_;
            break;
        case TOp::Add:
        case TOp::Sub:
        case TOp::Mul:
        case TOp::Div:
        case TOp::Pow:
            --depth_;
            break;
        default:
            break;
        }
        if (depth_ > program_.depth_) program_.depth_ = depth_;
        return depth_ <= MAX_DEPTH;
    }

    bool Expr() {
        if (!Term()) return false;
        for (;;) {
            if (Take('+')) {
                if (!Term() || !Emit(TOp::Add)) return false;
            } else if (Take('-')) {
                if (!Term() || !Emit(TOp::Sub)) return false;
            } else {
                return true;
            }
        }
    }
    bool Term() {
        if (!Unary()) return false;
        for (;;) {
            if (Take('*')) {
                if (!Unary() || !Emit(TOp::Mul)) return false;
            } else if (Take('/')) {
                if (!Unary() || !Emit(TOp::Div)) return false;
            } else {
                return true;
            }
        }
    }
    bool Unary() {
        if (Take('-')) return Unary() && Emit(TOp::Neg);
        if (Take('+')) return Unary();
        return Power();
    }
    bool Power() {
        if (!Primary()) return false;
        if (Take('^')) return Unary() && Emit(TOp::Pow);
        return true;
    }
    bool Primary() {
        Skip();
        if (at_ >= text_.size()) return false;
        const char c = text_[at_];
        if (c == '(') {
            ++at_;
            return Expr() && Take(')');
        }
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.') return Number();
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_') return Name();
        return false;
    }
    bool Number() {
        double value = 0;
        const char* begin = text_.data() + at_;
        const auto [end, ec] =
            std::from_chars(begin, text_.data() + text_.size(), value, std::chars_format::general);
        if (ec != std::errc()) return false;
        at_ += static_cast<std::size_t>(end - begin);
        // "1e" or "2x": a letter glued to a number is not this grammar.
        if (at_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[at_])) ||
                                   text_[at_] == '_' || text_[at_] == '.'))
            return false;
        return Emit(TOp::PushConst, 0, value);
    }
    bool Name() {
        const std::size_t start = at_;
        while (at_ < text_.size() &&
               (std::isalnum(static_cast<unsigned char>(text_[at_])) || text_[at_] == '_'))
            ++at_;
        const std::string name = Lower(text_.substr(start, at_ - start));
        if (name.size() == 2 && name[1] >= '1' && name[1] <= '6') {
            const auto index = static_cast<std::uint8_t>(name[1] - '1');
            if (name[0] == 'n') return Emit(TOp::PushN, index);
            if (name[0] == 'p') return Emit(TOp::PushP, index);
            if (name[0] == 't') return Emit(TOp::PushT, index);
        }
        for (int f = 0; f < FUNCTION_COUNT; ++f)
            if (name == FUNCTIONS[f].Name)
                return Take('(') && Expr() && Take(')') &&
                       Emit(TOp::Func, static_cast<std::uint8_t>(f));
        return false;
    }

    std::string_view text_;
    TShreddingProgram& program_;
    std::size_t at_ = 0;
    int depth_ = 0;
};

std::optional<TShreddingProgram> TShreddingProgram::Compile(std::string_view formula) {
    TShreddingProgram program;
    TParser parser(formula, program);
    if (!parser.Parse()) return std::nullopt;
    return program;
}

// On x86-64 with GCC or Clang a second copy for AVX2 processors is chosen at load time:
// four doubles per operation instead of two, the same IEEE arithmetic (no fused multiply-add).
#if defined(__x86_64__) && defined(__linux__) && (defined(__GNUC__) || defined(__clang__))
__attribute__((target_clones("avx2", "default")))
#endif
void TShreddingProgram::Eval(const TComb* Combs, int Count, const double p[6], const double t[6],
                             double* out) const {
    static constexpr auto BYTE_VALUES = [] {
        std::array<double, 256> values{};
        for (int b = 0; b < 256; ++b)
            values[static_cast<std::size_t>(b)] = b;
        return values;
    }();
    // Every loop runs over all LANES (a fixed count the compiler vectorizes); lanes past
    // Count hold zeros and their results are dropped.
    constexpr int L = LANES;
    const int n = Count < 0 ? 0 : Count > LANES ? LANES : Count;
    // The six numbers as doubles, one column per position.
    alignas(16) double columns[LOTTO_COUNT][LANES];
    for (int l = 0; l < n; ++l) {
        const std::uint8_t* nums = Combs[l].N;
        for (int i = 0; i < LOTTO_COUNT; ++i)
            columns[i][l] = BYTE_VALUES[nums[i]];
    }
    for (int i = 0; i < LOTTO_COUNT; ++i)
        for (int l = n; l < L; ++l)
            columns[i][l] = 0;
    // Stack entry k points at a column or at one of its own two scratch rows; an operation
    // writes the row its operand does not use, so results never overlap their operands.
    alignas(16) double scratch[MAX_DEPTH][2][LANES];
    const double* stack[MAX_DEPTH];
    int row[MAX_DEPTH] = {};
    int sp = 0;
    auto target = [&](int k) {
        row[k] ^= 1;
        return scratch[k][row[k]];
    };
    for (const TInstr& in : code_) {
        switch (in.Op) {
        case TOp::PushN:
            stack[sp++] = columns[in.Arg];
            break;
        case TOp::PushP:
        case TOp::PushT:
        case TOp::PushConst: {
            const double v = in.Op == TOp::PushP   ? p[in.Arg]
                             : in.Op == TOp::PushT ? t[in.Arg]
                                                   : in.Value;
            double* r = target(sp);
#pragma GCC ivdep
            for (int l = 0; l < L; ++l)
                r[l] = v;
            stack[sp++] = r;
            break;
        }
        case TOp::Neg: {
            const double* a = stack[sp - 1];
            double* r = target(sp - 1);
#pragma GCC ivdep
            for (int l = 0; l < L; ++l)
                r[l] = -a[l];
            stack[sp - 1] = r;
            break;
        }
        case TOp::Func: {
            const double* a = stack[sp - 1];
            double* r = target(sp - 1);
            double (*fn)(double) = FUNCTIONS[in.Arg].Fn;
#pragma GCC ivdep
            for (int l = 0; l < L; ++l)
                r[l] = fn(a[l]);
            stack[sp - 1] = r;
            break;
        }
        default: {
            const double* a = stack[sp - 2];
            const double* b = stack[sp - 1];
            double* r = target(sp - 2);
            switch (in.Op) {
            case TOp::Add:
#pragma GCC ivdep
                for (int l = 0; l < L; ++l)
                    r[l] = Checked(a[l] + b[l]);
                break;
            case TOp::Sub:
#pragma GCC ivdep
                for (int l = 0; l < L; ++l)
                    r[l] = Checked(a[l] - b[l]);
                break;
            case TOp::Mul:
#pragma GCC ivdep
                for (int l = 0; l < L; ++l)
                    r[l] = Checked(a[l] * b[l]);
                break;
            case TOp::Div:
#pragma GCC ivdep
                for (int l = 0; l < L; ++l) {
                    const double q = a[l] / b[l];
                    r[l] = (b[l] != 0.0) & (std::fabs(q) <= std::numeric_limits<double>::max())
                               ? q
                               : kNaN;
                }
                break;
            default: // Pow
#pragma GCC ivdep
                for (int l = 0; l < L; ++l)
                    r[l] =
                        std::isnan(a[l]) || std::isnan(b[l]) ? kNaN : Checked(std::pow(a[l], b[l]));
                break;
            }
            --sp;
            stack[sp - 1] = r;
            break;
        }
        }
    }
    for (int l = 0; l < n; ++l)
        out[l] = stack[0][l];
}

void TShreddingProgram::ShredDigits(const double* values, int count, int digits, int* out) {
    switch (digits) {
    case 1:
        return ShredAll<1>(values, count, out);
    case 2:
        return ShredAll<2>(values, count, out);
    case 3:
        return ShredAll<3>(values, count, out);
    case 4:
        return ShredAll<4>(values, count, out);
    case 5:
        return ShredAll<5>(values, count, out);
    default:
        for (int i = 0; i < count; ++i)
            out[i] = FormulaResultDigits(values[i], digits);
    }
}

double TShreddingProgram::EvalOne(const TComb& Comb, const double p[6], const double t[6]) const {
    // The same operations as Eval for a single lane.
    double stack[MAX_DEPTH];
    int sp = 0;
    for (const TInstr& in : code_) {
        switch (in.Op) {
        case TOp::PushN:
            stack[sp++] = Comb.N[in.Arg];
            break;
        case TOp::PushP:
            stack[sp++] = p[in.Arg];
            break;
        case TOp::PushT:
            stack[sp++] = t[in.Arg];
            break;
        case TOp::PushConst:
            stack[sp++] = in.Value;
            break;
        case TOp::Neg:
            stack[sp - 1] = -stack[sp - 1];
            break;
        case TOp::Func:
            stack[sp - 1] = FUNCTIONS[in.Arg].Fn(stack[sp - 1]);
            break;
        default: {
            const double a = stack[sp - 2], b = stack[sp - 1];
            double r;
            switch (in.Op) {
            case TOp::Add:
                r = FormulaAdd(a, b);
                break;
            case TOp::Sub:
                r = FormulaSub(a, b);
                break;
            case TOp::Mul:
                r = FormulaMul(a, b);
                break;
            case TOp::Div:
                r = FormulaDiv(a, b);
                break;
            default: // Pow
                r = FormulaPow(a, b);
                break;
            }
            stack[--sp - 1] = r;
            break;
        }
        }
    }
    return stack[0];
}

} // namespace pelko
