#include "core/draw_archive.h"

#include "core/atomic_file.h"
#include "core/format.h"
#include "core/record_helpers.h"
#include "core/record_io.h"
#include "core/sys_io.h"
#include "core/text_forms.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <stdexcept>

namespace pelko {

std::string EncodeDrawRecord(const TDrawData& draw) {
    std::string out;
    out.reserve(DRAW_RECORD_SIZE);
    TRecordWriter w(out);
    w.I32(draw.Number);
    w.Bytes(draw.Nums, LOTTO_COUNT);
    w.ShortString(draw.RawDate(), DRAW_DATE_LEN);
    w.U8(0);
    return out;
}

TDrawData DecodeDrawRecord(const char* record28) {
    TRecordReader r(record28);
    TDrawData d;
    d.Number = r.I32();
    r.Bytes(d.Nums, LOTTO_COUNT);
    const std::uint8_t len = r.U8();
    char date[DRAW_DATE_LEN];
    r.Bytes(date, DRAW_DATE_LEN);
    // A length beyond the field is damage; keep what the field holds.
    d.SetRawDate(std::string_view(date, len < DRAW_DATE_LEN ? len : DRAW_DATE_LEN));
    return d;
}

TDrawsLoad ReadDrawsFile(const std::filesystem::path& file, TDrawsArray& draws) {
    TDrawsLoad load;
    std::error_code ec;
    if (!std::filesystem::exists(file, ec))
        return load;
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        throw std::runtime_error(SysErrorText(errno));
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        const int error = errno;
        ::close(fd);
        throw std::runtime_error(SysErrorText(error));
    }
    const std::size_t count = static_cast<std::size_t>(st.st_size) / DRAW_RECORD_SIZE;
    draws.clear();
    draws.reserve(count);
    // Whole records only, and only those with six valid numbers: an impossible draw would
    // be indexed by number in every statistic.
    std::string bytes;
    std::size_t read = 0;
    auto takeRecords = [&] {
        std::size_t at = 0;
        for (; at + DRAW_RECORD_SIZE <= bytes.size() && read < count; at += DRAW_RECORD_SIZE) {
            const TDrawData d = DecodeDrawRecord(bytes.data() + at);
            ++read;
            if (ValidDrawNumbers(d))
                draws.push_back(d);
            else
                ++load.Refused;
        }
        bytes.erase(0, at);
    };
    char buffer[64 * 1024];
    while (read < count) {
        const ssize_t n = SysRead(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : 0;
            ::close(fd);
            throw std::runtime_error(
                (error ? SysErrorText(error) + "\n" : std::string()) +
                Format("Файл прочитан не полностью: %zu из %zu записей", read, count));
        }
        bytes.append(buffer, static_cast<std::size_t>(n));
        takeRecords();
    }
    ::close(fd);
    load.Partial = static_cast<std::size_t>(st.st_size) % DRAW_RECORD_SIZE;
    return load;
}

void WriteDrawsFile(const std::filesystem::path& file, const TDrawsArray& draws) {
    std::string bytes;
    bytes.reserve(draws.size() * DRAW_RECORD_SIZE);
    for (const auto& d : draws)
        bytes += EncodeDrawRecord(d);
    WriteFileAtomically(file, bytes);
}

namespace {

// Walks from `from` one step at a time in one direction while inside the array.
int WalkFor(const TDrawsArray& draws, std::int32_t number, int from, int step) {
    for (int i = from; i >= 0 && i < static_cast<int>(draws.size()); i += step)
        if (draws[i].Number == number)
            return i;
    return -1;
}

} // namespace

// The archive is nearly always ascending by draw number: try both ends, then a guess by
// interpolation and a walk from it, and only then a full scan from the newest entry down.
int FindDraw(const TDrawsArray& draws, std::int32_t number) {
    if (draws.empty())
        return -1;
    const int last = static_cast<int>(draws.size()) - 1;
    if (draws.front().Number == number)
        return 0;
    if (draws.back().Number == number)
        return last;

    const double first = draws.front().Number;
    const double span = static_cast<double>(draws.back().Number) - first + 1.0;
    int guess = last;
    if (span != 0) {
        const double g = std::trunc(static_cast<double>(draws.size()) * ((number - first) / span));
        if (g >= 0 && g <= last)
            guess = static_cast<int>(g);
    }
    if (draws[guess].Number == number)
        return guess;
    const int step = number > draws[guess].Number ? 1 : -1;
    if (const int found = WalkFor(draws, number, guess, step); found >= 0)
        return found;
    return WalkFor(draws, number, last, -1);
}

void DeleteDraw(TDrawsArray& draws, int index) {
    if (index < 0 || index >= static_cast<int>(draws.size()))
        throw std::runtime_error(Format("Запись со индексом %d в файле данных не найдена!", index));
    draws.erase(draws.begin() + index);
}

int AnalysisIndex(const TDrawsArray& draws, int k) {
    return static_cast<int>(draws.size()) - 1 - k;
}

int ClampDrawsOffset(const TDrawsArray& draws, int k) {
    const int max = draws.empty() ? 0 : static_cast<int>(draws.size()) - 1;
    return k < 0 ? 0 : (k > max ? max : k);
}

namespace {
bool OffsetInRange(const TDrawsArray& draws, int k) {
    return k >= 0 && k < static_cast<int>(draws.size());
}
} // namespace

int NextDrawNumber(const TDrawsArray& draws, int k) {
    if (draws.empty())
        return 1;
    if (!OffsetInRange(draws, k))
        return -1;
    return draws[AnalysisIndex(draws, k)].Number + 1;
}

TComb OffsetDrawNumbers(const TDrawsArray& draws, int k) {
    if (!OffsetInRange(draws, k))
        return {};
    return DrawToComb(draws[AnalysisIndex(draws, k)]);
}

std::string HiddenDrawText(const TDrawsArray& draws, int k) {
    if (k <= 0 || k >= static_cast<int>(draws.size()))
        return {};
    return CombToText(DrawToComb(draws[AnalysisIndex(draws, k) + 1]));
}

std::uint64_t DrawsFingerprint(const TDrawsArray& draws) {
    std::uint64_t hash = 14695981039346656037ull; // FNV-1a
    auto mix = [&hash](const void* data, std::size_t size) {
        for (std::size_t i = 0; i < size; ++i) {
            hash ^= static_cast<const unsigned char*>(data)[i];
            hash *= 1099511628211ull;
        }
    };
    for (const TDrawData& draw : draws) {
        mix(&draw.Number, sizeof draw.Number);
        mix(draw.Nums, sizeof draw.Nums);
        mix(draw.Date, std::min<std::size_t>(draw.DateLen, sizeof draw.Date));
    }
    return hash;
}

TByteSet HiddenDrawSet(const TDrawsArray& draws, int k) {
    TByteSet set;
    if (k <= 0 || k >= static_cast<int>(draws.size()))
        return set;
    for (const auto n : draws[AnalysisIndex(draws, k) + 1].Nums)
        set.Add(n);
    return set;
}

TDrawData DrawForAnalysis(const TDrawData& draw, bool sorted) {
    TDrawData copy = draw;
    if (sorted)
        SortDrawNumbers(copy);
    return copy;
}

TDrawData DrawAt(const TDrawsArray& draws, int index, bool sorted) {
    if (index < 0 || index >= static_cast<int>(draws.size()))
        return {};
    return DrawForAnalysis(draws[index], sorted);
}

std::optional<TComb> AcceptDrawNumbersText(std::string_view text) {
    const auto words = SplitWords(text, ",;");
    if (words.size() != LOTTO_COUNT)
        return std::nullopt;
    TComb comb;
    TByteSet seen;
    for (int i = 0; i < LOTTO_COUNT; ++i) {
        int v = 0;
        if (!TryStrToInt(words[i], v) || v < 1 || v > LOTTO_MAX || seen.Has(v))
            return std::nullopt;
        seen.Add(v);
        comb[i] = static_cast<std::uint8_t>(v);
    }
    return comb;
}

} // namespace pelko
