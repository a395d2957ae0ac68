#include "stats/custom_stat.h"

#include "core/format.h"
#include "core/record_helpers.h"
#include "stats/stat_list.h"

#include <algorithm>
#include <charconv>
#include <stdexcept>

namespace pelko {

namespace {

// Decimal integer with optional leading blanks and sign; 0 for anything else.
std::int32_t DecimalOrZero(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ')
        ++i;
    text.remove_prefix(i);
    if (!text.empty() && text[0] == '+')
        text.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size())
        return 0;
    return value;
}

// Length of the UTF-8 character that starts with byte c.
std::size_t Utf8Length(unsigned char c) {
    if (c < 0x80)
        return 1;
    if ((c >> 5) == 0x6)
        return 2;
    if ((c >> 4) == 0xE)
        return 3;
    if ((c >> 3) == 0x1E)
        return 4;
    return 1;
}

} // namespace

TCustomStat::TCustomStat(const TStatList& List, int Type)
    : StatType(Type), Draws(List.Draws()), list_(List) {}

const TStatClassInfo& TCustomStat::Class() const {
    if (!class_)
        throw std::logic_error("statistic object without its class (create it through TStatClassInfo::New)");
    return *class_;
}

const TConfigData& TCustomStat::Config() const {
    return list_.Config;
}

std::int32_t TCustomStat::TextToValue(std::string_view Text) const {
    return DecimalOrZero(Text);
}

std::int32_t TCustomStat::TextToScalar(std::string_view Text) const {
    return HasScalarValues() ? TextToValue(Text) : 0;
}

void TCustomStat::FillAllValues(int, TStatDrawList&) {
    Item = TStatDraw{};
}

void TCustomStat::LoadDraw(int Index, TDrawData& Dest, bool Sorted) const {
    if (Index < 0 || Index >= static_cast<int>(Draws.size())) {
        Dest = TDrawData{};
        return;
    }
    Dest = Draws[static_cast<std::size_t>(Index)];
    if (Sorted)
        SortDrawNumbers(Dest);
}

void TCustomStat::SelectDraws(int DrawIndex, int RefIndex, bool Sorted) {
    LoadDraw(DrawIndex, CurDraw, Sorted);
    if (GetFlags() & sfReferenceDraw)
        LoadDraw(RefIndex, RefDraw, Sorted);
}

void TCustomStat::ComputeForDraw(int DrawIndex, int LastIndex, bool Sorted, TStatDrawList&,
                                 TStatWorkArea&, TLastValueArray&) {
    SelectDraws(DrawIndex, LastIndex, Sorted);
    Item = TStatDraw{};
    Item.LastDraw = CurDraw.Number;
    Item.PrevDraw = CurDraw.Number;
    Item.LastAge = LastIndex - DrawIndex + 1;
    Item.Count = 1;
}

int TCustomStat::FindNextOccurrence(const TStatDraw& Item, int FromIndex, bool Sorted, int RefIndex) {
    const int high = static_cast<int>(Draws.size()) - 1;
    if (FromIndex > high)
        return -1;
    if (occurrencesReady_ && FromIndex >= occurrencesFrom_ && Sorted == occurrencesSorted_ &&
        RefIndex == occurrencesRef_) {
        const std::uint64_t key = KeyBits(Item.Key);
        const auto at = std::lower_bound(occurrences_.begin(), occurrences_.end(), TOccurrence{key, FromIndex, 0},
                                         [](const TOccurrence& a, const TOccurrence& b) {
                                             return a.Key != b.Key ? a.Key < b.Key : a.Index < b.Index;
                                         });
        return at != occurrences_.end() && at->Key == key ? at->Draw : -1;
    }
    return ScanNextOccurrence(Item.Key, FromIndex, Sorted, RefIndex);
}

int TCustomStat::ScanNextOccurrence(const TStatKey& key, int FromIndex, bool Sorted, int RefIndex) {
    const int high = static_cast<int>(Draws.size()) - 1;
    TStatWorkArea work;
    TStatDrawList values;
    TLastValueArray lastValues;
    for (int index = FromIndex < 0 ? 0 : FromIndex; index <= high; ++index) {
        values.Clear();
        lastValues.clear();
        ComputeForDraw(index, RefIndex, Sorted, values, work, lastValues);
        const int at = values.Find(key);
        if (at >= 0)
            return values[static_cast<std::size_t>(at)].LastDraw;
    }
    return -1;
}

void TCustomStat::PrepareNextOccurrences(int FromIndex, bool Sorted, int RefIndex) {
    occurrencesReady_ = false;
    occurrences_.clear();
    const int high = static_cast<int>(Draws.size()) - 1;
    const int from = FromIndex < 0 ? 0 : FromIndex;
    TStatDrawList values;
    TLastValueArray lastValues;
    for (int index = from; index <= high; ++index) {
        TStatWorkArea work;
        values.Clear();
        lastValues.clear();
        ComputeForDraw(index, RefIndex, Sorted, values, work, lastValues);
        // a statistic that carries state in the work area needs the scan of each call
        for (const TStatWorkEntry& e : work.Entries)
            if (e.RunLength != 0 || e.RunDraw != 0 || e.RunAge != 0) {
                occurrences_.clear();
                return;
            }
        for (const TStatDraw& v : values)
            occurrences_.push_back({KeyBits(v.Key), index, v.LastDraw});
    }
    std::sort(occurrences_.begin(), occurrences_.end(), [](const TOccurrence& a, const TOccurrence& b) {
        return a.Key != b.Key ? a.Key < b.Key : a.Index < b.Index;
    });
    occurrencesReady_ = true;
    occurrencesFrom_ = from;
    occurrencesSorted_ = Sorted;
    occurrencesRef_ = RefIndex;
}

void TCustomStat::PrepareTest(const TStatSelection&, int, bool, bool) {}

void TCustomStat::FillValue(TStatDrawList& Values, const TStatKey& Key) {
    Item = TStatDraw{};
    Item.Key = Key;
    AddStatDraw(Values, Item, false);
}

std::string TCustomValuesStat::ValueToText(const TStatDraw& Item) const {
    return std::to_string(Item.Key.K(1));
}

std::string TCustomNumbersStat::ValueToText(const TStatDraw& Item) const {
    return std::to_string(Item.Key.K(1));
}

std::string TCustomGraphStat::ValueToText(const TStatDraw& Item) const {
    return std::to_string(Item.Key.K(1));
}

int TCustomGraphStat::GraphValueOfDraw(int DrawIndex, int RefIndex, bool Sorted) {
    LoadDraw(DrawIndex, CurDraw, Sorted);
    TComb comb;
    for (int i = 0; i < LOTTO_COUNT; ++i)
        comb[static_cast<std::size_t>(i)] = CurDraw.Nums[i];
    return GraphValue(comb, DrawIndex, RefIndex, Sorted);
}

std::string TCustomRatioStat::ValueToText(const TStatDraw& Item) const {
    const int k = Item.Key.K(1);
    return Format("%d:%d", k, LOTTO_COUNT - k);
}

std::int32_t TCustomRatioStat::TextToValue(std::string_view Text) const {
    const std::size_t colon = Text.find(':');
    return DecimalOrZero(colon == std::string_view::npos ? Text : Text.substr(0, colon));
}

std::string TCustomMaskStat::ValueToText(const TStatDraw& Item) const {
    const std::int32_t mask = Item.Key.V(1);
    const std::string one = OneLetter(), zero = ZeroLetter();
    std::string text;
    for (int bit = LOTTO_COUNT - 1; bit >= 0; --bit)
        text += (mask >> bit) & 1 ? one : zero;
    return text + Format(" (%.3d)", mask);
}

std::int32_t TCustomMaskStat::TextToValue(std::string_view Text) const {
    const std::string one = OneLetter();
    std::int32_t mask = 0;
    std::size_t at = 0;
    for (int i = 0; i < LOTTO_COUNT; ++i) {
        std::string_view letter;
        if (at < Text.size()) {
            const std::size_t len = std::min(Utf8Length(static_cast<unsigned char>(Text[at])), Text.size() - at);
            letter = Text.substr(at, len);
            at += len;
        }
        mask = (mask << 1) | (!letter.empty() && letter == one ? 1 : 0);
    }
    return mask;
}

void TCustomMaskStat::FillAllValues(int LastIndex, TStatDrawList& Values) {
    TCustomStat::FillAllValues(LastIndex, Values);
    for (std::int32_t mask = 0; mask < 64; ++mask)
        FillValue(Values, TStatKey::FromV(mask));
}

} // namespace pelko
