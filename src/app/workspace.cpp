#include "app/workspace.h"

#include "app/script_desk.h"
#include "app/stakes_workspace.h"

#include "core/atomic_file.h"
#include "core/draw_archive.h"
#include "core/draw_csv.h"
#include "core/format.h"
#include "core/ini_file.h"
#include "filters/filter_by_selection.h"
#include "core/record_helpers.h"
#include "platform/data_folder.h"
#include "platform/data_folder_lock.h"
#include "platform/temp_files.h"
#include "stats/analysis/numbers_pick.h"
#include "stats/changed_prefetchs.h"

#include <optional>
#include <stdexcept>

namespace pelko {

namespace {
constexpr const char* COMBS_BUFFER_FILE_NAME = "Pelko_6x45.~buff";
constexpr const char* NAMES_FILE_NAME = "Pelko_6x45.flt";
}

Workspace::Workspace(Host& host, std::filesystem::path dataFolder, TDataAccess access)
    : host_(host), access_(access), busy_(host), dataFolder_(std::move(dataFolder)), combs_(host, busy_),
      stats_(draws_, TConfigData{}), prefetch_(stats_, dataFolder_), statTable_(stats_, &prefetch_) {
    combs_.SetBufferFile(DataFile(COMBS_BUFFER_FILE_NAME));
    stakes_ = std::make_unique<TStakesDesk>(*this);
    script_ = std::make_unique<TScriptDesk>(*this);
}

bool Workspace::LockDataFolder(std::chrono::milliseconds wait, const std::string& addendum) {
    if (ReadOnly() || lock_) return true;
    try {
        lock_ = TDataFolderLock::Acquire(dataFolder_, wait);
    } catch (const std::exception& e) {
        host_.ErrorBox(addendum.empty() ? std::string(e.what())
                                        : std::string(e.what()) + "\n\n" + addendum);
        return false;
    }
    RemoveStaleTempFiles(dataFolder_);
    return true;
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
    configLoadFailed_ = true;
    try {
        stats_.Config = pelko::LoadConfig(IniFile());
        stats_.Generate = pelko::LoadGenerateParams(IniFile());
        stats_.Shredding = pelko::LoadShredding(IniFile());
        const TIniFile ini(IniFile());
        LoadProxySettings(ini, proxy_);
        online_ = LoadOnlineSettings(ini);
        configLoadFailed_ = false;
    } catch (const std::exception& e) {
        ShowFailure("Ошибка чтения файла конфигурации!", e);
    }
}

bool Workspace::SaveProxySettings(bool showStatus) {
    std::optional<TBusyScope> busy;
    if (showStatus) busy.emplace(busy_, host_, "Сохранение файла конфигурации...");
    if (!WriteIniSections([this](TIniFile& ini) { pelko::SaveProxySettings(ini, proxy_); }))
        return false;
    proxy_.Saved = true;
    return true;
}

bool Workspace::SaveOnlineSettings(const TOnlineSettings& settings) {
    if (!WriteIniSections([&](TIniFile& ini) { pelko::SaveOnlineSettings(ini, settings); }))
        return false;
    online_ = settings;
    return true;
}

bool Workspace::WriteIniSections(const std::function<void(TIniFile&)>& write) {
    if (!MaySave(configLoadFailed_)) return false;
    try {
        TIniFile ini(IniFile());
        write(ini);
        ini.Save();
        return true;
    } catch (const std::exception& e) {
        ShowFailure("Ошибка записи в файл конфигурации!", e);
        return false;
    }
}

bool Workspace::MaySave(bool loadFailed, const char* refusal) {
    if (ReadOnly()) {
        host_.ErrorBox(READ_ONLY_MESSAGE);
        return false;
    }
    if (loadFailed) {
        host_.ErrorBox(refusal);
        return false;
    }
    return true;
}

bool Workspace::SaveConfig(const TConfigData& config) {
    if (!MaySave(configLoadFailed_)) return false;
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
    if (!MaySave(configLoadFailed_)) return false;
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
    if (!MaySave(configLoadFailed_)) return;
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
    if (!MaySave(configLoadFailed_)) return;
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
    namesLoadFailed_ = !stats_.LoadNames(NamesFile(), true, &error);
    if (namesLoadFailed_)
        host_.ErrorBox(error);
}

void Workspace::RebuildMethods() {
    std::string error;
    // Names that failed to load are not written back over the file.
    if (!ReadOnly() && !namesLoadFailed_ && !stats_.SaveNames(NamesFile(), true, false, &error))
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

bool Workspace::NumbersFilter(const TNumbersPick& pick, bool exclude, const std::string& operation) {
    if (combs_.List.Count() == 0) return false;
    try {
        combs_.BackupCombs(true);
        if (pick.Empty()) {
            host_.ErrorBox(NO_FILTER_VALUES_MESSAGE);
            return false;
        }
        const int method = stats_.IndexOfCode("NUMS");
        if (method < 0) throw std::runtime_error("Метод \"NUMS\" не найден!");
        auto stat = stats_.CreateStat(method);
        TStatDrawArray rows;
        for (const int n : pick.Numbers) {
            TStatDraw item;
            item.Key = TStatKey::FromK(static_cast<std::uint16_t>(n));
            rows.push_back(item);
        }
        FilterBySelection(*stat, rows, exclude, operation, pick.Text);
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
    drawsLoadFailed_ = true;
    try {
        const TDrawsLoad load = ReadDrawsFile(DataFile(DRAWS_FILE_NAME), draws_);
        drawsLoadFailed_ = false;
        if (load.Refused > 0) ReportDrawsLoad(load.Refused);
    } catch (const std::exception& e) {
        ShowFailure("Ошибка чтения файла тиражей!", e);
    }
    drawsOffset_ = ClampDrawsOffset(draws_, drawsOffset_);
    DrawsViewChanged();
}

// Draws with impossible numbers are left out of the archive in memory; the next save
// would drop them from the file too, so a writer keeps a copy of the file first.
void Workspace::ReportDrawsLoad(std::size_t refused) {
    std::string text = Format("В файле тиражей найдено записей с некорректными числами (вне 1..45 "
                              "или повторяющимися): %zu. Эти записи пропущены.",
                              refused);
    if (!ReadOnly()) {
        try {
            const auto copy = KeepBackupCopy(DataFile(DRAWS_FILE_NAME));
            text += Format(" Копия файла: %s", copy.filename().string().c_str());
        } catch (const std::exception& e) {
            // Without the copy the file must not be rewritten.
            drawsLoadFailed_ = true;
            text += std::string("\n\n") + e.what();
        }
    }
    host_.WarningBox(text, "Предупреждение");
}

bool Workspace::MayChangeDraws() {
    return MaySave(drawsLoadFailed_, DRAWS_NOT_LOADED_MESSAGE);
}

bool Workspace::SaveDraws() {
    if (!MayChangeDraws()) return false;
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

bool Workspace::AddDraw(const TDrawData& draw) {
    if (!MayChangeDraws()) return false;
    draws_.push_back(draw);
    if (!SaveDraws()) {
        draws_.pop_back(); // the file was not changed: neither is the archive
        DrawsViewChanged();
        return false;
    }
    RefreshViews();
    return true;
}

bool Workspace::AppendDraws(const std::vector<TDrawData>& draws) {
    if (!MayChangeDraws()) return false;
    const std::size_t before = draws_.size();
    draws_.insert(draws_.end(), draws.begin(), draws.end());
    if (!SaveDraws()) {
        draws_.resize(before);
        DrawsViewChanged();
        return false;
    }
    RefreshViews();
    return true;
}

bool Workspace::ReplaceDraw(int index, const TDrawData& draw) {
    if (index < 0 || index >= static_cast<int>(draws_.size()) || !MayChangeDraws())
        return false;
    const TDrawData old = draws_[index];
    draws_[index] = draw;
    if (!SaveDraws()) {
        draws_[index] = old;
        DrawsViewChanged();
        return false;
    }
    RefreshViews();
    return true;
}

bool Workspace::DeleteDraws(const std::vector<std::int32_t>& numbers) {
    if (numbers.empty() || !MayChangeDraws())
        return false;
    const std::string question =
        numbers.size() == 1
            ? std::string("Удалить выделенную запись?")
            : Format("Удалить все выделенные записи (всего будет удалено %d записи(ей))?",
                     static_cast<int>(numbers.size()));
    if (!host_.AskYesNo(question, "Предупреждение", false))
        return false;
    bool saved = false;
    {
        TBusyScope busy(busy_, host_, "Удаление выделенных тиражей....");
        const TDrawsArray before = draws_;
        try {
            // The list shows the newest first; deleting from its last item up.
            for (auto it = numbers.rbegin(); it != numbers.rend(); ++it)
                DeleteDraw(draws_, FindDraw(draws_, *it));
        } catch (const std::exception& e) {
            // Nothing was saved: the archive stays as the file holds it.
            host_.ErrorBox(e.what());
            draws_ = before;
            DrawsViewChanged();
            return false;
        }
        drawsOffset_ = ClampDrawsOffset(draws_, drawsOffset_);
        DrawsViewChanged();
        saved = SaveDraws();
        if (!saved) {
            draws_ = before;
            drawsOffset_ = ClampDrawsOffset(draws_, drawsOffset_);
            DrawsViewChanged();
        }
    }
    if (saved) RefreshViews();
    return saved;
}

int Workspace::ImportDrawsCsv(const std::filesystem::path& file) {
    if (!MayChangeDraws())
        return -1;
    TBusyScope busy(busy_, host_,
                    Format("Импорт тиражей из файла \"%s\"...", file.filename().string().c_str()));
    const std::size_t before = draws_.size();
    try {
        const std::string content = ReadWholeFile(file, MAX_DRAWS_CSV_BYTES);
        const TDrawsImport import = pelko::ImportDrawsCsv(content, draws_);
        if (import.Refused > 0) host_.Remark(RefusedNumbersText(import.Refused));
        if (!SaveDraws()) {
            draws_.resize(before);
            DrawsViewChanged();
            return -1;
        }
        return import.Added;
    } catch (const std::exception& e) {
        draws_.resize(before);
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
