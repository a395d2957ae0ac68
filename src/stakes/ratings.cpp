#include "stakes/ratings.h"

#include "stakes/comment_key.h"

#include <algorithm>
#include <cmath>

namespace pelko {

namespace {

int Sign(double v) {
    return v < 0 ? -1 : v > 0 ? 1 : 0;
}

// Differences of large counts and amounts do not fit an int; only the sign matters.
int RoundedSign(double v) {
    return Sign(std::round(v));
}

} // namespace

int CompareRatings(const TRatingData& a, const TRatingData& b, int column) {
    if (a.Stakes == 0 || b.Stakes == 0) return 0;
    const double sa = a.Stakes, sb = b.Stakes;
    switch (column) {
    case rcComment: {
        const std::string ca = a.CommentText(), cb = b.CommentText();
        return ca < cb ? -1 : ca > cb ? 1 : 0;
    }
    case rcStakes:
        return Sign(sa - sb);
    case rcMatched:
        return Sign(static_cast<double>(a.Matched) - static_cast<double>(b.Matched));
    case rcAverage:
        return RoundedSign(100.0 * (a.Matched / sa - b.Matched / sb));
    case rcProfit:
        return RoundedSign((static_cast<double>(a.Profit) - static_cast<double>(b.Profit)) / 100.0);
    case rcAvgProfit:
        return RoundedSign((a.Profit / sa - b.Profit / sb) / 100.0);
    default:
        if (column >= rcHits0 && column < rcExpected0)
            return Sign(static_cast<double>(a.Hits[column - rcHits0]) -
                        static_cast<double>(b.Hits[column - rcHits0]));
        return 0;
    }
}

void TRatings::Assign(TRatingsArray rows) {
    rows_ = std::move(rows);
    indexValid_ = false;
}

void TRatings::Clear() {
    rows_.clear();
    indexValid_ = false;
}

void TRatings::RebuildIndex() {
    std::size_t size = 1024;
    while (size < 2 * rows_.size() + 2)
        size *= 2;
    slots_.assign(size, 0);
    hashes_.resize(rows_.size());
    indexValid_ = true;
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        const std::uint64_t h = FoldedCommentHash(rows_[i].RawComment());
        hashes_[i] = h;
        if (FindRow(rows_[i].RawComment(), h) == rows_.size()) // the first of equals stays
            IndexRow(i, h);
    }
}

std::size_t TRatings::FindRow(std::string_view rawComment, std::uint64_t hash) {
    if (!indexValid_) RebuildIndex();
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t s = hash & mask;; s = (s + 1) & mask) {
        const std::uint32_t slot = slots_[s];
        if (slot == 0) return rows_.size();
        const std::size_t row = slot - 1;
        if (hashes_[row] == hash && SameCommentIgnoringCase(rows_[row].RawComment(), rawComment))
            return row;
    }
}

void TRatings::IndexRow(std::size_t row, std::uint64_t hash) {
    if (2 * (row + 1) > slots_.size()) { // keep the table at most half full
        RebuildIndex();
        return;
    }
    const std::size_t mask = slots_.size() - 1;
    std::size_t s = hash & mask;
    while (slots_[s] != 0)
        s = (s + 1) & mask;
    slots_[s] = static_cast<std::uint32_t>(row + 1);
}

void TRatings::AddStake(const TStakeData& stake) {
    const std::int32_t m = stake.MatchCount();
    if (m < 0 || m > LOTTO_COUNT) return;
    // Stakes come in runs of one source: try the row of the previous stake first.
    std::size_t i = rows_.size();
    std::uint64_t hash = 0;
    if (indexValid_ && lastRow_ < rows_.size() &&
        SameCommentIgnoringCase(rows_[lastRow_].RawComment(), stake.RawComment())) {
        i = lastRow_;
    } else {
        hash = FoldedCommentHash(stake.RawComment());
        i = FindRow(stake.RawComment(), hash);
    }
    if (i < rows_.size()) {
        lastRow_ = i;
        TRatingData& row = rows_[i];
        row.Stakes += 1;
        row.Matched += static_cast<std::uint32_t>(m);
        row.Profit += stake.Profit;
        row.Hits[m] += 1;
        return;
    }
    TRatingData row;
    row.SetRawComment(stake.RawComment());
    row.Stakes = 1;
    row.Matched = static_cast<std::uint32_t>(m);
    row.Profit = stake.Profit;
    row.Hits[m] = 1;
    rows_.push_back(row);
    hashes_.push_back(hash);
    lastRow_ = rows_.size() - 1;
    IndexRow(lastRow_, hash);
}

void TRatings::Sort(int column, bool descending) {
    if (column < 0 || rows_.size() < 2) return;
    if (column == rcComment) {
        SortByComment(descending);
    } else {
        std::stable_sort(rows_.begin(), rows_.end(),
                         [&](const TRatingData& a, const TRatingData& b) {
                             const int c = CompareRatings(a, b, column);
                             return descending ? c > 0 : c < 0;
                         });
    }
    indexValid_ = false;
}

// The comments decoded once each rather than twice per comparison (100,000 rows make
// about two million comparisons); the order is CompareRatings' own.
void TRatings::SortByComment(bool descending) {
    std::vector<std::string> keys(rows_.size());
    for (std::size_t i = 0; i < rows_.size(); ++i) keys[i] = rows_[i].CommentText();
    std::vector<std::size_t> order(rows_.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (rows_[a].Stakes == 0 || rows_[b].Stakes == 0) return false;
        const int c = keys[a].compare(keys[b]);
        return descending ? c > 0 : c < 0;
    });
    TRatingsArray sorted;
    sorted.reserve(rows_.size());
    for (const std::size_t i : order) sorted.push_back(rows_[i]);
    rows_ = std::move(sorted);
}

} // namespace pelko
