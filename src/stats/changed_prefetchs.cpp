#include "stats/changed_prefetchs.h"

#include "stats/stat_list.h"

#include <filesystem>
#include <set>
#include <system_error>

namespace pelko {

namespace {

bool InGroups(const TStatClassInfo& cls, TStatGroups groups) {
    return cls.SupportsCombinations() && ((groups >> cls.GetGroup()) & 1u);
}

// Typed classes (one method per channel, column, segment ...) lose methods when the
// parameters shrink: their files would come back, wrong, once the parameters grow again.
// Every type number a parameter can reach is looked at; the current methods' files stay.
void RemoveFilesOfVanishedTypes(TPrefetchFiles& files, const TStatList& list, TStatGroups changedGroups,
                                TChangedPrefetchsResult& result) {
    std::set<std::filesystem::path> current;
    for (const TStatMethod& method : list.Methods())
        current.insert(files.PrefetchFileName(method));
    std::set<std::filesystem::path> seen;
    const TStatClassTable& classes = list.Classes();
    for (std::size_t i = 0; i < classes.size(); ++i) {
        const TStatClassInfo& cls = classes[i];
        if (!InGroups(cls, changedGroups)) continue;
        for (int type = 0; type <= LOTTO_MAX; ++type) {
            TStatMethod probe;
            probe.StatClass = &cls;
            probe.StatType = type;
            const std::filesystem::path file = files.PrefetchFileName(probe);
            if (current.count(file) || !seen.insert(file).second) continue;
            std::error_code ec;
            if (std::filesystem::remove(file, ec))
                ++result.Removed;
            else if (ec)
                result.Rebuilt.Errors.push_back(file.string() + ": " + ec.message());
        }
    }
}

} // namespace

TChangedPrefetchsResult RefreshChangedPrefetchs(TPrefetchFiles& files, const TStatList& list,
                                                TStatGroups changedGroups, bool comparisonOn,
                                                TStatusSink* sink) {
    TChangedPrefetchsResult result;
    if (changedGroups == 0) return result;
    RemoveFilesOfVanishedTypes(files, list, changedGroups, result);
    if (comparisonOn) {
        result.Rebuilt = files.CreateAllPrefetchs(false, changedGroups, true, sink);
        return result;
    }
    for (const TStatMethod& method : list.Methods()) {
        const TStatClassInfo& cls = *method.StatClass;
        if (!InGroups(cls, changedGroups)) continue;
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
