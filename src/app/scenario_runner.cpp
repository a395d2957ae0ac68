#include "app/scenario_runner.h"

#include "app/script_desk.h"
#include "app/stakes_workspace.h"
#include "app/workspace.h"
#include "core/format.h"
#include "core/record_helpers.h"
#include "core/text_forms.h"
#include "filters/filter_text.h"
#include "filters/filter_variants.h"
#include "scenarios/script_line.h"
#include "stakes/stake_making.h"
#include "stakes/stake_profit.h"
#include "stakes/systems.h"

#include <algorithm>
#include <random>
#include <unordered_set>

namespace pelko {

namespace {

std::uint64_t PackComb(const TComb& comb) {
    std::uint64_t key = 0;
    for (std::uint8_t n : comb)
        key = key << 8 | n;
    return key;
}

std::string NumbersText(const TNumberSet& numbers) {
    return NumberSetToText(numbers, ";");
}

} // namespace

std::string ScriptStakeComment(int line, int variant, const std::string& comment, const std::string& filterText) {
    return ScenarioStakeComment(line, variant, comment, filterText, {});
}

// Brackets a run: busy state, the run flags, the tabs, the table's sort and the log, all
// restored on every way out.
class TScenarioRunner::TRunScope {
  public:
    TRunScope(TScenarioRunner& runner)
        : runner_(runner), busy_(runner.ws_.Busy(), runner.ws_.GetHost(), SCRIPT_RUNNING_TEXT),
          sortColumn_(runner.ws_.StatTable().SortColumn()), descending_(runner.ws_.StatTable().SortDescending()) {
        runner_.ws_.Script().StartScriptLog();
        runner_.Log("### ЗАПУСК СЦЕНАРИЯ ##########################################################################");
        runner_.running_ = true;
        runner_.stopRequested_ = false;
        runner_.stakesMade_ = 0;
        if (runner_.OnRunningChanged)
            runner_.OnRunningChanged(true);
    }
    ~TRunScope() {
        runner_.cycle_ = 0;
        runner_.running_ = false;
        runner_.stopRequested_ = false;
        runner_.step_.reset();
        try {
            runner_.ws_.StatTable().SortBy(sortColumn_, descending_);
        } catch (...) {
        }
        if (runner_.OnRunningChanged)
            runner_.OnRunningChanged(false);
        runner_.Log("### ЗАВЕРШЕНИЕ СЦЕНАРИЯ ######################################################################");
        const std::optional<std::filesystem::path> log = runner_.ws_.Script().EndScriptLog();
        if (log && runner_.OnLogFinished)
            runner_.OnLogFinished(*log);
        runner_.ws_.GetHost().StatusText("");
    }

  private:
    TScenarioRunner& runner_;
    TBusyScope busy_;
    int sortColumn_;
    bool descending_;
};

TScenarioRunner::TScenarioRunner(Workspace& ws) : ws_(ws) {}

std::string TScenarioRunner::PanelText(int panel) const {
    switch (panel) {
    case 1: return Format("Цикл: %d", cycle_);
    case 2: return Format("Строка: %d", panelLine_);
    case 3: return Format("Ставок: %d", stakesMade_);
    case 4: return panelText_;
    default: return {};
    }
}

bool TScenarioRunner::StopCheck() {
    if (!stopRequested_ && ws_.GetHost().StopRequested())
        RequestStop();
    return stopRequested_;
}

bool TScenarioRunner::LogEnabled() const {
    return ws_.Script().ScriptLogEnabled;
}

void TScenarioRunner::Log(const std::string& message) {
    if (LogEnabled())
        ws_.Script().ScriptLog(message);
}

void TScenarioRunner::RequestStop() {
    if (!running_ || stopRequested_)
        return;
    Log("### ВЫПОЛНЕНИЕ СЦЕНАРИЯ ПРЕРВАНО #############################################################");
    stopRequested_ = true;
    if (OnStatusChanged)
        OnStatusChanged();
}

void TScenarioRunner::ScriptStop() {
    if (!CanStop())
        return;
    if (ws_.GetHost().AskYesNo(SCRIPT_STOP_QUESTION, "Подтверждение", false))
        RequestStop();
}

void TScenarioRunner::ShowScriptStatus(int line, int variant, const std::string& text, int variants) {
    panelLine_ = line;
    panelText_ = variants == 0 ? text : Format("Фильтр %d из %d: %s", variant, variants, text.c_str());
    if (OnStatusChanged)
        OnStatusChanged();
    StopCheck();
}

void TScenarioRunner::LogOffsetHeader(int offset) {
    Log(EQUALS_LINE);
    Log(Format("=== Выполнение сценария для смещения %.6d ==================================================", offset));
    Log(EQUALS_LINE);
}

// ---------------------------------------------------------------- forecast and test

bool TScenarioRunner::ScriptRun() {
    if (running_ || ws_.Script().Lines().Count() == 0 || ws_.Draws().empty())
        return false;
    TRunScope scope(*this);
    cycle_ = 1;
    ShowScriptStatus(0, 0, SCRIPT_RUNNING_TEXT, 0);
    LogOffsetHeader(ws_.DrawsOffset());
    RunScript();
    if (!stopRequested_)
        panelText_ = SCRIPT_FINISHED_TEXT;
    return true;
}

bool TScenarioRunner::ScriptTest(int n) {
    if (running_ || ws_.Script().Lines().Count() == 0 || ws_.Draws().empty() || n < 1 ||
        n > static_cast<int>(ws_.Draws().size()) - 1)
        return false;
    const int rememberedOffset = ws_.DrawsOffset();
    {
        TRunScope scope(*this);
        cycle_ = 0;
        for (int v = n; v >= 1; --v) {
            ++cycle_;
            ShowScriptStatus(0, 0, SCRIPT_RUNNING_TEXT, 0);
            if (StopCheck())
                break;
            ws_.ChangeDrawsOffset(v);
            if (StopCheck())
                break;
            LogOffsetHeader(v);
            if (StopCheck())
                break;
            RunScript();
            if (stopRequested_)
                break;
        }
        if (!stopRequested_)
            ws_.ChangeDrawsOffset(rememberedOffset);
        panelText_ = SCRIPT_FINISHED_TEXT;
    }
    panelLine_ = 0;
    if (OnStatusChanged)
        OnStatusChanged();
    return true;
}

// ---------------------------------------------------------------- one pass

void TScenarioRunner::RunScript() {
    TStakesDesk& stakes = ws_.Stakes();
    stakes.StartStakesGroup();
    ws_.Combs().DropCombsBuffer();
    ws_.Stats().BackupCDL();
    step_.emplace(ws_, *this);
    stakes.Ratings().BeginBatch();
    struct TRestore {
        Workspace& ws;
        ~TRestore() {
            ws.Stats().RestoreCDL();
            ws.Combs().DropCombsBuffer();
            ws.Stakes().Ratings().EndBatch();
            ws.Stakes().EndStakesGroup();
        }
    } restore{ws_};
    const TScriptLines& lines = ws_.Script().Lines();
    for (std::size_t i = 0; i < lines.Count(); ++i) {
        if (StopCheck())
            break;
        const std::string text = lines.Get(i);
        if (TrimText(text).empty())
            continue;
        if (OnLineSelected)
            OnLineSelected(static_cast<int>(i));
        Log(DASH_LINE);
        Log(Format("Выполнение строки %.3d: \"%s\"", static_cast<int>(i) + 1, text.c_str()));
        Log(DASH_LINE);
        RunScriptLine(static_cast<int>(i), text);
        if (OnLineSelected)
            OnLineSelected(-1);
        if (stopRequested_)
            break;
    }
    if (!stakes.Options.CheckOnLine) {
        TTimeSlot timing(timings_, &TRunTimings::Stakes);
        stakes.CheckStakesAndSave();
        stakes.RefreshStakesGrid(false);
    }
}

std::vector<TFilterItem> TScenarioRunner::ReadFilterItems(const std::string& text) {
    std::vector<TFilterItem> items;
    for (int field = 2; field <= 8; ++field) {
        if (StopCheck())
            break;
        const std::string filter = ScriptLineField(text, field);
        if (!filter.empty())
            items.push_back(TextToFilter(ws_.Stats(), filter));
    }
    return items;
}

void TScenarioRunner::CheckStakesIfPerLine() {
    TStakesDesk& stakes = ws_.Stakes();
    if (!stakes.Options.CheckOnLine)
        return;
    TTimeSlot timing(timings_, &TRunTimings::Stakes);
    stakes.CheckStakesAndSave();
    stakes.RefreshStakesGrid(false);
}

void TScenarioRunner::RunScriptLine(int index, const std::string& text) {
    const int line = index + 1;
    std::vector<TFilterRec> variants;
    try {
        ws_.Combs().DropUndo();
        const TScriptOptions options = TextToOptions(ScriptLineField(text, 1));
        const std::string comment = ScriptLineField(text, 9);
        if (!StopCheck()) {
            const std::vector<TFilterItem> items = ReadFilterItems(text);
            if (!StopCheck()) {
                Log("Создание всех вариантов фильтров...");
                ShowScriptStatus(line, 0, "Создание всех вариантов фильтров...", 0);
                TVariantCallbacks callbacks;
                callbacks.StopRequested = [this] { return StopCheck(); };
                callbacks.Progress = [this, line](std::size_t count) {
                    ShowScriptStatus(line, 0, Format("Создание всех вариантов фильтров ( %zu )...", count), 0);
                };
                if (!items.empty())
                    ExpandVariants(items, variants, callbacks);
                Log(Format("Создано %zu вариантов фильтров.", variants.size()));
                if (!StopCheck()) {
                    if (!variants.empty())
                        RunVariants(line, options, variants, comment);
                    else
                        RunWithoutFilters(line, options, comment);
                }
            }
        }
    } catch (const std::exception& e) {
        stopRequested_ = true;
        ws_.GetHost().ErrorBox(e.what());
    }
    ws_.Combs().DropUndo();
}

void TScenarioRunner::RunVariants(int line, const TScriptOptions& options, std::vector<TFilterRec>& variants,
                                  const std::string& comment) {
    const int count = static_cast<int>(variants.size());
    for (int k = 1; k <= count; ++k) {
        if (StopCheck())
            return;
        const TFilterRec variant = std::move(variants[static_cast<std::size_t>(k - 1)]);
        const std::string variantText = FilterRecToText(variant);
        Log("");
        Log(DASH_LINE);
        Log(Format("Применение набора фильтров %.3d: \"%s\"", k, variantText.c_str()));
        Log(DASH_LINE);
        ShowScriptStatus(line, k, variantText, count);
        Log("Создание начального списка комбинаций...");
        PrepareStartList(options);
        Log(Format("Количество комбинаций в списке: %zu", ws_.Combs().List.Count()));
        if (StopCheck())
            return CheckStakesIfPerLine();
        step_->ApplyFilterRec(variant);
        if (StopCheck())
            return CheckStakesIfPerLine();
        MakeScriptStakes(options.ResultMode, line, OptionsToShortText(options) + " + " + variantText, comment,
                         options.NewOnly, k);
        if (StopCheck())
            return CheckStakesIfPerLine();
        Log(DASH_LINE);
        CheckStakesIfPerLine();
    }
}

void TScenarioRunner::RunWithoutFilters(int line, const TScriptOptions& options, const std::string& comment) {
    Log("{ERROR} Фильтры не применялись!");
    Log("");
    ShowScriptStatus(line, 0, OptionsToShortText(options), 0);
    Log("Создание начального списка комбинаций...");
    PrepareStartList(options);
    Log(Format("Количество комбинаций в списке: %zu", ws_.Combs().List.Count()));
    if (StopCheck())
        return CheckStakesIfPerLine();
    MakeScriptStakes(options.ResultMode, line, OptionsToShortText(options), comment, options.NewOnly, 0);
    CheckStakesIfPerLine();
}

bool TScenarioRunner::PrepareStartList(const TScriptOptions& options) {
    TTimeSlot timing(timings_, &TRunTimings::StartLists);
    TCombLists& combs = ws_.Combs();
    if (options.StartType == TStartCombsType::Full || options.StartType == TStartCombsType::Excl)
        combs.GenerateCombs(true, ws_.GenerateParams());
    if (StopCheck())
        return true;
    if (options.StartType == TStartCombsType::Excl && options.DrawsExclude > 0) {
        const int offset = ws_.DrawsOffset();
        if (!combs.LoadCombsBuffer(offset, options.DrawsExclude)) {
            combs.BackupCombs(true);
            combs.ExcludeRecentDraws(options.DrawsExclude, ws_.Draws(), offset);
            combs.SaveCombsBuffer(offset, options.DrawsExclude);
        }
        if (StopCheck())
            return true;
    }
    if (options.ClearStakes && !ws_.Stakes().EmptyStakesFile())
        throw std::runtime_error("Ошибка удаления записи из файла ставок!");
    return StopCheck();
}

// ---------------------------------------------------------------- stakes

void TScenarioRunner::ShowStakesCount(bool bulk) {
    const auto now = std::chrono::steady_clock::now();
    if (bulk && now - lastBulkStatus_ < std::chrono::milliseconds(100))
        return;
    lastBulkStatus_ = now;
    if (OnStatusChanged)
        OnStatusChanged();
    StopCheck();
}

bool TScenarioRunner::MakeScriptStake(const TNumberSet& numbers, bool bulk, int line, const std::string& filterText,
                                      const std::string& comment, bool newOnly, int variant) {
    TStakesDesk& stakes = ws_.Stakes();
    TStakeData stake;
    stake.Version = 2;
    stake.Kind = skScenario;
    stake.DrawNumber = stakes.NextDrawNumber();
    stake.SetCommentText(ScriptStakeComment(line, variant, comment, filterText));
    stake.Checked = 0;
    stake.SampleSize = static_cast<std::int32_t>(ws_.Combs().List.Count());
    stake.Numbers = numbers;
    stake.Matches = TNumberSet{-1, {}};
    stake.Profit = StakeProfit(ws_.Config(), stake.NumbersCount(), -1);
    if (newOnly && stakes.FindStake(stake.DrawNumber, numbers)) {
        Log(Format("{-} Ставка на тираж %d не добавлена, так как уже имеется в списке ставок: [%s]", stake.DrawNumber,
                   NumbersText(numbers).c_str()));
        return false;
    }
    if (!stakes.AddStakeInBatch(stake, 1, bulk))
        throw std::runtime_error("Ошибка добавления записи в файл ставок!");
    Log(Format("{+} Ставка на тираж %d добавлена в список ставок: [%s]", stake.DrawNumber,
               NumbersText(numbers).c_str()));
    ++stakesMade_;
    ShowStakesCount(bulk);
    return true;
}

void TScenarioRunner::MakeScriptStakes(TResultCombsMode mode, int line, const std::string& filterText,
                                       const std::string& comment, bool newOnly, int variant) {
    TTimeSlot timing(timings_, &TRunTimings::Stakes);
    const TCombList& list = ws_.Combs().List;
    const std::size_t count = list.Count();
    Log(Format("{*} Добавление ставки, режим: \"%s\"", ResultModeDialogCaption(static_cast<int>(mode)).c_str()));
    if (count == 0 || mode == TResultCombsMode::None)
        return;
    if (count > 1 && mode == TResultCombsMode::Stop) {
        stopRequested_ = true;
        Log("{!} Сценарий остановлен!");
        ws_.GetHost().WarningBox(
            Format("Выполнение сценария прервано, т.к. после применения всех фильтров в списке комбинаций их "
                   "осталось более одной: %zu!\r\rФильтры: %s",
                   count, ScriptStakeComment(line, variant, comment, filterText).c_str()),
            "Внимание!");
        return;
    }
    if (count > 1 && mode == TResultCombsMode::Skip) {
        Log("{-} Ставка игнорирована!");
        return;
    }
    if (stopRequested_)
        return;
    auto single = [&](const TComb& comb) {
        MakeScriptStake(CombToNumberSet(comb), false, line, filterText, comment, newOnly, variant);
    };
    if (count == 1) {
        single(list[0]);
    } else {
        switch (mode) {
        case TResultCombsMode::Ext:
            MakeScriptStake(RandomUniqueNumbers(list.Data(), static_cast<std::int64_t>(count), ws_.Config().MaxStake),
                            false, line, filterText, comment, newOnly, variant);
            break;
        case TResultCombsMode::Rand: {
            static std::mt19937_64 generator{std::random_device{}()};
            std::uniform_int_distribution<std::size_t> pick(0, count - 1);
            single(list[pick(generator)]);
            break;
        }
        case TResultCombsMode::First:
            single(list[0]);
            break;
        case TResultCombsMode::Last:
            single(list[count - 1]);
            break;
        case TResultCombsMode::All:
            for (std::size_t i = 0; i < count; ++i) {
                if (StopCheck())
                    break;
                MakeScriptStake(CombToNumberSet(list[i]), true, line, filterText, comment, newOnly, variant);
            }
            break;
        case TResultCombsMode::Sysa:
        case TResultCombsMode::Sysc:
            MakeSystemStakes(mode == TResultCombsMode::Sysc, line, filterText, comment, newOnly, variant);
            break;
        default:
            break;
        }
    }
    ws_.Stakes().RefreshStakesGrid(true);
}

void TScenarioRunner::MakeSystemStakes(bool sysc, int line, const std::string& filterText, const std::string& comment,
                                       bool newOnly, int variant) {
    const TCombList& list = ws_.Combs().List;
    const TByteArray numbers = UniqueNumbers(list.Data(), list.Count());
    const TSystemLookup lookup = FindSystem(ws_.Stakes().Systems().SystemsFolder(), numbers);
    const int n = static_cast<int>(numbers.size());
    if (!lookup.Ok()) {
        Log(Format("{#} Системная игра для %d чисел [ОШИБКА]: \"%s\"", n,
                   (lookup.Message.empty() ? std::string(SYSTEM_LOAD_ERROR) : lookup.Message).c_str()));
        return;
    }
    Log(Format(sysc ? "{#} Системная игра для %d чисел [система * комбинации]: загружен файл \"%s\""
                    : "{#} Системная игра для %d чисел [все система]: загружен файл \"%s\"",
               n, lookup.File.stem().string().c_str()));
    std::unordered_set<std::uint64_t> inList;
    if (sysc)
        for (const TComb& comb : list)
            inList.insert(PackComb(comb));
    for (TComb comb : lookup.Combs) {
        std::sort(comb.begin(), comb.end());
        if (sysc && !inList.count(PackComb(comb)))
            continue;
        MakeScriptStake(CombToNumberSet(comb), true, line, filterText, comment, newOnly, variant);
    }
}

} // namespace pelko
