#pragma once
// Prefetch files after a change of the parameters they were made with (the shredding
// formulas for group 12; channel size, matrix columns and segments for groups 3, 4, 5).
// Rebuilding them only while the comparison with the full set is on would leave, with it
// off, files that describe the old parameters and would be read as they stand the next time
// it is switched on. So with the comparison off they are deleted instead and made anew on
// their next use.

#include "core/status_sink.h"
#include "stats/prefetch_files.h"
#include "stats/stat_class.h"

namespace pelko {

class TStatList;

struct TChangedPrefetchsResult {
    TPrefetchBatchResult Rebuilt; // comparison on: the files made anew and the errors
    int Removed = 0;              // comparison off: the files deleted
};

// Call after the registry holds the new parameters (the statistics are created from them).
// A file that cannot be deleted is reported in Rebuilt.Errors with the system's text.
TChangedPrefetchsResult RefreshChangedPrefetchs(TPrefetchFiles& files, const TStatList& list,
                                                TStatGroups changedGroups, bool comparisonOn,
                                                TStatusSink* sink);

} // namespace pelko
