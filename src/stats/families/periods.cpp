#include "stats/families/periods.h"

#include "core/format.h"
#include "stats/families/families.h"
#include "stats/families/stat_keys.h"
#include "stats/stat_list.h"

#include <algorithm>

namespace pelko {

TCustomPeriodsStat::TCustomPeriodsStat(const TStatList& List, int Type, const TNumberValueMap& Map)
    : TCustomStat(List, Type), map_(Map) {}

std::string TCustomPeriodsStat::ValueToText(const TStatDraw& Item) const {
    return ValueText(Item.Key.K(1)) + Format(" x %d", Item.Key.K(2));
}

std::string TCustomPeriodsStat::ValueText(int Value) const {
    return std::to_string(Value);
}

int TCustomPeriodsStat::ValueOfNumber(int, int Number) const {
    return map_(Number);
}

bool TCustomPeriodsStat::DrawHasValue(int Index, int Value) const {
    if (Index < 0 || Index >= static_cast<int>(Draws.size()))
        return false; // an all-zero draw holds no value of a lottery number
    return map_.AnyOf(Draws[static_cast<std::size_t>(Index)].Nums, Value);
}

void TCustomPeriodsStat::ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted,
                                        TStatDrawList& Values, TStatWorkArea& Work,
                                        TLastValueArray& LastValues) {
    TCustomStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
    for (int i = 0; i < LOTTO_COUNT; ++i) {
        const int v = ValueOfNumber(i + 1, CurDraw.Nums[i]);
        Item.Key = WordsKey(static_cast<std::uint16_t>(v));
        // A value met twice in one draw gets period 0 the second time and adds nothing.
        const int period = UpdateLastValue(Item, LastValues);
        if (period > 0)
            AddValue(Values,
                     WordsKey(static_cast<std::uint16_t>(v), static_cast<std::uint16_t>(period)),
                     true);
    }
}

int TCustomPeriodsStat::FindNextOccurrence(const TStatDraw& Item, int FromIndex, bool, int) {
    const int high = static_cast<int>(Draws.size()) - 1;
    if (FromIndex > high) return -1;
    if (Item.Key.K(3) != 0 || Item.Key.K(4) != 0) return -1;
    const int v = Item.Key.K(1);
    const std::uint16_t target = Item.Key.K(2);
    const int from = std::max(FromIndex, 0);
    // The period of the first return is measured from the appearance before FromIndex, as
    // the pass over the draws would have it in its last-value list.
    bool seen = false;
    int last = 0;
    for (int index = from - 1; index >= 0 && !seen; --index)
        if (DrawHasValue(index, v)) {
            seen = true;
            last = Draws[static_cast<std::size_t>(index)].Number;
        }
    for (int index = from; index <= high; ++index) {
        if (!DrawHasValue(index, v)) continue;
        const int number = Draws[static_cast<std::size_t>(index)].Number;
        if (seen && number - last > 0 && static_cast<std::uint16_t>(number - last) == target)
            return number;
        seen = true;
        last = number;
    }
    return -1;
}

void TCustomPeriodsStat::PrepareTest(const TStatSelection& Selected, int RefIndex, bool, bool) {
    keep_.fill(false);
    drop_.fill(false);
    for (const TStatDraw& item : Selected.Items()) {
        const int v = item.Key.K(1);
        if (v >= static_cast<int>(keep_.size())) continue; // no lottery number stands for it
        // The combination stands for draw RefIndex + 1; the value came back after K2 draws
        // when it was in draw RefIndex + 1 - K2.
        if (DrawHasValue(RefIndex - item.Key.K(2) + 1, v))
            keep_[static_cast<std::size_t>(v)] = true;
        else
            drop_[static_cast<std::size_t>(v)] = true;
    }
    prepared_ = &Selected;
    preparedRef_ = RefIndex;
}

bool TCustomPeriodsStat::TestCombination(const TComb& Comb, const TStatSelection& Selected,
                                         int RefIndex, bool Sorted, bool Exclude) {
    if (prepared_ != &Selected || preparedRef_ != RefIndex)
        PrepareTest(Selected, RefIndex, Sorted, Exclude);
    const std::array<bool, 256>& passes = Exclude ? drop_ : keep_;
    for (const std::uint8_t n : Comb)
        if (passes[static_cast<std::size_t>(map_(n))]) return true;
    return false;
}

namespace {

class TstNumPeriods final : public TStatBatch<TstNumPeriods, TCustomPeriodsStat> {
  public:
    TstNumPeriods(const TStatList& List, int Type)
        : TStatBatch<TstNumPeriods, TCustomPeriodsStat>(List, Type, TNumberValueMap::Numbers()) {}
};

class TstChnPeriods final : public TStatBatch<TstChnPeriods, TCustomPeriodsStat> {
  public:
    TstChnPeriods(const TStatList& List, int Type)
        : TStatBatch<TstChnPeriods, TCustomPeriodsStat>(
              List, Type, TNumberValueMap::Channels(List.Config.ChannelSize)),
          ChannelSize(List.Config.ChannelSize) {}

    const int ChannelSize;

  protected:
    std::string ValueText(int Value) const override { return Format("%.2d", Value); }
};

class TstSgmPeriods final : public TStatBatch<TstSgmPeriods, TCustomPeriodsStat> {
  public:
    TstSgmPeriods(const TStatList& List, int Type)
        : TStatBatch<TstSgmPeriods, TCustomPeriodsStat>(
              List, Type, TNumberValueMap::Segments(List.Config.Segments)) {}
};

template <class T>
TStatClassInfo PeriodsClass(int position, const char* name, const char* code, const char* caption) {
    return StatClass<T>({.Position = position,
                         .Name = name,
                         .Code = code,
                         .Caption = caption,
                         .Group = sgPeriods,
                         .Flags = sfPeriodic,
                         .ScalarValues = false});
}

} // namespace

void RegisterPeriodStats(TStatClassTable& table) {
    table.Add(
        PeriodsClass<TstNumPeriods>(113, "TstNumPeriods", "PRDV", "Периоды повторения чисел"));
    table.Add(
        PeriodsClass<TstChnPeriods>(114, "TstChnPeriods", "PRDC", "Периоды повторения каналов"));
    table.Add(
        PeriodsClass<TstSgmPeriods>(115, "TstSgmPeriods", "PRDG", "Периоды повторения сегментов"));
}

} // namespace pelko
