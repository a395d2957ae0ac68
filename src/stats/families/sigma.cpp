// Group "sig": the characteristic number of a draw, the last entry of the triangle of
// absolute differences of its six numbers in their order: plain (HCS1), with a final 0 or 1
// replaced by the sum of the last pair (HCS2), and a dynamic variant (HCS3) that turns the
// reference draw's number into candidate numbers for a filter.

#include "core/diff_chain.h"
#include "core/lottery.h"
#include "stats/custom_stat.h"
#include "stats/families/families.h"
#include "stats/families/stat_keys.h"
#include "stats/stat_format.h"

#include <cstdint>
#include <string>

namespace pelko {

namespace {

// DiffChain of six numbers in modes 0 and 1 without building an array: the combination
// loops (prefetch, filter) call it millions of times and must not allocate. On numbers up
// to 255 every difference is the same in int as in bytes, and the final sum is cut to a
// byte as DiffChain does; the tests hold the two equal over every combination.
inline int AbsDiff(int a, int b) { return a > b ? a - b : b - a; }

// The entries of the difference triangle that the first five numbers decide: the last one
// of each row but the final pair's second value. Combinations mostly come in generation
// order, where the first five stay the same for several in a row, so the loops keep them.
struct TChainPrefix {
    int D4 = 0, E3 = 0, F2 = 0, A = 0;

    TChainPrefix() = default;
    explicit TChainPrefix(const std::uint8_t* n) {
        const int d1 = AbsDiff(n[1], n[0]), d2 = AbsDiff(n[2], n[1]), d3 = AbsDiff(n[3], n[2]);
        D4 = AbsDiff(n[4], n[3]);
        const int e1 = AbsDiff(d2, d1), e2 = AbsDiff(d3, d2);
        E3 = AbsDiff(D4, d3);
        const int f1 = AbsDiff(e2, e1);
        F2 = AbsDiff(E3, e2);
        A = AbsDiff(F2, f1);
    }
    // The chain value once the sixth number n5 follows n4.
    int Finish(int n4, int n5, int mode) const {
        const int e4 = AbsDiff(AbsDiff(n5, n4), D4);
        const int b = AbsDiff(AbsDiff(e4, E3), F2);
        const int r = AbsDiff(b, A);
        if (mode == dcmSmallToSum && r < 2)
            return (A + b) & 0xFF;
        return r;
    }
};

inline std::uint64_t PrefixKey(const std::uint8_t* n) {
    return std::uint64_t{n[0]} | std::uint64_t{n[1]} << 8 | std::uint64_t{n[2]} << 16 |
           std::uint64_t{n[3]} << 24 | std::uint64_t{n[4]} << 32;
}
inline constexpr std::uint64_t NO_PREFIX = ~std::uint64_t{0};

inline int SigmaChainValue(const std::uint8_t* n, int mode) {
    return TChainPrefix(n).Finish(n[4], n[5], mode);
}

// One characteristic number per draw or combination, K1; graph. The chain mode is a
// template argument so the combination loops test no mode.
template <int Mode>
class TCustomSigmaGraphStat : public TCustomGraphStat {
public:
    using TCustomGraphStat::TCustomGraphStat;

    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomGraphStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        AddValue(Values, WordsKey(Value(CurDraw.Nums)), true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        TCustomGraphStat::ComputeForCombination(Comb, Values);
        AddValue(Values, WordsKey(CachedValue(Comb.N)), false);
    }
    int GraphValue(const TComb& Comb, int, int, bool) override { return Value(Comb.N); }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool, bool) override {
        return Selected.HasWord(1, CachedValue(Comb.N));
    }

private:
    static std::uint16_t Value(const std::uint8_t* n) {
        return static_cast<std::uint16_t>(SigmaChainValue(n, Mode));
    }
    std::uint16_t CachedValue(const std::uint8_t* n) {
        const std::uint64_t key = PrefixKey(n);
        if (key != prefixKey_) {
            prefix_ = TChainPrefix(n);
            prefixKey_ = key;
        }
        return static_cast<std::uint16_t>(prefix_.Finish(n[4], n[5], Mode));
    }

    std::uint64_t prefixKey_ = NO_PREFIX;
    TChainPrefix prefix_;
};

class TstSigma1 final : public TCustomSigmaGraphStat<dcmPlain> {
public:
    using TCustomSigmaGraphStat::TCustomSigmaGraphStat;
};

class TstSigma2 final : public TCustomSigmaGraphStat<dcmSmallToSum> {
public:
    using TCustomSigmaGraphStat::TCustomSigmaGraphStat;
};

// Only the reference draw counts: its characteristic number f (mode 2) and the multiples
// of f from 2f up to f² (or f³ while f² stays below 45) that are lottery numbers. Each
// candidate counts 1 when it came out in the draw after the window.
class TstSigma3 final : public TCustomStat {
public:
    using TCustomStat::TCustomStat;

    // A chain that ended in the pair (1, s) marks its first item K2 = 1, K4 = 2: "s (1)".
    std::string ValueToText(const TStatDraw& Item) const override {
        std::string text = std::to_string(Item.Key.K(1));
        if (Item.Key.K(4) == 2)
            text += " (" + std::to_string(Item.Key.K(2)) + ")";
        return text;
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        if (CurDraw.Number != RefDraw.Number)
            return;
        const TByteArray chain = DiffChain(CurDraw.Nums, LOTTO_COUNT, dcmZeroOrOne);
        if (chain.empty())
            return;
        TDrawData next;
        LoadDraw(LastIndex + 1, next, Sorted);
        int f = chain[0];
        if (chain.size() == 2) {
            f = chain[1];
            AddCandidate(Values, WordsKey(static_cast<std::uint16_t>(f), 1, 0, 2), next);
        } else {
            AddCandidate(Values, WordsKey(static_cast<std::uint16_t>(f)), next);
        }
        const int start = f * f > LOTTO_MAX - 1 ? f * f : f * f * f;
        for (int g = start; g > f; g -= f)
            if (g >= 1 && g <= LOTTO_MAX)
                AddCandidate(Values, WordsKey(static_cast<std::uint16_t>(g)), next);
    }
    void PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted, bool Exclude) override {
        TCustomStat::PrepareTest(Selected, RefIndex, Sorted, Exclude);
        selectedNumbers_ = 0;
        for (int n = 1; n <= LOTTO_MAX; ++n)
            if (Selected.HasWord(1, static_cast<std::uint16_t>(n)))
                selectedNumbers_ |= std::uint64_t{1} << n;
        prepared_ = &Selected;
    }
    // Some number of the combination is selected.
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex, bool Sorted,
                         bool Exclude) override {
        if (prepared_ != &Selected)
            PrepareTest(Selected, RefIndex, Sorted, Exclude);
        std::uint64_t mask = 0;
        for (const std::uint8_t n : Comb)
            mask |= std::uint64_t{1} << (n & 63);
        return (mask & selectedNumbers_) != 0;
    }

private:
    void AddCandidate(TStatDrawList& Values, const TStatKey& key, const TDrawData& next) {
        Item.Count = 0;
        for (const std::uint8_t n : next.Nums)
            if (n != 0 && n == key.K(1))
                Item.Count = 1;
        AddValue(Values, key, false);
    }

    const TStatSelection* prepared_ = nullptr;
    std::uint64_t selectedNumbers_ = 0;
};

TStatClassInfo SigmaClass(int position, const char* name, int number, const char* caption, TStatFlags flags) {
    TStatClassInfo info;
    info.Position = position;
    info.Name = name;
    info.Code = FormatTemplate("HCS%d", number);
    info.Caption = caption;
    info.Group = sgSigma;
    info.Flags = flags;
    return info;
}

} // namespace

void RegisterSigmaStats(TStatClassTable& table) {
    table.Add(StatClass<TstSigma1>(SigmaClass(139, "TstSigma1", 1, "Число Сигмы 1 (только разность)",
                                              sfOrderSensitive | sfCombinable)));
    table.Add(StatClass<TstSigma2>(SigmaClass(140, "TstSigma2", 2, "Число Сигмы 2 (разность + сложение, если {0,1})",
                                              sfOrderSensitive | sfCombinable)));
    TStatClassInfo sigma3 = SigmaClass(141, "TstSigma3", 3, "Числа Сигмы 3 (динамический, только фильтр)",
                                       sfOrderSensitive | sfReferenceDraw);
    sigma3.ScalarValues = false;
    table.Add(StatClass<TstSigma3>(std::move(sigma3)));
}

} // namespace pelko
