#pragma once
// The statistics that channels, matrix columns and rows, and segments share: each number's
// group, the count of numbers per group, the number of groups used, the count in one group,
// and the groups of position subsets ("Mix") and neighbouring positions ("Seq"). A family
// instantiates them over its own base, which carries the TNumberGrouping its parameters
// give (see channels.cpp, matrix.cpp, segments.cpp).
//
// The tests prepare per-pass lookups in PrepareTest so that TestCombination does a few
// table reads per combination; a test called with a selection it was not prepared for
// prepares itself first.

#include "core/lottery.h"
#include "stats/custom_stat.h"
#include "stats/families/batch_counts.h"
#include "stats/families/number_grouping.h"
#include "stats/families/stat_keys.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace pelko {

// Counts 0..6 of every domain position at once: position p counts in bit p of the three
// words, so a few bit operations replace a table of counters in the per-combination
// tests. (The six operands are written out: at -O2 a loop of six stays a loop.)
struct TSlicedCounts {
    std::uint64_t Ones = 0, Twos = 0, Fours = 0;

    void Add(std::uint64_t bits) {
        const std::uint64_t carry = Ones & bits;
        Ones ^= bits;
        Fours |= Twos & carry;
        Twos ^= carry;
    }
    // The counts of six sets: two full adders, then a two-bit addition.
    static TSlicedCounts OfSix(std::uint64_t a, std::uint64_t b, std::uint64_t c, std::uint64_t d,
                               std::uint64_t e, std::uint64_t f) {
        const std::uint64_t x1 = a ^ b, x2 = d ^ e;
        const std::uint64_t ones1 = x1 ^ c, twos1 = (a & b) | (x1 & c);
        const std::uint64_t ones2 = x2 ^ f, twos2 = (d & e) | (x2 & f);
        const std::uint64_t carry = ones1 & ones2, twos = twos1 ^ twos2;
        return {ones1 ^ ones2, twos ^ carry, (twos1 & twos2) | (twos & carry)};
    }
    // The positions p whose count k has bit p set in selected[k].
    std::uint64_t Matching(const std::uint64_t (&selected)[LOTTO_COUNT + 1]) const {
        const std::uint64_t o = Ones, t = Twos, f = Fours;
        return (selected[0] & ~(o | t | f)) | (selected[1] & o & ~t & ~f) |
               (selected[2] & ~o & t & ~f) | (selected[3] & o & t & ~f) |
               (selected[4] & ~o & ~t & f) | (selected[5] & o & ~t & f) |
               (selected[6] & ~o & t & f);
    }
};

// Set bits of a word, inline: without a POPCNT target std::popcount becomes a library call,
// which costs more than the rest of a per-combination test.
inline int CountBits(std::uint64_t x) {
    x = x - ((x >> 1) & 0x5555555555555555u);
    x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
    return static_cast<int>((x * 0x0101010101010101u) >> 56);
}

// A statistic kind (TCustomNumbersStat, TCustomGraphStat) with the grouping copied at
// creation.
template <class Kind> class TGroupedStat : public Kind {
  public:
    TGroupedStat(const TStatList& List, int Type, const TNumberGrouping& grouping)
        : Kind(List, Type), Groups(grouping) {}

    const TNumberGrouping Groups;

  protected:
    // The selection the per-pass lookups were made for.
    const TStatSelection* Prepared = nullptr;

    void PrepareIfNeeded(const TStatSelection& Selected, int RefIndex, bool Sorted, bool Exclude) {
        if (Prepared != &Selected) [[unlikely]]
            PrepareLate(Selected, RefIndex, Sorted, Exclude);
    }

  private:
    // Kept out of the per-combination loops.
    [[gnu::noinline, gnu::cold]] void PrepareLate(const TStatSelection& Selected, int RefIndex,
                                                  bool Sorted, bool Exclude) {
        this->PrepareTest(Selected, RefIndex, Sorted, Exclude);
    }
};

// The group of each of the six numbers, K1; pre-fills the domain. ByByte tests the key's
// first byte instead of its first word (the channels' way; the same for these keys).
template <class Base, bool ByByte = false> class TGroupOfEachStat : public Base {
  public:
    using Base::Base;

    void FillAllValues(int LastIndex, TStatDrawList& Values) override {
        Base::FillAllValues(LastIndex, Values);
        for (int i = 0; i < this->Groups.DomainSize; ++i)
            this->FillValue(Values, WordsKey(this->Groups.Domain[i]));
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        Base::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        AddGroups(this->CurDraw.Nums, Values, true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        Base::ComputeForCombination(Comb, Values);
        AddGroups(Comb.N, Values, false);
    }
    void PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted,
                     bool Exclude) override {
        Base::PrepareTest(Selected, RefIndex, Sorted, Exclude);
        selectedNumbers_ = TByteSet{};
        for (int n = 0; n < 256; ++n) {
            const std::uint8_t g = this->Groups.Group[n];
            if (ByByte ? Selected.HasByte(1, g) : Selected.HasWord(1, g))
                selectedNumbers_.Add(static_cast<unsigned>(n));
        }
        this->Prepared = &Selected;
    }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex,
                         bool Sorted, bool Exclude) override {
        this->PrepareIfNeeded(Selected, RefIndex, Sorted, Exclude);
        const TByteSet& s = selectedNumbers_;
        const std::uint8_t* n = Comb.N;
        return s.Has(n[0]) | s.Has(n[1]) | s.Has(n[2]) | s.Has(n[3]) | s.Has(n[4]) | s.Has(n[5]);
    }

  private:
    void AddGroups(const std::uint8_t* nums, TStatDrawList& Values, bool trackGaps) {
        for (int i = 0; i < LOTTO_COUNT; ++i)
            this->AddValue(Values, WordsKey(this->Groups.Group[nums[i]]), trackGaps);
    }

    TByteSet selectedNumbers_; // numbers whose group is selected
};

// For every group of the domain, in domain order: (group, count of the six numbers in it),
// K1 and K2, zero counts included. Pre-fills every group with the counts 0..PreFillMax
// when PreFillMax >= 0.
template <class Base> class TGroupCountsStat : public Base {
  public:
    TGroupCountsStat(const TStatList& List, int Type, int preFillMax)
        : Base(List, Type), preFillMax_(preFillMax) {}

    std::string ValueToText(const TStatDraw& Item) const override {
        return GroupText(Item.Key.K(1)) + " x " + std::to_string(Item.Key.K(2));
    }
    void FillAllValues(int LastIndex, TStatDrawList& Values) override {
        Base::FillAllValues(LastIndex, Values);
        for (int i = 0; i < this->Groups.DomainSize; ++i)
            for (int k = 0; k <= preFillMax_; ++k)
                this->FillValue(Values,
                                WordsKey(this->Groups.Domain[i], static_cast<std::uint16_t>(k)));
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        Base::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        AddCounts(this->CurDraw.Nums, Values, true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        Base::ComputeForCombination(Comb, Values);
        AddCounts(Comb.N, Values, false);
    }
    // The prefetch pass: (group, count) pairs counted over runs of combinations.
    void CountCombinations(const TComb* Combs, std::size_t Count, TStatDrawList& Values) {
        constexpr int COUNTS = LOTTO_COUNT + 1;
        TBatchCounts<LOTTO_MAX * COUNTS> counts;
        const int domain = this->Groups.DomainSize;
        for (std::size_t begin = 0; begin < Count; begin += BATCH_COUNT_RUN) {
            const std::size_t end = std::min(Count, begin + BATCH_COUNT_RUN);
            for (std::size_t c = begin; c < end; ++c) {
                std::uint8_t inGroup[LOTTO_MAX] = {};
                for (const std::uint8_t n : Combs[c])
                    if (this->Groups.Index[n] != TNumberGrouping::NO_INDEX)
                        ++inGroup[this->Groups.Index[n]];
                for (int i = 0; i < domain; ++i)
                    counts.Add(i * COUNTS + inGroup[i]);
            }
            counts.Drain([&](int at, std::int32_t times) {
                this->Item = TStatDraw{};
                this->Item.Count = times;
                this->AddValue(Values,
                               WordsKey(this->Groups.Domain[at / COUNTS],
                                        static_cast<std::uint16_t>(at % COUNTS)),
                               false);
            });
        }
    }
    void PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted,
                     bool Exclude) override {
        Base::PrepareTest(Selected, RefIndex, Sorted, Exclude);
        for (int k = 0; k <= LOTTO_COUNT; ++k) {
            selectedWith_[k] = 0;
            for (int i = 0; i < this->Groups.DomainSize; ++i)
                if (Selected.HasKey(this->Groups.Domain[i], static_cast<std::uint16_t>(k)))
                    selectedWith_[k] |= std::uint64_t{1} << i;
        }
        this->Prepared = &Selected;
    }
    // Some group of the domain holds a selected count (zero counts included).
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex,
                         bool Sorted, bool Exclude) override {
        this->PrepareIfNeeded(Selected, RefIndex, Sorted, Exclude);
        const std::uint64_t* bit = this->Groups.Bit;
        const std::uint8_t* n = Comb.N;
        return TSlicedCounts::OfSix(bit[n[0]], bit[n[1]], bit[n[2]], bit[n[3]], bit[n[4]],
                                    bit[n[5]])
                   .Matching(selectedWith_) != 0;
    }

  protected:
    // The group's part of the value text.
    virtual std::string GroupText(int group) const { return std::to_string(group); }

  private:
    void AddCounts(const std::uint8_t* nums, TStatDrawList& Values, bool trackGaps) {
        std::uint8_t counts[LOTTO_MAX] = {};
        for (int i = 0; i < LOTTO_COUNT; ++i) {
            const std::uint8_t at = this->Groups.Index[nums[i]];
            if (at != TNumberGrouping::NO_INDEX) ++counts[at];
        }
        for (int i = 0; i < this->Groups.DomainSize; ++i)
            this->AddValue(Values, WordsKey(this->Groups.Domain[i], counts[i]), trackGaps);
    }

    int preFillMax_;
    std::uint64_t selectedWith_[LOTTO_COUNT + 1] =
        {}; // per count k: domain positions with (group, k) selected
};

// A statistic whose value is one count per combination (K1), worked out by Derived::Count;
// the table is pre-filled with the counts 1..PreFillMax. Plotted.
template <class Base, class Derived> class TGroupCountStat : public Base {
  public:
    TGroupCountStat(const TStatList& List, int Type, int preFillMax) : Base(List, Type), preFillMax_(preFillMax) {}

    void FillAllValues(int LastIndex, TStatDrawList& Values) override {
        Base::FillAllValues(LastIndex, Values);
        for (int k = 1; k <= preFillMax_; ++k)
            this->FillValue(Values, WordsKey(static_cast<std::uint16_t>(k)));
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        Base::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        this->AddValue(Values, WordsKey(Self().Count(this->CurDraw.Nums)), true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        Base::ComputeForCombination(Comb, Values);
        this->AddValue(Values, WordsKey(Self().Count(Comb.N)), false);
    }
    int GraphValue(const TComb& Comb, int, int, bool) override { return Self().Count(Comb.N); }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool,
                         bool) override {
        return Selected.HasWord(1, Self().Count(Comb.N));
    }

  private:
    const Derived& Self() const { return static_cast<const Derived&>(*this); }

    int preFillMax_;
};

// Number of distinct groups among the six numbers.
template <class Base> class TGroupsUsedStat : public TGroupCountStat<Base, TGroupsUsedStat<Base>> {
  public:
    using TGroupCountStat<Base, TGroupsUsedStat<Base>>::TGroupCountStat;

    std::uint16_t Count(const std::uint8_t* nums) const {
        const std::uint64_t* bit = this->Groups.Bit;
        const std::uint64_t occupied =
            bit[nums[0]] | bit[nums[1]] | bit[nums[2]] | bit[nums[3]] | bit[nums[4]] | bit[nums[5]];
        return static_cast<std::uint16_t>(CountBits(occupied));
    }
};

// How many of the six numbers lie in the group Type (counts pre-filled from 1, not 0).
template <class Base> class TGroupMembersStat : public TGroupCountStat<Base, TGroupMembersStat<Base>> {
  public:
    TGroupMembersStat(const TStatList& List, int Type, int preFillMax)
        : TGroupCountStat<Base, TGroupMembersStat<Base>>(List, Type, preFillMax) {
        for (int n = 1; n <= LOTTO_MAX; ++n)
            if (this->Groups.Group[n] == Type) members_.Add(static_cast<unsigned>(n));
    }

    std::uint16_t Count(const std::uint8_t* nums) const {
        const TByteSet& m = members_;
        return static_cast<std::uint16_t>(m.Has(nums[0]) + m.Has(nums[1]) + m.Has(nums[2]) +
                                          m.Has(nums[3]) + m.Has(nums[4]) + m.Has(nums[5]));
    }

  private:
    TByteSet members_; // the numbers 1..45 of group Type
};

// The position tuples of the Mix and Seq statistics: every Len-subset of the six positions
// in lexicographic order (Mix), or every run of Len neighbouring positions (Seq).
template <int Len, bool Mix> struct TPositionTuples {
    static constexpr int Count() {
        if (!Mix) return LOTTO_COUNT - Len + 1;
        int c = 1;
        for (int i = 0; i < Len; ++i)
            c = c * (LOTTO_COUNT - i) / (i + 1);
        return c;
    }
    static constexpr int COUNT = Count();

    std::array<std::array<std::uint8_t, Len>, COUNT> At{};

    constexpr TPositionTuples() {
        if (!Mix) {
            for (int s = 0; s < COUNT; ++s)
                for (int j = 0; j < Len; ++j)
                    At[s][j] = static_cast<std::uint8_t>(s + j);
            return;
        }
        std::array<std::uint8_t, Len> t{};
        for (int j = 0; j < Len; ++j)
            t[j] = static_cast<std::uint8_t>(j);
        for (int s = 0; s < COUNT; ++s) {
            At[s] = t;
            int j = Len - 1; // next subset in lexicographic order
            while (j >= 0 && t[j] == LOTTO_COUNT - Len + j)
                --j;
            if (j < 0) break;
            ++t[j];
            for (int r = j + 1; r < Len; ++r)
                t[r] = static_cast<std::uint8_t>(t[r - 1] + 1);
        }
    }
};

// The tuples' first Len - 1 positions, each once, in the tuples' order. A tuple is a prefix
// and a last position: any later position for Mix, the next one for Seq.
template <int Len, bool Mix> struct TTuplePrefixes {
    static constexpr int PREFIX = Len - 1;
    std::array<std::array<std::uint8_t, PREFIX>, TPositionTuples<Len, Mix>::COUNT> At{};
    int Count = 0;

    constexpr TTuplePrefixes() {
        const TPositionTuples<Len, Mix> tuples;
        for (const auto& tuple : tuples.At) {
            std::array<std::uint8_t, PREFIX> prefix{};
            for (int j = 0; j < PREFIX; ++j)
                prefix[j] = tuple[j];
            if (Count == 0 || At[Count - 1] != prefix) At[Count++] = prefix;
        }
    }
};

// The groups of every position tuple (Mix or Seq) as K1..KLen, shown joined by ":".
// Order sensitive; not computed for lone combinations.
template <class Base, int Len, bool Mix> class TGroupTuplesStat : public Base {
  public:
    using Base::Base;
    static constexpr TPositionTuples<Len, Mix> TUPLES{};
    static constexpr TTuplePrefixes<Len, Mix> PREFIXES{};

    std::string ValueToText(const TStatDraw& Item) const override {
        std::string text = std::to_string(Item.Key.K(1));
        for (int j = 2; j <= Len; ++j)
            text += ":" + std::to_string(Item.Key.K(j));
        return text;
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        Base::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        for (const auto& tuple : TUPLES.At)
            this->AddValue(Values, TupleKey(this->CurDraw.Nums, tuple), true);
    }
    // For every prefix of domain positions, the domain positions that complete a selected key.
    void PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted,
                     bool Exclude) override {
        Base::PrepareTest(Selected, RefIndex, Sorted, Exclude);
        positionBits_ = 0;
        while ((1 << positionBits_) < this->Groups.DomainSize)
            ++positionBits_;
        lastSelected_.assign(std::size_t{1} << (positionBits_ * (Len - 1)), 0);
        for (const TStatDraw& item : Selected.Items()) {
            std::uint64_t code = 0;
            bool inDomain = true;
            for (int j = 1; j < Len; ++j) {
                const int k = item.Key.K(j);
                inDomain &= this->Groups.HasGroup(k);
                code = code << positionBits_ | (inDomain ? this->Groups.IndexOfGroup[k] : 0);
            }
            for (int j = Len + 1; j <= 4; ++j)
                inDomain &= item.Key.K(j) == 0;
            const int last = item.Key.K(Len);
            if (inDomain && this->Groups.HasGroup(last))
                lastSelected_[code] |= std::uint64_t{1} << this->Groups.IndexOfGroup[last];
        }
        this->Prepared = &Selected;
    }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex,
                         bool Sorted, bool Exclude) override {
        this->PrepareIfNeeded(Selected, RefIndex, Sorted, Exclude);
        const std::uint8_t* n = Comb.N;
        const std::uint8_t* index = this->Groups.Index;
        const std::uint8_t at[LOTTO_COUNT] = {index[n[0]], index[n[1]], index[n[2]],
                                              index[n[3]], index[n[4]], index[n[5]]};
        // Domain positions are below 64, so only a NO_INDEX makes the union all ones.
        if ((at[0] | at[1] | at[2] | at[3] | at[4] | at[5]) == TNumberGrouping::NO_INDEX)
            return TestByKeys(Comb, Selected);
        const std::uint64_t* bit = this->Groups.Bit;
        const std::uint64_t b[LOTTO_COUNT] = {bit[n[0]], bit[n[1]], bit[n[2]],
                                              bit[n[3]], bit[n[4]], bit[n[5]]};
        // later[k]: the positions after k, the last positions a Mix prefix ending at k takes.
        const std::uint64_t later[LOTTO_COUNT] = {b[1] | b[2] | b[3] | b[4] | b[5],
                                                  b[2] | b[3] | b[4] | b[5],
                                                  b[3] | b[4] | b[5],
                                                  b[4] | b[5],
                                                  b[5],
                                                  0};
        return PrefixHits(at, Mix ? later : b + 1, std::make_index_sequence<PREFIXES.Count>{}) != 0;
    }

  private:
    TStatKey TupleKey(const std::uint8_t* nums, const std::array<std::uint8_t, Len>& tuple) const {
        std::uint16_t k[4] = {};
        for (int j = 0; j < Len; ++j)
            k[j] = this->Groups.Group[nums[tuple[j]]];
        return WordsKey(k[0], k[1], k[2], k[3]);
    }
    // Each prefix's selected last positions among its candidates: the positions after its
    // end (Mix, `last` = later) or the one next to it (Seq, `last` = the bits from position 1).
    template <std::size_t... P>
    std::uint64_t PrefixHits(const std::uint8_t* at, const std::uint64_t* last,
                             std::index_sequence<P...>) const {
        return ((lastSelected_[PrefixCode<P>(at)] & last[PREFIXES.At[P][Len - 2]]) | ...);
    }
    template <std::size_t P> std::uint64_t PrefixCode(const std::uint8_t* at) const {
        static_assert(Len >= 2 && Len <= 4, "tuples of 2 to 4 positions");
        constexpr auto prefix = PREFIXES.At[P];
        const int s = positionBits_;
        if constexpr (Len == 2)
            return at[prefix[0]];
        else if constexpr (Len == 3)
            return std::uint64_t{at[prefix[0]]} << s | at[prefix[1]];
        else
            return (std::uint64_t{at[prefix[0]]} << s | at[prefix[1]]) << s | at[prefix[2]];
    }
    // Numbers outside the groups: look every tuple's key up as it is.
    bool TestByKeys(const TComb& Comb, const TStatSelection& Selected) const {
        for (const auto& tuple : TUPLES.At)
            if (Selected.HasKey(TupleKey(Comb.N, tuple))) return true;
        return false;
    }

    // Per prefix code (its domain positions side by side, positionBits_ bits each): the
    // domain positions that complete a selected key.
    std::vector<std::uint64_t> lastSelected_;
    int positionBits_ = 0;
};

} // namespace pelko
