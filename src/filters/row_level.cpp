#include "filters/row_level.h"

#include "core/format.h"
#include "core/text_forms.h"

#include <stdexcept>
#include <vector>

namespace pelko {

namespace {

enum class TCompare { Always, NotLess, NotMore, InList };
enum class TKind { Integer, Decimal };

struct TLevelRule {
    TCompare Compare = TCompare::Always;
    TKind Kind = TKind::Integer;
    std::string TStatValues::*Column = nullptr; // none: the row's value integer
};

TLevelRule RuleOf(int mode) {
    using S = TStatValues;
    switch (mode) {
    case lmDepthMinValue: return {TCompare::NotLess, TKind::Integer, &S::Depth};
    case lmDepthMinPercent: return {TCompare::NotLess, TKind::Decimal, &S::DepthPercent};
    case lmDepthMaxValue: return {TCompare::NotMore, TKind::Integer, &S::Depth};
    case lmDepthMaxPercent: return {TCompare::NotMore, TKind::Decimal, &S::DepthPercent};
    case lmDepthListValue: return {TCompare::InList, TKind::Integer, &S::Depth};
    case lmDepthListPercent: return {TCompare::InList, TKind::Decimal, &S::DepthPercent};
    case lmDevMinValue: return {TCompare::NotLess, TKind::Integer, &S::Deviation};
    case lmDevMinPercent: return {TCompare::NotLess, TKind::Decimal, &S::DeviationPercent};
    case lmDevMaxValue: return {TCompare::NotMore, TKind::Integer, &S::Deviation};
    case lmDevMaxPercent: return {TCompare::NotMore, TKind::Decimal, &S::DeviationPercent};
    case lmDevListValue: return {TCompare::InList, TKind::Integer, &S::Deviation};
    case lmDevListPercent: return {TCompare::InList, TKind::Decimal, &S::DeviationPercent};
    case lmCountMinValue: return {TCompare::NotLess, TKind::Integer, &S::Count};
    case lmCountMinPercent: return {TCompare::NotLess, TKind::Decimal, &S::CountPercent};
    case lmCountMaxValue: return {TCompare::NotMore, TKind::Integer, &S::Count};
    case lmCountMaxPercent: return {TCompare::NotMore, TKind::Decimal, &S::CountPercent};
    case lmCountListValue: return {TCompare::InList, TKind::Integer, &S::Count};
    case lmCountListPercent: return {TCompare::InList, TKind::Decimal, &S::CountPercent};
    case lmWeightMin: return {TCompare::NotLess, TKind::Decimal, &S::Weight};
    case lmWeightMax: return {TCompare::NotMore, TKind::Decimal, &S::Weight};
    case lmWeightList: return {TCompare::InList, TKind::Decimal, &S::Weight};
    case lmPeriodMinMin: return {TCompare::NotLess, TKind::Integer, &S::PeriodMin};
    case lmPeriodMinMax: return {TCompare::NotMore, TKind::Integer, &S::PeriodMin};
    case lmPeriodMinList: return {TCompare::InList, TKind::Integer, &S::PeriodMin};
    case lmPeriodMin: return {TCompare::NotLess, TKind::Decimal, &S::Period};
    case lmPeriodMax: return {TCompare::NotMore, TKind::Decimal, &S::Period};
    case lmPeriodList: return {TCompare::InList, TKind::Decimal, &S::Period};
    case lmPeriodMaxMin: return {TCompare::NotLess, TKind::Integer, &S::PeriodMax};
    case lmPeriodMaxMax: return {TCompare::NotMore, TKind::Integer, &S::PeriodMax};
    case lmPeriodMaxList: return {TCompare::InList, TKind::Integer, &S::PeriodMax};
    case lmValueList: return {TCompare::InList, TKind::Integer, nullptr};
    default: return {};
    }
}

// Below-threshold columns that are not numbers: the "not more than" tests of the value
// and percentage columns treat them as far away (65535); weight and period as 0.
long double NotMoreDefault(int mode) {
    return mode == lmWeightMax || mode == lmPeriodMax ? 0.0L : 65535.0L;
}

bool InList(const TLevelRule& rule, const std::vector<std::string>& words, const TStatValues& row) {
    for (const std::string& word : words) {
        if (rule.Kind == TKind::Integer) {
            const int wanted = RowTextToInt(word);
            const int have = rule.Column ? RowTextToInt(row.*rule.Column) : row.Value;
            if (wanted == have)
                return true;
        } else {
            const long double wanted = RowTextToDecimal(word);
            if (wanted == RowTextToDecimal(row.*rule.Column))
                return true;
        }
    }
    return false;
}

} // namespace

int RowTextToInt(std::string_view text) {
    int value = 0;
    if (!TryStrToInt(text, value))
        throw std::runtime_error(Format(BAD_INTEGER_MESSAGE, std::string(text).c_str()));
    return value;
}

long double RowTextToDecimal(std::string_view text) {
    double value = 0;
    if (!TryStrToFloat(text, value))
        throw std::runtime_error(Format(BAD_DECIMAL_MESSAGE, std::string(text).c_str()));
    return value;
}

int RowTextToIntDef(std::string_view text, int def) {
    int value = 0;
    return TryStrToInt(text, value) ? value : def;
}

long double RowTextToDecimalDef(std::string_view text, long double def) {
    double value = 0;
    return TryStrToFloat(text, value) ? value : def;
}

bool RowMatchesLevel(const TFilterPart& part, const TStatValues& row) {
    const TLevelRule rule = RuleOf(part.LevelMode);
    const std::string& v = part.LevelValues;
    switch (rule.Compare) {
    case TCompare::Always:
        return true;
    case TCompare::InList:
        return InList(rule, SplitWords(v, ",;"), row);
    case TCompare::NotLess:
        if (rule.Kind == TKind::Integer)
            return RowTextToIntDef(row.*rule.Column, 0) >= RowTextToInt(TrimText(v));
        return RowTextToDecimalDef(row.*rule.Column, 0) >= RowTextToDecimal(TrimText(v));
    case TCompare::NotMore:
        if (rule.Kind == TKind::Integer)
            return RowTextToInt(TrimText(v)) >= RowTextToIntDef(row.*rule.Column, 65535);
        return RowTextToDecimalDef(row.*rule.Column, NotMoreDefault(part.LevelMode)) <= RowTextToDecimal(TrimText(v));
    }
    return true;
}

} // namespace pelko
