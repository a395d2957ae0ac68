#include "filters/filter_variants.h"

#include "core/format.h"
#include "core/text_forms.h"
#include "filters/filter_text.h"

#include <limits>
#include <new>

namespace pelko {

namespace {

struct TItemValues {
    TIntArray Draws;
    TIntArray Levels;
};

TItemValues ParseItemValues(const TFilterItem& item) {
    TItemValues values{ParseNumbers(item.DrawsLen), {}};
    if (values.Draws.empty())
        throw std::runtime_error(Format(BAD_FILTER_MESSAGE, FilterToText(item).c_str()));
    if (item.LevelMode != lmNone) {
        values.Levels = ParseNumbers(item.LevelValue);
        if (values.Levels.empty())
            throw std::runtime_error(Format(BAD_FILTER_MESSAGE, FilterToText(item).c_str()));
    }
    return values;
}

} // namespace

TFilterPart FilterPartOf(const TFilterItem& item, int drawsLen) {
    TFilterPart part;
    part.Active = true;
    part.Method = item.Method;
    part.DrawsLen = drawsLen;
    part.SortOrder = item.SortOrder;
    part.BottomUp = item.BottomUp;
    part.MultiSelect = item.MultiSelect;
    part.KeepSelected = item.KeepSelected;
    part.LevelMode = item.LevelMode;
    part.CDLOverride = item.CDLOverride;
    part.CDL = item.CDL;
    part.StopMode = item.StopMode;
    part.StopValue = item.StopValue;
    return part;
}

namespace {

bool IsListLevelMode(int mode) {
    switch (mode) {
    case lmDepthListValue: case lmDepthListPercent: case lmDevListValue: case lmDevListPercent:
    case lmCountListValue: case lmCountListPercent: case lmValueList:
        return true;
    default:
        return false;
    }
}

class TExpansion {
  public:
    TExpansion(const std::vector<TFilterItem>& items, std::vector<TItemValues> values,
               std::vector<TFilterRec>& out, const TVariantCallbacks& callbacks)
        : items_(items), values_(std::move(values)), out_(out), callbacks_(callbacks) {}

    bool Run() { return Fill(0); }

  private:
    bool Stopped() const { return callbacks_.StopRequested && callbacks_.StopRequested(); }

    bool Fill(std::size_t d) {
        if (d == items_.size()) {
            out_.push_back(current_);
            if (callbacks_.Progress && out_.size() % 1000 == 0)
                callbacks_.Progress(out_.size());
            return true;
        }
        const TFilterItem& item = items_[d];
        for (int drawsLen : values_[d].Draws) {
            if (Stopped())
                return false;
            if (IsPerValueLevelMode(item.LevelMode)) {
                for (int level : values_[d].Levels) {
                    if (Stopped())
                        return false;
                    current_[d] = FilterPartOf(item, drawsLen);
                    current_[d].LevelValues = current_[d].LevelText = std::to_string(level);
                    if (!Fill(d + 1))
                        return false;
                }
            } else {
                current_[d] = FilterPartOf(item, drawsLen);
                current_[d].LevelValues = IsListLevelMode(item.LevelMode) && !values_[d].Levels.empty()
                                              ? IntArrayToText(values_[d].Levels, ",")
                                              : item.LevelValue;
                current_[d].LevelText = item.LevelValue;
                if (!Fill(d + 1))
                    return false;
            }
        }
        return true;
    }

    const std::vector<TFilterItem>& items_;
    std::vector<TItemValues> values_;
    std::vector<TFilterRec>& out_;
    const TVariantCallbacks& callbacks_;
    TFilterRec current_{};
};

std::int64_t SaturatingProduct(std::int64_t a, std::int64_t b) {
    if (a != 0 && b > std::numeric_limits<std::int64_t>::max() / a)
        return std::numeric_limits<std::int64_t>::max();
    return a * b;
}

std::string TooManyVariantsText(const std::string& reason) {
    return std::string(TOO_MANY_VARIANTS_MESSAGE) + "\r\r" + reason;
}

} // namespace

bool IsPerValueLevelMode(int mode) {
    return mode != lmNone && !IsListLevelMode(mode) && mode < LEVEL_MODES;
}

std::int64_t CountVariants(const std::vector<TFilterItem>& items) {
    std::int64_t count = items.empty() ? 0 : 1;
    for (const TFilterItem& item : items) {
        const TItemValues values = ParseItemValues(item);
        count = SaturatingProduct(count, static_cast<std::int64_t>(values.Draws.size()));
        if (IsPerValueLevelMode(item.LevelMode))
            count = SaturatingProduct(count, static_cast<std::int64_t>(values.Levels.size()));
    }
    return count;
}

bool ExpandVariants(const std::vector<TFilterItem>& items, std::vector<TFilterRec>& variants,
                    const TVariantCallbacks& callbacks) {
    variants.clear();
    if (items.empty())
        return true;
    std::vector<TItemValues> values;
    for (const TFilterItem& item : items)
        values.push_back(ParseItemValues(item));
    const std::int64_t count = CountVariants(items);
    if (count > MAX_FILTER_VARIANTS)
        throw TTooManyVariants(TooManyVariantsText(
            Format("Вариантов фильтров: %lld, допустимо не более %lld.", static_cast<long long>(count),
                   static_cast<long long>(MAX_FILTER_VARIANTS))));
    try {
        variants.reserve(static_cast<std::size_t>(count));
        return TExpansion(items, std::move(values), variants, callbacks).Run();
    } catch (const std::bad_alloc& e) {
        variants.clear();
        variants.shrink_to_fit();
        throw TTooManyVariants(TooManyVariantsText(e.what()));
    }
}

} // namespace pelko
