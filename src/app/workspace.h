#pragma once
// The workspace: all program-wide state (the draw archive and the draw offset, the lottery
// parameters, the combination lists, later the statistics, stakes and scenarios) and the
// operations on it. The window and the command line are thin front ends over it; every
// operation talks to the person only through the Host.

#include "app/busy_state.h"
#include "app/comb_lists.h"
#include "app/host.h"
#include "core/config.h"
#include "core/lottery.h"
#include "online/online_settings.h"
#include "online/proxy.h"
#include "stats/prefetch_files.h"
#include "stats/stat_list.h"
#include "stats/stat_table.h"

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace pelko {

struct TNumbersPick;
class TStakesDesk;
class TScriptDesk;
class TDataFolderLock;
class TIniFile;

// A workspace that only reads (a command that lists or prints) takes no lock, creates,
// repairs and saves nothing; every save path refuses.
enum class TDataAccess { Write, ReadOnly };

inline constexpr const char* READ_ONLY_MESSAGE =
    "Данные открыты только для чтения - изменения не сохраняются!";
inline constexpr const char* NOT_LOADED_MESSAGE =
    "Файл не был прочитан - изменения не сохраняются, чтобы не испортить его!";
inline constexpr const char* DRAWS_NOT_LOADED_MESSAGE =
    "Файл тиражей не был прочитан - изменения архива не сохраняются, чтобы не испортить файл!";

class Workspace {
public:
    Workspace(Host& host, std::filesystem::path dataFolder,
              TDataAccess access = TDataAccess::Write);
    ~Workspace();
    Workspace(const Workspace&) = delete;
    Workspace& operator=(const Workspace&) = delete;

    // Start-up in the window's order, each step public so the window can run them apart
    // (parameters at window creation, the rest a timer tick later): LoadParameters, then
    // (when asked) StartStakes, LoadDraws and (unless told not to) GenerateStartupCombs.
    // False when the stakes file could not be had exclusively (nothing after it ran).
    bool Open(bool withCombinations = true, bool withStakes = false);
    // The lottery parameters, the statistic method list and its names file.
    void LoadParameters();

    bool ReadOnly() const { return access_ == TDataAccess::ReadOnly; }
    // Takes the data folder's lock for the workspace's life, waiting up to `wait`, then
    // removes the temporary files a killed save left behind. False after the error box
    // (another program holds the folder). A read-only workspace takes no lock.
    // `addendum` follows the refusal's text in its box.
    bool LockDataFolder(std::chrono::milliseconds wait, const std::string& addendum = {});
    bool HoldsDataFolderLock() const { return lock_ != nullptr; }

    Host& GetHost() { return host_; }
    TBusyState& Busy() { return busy_; }
    bool IsIdle() const { return busy_.IsIdle(); }
    const std::filesystem::path& DataFolder() const { return dataFolder_; }
    std::filesystem::path DataFile(const std::string& name) const { return dataFolder_ / name; }
    std::filesystem::path IniFile() const;

    // --- lottery parameters (kept by the statistic registry) ---
    const TConfigData& Config() const { return stats_.Config; }
    const TShreddingFormulas& Shredding() const { return stats_.Shredding; }
    const TGenerateParams& GenerateParams() const { return stats_.Generate; }
    void LoadConfig();
    // Replaces the parameters and writes them; false (after the error box) on failure.
    bool SaveConfig(const TConfigData& config);
    bool SaveGenerateParams(const TGenerateParams& params);
    // The parameters dialog accepted: store and write them, rebuild the method list, remake
    // (comparison on) or delete (off) the prefetch files of the groups whose parameters
    // changed and refresh the views.
    void ApplyConfig(const TConfigData& config);
    // The shredding formulas dialog accepted: store and write them, rebuild the method list
    // (captions show the formulas), then remake or delete the group-12 prefetch files as
    // ApplyConfig does.
    void ApplyShredding(const TShreddingFormulas& formulas);

    // --- online: the proxy settings and the services' addresses (data ini file) ---
    TProxy& Proxy() { return proxy_; }
    const TOnlineSettings& Online() const { return online_; }
    // Write section "PROXY" (with the status texts when asked) or "ONLINE"; false after
    // the error box.
    bool SaveProxySettings(bool showStatus);
    bool SaveOnlineSettings(const TOnlineSettings& settings);

    // --- statistics ---
    TStatList& Stats() { return stats_; }
    const TStatList& Stats() const { return stats_; }
    TPrefetchFiles& Prefetch() { return prefetch_; }
    TStatTable& StatTable() { return statTable_; }
    const TStatTable& StatTable() const { return statTable_; }
    std::filesystem::path NamesFile() const;
    // The table's method (registry index, -1 none), N, and the two table options.
    int StatMethod = -1;
    int DrawsStatLen = 1000;
    bool PrefetchsEnabled = false;
    bool ShowTotalLine = true;
    // Recomputes the statistics table (see TStatTable::ComputeStatTable for the cache).
    bool ComputeStatTable(bool force);
    // Keeps (or drops) the combinations holding a value of the selection: the undo copy is
    // taken first, the pass runs, the history row is added. `operation` is the method's
    // name as the list shows it, `values` the selected captions.
    void FilterBySelection(TCustomStat& stat, const TStatDrawArray& selection, bool exclude,
                           const std::string& operation, const std::string& values);
    // "Оставить выделенные" / "Удалить выделенные" of the statistics table.
    bool StatFilterFromTable(bool exclude);
    // The same for the numbers picked in one of the analysis views: keeps (or drops) the
    // combinations holding any of them, through "NUMS". An empty pick is the error box
    // "В выделенном диапазоне нет значений для фильтра!" after the undo copy was taken.
    bool NumbersFilter(const TNumbersPick& pick, bool exclude, const std::string& operation);
    // Every missing prefetch file (or all of them, or those of some groups, with force).
    TPrefetchBatchResult CreateAllPrefetchs(bool force, TStatGroups rebuildGroups);

    // --- combination list, undo copy, applied-filters history, buffer ---
    TCombLists& Combs() { return combs_; }
    const TCombLists& Combs() const { return combs_; }
    // Reserves the lists for every combination and generates the list from the saved
    // parameters, as at start-up.
    void GenerateStartupCombs();

    // --- stakes, ratings, regular stakes, systems ---
    TStakesDesk& Stakes() { return *stakes_; }
    // Opens and locks the stakes file and loads the ratings, once; false (after the
    // messages, the exclusive-access one included) when another program holds the folder.
    bool StartStakes();
    bool StakesStarted() const { return stakesStarted_; }

    // --- scenario (the working scenario file and the run log) ---
    TScriptDesk& Script() { return *script_; }

    // --- draw archive ---
    const TDrawsArray& Draws() const { return draws_; }
    // Loads the archive; until a load succeeds the archive is not saved (an archive read
    // in part would overwrite the file with what was read).
    void LoadDraws();
    bool DrawsLoadFailed() const { return drawsLoadFailed_; }
    // False after the error box when the archive may not be changed (read only, or its
    // load failed); every change checks it first.
    bool MayChangeDraws();
    // The same for a file whose load state is given: false after the box when read only
    // or when its load failed.
    bool MaySave(bool loadFailed, const char* refusal = NOT_LOADED_MESSAGE);
    bool ConfigLoadFailed() const { return configLoadFailed_; }
    bool SaveDraws();
    // Appends a draw and saves; false (the archive as it was) when refused or not saved.
    bool AddDraw(const TDrawData& draw);
    // The same for several draws at once (a chunk of a download), one save.
    bool AppendDraws(const std::vector<TDrawData>& draws);
    // Writes an edited record back in place; false when the index is outside the archive.
    bool ReplaceDraw(int index, const TDrawData& draw);
    // Deletes the draws with these numbers (list order, newest first as the list shows
    // them), asking first; false when the person declined or a number was not found.
    bool DeleteDraws(const std::vector<std::int32_t>& numbers);
    // Imports a draw CSV file; returns the number of draws added once they are saved, or -1
    // on failure (the archive as it was). Lines with impossible numbers are refused and
    // counted in a remark.
    int ImportDrawsCsv(const std::filesystem::path& file);
    bool ExportDrawsCsv(const std::filesystem::path& file);

    int DrawsOffset() const { return drawsOffset_; }
    void ChangeDrawsOffset(int k);
    // Archive index of the analysis point (last index - offset), -1 for an empty archive.
    int AnalysisIndex() const;
    bool SortedDraws() const { return sortedDraws_; }
    void SetSortedDraws(bool sorted);

    // The views: set by the front end; called after changes as the window refreshes.
    std::function<void()> OnDrawsViewChanged;
    std::function<void()> OnRefreshViews;
    void RefreshViews();

    // Refills the method list: saves the names file, rebuilds, selects all, reloads the
    // names (favourites and captions survive the rebuild). Keeps StatMethod when in range.
    void RebuildMethods();

private:
    void LoadNames();
    // Reads the data ini file, lets `write` change it and saves it; false after the box.
    bool WriteIniSections(const std::function<void(TIniFile&)>& write);
    void ReportDrawsLoad(std::size_t refused);
    void ShowFailure(const std::string& message, const std::exception& e);
    void DrawsViewChanged();

    Host& host_;
    TDataAccess access_;
    std::unique_ptr<TDataFolderLock> lock_;
    bool drawsLoadFailed_ = false;
    bool configLoadFailed_ = false;
    bool namesLoadFailed_ = false;
    TBusyState busy_;
    std::filesystem::path dataFolder_;
    TDrawsArray draws_;
    TCombLists combs_;
    TStatList stats_;
    TPrefetchFiles prefetch_;
    TStatTable statTable_;
    TProxy proxy_;
    TOnlineSettings online_;
    std::unique_ptr<TStakesDesk> stakes_;
    std::unique_ptr<TScriptDesk> script_;
    bool stakesStarted_ = false;
    int drawsOffset_ = 0;
    bool sortedDraws_ = false;
};

} // namespace pelko
