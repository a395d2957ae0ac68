#include "app/ratings_desk.h"

#include "app/stakes_workspace.h"
#include "app/workspace.h"
#include "core/atomic_file.h"
#include "core/format.h"
#include "stakes/rating_view.h"
#include "stakes/stake_search.h"

namespace pelko {

TRatingsDesk::TRatingsDesk(Workspace& ws, TStakesDesk& stakes, TStakesOptions& options)
    : ws_(ws), stakes_(stakes), options_(options) {}

std::filesystem::path TRatingsDesk::Path() const {
    return ws_.DataFile(RATINGS_FILE_NAME);
}

void TRatingsDesk::Changed() {
    if (OnChanged) OnChanged();
}

void TRatingsDesk::StakesSettled() {
    if (batch_) {
        ratings_.Sort(options_.SortColumn, options_.SortDescending);
        SaveInBatch();
    } else {
        Sort(options_.SortColumn, options_.SortDescending);
    }
}

void TRatingsDesk::BeginBatch() {
    batch_ = true;
    pending_ = false;
    saved_ = std::chrono::steady_clock::now();
}

void TRatingsDesk::SaveInBatch() {
    const auto now = std::chrono::steady_clock::now();
    if (now - saved_ < std::chrono::seconds(1)) {
        pending_ = true;
        Changed();
        return;
    }
    pending_ = false;
    saved_ = now;
    Save();
}

void TRatingsDesk::EndBatch() {
    batch_ = false;
    if (pending_) {
        pending_ = false;
        Save();
    }
}

void TRatingsDesk::Load() {
    loadFailed_ = true;
    if (std::error_code ec; std::filesystem::exists(Path(), ec)) {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Загрузка файла рейтинга...");
        try {
            ratings_.Assign(ReadRatingsFile(Path()));
            loadFailed_ = false;
        } catch (const std::exception& e) {
            ShowFailureBox(ws_.GetHost(), "Ошибка чтения файла рейтинга!", e);
        }
    } else {
        loadFailed_ = false;
    }
    if (loadFailed_ || ws_.ReadOnly()) {
        ratings_.Sort(options_.SortColumn, options_.SortDescending);
        Changed();
        return;
    }
    Sort(options_.SortColumn, options_.SortDescending);
}

bool TRatingsDesk::Save() {
    if (ws_.ReadOnly()) return false; // a sort to look at, not to keep
    if (!ws_.MaySave(loadFailed_)) {
        Changed();
        return false;
    }
    bool ok = true;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Сохранение файла рейтинга...");
        try {
            WriteRatingsFile(Path(), ratings_.Rows());
        } catch (const std::exception& e) {
            ShowFailureBox(ws_.GetHost(), "Ошибка записи в файл рейтинга!", e);
            ok = false;
        }
    }
    Changed();
    return ok;
}

void TRatingsDesk::Sort(int column, bool descending) {
    options_.SortColumn = column;
    options_.SortDescending = descending;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Сортировка рейтинга...");
        ratings_.Sort(column, descending);
    }
    Save();
}

bool TRatingsDesk::Refresh() {
    if (!ws_.MaySave(loadFailed_)) return false;
    if (!ratings_.Empty() &&
        !ws_.GetHost().AskYesNo("Пересчитать рейтинг только по текущим ставкам?\n\n"
                                "Накопленные ранее данные по удаленным ставкам будут потеряны.",
                                "Подтверждение", true))
        return false;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Обновление рейтинга...");
        try {
            ratings_.Clear();
            ForEachStakeRecord(stakes_.File(), 0, [&](std::int64_t, const char* raw) {
                const TStakeData stake = DecodeStakeRecord(raw);
                if (stake.DrawNumber >= 0 && stake.IsChecked() && IsValidStakeRecord(stake))
                    ratings_.AddStake(stake);
                return true;
            });
        } catch (const std::exception& e) {
            ShowFailureBox(ws_.GetHost(), "Ошибка обновления рейтинга!", e);
            Changed();
            return false;
        }
    }
    Sort(options_.SortColumn, options_.SortDescending);
    return true;
}

bool TRatingsDesk::ExportCsv(const std::filesystem::path& file, char decimalPoint) {
    TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Экспорт в CSV-файл...");
    try {
        WriteFileAtomically(file, RatingsToCsv(ratings_.Rows(), decimalPoint));
        return true;
    } catch (const std::exception& e) {
        ShowFailureBox(ws_.GetHost(), Format("Ошибка записи в файл \"%s\"!", file.string().c_str()), e);
        return false;
    }
}

int TRatingsDesk::ToScript(const std::vector<std::size_t>& rows,
                                 const std::function<bool(const std::string&)>& addLine) {
    int added = 0;
    TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Генерация новых строк в сценарии...");
    for (const std::size_t r : rows) {
        if (r >= ratings_.Count()) continue;
        const std::string caption = ratings_[r].CommentText();
        if (addLine(RatingCaptionToScriptLine(caption)))
            ++added;
        else
            ws_.GetHost().ErrorBox("Строку\n\n" + caption + "\n\nневозможно добавить в сценарий!");
    }
    return added;
}

// ---------------------------------------------------------------- graphs

std::optional<TGraphData> TRatingsDesk::GraphProfitPerDraw() {
    TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Создание графиков...");
    try {
        return StakesGraphDraws(stakes_.File());
    } catch (const std::exception& e) {
        ws_.GetHost().ErrorBox(e.what());
        return std::nullopt;
    }
}

std::optional<TGraphData> TRatingsDesk::GraphRowsPerDraw(const std::vector<std::size_t>& rows,
                                                        bool profits) {
    TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Создание графиков...");
    std::vector<std::string> captions;
    for (const std::size_t r : rows)
        if (r < ratings_.Count()) captions.push_back(ratings_[r].CommentText());
    try {
        return profits ? StakesGraphProfits(stakes_.File(), captions) : StakesGraphOverlap(stakes_.File(), captions);
    } catch (const std::exception& e) {
        ws_.GetHost().ErrorBox(e.what());
        return std::nullopt;
    }
}

TGraphData TRatingsDesk::GraphRowsDistribution(const std::vector<std::size_t>& rows) const {
    std::vector<TRatingData> selected;
    for (const std::size_t r : rows)
        if (r < ratings_.Count()) selected.push_back(ratings_[r]);
    return RatingsGraphOverlap(selected);
}

} // namespace pelko
