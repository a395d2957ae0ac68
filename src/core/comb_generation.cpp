#include "core/comb_generation.h"

#include "core/arithmetic.h"
#include "core/comb_files.h"
#include "core/text_forms.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace pelko {

namespace {

// The six bytes of an entry packed into one integer, first number in the lowest byte, so
// that an entry costs two stores instead of six.
inline std::uint64_t Pack(unsigned n, int position) {
    return static_cast<std::uint64_t>(n) << (8 * position);
}

inline void Put(TComb* out, std::uint64_t packed) {
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(out->N, &packed, LOTTO_COUNT);
    } else {
        for (int i = 0; i < LOTTO_COUNT; ++i)
            out->N[i] = static_cast<std::uint8_t>(packed >> (8 * i));
    }
}

// My numbers that are lottery numbers, ascending.
std::vector<std::uint8_t> LotteryNumbersIn(const TByteSet& set, bool member) {
    std::vector<std::uint8_t> numbers;
    for (int n = 1; n <= LOTTO_MAX; ++n)
        if (set.Has(static_cast<unsigned>(n)) == member)
            numbers.push_back(static_cast<std::uint8_t>(n));
    return numbers;
}

// Every six-number subset of the ascending numbers a[0..k) in lexicographic order.
TComb* WriteSubsets(const std::uint8_t* a, int k, TComb* out) {
    for (int i0 = 0; i0 <= k - 6; ++i0)
        for (int i1 = i0 + 1; i1 <= k - 5; ++i1)
            for (int i2 = i1 + 1; i2 <= k - 4; ++i2)
                for (int i3 = i2 + 1; i3 <= k - 3; ++i3) {
                    const std::uint64_t p4 =
                        Pack(a[i0], 0) | Pack(a[i1], 1) | Pack(a[i2], 2) | Pack(a[i3], 3);
                    for (int i4 = i3 + 1; i4 <= k - 2; ++i4) {
                        const std::uint64_t p5 = p4 | Pack(a[i4], 4);
                        for (int i5 = i4 + 1; i5 < k; ++i5)
                            Put(out++, p5 | Pack(a[i5], 5));
                    }
                }
    return out;
}

// The combinations of 1..45 holding at least one of my numbers, in lexicographic order.
// While the first five numbers hold none of mine, the sixth must be one of them.
TComb* WriteWithAnyOf(const TByteSet& mine, TComb* out) {
    const std::vector<std::uint8_t> minesUp = LotteryNumbersIn(mine, true);
    // firstMineAbove[e]: index in minesUp of the first of my numbers greater than e.
    int firstMineAbove[LOTTO_MAX + 1];
    for (int e = 0, j = 0; e <= LOTTO_MAX; ++e) {
        while (j < static_cast<int>(minesUp.size()) && minesUp[j] <= e)
            ++j;
        firstMineAbove[e] = j;
    }
    const int mineCount = static_cast<int>(minesUp.size());
    auto has = [&](int n) { return mine.Has(static_cast<unsigned>(n)) ? 1 : 0; };
    constexpr int M = LOTTO_MAX;
    for (int a = 1; a <= M - 5; ++a)
        for (int b = a + 1; b <= M - 4; ++b)
            for (int c = b + 1; c <= M - 3; ++c)
                for (int d = c + 1; d <= M - 2; ++d) {
                    const int hits4 = has(a) + has(b) + has(c) + has(d);
                    const std::uint64_t p4 = Pack(a, 0) | Pack(b, 1) | Pack(c, 2) | Pack(d, 3);
                    for (int e = d + 1; e <= M - 1; ++e) {
                        const std::uint64_t p5 = p4 | Pack(e, 4);
                        if (hits4 + has(e) > 0) {
                            for (int f = e + 1; f <= M; ++f)
                                Put(out++, p5 | Pack(f, 5));
                        } else {
                            for (int j = firstMineAbove[e]; j < mineCount; ++j)
                                Put(out++, p5 | Pack(minesUp[j], 5));
                        }
                    }
                }
    return out;
}

std::size_t SubsetsOf(std::size_t k) {
    return k < LOTTO_COUNT ? 0
                           : static_cast<std::size_t>(Binomial(static_cast<int>(k), LOTTO_COUNT));
}

} // namespace

TByteSet ParseMyNumbers(std::string_view parameters) {
    TByteSet set;
    for (const std::string& word : SplitWords(parameters, ",;")) {
        const int value = StrToIntDef(TrimText(word), 0);
        if (value >= 0 && value <= 255) set.Add(static_cast<unsigned>(value));
    }
    return set;
}

std::size_t CountGeneratedCombs(int mode, const TByteSet& mine) {
    const std::size_t inside = LotteryNumbersIn(mine, true).size();
    switch (mode) {
    case GEN_ANY_OF_MINE:
        return COMBS_TOTAL - SubsetsOf(LOTTO_MAX - inside);
    case GEN_ONLY_MINE:
        return SubsetsOf(inside);
    case GEN_NONE_OF_MINE:
        return SubsetsOf(LOTTO_MAX - inside);
    default:
        return COMBS_TOTAL;
    }
}

void GenerateCombList(TCombList& list, int mode, const TByteSet& mine) {
    const std::size_t count = CountGeneratedCombs(mode, mine);
    list.Clear();
    list.SetCount(count);
    TComb* out = list.Data();
    TComb* end = out;
    switch (mode) {
    case GEN_ANY_OF_MINE:
        end = WriteWithAnyOf(mine, out);
        break;
    case GEN_ONLY_MINE:
    case GEN_NONE_OF_MINE: {
        const std::vector<std::uint8_t> allowed = LotteryNumbersIn(mine, mode == GEN_ONLY_MINE);
        end = WriteSubsets(allowed.data(), static_cast<int>(allowed.size()), out);
        break;
    }
    default: {
        const std::vector<std::uint8_t> all = LotteryNumbersIn(TByteSet{}, false);
        end = WriteSubsets(all.data(), static_cast<int>(all.size()), out);
        break;
    }
    }
    // The counts above are exact; this only guards against a miscount.
    list.SetCount(static_cast<std::size_t>(end - out));
}

void GenerateCombs(TCombList& list, const TGenerateParams& params) {
    if (params.Mode == GEN_FROM_FILE) {
        LoadCombsFile(params.Parameters, list);
        return;
    }
    const TByteSet mine = params.Mode >= GEN_ANY_OF_MINE && params.Mode <= GEN_NONE_OF_MINE
                              ? ParseMyNumbers(params.Parameters)
                              : TByteSet{};
    GenerateCombList(list, params.Mode, mine);
}

} // namespace pelko
