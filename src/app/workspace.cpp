#include "app/workspace.h"

#include "app/script_desk.h"
#include "app/stakes_workspace.h"

#include "core/atomic_file.h"
#include "core/draw_archive.h"
#include "core/draw_csv.h"
#include "core/format.h"
#include "filters/filter_by_selection.h"
#include "platform/data_folder.h"
#include "stats/changed_prefetchs.h"

#include <stdexcept>

namespace pelko {

namespace {
constexpr const char* COMBS_BUFFER_FILE_NAME = "Pelko_6x45.~buff";
constexpr const char* NAMES_FILE_NAME = "Pelko_6x45.flt";
}

Workspace::Workspace(Host& host, std::filesystem::path dataFolder)
    : host_(host), busy_(host), dataFolder_(std::move(dataFolder)), combs_(host, busy_),
      stats_(draws_, TConfigData{}), prefetch_(stats_, dataFolder_), statTable_(stats_, &prefetch_) {
    combs_.SetBufferFile(DataFile(COMBS_BUFFER_FILE_NAME));
    stakes_ = std::make_unique<TStakesDesk>(*this);
    script_ = std::make_unique<TScriptDesk>(*this);
}

bool Workspace::StartStakes() {
    if (!stakesStarted_)
        stakesStarted_ = stakes_->Start();
    return stakesStarted_;
}

std::filesystem::path Workspace::NamesFile() const {
    return DataFile(NAMES_FILE_NAME);
}

Workspace::~Workspace() = default;

std::filesystem::path Workspace::IniFile() const {
    return DataFile(DATA_INI_NAME);
}

bool Workspace::Open(bool withCombinations, bool withStakes) {
    LoadParameters();
    if (withStakes && !StartStakes())
        return false;
    LoadDraws();
    if (withCombinations)
        GenerateStartupCombs();
    script_->LoadWorkingScript();
    return true;
}

void Workspace::LoadParameters() {
    LoadConfig();
    stats_.Build();
    LoadNames();
}

void Workspace::GenerateStartupCombs() {
    combs_.ReserveAll();
    combs_.GenerateCombs(true, stats_.Generate);
}

void Workspace::ShowFailure(const std::string& message, const std::exception& e) {
    host_.ErrorBox(message + "\n\n" + e.what());
}

// ---------------------------------------------------------------- parameters

void Workspace::LoadConfig() {
    TBusyScope busy(busy_, host_, "Загрузка файла конфигурации...");
    try {
        stats_.Config = pelko::LoadConfig(IniFile());
        stats_.Generate = pelko::LoadGenerateParams(IniFile());
        stats_.Shredding = pelko::LoadShredding(IniFile());
    } catch (const std::exception& e) {
        ShowFailure("Ошибка чтения файла конфигурации!", e);
    }
}

bool Workspace::SaveConfig(const TConfigData& config) {
    TBusyScope busy(busy_, host_, "Сохранение файла конфигурации...");
    stats_.Config = config;
    try {
        pelko::SaveConfig(IniFile(), stats_.Config);
        return true;
    } catch (const std::exception& e) {
        ShowFailure("Ошибка записи в файл конфигурации!", e);
        return false;
    }
}

bool Workspace::SaveGenerateParams(const TGenerateParams& params) {
    stats_.Generate = params;
    try {
        pelko::SaveGenerateParams(IniFile(), stats_.Generate);
        return true;
    } catch (const std::exception& e) {
        ShowFailure("Ошибка записи в файл конфигурации!", e);
        return false;
    }
}

namespace {
// The prefetch files of the groups whose parameters changed, once the registry holds the new
// ones: remade while the comparison is on, deleted while it is off (else the old counts
// would be read when it is switched on again).
void RefreshPrefetchsOfGroups(Workspace& ws, TStatGroups changed) {
    TBusyScope busy(ws.Busy(), ws.GetHost());
    const TChangedPrefetchsResult result =
        RefreshChangedPrefetchs(ws.Prefetch(), ws.Stats(), changed, ws.PrefetchsEnabled, &ws.GetHost());
    for (const auto& error : result.Rebuilt.Errors)
        ws.GetHost().ErrorBox(error);
}
} // namespace

void Workspace::ApplyConfig(const TConfigData& config) {
    TStatGroups rebuild = 0;
    const TConfigData& old = stats_.Config;
    if (old.MatrixCols != config.MatrixCols)
        rebuild |= TStatGroups(1u << 4);
    if (old.ChannelSize != config.ChannelSize)
        rebuild |= TStatGroups(1u << 3);
    if (old.Segments != config.Segments)
        rebuild |= TStatGroups(1u << 5);
    SaveConfig(config);
    RebuildMethods();
    RefreshPrefetchsOfGroups(*this, rebuild);
    RefreshViews();
}

void Workspace::ApplyShredding(const TShreddingFormulas& formulas) {
    {
        TBusyScope busy(busy_, host_, "Сохранение файла конфигурации...");
        stats_.Shredding = formulas;
        try {
            pelko::SaveShredding(IniFile(), formulas);
        } catch (const std::exception& e) {
            ShowFailure("Ошибка записи в файл конфигурации!", e);
        }
    }
    // The captions of the shredding methods show their formulas.
    RebuildMethods();
    RefreshPrefetchsOfGroups(*this, TStatGroups(1u << sgShredding));
}

// ---------------------------------------------------------------- statistics

void Workspace::LoadNames() {
    std::string error;
    if (!stats_.LoadNames(NamesFile(), true, &error))
        host_.ErrorBox(error);
}

void Workspace::RebuildMethods() {
    std::string error;
    if (!stats_.SaveNames(NamesFile(), true, false, &error))
        host_.ErrorBox(error);
    stats_.Build();
    stats_.SelectAll();
    LoadNames();
    if (StatMethod >= stats_.Count())
        StatMethod = -1;
    statTable_.Clear();
}

bool Workspace::ComputeStatTable(bool force) {
    TStatTableQuery query;
    query.MethodIndex = StatMethod;
    query.DrawsLen = DrawsStatLen;
    query.DrawsOffset = drawsOffset_;
    query.Sorted = sortedDraws_;
    query.PrefetchEnabled = PrefetchsEnabled;
    query.ShowTotalLine = ShowTotalLine;
    TBusyScope busy(busy_, host_);
    try {
        const bool computed = statTable_.ComputeStatTable(query, force, &host_);
        if (!statTable_.PrefetchError().empty())
            host_.ErrorBox(statTable_.PrefetchError());
        return computed;
    } catch (const std::exception& e) {
        host_.ErrorBox(e.what());
        return false;
    }
}

void Workspace::FilterBySelection(TCustomStat& stat, const TStatDrawArray& selection, bool exclude,
                                  const std::string& operation, const std::string& values) {
    TBusyScope busy(busy_, host_, "Фильтрация комбинаций...");
    TFilterPass pass;
    pass.RefIndex = FilterRefIndex(draws_.size(), drawsOffset_);
    pass.Sorted = sortedDraws_;
    pass.Exclude = exclude;
    try {
        if (combs_.Undo.Count() > 0) {
            pelko::FilterBySelection(stat, selection, pass, combs_.Undo, combs_.List, &host_);
            combs_.AddFilterHistory(exclude, operation, values);
        } else {
            combs_.List.Clear();
        }
    } catch (...) {
        combs_.ListChanged();
        throw;
    }
    combs_.ListChanged();
}

bool Workspace::StatFilterFromTable(bool exclude) {
    const TStatDrawArray rows = statTable_.SelectedItems();
    if (rows.empty() || combs_.List.Count() == 0)
        return false;
    const int method = statTable_.MethodIndex();
    if (method < 0 || method >= stats_.Count()) {
        host_.ErrorBox("Не выбран метод расчета статистики (cb: cbDrawsStatType)!");
        return false;
    }
    try {
        auto stat = stats_.CreateStat(method);
        combs_.BackupCombs(true);
        FilterBySelection(*stat, rows, exclude, stats_.DisplayName(method, true),
                          statTable_.SelectedCaptions());
        return true;
    } catch (const std::exception& e) {
        host_.ErrorBox(e.what());
        return false;
    }
}

TPrefetchBatchResult Workspace::CreateAllPrefetchs(bool force, TStatGroups rebuildGroups) {
    TBusyScope busy(busy_, host_);
    const TPrefetchBatchResult result =
        prefetch_.CreateAllPrefetchs(force, rebuildGroups, PrefetchsEnabled, &host_);
    for (const auto& error : result.Errors)
        host_.ErrorBox(error);
    return result;
}

// ---------------------------------------------------------------- archive

void Workspace::LoadDraws() {
    TBusyScope busy(busy_, host_, "Загрузка файла тиражей...");
    try {
        ReadDrawsFile(DataFile(DRAWS_FILE_NAME), draws_);
    } catch (const std::exception& e) {
        ShowFailure("Ошибка чтения файла тиражей!", e);
    }
    drawsOffset_ = ClampDrawsOffset(draws_, drawsOffset_);
    DrawsViewChanged();
}

bool Workspace::SaveDraws() {
    TBusyScope busy(busy_, host_, "Сохранение файла тиражей...");
    bool ok = true;
    try {
        WriteDrawsFile(DataFile(DRAWS_FILE_NAME), draws_);
    } catch (const std::exception& e) {
        ShowFailure("Ошибка записи в файл тиражей!", e);
        ok = false;
    }
    DrawsViewChanged();
    return ok;
}

void Workspace::AddDraw(const TDrawData& draw) {
    draws_.push_back(draw);
    SaveDraws();
    RefreshViews();
}

bool Workspace::ReplaceDraw(int index, const TDrawData& draw) {
    if (index < 0 || index >= static_cast<int>(draws_.size()))
        return false;
    draws_[index] = draw;
    SaveDraws();
    RefreshViews();
    return true;
}

bool Workspace::DeleteDraws(const std::vector<std::int32_t>& numbers) {
    if (numbers.empty())
        return false;
    const std::string question =
        numbers.size() == 1
            ? std::string("Удалить выделенную запись?")
            : Format("Удалить все выделенные записи (всего будет удалено %d записи(ей))?",
                     static_cast<int>(numbers.size()));
    if (!host_.AskYesNo(question, "Предупреждение", false))
        return false;
    {
        TBusyScope busy(busy_, host_, "Удаление выделенных тиражей....");
        try {
            // The list shows the newest first; deleting from its last item up.
            for (auto it = numbers.rbegin(); it != numbers.rend(); ++it)
                DeleteDraw(draws_, FindDraw(draws_, *it));
        } catch (const std::exception& e) {
            // The file still holds the archive as it was: read it back.
            host_.ErrorBox(e.what());
            draws_.clear();
            try {
                ReadDrawsFile(DataFile(DRAWS_FILE_NAME), draws_);
            } catch (const std::exception&) {
            }
            DrawsViewChanged();
            return false;
        }
        drawsOffset_ = ClampDrawsOffset(draws_, drawsOffset_);
        DrawsViewChanged();
        SaveDraws();
    }
    RefreshViews();
    return true;
}

int Workspace::ImportDrawsCsv(const std::filesystem::path& file) {
    TBusyScope busy(busy_, host_,
                    Format("Импорт тиражей из файла \"%s\"...", file.filename().string().c_str()));
    try {
        const std::string content = ReadWholeFile(file);
        const int added = pelko::ImportDrawsCsv(content, draws_);
        SaveDraws();
        return added;
    } catch (const std::exception& e) {
        host_.ErrorBox(e.what());
        return -1;
    }
}

bool Workspace::ExportDrawsCsv(const std::filesystem::path& file) {
    TBusyScope busy(busy_, host_,
                    Format("Экспорт тиражей в файл \"%s\"...", file.filename().string().c_str()));
    try {
        WriteFileAtomically(file, DrawsToCsv(draws_));
        return true;
    } catch (const std::exception& e) {
        host_.ErrorBox(e.what());
        return false;
    }
}

void Workspace::ChangeDrawsOffset(int k) {
    k = ClampDrawsOffset(draws_, k);
    if (k == drawsOffset_)
        return;
    drawsOffset_ = k;
    DrawsViewChanged();
    RefreshViews();
}

int Workspace::AnalysisIndex() const {
    return draws_.empty() ? -1 : pelko::AnalysisIndex(draws_, drawsOffset_);
}

void Workspace::SetSortedDraws(bool sorted) {
    if (sorted == sortedDraws_)
        return;
    sortedDraws_ = sorted;
    DrawsViewChanged();
    RefreshViews();
}

void Workspace::DrawsViewChanged() {
    if (OnDrawsViewChanged)
        OnDrawsViewChanged();
}

void Workspace::RefreshViews() {
    if (OnRefreshViews)
        OnRefreshViews();
}

} // namespace pelko
