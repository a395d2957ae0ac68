// Scenario runs over a small hand-made archive: the filter step's walks and stops, the
// result modes, the forecast and the back-test with their stakes, checks and ratings, the
// stop request and the errors that end a run.
#include "app/scenario_runner.h"
#include "app/script_desk.h"
#include "app/stakes_workspace.h"
#include "app/workspace.h"
#include "core/text_forms.h"
#include "filters/filter_text.h"
#include "filters/filter_variants.h"
#include "stakes/rating_record.h"
#include "stakes/stake_record.h"
#include "support/temp_dir.h"
#include "support/test_host.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

namespace pelko {
namespace {

class TStopHost : public test::TTestHost {
  public:
    std::function<bool()> onPoll;
    bool StopRequested() override { return onPoll ? onPoll() : stopRequested; }
};

TDrawData Draw(int number, std::vector<int> nums) {
    TDrawData d;
    d.Number = number;
    for (int i = 0; i < LOTTO_COUNT; ++i)
        d.Nums[i] = static_cast<std::uint8_t>(nums[i]);
    return d;
}

TComb Comb(std::vector<int> nums) {
    TComb c{};
    for (int i = 0; i < LOTTO_COUNT; ++i)
        c[i] = static_cast<std::uint8_t>(nums[i]);
    return c;
}

class ScenarioRun : public ::testing::Test {
  protected:
    test::TTempDir dir;
    TStopHost host;
    Workspace ws{host, dir.path()};
    TScenarioRunner runner{ws};

    void SetUp() override {
        ws.Open(false);
        // Number 1 in every draw, 2 in three, 3 in two; draws 5.. repeat the pattern later.
        const std::vector<std::vector<int>> draws = {
            {1, 2, 3, 4, 5, 6},     {1, 2, 3, 7, 8, 9},     {1, 2, 10, 11, 12, 13}, {1, 14, 15, 16, 17, 18},
            {20, 21, 22, 23, 24, 25}, {26, 27, 28, 29, 30, 31}, {32, 33, 34, 35, 36, 37}, {38, 39, 40, 41, 42, 43},
            {1, 2, 3, 4, 5, 6},     {1, 2, 3, 4, 5, 7},     {1, 2, 3, 4, 5, 8},     {1, 2, 3, 4, 5, 9},
        };
        for (std::size_t i = 0; i < draws.size(); ++i)
            ws.AddDraw(Draw(static_cast<int>(i) + 1, draws[i]));
        ASSERT_TRUE(ws.StartStakes());
        ws.Combs().ReserveAll();
    }

    void SetList(const std::vector<std::vector<int>>& combs) {
        ws.Combs().List.Clear();
        for (const auto& c : combs)
            ws.Combs().List.Append(Comb(c));
    }
    // The list as "1 2 3 4 5 6" texts.
    std::vector<std::string> ListTexts() const {
        std::vector<std::string> out;
        for (const TComb& c : ws.Combs().List) {
            std::string text;
            for (std::uint8_t n : c)
                text += (text.empty() ? "" : " ") + std::to_string(n);
            out.push_back(text);
        }
        return out;
    }
    TFilterPart PartOf(const std::string& text, int drawsLen) {
        const TFilterItem item = TextToFilter(ws.Stats(), text);
        TFilterPart part = FilterPartOf(item, drawsLen);
        part.LevelValues = part.LevelText = item.LevelValue;
        return part;
    }
    // Applies one part to the list with a fresh step, as a run does.
    void Apply(const std::string& text, int drawsLen = 4) {
        ws.Stats().BackupCDL();
        TFilterStep step(ws, runner);
        step.ApplyFilterPart(PartOf(text, drawsLen));
    }
    std::vector<TStakeData> Stakes() {
        std::vector<TStakeData> out;
        for (std::int64_t i = 0; i < ws.Stakes().StakesCount(); ++i)
            if (const TStakeData s = ws.Stakes().StakeAt(i); !s.IsSeparator())
                out.push_back(s);
        return out;
    }
    void Lines(std::initializer_list<const char*> lines) {
        for (const char* line : lines)
            ws.Script().AddScriptLine(line);
    }
    std::vector<std::string> LoggedWith(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const std::string& line : host.log)
            if (line.rfind(prefix, 0) == 0)
                out.push_back(line);
        return out;
    }
};

const std::vector<std::vector<int>> FIVE = {
    {1, 2, 3, 4, 5, 6}, {1, 2, 7, 8, 9, 10}, {1, 11, 12, 13, 14, 15}, {2, 16, 17, 18, 19, 20}, {21, 22, 23, 24, 25, 26}};

// ---------------------------------------------------------------- the filter step

TEST_F(ScenarioRun, StepsStopAfterTheGivenNumberOfApplications) {
    SetList(FIVE);
    // Sorted by value, walked bottom-up (1, 2, 3 ...), every row removes its number.
    Apply("BSD0#NUMS:4#LNO:#ST:2");
    EXPECT_EQ(ListTexts(), (std::vector<std::string>{"21 22 23 24 25 26"}));
    EXPECT_EQ(ws.Combs().History().size(), 2u);
}

TEST_F(ScenarioRun, CombinationCountStopsTheWalk) {
    SetList(FIVE);
    Apply("BSD0#NUMS:4#LNO:#SC:3");
    // Removing 1 leaves two; the walk stops before number 2.
    EXPECT_EQ(ws.Combs().List.Count(), 2u);
    SetList(FIVE);
    // An extended-stake limit of 3 means the largest stake (15 numbers): removing 1 leaves 12.
    Apply("BSD0#NUMS:4#LNO:#SE:3");
    EXPECT_EQ(ListTexts(), (std::vector<std::string>{"2 16 17 18 19 20", "21 22 23 24 25 26"}));
}

TEST_F(ScenarioRun, AnApplicationThatEmptiesTheListIsUndone) {
    SetList(FIVE);
    // Keep 1, then 2, then 3 ... ; keeping 7 would empty the list: undone, and SZ ends the walk.
    Apply("BSF0#NUMS:4#LNO:#SZ:1");
    EXPECT_EQ(ListTexts(), (std::vector<std::string>{"1 2 3 4 5 6"}));
    ASSERT_FALSE(ws.Combs().History().empty());
    EXPECT_EQ(ws.Combs().History().back().Operation, "Отмена последней операции");
    EXPECT_EQ(ws.Combs().Undo.Count(), 0u);
}

TEST_F(ScenarioRun, RowCountAndShareStops) {
    // Counts over the first four draws: 1 -> 4, 2 -> 3, 3 -> 2; walked by count, top-down.
    SetList(FIVE);
    ws.ChangeDrawsOffset(8);
    Apply("TSD1#NUMS:4#LNO:#SV:2");
    EXPECT_EQ(ListTexts(), (std::vector<std::string>{"21 22 23 24 25 26"}));
    SetList(FIVE);
    Apply("TSD1#NUMS:4#LNO:#SP:15"); // shares of the 24 values: 1 is 16.7 %, 2 is 12.5 %: only 1 goes
    EXPECT_EQ(ws.Combs().List.Count(), 2u);
}

TEST_F(ScenarioRun, MultiSelectAppliesTheQualifyingRowsAtOnce) {
    SetList(FIVE);
    ws.ChangeDrawsOffset(8);
    Apply("TMD1#NUMS:4#CMV:2#SF:1"); // numbers seen at least twice: 1, 2, 3
    EXPECT_EQ(ListTexts(), (std::vector<std::string>{"21 22 23 24 25 26"}));
    EXPECT_EQ(ws.Combs().History().size(), 1u);

    const std::size_t history = ws.Combs().History().size();
    Apply("TMD1#NUMS:4#CMV:100#SF:1"); // no row qualifies: nothing changes, no history row
    EXPECT_EQ(ws.Combs().List.Count(), 1u);
    EXPECT_EQ(ws.Combs().History().size(), history);
}

TEST_F(ScenarioRun, APartsOwnCoefficientsGiveItsOwnWeights) {
    // Same method and draws twice: the table is not computed anew for the second part, but
    // its weights must follow the second part's coefficients, not the first one's.
    SetList(FIVE);
    ws.ChangeDrawsOffset(8);
    TFilterStep step(ws, runner);
    ws.Stats().BackupCDL();
    TFilterPart first = PartOf("TSD1#NUMS:4#WMV:1000#SF:1#1:0:0:0:0", 4); // weight = count
    first.CDLOverride = true;
    first.CDL = TCDLData{1, 0, 0, false, false};
    step.ApplyFilterPart(first);
    const auto weightOf = [&](const std::string& caption) {
        for (std::size_t r = 0; r < ws.StatTable().RowCount(); ++r)
            if (ws.StatTable().RowTexts(static_cast<int>(r)).Caption == caption)
                return ws.StatTable().RowTexts(static_cast<int>(r)).Weight;
        return std::string();
    };
    const std::string byCount = weightOf("1");
    TFilterPart second = first;
    second.CDL = TCDLData{2, 0, 0, false, false}; // weight = twice the count
    step.ApplyFilterPart(second);
    const std::string byTwiceCount = weightOf("1");
    EXPECT_NE(byCount, byTwiceCount);
    EXPECT_DOUBLE_EQ(std::stod(byTwiceCount), 2 * std::stod(byCount));
}

TEST_F(ScenarioRun, StepErrorsCarryTheirMessages) {
    SetList(FIVE);
    TFilterPart part = PartOf("TSD1#NUMS:4#LNO:#SF:1", 4);
    part.SortOrder = 20;
    TFilterStep step(ws, runner);
    try {
        step.ApplyFilterPart(part);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Некорректное занчение номера столбца сортировки (20)");
    }
    ws.Stats().AllFavorites = false;
    for (int i = 0; i < ws.Stats().Count(); ++i)
        ws.Stats().Items(i).Favorite = ws.Stats().MethodCode(ws.Stats().Items(i)) != "NUMS";
    try {
        step.ApplyFilterPart(PartOf("TSD1#NUMS:4#LNO:#SF:1", 4));
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()).rfind("Метод расчета статистики \"NUMS\" на найден!\r", 0), 0u);
    }
    EXPECT_EQ(ws.Combs().List.Count(), FIVE.size());
}

// ---------------------------------------------------------------- result modes

TEST_F(ScenarioRun, ResultModesOfALineWithoutFilters) {
    Lines({"CURR:0#ALL|"});
    SetList({{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}, {13, 14, 15, 16, 17, 18}});
    ASSERT_TRUE(runner.ScriptRun());
    std::vector<TStakeData> stakes = Stakes();
    ASSERT_EQ(stakes.size(), 3u);
    EXPECT_EQ(stakes[0].CommentText(), "01.000: @ CURR#ALL");
    EXPECT_EQ(stakes[0].Kind, skScenario);
    EXPECT_EQ(stakes[0].DrawNumber, 13);
    EXPECT_EQ(stakes[0].SampleSize, 3);

    // EXT: the distinct numbers of the list (10 of them) as one stake.
    ws.Script().SetScriptLine(0, "CURR:0#EXT| | | | | | | |ext");
    SetList({{1, 2, 3, 4, 5, 6}, {1, 2, 3, 7, 8, 9}, {1, 2, 3, 4, 5, 10}});
    ASSERT_TRUE(runner.ScriptRun());
    stakes = Stakes();
    ASSERT_EQ(stakes.size(), 4u);
    EXPECT_EQ(NumberSetToText(stakes[3].Numbers, ";"), "1;2;3;4;5;6;7;8;9;10");
    EXPECT_EQ(stakes[3].CommentText(), "01.000: ext @ CURR#EXT");
}

TEST_F(ScenarioRun, StopSkipAndNewOnly) {
    Lines({"CURR:0#STOP|", "CURR:0#SKIP|"});
    SetList({{1, 2, 3, 4, 5, 6}});
    runner.ScriptRun(); // one combination: STOP and SKIP make its stake
    EXPECT_EQ(Stakes().size(), 2u);

    SetList({{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}});
    runner.ScriptRun(); // two: STOP warns and ends the run before the SKIP line
    EXPECT_EQ(Stakes().size(), 2u);
    ASSERT_FALSE(host.boxes.empty());
    EXPECT_EQ(host.boxes.back().caption, "Внимание!");
    EXPECT_EQ(host.boxes.back().text.rfind("Выполнение сценария прервано, т.к. после применения всех фильтров в "
                                           "списке комбинаций их осталось более одной: 2!\r\rФильтры: 01.000: @ CURR#STOP",
                                           0),
              0u);

    ws.Script().SetScriptLine(0, "CURR:0#SKIP|");
    ws.Script().SetScriptLine(1, "CURR:0#FIRST#NEX|");
    runner.ScriptRun(); // SKIP makes nothing; 1..6 for draw 13 exists already, whatever its comment
    EXPECT_EQ(Stakes().size(), 2u);
    EXPECT_EQ(LoggedWith("{-} Ставка на тираж 13 не добавлена").size(), 0u); // the log is off
    EXPECT_EQ(runner.ScriptStakesMade(), 0);
}

// ---------------------------------------------------------------- runs

TEST_F(ScenarioRun, VariantsRunInExpansionOrderEachFromItsStartList) {
    ws.Script().ScriptLogEnabled = true;
    Lines({"CURR:0#NONE|TSD1#NUMS:100-300;100#LMV:1-3;1#SF:1|"});
    ASSERT_TRUE(runner.ScriptRun());
    const std::vector<std::string> applied = LoggedWith("Применение набора фильтров");
    ASSERT_EQ(applied.size(), 9u);
    EXPECT_EQ(applied[0], "Применение набора фильтров 001: \"TSD#NUMS:100#LMV:1#SF:1\"");
    EXPECT_EQ(applied[3], "Применение набора фильтров 004: \"TSD#NUMS:200#LMV:1#SF:1\"");
    EXPECT_EQ(applied[8], "Применение набора фильтров 009: \"TSD#NUMS:300#LMV:3#SF:1\"");
    EXPECT_EQ(LoggedWith("Создано 9 вариантов фильтров.").size(), 1u);
    EXPECT_EQ(host.log.front(), "### ЗАПУСК СЦЕНАРИЯ ##########################################################################");
    EXPECT_EQ(host.log.back(), "### ЗАВЕРШЕНИЕ СЦЕНАРИЯ ######################################################################");
}

TEST_F(ScenarioRun, ForecastStakesOnTheNextDraw) {
    Lines({"FULL:0#FIRST|TSF0#NUMS:12#LVA:45#SF:1| | | | | | |forecast"});
    ASSERT_TRUE(runner.ScriptRun());
    const std::vector<TStakeData> stakes = Stakes();
    ASSERT_EQ(stakes.size(), 1u);
    EXPECT_EQ(stakes[0].DrawNumber, 13);
    EXPECT_EQ(NumberSetToText(stakes[0].Numbers, ";"), "1;2;3;4;5;45");
    EXPECT_EQ(stakes[0].CommentText(), "01.001: forecast @ FULL#FIRST + TSF#NUMS:12#LVA:45#SF:1");
    EXPECT_FALSE(stakes[0].IsChecked()); // draw 13 is not in the archive
    EXPECT_EQ(runner.ScriptStakesMade(), 1);
    EXPECT_FALSE(runner.ScriptRunning());
    EXPECT_EQ(runner.ScriptCycle(), 0);
}

TEST_F(ScenarioRun, BackTestChecksAndRatesEveryCycle) {
    Lines({"FULL:0#FIRST|TSF0#NUMS:12#LVA:1#SF:1|TSF0#NUMS:12#LVA:2#SF:1| | | | | |bt"});
    ASSERT_TRUE(runner.ScriptTest(3));
    const std::vector<TStakeData> stakes = Stakes();
    ASSERT_EQ(stakes.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(stakes[i].DrawNumber, 10 + i);
        EXPECT_TRUE(stakes[i].IsChecked());
        EXPECT_EQ(NumberSetToText(stakes[i].Numbers, ";"), "1;2;3;4;5;6");
    }
    // Draws 10..12 are 1 2 3 4 5 x: five matches each.
    EXPECT_EQ(stakes[0].MatchCount(), 5);
    const TRatings& ratings = ws.Stakes().Ratings().Rows();
    ASSERT_EQ(ratings.Count(), 1u);
    // The ratings written during the run (at most once a second) are all on disk at its end.
    const TRatingsArray saved = ReadRatingsFile(ws.DataFile(RATINGS_FILE_NAME));
    ASSERT_EQ(saved.size(), 1u);
    EXPECT_EQ(saved[0].CommentText(), "01.001: bt @ FULL#FIRST + TSF#NUMS:12#LVA:1#SF:1 + TSF#NUMS:12#LVA:2#SF:1");
    EXPECT_EQ(ws.DrawsOffset(), 0);
    EXPECT_EQ(runner.ScriptStakesMade(), 3);
}

TEST_F(ScenarioRun, AStopInCycleTwoLeavesTheOffsetThere) {
    Lines({"FULL:0#FIRST|TSF0#NUMS:12#LVA:1#SF:1| | | | | | |"});
    host.onPoll = [&] { return ws.DrawsOffset() == 2 && runner.ScriptStakesMade() >= 1; };
    ASSERT_TRUE(runner.ScriptTest(3));
    EXPECT_EQ(ws.DrawsOffset(), 2);
    EXPECT_LE(Stakes().size(), 2u);
    EXPECT_FALSE(runner.ScriptRunning());
    EXPECT_FALSE(runner.ScriptStopRequested());
}

TEST_F(ScenarioRun, ABadFilterEndsTheRunAndKeepsTheStakesMade) {
    Lines({"CURR:0#FIRST|", "CURR:0#FIRST|TSD1#QQQQ:100#LMV:5#SF:1|", "CURR:0#LAST|"});
    SetList({{1, 2, 3, 4, 5, 6}, {7, 8, 9, 10, 11, 12}});
    ASSERT_TRUE(runner.ScriptRun());
    EXPECT_EQ(Stakes().size(), 1u);
    ASSERT_EQ(host.Errors().size(), 1u);
    EXPECT_EQ(host.Errors()[0], "Некорректное описание фильтра: TSD1#QQQQ:100#LMV:5#SF:1!");
    EXPECT_TRUE(ws.IsIdle());
}

TEST_F(ScenarioRun, ConversionErrorsAndTooManyVariantsEndTheRun) {
    // Over the first four draws most numbers have no depth ("-"): a depth list cannot read it.
    ws.ChangeDrawsOffset(8);
    Lines({"CURR:0#FIRST|TSD0#NUMS:4#LDV:1#SF:1|", "CURR:0#LAST|"});
    SetList(FIVE);
    ASSERT_TRUE(runner.ScriptRun());
    ASSERT_EQ(host.Errors().size(), 1u);
    EXPECT_EQ(host.Errors()[0], "'-' - неверное целое значение");
    EXPECT_TRUE(Stakes().empty()); // the second line never ran

    ws.Script().SetScriptLine(0, "CURR:0#FIRST|TSD1#NUMS:1-1000;1#LMV:1-1000;1#SF:1|TSD1#EVEN:1-1000;1#LNO:#SF:1|");
    ASSERT_TRUE(runner.ScriptRun());
    ASSERT_EQ(host.Errors().size(), 2u);
    EXPECT_EQ(host.Errors()[1].rfind(TOO_MANY_VARIANTS_MESSAGE, 0), 0u);
    EXPECT_TRUE(Stakes().empty());
    EXPECT_TRUE(ws.IsIdle());
}

} // namespace
} // namespace pelko
