#pragma once
// Running the scenario: a forecast runs every line once at the current draws offset; a
// back-test runs it N times, moving the analysis point back N draws and then forward one
// draw at a time, so that each pass stakes on a draw already in the archive and the
// stakes are checked and rated at once. Each line builds its starting list, expands its
// filters into variants, applies each variant and turns what remains into stakes.
//
// The run drives the workspace's statistics table, combination lists and stakes desk; it
// talks to the person through the Host and polls the stop flag at every stop check,
// where the window processes its pending messages.

#include "app/filter_step.h"
#include "app/run_control.h"
#include "filters/filter_item.h"
#include "scenarios/script_options.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pelko {

class Workspace;
struct TNumberSet;

inline constexpr const char* DASH_LINE =
    "----------------------------------------------------------------------------------------------";
inline constexpr const char* EQUALS_LINE =
    "==============================================================================================";
inline constexpr const char* SCRIPT_STOP_QUESTION = "Остановить выполнение сценария?";
inline constexpr const char* SCRIPT_FINISHED_TEXT = "Сценарий завершен!";
inline constexpr const char* SCRIPT_RUNNING_TEXT = "Выполнение сценария...";

// "%.2d.%.3d: comment @ filter text": the key scenario stakes are rated by.
std::string ScriptStakeComment(int line, int variant, const std::string& comment, const std::string& filterText);

class TScenarioRunner : public TRunControl {
  public:
    explicit TScenarioRunner(Workspace& ws);

    // --- run state ---
    bool ScriptRunning() const { return running_; }
    bool ScriptStopRequested() const { return stopRequested_; }
    int ScriptCycle() const { return cycle_; }
    int ScriptStakesMade() const { return stakesMade_; }
    // The tab's status panels 1 to 4: "Цикл: %d", "Строка: %d", "Ставок: %d", the text.
    std::string PanelText(int panel) const;
    // The stop action is offered while a run goes on and no stop was asked yet.
    bool CanStop() const { return running_ && !stopRequested_; }

    // --- front end hooks ---
    // Panels changed; the front end repaints them (messages are processed right after).
    std::function<void()> OnStatusChanged;
    // A run started or ended: disable or enable the tabs and re-evaluate the actions.
    std::function<void(bool running)> OnRunningChanged;
    // The scenario row being run (-1: none).
    std::function<void(int line)> OnLineSelected;
    // A logged run ended and its log file is ready for reading.
    std::function<void(const std::filesystem::path& log)> OnLogFinished;

    // --- runs ---
    // "Прогноз": one pass at the current offset. False when the scenario or the archive is empty.
    bool ScriptRun();
    // "Тест": N cycles at offsets N .. 1; N must be 1 .. draws - 1.
    bool ScriptTest(int n);
    // "Стоп": asks first; on Yes the run stops at its next stop check.
    void ScriptStop();
    // The stop without the question (Ctrl+C of the command line, tests).
    void RequestStop();

    // --- TRunControl ---
    bool StopCheck() override;
    bool LogEnabled() const override;
    void Log(const std::string& message) override;
    TRunTimings* Timings() override { return timings_; }
    // Set to measure where a run's time goes.
    void MeasureInto(TRunTimings* timings) { timings_ = timings; }

    // --- the pieces of a pass (also for tests) ---
    void RunScript();
    void RunScriptLine(int index, const std::string& text);
    // Returns whether a stop was requested.
    bool PrepareStartList(const TScriptOptions& options);
    void MakeScriptStakes(TResultCombsMode mode, int line, const std::string& filterText,
                          const std::string& comment, bool newOnly, int variant);
    bool MakeScriptStake(const TNumberSet& numbers, bool bulk, int line, const std::string& filterText,
                         const std::string& comment, bool newOnly, int variant);
    void MakeSystemStakes(bool sysc, int line, const std::string& filterText, const std::string& comment,
                          bool newOnly, int variant);
    void ShowScriptStatus(int line, int variant, const std::string& text, int variants);

  private:
    class TRunScope;
    void LogOffsetHeader(int offset);
    void CheckStakesIfPerLine();
    void RunVariants(int line, const TScriptOptions& options, std::vector<TFilterRec>& variants,
                     const std::string& comment);
    void RunWithoutFilters(int line, const TScriptOptions& options, const std::string& comment);
    std::vector<TFilterItem> ReadFilterItems(const std::string& text);
    void ShowStakesCount(bool bulk);

    Workspace& ws_;
    bool running_ = false;
    bool stopRequested_ = false;
    int cycle_ = 0;
    int stakesMade_ = 0;
    int panelLine_ = 0;
    std::string panelText_;
    std::chrono::steady_clock::time_point lastBulkStatus_{};
    std::optional<TFilterStep> step_;
    TRunTimings* timings_ = nullptr;
};

} // namespace pelko
