#pragma once
// The standard method registry over an empty archive: enough to read and write filter texts.

#include "stats/stat_list.h"

namespace pelko::test {

inline const TStatList& Registry() {
    static const TDrawsArray draws;
    static TStatList list(draws, TConfigData{});
    static const bool built = (list.Build(), true);
    (void)built;
    return list;
}

} // namespace pelko::test
