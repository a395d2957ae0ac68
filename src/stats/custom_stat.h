#pragma once
// The statistic base class and the five value kinds.
//
// Adding a statistic family:
//   1. Write src/stats/families/<family>.cpp (and a header there when tests need the
//      classes). Derive each class from TCustomStat or a value kind below and override the
//      object operations (ValueToText, FillAllValues, ComputeForCombination, ComputeForDraw,
//      TestCombination, GraphValue...). Each computing override calls the base operation
//      first, then sets Item.Key and merges with AddValue. A final class deriving from
//      TStatBatch<TstX, Kind> gets non-virtual loops for the prefetch and filter passes over
//      millions of combinations; TestCombination may prepare lookups in PrepareTest.
//   2. In the same file define `void Register<Family>Stats(TStatClassTable& table)` that adds
//      one StatClass<T>({...}) per class, each carrying its Position, the row of the class
//      table, so the registry keeps that order whatever file registers the class.
//   3. Declare the function in families/families.h and call it in families/families.cpp.
//   Static registration objects are not used: the linker drops unreferenced objects of a
//   static library, so every family is reached through that one explicit call list.
//
// Class-level operations (code, caption, group, flags, types...) are data of the class's
// TStatClassInfo (stat_class.h); object operations are the virtuals below.

#include "core/lottery.h"
#include "stats/stat_class.h"
#include "stats/stat_draw.h"
#include "stats/stat_selection.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace pelko {

class TStatList;

class TCustomStat {
public:
    // Stores the type, takes the archive from the list, zeroes CurDraw and RefDraw.
    TCustomStat(const TStatList& List, int Type);
    virtual ~TCustomStat() = default;
    TCustomStat(const TCustomStat&) = delete;
    TCustomStat& operator=(const TCustomStat&) = delete;

    // The class this object was created from; throws std::logic_error when it was built
    // directly instead of through TStatClassInfo::New.
    const TStatClassInfo& Class() const;
    void AttachClass(const TStatClassInfo& info) { class_ = &info; }
    const TStatList& List() const { return list_; }
    const TConfigData& Config() const;

    // Class-level questions asked of the object.
    std::string Caption() const { return Class().CaptionOf(StatType); }
    std::string Code() const { return Class().CodeOf(StatType); }
    TStatFlags GetFlags() const { return Class().GetFlags(); }
    TStatFlags GetAllFlags() const { return Class().GetAllFlags(); }
    bool HasScalarValues() const { return Class().HasScalarValues(); }

    virtual std::string ValueToText(const TStatDraw& Item) const = 0;
    // The text as a decimal integer, 0 when it is not one.
    virtual std::int32_t TextToValue(std::string_view Text) const;
    // TextToValue when every value is one plain integer, else 0.
    virtual std::int32_t TextToScalar(std::string_view Text) const;
    // Pre-fills Values with every possible value (Count 0); the base zeroes Item only.
    virtual void FillAllValues(int LastIndex, TStatDrawList& Values);
    // CurDraw := draw DrawIndex; RefDraw := draw RefIndex for statistics with flag D.
    virtual void SelectDraws(int DrawIndex, int RefIndex, bool Sorted);
    // Base: zeroes Item and sets Count 1; the family sets the key and merges (no gaps).
    virtual void ComputeForCombination(const TComb&, TStatDrawList&) {
        Item = TStatDraw{};
        Item.Count = 1;
    }
    // Base: selects the draws and prepares Item (LastDraw, PrevDraw, LastAge, Count 1); the
    // family sets the key and merges with gap tracking.
    virtual void ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList& Values,
                                TStatWorkArea& Work, TLastValueArray& LastValues);
    // ComputeForCombination of each combination in a row (the prefetch pass). TStatBatch
    // below makes the loop non-virtual for a final class.
    virtual void ComputeForCombinations(const TComb* Combs, std::size_t Count, TStatDrawList& Values) {
        for (std::size_t i = 0; i < Count; ++i) {
            Values.SelectCountingBank(i);
            ComputeForCombination(Combs[i], Values);
        }
    }
    // Draw number of the first draw from FromIndex to the newest of the archive that holds
    // Item's key; -1 when none.
    virtual int FindNextOccurrence(const TStatDraw& Item, int FromIndex, bool Sorted, int RefIndex);
    // Lets the base FindNextOccurrence answer calls with FromIndex >= this FromIndex (and the
    // same Sorted and RefIndex) from one pass over the draws instead of one scan per call.
    // Only a statistic that keeps no state in the work area from draw to draw gets the
    // index; for the others the calls scan as usual.
    void PrepareNextOccurrences(int FromIndex, bool Sorted, int RefIndex);
    // Called once per filter pass, after SelectDraws and before the TestCombination calls:
    // the place to prepare per-pass tables. The base does nothing.
    virtual void PrepareTest(const TStatSelection& Selected, int RefIndex, bool Sorted, bool Exclude);
    // Whether the combination holds a selected value. Called for millions of combinations:
    // it must allocate nothing.
    virtual bool TestCombination(const TComb& Comb, const TStatSelection& Selected, int RefIndex,
                                 bool Sorted, bool Exclude) = 0;
    // The filter pass over In[0..Count): copies each combination whose TestCombination
    // differs from Exclude to Out (which has room for Count) and returns how many it copied.
    virtual std::size_t TestCombinations(const TComb* In, std::size_t Count, TComb* Out,
                                         const TStatSelection& Selected, int RefIndex, bool Sorted, bool Exclude) {
        std::size_t kept = 0;
        for (std::size_t i = 0; i < Count; ++i) {
            const TComb c = In[i];
            Out[kept] = c;
            kept += TestCombination(c, Selected, RefIndex, Sorted, Exclude) != Exclude;
        }
        return kept;
    }

    std::int32_t StatType = 0;
    const TDrawsArray& Draws;
    TDrawData CurDraw{};
    TDrawData RefDraw{};
    TStatDraw Item{};

protected:
    // Copies draw Index into Dest, its numbers sorted when Sorted; all zero outside the
    // archive.
    void LoadDraw(int Index, TDrawData& Dest, bool Sorted) const;
    // Item.Key := Key, then AddStatDraw(Values, Item, TrackGaps).
    void AddValue(TStatDrawList& Values, const TStatKey& Key, bool TrackGaps) {
        Item.Key = Key;
        AddStatDraw(Values, Item, TrackGaps);
    }
    // Adds Key with Count 0 (the pre-fill of FillAllValues).
    void FillValue(TStatDrawList& Values, const TStatKey& Key);

private:
    struct TOccurrence {
        std::uint64_t Key;
        std::int32_t Index; // archive index of the draw
        std::int32_t Draw;  // LastDraw of the value in that draw
    };
    int ScanNextOccurrence(const TStatKey& key, int FromIndex, bool Sorted, int RefIndex);

    std::vector<TOccurrence> occurrences_; // by key, then index
    bool occurrencesReady_ = false;
    int occurrencesFrom_ = 0;
    bool occurrencesSorted_ = false;
    int occurrencesRef_ = 0;
    const TStatList& list_;
    const TStatClassInfo* class_ = nullptr;
};

// Lottery numbers as values: K1 in decimal.
class TCustomValuesStat : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    std::string ValueToText(const TStatDraw& Item) const override;
};

// Counts and other integers: K1 in decimal.
class TCustomNumbersStat : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    std::string ValueToText(const TStatDraw& Item) const override;
};

// One number per draw that can be plotted: K1 in decimal; the class is IsGraph.
class TCustomGraphStat : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    std::string ValueToText(const TStatDraw& Item) const override;
    // The plotted number of six numbers (a combination, or a draw in its loaded order).
    virtual int GraphValue(const TComb& Comb, int DrawIndex, int RefIndex, bool Sorted) = 0;
    // Loads draw DrawIndex into CurDraw and returns GraphValue of its numbers.
    virtual int GraphValueOfDraw(int DrawIndex, int RefIndex, bool Sorted);
};

// Counts of six shown as "k:6-k" (2:4); reads back the number before ":".
class TCustomRatioStat : public TCustomGraphStat {
public:
    using TCustomGraphStat::TCustomGraphStat;
    std::string ValueToText(const TStatDraw& Item) const override;
    std::int32_t TextToValue(std::string_view Text) const override;
};

// Six-bit masks in V1 (first number = bit 5) shown as six letters and " (018)".
class TCustomMaskStat : public TCustomStat {
public:
    using TCustomStat::TCustomStat;
    std::string ValueToText(const TStatDraw& Item) const override;
    std::int32_t TextToValue(std::string_view Text) const override;
    // Adds the 64 masks 0..63.
    void FillAllValues(int LastIndex, TStatDrawList& Values) override;
    virtual std::string ZeroLetter() const = 0;
    virtual std::string OneLetter() const = 0;
    // The mask of six numbers in their order: number i (0-based) gives bit 5 - i when pred.
    template <class Pred>
    static std::int32_t MaskOf(const std::uint8_t* nums, Pred pred) {
        std::int32_t mask = 0;
        for (int i = 0; i < LOTTO_COUNT; ++i)
            mask = (mask << 1) | (pred(nums[i]) ? 1 : 0);
        return mask;
    }
};

// Optional base for a final statistic class T deriving from Base: the two per-combination
// passes call T's own operations directly (no virtual call per combination, and they can
// be inlined). Use: class TstX final : public TStatBatch<TstX, TCustomNumbersStat> {...};
template <class T, class Base>
class TStatBatch : public Base {
public:
    using Base::Base;
    void ComputeForCombinations(const TComb* Combs, std::size_t Count, TStatDrawList& Values) override {
        T& self = static_cast<T&>(*this);
        for (std::size_t i = 0; i < Count; ++i) {
            Values.SelectCountingBank(i);
            self.T::ComputeForCombination(Combs[i], Values);
        }
    }
    std::size_t TestCombinations(const TComb* In, std::size_t Count, TComb* Out, const TStatSelection& Selected,
                                 int RefIndex, bool Sorted, bool Exclude) override {
        T& self = static_cast<T&>(*this);
        std::size_t kept = 0;
        for (std::size_t i = 0; i < Count; ++i) {
            const TComb c = In[i];
            Out[kept] = c;
            kept += self.T::TestCombination(c, Selected, RefIndex, Sorted, Exclude) != Exclude;
        }
        return kept;
    }
};

template <class T>
std::unique_ptr<TCustomStat> CreateStatOf(const TStatList& list, int type) {
    return std::make_unique<T>(list, type);
}

// The descriptor of class T: Create makes a T, Graph follows T's kind.
template <class T>
TStatClassInfo StatClass(TStatClassInfo info) {
    static_assert(std::is_base_of_v<TCustomStat, T>, "a statistic class derives from TCustomStat");
    info.Create = &CreateStatOf<T>;
    if constexpr (std::is_base_of_v<TCustomGraphStat, T>)
        info.Graph = true;
    return info;
}

} // namespace pelko
