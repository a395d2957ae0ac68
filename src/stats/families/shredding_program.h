#pragma once
// A shredding formula as a flat postfix program evaluated over a batch of combinations at
// once: each instruction runs over all lanes of the batch, so a pass over millions of
// combinations pays the interpretation once per batch instead of once per combination.
//
// It knows the grammar of TCompiledFormula (numbers, + - * / ^, unary signs, parentheses,
// the one-argument functions, n1..n6, p1..p6, t1..t6, names in any case) and computes
// every operation the same way, so results agree bit for bit. Texts outside that grammar
// do not compile here; the caller keeps to TCompiledFormula for them.

#include "core/lottery.h"

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace pelko {

class TShreddingProgram {
  public:
    static constexpr int LANES = 64;

    // The program of a formula; nullopt when the text is outside the grammar above.
    static std::optional<TShreddingProgram> Compile(std::string_view formula);

    // out[l] := the formula with n = Combs[l], l < Count (<= LANES), and the shared p and t.
    // A failed operation (division by zero, domain error, overflow) gives NaN.
    void Eval(const TComb* Combs, int Count, const double p[6], const double t[6],
              double* out) const;
    double EvalOne(const TComb& Comb, const double p[6], const double t[6]) const;

    // out[i] := FormulaResultDigits(values[i], digits), the same arithmetic with the power
    // of ten fixed at compile time for 1..5 digits (the division becomes a multiplication).
    static void ShredDigits(const double* values, int count, int digits, int* out);

  private:
    enum class TOp : std::uint8_t {
        PushN,
        PushP,
        PushT,
        PushConst,
        Neg,
        Add,
        Sub,
        Mul,
        Div,
        Pow,
        Func
    };
    struct TInstr {
        TOp Op;
        std::uint8_t Arg = 0; // variable index 0..5 or function number
        double Value = 0;     // PushConst
    };
    class TParser;

    std::vector<TInstr> code_;
    int depth_ = 0;
};

} // namespace pelko
