#include "core/atomic_file.h"
#include "stats/prefetch_files.h"
#include "stats/stat_table.h"
#include "support/temp_dir.h"
#include "test_stats.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace pelko {
namespace {

using test::MakeDraw;

class StatTable : public ::testing::Test {
protected:
    // Draw numbers 100..104; 1 occurs in 100, 101, 103; 7 in 101, 102, 104; 2 in 100, 102.
    TDrawsArray draws = {MakeDraw(100, {1, 2, 3, 4, 5, 6}), MakeDraw(101, {1, 7, 8, 9, 10, 11}),
                         MakeDraw(102, {2, 7, 12, 13, 14, 15}), MakeDraw(103, {1, 16, 17, 18, 19, 20}),
                         MakeDraw(104, {7, 21, 22, 23, 24, 25})};
    TStatList list{draws, TConfigData{}, test::TestClasses()};
    TStatTable table{list};

    void SetUp() override { list.Build(); }

    TStatTableQuery Query(const char* code, int n = 5, int offset = 0) {
        TStatTableQuery q;
        q.MethodIndex = list.IndexOfCode(code);
        q.DrawsLen = n;
        q.DrawsOffset = offset;
        return q;
    }
    const TStatRow& RowOf(const std::string& caption) {
        for (const TStatRow& r : table.Rows())
            if (r.Caption == caption)
                return r;
        throw std::runtime_error("no row " + caption);
    }
    std::vector<std::string> TextsOf(const std::string& caption) {
        const auto& t = RowOf(caption).Texts;
        return {t.begin(), t.end()};
    }
};

using Texts = std::vector<std::string>;

TEST_F(StatTable, ColumnTextsOnAHandMadeArchive) {
    ASSERT_TRUE(table.ComputeStatTable(Query("TVAL"), true));
    EXPECT_EQ(table.RowCount(), 45u) << "the pre-filled domain, in its order";
    EXPECT_EQ(table.Row(0).Caption, "1");
    EXPECT_EQ(table.WindowSize(), 5);
    EXPECT_EQ(table.Totals().Total, 30);
    EXPECT_EQ(table.Totals().MaxAge, 5);
    EXPECT_EQ(TextsOf("1"), (Texts{"1", "3", "10.00000", "-", "-", "-", "2", "40.00", "2.00", "103", "1", "1.6667", "2",
                                 "105", "137", "130", "-", "-", "-", "-"}));
    // halves round to even: 2.5 + 102 -> 104; 3 * 101 / 2 -> 152
    EXPECT_EQ(TextsOf("2"), (Texts{"2", "2", "6.66667", "-", "-", "-", "3", "60.00", "3.00", "102", "2", "2.5000", "2",
                                 "104", "153", "137", "-", "-", "-", "-"}));
    EXPECT_EQ(TextsOf("3"), (Texts{"3", "1", "3.33333", "-", "-", "-", "5", "100.00", "5.00", "100", "-", "-", "-", "-",
                                 "200", "152", "-", "-", "-", "-"}));
    Texts never(20, "-");
    never[0] = "45";
    never[1] = "0";
    never[2] = "0.00000";
    EXPECT_EQ(TextsOf("45"), never);
}

TEST_F(StatTable, FactAndDifferencesNeedDrawsAfterTheWindow) {
    ASSERT_TRUE(table.ComputeStatTable(Query("TVAL", 5, 1), true));
    EXPECT_EQ(table.LastIndex(), 3);
    EXPECT_EQ(table.WindowSize(), 4) << "archive length minus the offset";
    // 7 occurred in 101 and 102 and occurs next in 104
    EXPECT_EQ(TextsOf("7"), (Texts{"7", "2", "8.33333", "-", "-", "-", "2", "50.00", "2.00", "102", "1", "2.0000", "1",
                                 "104", "153", "137", "104", "0", "+49", "+33"}));
    EXPECT_EQ(RowOf("1").Texts[scFact], "-") << "1 does not occur after 103";
    // a value seen once: no "Ожд. ПРД", so its difference is a dash too
    const auto& three = RowOf("3").Texts;
    EXPECT_EQ(three[scFact], "-");
    EXPECT_EQ(RowOf("21").Texts[scDepth], "-");
}

TEST_F(StatTable, ExpectationsExample) {
    TDrawsArray big;
    for (int n = 901; n <= 1000; ++n)
        big.push_back(MakeDraw(n, {1, 2, 3, 4, 5, n == 910 || n == 950 || n == 990 || n == 1000 ? 45 : 6}));
    draws = big;
    ASSERT_TRUE(table.ComputeStatTable(Query("TVAL", 100), true));
    const auto& t = RowOf("45").Texts;
    EXPECT_EQ(t[scCount], "4");
    EXPECT_EQ(t[scLastDraw], "1000");
    EXPECT_EQ(t[scExpectPRD], "1025");
    EXPECT_EQ(t[scExpectSTF], "1250");
    EXPECT_EQ(t[scExpectKRN], "1201");
    EXPECT_EQ(t[scPeriodMin], "10");
    EXPECT_EQ(t[scPeriodMax], "40");
}

TEST_F(StatTable, WindowEdges) {
    ASSERT_TRUE(table.ComputeStatTable(Query("TVAL", 1000), true));
    EXPECT_EQ(table.FirstIndex(), 0);
    EXPECT_EQ(table.WindowSize(), 5);
    ASSERT_TRUE(table.ComputeStatTable(Query("TVAL", 2, 5), true));
    EXPECT_EQ(table.RowCount(), 0u) << "offset past the newest draw: nothing computed";
    ASSERT_TRUE(table.ComputeStatTable(Query("TVAL", 2, 3), true));
    EXPECT_EQ(table.WindowSize(), 2);
    EXPECT_EQ(RowOf("7").Texts[scCount], "1");
    TStatTableQuery none = Query("TVAL");
    none.MethodIndex = -1;
    ASSERT_TRUE(table.ComputeStatTable(none, true));
    EXPECT_EQ(table.RowCount(), 0u);
    draws.clear();
    ASSERT_TRUE(table.ComputeStatTable(Query("TVAL"), true));
    EXPECT_EQ(table.RowCount(), 0u);
}

TEST_F(StatTable, CacheSkipsUnchangedQueriesUnlessForced) {
    EXPECT_TRUE(table.ComputeStatTable(Query("TVAL"), false));
    EXPECT_FALSE(table.ComputeStatTable(Query("TVAL"), false));
    TStatTableQuery sorted = Query("TVAL");
    sorted.Sorted = true;
    EXPECT_FALSE(table.ComputeStatTable(sorted, false)) << "options are not cache keys";
    EXPECT_TRUE(table.ComputeStatTable(Query("TVAL"), true));
    EXPECT_TRUE(table.ComputeStatTable(Query("TVAL", 4), false));
    EXPECT_TRUE(table.ComputeStatTable(Query("TVAL", 4, 1), false));
    EXPECT_TRUE(table.ComputeStatTable(Query("TSUM", 4, 1), false));
    draws.push_back(MakeDraw(105, {1, 2, 3, 4, 5, 6}));
    EXPECT_TRUE(table.ComputeStatTable(Query("TSUM", 4, 1), false));
}

TEST_F(StatTable, DecimalSeparatorIsASetting) {
    table.DecimalSeparator = ',';
    table.ComputeStatTable(Query("TVAL"), true);
    EXPECT_EQ(RowOf("1").Texts[scCountPercent], "10,00000");
    EXPECT_EQ(RowOf("1").Texts[scPeriod], "1,6667");
    EXPECT_EQ(RowOf("1").Texts[scWeight], "2,00");
}

TEST_F(StatTable, SortingByColumnsAndDirections) {
    table.ComputeStatTable(Query("TVAL"), true);
    table.ClickColumn(scCount);
    EXPECT_EQ(table.SortColumn(), scCount);
    EXPECT_FALSE(table.SortDescending());
    EXPECT_EQ(table.Row(0).Caption, "26") << "count 0 first, ties by caption as numbers";
    table.ClickColumn(scCount);
    EXPECT_TRUE(table.SortDescending());
    EXPECT_EQ(table.Row(0).Caption, "7") << "descending reverses the caption tie-break too";
    EXPECT_EQ(table.Row(1).Caption, "1");
    EXPECT_EQ(table.Row(2).Caption, "2");
    // numbers against dashes compare as texts: "-" sorts before digits
    table.SortBy(scPeriod, false);
    EXPECT_EQ(table.Row(0).Texts[scPeriod], "-");
    EXPECT_EQ(table.Row(44).Texts[scPeriod], "2.5000");
    table.ClickColumn(scValue);
    EXPECT_EQ(table.Row(0).Caption, "1");
    EXPECT_EQ(table.Row(9).Caption, "10") << "captions compare as numbers";
    EXPECT_THROW(table.SortBy(20, true), std::out_of_range);
    // the sort survives a recomputation
    table.SortBy(scCount, true);
    table.ComputeStatTable(Query("TVAL"), true);
    EXPECT_EQ(table.Row(0).Caption, "7");
}

TEST_F(StatTable, SelectionAndRowTexts) {
    table.ComputeStatTable(Query("TVAL"), true);
    table.SortBy(scCount, true);
    table.SelectRow(0);
    table.SelectRow(2);
    EXPECT_EQ(table.SelectedCaptions(), "7; 2");
    const TStatDrawArray items = table.SelectedItems();
    ASSERT_EQ(items.size(), 2u);
    EXPECT_EQ(items[0].Key.K(1), 7);
    EXPECT_EQ(items[1].Count, 2);
    table.ClearSelection();
    EXPECT_EQ(table.SelectByCaptions({"45", "3", "nope"}), 2);
    EXPECT_EQ(table.SelectedRows().size(), 2u);

    const TStatValues v = table.RowTexts(0);
    EXPECT_EQ(v.Caption, "7");
    EXPECT_EQ(v.Value, 0);
    EXPECT_EQ(v.Count, "3");
    EXPECT_EQ(v.CountPercent, "10.00000");
    EXPECT_EQ(v.Deviation, "-");
    EXPECT_EQ(v.Depth, "1");
    EXPECT_EQ(v.DepthPercent, "20.00");
    EXPECT_EQ(v.Weight, "1.00");
    EXPECT_EQ(v.PeriodMin, "1");
    EXPECT_EQ(v.Period, "1.6667");
    EXPECT_EQ(v.PeriodMax, "2");
    const TStatValues absent = table.RowTexts(45);
    EXPECT_EQ(absent.Caption, "");
    EXPECT_EQ(absent.Count, "");
    // a new computation drops the selection with the rows
    table.ComputeStatTable(Query("TVAL"), true);
    EXPECT_TRUE(table.SelectedRows().empty());
}

TEST_F(StatTable, ChartWithoutPrefetchIsSortedByKey) {
    table.ComputeStatTable(Query("TSUM"), true);
    const TStatChart& chart = table.Chart();
    ASSERT_EQ(chart.Actual.size(), 5u);
    EXPECT_FALSE(chart.HasTotal);
    EXPECT_EQ(chart.Actual[0].Label, "21");
    EXPECT_EQ(chart.Actual[0].X, 1);
    EXPECT_EQ(chart.Actual[0].Y, 1);
    for (std::size_t i = 1; i < chart.Actual.size(); ++i)
        EXPECT_LT(std::stoi(chart.Actual[i - 1].Label), std::stoi(chart.Actual[i].Label));
    // one value only: no chart
    draws.resize(1);
    table.ComputeStatTable(Query("TSUM"), true);
    EXPECT_TRUE(table.Chart().Actual.empty());
}

TEST_F(StatTable, ChartPointsKeepTheirOwnCountsWhateverTheRowOrder) {
    table.SortBy(scCount, true); // rows leave the order of the values
    table.ComputeStatTable(Query("TVAL"), true);
    const TStatChart& chart = table.Chart();
    ASSERT_EQ(chart.Actual.size(), 45u);
    for (std::size_t i = 0; i < chart.Actual.size(); ++i) {
        EXPECT_EQ(chart.Actual[i].Label, std::to_string(i + 1));
        EXPECT_EQ(chart.Actual[i].Y, RowOf(chart.Actual[i].Label).Item.Count) << chart.Actual[i].Label;
    }
    // 1 and 7 have the largest count; descending reverses the caption order of ties too
    EXPECT_EQ(table.Row(0).Caption, "7");
    EXPECT_EQ(table.Row(1).Caption, "1");
}

class StatTablePrefetch : public StatTable {
protected:
    test::TTempDir dir;
    TPrefetchFiles files{list, dir.path()};
    TStatTable withFiles{list, &files};

    TStatTableQuery On(const char* code) {
        TStatTableQuery q = Query(code);
        q.PrefetchEnabled = true;
        return q;
    }
    const TStatRow& Row(const std::string& caption) {
        for (const TStatRow& r : withFiles.Rows())
            if (r.Caption == caption)
                return r;
        throw std::runtime_error("no row " + caption);
    }
    void WriteFile(const char* code, const TPrefetchData& data) {
        const auto path = files.PrefetchFileName(list.Items(list.IndexOfCode(code)));
        std::filesystem::create_directories(path.parent_path());
        WriteFileAtomically(path, PrefetchToBytes(data));
    }
};

TEST_F(StatTablePrefetch, NormsScaleAndWeightFromAFile) {
    TPrefetchData data;
    data.Records = {{TStatKey::FromK(1), 10}, {TStatKey::FromK(2), 20}, {TStatKey::FromK(3), 40}};
    data.MinCount = 10;
    data.MaxCount = 40;
    WriteFile("TVAL", data);
    ASSERT_TRUE(withFiles.ComputeStatTable(On("TVAL"), true));
    EXPECT_TRUE(withFiles.HasPrefetchData());
    EXPECT_DOUBLE_EQ(static_cast<double>(withFiles.Scale()), 3.0 / 40);
    // 10 * 0.075 = 0.75 -> 1; 20 * 0.075 = 1.5 -> 2; 40 * 0.075 = 3
    const auto& one = Row("1").Texts;
    EXPECT_EQ(one[scNorm], "1");
    EXPECT_EQ(one[scDeviation], "2");
    EXPECT_EQ(one[scDeviationPercent], "200.00000");
    EXPECT_EQ(one[scWeight], "0.00") << "defaults: depth 2 minus deviation 2";
    EXPECT_EQ(Row("2").Texts[scNorm], "2");
    EXPECT_EQ(Row("3").Texts[scDeviation], "-2");
    EXPECT_EQ(Row("7").Texts[scNorm], "0") << "values absent from the file keep norm 0";
    EXPECT_EQ(Row("7").Texts[scDeviationPercent], "100.00000");
    EXPECT_EQ(Row("45").Texts[scDeviationPercent], "0.00000");
    EXPECT_EQ(Row("45").Texts[scWeight], "-");

    const TStatChart& chart = withFiles.Chart();
    ASSERT_TRUE(chart.HasTotal);
    ASSERT_EQ(chart.Total.size(), 3u);
    EXPECT_DOUBLE_EQ(chart.Total[2].Y, 3.0);
    EXPECT_EQ(chart.Total[1].Label, "2");
    ASSERT_EQ(chart.Actual.size(), 3u) << "only values of the file are plotted";
    EXPECT_EQ(chart.Actual[0].Y, 3);

    TStatTableQuery noLine = On("TVAL");
    noLine.ShowTotalLine = false;
    withFiles.ComputeStatTable(noLine, true);
    EXPECT_TRUE(withFiles.Chart().Total.empty());
    EXPECT_EQ(withFiles.Chart().Actual.size(), 3u);

    // comparison off: no norms even with the file present
    withFiles.ComputeStatTable(Query("TVAL"), true);
    EXPECT_EQ(Row("1").Texts[scNorm], "-");
}

TEST_F(StatTablePrefetch, WeightSwitches) {
    TPrefetchData data;
    data.Records = {{TStatKey::FromK(1), 10}, {TStatKey::FromK(2), 20}, {TStatKey::FromK(3), 40}};
    data.MinCount = 10;
    data.MaxCount = 40;
    WriteFile("TVAL", data);
    list.Config.CDL = TCDLData{1.0L, 2.0L, 3.0L, true, true};
    withFiles.ComputeStatTable(On("TVAL"), true);
    // "3": count 1 of 30 (3.333 %), deviation 1 - 3 = -2 (-66.67 %, abs), depth 5 of 5 (100 %)
    EXPECT_EQ(Row("3").Texts[scWeight], "436.67");
}

TEST_F(StatTablePrefetch, UniformFileGivesTheMeanOfTheTableCounts) {
    TPrefetchData data;
    for (int n = 1; n <= 45; ++n)
        data.Records.push_back({TStatKey::FromK(static_cast<std::uint16_t>(n)), 1086008});
    data.MinCount = data.MaxCount = 1086008;
    WriteFile("TVAL", data);
    withFiles.ComputeStatTable(On("TVAL"), true);
    for (const TStatRow& row : withFiles.Rows())
        EXPECT_EQ(row.Item.Norm, 2) << "(3 + 0) / 2 = 1.5 rounds to 2";
}

TEST_F(StatTablePrefetch, MissingFileIsCreatedAndZeroTrailerMeansNoNorms) {
    ASSERT_TRUE(withFiles.ComputeStatTable(On("TRAT"), true));
    EXPECT_TRUE(withFiles.HasPrefetchData());
    EXPECT_TRUE(std::filesystem::exists(files.PrefetchFileName(list.Items(list.IndexOfCode("TRAT")))));
    TPrefetchData empty; // a distribution without values: trailer {0, 0, 0}
    WriteFile("TRAT", empty);
    withFiles.ComputeStatTable(On("TRAT"), true);
    EXPECT_FALSE(withFiles.HasPrefetchData());
    EXPECT_EQ(withFiles.Row(0).Texts[scNorm], "-");
}

} // namespace
} // namespace pelko
