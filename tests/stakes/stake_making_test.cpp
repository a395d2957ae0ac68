#include "core/atomic_file.h"
#include "core/codec.h"
#include "stake_fixtures.h"
#include "stakes/stake_log.h"
#include "stakes/stake_making.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <cstring>

namespace pelko {
namespace {

struct NumbersCase {
    const char* text;
    std::vector<int> numbers; // empty: refused
};

class StakeNumbers : public ::testing::TestWithParam<NumbersCase> {};

TEST_P(StakeNumbers, SixToFifteenDistinctNumbersFrom1To45) {
    const auto set = ParseStakeNumbers(GetParam().text);
    if (GetParam().numbers.empty()) {
        EXPECT_FALSE(set) << GetParam().text;
        EXPECT_EQ(ValidateStakeDialog(GetParam().text, "c"), "Введена некорректная комбинация!");
        return;
    }
    ASSERT_TRUE(set) << GetParam().text;
    EXPECT_EQ(std::vector<int>(set->Members, set->Members + set->Count), GetParam().numbers);
}

INSTANTIATE_TEST_SUITE_P(
    Dialog, StakeNumbers,
    ::testing::Values(NumbersCase{"3, 1;2 ,45;10;7", {1, 2, 3, 7, 10, 45}},
                      NumbersCase{"1;2;3;4;5;6;7;8;9;10;11;12;13;14;15",
                                  {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15}},
                      NumbersCase{"5;5;10;20;30;40", {}}, NumbersCase{"1;2;3;4;5", {}},
                      NumbersCase{"1;2;3;4;5;46", {}}, NumbersCase{"0;2;3;4;5;6", {}},
                      NumbersCase{"1;2;3;4;5;x", {}},
                      NumbersCase{"1;2;3;4;5;6;7;8;9;10;11;12;13;14;15;16", {}}));

TEST(StakeDialog, CommentIsRequiredAfterTheNumbers) {
    EXPECT_EQ(ValidateStakeDialog("1;2;3;4;5;6", ""), "Необходимо ввести комментарий!");
    EXPECT_FALSE(ValidateStakeDialog("1;2;3;4;5;6", "x"));
    EXPECT_EQ(ValidateMultiStakeDialog(""), "Необходимо ввести комментарий!");
    EXPECT_EQ(StakeNumbersSum("1;2;x;40"), 43);
}

TEST(StakeDialog, DefaultsOfANewStake) {
    const TStakeData s = NewStakeDefaults(1051, 8145060);
    EXPECT_EQ(s.Version, 2);
    EXPECT_EQ(s.Kind, skManual);
    EXPECT_EQ(s.DrawNumber, 1051);
    EXPECT_EQ(s.CommentText(), "Ставка \"вручную\"");
    EXPECT_EQ(s.SampleSize, 8145060);
    EXPECT_EQ(s.MatchCount(), -1);
    EXPECT_FALSE(s.IsChecked());
}

TEST(ScenarioStakes, CommentNamesTheLineAndTurnsBackIntoIt) {
    const std::vector<std::string> filters = {"TSD#NUMS:1000#LMV:5#SF:1", "",
                                              "TSD#EVEN:100#LNO:#SF:1"};
    EXPECT_EQ(ScenarioStakeComment(1, 2, "проба", "FULL#EXT", filters),
              "01.002: проба @ FULL#EXT + TSD#NUMS:1000#LMV:5#SF:1 + TSD#EVEN:100#LNO:#SF:1");
    EXPECT_EQ(ScenarioStakeComment(12, 345, " ", "EXCL:5#RAND#NEX", {"TSD#NUMS:10#LNO:#SF:1"}),
              "12.345: @ EXCL:5#RAND#NEX + TSD#NUMS:10#LNO:#SF:1");
    const std::string longOne = ScenarioStakeComment(1, 1, std::string(300, 'x'), "FULL#EXT", {});
    EXPECT_EQ(longOne.size(), 255u);
}

TEST(StakeConditions, ParseTheCommandLineForm) {
    struct Case {
        const char* text;
        int cond;
        int value;
    };
    for (const Case& c : {Case{"=0", scEqual, 0}, Case{">3", scMore, 3}, Case{">=2", scNotLess, 2},
                          Case{"<1", scLess, 1}, Case{"<=6", scNotMore, 6}}) {
        const auto p = ParseStakeCondition(c.text);
        ASSERT_TRUE(p) << c.text;
        EXPECT_EQ(p->first, c.cond);
        EXPECT_EQ(p->second, c.value);
    }
    for (const char* bad : {"", "3", "=7", "=-1", "!=2", ">=x"})
        EXPECT_FALSE(ParseStakeCondition(bad)) << bad;
    // Unchecked stakes (-1) fall under "less" whatever the value.
    EXPECT_TRUE(StakeConditionHolds(scLess, -1, 0));
    EXPECT_TRUE(StakeConditionHolds(scNotMore, -1, 0));
    EXPECT_FALSE(StakeConditionHolds(scLess, 0, 0));
}

TEST(StakeLog, OneLinePerSettledStakeInTheLogOfItsMatchCount) {
    test::TTempDir dir;
    TStakeLog log(dir.path());
    TStakeData s =
        test::MakeStake(1050, {1, 2, 3, 4, 5, 6}, "Ставка \"вручную\"", MoneyFromDouble(400));
    s.SampleSize = 12;
    s.Checked = 1;
    const std::uint8_t result[6] = {3, 2, 1, 40, 41, 42};
    std::memcpy(s.DrawResult, result, 6);
    s.Matches = test::Set({1, 2, 3});

    EXPECT_TRUE(log.LogStakeResult(s).empty());
    EXPECT_TRUE(log.ListLogs().empty()); // logging off: nothing touched
    log.Enabled = true;
    EXPECT_TRUE(log.LogStakeResult(s).empty());
    EXPECT_TRUE(log.LogStakeResult(s).empty());
    const std::string text = Cp1251ToUtf8(ReadWholeFile(dir.file("Pelko_6x45-3.log")));
    const std::string tail =
        ": Тираж № 1050. Ставка: \"Ставка \"вручную\"\" [1;2;3;4;5;6] {12}. Результаты "
        "тиража: [3;2;1;40;41;42]. Совпадений: 3. Профит: 400.00.\r\n";
    ASSERT_EQ(text.size(), 2 * (19 + tail.size()));
    EXPECT_EQ(text.substr(19, tail.size()), tail);
    EXPECT_EQ(text[4], '.');
    EXPECT_EQ(text[13], ':');
    EXPECT_EQ(log.ListLogs().size(), 1u);

    s.Checked = 0;
    EXPECT_TRUE(log.LogStakeResult(s).empty());
    EXPECT_EQ(StakeLogLine(s, TDateTime{2024, 3, 5, 21, 0, 7}).substr(0, 21),
              "2024.03.05 21:00:07: ");
}

} // namespace
} // namespace pelko
