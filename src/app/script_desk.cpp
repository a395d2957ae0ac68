#include "app/script_desk.h"

#include "app/workspace.h"
#include "core/format.h"
#include "filters/filter_text.h"
#include "scenarios/script_file.h"
#include "scenarios/script_line.h"
#include "scenarios/script_options.h"

#include <algorithm>

namespace pelko {

namespace {

std::string DeleteQuestion(std::size_t count) {
    return count == 1
               ? std::string("Удалить выделенную запись?")
               : Format("Удалить все выделенные записи (всего будет удалено %lld записи(ей))?",
                        static_cast<long long>(count));
}

std::size_t DistinctCount(std::vector<std::size_t> indices) {
    std::sort(indices.begin(), indices.end());
    return static_cast<std::size_t>(std::unique(indices.begin(), indices.end()) - indices.begin());
}

} // namespace

TScriptRowTexts ScriptRowTexts(const TStatList& stats, const std::string& line) {
    TScriptRowTexts cells;
    if (IsSeparatorLine(line)) return cells;
    cells[0] = ScriptLineField(line, SCRIPT_COMMENT_FIELD);
    cells[1] = OptionsCaption(TextToOptions(ScriptLineField(line, SCRIPT_OPTIONS_FIELD)));
    for (int i = 0; i < SCRIPT_FILTER_COUNT; ++i)
        cells[static_cast<std::size_t>(2 + i)] =
            FilterToText(TextToFilter(stats, ScriptLineField(line, SCRIPT_FIRST_FILTER_FIELD + i)));
    return cells;
}

bool IsAcceptableScriptLine(const TStatList& stats, const std::string& line) {
    if (IsSeparatorLine(line) || ScriptLineField(line, SCRIPT_OPTIONS_FIELD).empty()) return false;
    for (int i = 0; i < SCRIPT_FILTER_COUNT; ++i)
        if (!FilterToText(TextToFilter(stats, ScriptLineField(line, SCRIPT_FIRST_FILTER_FIELD + i)))
                 .empty())
            return true;
    return false;
}

TScriptDesk::TScriptDesk(Workspace& ws) : ws_(ws), log_(ws.DataFolder()) {}

std::filesystem::path TScriptDesk::WorkingFile() const {
    return ws_.DataFile(WORKING_SCRIPT_FILE_NAME);
}

std::string TScriptDesk::LineCountText() const {
    return Format("Строк: %lld", static_cast<long long>(lines_.Count()));
}

void TScriptDesk::RefreshScriptView() {
    if (OnScriptChanged) OnScriptChanged();
}

void TScriptDesk::ShowFailure(const std::string& message, const std::exception& e) {
    ws_.GetHost().ErrorBox(message + "\n\n" + e.what());
}

// ---------------------------------------------------------------- files

bool TScriptDesk::LoadWorkingScript() {
    std::error_code ec;
    workingLoadFailed_ = false;
    if (!std::filesystem::exists(WorkingFile(), ec)) return false;
    workingLoadFailed_ = !LoadScript(WorkingFile(), false);
    return !workingLoadFailed_;
}

bool TScriptDesk::SaveWorkingScript() {
    if (!MayEdit()) return false;
    return SaveScript(WorkingFile());
}

bool TScriptDesk::MayEdit() {
    return ws_.MaySave(workingLoadFailed_);
}

bool TScriptDesk::LoadScript(const std::filesystem::path& file, bool append) {
    const std::string name = file.string();
    TBusyScope busy(ws_.Busy(), ws_.GetHost(), Format("Загрузка файла \"%s\"...", name.c_str()));
    bool ok = true;
    try {
        std::vector<std::string> loaded = ReadScriptFile(file);
        if (append)
            lines_.Append(loaded);
        else
            lines_.Replace(std::move(loaded));
    } catch (const std::exception& e) {
        ShowFailure(Format("Ошибка чтения файла \"%s\"!", name.c_str()), e);
        ok = false;
    }
    RefreshScriptView();
    return ok;
}

bool TScriptDesk::SaveScript(const std::filesystem::path& file) {
    const std::string name = file.string();
    TBusyScope busy(ws_.Busy(), ws_.GetHost(), Format("Сохранение файла \"%s\"...", name.c_str()));
    bool ok = true;
    try {
        WriteScriptFile(file, lines_.Lines());
    } catch (const std::exception& e) {
        ShowFailure(Format("Ошибка записи в файл \"%s\"!", name.c_str()), e);
        ok = false;
    }
    RefreshScriptView();
    return ok;
}

bool TScriptDesk::OpenScript(const std::filesystem::path& file) {
    if (ws_.ReadOnly() || !LoadScript(file, false)) return false;
    // The lines were replaced as a whole: what the working file held is not needed.
    workingLoadFailed_ = false;
    return SaveWorkingScript();
}

bool TScriptDesk::AppendScript(const std::filesystem::path& file) {
    return MayEdit() && LoadScript(file, true) && SaveWorkingScript();
}

// ---------------------------------------------------------------- lines

namespace {

// A scenario line is one line of its file: line breaks inside a text would split it into
// several lines at the next load.
std::string OneLine(std::string text) {
    for (char& c : text)
        if (c == '\r' || c == '\n')
            c = ' ';
    return text;
}

} // namespace

std::size_t TScriptDesk::AddScriptLine(const std::string& text) {
    if (!MayEdit()) return static_cast<std::size_t>(-1);
    const std::size_t index = lines_.Add(OneLine(text));
    SaveWorkingScript();
    return index;
}

bool TScriptDesk::SetScriptLine(std::size_t index, const std::string& text) {
    if (!MayEdit()) return false;
    try {
        lines_.Set(index, OneLine(text));
    } catch (const std::exception& e) {
        ws_.GetHost().ErrorBox(e.what());
        return false;
    }
    return SaveWorkingScript();
}

const std::string& TScriptDesk::GetScriptLine(std::size_t index) const {
    return lines_.Get(index);
}

bool TScriptDesk::DeleteScriptRows(const std::vector<std::size_t>& indices) {
    const std::size_t count = DistinctCount(indices);
    if (count == 0 || !MayEdit() || !ws_.GetHost().AskYesNo(DeleteQuestion(count), "Предупреждение", false))
        return false;
    bool ok = true;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Удаление строк...");
        try {
            lines_.DeleteRows(indices);
        } catch (const std::exception& e) {
            ws_.GetHost().ErrorBox(e.what());
            ok = false;
        }
        RefreshScriptView();
    }
    return SaveWorkingScript() && ok;
}

bool TScriptDesk::ClearScript() {
    if (lines_.Empty() || !MayEdit() ||
        !ws_.GetHost().AskYesNo(DeleteQuestion(lines_.Count()), "Предупреждение", false))
        return false;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Удаление строк...");
        lines_.Clear();
        RefreshScriptView();
    }
    return SaveWorkingScript();
}

bool TScriptDesk::MoveScriptUp(std::size_t index) {
    return MayEdit() && lines_.MoveUp(index) && SaveWorkingScript();
}

bool TScriptDesk::MoveScriptDown(std::size_t index) {
    return MayEdit() && lines_.MoveDown(index) && SaveWorkingScript();
}

// ---------------------------------------------------------------- run log

void TScriptDesk::StartScriptLog() {
    if (ScriptLogEnabled)
        log_.Start();
    else
        log_.End();
}

void TScriptDesk::ScriptLog(const std::string& message) {
    if (!ScriptLogEnabled) return;
    ws_.GetHost().LogLine(message);
    try {
        log_.Write(message);
    } catch (const std::exception& e) {
        ws_.GetHost().ErrorBox(Format("Ошибка записи журнала: %s!", e.what()));
    }
}

std::optional<std::filesystem::path> TScriptDesk::EndScriptLog() {
    std::optional<std::filesystem::path> file = log_.End();
    if (!ScriptLogEnabled) return std::nullopt;
    return file;
}

bool TScriptDesk::DeleteScriptLogs() {
    const std::vector<std::filesystem::path> logs = FindScriptLogs(ws_.DataFolder());
    if (logs.empty()) {
        ws_.GetHost().InfoBox("Файлы журналов не найдены!");
        return false;
    }
    TFilesDeleted result;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Поиск файлов журналов...");
        result = DeleteFiles(logs);
    }
    const std::string text =
        std::string("Удаление файлов журналов сценариев") + "\n\n" +
        Format("Всего - %d, обработано - %d, пропущено - %d, предупреждений - %d, ошибок - %d.",
               result.Total, result.Deleted, 0, 0, result.Failed);
    if (result.Failed == 0)
        ws_.GetHost().InfoBox(text);
    else
        ws_.GetHost().WarningBox(text, "Предупреждение");
    return result.Failed == 0;
}

void TScriptDesk::SetLogClock(TClock clock) {
    log_ = TScriptLog(ws_.DataFolder(), std::move(clock));
}

} // namespace pelko
