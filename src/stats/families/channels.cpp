// Group "grp": channels, the runs of ChannelSize consecutive numbers (1-5, 6-10, ... for
// width 5). Which channels the six numbers use, how many numbers each channel holds, how
// many channels are used, and the channels of position subsets and neighbouring positions.
// Each statistic keeps the channel width it was created with.

#include "core/lottery.h"
#include "stats/custom_stat.h"
#include "stats/families/batched_stat.h"
#include "stats/families/families.h"
#include "stats/families/grouped_stats.h"
#include "stats/families/number_grouping.h"
#include "stats/stat_format.h"
#include "stats/stat_list.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace pelko {

namespace {

// A statistic kind with the channels of the width of the parameters at creation.
template <class Kind> class TChannelsStatOf : public TGroupedStat<Kind> {
  public:
    TChannelsStatOf(const TStatList& List, int Type)
        : TGroupedStat<Kind>(List, Type, ChannelGrouping(List.Config.ChannelSize)),
          ChannelSize(List.Config.ChannelSize) {}

    const int ChannelSize;
};

using TCustomChannelsStat = TChannelsStatOf<TCustomNumbersStat>;
using TCustomChannelsGraphStat = TChannelsStatOf<TCustomGraphStat>;

int CountsUpToSix(int bound) {
    return std::min(bound, LOTTO_COUNT);
}

class TstChannels : public TGroupOfEachStat<TCustomChannelsStat, true> {
  public:
    using TGroupOfEachStat::TGroupOfEachStat;

    std::string ValueToText(const TStatDraw& Item) const override {
        return ChannelText(Item.Key.K(1), ChannelSize);
    }
    // The first blank-separated word: "03 [11-15]" reads as 3.
    std::int32_t TextToValue(std::string_view Text) const override {
        const std::size_t begin = std::min(Text.find_first_not_of(' '), Text.size());
        const std::size_t end = std::min(Text.find(' ', begin), Text.size());
        return TCustomChannelsStat::TextToValue(Text.substr(begin, end - begin));
    }
};

class TstChanValues : public TGroupCountsStat<TCustomChannelsStat> {
  public:
    TstChanValues(const TStatList& List, int Type)
        : TGroupCountsStat(List, Type, CountsUpToSix(List.Config.ChannelSize)) {}

  protected:
    std::string GroupText(int group) const override { return ChannelText(group, ChannelSize); }
};

class TstChanCount : public TGroupsUsedStat<TCustomChannelsGraphStat> {
  public:
    TstChanCount(const TStatList& List, int Type)
        : TGroupsUsedStat(List, Type, CountsUpToSix(List.Config.ChannelSize)) {}
};

// Pre-fills 1..ChannelSize, counts a channel could never reach included.
class TstChnValCnt : public TGroupMembersStat<TCustomChannelsGraphStat> {
  public:
    TstChnValCnt(const TStatList& List, int Type)
        : TGroupMembersStat(List, Type, List.Config.ChannelSize) {}
};

// TstCombChnMix2..4 and TstCombChnSeq2..4.
template <int Len, bool Mix> TStatClassInfo ChannelTuplesClass(int position, const char* name) {
    const char* code = Mix ? "KCM%d" : "KCS%d";
    const char* caption = Mix ? "Сочетания из %0:d каналов по всем числам тиража"
                              : "Сочетания из %0:d каналов по соседним числам";
    return StatClass<TBatched<TGroupTuplesStat<TCustomChannelsStat, Len, Mix>>>(
        {.Position = position,
         .Name = name,
         .Code = FormatTemplate(code, Len),
         .Caption = FormatTemplate(caption, Len),
         .Group = sgChannels,
         .Flags = sfOrderSensitive,
         .ScalarValues = false});
}

} // namespace

void RegisterChannelStats(TStatClassTable& table) {
    table.Add(StatClass<TBatched<TstChannels>>({.Position = 21,
                                                .Name = "TstChannels",
                                                .Code = "CHAN",
                                                .Caption = "Каналы",
                                                .Group = sgChannels,
                                                .Flags = sfCombinable}));
    table.Add(StatClass<TBatched<TstChanValues>>({.Position = 22,
                                                  .Name = "TstChanValues",
                                                  .Code = "CHNV",
                                                  .Caption = "Количество чисел в канале",
                                                  .Group = sgChannels,
                                                  .Flags = sfCombinable,
                                                  .ScalarValues = false}));
    table.Add(StatClass<TBatched<TstChanCount>>({.Position = 23,
                                                 .Name = "TstChanCount",
                                                 .Code = "CHNC",
                                                 .Caption = "Количество каналов в тираже",
                                                 .Group = sgChannels,
                                                 .Flags = sfCombinable}));
    table.Add(ChannelTuplesClass<2, true>(77, "TstCombChnMix2"));
    table.Add(ChannelTuplesClass<3, true>(78, "TstCombChnMix3"));
    table.Add(ChannelTuplesClass<4, true>(79, "TstCombChnMix4"));
    table.Add(ChannelTuplesClass<2, false>(80, "TstCombChnSeq2"));
    table.Add(ChannelTuplesClass<3, false>(81, "TstCombChnSeq3"));
    table.Add(ChannelTuplesClass<4, false>(82, "TstCombChnSeq4"));
    table.Add(StatClass<TBatched<TstChnValCnt>>({.Position = 103,
                                                 .Name = "TstChnValCnt",
                                                 .Code = "CHN%d",
                                                 .Caption = "Количество чисел в %0:d канале",
                                                 .Group = sgChannels,
                                                 .Flags = sfCombinable,
                                                 .TypeRange = &ChannelTypes,
                                                 .FamilyCode = "CHNx"}));
}

} // namespace pelko
