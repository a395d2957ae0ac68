// Group "num", combinations of numbers inside one draw: every pair, triple or quadruple of
// positions ("Mix"), the runs of two to four neighbouring positions ("Seq") and the two to
// four numbers from a chosen position ("Pos"), each value holding the numbers themselves
// in K1..Kk. Over archive draws the positions follow the draw's order; combinations are
// judged on their ascending numbers, so a value whose numbers descend never matches one.

#include "core/lottery.h"
#include "core/record_helpers.h"
#include "stats/custom_stat.h"
#include "stats/families/families.h"
#include "stats/families/stat_keys.h"
#include "stats/stat_format.h"

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace pelko {

namespace {

constexpr int NUMBER_SLOTS = LOTTO_MAX + 1; // index 0 stays unused

inline std::uint64_t Bit(int n) { return std::uint64_t{1} << n; }

// Rank of an ascending triple a < b < c of 1..45 among all C(45, 3) triples (colex order),
// from two small tables: C(c - 1, 3) + C(b - 1, 2) + (a - 1).
struct TTripleRank {
    std::int32_t Third[NUMBER_SLOTS] = {};
    std::int32_t Second[NUMBER_SLOTS] = {};
    constexpr TTripleRank() {
        for (int n = 1; n < NUMBER_SLOTS; ++n) {
            const int z = n - 1;
            Third[n] = z * (z - 1) * (z - 2) / 6;
            Second[n] = z * (z - 1) / 2;
        }
    }
    std::size_t operator()(int a, int b, int c) const {
        return static_cast<std::size_t>(Third[c] + Second[b] + a - 1);
    }
};
inline constexpr TTripleRank TRIPLE_RANK{};
inline constexpr int TRIPLES = LOTTO_MAX * (LOTTO_MAX - 1) * (LOTTO_MAX - 2) / 6;

// The selected k-subsets of 1..45 in ascending order, looked up by their first k - 1
// numbers: Next(prefix) is the set of last numbers that complete a selected value (each
// larger than the prefix). Built once per filter pass; a lookup is one array read: by the
// number, by the pair (46 x 46) or by the rank of the triple (C(45, 3) entries).
template <int K>
class TSubsetLookup {
    static_assert(K >= 2 && K <= 4);

public:
    void Build(const TStatSelection& Selected) {
        next_.assign(K == 2 ? NUMBER_SLOTS : K == 3 ? NUMBER_SLOTS * NUMBER_SLOTS : TRIPLES, 0);
        for (const TStatDraw& item : Selected.Items()) {
            int n[4];
            if (!AscendingNumbers(item.Key, n))
                continue;
            if constexpr (K == 2)
                next_[static_cast<std::size_t>(n[0])] |= Bit(n[1]);
            else if constexpr (K == 3)
                next_[Pair(n[0], n[1])] |= Bit(n[2]);
            else
                next_[TRIPLE_RANK(n[0], n[1], n[2])] |= Bit(n[3]);
        }
    }

    std::uint64_t Next(int a) const requires(K == 2) { return next_[static_cast<std::size_t>(a)]; }
    // The completions of (a, b) for every b: index it by b.
    const std::uint64_t* Row(int a) const requires(K == 3) { return next_.data() + Pair(a, 0); }
    std::uint64_t Next(int a, int b) const requires(K == 3) { return next_[Pair(a, b)]; }
    std::uint64_t Next(int a, int b, int c) const requires(K == 4) { return next_[TRIPLE_RANK(a, b, c)]; }

private:
    static std::size_t Pair(int a, int b) { return static_cast<std::size_t>(a) * NUMBER_SLOTS + b; }

    // K1..Kk strictly ascending numbers 1..45 and the words after them 0: the only keys a
    // combination's ascending numbers can give.
    static bool AscendingNumbers(const TStatKey& key, int (&n)[4]) {
        for (int i = 0; i < 4; ++i)
            n[i] = key.K(i + 1);
        for (int i = K; i < 4; ++i)
            if (n[i] != 0)
                return false;
        for (int i = 0; i < K; ++i)
            if (n[i] < 1 || n[i] > LOTTO_MAX || (i > 0 && n[i] <= n[i - 1]))
                return false;
        return true;
    }

    std::vector<std::uint64_t> next_;
};

// The combination's numbers ascending: the combination itself when it already is.
const std::uint8_t* AscendingOf(const TComb& comb, TComb& scratch) {
    const std::uint8_t* n = comb.N;
    if (n[0] < n[1] && n[1] < n[2] && n[2] < n[3] && n[3] < n[4] && n[4] < n[5])
        return n;
    scratch = comb;
    SortComb(scratch);
    return scratch.N;
}

// The first `count` numbers as a set.
std::uint64_t MaskOf(const std::uint8_t* n, int count) {
    std::uint64_t mask = 0;
    for (int i = 0; i < count; ++i)
        mask |= Bit(n[i] & 63);
    return mask;
}

// The completions of the prefix made of the numbers at positions i (, j (, k)).
template <int K>
std::uint64_t CompletionsOf(const TSubsetLookup<K>& lookup, const std::uint8_t* n, int i, int j, int k) {
    if constexpr (K == 2)
        return lookup.Next(n[i]);
    else if constexpr (K == 3)
        return lookup.Next(n[i], n[j]);
    else
        return lookup.Next(n[i], n[j], n[k]);
}

// The union of the completions of every prefix of positions among the first five. A subset
// of positions is selected exactly when its last number is in the completions of its
// prefix; completions are larger than the prefix, so any of them among the six numbers
// stands after it.
std::uint64_t SubsetCompletions(const TSubsetLookup<2>& lookup, const std::uint8_t* n) {
    std::uint64_t hits = 0;
    for (int i = 0; i < LOTTO_COUNT - 1; ++i)
        hits |= lookup.Next(n[i]);
    return hits;
}

std::uint64_t SubsetCompletions(const TSubsetLookup<3>& lookup, const std::uint8_t* n) {
    std::uint64_t hits = 0;
    for (int i = 0; i < LOTTO_COUNT - 2; ++i) {
        const std::uint64_t* row = lookup.Row(n[i]);
        for (int j = i + 1; j < LOTTO_COUNT - 1; ++j)
            hits |= row[n[j]];
    }
    return hits;
}

std::uint64_t SubsetCompletions(const TSubsetLookup<4>& lookup, const std::uint8_t* n) {
    std::uint64_t hits = 0;
    for (int i = 0; i < LOTTO_COUNT - 3; ++i)
        for (int j = i + 1; j < LOTTO_COUNT - 2; ++j)
            for (int k = j + 1; k < LOTTO_COUNT - 1; ++k)
                hits |= lookup.Next(n[i], n[j], n[k]);
    return hits;
}

// What the first five ascending numbers say: the combination holds a selected value when
// Hit, or when its sixth number is in Last.
struct TPrefixVerdict {
    bool Hit = false;
    std::uint64_t Last = 0;
};

std::uint64_t PrefixKey(const std::uint8_t* n) {
    return std::uint64_t{n[0]} | std::uint64_t{n[1]} << 8 | std::uint64_t{n[2]} << 16 |
           std::uint64_t{n[3]} << 24 | std::uint64_t{n[4]} << 32;
}
inline constexpr std::uint64_t NO_PREFIX = ~std::uint64_t{0};

enum class TPick { Mix, Seq, Pos };

// The family's statistic: values of k numbers, shown joined by ":"; they are not single
// integers, nothing is pre-filled, and every value of a draw is merged with its gaps.
// A test called with a selection it was not prepared for prepares itself first.
template <int K, TPick Pick, bool SortDraws = false>
class TCombValuesStat final : public TCustomStat {
public:
    TCombValuesStat(const TStatList& List, int Type)
        : TCustomStat(List, Type), start_(std::clamp(Type, 1, LOTTO_COUNT - K + 1) - 1) {}

    std::string ValueToText(const TStatDraw& Item) const override {
        std::string text = std::to_string(Item.Key.K(1));
        for (int i = 2; i <= K; ++i)
            text += ":" + std::to_string(Item.Key.K(i));
        return text;
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        TCustomStat::ComputeForDraw(DrawIndex, LastIndex, Sorted || SortDraws, Values, Work, LastValues);
        const std::uint8_t* n = CurDraw.Nums;
        if constexpr (Pick == TPick::Mix)
            AddSubsets(n, Values);
        else if constexpr (Pick == TPick::Seq)
            for (int s = 0; s + K <= LOTTO_COUNT; ++s)
                AddRun(n, s, Values);
        else
            AddRun(n, start_, Values);
    }
    void PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted, bool Exclude) override {
        TCustomStat::PrepareTest(Selected, RefIndex, Sorted, Exclude);
        lookup_.Build(Selected);
        prepared_ = &Selected;
        cachedPrefix_ = NO_PREFIX;
    }
    // Combinations mostly come in generation order, where the first five numbers stay the
    // same for several combinations in a row: their verdict is kept until they change.
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex, bool Sorted,
                         bool Exclude) override {
        if (prepared_ != &Selected)
            PrepareTest(Selected, RefIndex, Sorted, Exclude);
        TComb scratch;
        const std::uint8_t* n = AscendingOf(Comb, scratch);
        const std::uint64_t prefix = PrefixKey(n);
        if (prefix != cachedPrefix_) {
            cached_ = Verdict(n);
            cachedPrefix_ = prefix;
        }
        return cached_.Hit || ((cached_.Last >> (n[5] & 63)) & 1u) != 0;
    }

private:
    // Runs and windows that end before the sixth number decide alone; the one that ends
    // with it needs that number among the completions of its first k - 1.
    TPrefixVerdict Verdict(const std::uint8_t* n) const {
        TPrefixVerdict v;
        if constexpr (Pick == TPick::Mix) {
            v.Last = SubsetCompletions(lookup_, n);
            v.Hit = (v.Last & MaskOf(n, LOTTO_COUNT - 1)) != 0;
        } else if constexpr (Pick == TPick::Seq) {
            for (int s = 0; s + K < LOTTO_COUNT; ++s)
                v.Hit |= RunSelected(n, s);
            v.Last = RunCompletions(n, LOTTO_COUNT - K);
        } else if (start_ + K < LOTTO_COUNT) {
            v.Hit = RunSelected(n, start_);
        } else {
            v.Last = RunCompletions(n, start_);
        }
        return v;
    }
    std::uint64_t RunCompletions(const std::uint8_t* n, int s) const {
        return CompletionsOf<K>(lookup_, n, s, s + 1, s + 2);
    }
    bool RunSelected(const std::uint8_t* n, int s) const {
        return ((RunCompletions(n, s) >> (n[s + K - 1] & 63)) & 1u) != 0;
    }

    static TStatKey KeyOf(const std::uint8_t* n, const int* at) {
        std::uint16_t k[4] = {};
        for (int i = 0; i < K; ++i)
            k[i] = n[at[i]];
        return WordsKey(k[0], k[1], k[2], k[3]);
    }
    void AddRun(const std::uint8_t* n, int s, TStatDrawList& Values) {
        int at[4] = {};
        for (int i = 0; i < K; ++i)
            at[i] = s + i;
        AddValue(Values, KeyOf(n, at), true);
    }
    // Position subsets i1 < i2 (< i3 (< i4)) in lexicographic order.
    void AddSubsets(const std::uint8_t* n, TStatDrawList& Values) {
        int at[4] = {};
        for (int i = 0; i < K; ++i)
            at[i] = i;
        for (;;) {
            AddValue(Values, KeyOf(n, at), true);
            int i = K - 1;
            while (i >= 0 && at[i] == LOTTO_COUNT - K + i)
                --i;
            if (i < 0)
                return;
            ++at[i];
            for (int j = i + 1; j < K; ++j)
                at[j] = at[j - 1] + 1;
        }
    }

    int start_;
    TSubsetLookup<K> lookup_;
    const TStatSelection* prepared_ = nullptr;
    std::uint64_t cachedPrefix_ = NO_PREFIX;
    TPrefixVerdict cached_;
};

template <int K>
using TstCombValMix = TCombValuesStat<K, TPick::Mix>;
template <int K>
using TstCombValSeq = TCombValuesStat<K, TPick::Seq>;
template <int K>
using TstCombValPos = TCombValuesStat<K, TPick::Pos>;
// Subsets of the numbers taken in ascending order whatever the sorted-draws option; the
// class is not available, so it never becomes a method.
template <int K>
using TstCombValSort = TCombValuesStat<K, TPick::Mix, true>;

TStatClassInfo CombValuesClass(int position, const char* name, std::string code, std::string caption,
                               TStatFlags flags = sfOrderSensitive) {
    TStatClassInfo info;
    info.Position = position;
    info.Name = name;
    info.Code = std::move(code);
    info.Caption = std::move(caption);
    info.Group = sgNumbers;
    info.Flags = flags;
    info.ScalarValues = false;
    return info;
}

template <int K>
void AddMixSeqSort(TStatClassTable& table, int mixPos, int seqPos, int sortPos, const char* mixName,
                   const char* seqName, const char* sortName) {
    table.Add(StatClass<TstCombValMix<K>>(CombValuesClass(
        mixPos, mixName, FormatTemplate("KNM%d", K),
        FormatTemplate("Сочетания из %0:d чисел по всем числам тиража", K))));
    table.Add(StatClass<TstCombValSeq<K>>(CombValuesClass(
        seqPos, seqName, FormatTemplate("KNS%d", K), FormatTemplate("Сочетания из %0:d соседних чисел тиража", K))));
    TStatClassInfo sort = CombValuesClass(sortPos, sortName, FormatTemplate("KNO%d", K),
                                          FormatTemplate("Сочетания из %0:d чисел тиража по возрастанию", K), 0);
    sort.Available = false;
    table.Add(StatClass<TstCombValSort<K>>(std::move(sort)));
}

template <int K>
void AddPos(TStatClassTable& table, int position, const char* name, const char* code, const char* caption,
            TTypeRangeFn types, const char* familyCode) {
    TStatClassInfo info = CombValuesClass(position, name, code, caption);
    info.TypeRange = types;
    info.FamilyCode = familyCode;
    table.Add(StatClass<TstCombValPos<K>>(std::move(info)));
}

} // namespace

void RegisterNumberCombinationStats(TStatClassTable& table) {
    AddMixSeqSort<2>(table, 62, 65, 71, "TstCombValMix2", "TstCombValSeq2", "TstCombValSort2");
    AddMixSeqSort<3>(table, 63, 66, 72, "TstCombValMix3", "TstCombValSeq3", "TstCombValSort3");
    AddMixSeqSort<4>(table, 64, 67, 73, "TstCombValMix4", "TstCombValSeq4", "TstCombValSort4");
    AddPos<2>(table, 68, "TstCombValPos2", "KNP2%d", "Сочетания из 2-х чисел тиража начиная с %0:d позиции",
              &FixedTypes<1, 5>, "KNP2");
    AddPos<3>(table, 69, "TstCombValPos3", "KNP3%d", "Сочетания из 3-х чисел тиража начиная с %0:d позиции",
              &FixedTypes<1, 4>, "KNP3");
    AddPos<4>(table, 70, "TstCombValPos4", "KNP4%d", "Сочетания из 4-х чисел тиража начиная с %0:d позиции",
              &FixedTypes<1, 3>, "KNP4");
}

} // namespace pelko
