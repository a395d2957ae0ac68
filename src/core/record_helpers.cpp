#include "core/record_helpers.h"

#include "core/comb_list.h"

#include <algorithm>
#include <chrono>
#include <random>

namespace pelko {

namespace {
template <typename T> bool AllValidAndDistinct(const T* values, int count) {
    std::uint64_t seen = 0;
    for (int i = 0; i < count; ++i) {
        const auto n = values[i];
        if (n < 1 || n > LOTTO_MAX || (seen >> n & 1u)) return false;
        seen |= std::uint64_t(1) << n;
    }
    return true;
}
} // namespace

bool ValidLotteryNumbers(const std::uint8_t* numbers, int count) {
    return AllValidAndDistinct(numbers, count);
}

bool ValidLotteryValues(const int* values, int count) {
    return AllValidAndDistinct(values, count);
}

std::string RefusedNumbersText(std::size_t count) {
    return "Пропущено строк с некорректными числами (вне 1..45 или повторяющимися): " +
           std::to_string(count);
}

namespace {

template <typename A, typename B> int CountEqualPairs(const A& a, const B& b) {
    int n = 0;
    for (int i = 0; i < LOTTO_COUNT; ++i)
        for (int j = 0; j < LOTTO_COUNT; ++j)
            n += a[i] == b[j];
    return n;
}

// Insertion sort: stable, in place; the arrays involved are small.
template <typename It, typename Less> void InsertionSort(It first, It last, Less less) {
    if (first == last)
        return;
    for (It i = first + 1; i != last; ++i) {
        auto v = *i;
        It j = i;
        while (j != first && less(v, *(j - 1))) {
            *j = *(j - 1);
            --j;
        }
        *j = v;
    }
}

int ClampedCount(const TNumberSet& set) {
    return std::clamp<int>(set.Count, 0, NUMBER_SET_CAPACITY);
}

} // namespace

int CountMatches(const TDrawData& draw, const TComb& comb) {
    return CountEqualPairs(draw.Nums, comb.N);
}
int CountMatches(const TDrawData& a, const TDrawData& b) {
    return CountEqualPairs(a.Nums, b.Nums);
}
int CountMatches(const TComb& a, const TComb& b) {
    return CountEqualPairs(a.N, b.N);
}

TNumberSet IntersectNumbers(const TDrawData& draw, const TNumberSet& set) {
    TNumberSet result;
    const int count = ClampedCount(set);
    for (int i = 0; i < LOTTO_COUNT; ++i)
        for (int j = 0; j < count && result.Count < NUMBER_SET_CAPACITY; ++j)
            if (set.Members[j] == draw.Nums[i])
                result.Members[result.Count++] = set.Members[j];
    SortNumberSet(result);
    return result;
}

bool SameNumberSets(const TNumberSet& a, const TNumberSet& b) {
    if (a.Count != b.Count)
        return false;
    const int ca = ClampedCount(a), cb = ClampedCount(b);
    for (int i = 0; i < ca; ++i)
        if (std::find(b.Members, b.Members + cb, a.Members[i]) == b.Members + cb)
            return false;
    return true;
}

bool DrawHasNumber(int number, const TDrawData& draw) {
    return std::find(draw.Nums, draw.Nums + LOTTO_COUNT, number) != draw.Nums + LOTTO_COUNT;
}

bool CombHasNumber(int number, const TComb& comb) {
    return std::find(comb.begin(), comb.end(), number) != comb.end();
}

bool DrawHasChannel(int channel, const TDrawData& draw, int width) {
    if (width <= 0)
        return false;
    for (const int n : draw.Nums)
        if ((n + width - 1) / width == channel)
            return true;
    return false;
}

bool DrawHasMappedValue(int value, const TDrawData& draw, const std::uint8_t* table45) {
    for (const int n : draw.Nums)
        if (n >= 1 && n <= LOTTO_MAX && table45[n - 1] == value)
            return true;
    return false;
}

bool ByteArrayHas(std::uint8_t value, const TByteArray& array) {
    return std::find(array.begin(), array.end(), value) != array.end();
}

void AddUniqueByte(std::uint8_t value, TByteArray& array) {
    if (!ByteArrayHas(value, array))
        array.push_back(value);
}

void AppendByte(std::uint8_t value, TByteArray& array) {
    array.push_back(value);
}

TComb DrawToComb(const TDrawData& draw) {
    TComb c;
    std::copy(draw.Nums, draw.Nums + LOTTO_COUNT, c.N);
    return c;
}

TNumberSet CombToNumberSet(const TComb& comb) {
    TNumberSet s;
    s.Count = LOTTO_COUNT;
    std::copy(comb.begin(), comb.end(), s.Members);
    return s;
}

TByteArray UniqueNumbers(const TComb* combs, std::size_t n) {
    TByteArray out;
    TByteSet seen;
    for (std::size_t i = 0; i < n && out.size() < LOTTO_MAX; ++i)
        for (const std::uint8_t v : combs[i]) {
            if (seen.Has(v))
                continue;
            seen.Add(v);
            out.push_back(v);
            if (out.size() == LOTTO_MAX)
                break;
        }
    return out;
}

int CountUniqueNumbers(const TComb* combs, std::size_t n) {
    return static_cast<int>(UniqueNumbers(combs, n).size());
}

int CountUniqueNumbers(const TCombList& list) {
    return CountUniqueNumbers(list.Data(), list.Count());
}

TNumberSet RandomUniqueNumbers(const TComb* combs, std::int64_t n, int limit) {
    TNumberSet result;
    if (n <= 0)
        return result;
    TByteArray numbers = UniqueNumbers(combs, static_cast<std::size_t>(n));
    limit = std::clamp(limit, 0, NUMBER_SET_CAPACITY);
    if (numbers.size() > static_cast<std::size_t>(limit)) {
        std::mt19937 rng(static_cast<unsigned>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count()));
        while (numbers.size() > static_cast<std::size_t>(limit)) {
            std::uniform_int_distribution<std::size_t> pick(0, numbers.size() - 1);
            numbers.erase(numbers.begin() + static_cast<std::ptrdiff_t>(pick(rng)));
        }
    }
    result.Count = static_cast<std::int32_t>(numbers.size());
    std::copy(numbers.begin(), numbers.end(), result.Members);
    return result;
}

void SortComb(TComb& comb) {
    InsertionSort(comb.begin(), comb.end(), std::less<>());
}

void SortDrawNumbers(TDrawData& draw) {
    InsertionSort(draw.Nums, draw.Nums + LOTTO_COUNT, std::less<>());
}

void SortNumberSet(TNumberSet& set) {
    InsertionSort(set.Members, set.Members + ClampedCount(set), std::less<>());
}

void SortIntsDesc(TIntArray& values) {
    InsertionSort(values.begin(), values.end(), std::greater<>());
}

void AddStatSimple(TStatSimpleArray& array, std::int32_t key, std::int32_t amount) {
    for (auto& e : array)
        if (e.Key == key) {
            if (amount > 0)
                e.Count += amount;
            return;
        }
    array.push_back({key, amount});
}

void SortStatSimple(TStatSimpleArray& array) {
    std::stable_sort(array.begin(), array.end(),
                     [](const TStatSimple& a, const TStatSimple& b) { return a.Key < b.Key; });
}

TShemaItem StatDrawToShema(const TStatDraw& item) {
    return {item.Key, item.Count};
}

TStatDraw ShemaToStatDraw(const TShemaItem& item) {
    TStatDraw d;
    d.Key = item.Key;
    d.Count = item.Count;
    return d;
}

void AddProfitDraw(TProfitDrawArray& array, std::int32_t drawNumber, TMoney amount) {
    for (auto& e : array)
        if (e.DrawNumber == drawNumber) {
            e.Amount += amount;
            return;
        }
    array.push_back({drawNumber, amount});
}

TStatDrawSummary SummarizeStatDraws(const TStatDrawArray& items) {
    TStatDrawSummary s;
    for (const auto& item : items) {
        s.MinCount = std::min(s.MinCount, item.Count);
        s.MaxCount = std::max(s.MaxCount, item.Count);
        s.Total += item.Count;
        if (s.MaxAge == 0)
            s.MaxAge = item.LastAge;
        else if (item.LastAge > 0 && item.LastAge > s.MaxAge)
            s.MaxAge = item.LastAge;
    }
    return s;
}

} // namespace pelko
