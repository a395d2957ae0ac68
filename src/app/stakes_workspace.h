#pragma once
// The stakes desk: the workspace's stakes file (open and locked for the workspace's whole
// life), ratings, regular stakes, stake logs and system play, with the operations the
// stakes, rating, regulars and systems tabs run. Every operation reports through the Host
// (boxes, questions, status text and per-cent progress) and brackets itself with the busy
// state; the dialogs stay in the front end, which passes their results in.

#include "app/busy_state.h"
#include "app/host.h"
#include "app/ratings_desk.h"
#include "app/regulars_desk.h"
#include "app/systems_desk.h"
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

// "Удалить выделенную запись?", or the question for `count` records.
std::string DeleteQuestion(std::int64_t count);

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

    // ------------------------------------------------------------ by subject
    TRatingsDesk& Ratings() { return ratings_; }
    const TRatingsDesk& Ratings() const { return ratings_; }
    TRegularsDesk& Regulars() { return regulars_; }
    TSystemsDesk& Systems() { return systems_; }

    // Whether the stakes file may be written (false after the box: read only, or its
    // start-up inspection failed or was declined).
    bool MayWriteStakes();

  private:
    void LoadStakes();
    bool InspectStakesFile();
    bool MayCheckStakes();
    void ShowFailure(const std::string& message, const std::exception& e);
    void StakesChanged(bool refresh, bool scroll);
    void ReportBulkProgress(std::size_t done, std::size_t total, std::size_t& nextReport);

    Workspace& ws_;
    TStakesFile file_;
    TStakeLog log_;
    TRatingsDesk ratings_;
    TRegularsDesk regulars_;
    TSystemsDesk systems_;
    bool stakesLoadFailed_ = false;
    std::int64_t damagedReported_ = 0;
    std::optional<std::int64_t> groupStart_;
};

} // namespace pelko
