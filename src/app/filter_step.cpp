#include "app/filter_step.h"

#include "app/workspace.h"
#include "core/format.h"
#include "core/record_helpers.h"
#include "filters/row_level.h"
#include "filters/stop_rules.h"

#include <algorithm>
#include <stdexcept>

namespace pelko {

std::string RowLogText(const TStatValues& row) {
    return Format("< [%s] кол-во: %s (%s %%), отклонение: %s (%s %%), глубина: %s (%s %%), вес: %s >",
                  row.Caption.c_str(), row.Count.c_str(), row.CountPercent.c_str(), row.Deviation.c_str(),
                  row.DeviationPercent.c_str(), row.Depth.c_str(), row.DepthPercent.c_str(), row.Weight.c_str());
}

TFilterStep::TFilterStep(Workspace& ws, TRunControl& run) : ws_(ws), run_(run) {}

void TFilterStep::ApplyFilterRec(const TFilterRec& rec) {
    for (const TFilterPart& part : rec)
        if (part.Active && ws_.Combs().List.Count() > 1)
            ApplyFilterPart(part);
}

int TFilterStep::SelectMethod(const TFilterPart& part) {
    const TStatList& stats = ws_.Stats();
    const int index = stats.IndexOf(part.Method);
    const std::vector<int> listed = stats.ListedMethods(false);
    if (index < 0 || std::find(listed.begin(), listed.end(), index) == listed.end()) {
        const std::string code = part.Method ? stats.MethodCode(*part.Method) : std::string();
        const std::string title = part.Method ? stats.MethodTitle(*part.Method) : std::string();
        throw std::runtime_error(Format(METHOD_NOT_FOUND_MESSAGE, code.c_str(), title.c_str()));
    }
    ws_.StatMethod = index;
    return index;
}

void TFilterStep::ComputeTable(const TFilterPart& part, int method) {
    TStatList& stats = ws_.Stats();
    stats.ApplyCDL(part.CDLOverride, part.CDL);
    TStatTableQuery query;
    query.MethodIndex = method;
    query.DrawsLen = ws_.DrawsStatLen;
    query.DrawsOffset = ws_.DrawsOffset();
    query.Sorted = ws_.SortedDraws();
    query.PrefetchEnabled = ws_.PrefetchsEnabled;
    query.ShowTotalLine = ws_.ShowTotalLine;
    // The weights follow the coefficients: a part with coefficients of its own must not read
    // the "Вес" texts computed with other ones.
    const TCDLData& computedWith = tableCDL_ ? *tableCDL_ : stats.CDLBackup();
    const bool force = !(computedWith == stats.Config.CDL);
    TStatTable& table = ws_.StatTable();
    TTimeSlot timing(run_.Timings(), &TRunTimings::Tables);
    table.ComputeStatTable(query, force, &ws_.GetHost());
    tableCDL_ = stats.Config.CDL;
    table.SortBy(part.SortOrder, true);
    if (!table.PrefetchError().empty())
        ws_.GetHost().ErrorBox(table.PrefetchError());
}

void TFilterStep::LogTable() {
    const TStatTable& table = ws_.StatTable();
    for (std::size_t row = 0; row < table.RowCount(); ++row)
        run_.Log(RowLogText(table.RowTexts(static_cast<int>(row))));
}

TStatValues TFilterStep::RowValues(std::size_t row, const TCustomStat& stat) const {
    TStatValues values = ws_.StatTable().RowTexts(static_cast<int>(row));
    values.Value = stat.TextToScalar(values.Caption);
    return values;
}

bool TFilterStep::ApplySelection(const TFilterPart& part, TCustomStat& stat, int method) {
    TStatTable& table = ws_.StatTable();
    TCombLists& combs = ws_.Combs();
    run_.Log(part.KeepSelected ? "Оставляем выделенные значения..." : "Удаляем выделенные значения...");
    TTimeSlot timing(run_.Timings(), &TRunTimings::Filtering);
    combs.BackupCombs(true);
    const TStatDrawArray rows = table.SelectedItems();
    if (!rows.empty())
        ws_.FilterBySelection(stat, rows, !part.KeepSelected, ws_.Stats().DisplayName(method, true),
                              table.SelectedCaptions());
    run_.Log(Format("Количество комбинаций в списке: %zu", combs.List.Count()));
    table.ClearSelection();
    if (combs.List.Count() > 0)
        return true;
    run_.Log("{UNDO} Откат изменений...");
    combs.RestoreCombs(true);
    combs.AddUndoHistory();
    return false;
}

void TFilterStep::WalkRows(const TFilterPart& part, TCustomStat& stat, int method) {
    TStatTable& table = ws_.StatTable();
    TWalkState state;
    state.MaxStake = ws_.Config().MaxStake;
    state.UniqueNumbers = [this] { return CountUniqueNumbers(ws_.Combs().List); };
    const std::size_t rowCount = table.RowCount();
    for (std::size_t i = 0; i < rowCount; ++i) {
        const std::size_t row = part.BottomUp ? rowCount - 1 - i : i;
        if (run_.StopCheck())
            return;
        const TStatValues values = RowValues(row, stat);
        state.ListCount = ws_.Combs().List.Count();
        if (StopBeforeRow(part, values, state))
            break;
        if (part.MultiSelect) {
            if (RowMatchesLevel(part, values)) {
                table.SelectRow(row);
                run_.Log(Format("Шаг %.3d. Выделение строки: ", state.Steps + 1) + RowLogText(values));
            }
            ++state.Steps;
            continue;
        }
        if (run_.StopCheck())
            return;
        if (!RowMatchesLevel(part, values))
            continue;
        table.ClearSelection();
        table.SelectRow(row);
        run_.Log(Format("Шаг %.3d. Выделение строки: ", state.Steps + 1) + RowLogText(values));
        if (ApplySelection(part, stat, method))
            ++state.Steps;
        else if (part.StopMode == smUntilEmpty)
            break;
    }
    if (part.MultiSelect && !run_.StopCheck())
        ApplySelection(part, stat, method);
}

void TFilterStep::ApplyFilterPart(const TFilterPart& part) {
    TStatTable& table = ws_.StatTable();
    table.ClearSelection();
    const int method = SelectMethod(part);
    if (part.SortOrder < 0 || part.SortOrder >= STAT_COLUMNS)
        throw std::runtime_error(Format(BAD_SORT_COLUMN_MESSAGE, part.SortOrder));
    table.SortBy(part.SortOrder, true);
    ws_.DrawsStatLen = part.DrawsLen;
    run_.Log(Format("Анализ тиражей и расчет статистики \"%s\" для выборки в %d тиражей...",
                    ws_.Stats().DisplayName(method, true).c_str(), part.DrawsLen));
    ComputeTable(part, method);
    if (run_.StopCheck())
        return;
    if (run_.LogEnabled())
        LogTable();
    if (run_.StopCheck())
        return;
    const std::unique_ptr<TCustomStat> stat = ws_.Stats().CreateStat(method);
    WalkRows(part, *stat, method);
}

} // namespace pelko
