#pragma once
// The data of the result graphs: series of (x, y) points as the chart window draws them.
// Points are added by series title, found without regard to case or created on first use.

#include "stakes/rating_record.h"
#include "stakes/stakes_file.h"

#include <cstdint>
#include <string>
#include <vector>

namespace pelko {

inline constexpr const char* GRAPH_TOO_FEW_DRAWS_MESSAGE =
    "Для построения графиков необходимо, чтобы в выделенном диапазоне данных было более "
    "одного тиража!";

struct TGraphPoint {
    double X = 0;
    double Y = 0;
    std::string Label; // x as text
};

struct TGraphSeries {
    std::string Title;
    bool Pointer = true;
    bool Marks = true;
    std::uint32_t Color = 0; // 0xRRGGBB; 0 keeps the chart's automatic colour
    std::vector<TGraphPoint> Points;
};

struct TGraphData {
    std::string Caption;
    std::vector<TGraphSeries> Series;

    // AddGraphPoint: the point goes to the series with that title, created when missing.
    void AddPoint(double x, const std::string& title, double y, bool pointer, bool marks,
                  std::uint32_t color);
};

// Total profit of all stakes per draw (checked or not), with the average and running sum.
// Throws GRAPH_TOO_FEW_DRAWS_MESSAGE when there is no stake.
TGraphData StakesGraphDraws(TStakesFile& file);

// Match counts (or profits) per draw of the stakes whose comment is one of the captions,
// over the last 100 draw groups. Throws GRAPH_TOO_FEW_DRAWS_MESSAGE for no caption or
// fewer than two groups.
TGraphData StakesGraphOverlap(TStakesFile& file, const std::vector<std::string>& captions);
TGraphData StakesGraphProfits(TStakesFile& file, const std::vector<std::string>& captions);

// The match distribution of the rows against random play.
TGraphData RatingsGraphOverlap(const std::vector<TRatingData>& rows);

} // namespace pelko
