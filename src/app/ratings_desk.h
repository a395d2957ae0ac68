#pragma once
// The rating: one row per stake comment, fed by every stake check, kept sorted as the
// person last asked and saved at every change; the result graphs of its rows. Part of the
// stakes desk, which owns it and feeds it the stakes it settles.

#include "stakes/ratings.h"
#include "stakes/result_graphs.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pelko {

class TStakesDesk;
struct TStakesOptions;
class Workspace;

class TRatingsDesk {
  public:
    TRatingsDesk(Workspace& ws, TStakesDesk& stakes, TStakesOptions& options);

    // Told after every change of the rows (the tab repaints).
    std::function<void()> OnChanged;

    const TRatings& Rows() const { return ratings_; }
    bool LoadFailed() const { return loadFailed_; }
    void Load();
    // A stake the check settled joins its row.
    void AddStake(const TStakeData& stake) { ratings_.AddStake(stake); }
    // After a check that settled stakes: sorted again and saved (in a batch, at most once
    // a second).
    void StakesSettled();

    // RatingsRefresh: rebuild from the stakes file (asks first when the rating is not empty).
    bool Refresh();
    // RatingsOwnerSort: sort by the column and save; remembers the column and direction.
    void Sort(int column, bool descending);
    bool ExportCsv(const std::filesystem::path& file, char decimalPoint);
    // RatingsToScript: each row's scenario line goes to addLine, which adds it and returns
    // true, or returns false when the scenario cannot take it (then the error box).
    // Returns how many lines were added.
    int ToScript(const std::vector<std::size_t>& rows,
                 const std::function<bool(const std::string&)>& addLine);

    // A scenario run checks after every line or variant: between BeginBatch and EndBatch
    // the ratings file is written at most once a second (each write waits for the disk),
    // and EndBatch writes what is still pending.
    void BeginBatch();
    void EndBatch();

    // ------------------------------------------------------------ graphs
    std::optional<TGraphData> GraphProfitPerDraw();
    std::optional<TGraphData> GraphRowsPerDraw(const std::vector<std::size_t>& rows, bool profits);
    TGraphData GraphRowsDistribution(const std::vector<std::size_t>& rows) const;

  private:
    bool Save();
    // Saves now, or marks the ratings for the end of the batch.
    void SaveInBatch();
    void Changed();
    std::filesystem::path Path() const;

    Workspace& ws_;
    TStakesDesk& stakes_;
    TStakesOptions& options_;
    TRatings ratings_;
    bool loadFailed_ = false;
    bool batch_ = false;
    bool pending_ = false;
    std::chrono::steady_clock::time_point saved_{};
};

} // namespace pelko
