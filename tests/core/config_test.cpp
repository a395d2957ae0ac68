#include "core/config.h"

#include "core/atomic_file.h"
#include "core/ini_file.h"
#include "core/segments.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

namespace pelko {
namespace {

using test::TTempDir;

TConfigData SampleConfig() {
    TConfigData config;
    config.MatrixCols = 7;
    config.ChannelSize = 4;
    config.Cost = 1234567; // 123.4567
    config.MaxStake = 9;
    config.Profits = {{3, 100000}, {4, 12345000}, {6, 10000000001}};
    config.CDL = {0.1L, -2.5L, 1.0L / 3.0L, true, true};
    for (int i = 0; i < LOTTO_MAX; ++i)
        config.Segments[i] = static_cast<std::uint8_t>(1 + i % 9);
    return config;
}

TEST(Config, MissingFileGivesAFreshInstallation) {
    TTempDir dir;
    const TConfigData config = LoadConfig(dir.file("Pelko_6x45.ini"));
    EXPECT_EQ(config.MatrixCols, 5);
    EXPECT_EQ(config.MatrixRows(), 9);
    EXPECT_EQ(config.ChannelSize, 5);
    EXPECT_EQ(config.Cost, 0);
    EXPECT_EQ(config.MaxStake, 15);
    EXPECT_TRUE(config.Profits.empty());
    EXPECT_EQ(config.CDL.Count, 0.0L);
    EXPECT_EQ(config.CDL.Deviation, -1.0L);
    EXPECT_EQ(config.CDL.Level, 1.0L);
    EXPECT_FALSE(config.CDL.UsePercents);
    EXPECT_FALSE(config.CDL.UseAbsValues);
    EXPECT_EQ(SegmentsToText(config.Segments), std::string(LOTTO_MAX, '1'));

    EXPECT_EQ(LoadShredding(dir.file("Pelko_6x45.ini")), TShreddingFormulas{});
    EXPECT_EQ(LoadGenerateParams(dir.file("Pelko_6x45.ini")), TGenerateParams{});
}

TEST(Config, EveryFieldRoundTrips) {
    TTempDir dir;
    const auto file = dir.file("Pelko_6x45.ini");
    const TConfigData saved = SampleConfig();
    SaveConfig(file, saved);
    EXPECT_EQ(LoadConfig(file), saved);

    const TIniFile ini(file);
    EXPECT_EQ(ini.ReadString("STAKES", "Cost"), "123.4567");
    EXPECT_EQ(ini.ReadString("STAKES", "Profits"), "3");
    EXPECT_EQ(ini.ReadString("STAKES", "Profit_1_Overlap"), "4");
    EXPECT_EQ(ini.ReadString("STAKES", "Profit_1_Profit"), "1234.5");
    EXPECT_EQ(ini.ReadString("CDL", "UsePercents"), "1");
    EXPECT_EQ(ini.ReadString("GLOBAL", "MatrixSegments"),
              "123456789123456789123456789123456789123456789");
}

TEST(Config, SavingKeepsOtherKeysAndDropsStalePrizeRows) {
    TTempDir dir;
    const auto file = dir.file("Pelko_6x45.ini");
    WriteFileAtomically(file, "[ONLINE]\r\nProxy=127.0.0.1\r\n[GLOBAL]\r\nCombsGenerateMode=3\r\n");
    SaveConfig(file, SampleConfig());

    TConfigData shorter = SampleConfig();
    shorter.Profits.resize(1);
    SaveConfig(file, shorter);

    EXPECT_EQ(LoadConfig(file), shorter);
    const TIniFile ini(file);
    EXPECT_EQ(ini.ReadString("ONLINE", "Proxy"), "127.0.0.1");
    EXPECT_FALSE(ini.HasKey("STAKES", "Profit_1_Overlap"));
    EXPECT_FALSE(ini.HasKey("STAKES", "Profit_2_Profit"));
    EXPECT_EQ(LoadGenerateParams(file).Mode, 3);
}

TEST(Config, ReadsAHandWrittenPrizeTableWithCommaDecimals) {
    TTempDir dir;
    const auto file = dir.file("Pelko_6x45.ini");
    WriteFileAtomically(file, "[STAKES]\r\nCost=12,5\r\nProfits=3\r\n"
                              "Profit_0_Overlap=3\r\nProfit_0_Profit=100\r\n"
                              "Profit_1_Overlap=4\r\nProfit_1_Profit=1500,25\r\n"
                              "Profit_2_Overlap=5\r\nProfit_2_Profit=0.00005\r\n"
                              "[CDL]\r\nCount=0,5\r\nLevel=-1,25\r\n");
    const TConfigData config = LoadConfig(file);
    EXPECT_EQ(config.Cost, 125000);
    const std::vector<TProfitItem> expected = {{3, 1000000}, {4, 15002500}, {5, 1}};
    EXPECT_EQ(config.Profits, expected);
    EXPECT_EQ(config.CDL.Count, 0.5L);
    EXPECT_EQ(config.CDL.Level, -1.25L);
}

TEST(Config, SegmentsFromAShortOrOddText) {
    TTempDir dir;
    const auto file = dir.file("Pelko_6x45.ini");
    const auto segmentsOf = [&](const std::string& text) {
        WriteFileAtomically(file, "[GLOBAL]\r\nMatrixSegments=" + text + "\r\n");
        return SegmentsToText(LoadConfig(file).Segments);
    };
    const std::string rest(LOTTO_MAX - 3, '1');
    EXPECT_EQ(segmentsOf("123"), "123" + rest);
    EXPECT_EQ(segmentsOf("1a9"), "119" + rest);
    EXPECT_EQ(segmentsOf("909"), "919" + rest); // 0 is no segment
    EXPECT_EQ(segmentsOf(std::string(60, '7')), std::string(LOTTO_MAX, '7'));
}

TEST(Segments, TextFormsFollowTheLiteralRules) {
    EXPECT_EQ(TextToSegments("0")[0], 0);
    EXPECT_EQ(TextToSegments("")[44], 1);
    TSegments segments = TConfigData::MakeDefaultSegments();
    segments[44] = 12;
    EXPECT_EQ(SegmentsToText(segments), std::string(44, '1') + "12");
}

struct TBadValue {
    const char* section;
    const char* key;
    const char* value;
};

class ConfigBadValue : public ::testing::TestWithParam<TBadValue> {};

TEST_P(ConfigBadValue, TakesTheDefault) {
    TTempDir dir;
    const auto file = dir.file("Pelko_6x45.ini");
    TIniFile ini(file);
    ini.WriteString(GetParam().section, GetParam().key, GetParam().value);
    ini.Save();
    EXPECT_EQ(LoadConfig(file), TConfigData{}) << GetParam().key << "=" << GetParam().value;
}

INSTANTIATE_TEST_SUITE_P(
    Keys, ConfigBadValue,
    ::testing::Values(
        TBadValue{"GLOBAL", "MatrixCols", "abc"}, TBadValue{"GLOBAL", "MatrixCols", "0"},
        TBadValue{"GLOBAL", "MatrixCols", "46"}, TBadValue{"GLOBAL", "ChannelSize", "2"},
        TBadValue{"GLOBAL", "ChannelSize", "46"}, TBadValue{"STAKES", "MaxStake", "6"},
        TBadValue{"STAKES", "MaxStake", "16"}, TBadValue{"STAKES", "Cost", "12.5.1"},
        TBadValue{"STAKES", "Cost", "1e300"}, TBadValue{"STAKES", "Profits", "-1"},
        TBadValue{"STAKES", "Profits", "2000000000"}, TBadValue{"CDL", "Count", "x"},
        TBadValue{"CDL", "Deviation", "nan"}, TBadValue{"CDL", "UsePercents", "-1"},
        TBadValue{"CDL", "UseAbsValues", "yes"}, TBadValue{"GLOBAL", "MatrixSegments", "0"}));

TEST(Config, PrizeRowWithImpossibleMatchesCountsAsNoMatches) {
    TTempDir dir;
    const auto file = dir.file("Pelko_6x45.ini");
    WriteFileAtomically(file,
                        "[STAKES]\r\nProfits=2\r\nProfit_0_Overlap=7\r\nProfit_0_Profit=x\r\n");
    const std::vector<TProfitItem> expected = {{0, 0}, {0, 0}};
    EXPECT_EQ(LoadConfig(file).Profits, expected);
}

TEST(Config, UnreadableOrUnwritableFileThrows) {
    TTempDir dir;
    EXPECT_THROW(LoadConfig(dir.path()), std::runtime_error);
    EXPECT_THROW(SaveConfig(dir.file("missing/Pelko_6x45.ini"), TConfigData{}), std::runtime_error);
}

TEST(Config, ShreddingRoundTripsAndDigitsStayInRange) {
    TTempDir dir;
    const auto file = dir.file("Pelko_6x45.ini");
    TShreddingFormulas formulas;
    formulas.Formula = {"n1*p1", "(n6-n1)/2", "sqrt(n1)"};
    formulas.Digits = {1, 5, 3};
    SaveShredding(file, formulas);
    EXPECT_EQ(LoadShredding(file), formulas);

    TIniFile ini(file);
    ini.WriteString("SHREDDING", "Formula1Digits", "0");
    ini.WriteString("SHREDDING", "Formula2Digits", "6");
    ini.Save();
    const TShreddingFormulas loaded = LoadShredding(file);
    EXPECT_EQ(loaded.Digits[0], 2);
    EXPECT_EQ(loaded.Digits[1], 2);
    EXPECT_EQ(loaded.Digits[2], 3);
}

TEST(Config, GenerateParamsRoundTripAndAreCheckedOnLoad) {
    TTempDir dir;
    const auto file = dir.file("Pelko_6x45.ini");
    const TGenerateParams params{4, "/home/игрок/мои комбинации.lcv"};
    SaveGenerateParams(file, params);
    EXPECT_EQ(LoadGenerateParams(file), params);

    std::string longText;
    for (int i = 0; i < 300; ++i)
        longText += "ж";
    TIniFile ini(file);
    ini.WriteString("GLOBAL", "CombsGenerateMode", "5");
    ini.WriteString("GLOBAL", "CombsGenerateParameters", longText);
    ini.Save();
    const TGenerateParams loaded = LoadGenerateParams(file);
    EXPECT_EQ(loaded.Mode, 0);
    EXPECT_EQ(loaded.Parameters, longText.substr(0, 255 * 2)); // 255 two-byte characters
}

struct TWeightCase {
    TCDLData coef;
    bool hasDeviation;
    long double c;
    std::int64_t total;
    long double b, d, depthBase;
    long double expected;
};

class Weight : public ::testing::TestWithParam<TWeightCase> {};

TEST_P(Weight, CombinesTheThreeTerms) {
    const TWeightCase& w = GetParam();
    EXPECT_DOUBLE_EQ(
        static_cast<double>(WeightOf(w.coef, w.hasDeviation, w.c, w.total, w.b, w.d, w.depthBase)),
        static_cast<double>(w.expected));
}

INSTANTIATE_TEST_SUITE_P(Cases, Weight,
                         ::testing::Values(
                             // defaults 0 / -1 / 1: depth minus deviation
                             TWeightCase{{}, true, 10, 100, 8, 3, 50, -2 + 3},
                             TWeightCase{{}, false, 10, 100, 8, 3, 50, 3},
                             TWeightCase{{2, 1, 0, false, true}, true, 10, 100, 14, 3, 50, 20 + 4},
                             // percents: 10 of 200 = 5 %, (10 - 8) of 8 = 25 %, 3 of 60 = 5 %
                             TWeightCase{
                                 {1, 1, 1, true, false}, true, 10, 200, 8, 3, 60, 5 + 25 + 5},
                             // percents with nothing to divide by: those terms are 0
                             TWeightCase{{1, 1, 1, true, false}, true, 10, 0, 0, 3, 0, 0},
                             TWeightCase{{1, -1, 1, true, true}, true, 6, 200, 8, 3, 0, 3 - 25}));

} // namespace
} // namespace pelko
