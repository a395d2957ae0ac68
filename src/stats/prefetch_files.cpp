#include "stats/prefetch_files.h"

#include "core/atomic_file.h"
#include "core/format.h"
#include "stats/custom_stat.h"
#include "stats/stat_list.h"

#include <algorithm>
#include <climits>
#include <exception>
#include <functional>
#include <stdexcept>
#include <system_error>

namespace pelko {

namespace {

constexpr std::size_t RECORD_SIZE = 12;
constexpr const char* PREFETCH_FOLDER = "Prefetchs";
constexpr const char* PROGRAM_NAME = "Pelko_6x45";

void PutU16(std::string& out, std::uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}

void PutI32(std::string& out, std::int32_t v) {
    const auto u = static_cast<std::uint32_t>(v);
    for (int b = 0; b < 4; ++b)
        out += static_cast<char>((u >> (8 * b)) & 0xFF);
}

std::uint16_t GetU16(const unsigned char* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::int32_t GetI32(const unsigned char* p) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
                                     (static_cast<std::uint32_t>(p[2]) << 16) |
                                     (static_cast<std::uint32_t>(p[3]) << 24));
}

std::string FileMessage(const char* head, const std::filesystem::path& file, const std::string& what) {
    return std::string(head) + "\r\n\r\n" + Format("Имя файла: %s", file.string().c_str()) + "\r\n\r\n" + what;
}

constexpr const char* CREATE_ERROR = "Ошибка создания файла данных для полного набора вариантов!";
constexpr const char* OPEN_ERROR = "Ошибка открытия файла данных для полного набора вариантов!";

} // namespace

std::string PrefetchToBytes(const TPrefetchData& data) {
    std::string out;
    out.reserve((data.Records.size() + 1) * RECORD_SIZE);
    for (const TShemaItem& r : data.Records) {
        for (int i = 1; i <= 4; ++i)
            PutU16(out, r.Key.K(i));
        PutI32(out, r.Count);
    }
    PutI32(out, data.MinCount);
    PutI32(out, data.MaxCount);
    PutI32(out, 0);
    return out;
}

std::optional<TPrefetchData> PrefetchFromBytes(std::string_view bytes) {
    if (bytes.size() < RECORD_SIZE || bytes.size() % RECORD_SIZE != 0)
        return std::nullopt;
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t records = bytes.size() / RECORD_SIZE - 1;
    const unsigned char* trailer = p + records * RECORD_SIZE;
    TPrefetchData data;
    data.MinCount = GetI32(trailer);
    data.MaxCount = GetI32(trailer + 4);
    if (GetI32(trailer + 8) != 0)
        return std::nullopt;
    data.Records.reserve(records);
    std::int32_t lo = INT32_MAX, hi = 0;
    for (std::size_t i = 0; i < records; ++i) {
        const unsigned char* r = p + i * RECORD_SIZE;
        TShemaItem item;
        item.Key = TStatKey::FromK(GetU16(r), GetU16(r + 2), GetU16(r + 4), GetU16(r + 6));
        item.Count = GetI32(r + 8);
        if (!data.Records.empty() && CompareKeys(data.Records.back().Key, item.Key) >= 0)
            return std::nullopt;
        lo = std::min(lo, item.Count);
        hi = std::max(hi, item.Count);
        data.Records.push_back(item);
    }
    // a file cut at a record boundary, or with a zeroed trailer, no longer matches its counts
    if (records > 0 && (lo != data.MinCount || hi != data.MaxCount))
        return std::nullopt;
    return data;
}

TPrefetchData ComputePrefetch(TCustomStat& stat, const std::function<void(int)>& progress) {
    TStatDrawList values;
    values.BeginCounting();
    stat.Item = TStatDraw{};
    constexpr std::size_t BATCH = 4096;
    TComb batch[BATCH];
    std::size_t fill = 0;
    std::size_t done = 0;
    int lastPercent = -1;
    auto flush = [&] {
        stat.ComputeForCombinations(batch, fill, values);
        done += fill;
        fill = 0;
        if (progress) {
            const int percent = static_cast<int>(done * 100 / COMBS_TOTAL);
            if (percent != lastPercent)
                progress(lastPercent = percent);
        }
    };
    TComb c;
    for (int a = 1; a <= LOTTO_MAX - 5; ++a) {
        c[0] = static_cast<std::uint8_t>(a);
        for (int b = a + 1; b <= LOTTO_MAX - 4; ++b) {
            c[1] = static_cast<std::uint8_t>(b);
            for (int d = b + 1; d <= LOTTO_MAX - 3; ++d) {
                c[2] = static_cast<std::uint8_t>(d);
                for (int e = d + 1; e <= LOTTO_MAX - 2; ++e) {
                    c[3] = static_cast<std::uint8_t>(e);
                    for (int f = e + 1; f <= LOTTO_MAX - 1; ++f) {
                        c[4] = static_cast<std::uint8_t>(f);
                        for (int g = f + 1; g <= LOTTO_MAX; ++g) {
                            c[5] = static_cast<std::uint8_t>(g);
                            batch[fill++] = c;
                            if (fill == BATCH)
                                flush();
                        }
                    }
                }
            }
        }
    }
    flush();
    values.EndCounting();

    values.SortByKey();
    TPrefetchData data;
    data.Records.reserve(values.size());
    for (const TStatDraw& v : values)
        data.Records.push_back(TShemaItem{v.Key, v.Count});
    if (!data.Records.empty()) {
        const auto [lo, hi] = std::minmax_element(data.Records.begin(), data.Records.end(),
                                                  [](const TShemaItem& x, const TShemaItem& y) { return x.Count < y.Count; });
        data.MinCount = lo->Count;
        data.MaxCount = hi->Count;
    }
    return data;
}

TPrefetchFiles::TPrefetchFiles(const TStatList& list, std::filesystem::path dataDir)
    : list_(list), dataDir_(std::move(dataDir)) {}

std::filesystem::path TPrefetchFiles::PrefetchFileName(const TStatMethod& method) const {
    return dataDir_ / PREFETCH_FOLDER / Format("%s_%s.dfc", PROGRAM_NAME, list_.MethodCode(method).c_str());
}

TPrefetchData TPrefetchFiles::CreatePrefetch(const TStatMethod& method, TStatusSink* sink) {
    const std::filesystem::path file = PrefetchFileName(method);
    const std::string status = Format("Создание файла предварительной выборки %s...", file.filename().string().c_str());
    ShowStatus(sink, status);
    try {
        std::filesystem::create_directories(file.parent_path());
        std::unique_ptr<TCustomStat> stat = list_.CreateStat(method);
        TPrefetchData data = ComputePrefetch(*stat, [&](int percent) {
            if (sink && percent > 0)
                sink->StatusText(PercentText(status, percent, 100));
        });
        WriteFileAtomically(file, PrefetchToBytes(data));
        return data;
    } catch (const std::exception& e) {
        std::error_code ec;
        std::filesystem::remove(file, ec);
        throw std::runtime_error(FileMessage(CREATE_ERROR, file, e.what()));
    }
}

std::optional<TPrefetchData> TPrefetchFiles::OpenPrefetch(const TStatMethod& method, TStatusSink* sink,
                                                          std::string* error) {
    const std::filesystem::path file = PrefetchFileName(method);
    std::error_code ec;
    if (std::filesystem::exists(file, ec)) {
        std::string bytes;
        try {
            bytes = ReadWholeFile(file);
        } catch (const std::exception& e) {
            if (error)
                *error = FileMessage(OPEN_ERROR, file, e.what());
            return std::nullopt;
        }
        if (auto data = PrefetchFromBytes(bytes))
            return data;
    }
    try {
        return CreatePrefetch(method, sink);
    } catch (const std::exception& e) {
        if (error)
            *error = e.what();
        return std::nullopt;
    }
}

TPrefetchBatchResult TPrefetchFiles::CreateAllPrefetchs(bool force, TStatGroups rebuildGroups, bool comparisonOn,
                                                        TStatusSink* sink) {
    TPrefetchBatchResult result;
    if (!force && !comparisonOn)
        return result;
    const std::string status = "Создание файлов для полного набора комбинаций...";
    ShowStatus(sink, status);
    const int total = list_.Count();
    for (int i = 0; i < total; ++i) {
        if (sink)
            sink->StatusText(PercentText(status, i, total));
        const TStatMethod& method = list_.Items(i);
        if (!method.StatClass->SupportsCombinations())
            continue;
        std::error_code ec;
        const bool exists = std::filesystem::exists(PrefetchFileName(method), ec);
        const bool rebuild = (rebuildGroups >> method.StatClass->GetGroup()) & 1u;
        if (exists && !rebuild)
            continue;
        try {
            CreatePrefetch(method, nullptr);
            ++result.Created;
        } catch (const std::exception& e) {
            result.Errors.push_back(e.what());
        }
    }
    ShowStatus(sink, "");
    return result;
}

} // namespace pelko
