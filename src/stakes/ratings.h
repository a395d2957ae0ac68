#pragma once
// The rating: one row per stake comment, accumulated as stakes are checked, in display
// order. Rows are found by comment without regard to case in constant time, and when
// several rows share a comment (a file may hold such) the first of them in display order
// is the one that grows.

#include "stakes/rating_record.h"
#include "stakes/stake_record.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace pelko {

// Columns of the rating list.
enum TRatingColumn : int {
    rcComment = 0,
    rcStakes,
    rcMatched,
    rcAverage, // "Среднее", the default sort (descending)
    rcProfit,
    rcAvgProfit,
    rcHits0,                                 // "0".."6": 6..12
    rcExpected0 = rcHits0 + LOTTO_COUNT + 1, // "E0".."E6": 13..19
    rcColumnCount = rcExpected0 + LOTTO_COUNT + 1,
};

// The comparison of the sort: < 0, 0, > 0 for ascending order by the column. Rows without
// stakes compare equal to every row, averages that differ by less than half a hundredth
// are equal, and the efficiency columns compare everything equal.
int CompareRatings(const TRatingData& a, const TRatingData& b, int column);

class TRatings {
  public:
    const TRatingsArray& Rows() const { return rows_; }
    std::size_t Count() const { return rows_.size(); }
    bool Empty() const { return rows_.empty(); }
    const TRatingData& operator[](std::size_t i) const { return rows_[i]; }

    void Assign(TRatingsArray rows);
    void Clear();

    // AddStakeToRatings: a stake with a match count outside 0..6 (unchecked, or damaged)
    // is ignored; otherwise its row grows, or a row is appended for a new comment.
    void AddStake(const TStakeData& stake);

    // Sorts by the column (nothing for a negative column or fewer than two rows). The sort
    // is a merge sort: the comparison is not a strict order (see CompareRatings), which a
    // quicksort may walk off the array with.
    void Sort(int column, bool descending);

  private:
    void SortByComment(bool descending);
    // Index of the first row with the comment (ignoring case), or Count().
    std::size_t FindRow(std::string_view rawComment, std::uint64_t hash);
    void IndexRow(std::size_t row, std::uint64_t hash);
    void RebuildIndex();

    TRatingsArray rows_;
    // Open-addressing hash index: row + 1 per slot (0 = free), and each row's hash.
    std::vector<std::uint32_t> slots_;
    std::vector<std::uint64_t> hashes_;
    bool indexValid_ = false;
    std::size_t lastRow_ = 0; // the row the previous stake went to (first of its equals)
};

} // namespace pelko
