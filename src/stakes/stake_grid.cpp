#include "stakes/stake_grid.h"

#include "core/format.h"
#include "core/text_forms.h"

#include <algorithm>

namespace pelko {

namespace {

constexpr const char* CAPTIONS[scolCount] = {
    "№ тиража",   "Вид ставки", "Моя ставка", "Выборка",    "Результаты тиража",
    "Совпадений", "Совпадения", "Профит",     "Комментарий"};
constexpr int WIDTHS[scolCount] = {60, 60, 120, 60, 120, 60, 60, 60, 1000};

bool IsMatched(const TStakeData& stake, std::uint8_t n) {
    const int count = stake.MatchesCount();
    return std::find(stake.Matches.Members, stake.Matches.Members + count, n) !=
           stake.Matches.Members + count;
}

} // namespace

const char* StakeColumnCaption(int column) {
    return column >= 0 && column < scolCount ? CAPTIONS[column] : "";
}

int StakeColumnWidth(int column) {
    return column >= 0 && column < scolCount ? WIDTHS[column] : 0;
}

TCellAlign StakeColumnAlign(int column) {
    if (column == scolProfit) return TCellAlign::Right;
    if (column == scolComment) return TCellAlign::Left;
    return TCellAlign::Center;
}

std::string StakeCellText(const TStakeData& stake, int column) {
    if (!IsValidStakeRecord(stake)) {
        if (column == scolKind) return DAMAGED_STAKE_CAPTION;
        if (column == scolComment) return STAKE_READ_ERROR;
        return {};
    }
    if (stake.IsSeparator()) return {};
    const bool checked = stake.IsChecked();
    switch (column) {
    case scolDraw:
        return std::to_string(stake.DrawNumber);
    case scolKind:
        return StakeKindText(stake.Kind);
    case scolNumbers:
        return NumberSetToText(stake.Numbers, ";");
    case scolSample:
        return std::to_string(stake.SampleSize);
    case scolResult:
        return checked ? CombToText(stake.DrawResult) : "";
    case scolMatchCount:
        return checked ? std::to_string(stake.MatchCount()) : "";
    case scolMatches:
        return checked ? NumberSetToText(stake.Matches, " ") : "";
    case scolProfit:
        return Format("%.2f", MoneyToDouble(stake.Profit));
    case scolComment:
        return stake.CommentText();
    default:
        return {};
    }
}

std::optional<std::uint32_t> StakeCellBackground(const TStakeData& stake) {
    if (!IsValidStakeRecord(stake)) return std::nullopt;
    return StakeKindColor(stake.Kind);
}

std::optional<std::uint32_t> StakeCellTextColor(const TStakeData& stake, int column) {
    if (stake.IsSeparator() || !stake.IsChecked() || column < scolMatchCount || column > scolProfit)
        return std::nullopt;
    return stake.Profit > 0 ? 0x008000u : 0xFF0000u;
}

std::vector<TPaintedNumber> StakeCellNumbers(const TStakeData& stake, int column) {
    std::vector<TPaintedNumber> out;
    if (stake.IsSeparator() || !IsValidStakeRecord(stake)) return out; // a damaged row shows none
    if (column == scolNumbers) {
        for (int i = 0; i < stake.NumbersCount(); ++i)
            out.push_back({stake.Numbers.Members[i], IsMatched(stake, stake.Numbers.Members[i])});
    } else if (column == scolResult && stake.IsChecked()) {
        for (const std::uint8_t n : stake.DrawResult)
            out.push_back({n, IsMatched(stake, n)});
    }
    return out;
}

std::string StakesCountText(std::int64_t count) {
    return Format("Ставок: %lld", static_cast<long long>(count));
}

} // namespace pelko
