#include "stakes/result_graphs.h"

#include "core/codec.h"
#include "core/format.h"
#include "stakes/comment_key.h"
#include "stakes/rating_view.h"
#include "stakes/stake_search.h"

#include <stdexcept>
#include <unordered_map>
#include <unordered_set>

namespace pelko {

namespace {

constexpr std::uint32_t GREEN = 0x008000, BLUE = 0x0000FF, RED = 0xFF0000, GREY = 0x808080;

std::string NumberLabel(double x) {
    return Format("%g", x);
}

TGraphData StakesGraphPerDraw(TStakesFile& file, const std::vector<std::string>& captions,
                              bool profits, const char* caption) {
    if (captions.empty()) throw std::runtime_error(GRAPH_TOO_FEW_DRAWS_MESSAGE);
    const TRecentDraws recent = SeekRecentDraws(file, 100);
    if (recent.Groups < 2) throw std::runtime_error(GRAPH_TOO_FEW_DRAWS_MESSAGE);
    std::unordered_set<std::string> wanted;
    for (const std::string& c : captions)
        wanted.insert(FoldComment(Utf8ToCp1251(c)));
    TGraphData graph;
    graph.Caption = caption;
    std::string key;
    ForEachStakeRecord(file, recent.Start, [&](std::int64_t, const char* raw) {
        const TStakeData s = DecodeStakeRecord(raw);
        if (!s.IsChecked() || s.DrawNumber <= 0 || s.MatchCount() < 0 || !IsValidStakeRecord(s))
            return true;
        FoldCommentInto(s.RawComment(), key);
        if (!wanted.count(key)) return true;
        const double y = profits ? MoneyToDouble(s.Profit) : s.MatchCount();
        graph.AddPoint(s.DrawNumber, s.CommentText(), y, true, true, 0);
        return true;
    });
    return graph;
}

} // namespace

void TGraphData::AddPoint(double x, const std::string& title, double y, bool pointer, bool marks,
                          std::uint32_t color) {
    const std::string key = FoldComment(Utf8ToCp1251(title));
    TGraphSeries* series = nullptr;
    for (TGraphSeries& s : Series)
        if (FoldComment(Utf8ToCp1251(s.Title)) == key) {
            series = &s;
            break;
        }
    if (!series) {
        Series.push_back({title, pointer, marks, color, {}});
        series = &Series.back();
    }
    series->Points.push_back({x, y, NumberLabel(x)});
}

TGraphData StakesGraphDraws(TStakesFile& file) {
    // Draws in the order they first occur; the map only finds them fast.
    std::vector<std::pair<std::int32_t, TMoney>> sums;
    std::unordered_map<std::int32_t, std::size_t> where;
    ForEachStakeRecord(file, 0, [&](std::int64_t, const char* raw) {
        const TStakeData s = DecodeStakeRecord(raw);
        if (s.DrawNumber < 0 || !IsValidStakeRecord(s)) return true;
        const auto [it, added] = where.emplace(s.DrawNumber, sums.size());
        if (added) sums.push_back({s.DrawNumber, 0});
        sums[it->second].second += s.Profit;
        return true;
    });
    if (sums.empty()) throw std::runtime_error(GRAPH_TOO_FEW_DRAWS_MESSAGE);
    double total = 0;
    for (const auto& e : sums)
        total += MoneyToDouble(e.second);
    const double average = total / static_cast<double>(sums.size());
    TGraphData graph;
    graph.Caption = "График суммарного профита ставок по тиражам";
    double running = 0;
    for (const auto& [draw, sum] : sums) {
        running += MoneyToDouble(sum);
        graph.AddPoint(draw, "Суммарный профит ставок по тиражу", MoneyToDouble(sum), true, true,
                       GREEN);
        graph.AddPoint(draw, "Среднее значение", average, false, false, BLUE);
        graph.AddPoint(draw, "Накопленное значение", running, true, true, RED);
    }
    return graph;
}

TGraphData StakesGraphOverlap(TStakesFile& file, const std::vector<std::string>& captions) {
    return StakesGraphPerDraw(file, captions, false,
                              "График количества совпадений для всех ставок по тиражам");
}

TGraphData StakesGraphProfits(TStakesFile& file, const std::vector<std::string>& captions) {
    return StakesGraphPerDraw(file, captions, true, "График профита для всех ставок по тиражам");
}

TGraphData RatingsGraphOverlap(const std::vector<TRatingData>& rows) {
    std::uint32_t most = 0;
    for (const TRatingData& row : rows)
        most = std::max(most, row.Stakes);
    TGraphData graph;
    graph.Caption = "График количества совпадений для выделенных строк рейтинга";
    const TExpectedMatches& e = ExpectedMatches();
    const double total = static_cast<double>(COMBS_TOTAL);
    for (int i = 0; i <= LOTTO_COUNT; ++i)
        graph.AddPoint(i, "Нормальные значения", static_cast<double>(e.Combs[i]) * most / total,
                       true, false, GREY);
    for (const TRatingData& row : rows)
        for (int i = 0; i <= LOTTO_COUNT; ++i)
            graph.AddPoint(i, row.CommentText(), row.Hits[i], true, false, 0);
    return graph;
}

} // namespace pelko
