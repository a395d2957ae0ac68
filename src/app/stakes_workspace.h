#pragma once
// The stakes desk: the workspace's stakes file (open and locked for the workspace's whole
// life), ratings, regular stakes, stake logs and system play, with the operations the
// stakes, rating, regulars and systems tabs run. Every operation reports through the Host
// (boxes, questions, status text and per-cent progress) and brackets itself with the busy
// state; the dialogs stay in the front end, which passes their results in.

#include "app/busy_state.h"
#include "app/host.h"
#include "core/comb_list.h"
#include "core/comb_selection.h"
#include "core/lottery.h"
#include "stakes/ratings.h"
#include "stakes/regular_stakes.h"
#include "stakes/result_graphs.h"
#include "stakes/stake_log.h"
#include "stakes/stake_record.h"
#include "stakes/stakes_file.h"
#include "stakes/systems.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pelko {

class Workspace;

// The start-up message when the data files cannot be had exclusively (a second workspace
// on the same data folder, or no right to write there); the program ends after it.
std::string ExclusiveAccessMessage();

// Options of the stakes tabs (window-settings keys in brackets); the front end loads and
// stores them.
struct TStakesOptions {
    bool LogEnabled = false;    // "StakesLogEnabled"
    bool ScrollEnabled = true;  // "StakesScrollEnabled"
    bool CheckOnLine = true;    // "StakesCheckOnLine"
    int EffMode = 1;            // "RatingsEffMode"
    int SortColumn = rcAverage; // "lvRatings.SortType"
    bool SortDescending = true;
    bool TablesVisible = true; // "TabTables"
};

// What system play found for the current list, ready for the multi-stake dialog.
struct TSystemPlay {
    bool WholeSystem = true;
    TByteArray Numbers;
    TSystemLookup Lookup;
    std::string DefaultComment;
};

class TStakesDesk {
  public:
    explicit TStakesDesk(Workspace& ws);
    ~TStakesDesk();
    TStakesDesk(const TStakesDesk&) = delete;
    TStakesDesk& operator=(const TStakesDesk&) = delete;

    // Start-up, after the parameters and before the archive's dependent work: opens the
    // stakes file exclusively (an outdated or damaged file is emptied after a warning),
    // loads the ratings (sorted and saved) and, when their tab is visible, the regulars.
    // False after the boxes "Ошибка чтения файла ставок!" (with the reason) and
    // ExclusiveAccessMessage(): the program must end.
    bool Start();
    // Shut-down: closes the stakes file. Ratings and regulars were saved at every change.
    void Shutdown();

    TStakesOptions Options;

    // Told when the grid should follow the file: refresh (repaint) and scroll (to the last
    // row); the grid reads the count and the rows on demand.
    std::function<void(bool refresh, bool scroll)> OnStakesChanged;
    std::function<void()> OnRatingsChanged;
    std::function<void()> OnTablesChanged;

    // ------------------------------------------------------------ stakes file
    TStakesFile& File() { return file_; }
    bool IsOpen() const { return file_.IsOpen(); }
    std::int64_t StakesCount();
    // The record of a grid row (row - 1); a zero-filled record (an empty row) when it
    // cannot be read.
    TStakeData StakeAt(std::int64_t index);

    // ------------------------------------------------------------ making
    // The number following the last draw visible to the analysis.
    std::int32_t NextDrawNumber() const;
    // The defaults of the stake dialog for a list of this size.
    TStakeData NewStake(std::size_t sampleSize) const;
    // The defaults with the numbers of a random combination of the list; none when empty.
    std::optional<TStakeData> NewRandomStake(const TCombList& list) const;
    // Prices the stake by its numbers (after the stake dialog).
    void PriceStake(TStakeData& stake) const;
    // AddStake: "Создание ставки...", append the stake (or series), check, scroll the grid.
    bool AddStake(const TStakeData& stake, int drawsCount);
    // AddStakeInBatch: append without checking; the caller checks at the end.
    bool AddStakeInBatch(const TStakeData& stake, int drawsCount, bool bulk);
    // StakeAddSelected / StakeAddAll after the multi-stake dialog: a stake per selected
    // (or, with no selection given, every) combination of the list, then one check.
    bool AddStakesForCombs(const TCombList& list, const TCombSelection* selection,
                           std::int32_t drawNumber, const std::string& comment, int drawsCount);
    void StartStakesGroup();
    // The end of a run's group: the separator StartStakesGroup appended is removed again
    // when nothing followed it.
    void EndStakesGroup();
    bool FindStake(std::int32_t drawNumber, const TNumberSet& numbers);
    // A scenario line that clears the stakes first: the file is emptied without a
    // question and the ratings are left alone. False after the error box.
    bool EmptyStakesFile();
    // Tells the grid to follow the file.
    void RefreshStakesGrid(bool scroll) { StakesChanged(true, scroll); }

    // ------------------------------------------------------------ deleting
    // StakeDel: grid rows first..last (1-based), after the question.
    bool DeleteStakeRows(std::int64_t firstRow, std::int64_t lastRow);
    // StakeFilter after its dialog.
    bool DeleteStakesByCondition(int condition, int value);
    // StakeClear: after the question, empties the file, then offers the ratings rebuild.
    bool ClearStakes();
    // LogStakesDelete.
    bool DeleteStakeLogs();

    // ------------------------------------------------------------ checking
    // CheckStakesAndSave: returns how many stakes were settled; the ratings are sorted and
    // saved when any was.
    std::int64_t CheckStakesAndSave();
    // A scenario run checks after every line or variant: between BeginRatingsBatch and
    // EndRatingsBatch the ratings file is written at most once a second (each write waits
    // for the disk), and EndRatingsBatch writes what is still pending.
    void BeginRatingsBatch();
    void EndRatingsBatch();

    // ------------------------------------------------------------ ratings
    const TRatings& Ratings() const { return ratings_; }
    // RatingsRefresh: rebuild from the stakes file (asks first when the rating is not empty).
    bool RatingsRefresh();
    // RatingsOwnerSort: sort by the column and save; remembers the column and direction.
    void RatingsSort(int column, bool descending);
    bool ExportRatingsCsv(const std::filesystem::path& file, char decimalPoint);
    // RatingsToScript: each row's scenario line goes to addLine, which adds it and returns
    // true, or returns false when the scenario cannot take it (then the error box).
    // Returns how many lines were added.
    int RatingsToScript(const std::vector<std::size_t>& rows,
                        const std::function<bool(const std::string&)>& addLine);

    // ------------------------------------------------------------ graphs
    std::optional<TGraphData> GraphProfitPerDraw();
    std::optional<TGraphData> GraphRowsPerDraw(const std::vector<std::size_t>& rows, bool profits);
    TGraphData GraphRowsDistribution(const std::vector<std::size_t>& rows) const;

    // ------------------------------------------------------------ regular stakes
    const TTablesArray& Tables() const { return tables_; }
    void LoadTables();
    bool SaveTables();
    // TabTables: shows (loads) or hides (empties) the regulars.
    void SetTablesVisible(bool visible);
    // TablesAdd after its dialog; `selected` holds 1-based list positions.
    bool AddTables(const TTableDialogInput& input,
                   const std::vector<std::pair<std::size_t, TComb>>& selected);
    // TablesDel after the question.
    bool DeleteTables(std::vector<std::size_t> indices);
    // TablesStakeAdd, step 1-2: the rule advanced (a copy) and its stake for the dialog.
    std::optional<std::pair<TTableData, TStakeData>>
    PrepareTableStake(std::size_t index, std::size_t sampleSize) const;
    // Step 3 on OK: the advanced rule replaces the old one, then the stake is added.
    bool CommitTableStake(std::size_t index, const TTableData& advanced, const TStakeData& stake,
                          int drawsCount);
    // TablesStakeTest: the selected rules over the last n draws.
    bool TestTables(const std::vector<std::size_t>& indices, int n, std::size_t sampleSize);

    // ------------------------------------------------------------ systems
    std::filesystem::path SystemsFolder() const;
    // Step 1 of system play: the list's numbers and their system; none after the error box.
    std::optional<TSystemPlay> FindSystemForList(const TCombList& list, bool wholeSystem);
    // Steps 3-5 after the multi-stake dialog.
    bool PlaySystem(const TSystemPlay& play, const TCombList& list, std::int32_t drawNumber,
                    const std::string& comment, int drawsCount);

    // Whether the stakes file may be written (false after the box: read only, or its
    // start-up inspection failed or was declined).
    bool MayWriteStakes();

  private:
    void LoadStakes();
    bool InspectStakesFile();
    bool MayCheckStakes();
    void LoadRatings();
    bool SaveRatings();
    // Saves now, or marks the ratings for the end of the batch.
    void SaveRatingsInBatch();
    void ShowFailure(const std::string& message, const std::exception& e);
    void StakesChanged(bool refresh, bool scroll);
    void ReportBulkProgress(std::size_t done, std::size_t total, std::size_t& nextReport);
    std::filesystem::path RatingsPath() const;
    std::filesystem::path TablesPath() const;

    Workspace& ws_;
    TStakesFile file_;
    TRatings ratings_;
    TTablesArray tables_;
    TStakeLog log_;
    bool stakesLoadFailed_ = false;
    bool ratingsLoadFailed_ = false;
    bool tablesLoadFailed_ = false;
    std::int64_t damagedReported_ = 0;
    std::optional<std::int64_t> groupStart_;
    bool ratingsBatch_ = false;
    bool ratingsPending_ = false;
    std::chrono::steady_clock::time_point ratingsSaved_{};
};

} // namespace pelko
