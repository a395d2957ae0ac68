#include "stakes/stake_making.h"

#include "core/format.h"
#include "core/record_helpers.h"
#include "core/text_forms.h"
#include "stakes/stake_profit.h"

#include <algorithm>

namespace pelko {

TStakeData NewStakeDefaults(std::int32_t nextDrawNumber, std::size_t sampleSize) {
    TStakeData s;
    s.Kind = skManual;
    s.DrawNumber = nextDrawNumber;
    s.SetCommentText(MANUAL_STAKE_COMMENT);
    s.SampleSize = static_cast<std::int32_t>(std::min<std::size_t>(sampleSize, INT32_MAX));
    s.Numbers.Count = 0;
    s.Matches.Count = -1;
    return s;
}

std::optional<TNumberSet> ParseStakeNumbers(std::string_view text) {
    const std::vector<std::string> words = SplitWords(text, ";,");
    std::vector<std::string> kept;
    for (const std::string& w : words)
        if (!TrimText(w).empty()) kept.push_back(w);
    if (kept.size() < MIN_STAKE_NUMBERS || kept.size() > MAX_STAKE_NUMBERS) return std::nullopt;
    TNumberSet set;
    for (const std::string& w : kept) {
        int v = 0;
        if (!TryStrToInt(w, v) || v < 1 || v > LOTTO_MAX) return std::nullopt;
        if (std::find(set.Members, set.Members + set.Count, v) != set.Members + set.Count)
            return std::nullopt;
        set.Members[set.Count++] = static_cast<std::uint8_t>(v);
    }
    SortNumberSet(set);
    return set;
}

int StakeNumbersSum(std::string_view text) {
    int sum = 0;
    for (const std::string& w : SplitWords(text, ";,"))
        sum += StrToIntDef(w, 0);
    return sum;
}

std::optional<std::string> ValidateStakeDialog(std::string_view numbersText,
                                               std::string_view comment) {
    if (!ParseStakeNumbers(numbersText)) return std::string(BAD_STAKE_MESSAGE);
    return ValidateMultiStakeDialog(comment);
}

std::optional<std::string> ValidateMultiStakeDialog(std::string_view comment) {
    if (comment.empty()) return std::string(NO_COMMENT_MESSAGE);
    return std::nullopt;
}

void SetStakeNumbers(TStakeData& stake, const TNumberSet& numbers, const TConfigData& config) {
    stake.Numbers = numbers;
    stake.Profit = StakeProfit(config, stake.NumbersCount(), -1);
}

TStakeData StakeFromComb(const TStakeData& defaults, const TComb& comb, const TConfigData& config) {
    TStakeData s = defaults;
    SetStakeNumbers(s, CombToNumberSet(comb), config);
    return s;
}

std::string ScenarioStakeComment(int line, int variant, std::string_view lineComment,
                                 std::string_view shortOptions,
                                 const std::vector<std::string>& filterTexts) {
    std::string text = Format("%.2d.%.3d:", line, variant) + " ";
    if (!TrimText(lineComment).empty()) text += std::string(lineComment) + " ";
    text += "@ " + std::string(shortOptions);
    for (const std::string& f : filterTexts)
        if (!f.empty()) text += " + " + f;
    TStakeData cut; // the record's limit decides where the text ends
    cut.SetCommentText(text);
    return cut.CommentText();
}

const char* StakeConditionCaption(int condition) {
    switch (condition) {
    case scEqual:
        return "Равно [ = ]";
    case scMore:
        return "Более [ > ]";
    case scNotLess:
        return "Не менее [ >= ]";
    case scLess:
        return "Менее [ < ]";
    case scNotMore:
        return "Не более [ <= ]";
    default:
        return "";
    }
}

bool StakeConditionHolds(int condition, int m, int value) {
    switch (condition) {
    case scEqual:
        return m == value;
    case scMore:
        return m > value;
    case scNotLess:
        return m >= value;
    case scLess:
        return m < value;
    case scNotMore:
        return m <= value;
    default:
        return false;
    }
}

std::optional<std::pair<TStakeCondition, int>> ParseStakeCondition(std::string_view text) {
    text = TrimText(text);
    static const std::pair<const char*, TStakeCondition> OPS[] = {
        {">=", scNotLess}, {"<=", scNotMore}, {"=", scEqual}, {">", scMore}, {"<", scLess}};
    for (const auto& [op, cond] : OPS) {
        const std::string_view o(op);
        if (text.substr(0, o.size()) == o) {
            int v = 0;
            if (!TryStrToInt(text.substr(o.size()), v) || v < 0 || v > LOTTO_COUNT)
                return std::nullopt;
            return std::make_pair(cond, v);
        }
    }
    return std::nullopt;
}

void DeleteSelectedStakes(TStakesFile& file, std::int64_t firstRow, std::int64_t lastRow) {
    file.Rewrite([&](std::int64_t index, const TStakeData&) {
        const std::int64_t row = index + 1;
        return row < firstRow || row > lastRow;
    });
}

void DeleteStakesByCondition(TStakesFile& file, int condition, int value) {
    file.Rewrite([&](std::int64_t, const TStakeData& s) {
        return s.Kind == skSeparator || !StakeConditionHolds(condition, s.MatchCount(), value);
    });
}

} // namespace pelko
