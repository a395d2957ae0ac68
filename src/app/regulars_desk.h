#pragma once
// The regular stakes: rules that make a stake for the next draw from the draws before it,
// kept in their own file while their tab is shown. Part of the stakes desk, whose file
// takes the stakes they make.

#include "core/lottery.h"
#include "stakes/regular_stakes.h"
#include "stakes/stake_record.h"

#include <cstddef>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace pelko {

class TStakesDesk;
struct TStakesOptions;
class Workspace;

class TRegularsDesk {
  public:
    TRegularsDesk(Workspace& ws, TStakesDesk& stakes, TStakesOptions& options);

    // Told after every change of the rules (the tab repaints).
    std::function<void()> OnChanged;

    const TTablesArray& Tables() const { return tables_; }
    void Load();
    bool Save();
    // TabTables: shows (loads) or hides (empties) the regulars.
    void SetVisible(bool visible);
    // TablesAdd after its dialog; `selected` holds 1-based list positions.
    bool Add(const TTableDialogInput& input,
             const std::vector<std::pair<std::size_t, TComb>>& selected);
    // A rule typed in full (the command line): mode 0 takes its start from StartText.
    // The refusal's text, or nothing when the rule was added and saved.
    std::optional<std::string> AddTyped(const TTableDialogInput& input);
    // TablesDel after the question.
    bool Delete(std::vector<std::size_t> indices);
    // TablesStakeAdd, step 1-2: the rule advanced (a copy) and its stake for the dialog.
    std::optional<std::pair<TTableData, TStakeData>> PrepareStake(std::size_t index,
                                                                  std::size_t sampleSize) const;
    // Step 3 on OK: the advanced rule replaces the old one, then the stake is added.
    bool CommitStake(std::size_t index, const TTableData& advanced, const TStakeData& stake,
                     int drawsCount);
    // TablesStakeTest: the selected rules over the last n draws.
    bool Test(const std::vector<std::size_t>& indices, int n, std::size_t sampleSize);

  private:
    void Changed();
    std::filesystem::path Path() const;

    Workspace& ws_;
    TStakesDesk& stakes_;
    TStakesOptions& options_;
    TTablesArray tables_;
    bool loadFailed_ = false;
};

} // namespace pelko
