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
#include "stats/families/number_grouping.h"
#include "stats/families/stat_keys.h"

#include <array>
#include <bit>
#include <cstdint>
#include <string>
#include <vector>

namespace pelko {

// A statistic kind (TCustomNumbersStat, TCustomGraphStat) with the grouping copied at
// creation.
template <class Kind>
class TGroupedStat : public Kind {
public:
    TGroupedStat(const TStatList& List, int Type, const TNumberGrouping& grouping)
        : Kind(List, Type), Groups(grouping) {}

    const TNumberGrouping Groups;

protected:
    // The selection the per-pass lookups were made for.
    const TStatSelection* Prepared = nullptr;

    void PrepareIfNeeded(const TStatSelection& Selected, int RefIndex, bool Sorted, bool Exclude) {
        if (Prepared != &Selected)
            this->PrepareTest(Selected, RefIndex, Sorted, Exclude);
    }
};

// The group of each of the six numbers, K1; pre-fills the domain. ByByte tests the key's
// first byte instead of its first word (the channels' way; the same for these keys).
template <class Base, bool ByByte = false>
class TGroupOfEachStat : public Base {
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
    void PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted, bool Exclude) override {
        Base::PrepareTest(Selected, RefIndex, Sorted, Exclude);
        selectedNumbers_ = TByteSet{};
        for (int n = 0; n < 256; ++n) {
            const std::uint8_t g = this->Groups.Group[n];
            if (ByByte ? Selected.HasByte(1, g) : Selected.HasWord(1, g))
                selectedNumbers_.Add(static_cast<unsigned>(n));
        }
        this->Prepared = &Selected;
    }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex, bool Sorted,
                         bool Exclude) override {
        this->PrepareIfNeeded(Selected, RefIndex, Sorted, Exclude);
        bool hit = false;
        for (const std::uint8_t n : Comb)
            hit |= selectedNumbers_.Has(n);
        return hit;
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
template <class Base>
class TGroupCountsStat : public Base {
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
                this->FillValue(Values, WordsKey(this->Groups.Domain[i], static_cast<std::uint16_t>(k)));
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
    void PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted, bool Exclude) override {
        Base::PrepareTest(Selected, RefIndex, Sorted, Exclude);
        zeroSelected_ = 0;
        for (int i = 0; i < this->Groups.DomainSize; ++i) {
            std::uint8_t mask = 0;
            for (int k = 0; k <= LOTTO_COUNT; ++k)
                if (Selected.HasKey(this->Groups.Domain[i], static_cast<std::uint16_t>(k)))
                    mask = static_cast<std::uint8_t>(mask | (1u << k));
            countsSelected_[i] = mask;
            if (mask & 1u)
                zeroSelected_ |= std::uint64_t{1} << i;
        }
        this->Prepared = &Selected;
    }
    // Some group of the domain holds a selected count: an empty group whose count 0 is
    // selected, or a group of one of the numbers with its count selected.
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex, bool Sorted,
                         bool Exclude) override {
        this->PrepareIfNeeded(Selected, RefIndex, Sorted, Exclude);
        std::uint8_t at[LOTTO_COUNT];
        std::uint64_t occupied = 0;
        for (int i = 0; i < LOTTO_COUNT; ++i) {
            at[i] = this->Groups.Index[Comb.N[i]];
            if (at[i] != TNumberGrouping::NO_INDEX) {
                ++scratch_[at[i]];
                occupied |= std::uint64_t{1} << at[i];
            }
        }
        bool hit = (zeroSelected_ & ~occupied) != 0;
        for (int i = 0; i < LOTTO_COUNT; ++i)
            if (at[i] != TNumberGrouping::NO_INDEX)
                hit |= ((countsSelected_[at[i]] >> scratch_[at[i]]) & 1u) != 0;
        for (int i = 0; i < LOTTO_COUNT; ++i)
            scratch_[at[i]] = 0;
        return hit;
    }

protected:
    // The group's part of the value text.
    virtual std::string GroupText(int group) const { return std::to_string(group); }

private:
    void AddCounts(const std::uint8_t* nums, TStatDrawList& Values, bool trackGaps) {
        std::uint8_t counts[LOTTO_MAX] = {};
        for (int i = 0; i < LOTTO_COUNT; ++i) {
            const std::uint8_t at = this->Groups.Index[nums[i]];
            if (at != TNumberGrouping::NO_INDEX)
                ++counts[at];
        }
        for (int i = 0; i < this->Groups.DomainSize; ++i)
            this->AddValue(Values, WordsKey(this->Groups.Domain[i], counts[i]), trackGaps);
    }

    int preFillMax_;
    std::uint8_t countsSelected_[LOTTO_MAX] = {}; // per domain position: bit k = count k selected
    std::uint64_t zeroSelected_ = 0;              // domain positions whose count 0 is selected
    std::uint8_t scratch_[256] = {};              // counts of one test, zero between tests
};

// Number of distinct groups among the six numbers, K1; pre-fills 1..PreFillMax. Plotted.
template <class Base>
class TGroupsUsedStat : public Base {
public:
    TGroupsUsedStat(const TStatList& List, int Type, int preFillMax)
        : Base(List, Type), preFillMax_(preFillMax) {}

    void FillAllValues(int LastIndex, TStatDrawList& Values) override {
        Base::FillAllValues(LastIndex, Values);
        for (int k = 1; k <= preFillMax_; ++k)
            this->FillValue(Values, WordsKey(static_cast<std::uint16_t>(k)));
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        Base::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        this->AddValue(Values, WordsKey(GroupsUsed(this->CurDraw.Nums)), true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        Base::ComputeForCombination(Comb, Values);
        this->AddValue(Values, WordsKey(GroupsUsed(Comb.N)), false);
    }
    int GraphValue(const TComb& Comb, int, int, bool) override { return GroupsUsed(Comb.N); }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool, bool) override {
        return Selected.HasWord(1, GroupsUsed(Comb.N));
    }

private:
    std::uint16_t GroupsUsed(const std::uint8_t* nums) const {
        std::uint64_t occupied = 0;
        for (int i = 0; i < LOTTO_COUNT; ++i) {
            const std::uint8_t at = this->Groups.Index[nums[i]];
            occupied |= at != TNumberGrouping::NO_INDEX ? std::uint64_t{1} << at : 0;
        }
        return static_cast<std::uint16_t>(std::popcount(occupied));
    }

    int preFillMax_;
};

// How many of the six numbers lie in the group Type, K1; pre-fills 1..PreFillMax (not 0).
// Plotted.
template <class Base>
class TGroupMembersStat : public Base {
public:
    TGroupMembersStat(const TStatList& List, int Type, int preFillMax)
        : Base(List, Type), preFillMax_(preFillMax) {
        for (int n = 1; n <= LOTTO_MAX; ++n)
            if (this->Groups.Group[n] == Type)
                members_.Add(static_cast<unsigned>(n));
    }

    void FillAllValues(int LastIndex, TStatDrawList& Values) override {
        Base::FillAllValues(LastIndex, Values);
        for (int k = 1; k <= preFillMax_; ++k)
            this->FillValue(Values, WordsKey(static_cast<std::uint16_t>(k)));
    }
    void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                        TStatWorkArea& Work, TLastValueArray& LastValues) override {
        Base::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
        this->AddValue(Values, WordsKey(Members(this->CurDraw.Nums)), true);
    }
    void ComputeForCombination(const TComb& Comb, TStatDrawList& Values) override {
        Base::ComputeForCombination(Comb, Values);
        this->AddValue(Values, WordsKey(Members(Comb.N)), false);
    }
    int GraphValue(const TComb& Comb, int, int, bool) override { return Members(Comb.N); }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int, bool, bool) override {
        return Selected.HasWord(1, Members(Comb.N));
    }

private:
    std::uint16_t Members(const std::uint8_t* nums) const {
        int count = 0;
        for (int i = 0; i < LOTTO_COUNT; ++i)
            count += members_.Has(nums[i]) ? 1 : 0;
        return static_cast<std::uint16_t>(count);
    }

    int preFillMax_;
    TByteSet members_; // the numbers 1..45 of group Type
};

// The position tuples of the Mix and Seq statistics: every Len-subset of the six positions
// in lexicographic order (Mix), or every run of Len neighbouring positions (Seq).
template <int Len, bool Mix>
struct TPositionTuples {
    static constexpr int Count() {
        if (!Mix)
            return LOTTO_COUNT - Len + 1;
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
            if (j < 0)
                break;
            ++t[j];
            for (int r = j + 1; r < Len; ++r)
                t[r] = static_cast<std::uint8_t>(t[r - 1] + 1);
        }
    }
};

// The groups of every position tuple (Mix or Seq) as K1..KLen, shown joined by ":".
// Order sensitive; not computed for lone combinations.
template <class Base, int Len, bool Mix>
class TGroupTuplesStat : public Base {
public:
    using Base::Base;
    static constexpr TPositionTuples<Len, Mix> TUPLES{};

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
    // One bit per tuple of domain positions whose groups form a selected key.
    void PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted, bool Exclude) override {
        Base::PrepareTest(Selected, RefIndex, Sorted, Exclude);
        const std::uint64_t domain = static_cast<std::uint64_t>(this->Groups.DomainSize);
        std::uint64_t cells = 1;
        for (int j = 0; j < Len; ++j)
            cells *= domain;
        selectedTuples_.assign((cells + 63) / 64, 0);
        for (const TStatDraw& item : Selected.Items()) {
            std::uint64_t code = 0;
            bool inDomain = true;
            for (int j = 1; j <= 4; ++j) {
                const int k = item.Key.K(j);
                if (j > Len)
                    inDomain &= k == 0;
                else if (this->Groups.HasGroup(k))
                    code = code * domain + this->Groups.IndexOfGroup[k];
                else
                    inDomain = false;
            }
            if (inDomain)
                selectedTuples_[code >> 6] |= std::uint64_t{1} << (code & 63);
        }
        this->Prepared = &Selected;
    }
    bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex, bool Sorted,
                         bool Exclude) override {
        this->PrepareIfNeeded(Selected, RefIndex, Sorted, Exclude);
        std::uint8_t at[LOTTO_COUNT];
        bool inDomain = true;
        for (int i = 0; i < LOTTO_COUNT; ++i) {
            at[i] = this->Groups.Index[Comb.N[i]];
            inDomain &= at[i] != TNumberGrouping::NO_INDEX;
        }
        if (!inDomain)
            return TestByKeys(Comb, Selected);
        const std::uint64_t domain = static_cast<std::uint64_t>(this->Groups.DomainSize);
        for (const auto& tuple : TUPLES.At) {
            std::uint64_t code = 0;
            for (int j = 0; j < Len; ++j)
                code = code * domain + at[tuple[j]];
            if ((selectedTuples_[code >> 6] >> (code & 63)) & 1u)
                return true;
        }
        return false;
    }

private:
    TStatKey TupleKey(const std::uint8_t* nums, const std::array<std::uint8_t, Len>& tuple) const {
        std::uint16_t k[4] = {};
        for (int j = 0; j < Len; ++j)
            k[j] = this->Groups.Group[nums[tuple[j]]];
        return WordsKey(k[0], k[1], k[2], k[3]);
    }
    // Numbers outside the groups: look every tuple's key up as it is.
    bool TestByKeys(const TComb& Comb, const TStatSelection& Selected) const {
        for (const auto& tuple : TUPLES.At)
            if (Selected.HasKey(TupleKey(Comb.N, tuple)))
                return true;
        return false;
    }

    std::vector<std::uint64_t> selectedTuples_;
};

} // namespace pelko
