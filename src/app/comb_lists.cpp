#include "app/comb_lists.h"

#include "core/comb_files.h"
#include "core/comb_generation.h"
#include "core/exclude_draws.h"
#include "core/format.h"
#include "core/record_helpers.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <stdexcept>

namespace pelko {

namespace {

std::filesystem::path PathFromText(const std::string& text) {
    return std::filesystem::path(std::u8string(text.begin(), text.end()));
}

std::string PathText(const std::filesystem::path& file) {
    const std::u8string text = file.u8string();
    return std::string(text.begin(), text.end());
}

// Status texts "<what> ( завершено 12 % )..." from a pass's progress.
TProgressFn PercentStatus(Host& host, std::string what) {
    return [&host, what = std::move(what)](std::size_t done, std::size_t total) {
        host.StatusText(PercentText(what, static_cast<double>(done), static_cast<double>(total)));
    };
}

} // namespace

TCombLists::TCombLists(Host& host, TBusyState& busy) : host_(host), busy_(busy) {}

void TCombLists::ListChanged() {
    if (OnListChanged) OnListChanged();
}

void TCombLists::HistoryChanged() {
    if (OnHistoryChanged) OnHistoryChanged();
}

void TCombLists::ShowFailure(const std::string& message, const std::exception& e) {
    host_.ErrorBox(message + "\n\n" + e.what());
}

void TCombLists::ReserveAll() {
    List.Reserve(COMBS_TOTAL);
    Undo.Reserve(COMBS_TOTAL);
}

// ---------------------------------------------------------------- undo

void TCombLists::BackupCombs(bool showStatus) {
    if (showStatus) host_.StatusText("Создание файла отката...");
    Undo.CopyFrom(List);
}

void TCombLists::RestoreCombs(bool showStatus) {
    if (showStatus) host_.StatusText("Отмена изменений...");
    try {
        List.CopyFrom(Undo);
    } catch (...) {
        List.Clear();
        DropUndo();
        ListChanged();
        throw;
    }
    DropUndo();
    ListChanged();
}

// ---------------------------------------------------------------- generation and files

bool TCombLists::GenerateCombs(bool interactive, const TGenerateParams& params) {
    std::optional<TBusyScope> scope;
    if (interactive) scope.emplace(busy_, host_, "Генерация возможных комбинаций...");
    bool ok = true;
    try {
        List.Clear();
        if (params.Mode == GEN_FROM_FILE)
            ok = LoadCombsFile(PathFromText(params.Parameters)); // shows its own box
        else
            pelko::GenerateCombs(List, params);
        if (interactive) {
            ClearFilterHistory();
            ListChanged();
            Undo.Reserve(List.Count());
            DropUndo();
        }
    } catch (const std::exception& e) {
        // The undo copy still holds the list from before, so the user can go back.
        ShowFailure("Ошибка генерации файла комбинаций!", e);
        if (interactive) ListChanged();
        return false;
    }
    return ok;
}

bool TCombLists::LoadCombsFile(const std::filesystem::path& file) {
    try {
        if (const std::size_t refused = pelko::LoadCombsFile(file, List); refused > 0)
            host_.Remark(RefusedNumbersText(refused));
        return true;
    } catch (const std::exception& e) {
        ShowFailure(Format("Ошибка чтения файла \"%s\"!", PathText(file).c_str()), e);
        return false;
    }
}

bool TCombLists::SaveCombsFile(const std::filesystem::path& file) {
    const std::string name = PathText(file);
    TBusyScope scope(busy_, host_, Format("Сохранение файла \"%s\"...", name.c_str()));
    try {
        pelko::SaveCombsFile(file, List);
        return true;
    } catch (const std::exception& e) {
        ShowFailure(Format("Ошибка записи в файл \"%s\"!", name.c_str()), e);
        return false;
    }
}

bool TCombLists::OpenCombsFile(const std::filesystem::path& file) {
    BackupCombs(true);
    TBusyScope scope(busy_, host_, Format("Загрузка файла \"%s\"...", PathText(file).c_str()));
    const bool loaded = LoadCombsFile(file);
    if (!loaded) RestoreCombs(true);
    DropUndo(); // a loaded list cannot be undone
    ClearFilterHistory();
    ListChanged();
    return loaded;
}

// ---------------------------------------------------------------- clipboard text

std::string TCombLists::CopyText(const TCombSelection& selection) {
    TBusyScope scope(busy_, host_, "Подождите пожалуйста...");
    return CombsToClipboardText(List.Data(), List.Count(), selection);
}

bool TCombLists::PasteText(std::string_view text) {
    TBusyScope scope(busy_, host_, "Подождите пожалуйста...");
    if (CountTextLines(text) == 0) return false;
    BackupCombs(false);
    bool pasted = false;
    try {
        if (const std::size_t refused = ClipboardTextToCombs(text, List); refused > 0)
            host_.Remark(RefusedNumbersText(refused));
        ClearFilterHistory();
        pasted = true;
    } catch (const std::exception& e) {
        host_.ErrorBox(e.what());
        RestoreCombs(true);
    }
    DropUndo();
    ListChanged();
    return pasted;
}

// ---------------------------------------------------------------- narrowing

void TCombLists::ExcludeRecentDraws(int n, const TDrawsArray& draws, int drawsOffset) {
    const std::string what = Format("Удаление из списка комбинаций %d последних тиражей", n);
    TBusyScope scope(busy_, host_, what + "...");
    List.Reserve(Undo.Capacity());
    ExcludeDrawsFromCombs(Undo.Data(), Undo.Count(), draws,
                          RecentDrawsWindow(draws, drawsOffset, n), List,
                          PercentStatus(host_, what));
    AddFilterHistory(true, "Последние тиражи", std::to_string(n));
    ListChanged();
}

void TCombLists::DeleteSelectedCombs(const TCombSelection& selection) {
    TBusyScope scope(busy_, host_, "Удаление выделенных комбинаций...");
    const std::size_t total = Undo.Count();
    List.Clear();
    List.Reserve(Undo.Capacity());
    TComb* out = List.Data();
    std::size_t from = 0; // start of the unselected run before the next range
    auto keep = [&](std::size_t end) {
        if (end > from) {
            std::memcpy(out, Undo.Data() + from, (end - from) * sizeof(TComb));
            out += end - from;
        }
    };
    for (const TCombSelection::TRange& r : selection.Ranges()) {
        if (r.Begin >= total) break;
        keep(r.Begin);
        from = std::min(r.End, total);
    }
    keep(total);
    List.SetCount(static_cast<std::size_t>(out - List.Data()));
    AddFilterHistory(true, "Выделенные комбинации", std::to_string(selection.CountBelow(total)));
    ListChanged();
}

// ---------------------------------------------------------------- actions

void TCombLists::CombsGen(const TGenerateParams& params) {
    BackupCombs(true);
    GenerateCombs(true, params);
}

bool TCombLists::CombsUndo() {
    if (!CanUndo()) return false;
    TBusyScope scope(busy_, host_);
    RestoreCombs(true);
    RemoveLastFilterHistory();
    return true;
}

void TCombLists::CombsDelExists(int n, const TDrawsArray& draws, int drawsOffset) {
    BackupCombs(true);
    ExcludeRecentDraws(n, draws, drawsOffset);
}

void TCombLists::CombsDelSelected(const TCombSelection& selection) {
    BackupCombs(true);
    DeleteSelectedCombs(selection);
}

// ---------------------------------------------------------------- queries

bool TCombLists::IsInCombs(const TComb& comb) const {
    return std::find(List.begin(), List.end(), comb) != List.end();
}

std::optional<TComb> TCombLists::FirstSelected(const TCombSelection& selection) const {
    if (const auto first = selection.FirstBelow(List.Count())) return List[*first];
    return std::nullopt;
}

std::vector<std::string> TCombLists::FindInDraws(const TComb& comb, const TDrawsArray& draws) {
    TBusyScope scope(busy_, host_, "Поиск по архиву тиражей...");
    std::vector<std::string> hits = FindCombInDraws(comb, draws);
    if (hits.empty()) {
        host_.InfoBox("Выделенная комбинация не найдена архиве тиражей!");
        return hits;
    }
    std::string text = "Выделенная комбинация найдена в следующих тиражах:\n";
    for (const std::string& hit : hits)
        text += "\n" + hit;
    host_.InfoBox(text);
    return hits;
}

int TCombLists::CountUniqueNumbers() {
    TBusyScope scope(busy_, host_, "Подождите пожалуйста...");
    const int count = pelko::CountUniqueNumbers(List);
    host_.InfoBox(Format("В текущем списке комбинаций содержится %d уникальных номеров", count));
    return count;
}

// ---------------------------------------------------------------- history

void TCombLists::AddFilterHistory(bool exclude, std::string operation, std::string values) {
    history_.push_back({std::move(operation), std::move(values), List.Count(),
                        exclude ? TFilterKind::Exclude : TFilterKind::Include});
    HistoryChanged();
}

void TCombLists::AddUndoHistory() {
    history_.push_back({"Отмена последней операции", "", List.Count(), TFilterKind::Undo});
    HistoryChanged();
}

void TCombLists::ClearFilterHistory() {
    history_.clear();
    HistoryChanged();
}

void TCombLists::RemoveLastFilterHistory() {
    if (history_.empty()) return;
    history_.pop_back();
    HistoryChanged();
}

// ---------------------------------------------------------------- buffer file

void TCombLists::SaveCombsBuffer(int k, int n) {
    if (bufferKey_ == std::pair{k, n}) return;
    TBusyScope scope(busy_, host_, "Создание буфера комбинаций...");
    bufferKey_ = {k, n};
    try {
        WriteCombsBuffer(bufferFile_, List.Data(), List.Count(),
                         PercentStatus(host_, "Создание буфера комбинаций"));
    } catch (const std::exception& e) {
        // A half-written buffer must never be taken for the list of this key.
        DropCombsBuffer();
        ShowFailure("Ошибка создания буфера комбинаций!", e);
    }
}

bool TCombLists::LoadCombsBuffer(int k, int n) {
    std::error_code ec;
    if (bufferKey_ != std::pair{k, n} || !std::filesystem::exists(bufferFile_, ec)) return false;
    TBusyScope scope(busy_, host_, "Загрузка буфера комбинаций...");
    // With nothing to undo, the undo copy's storage takes the file, so that a failed read
    // leaves the list as it was; otherwise the file is read into the list itself.
    const bool viaUndo = !CanUndo();
    try {
        const TProgressFn progress = PercentStatus(host_, "Загрузка буфера комбинаций");
        if (viaUndo) {
            Undo.Reserve(List.Capacity());
            ReadCombsBuffer(bufferFile_, Undo, progress);
            std::swap(List, Undo);
            DropUndo();
        } else {
            ReadCombsBuffer(bufferFile_, List, progress);
        }
    } catch (const std::exception& e) {
        if (viaUndo) DropUndo();
        ShowFailure("Ошибка загрузки буфера комбинаций!", e);
        ListChanged();
        return false;
    }
    ListChanged();
    return true;
}

void TCombLists::DropCombsBuffer() {
    bufferKey_ = {-1, -1};
    std::error_code ignored;
    if (!bufferFile_.empty()) std::filesystem::remove(bufferFile_, ignored);
}

} // namespace pelko
