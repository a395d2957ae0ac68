#include "stats/stat_class_table.h"

#include <algorithm>
#include <stdexcept>

namespace pelko {

void TStatClassTable::Add(TStatClassInfo info) {
    if (!info.Create)
        throw std::logic_error(std::string("statistic class without a factory: ") + info.Name);
    if (FindByPosition(info.Position))
        throw std::logic_error("two statistic classes at position " + std::to_string(info.Position));
    auto owned = std::make_unique<TStatClassInfo>(std::move(info));
    const auto at = std::upper_bound(classes_.begin(), classes_.end(), owned->Position,
                                     [](int pos, const auto& c) { return pos < c->Position; });
    classes_.insert(at, std::move(owned));
}

const TStatClassInfo* TStatClassTable::FindByName(std::string_view name) const {
    for (const auto& c : classes_)
        if (name == c->Name)
            return c.get();
    return nullptr;
}

const TStatClassInfo* TStatClassTable::FindByPosition(int position) const {
    for (const auto& c : classes_)
        if (c->Position == position)
            return c.get();
    return nullptr;
}

} // namespace pelko
