#include "app/regulars_desk.h"

#include "app/stakes_workspace.h"
#include "app/workspace.h"
#include "core/draw_archive.h"
#include "core/format.h"
#include "stakes/stake_appender.h"
#include "stakes/stake_making.h"

#include <algorithm>

namespace pelko {

TRegularsDesk::TRegularsDesk(Workspace& ws, TStakesDesk& stakes, TStakesOptions& options)
    : ws_(ws), stakes_(stakes), options_(options) {}

std::filesystem::path TRegularsDesk::Path() const {
    return ws_.DataFile(TABLES_FILE_NAME);
}

void TRegularsDesk::Changed() {
    if (OnChanged) OnChanged();
}

void TRegularsDesk::Load() {
    if (!options_.TablesVisible) return;
    loadFailed_ = true;
    if (std::error_code ec; std::filesystem::exists(Path(), ec)) {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Загрузка файла регулярных ставок...");
        try {
            tables_ = ReadTablesFile(Path());
            loadFailed_ = false;
        } catch (const std::exception& e) {
            ShowFailureBox(ws_.GetHost(), "Ошибка чтения файла регулярных ставок!", e);
        }
    } else {
        loadFailed_ = false;
    }
    Changed();
}

bool TRegularsDesk::Save() {
    if (!options_.TablesVisible || !ws_.MaySave(loadFailed_)) return false;
    bool ok = true;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Сохранение файла регулярных ставок...");
        try {
            WriteTablesFile(Path(), tables_);
        } catch (const std::exception& e) {
            ShowFailureBox(ws_.GetHost(), "Ошибка записи в файл регулярных ставок!", e);
            ok = false;
        }
    }
    Changed();
    return ok;
}

void TRegularsDesk::SetVisible(bool visible) {
    options_.TablesVisible = visible;
    tables_.clear();
    if (visible)
        Load();
    else
        Changed();
}

bool TRegularsDesk::Add(const TTableDialogInput& input,
                            const std::vector<std::pair<std::size_t, TComb>>& selected) {
    if (!ws_.MaySave(loadFailed_)) return false;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Создание регулярных ставок...");
        for (TTableData& rule : MakeTableRules(input, selected))
            tables_.push_back(rule);
    }
    return Save();
}

std::optional<std::string> TRegularsDesk::AddTyped(const TTableDialogInput& input) {
    TTableDialogInput typed = input;
    typed.StartEditable = input.Mode == tmConstant;
    if (auto error = ValidateTableDialog(typed, tables_)) return error;
    // The typed start stands in for the one selected combination.
    std::vector<std::pair<std::size_t, TComb>> selected;
    if (typed.Mode == tmConstant) {
        const TNumberSet set = *ParseStakeNumbers(typed.StartText);
        TComb comb;
        std::copy(set.Members, set.Members + LOTTO_COUNT, comb.N);
        selected.emplace_back(1, comb);
    }
    typed.StartEditable = false;
    if (!Add(typed, selected)) return std::string("Ошибка записи в файл регулярных ставок!");
    return std::nullopt;
}

bool TRegularsDesk::Delete(std::vector<std::size_t> indices) {
    std::sort(indices.begin(), indices.end());
    indices.erase(std::unique(indices.begin(), indices.end()), indices.end());
    if (indices.empty() || !ws_.MaySave(loadFailed_) ||
        !ws_.GetHost().AskYesNo(DeleteQuestion(static_cast<std::int64_t>(indices.size())),
                                "Предупреждение", false))
        return false;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Удаление регулярных ставок...");
        for (auto it = indices.rbegin(); it != indices.rend(); ++it) {
            if (*it >= tables_.size()) {
                ws_.GetHost().ErrorBox(Format("Запись со индексом %d в файле данных не найдена!",
                                              static_cast<int>(*it)));
                continue;
            }
            tables_.erase(tables_.begin() + static_cast<std::ptrdiff_t>(*it));
        }
    }
    return Save();
}

std::optional<std::pair<TTableData, TStakeData>>
TRegularsDesk::PrepareStake(std::size_t index, std::size_t sampleSize) const {
    if (index >= tables_.size()) return std::nullopt;
    TTableData rule = tables_[index];
    AdvanceTable(ws_.Draws(), ws_.DrawsOffset(), rule);
    return std::make_pair(rule, MakeRegularStake(rule, stakes_.NextDrawNumber(), sampleSize, ws_.Config()));
}

bool TRegularsDesk::CommitStake(std::size_t index, const TTableData& advanced,
                                   const TStakeData& stake, int drawsCount) {
    if (index >= tables_.size() || !ws_.MaySave(loadFailed_) || !stakes_.MayWriteStakes())
        return false;
    tables_[index] = advanced;
    Save();
    return stakes_.AddStake(stake, drawsCount);
}

bool TRegularsDesk::Test(const std::vector<std::size_t>& indices, int n,
                             std::size_t sampleSize) {
    const int draws = static_cast<int>(ws_.Draws().size());
    if (n < 1 || n > draws - 1 || indices.empty()) return false;
    if (!ws_.MaySave(loadFailed_) || !stakes_.MayWriteStakes()) return false;
    bool ok = true;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(),
                        "Создание ставок по регулярным табличным ставкам...");
        try {
            TStakeAppender appender(stakes_.File());
            for (int k = n; k >= 1; --k) {
                const std::int32_t drawNumber = pelko::NextDrawNumber(ws_.Draws(), k);
                for (const std::size_t i : indices) {
                    if (i >= tables_.size()) continue;
                    AdvanceTable(ws_.Draws(), k, tables_[i]);
                    appender.Append(
                        MakeRegularStake(tables_[i], drawNumber, sampleSize, ws_.Config()), 1);
                }
            }
            appender.Flush();
        } catch (const std::exception& e) {
            ShowFailureBox(ws_.GetHost(), "Ошибка добавления записи в файл ставок!", e);
            ok = false;
        }
    }
    Save();
    if (ok) stakes_.CheckStakesAndSave();
    stakes_.RefreshStakesGrid(ok);
    return ok;
}

} // namespace pelko
