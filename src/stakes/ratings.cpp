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
    if (a.Stakes == 0 || b.Stakes == 0)
        return 0;
    const double sa = a.Stakes, sb = b.Stakes;
    switch (column) {
    case rcComment: {
        const std::string ca = a.CommentText(), cb = b.CommentText();
        return ca < cb ? -1 : ca > cb ? 1 : 0;
    }
    case rcStakes: return Sign(sa - sb);
    case rcMatched: return Sign(static_cast<double>(a.Matched) - static_cast<double>(b.Matched));
    case rcAverage: return RoundedSign(100.0 * (a.Matched / sa - b.Matched / sb));
    case rcProfit: return RoundedSign((static_cast<double>(a.Profit) - static_cast<double>(b.Profit)) / 100.0);
    case rcAvgProfit: return RoundedSign((a.Profit / sa - b.Profit / sb) / 100.0);
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
    index_.clear();
    indexValid_ = true;
}

void TRatings::RebuildIndex() {
    index_.clear();
    index_.reserve(rows_.size() * 2);
    for (std::size_t i = 0; i < rows_.size(); ++i)
        index_.emplace(FoldComment(rows_[i].RawComment()), i); // keeps the first of equals
    indexValid_ = true;
}

std::size_t TRatings::FindRow(std::string_view rawComment) {
    if (!indexValid_)
        RebuildIndex();
    FoldCommentInto(rawComment, key_);
    const auto it = index_.find(key_);
    return it == index_.end() ? rows_.size() : it->second;
}

void TRatings::AddStake(const TStakeData& stake) {
    const std::int32_t m = stake.MatchCount();
    if (m < 0 || m > LOTTO_COUNT)
        return;
    const std::size_t i = FindRow(stake.RawComment());
    if (i < rows_.size()) {
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
    index_.emplace(key_, rows_.size() - 1);
}

void TRatings::Sort(int column, bool descending) {
    if (column < 0 || rows_.size() < 2)
        return;
    std::stable_sort(rows_.begin(), rows_.end(), [&](const TRatingData& a, const TRatingData& b) {
        const int c = CompareRatings(a, b, column);
        return descending ? c > 0 : c < 0;
    });
    indexValid_ = false;
}

} // namespace pelko
