#pragma once
// Prefetch files: the distribution of a statistic over all 8,145,060 combinations, made
// once per method and kept in "Prefetchs/Pelko_6x45_<CODE>.dfc" of the data folder. Layout,
// little-endian, no header: one 12-byte record (K1, K2, K3, K4 as uint16, count as int32)
// per value ascending by key, then the trailer {MinCount, MaxCount, 0}.

#include "core/lottery.h"
#include "core/status_sink.h"
#include "stats/stat_class.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pelko {

class TCustomStat;
class TStatList;
struct TStatMethod;

struct TPrefetchData {
    TShemaArray Records; // ascending by key
    std::int32_t MinCount = 0;
    std::int32_t MaxCount = 0;

    // Norms need a trailer with a positive MaxCount; otherwise the file counts as absent.
    bool HasNorms() const { return MaxCount > 0; }
};

// Bytes of a prefetch file.
std::string PrefetchToBytes(const TPrefetchData& data);
// The data of a file's bytes; nullopt when the layout is broken (empty, not whole records,
// no zero in the trailer, keys not ascending, a trailer that does not match the record
// counts, which also catches a zeroed trailer and a cut-off file). Never reads past the end.
// A file of the trailer alone is valid: a distribution without values, and without norms.
std::optional<TPrefetchData> PrefetchFromBytes(std::string_view bytes);

// The distribution of `stat` over every combination, enumerated in ascending order without
// any combination list. `progress` (may be empty) gets whole per cents 0..100.
TPrefetchData ComputePrefetch(TCustomStat& stat, const std::function<void(int percent)>& progress = {});

struct TPrefetchBatchResult {
    int Created = 0;
    std::vector<std::string> Errors; // the program's message texts, for error boxes
};

class TPrefetchFiles {
public:
    // dataDir is the data folder; the files live in its "Prefetchs" subfolder.
    TPrefetchFiles(const TStatList& list, std::filesystem::path dataDir);

    std::filesystem::path PrefetchFileName(const TStatMethod& method) const;

    // The method's data, creating the file when it is missing or broken. nullopt with
    // *error set ("Ошибка открытия..." or "Ошибка создания...") when it fails.
    std::optional<TPrefetchData> OpenPrefetch(const TStatMethod& method, TStatusSink* sink,
                                              std::string* error);
    // Makes the file (replacing an old one) and returns its data. Throws std::runtime_error
    // with "Ошибка создания файла данных для полного набора вариантов!..." on failure; no
    // partial file is left.
    TPrefetchData CreatePrefetch(const TStatMethod& method, TStatusSink* sink);
    // Nothing unless force or comparisonOn. Then every method with flag N: a missing file is
    // created, an existing one is recreated only when its group is in rebuildGroups.
    TPrefetchBatchResult CreateAllPrefetchs(bool force, TStatGroups rebuildGroups, bool comparisonOn,
                                            TStatusSink* sink);

private:
    const TStatList& list_;
    std::filesystem::path dataDir_;
};

} // namespace pelko
