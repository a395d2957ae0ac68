#include "stats/families/serial.h"

#include "core/format.h"
#include "stats/families/families.h"
#include "stats/families/stat_keys.h"
#include "stats/stat_list.h"

#include <algorithm>

namespace pelko {

TCustomSerialStat::TCustomSerialStat(const TStatList& List, int Type, bool Mode_,
                                     const TNumberValueMap& Map, TTypeRange Range)
    : TCustomStat(List, Type), Mode(Mode_),
      // The work area holds one entry per value 1..45.
      MinValue(std::max(Range.Min, 1)), MaxValue(std::min(Range.Max, LOTTO_MAX)), map_(Map) {}

std::string TCustomSerialStat::ValueToText(const TStatDraw& Item) const {
    return ValueText(Item.Key.K(1)) + Format(" x %d", Item.Key.K(2));
}

std::string TCustomSerialStat::ValueText(int Value) const {
    return std::to_string(Value);
}

int TCustomSerialStat::ValueOfNumber(int, int Number) const {
    return map_(Number);
}

bool TCustomSerialStat::InRefDraw(int Value) const {
    return map_.AnyOf(RefDraw.Nums, Value);
}

void TCustomSerialStat::AddRun(TStatDrawList& Values, int Value, const TStatWorkEntry& Run) {
    Item.LastDraw = Run.RunDraw;
    Item.PrevDraw = Run.RunDraw;
    Item.LastAge = Run.RunAge;
    Item.Count = 1;
    AddValue(Values,
             WordsKey(static_cast<std::uint16_t>(Value), static_cast<std::uint16_t>(Run.RunLength)),
             true);
}

void TCustomSerialStat::ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted,
                                       TStatDrawList& Values, TStatWorkArea& Work,
                                       TLastValueArray& LastValues) {
    TCustomStat::ComputeForDraw(DrawIndex, LastIndex, Sorted, Values, Work, LastValues);
    const std::uint64_t present = map_.MaskOf(CurDraw.Nums);
    const std::uint64_t inRef = map_.MaskOf(RefDraw.Nums);
    for (int v = MinValue; v <= MaxValue; ++v) {
        TStatWorkEntry& run = Work[v];
        const bool counting = (((present >> v) & 1u) != 0) == Mode;
        const bool recorded = ((inRef >> v) & 1u) != 0;
        if (counting) {
            ++run.RunLength;
            run.RunDraw = CurDraw.Number;
            run.RunAge = LastIndex - DrawIndex + 1;
            // A run still open at the newest draw counts with its length so far.
            if (DrawIndex == LastIndex && recorded) AddRun(Values, v, run);
        } else {
            if (run.RunLength > 0 && recorded) AddRun(Values, v, run);
            run = TStatWorkEntry{};
        }
    }
}

int TCustomSerialStat::FindNextOccurrence(const TStatDraw& Item, int FromIndex, bool Sorted,
                                          int RefIndex) {
    const int high = static_cast<int>(Draws.size()) - 1;
    if (FromIndex > high) return -1;
    const int v = Item.Key.K(1);
    const std::uint16_t target = Item.Key.K(2);
    if (v < MinValue || v > MaxValue || Item.Key.K(3) != 0 || Item.Key.K(4) != 0) return -1;
    TDrawData ref;
    LoadDraw(RefIndex, ref, Sorted);
    if (!map_.AnyOf(ref.Nums, v))
        return -1; // runs are recorded only for values of the reference draw
    // The same run bookkeeping as ComputeForDraw with a work area zeroed at FromIndex.
    int length = 0;
    int lastDraw = 0;
    for (int index = std::max(FromIndex, 0); index <= high; ++index) {
        const TDrawData& draw = Draws[static_cast<std::size_t>(index)];
        if (map_.AnyOf(draw.Nums, v) == Mode) {
            ++length;
            lastDraw = draw.Number;
            if (index == RefIndex && static_cast<std::uint16_t>(length) == target) return lastDraw;
        } else {
            if (length > 0 && static_cast<std::uint16_t>(length) == target) return lastDraw;
            length = 0;
        }
    }
    return -1;
}

bool TCustomSerialStat::TestCombination(const TComb& Comb, const TStatSelection& Selected, int,
                                        bool, bool) {
    for (const std::uint8_t n : Comb)
        if (Selected.HasWord(1, static_cast<std::uint16_t>(map_(n)))) return true;
    return false;
}

namespace {

template <bool Groups>
class TValuesSerialStat final : public TStatBatch<TValuesSerialStat<Groups>, TCustomSerialStat> {
  public:
    TValuesSerialStat(const TStatList& List, int Type)
        : TStatBatch<TValuesSerialStat<Groups>, TCustomSerialStat>(
              List, Type, Groups, TNumberValueMap::Numbers(), {1, LOTTO_MAX}) {}
};

template <bool Groups>
class TChannelsSerialStat final
    : public TStatBatch<TChannelsSerialStat<Groups>, TCustomSerialStat> {
  public:
    TChannelsSerialStat(const TStatList& List, int Type)
        : TStatBatch<TChannelsSerialStat<Groups>, TCustomSerialStat>(
              List, Type, Groups, TNumberValueMap::Channels(List.Config.ChannelSize),
              ChannelTypes(List.Config)),
          ChannelSize(List.Config.ChannelSize) {}

    const int ChannelSize;

  protected:
    std::string ValueText(int Value) const override { return Format("%.2d", Value); }
};

template <bool Groups>
class TSegmentsSerialStat final
    : public TStatBatch<TSegmentsSerialStat<Groups>, TCustomSerialStat> {
  public:
    TSegmentsSerialStat(const TStatList& List, int Type)
        : TStatBatch<TSegmentsSerialStat<Groups>, TCustomSerialStat>(
              List, Type, Groups, TNumberValueMap::Segments(List.Config.Segments),
              SegmentTypes(List.Config)) {}
};

using TstNumGroups = TValuesSerialStat<true>;
using TstNumPauses = TValuesSerialStat<false>;
using TstChnGroups = TChannelsSerialStat<true>;
using TstChnPauses = TChannelsSerialStat<false>;
using TstSgmGroups = TSegmentsSerialStat<true>;
using TstSgmPauses = TSegmentsSerialStat<false>;

template <class T>
TStatClassInfo SerialClass(int position, const char* name, const char* code, const char* caption) {
    return StatClass<T>({.Position = position,
                         .Name = name,
                         .Code = code,
                         .Caption = caption,
                         .Group = sgSerials,
                         .Flags = sfReferenceDraw,
                         .ScalarValues = false});
}

} // namespace

void RegisterSerialStats(TStatClassTable& table) {
    table.Add(SerialClass<TstNumGroups>(107, "TstNumGroups", "GRPV",
                                        "Повторы чисел в нескольких тиражах подряд"));
    table.Add(SerialClass<TstNumPauses>(108, "TstNumPauses", "GRPP",
                                        "Интервалы между повторениями чисел"));
    table.Add(SerialClass<TstChnGroups>(109, "TstChnGroups", "GRCV",
                                        "Повторы каналов в нескольких тиражах подряд"));
    table.Add(SerialClass<TstChnPauses>(110, "TstChnPauses", "GRCP",
                                        "Интервалы между повторениями каналов"));
    table.Add(SerialClass<TstSgmGroups>(111, "TstSgmGroups", "GRSV",
                                        "Повторы сегментов в нескольких тиражах подряд"));
    table.Add(SerialClass<TstSgmPauses>(112, "TstSgmPauses", "GRSP",
                                        "Интервалы между повторениями сегментов"));
}

} // namespace pelko
