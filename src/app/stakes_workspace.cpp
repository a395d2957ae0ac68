#include "app/stakes_workspace.h"

#include "app/workspace.h"
#include "core/atomic_file.h"
#include "core/codec.h"
#include "core/draw_archive.h"
#include "core/format.h"
#include "core/record_helpers.h"
#include "stakes/rating_view.h"
#include "stakes/stake_appender.h"
#include "stakes/stake_check.h"
#include "stakes/stake_making.h"
#include "stakes/stake_profit.h"
#include "stakes/stake_search.h"

#include <algorithm>
#include <cstring>
#include <random>
#include <set>
#include <unordered_map>

namespace pelko {

namespace {

constexpr const char* OUTDATED_STAKES_MESSAGE =
    "Обнаружен файл ставок устаревшей версии - имеющиеся в файле ставки будут удалены!";

} // namespace

std::string DeleteQuestion(std::int64_t count) {
    return count == 1
               ? std::string("Удалить выделенную запись?")
               : Format("Удалить все выделенные записи (всего будет удалено %lld записи(ей))?",
                        static_cast<long long>(count));
}

std::string ExclusiveAccessMessage() {
    return "Невозможно получить монопольный доступ к файлам данных!\n\n"
           "Возможные причины данной ошибки: \n\n"
           "1) Вы пытаетесь запустить вторую копию программы из одного и того же каталога. "
           "Корректная работа нескольких копий программы возможна только из разных каталогов.\n\n"
           "2) Для программы нет прав на запись в том каталоге, где она расположена. Например: в "
           "Windows 7 и выше по умолчанию запрещена запись в c:\\Program Files.\n\n"
           "Программа будет закрыта!";
}

TStakesDesk::TStakesDesk(Workspace& ws)
    : ws_(ws), log_(ws.DataFolder()), ratings_(ws, *this, Options), regulars_(ws, *this, Options),
      systems_(ws, *this) {}

TStakesDesk::~TStakesDesk() = default;

void TStakesDesk::ShowFailure(const std::string& message, const std::exception& e) {
    ShowFailureBox(ws_.GetHost(), message, e);
}

void TStakesDesk::StakesChanged(bool refresh, bool scroll) {
    if (OnStakesChanged) OnStakesChanged(refresh, scroll);
}

// ---------------------------------------------------------------- start and end

bool TStakesDesk::Start() {
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Загрузка файла ставок...");
        const std::filesystem::path path = ws_.DataFile(STAKES_FILE_NAME);
        try {
            if (!ws_.ReadOnly())
                file_.Open(path);
            else if (std::error_code ec; std::filesystem::exists(path, ec))
                file_.OpenReadOnly(path); // a reader creates nothing and locks nothing
        } catch (const std::exception& e) {
            ShowFailure("Ошибка чтения файла ставок!", e);
            if (!ws_.ReadOnly()) ws_.GetHost().ErrorBox(ExclusiveAccessMessage());
            return false;
        }
        LoadStakes();
    }
    ratings_.Load();
    if (Options.TablesVisible) regulars_.Load();
    return true;
}

void TStakesDesk::LoadStakes() {
    stakesLoadFailed_ = true;
    try {
        stakesLoadFailed_ = !(file_.IsOpen() ? InspectStakesFile() : true);
    } catch (const std::exception& e) {
        ShowFailure("Ошибка чтения файла ставок!", e);
    }
    file_.DropCache();
    StakesChanged(true, false);
}

// The file as the start-up finds it: whole records of this version (fine), the same with a
// partial record at the end (a kill during an append: the tail is dropped), or something
// else (a file of an older version: emptied after the person agrees). Before anything is
// dropped the file is copied aside. False when the file must not be written.
bool TStakesDesk::InspectStakesFile() {
    const std::int64_t size = file_.Device().Size();
    if (size == 0) return true;
    const std::int64_t record = static_cast<std::int64_t>(STAKE_RECORD_SIZE);
    const std::int64_t tail = size % record;
    const bool current = size >= record && file_.Read(TSeekOrigin::Begin, 0).Version == STAKE_VERSION;
    if (current && tail == 0) return true;
    Host& host = ws_.GetHost();
    if (ws_.ReadOnly()) {
        if (current) {
            host.Remark(Format("Файл ставок оканчивается неполной записью (%lld байт); она не читается.",
                               static_cast<long long>(tail)));
        } else {
            host.WarningBox(OUTDATED_STAKES_MESSAGE, "Предупреждение");
            file_.Close(); // nothing of it can be shown
        }
        return true;
    }
    std::filesystem::path copy;
    try {
        copy = KeepBackupCopy(file_.Path());
    } catch (const std::exception& e) {
        ShowFailure("Ошибка создания резервной копии файла ставок!", e);
        return false;
    }
    if (current) {
        file_.Truncate(size / record);
        host.WarningBox(Format("Файл ставок оканчивается неполной записью: отброшено байт - %lld. "
                               "Все целые записи сохранены. Копия файла: %s",
                               static_cast<long long>(tail), copy.filename().string().c_str()),
                        "Предупреждение");
        return true;
    }
    if (!host.AskYesNo(std::string(OUTDATED_STAKES_MESSAGE) + "\n\n" +
                           Format("Копия файла: %s. Удалить ставки из файла?",
                                  copy.filename().string().c_str()),
                       "Предупреждение", false))
        return false;
    file_.Truncate(0);
    return true;
}

// Stakes are priced by the lottery parameters: with those unread, no stake is written.
bool TStakesDesk::MayWriteStakes() {
    return !file_.IsOpen() || ws_.MaySave(stakesLoadFailed_ || ws_.ConfigLoadFailed());
}

bool TStakesDesk::MayCheckStakes() {
    return MayWriteStakes() && ws_.MaySave(ratings_.LoadFailed());
}

void TStakesDesk::Shutdown() {
    if (!file_.IsOpen()) return;
    TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Сохранение файла ставок...");
    file_.Close();
}

std::int64_t TStakesDesk::StakesCount() {
    try {
        return file_.IsOpen() ? file_.Count() : 0;
    } catch (const std::exception&) {
        return 0;
    }
}

TStakeData TStakesDesk::StakeAt(std::int64_t index) {
    try {
        return file_.Read(TSeekOrigin::Begin, index);
    } catch (const std::exception&) {
        TStakeData empty;
        std::memset(static_cast<void*>(&empty), 0, sizeof empty);
        return empty;
    }
}

// ---------------------------------------------------------------- making

std::int32_t TStakesDesk::NextDrawNumber() const {
    return pelko::NextDrawNumber(ws_.Draws(), ws_.DrawsOffset());
}

TStakeData TStakesDesk::NewStake(std::size_t sampleSize) const {
    return NewStakeDefaults(NextDrawNumber(), sampleSize);
}

std::optional<TStakeData> TStakesDesk::NewRandomStake(const TCombList& list) const {
    if (list.Empty()) return std::nullopt;
    static std::mt19937_64 generator{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, list.Count() - 1);
    TStakeData stake = NewStake(list.Count());
    TComb comb = list[pick(generator)];
    std::sort(comb.begin(), comb.end());
    stake.Numbers = CombToNumberSet(comb);
    PriceStake(stake);
    return stake;
}

void TStakesDesk::PriceStake(TStakeData& stake) const {
    stake.Profit = StakeProfit(ws_.Config(), stake.NumbersCount(), -1);
}

bool TStakesDesk::AddStake(const TStakeData& stake, int drawsCount) {
    if (!MayWriteStakes()) return false;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Создание ставки...");
        try {
            AppendStakes(file_, stake, drawsCount);
        } catch (const std::exception& e) {
            ShowFailure("Ошибка добавления записи в файл ставок!", e);
            return false;
        }
    }
    CheckStakesAndSave();
    StakesChanged(true, true);
    return true;
}

bool TStakesDesk::AddStakeInBatch(const TStakeData& stake, int drawsCount, bool bulk) {
    if (!MayWriteStakes()) return false;
    TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Создание ставок...");
    try {
        AppendStakes(file_, stake, drawsCount);
    } catch (const std::exception& e) {
        ShowFailure("Ошибка добавления записи в файл ставок!", e);
        return false;
    }
    StakesChanged(false, !bulk || Options.ScrollEnabled);
    return true;
}

void TStakesDesk::ReportBulkProgress(std::size_t done, std::size_t total, std::size_t& nextReport) {
    if (done < nextReport) return;
    const std::size_t step = std::max<std::size_t>(1, total / 100);
    nextReport = (done / step + 1) * step;
    ws_.GetHost().StatusText(
        PercentText("Создание ставок", static_cast<double>(done), static_cast<double>(total)));
}

bool TStakesDesk::AddStakesForCombs(const TCombList& list, const TCombSelection* selection,
                                    std::int32_t drawNumber, const std::string& comment,
                                    int drawsCount) {
    if (!MayWriteStakes()) return false;
    TStakeData defaults = NewStake(list.Count());
    defaults.DrawNumber = drawNumber;
    defaults.SetCommentText(comment);
    const TProfitTable profits(ws_.Config());
    defaults.Profit = profits.Profit(LOTTO_COUNT, -1);
    defaults.Numbers.Count = LOTTO_COUNT;

    const std::size_t total = selection ? selection->CountBelow(list.Count()) : list.Count();
    bool ok = true;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Создание ставок...");
        try {
            TStakeAppender appender(file_);
            std::size_t done = 0, nextReport = 0;
            auto addRange = [&](std::size_t begin, std::size_t end) {
                for (std::size_t i = begin; i < end; ++i) {
                    std::memcpy(defaults.Numbers.Members, list[i].N, LOTTO_COUNT);
                    appender.Append(defaults, drawsCount);
                    ReportBulkProgress(++done, total, nextReport);
                }
            };
            if (selection) {
                for (const auto& r : selection->Ranges())
                    if (r.Begin < list.Count()) addRange(r.Begin, std::min(r.End, list.Count()));
            } else {
                addRange(0, list.Count());
            }
            appender.Flush();
        } catch (const std::exception& e) {
            ShowFailure("Ошибка добавления записи в файл ставок!", e);
            ok = false;
        }
    }
    if (ok) CheckStakesAndSave();
    StakesChanged(true, true);
    return ok;
}

void TStakesDesk::StartStakesGroup() {
    groupStart_.reset();
    if (!MayWriteStakes()) return;
    try {
        const std::int64_t before = file_.IsOpen() ? file_.Count() : 0;
        pelko::StartStakesGroup(file_);
        if (file_.Count() == before + 1) groupStart_ = before;
    } catch (const std::exception& e) {
        ShowFailure("Ошибка добавления записи в файл ставок!", e);
    }
}

void TStakesDesk::EndStakesGroup() {
    if (!groupStart_) return;
    const std::int64_t start = *groupStart_;
    groupStart_.reset();
    try {
        // A group nothing was added to (a run that made no stake, or failed on a full
        // disk) leaves no separator of its own behind.
        if (file_.Count() == start + 1 && file_.Read(TSeekOrigin::End, -1).IsSeparator()) {
            file_.Truncate(start);
            StakesChanged(true, false);
        }
    } catch (const std::exception&) {
        // The separator stays; it only groups rows.
    }
}

bool TStakesDesk::FindStake(std::int32_t drawNumber, const TNumberSet& numbers) {
    try {
        return pelko::FindStake(file_, drawNumber, numbers);
    } catch (const std::exception& e) {
        ShowFailure("Ошибка поиска записи в файле ставок!", e);
        return false;
    }
}

// ---------------------------------------------------------------- deleting

bool TStakesDesk::DeleteStakeRows(std::int64_t firstRow, std::int64_t lastRow) {
    if (firstRow < 1 || lastRow < firstRow || !MayWriteStakes()) return false;
    if (!ws_.GetHost().AskYesNo(DeleteQuestion(lastRow - firstRow + 1), "Предупреждение", false))
        return false;
    bool ok = true;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Удаление ставок...");
        try {
            DeleteSelectedStakes(file_, firstRow, lastRow);
        } catch (const std::exception& e) {
            ShowFailure("Ошибка удаления записи из файла ставок!", e);
            ok = false;
        }
    }
    if (ok) CheckStakesAndSave();
    StakesChanged(true, false);
    return ok;
}

bool TStakesDesk::DeleteStakesByCondition(int condition, int value) {
    if (!MayWriteStakes()) return false;
    bool ok = true;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Удаление ставок...");
        try {
            pelko::DeleteStakesByCondition(file_, condition, value);
        } catch (const std::exception& e) {
            ShowFailure("Ошибка удаления записи из файла ставок!", e);
            ok = false;
        }
    }
    if (ok) CheckStakesAndSave();
    StakesChanged(true, false);
    return ok;
}

bool TStakesDesk::EmptyStakesFile() {
    if (!MayWriteStakes()) return false;
    bool ok = true;
    try {
        file_.Truncate(0);
    } catch (const std::exception& e) {
        ShowFailure("Ошибка удаления записи из файла ставок!", e);
        ok = false;
    }
    StakesChanged(true, false);
    return ok;
}

bool TStakesDesk::ClearStakes() {
    if (!MayWriteStakes() || !ws_.MaySave(ratings_.LoadFailed())) return false;
    const std::int64_t count = StakesCount();
    if (count == 0 || !ws_.GetHost().AskYesNo(DeleteQuestion(count), "Предупреждение", false))
        return false;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Удаление ставок...");
        try {
            file_.Truncate(0);
        } catch (const std::exception& e) {
            ShowFailure("Ошибка удаления записи из файла ставок!", e);
            StakesChanged(true, false);
            return false;
        }
    }
    StakesChanged(true, false);
    ratings_.Refresh();
    return true;
}

bool TStakesDesk::DeleteStakeLogs() {
    const std::vector<std::filesystem::path> logs = log_.ListLogs();
    if (logs.empty()) {
        ws_.GetHost().InfoBox("Файлы журналов не найдены!");
        return false;
    }
    int done = 0, errors = 0;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), "Поиск файлов журналов...");
        for (const auto& log : logs) {
            std::error_code ec;
            if (std::filesystem::remove(log, ec))
                ++done;
            else
                ++errors;
        }
    }
    const std::string text =
        std::string("Удаление файлов журналов ставок") + "\n\n" +
        Format("Всего - %d, обработано - %d, пропущено - %d, предупреждений - %d, ошибок - %d.",
               static_cast<int>(logs.size()), done, 0, 0, errors);
    if (errors == 0)
        ws_.GetHost().InfoBox(text);
    else
        ws_.GetHost().WarningBox(text, "Предупреждение");
    return errors == 0;
}

// ---------------------------------------------------------------- checking

std::int64_t TStakesDesk::CheckStakesAndSave() {
    if (!file_.IsOpen()) return 0;
    // A check rewrites stakes and adds them to the rating: with either unread, it would
    // settle stakes whose results the rating then never gets.
    if (!MayCheckStakes()) return 0;
    log_.Enabled = Options.LogEnabled;
    TCheckOutcome outcome;
    {
        TBusyScope busy(ws_.Busy(), ws_.GetHost(), CHECK_STATUS_TEXT);
        std::set<std::string> logErrors; // each failing log is reported once per pass
        outcome = CheckStakes(
            file_, ws_.Draws(), ws_.Config(),
            [&](const TStakeData& stake) {
                ratings_.AddStake(stake);
                if (log_.Enabled)
                    for (std::string& error : log_.LogStakeResult(stake))
                        if (logErrors.insert(error).second) ws_.GetHost().ErrorBox(error);
            },
            &ws_.GetHost());
    }
    if (outcome.Error)
        ws_.GetHost().ErrorBox(std::string("Ошибка проверки ставок!") + "\n\n" + *outcome.Error);
    if (outcome.Damaged > 0 && outcome.Damaged != damagedReported_) {
        damagedReported_ = outcome.Damaged;
        ws_.GetHost().ErrorBox(
            std::string(STAKE_READ_ERROR) + "\n\n" +
            Format("Запись со индексом %lld повреждена и не проверяется (всего поврежденных "
                   "записей: %lld).",
                   static_cast<long long>(outcome.FirstDamaged),
                   static_cast<long long>(outcome.Damaged)));
    }
    if (outcome.Settled > 0) {
        file_.DropCache();
        ratings_.StakesSettled();
    }
    return outcome.Settled;
}

} // namespace pelko
