#pragma once
// The table of statistic classes the registry walks, kept in the order of the rows'
// Position whatever order the families add them in.

#include "stats/stat_class.h"

#include <memory>
#include <string_view>
#include <vector>

namespace pelko {

class TStatClassTable {
public:
    // Inserts the class at its Position; throws std::logic_error for a position already taken
    // or a class without a factory.
    void Add(TStatClassInfo info);

    std::size_t size() const { return classes_.size(); }
    bool empty() const { return classes_.empty(); }
    // Classes in Position order; references stay valid for the table's life.
    const TStatClassInfo& operator[](std::size_t i) const { return *classes_[i]; }

    const TStatClassInfo* FindByName(std::string_view name) const;
    const TStatClassInfo* FindByPosition(int position) const;

private:
    std::vector<std::unique_ptr<TStatClassInfo>> classes_;
};

// The program's table: every family registered by families/families.cpp, built on first use.
const TStatClassTable& StandardStatClasses();

} // namespace pelko
