#pragma once
// The scenario desk: the workspace's scenario (its line texts), the working scenario file
// that mirrors every change, the user's scenario files and the run log. Every operation
// reports through the Host (boxes, questions, status text) and brackets file work with the
// busy state; the line dialog and the file dialogs stay in the front end.

#include "scenarios/script_lines.h"
#include "scenarios/script_log.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pelko {

class Workspace;
class TStatList;

inline constexpr int SCRIPT_VIEW_COLUMN_COUNT = 9;
using TScriptRowTexts = std::array<std::string, SCRIPT_VIEW_COLUMN_COUNT>;

// The cells of one scenario list row: the comment, the options caption and the seven
// filters as normalised texts ("" for an empty filter); nine empty cells for a separator.
TScriptRowTexts ScriptRowTexts(const TStatList& stats, const std::string& line);

// A line a run can use: its options field is not blank and at least one of its seven
// filters reads as a filter with a text form.
bool IsAcceptableScriptLine(const TStatList& stats, const std::string& line);

class TScriptDesk {
  public:
    explicit TScriptDesk(Workspace& ws);

    const TScriptLines& Lines() const { return lines_; }
    std::size_t Count() const { return lines_.Count(); }
    std::filesystem::path WorkingFile() const;
    // "Строк: %d", the first panel under the list.
    std::string LineCountText() const;

    // The list should show the lines again (their number or texts changed).
    std::function<void()> OnScriptChanged;

    // ------------------------------------------------------------ files
    // Start-up: loads the working scenario when its file exists.
    bool LoadWorkingScript();
    bool SaveWorkingScript();
    // Replaces the scenario by the file's lines, or appends them (a separator between).
    // A file that cannot be read leaves the scenario unchanged (after the error box).
    bool LoadScript(const std::filesystem::path& file, bool append);
    bool SaveScript(const std::filesystem::path& file);
    // ScriptOpen / ScriptLoad after the file dialog: load, then save the working scenario.
    bool OpenScript(const std::filesystem::path& file);
    bool AppendScript(const std::filesystem::path& file);

    // ------------------------------------------------------------ lines
    // Appends a line (a blank text is a separator) and saves; returns its index, or -1 (as
    // size_t) when the scenario may not be changed.
    std::size_t AddScriptLine(const std::string& text);
    // False after the not-found error box when the index is outside the scenario.
    bool SetScriptLine(std::size_t index, const std::string& text);
    // Throws std::runtime_error with the not-found text outside the scenario.
    const std::string& GetScriptLine(std::size_t index) const;
    // ScriptDel: asks first; deletes the lines at these indices.
    bool DeleteScriptRows(const std::vector<std::size_t>& indices);
    // ScriptClr: asks first; deletes every line.
    bool ClearScript();
    // ScriptUp / ScriptDown: false at the ends; the moved line is then at index -/+ 1.
    bool MoveScriptUp(std::size_t index);
    bool MoveScriptDown(std::size_t index);

    // ------------------------------------------------------------ run log
    // "ScriptLogEnabled": nothing is logged while it is off.
    bool ScriptLogEnabled = false;
    // Start of a forecast or test: names the log after the current time (or forgets the
    // name when logging is off).
    void StartScriptLog();
    // Writes one message (also handed to Host::LogLine); a failed write shows its error box
    // and the run goes on.
    void ScriptLog(const std::string& message);
    // End of a run: the log file to open for the person, when logging is on and the file
    // exists; the name is forgotten in every case.
    std::optional<std::filesystem::path> EndScriptLog();
    // LogsDelete.
    bool DeleteScriptLogs();
    // Tests fix the moments the log sees.
    void SetLogClock(TClock clock);

    // False after the box when the working scenario may not be changed: read only, or its
    // file failed to load (a save would replace it by what was read).
    bool MayEdit();

  private:
    void RefreshScriptView();
    void ShowFailure(const std::string& message, const std::exception& e);

    Workspace& ws_;
    TScriptLines lines_;
    TScriptLog log_;
    bool workingLoadFailed_ = false;
};

} // namespace pelko
