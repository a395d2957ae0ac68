#pragma once
// Small record-level operations used everywhere: matching, membership, number lists and
// the insertion sorts of the lottery records.

#include "core/lottery.h"

#include <cstdint>
#include <string>

namespace pelko {

class TCombList;

// Numbers that every statistic, mask and table may index by: each in 1..45, none twice.
// Anything else read from a file, the clipboard or a page is refused, never stored.
bool ValidLotteryNumbers(const std::uint8_t* numbers, int count);
inline bool ValidComb(const TComb& comb) {
    return ValidLotteryNumbers(comb.N, LOTTO_COUNT);
}
inline bool ValidDrawNumbers(const TDrawData& draw) {
    return ValidLotteryNumbers(draw.Nums, LOTTO_COUNT);
}
// The same for numbers as written in a text (a word may say -1 or 300).
bool ValidLotteryValues(const int* values, int count);
// "Пропущено строк с некорректными числами (вне 1..45 или повторяющимися): %d"
std::string RefusedNumbersText(std::size_t count);

// Number of pairs (i, j) with a[i] == b[j]; the count of common numbers for distinct ones.
int CountMatches(const TDrawData& draw, const TComb& comb);
int CountMatches(const TDrawData& a, const TDrawData& b);
int CountMatches(const TComb& a, const TComb& b);

TNumberSet IntersectNumbers(const TDrawData& draw, const TNumberSet& set);
bool SameNumberSets(const TNumberSet& a, const TNumberSet& b);

bool DrawHasNumber(int number, const TDrawData& draw);
bool CombHasNumber(int number, const TComb& comb);
// Some number n of the draw lies in the channel ceil(n / width).
bool DrawHasChannel(int channel, const TDrawData& draw, int width);
// Some number n of the draw has table45[n - 1] == value (numbers outside 1..45 never match).
bool DrawHasMappedValue(int value, const TDrawData& draw, const std::uint8_t* table45);

bool ByteArrayHas(std::uint8_t value, const TByteArray& array);
void AddUniqueByte(std::uint8_t value, TByteArray& array);
void AppendByte(std::uint8_t value, TByteArray& array);

TComb DrawToComb(const TDrawData& draw);
TNumberSet CombToNumberSet(const TComb& comb);

// Distinct numbers among the first n entries; stops at 45.
int CountUniqueNumbers(const TComb* combs, std::size_t n);
int CountUniqueNumbers(const TCombList& list);
// The distinct numbers of the first n entries in first-seen order; stops at 45.
TByteArray UniqueNumbers(const TComb* combs, std::size_t n);
// The distinct numbers of the first n entries, thinned at random to `limit` (<= 16).
TNumberSet RandomUniqueNumbers(const TComb* combs, std::int64_t n, int limit);

void SortComb(TComb& comb);
void SortDrawNumbers(TDrawData& draw);
void SortNumberSet(TNumberSet& set);
void SortIntsDesc(TIntArray& values);

void AddStatSimple(TStatSimpleArray& array, std::int32_t key, std::int32_t amount);
void SortStatSimple(TStatSimpleArray& array);

TShemaItem StatDrawToShema(const TStatDraw& item);
TStatDraw ShemaToStatDraw(const TShemaItem& item);

void AddProfitDraw(TProfitDrawArray& array, std::int32_t drawNumber, TMoney amount);

struct TStatDrawSummary {
    std::int32_t MinCount = 2147483647;
    std::int32_t MaxCount = 0;
    std::int64_t Total = 0;
    std::int32_t MaxAge = 0;
};
TStatDrawSummary SummarizeStatDraws(const TStatDrawArray& items);

} // namespace pelko
