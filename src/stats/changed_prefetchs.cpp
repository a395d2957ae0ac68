#include "stats/changed_prefetchs.h"

#include "stats/stat_list.h"

#include <filesystem>
#include <system_error>

namespace pelko {

TChangedPrefetchsResult RefreshChangedPrefetchs(TPrefetchFiles& files, const TStatList& list,
                                                TStatGroups changedGroups, bool comparisonOn,
                                                TStatusSink* sink) {
    TChangedPrefetchsResult result;
    if (changedGroups == 0) return result;
    if (comparisonOn) {
        result.Rebuilt = files.CreateAllPrefetchs(false, changedGroups, true, sink);
        return result;
    }
    for (const TStatMethod& method : list.Methods()) {
        const TStatClassInfo& cls = *method.StatClass;
        if (!cls.SupportsCombinations() || !((changedGroups >> cls.GetGroup()) & 1u)) continue;
        const std::filesystem::path file = files.PrefetchFileName(method);
        std::error_code ec;
        if (std::filesystem::remove(file, ec))
            ++result.Removed;
        else if (ec)
            result.Rebuilt.Errors.push_back(file.string() + ": " + ec.message());
    }
    return result;
}

} // namespace pelko
