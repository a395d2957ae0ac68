#include "stats/families/shredding_program.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace pelko {

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr int MAX_DEPTH = 24;

// The operations of TCompiledFormula, each turning a non-finite result into NaN so that a
// failure anywhere reaches the result.
inline double Checked(double v) {
    return std::fabs(v) <= std::numeric_limits<double>::max() ? v : kNaN;
}

double ArcTan(double x) { return Checked(std::atan(x)); }
double Cos(double x) { return Checked(std::cos(x)); }
double Sin(double x) { return Checked(std::sin(x)); }
double Tan(double x) { return Checked(std::tan(x)); }
double Abs(double x) { return Checked(std::fabs(x)); }
double Exp(double x) { return Checked(std::exp(x)); }
double Ln(double x) { return x <= 0.0 ? kNaN : Checked(std::log(x)); }
double Log10(double x) { return x <= 0.0 ? kNaN : Checked(std::log10(x)); }
double Sqrt(double x) { return x < 0.0 ? kNaN : Checked(std::sqrt(x)); }
double Sqr(double x) { return Checked(x * x); }
double Trunc(double x) { return Checked(std::trunc(x)); }
double Frac(double x) { return Checked(x - std::trunc(x)); }
double Round(double x) { return Checked(std::round(x)); }
double ArcSin(double x) { return x < -1.0 || x > 1.0 ? kNaN : Checked(std::asin(x)); }
double ArcCos(double x) { return x < -1.0 || x > 1.0 ? kNaN : Checked(std::acos(x)); }
double Sign(double x) {
    if (std::isnan(x))
        return kNaN;
    return x > 0.0 ? 1.0 : x < 0.0 ? -1.0 : 0.0;
}
double Not(double x) {
    const double t = std::trunc(x);
    if (!(std::fabs(t) < 9.2e18))
        return kNaN;
    return static_cast<double>(~static_cast<long long>(t));
}

struct TFunction {
    const char* Name;
    double (*Fn)(double);
};

constexpr TFunction FUNCTIONS[] = {
    {"arctan", ArcTan}, {"cos", Cos},   {"sin", Sin},     {"tan", Tan},     {"abs", Abs},
    {"exp", Exp},       {"ln", Ln},     {"log", Log10},   {"sqrt", Sqrt},   {"sqr", Sqr},
    {"int", Trunc},     {"frac", Frac}, {"trunc", Trunc}, {"round", Round}, {"arcsin", ArcSin},
    {"arccos", ArcCos}, {"sign", Sign}, {"not", Not},
};
constexpr int FUNCTION_COUNT = sizeof(FUNCTIONS) / sizeof(FUNCTIONS[0]);

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
        if (!Expr())
            return false;
        Skip();
        return at_ == text_.size() && depth_ == 1;
    }

private:
    void Skip() {
        while (at_ < text_.size() && (text_[at_] == ' ' || text_[at_] == '\t' || text_[at_] == '\r' || text_[at_] == '\n'))
            ++at_;
    }
    bool Peek(char c) {
        Skip();
        return at_ < text_.size() && text_[at_] == c;
    }
    bool Take(char c) {
        if (!Peek(c))
            return false;
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
        if (depth_ > program_.depth_)
            program_.depth_ = depth_;
        return depth_ <= MAX_DEPTH;
    }

    bool Expr() {
        if (!Term())
            return false;
        for (;;) {
            if (Take('+')) {
                if (!Term() || !Emit(TOp::Add))
                    return false;
            } else if (Take('-')) {
                if (!Term() || !Emit(TOp::Sub))
                    return false;
            } else {
                return true;
            }
        }
    }
    bool Term() {
        if (!Unary())
            return false;
        for (;;) {
            if (Take('*')) {
                if (!Unary() || !Emit(TOp::Mul))
                    return false;
            } else if (Take('/')) {
                if (!Unary() || !Emit(TOp::Div))
                    return false;
            } else {
                return true;
            }
        }
    }
    bool Unary() {
        if (Take('-'))
            return Unary() && Emit(TOp::Neg);
        if (Take('+'))
            return Unary();
        return Power();
    }
    bool Power() {
        if (!Primary())
            return false;
        if (Take('^'))
            return Unary() && Emit(TOp::Pow);
        return true;
    }
    bool Primary() {
        Skip();
        if (at_ >= text_.size())
            return false;
        const char c = text_[at_];
        if (c == '(') {
            ++at_;
            return Expr() && Take(')');
        }
        if (std::isdigit(static_cast<unsigned char>(c)) || c == '.')
            return Number();
        if (std::isalpha(static_cast<unsigned char>(c)) || c == '_')
            return Name();
        return false;
    }
    bool Number() {
        double value = 0;
        const char* begin = text_.data() + at_;
        const auto [end, ec] = std::from_chars(begin, text_.data() + text_.size(), value, std::chars_format::general);
        if (ec != std::errc())
            return false;
        at_ += static_cast<std::size_t>(end - begin);
        // "1e" or "2x": a letter glued to a number is not this grammar.
        if (at_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[at_])) || text_[at_] == '_' || text_[at_] == '.'))
            return false;
        return Emit(TOp::PushConst, 0, value);
    }
    bool Name() {
        const std::size_t start = at_;
        while (at_ < text_.size() && (std::isalnum(static_cast<unsigned char>(text_[at_])) || text_[at_] == '_'))
            ++at_;
        const std::string name = Lower(text_.substr(start, at_ - start));
        if (name.size() == 2 && name[1] >= '1' && name[1] <= '6') {
            const auto index = static_cast<std::uint8_t>(name[1] - '1');
            if (name[0] == 'n')
                return Emit(TOp::PushN, index);
            if (name[0] == 'p')
                return Emit(TOp::PushP, index);
            if (name[0] == 't')
                return Emit(TOp::PushT, index);
        }
        for (int f = 0; f < FUNCTION_COUNT; ++f)
            if (name == FUNCTIONS[f].Name)
                return Take('(') && Expr() && Take(')') && Emit(TOp::Func, static_cast<std::uint8_t>(f));
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
    if (!parser.Parse())
        return std::nullopt;
    return program;
}

void TShreddingProgram::Eval(const TComb* Combs, int Count, const double p[6], const double t[6], double* out) const {
    double stack[MAX_DEPTH][LANES];
    int sp = 0;
    const int n = Count < 0 ? 0 : Count > LANES ? LANES : Count;
    for (const TInstr& in : code_) {
        switch (in.Op) {
        case TOp::PushN: {
            double* s = stack[sp++];
            for (int l = 0; l < n; ++l)
                s[l] = Combs[l].N[in.Arg];
            break;
        }
        case TOp::PushP:
        case TOp::PushT:
        case TOp::PushConst: {
            const double v = in.Op == TOp::PushP ? p[in.Arg] : in.Op == TOp::PushT ? t[in.Arg] : in.Value;
            double* s = stack[sp++];
            for (int l = 0; l < n; ++l)
                s[l] = v;
            break;
        }
        case TOp::Neg: {
            double* a = stack[sp - 1];
            for (int l = 0; l < n; ++l)
                a[l] = -a[l];
            break;
        }
        case TOp::Add: {
            double* a = stack[sp - 2];
            const double* b = stack[--sp];
            for (int l = 0; l < n; ++l)
                a[l] = Checked(a[l] + b[l]);
            break;
        }
        case TOp::Sub: {
            double* a = stack[sp - 2];
            const double* b = stack[--sp];
            for (int l = 0; l < n; ++l)
                a[l] = Checked(a[l] - b[l]);
            break;
        }
        case TOp::Mul: {
            double* a = stack[sp - 2];
            const double* b = stack[--sp];
            for (int l = 0; l < n; ++l)
                a[l] = Checked(a[l] * b[l]);
            break;
        }
        case TOp::Div: {
            double* a = stack[sp - 2];
            const double* b = stack[--sp];
            for (int l = 0; l < n; ++l)
                a[l] = b[l] == 0.0 ? kNaN : Checked(a[l] / b[l]);
            break;
        }
        case TOp::Pow: {
            double* a = stack[sp - 2];
            const double* b = stack[--sp];
            for (int l = 0; l < n; ++l)
                a[l] = std::isnan(a[l]) || std::isnan(b[l]) ? kNaN : Checked(std::pow(a[l], b[l]));
            break;
        }
        case TOp::Func: {
            double* a = stack[sp - 1];
            double (*fn)(double) = FUNCTIONS[in.Arg].Fn;
            for (int l = 0; l < n; ++l)
                a[l] = fn(a[l]);
            break;
        }
        }
    }
    for (int l = 0; l < n; ++l)
        out[l] = stack[0][l];
}

double TShreddingProgram::EvalOne(const TComb& Comb, const double p[6], const double t[6]) const {
    double out = 0;
    Eval(&Comb, 1, p, t, &out);
    return out;
}

} // namespace pelko
