#include "app/workspace.h"

#include "core/atomic_file.h"
#include "core/draw_archive.h"
#include "core/draw_csv.h"
#include "core/format.h"
#include "platform/data_folder.h"

#include <stdexcept>

namespace pelko {

namespace {
constexpr const char* COMBS_BUFFER_FILE_NAME = "Pelko_6x45.~buff";
}

Workspace::Workspace(Host& host, std::filesystem::path dataFolder)
    : host_(host), busy_(host), dataFolder_(std::move(dataFolder)), combs_(host, busy_) {
    combs_.SetBufferFile(DataFile(COMBS_BUFFER_FILE_NAME));
}

Workspace::~Workspace() = default;

std::filesystem::path Workspace::IniFile() const {
    return DataFile(DATA_INI_NAME);
}

void Workspace::Open(bool withCombinations) {
    LoadConfig();
    LoadDraws();
    if (withCombinations)
        GenerateStartupCombs();
}

void Workspace::GenerateStartupCombs() {
    combs_.ReserveAll();
    combs_.GenerateCombs(true, generateParams_);
}

void Workspace::ShowFailure(const std::string& message, const std::exception& e) {
    host_.ErrorBox(message + "\n\n" + e.what());
}

// ---------------------------------------------------------------- parameters

void Workspace::LoadConfig() {
    TBusyScope busy(busy_, host_, "Загрузка файла конфигурации...");
    try {
        config_ = pelko::LoadConfig(IniFile());
        generateParams_ = pelko::LoadGenerateParams(IniFile());
        shredding_ = pelko::LoadShredding(IniFile());
    } catch (const std::exception& e) {
        ShowFailure("Ошибка чтения файла конфигурации!", e);
    }
}

bool Workspace::SaveConfig(const TConfigData& config) {
    TBusyScope busy(busy_, host_, "Сохранение файла конфигурации...");
    config_ = config;
    try {
        pelko::SaveConfig(IniFile(), config_);
        return true;
    } catch (const std::exception& e) {
        ShowFailure("Ошибка записи в файл конфигурации!", e);
        return false;
    }
}

bool Workspace::SaveGenerateParams(const TGenerateParams& params) {
    generateParams_ = params;
    try {
        pelko::SaveGenerateParams(IniFile(), generateParams_);
        return true;
    } catch (const std::exception& e) {
        ShowFailure("Ошибка записи в файл конфигурации!", e);
        return false;
    }
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
