#pragma once
// The working combination list of the program, its one-level undo copy, the history of the
// operations applied to it and the buffer file that caches a scenario's starting list.
// The workspace owns one instance. Narrowing operations (filters, exclusion, deletion)
// read the undo copy and rebuild the list from it, so BackupCombs must come right before
// them; the Combs... methods named after the window's actions do both.
//
// Entries read from files and the clipboard are kept as written, so the list may hold any
// byte values, repeated numbers and any order; nothing here indexes tables by them.

#include "app/busy_state.h"
#include "app/host.h"
#include "core/comb_list.h"
#include "core/comb_selection.h"
#include "core/config.h"
#include "core/lottery.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pelko {

enum class TFilterKind { Include, Exclude, Undo };

// One row of the applied-filters history: "Примененные фильтры", "Значения", "Комбинаций".
struct TFilterHistoryRow {
    std::string Operation;
    std::string Values;
    std::size_t Count = 0; // list count after the operation
    TFilterKind Kind = TFilterKind::Include;
    friend bool operator==(const TFilterHistoryRow&, const TFilterHistoryRow&) = default;
};

class TCombLists {
  public:
    TCombLists(Host& host, TBusyState& busy);

    // The working list and the list as it was before the last narrowing operation
    // (count 0: nothing to undo). Writers outside this class call BackupCombs first and
    // ListChanged after.
    TCombList List;
    TCombList Undo;

    // Set by the front end: the list's count or entries changed (redraw, "Комбинаций: %d";
    // a view also drops its selection then) / the history changed.
    std::function<void()> OnListChanged;
    std::function<void()> OnHistoryChanged;
    void ListChanged();

    // Capacity for every combination in both lists, once at start-up.
    void ReserveAll();
    bool CanUndo() const { return Undo.Count() > 0; }

    // --- undo ---
    void BackupCombs(bool showStatus);
    // The undo copy back into the list, then nothing to undo. A failure (memory) empties
    // the list and is passed on.
    void RestoreCombs(bool showStatus);
    void DropUndo() { Undo.Clear(); }

    // --- generation and files ---
    // Replaces the list. Interactive: busy state and status, the history is cleared, the
    // view told and the undo copy dropped. Failures show their box (mode 4: the file's)
    // and return false.
    bool GenerateCombs(bool interactive, const TGenerateParams& params);
    // Reads a combinations file into the list; false after the error box.
    bool LoadCombsFile(const std::filesystem::path& file);
    // Writes the list with busy state and status; false after the error box.
    bool SaveCombsFile(const std::filesystem::path& file);
    // Opens a combinations file as the new list (the previous one is back on failure);
    // the history is cleared and nothing can be undone afterwards.
    bool OpenCombsFile(const std::filesystem::path& file);

    // --- clipboard text ---
    // The selected entries as clipboard text; "" when none is selected (leave the clipboard).
    std::string CopyText(const TCombSelection& selection);
    // A pasted text as the new list; a text that is not all combinations is refused as a
    // whole with its error box and the previous list is back. False when refused or empty.
    bool PasteText(std::string_view text);

    // --- narrowing (call BackupCombs first) ---
    // Rebuilds the list from the undo copy without the combinations of the n draws up to
    // the analysis point (last index - drawsOffset).
    void ExcludeRecentDraws(int n, const TDrawsArray& draws, int drawsOffset);
    // Rebuilds the list from the undo copy without the selected positions.
    void DeleteSelectedCombs(const TCombSelection& selection);

    // --- the window's actions ---
    // "Генерировать" after the dialog: backup, then interactive generation.
    void CombsGen(const TGenerateParams& params);
    // "Отменить": false when there is nothing to undo.
    bool CombsUndo();
    // "Исключить тиражи" and "Удалить выделенные": backup, then the narrowing.
    void CombsDelExists(int n, const TDrawsArray& draws, int drawsOffset);
    void CombsDelSelected(const TCombSelection& selection);

    // --- queries ---
    // Same six bytes in the same order among the list's entries.
    bool IsInCombs(const TComb& comb) const;
    // The first selected entry in list order.
    std::optional<TComb> FirstSelected(const TCombSelection& selection) const;
    // Searches the whole archive (newest first) for the combination and shows the draws
    // found (at most 26) or that there are none; returns the DrawText lines shown.
    std::vector<std::string> FindInDraws(const TComb& comb, const TDrawsArray& draws);
    // Distinct numbers of the whole list, shown in an information box.
    int CountUniqueNumbers();

    // --- applied-filters history ---
    const std::vector<TFilterHistoryRow>& History() const { return history_; }
    void AddFilterHistory(bool exclude, std::string operation, std::string values);
    void AddUndoHistory();
    void ClearFilterHistory();
    void RemoveLastFilterHistory();

    // --- buffer file (the list after excluding recent draws, keyed by offset and N) ---
    void SetBufferFile(std::filesystem::path file) { bufferFile_ = std::move(file); }
    const std::filesystem::path& BufferFile() const { return bufferFile_; }
    std::pair<int, int> BufferKey() const { return bufferKey_; }
    void SaveCombsBuffer(int k, int n);
    bool LoadCombsBuffer(int k, int n);
    void DropCombsBuffer();

  private:
    void ShowFailure(const std::string& message, const std::exception& e);
    void HistoryChanged();

    Host& host_;
    TBusyState& busy_;
    std::vector<TFilterHistoryRow> history_;
    std::filesystem::path bufferFile_;
    std::pair<int, int> bufferKey_{-1, -1};
};

} // namespace pelko
