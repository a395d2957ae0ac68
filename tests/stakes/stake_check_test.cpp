#include "core/arithmetic.h"
#include "stake_fixtures.h"
#include "stakes/ratings.h"
#include "stakes/stake_appender.h"
#include "stakes/stake_check.h"
#include "stakes/stake_profit.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace pelko {
namespace {

using test::MakeDraw;
using test::MakeStake;
using test::Set;

struct ProfitCase {
    int n;
    int m;
    double expected;
};

class StakeProfitTable : public ::testing::TestWithParam<ProfitCase> {};

TEST_P(StakeProfitTable, CostIsCn6TimesTheStakeAndThePrizeCountsOnce) {
    const ProfitCase c = GetParam();
    EXPECT_EQ(StakeProfit(test::PricedConfig(), c.n, c.m), MoneyFromDouble(c.expected))
        << c.n << " numbers, " << c.m << " matches";
}

INSTANTIATE_TEST_SUITE_P(Stakes, StakeProfitTable,
                         ::testing::Values(ProfitCase{6, -1, -100}, ProfitCase{6, 2, -100},
                                           ProfitCase{6, 3, 400}, ProfitCase{8, 0, -2800},
                                           ProfitCase{8, 3, -2300}, ProfitCase{8, 4, 2200},
                                           ProfitCase{15, 3, -500500 + 500}, ProfitCase{5, 3, 400},
                                           ProfitCase{200, -1, -800800}, ProfitCase{6, 9, -100}));

TEST(StakeProfit, OnlyTheFirstRowOfAMatchCountCounts) {
    TConfigData config = test::PricedConfig();
    config.Profits.insert(config.Profits.begin() + 1, {3, MoneyFromDouble(9999)});
    config.Profits.insert(config.Profits.begin(), {2, MoneyFromDouble(1)});
    config.Profits.push_back({2, MoneyFromDouble(7)});
    EXPECT_EQ(StakeProfit(config, 6, 3), MoneyFromDouble(400));
    EXPECT_EQ(StakeProfit(config, 6, 2), MoneyFromDouble(-99));
}

TEST(StakeMatching, FollowsTheDrawnOrderAndSortsTheMatches) {
    const TDrawData draw = MakeDraw(7, {40, 3, 17, 1, 45, 22});
    TStakeData s = MakeStake(7, {1, 3, 8, 17, 40, 41, 44, 45});
    SettleStake(s, draw, test::PricedConfig());
    EXPECT_TRUE(s.IsChecked());
    EXPECT_EQ(std::vector<int>(s.DrawResult, s.DrawResult + 6),
              (std::vector<int>{40, 3, 17, 1, 45, 22}));
    EXPECT_EQ(s.Matches, Set({1, 3, 17, 40, 45}));
    // 8 numbers: 28 stakes of 100, no prize row for 5 matches.
    EXPECT_EQ(s.Profit, MoneyFromDouble(-2800));
}

class StakeCheck : public ::testing::Test {
  protected:
    std::string bytes;
    test::TMemoryDevice* device = nullptr;
    TStakesFile file;
    TDrawsArray draws = {MakeDraw(1, {1, 2, 3, 4, 5, 6}), MakeDraw(2, {10, 11, 12, 13, 14, 15}),
                         MakeDraw(3, {40, 41, 42, 43, 44, 45})};
    TConfigData config = test::PricedConfig();
    std::vector<TStakeData> settled;

    void SetUp() override {
        auto d = std::make_unique<test::TMemoryDevice>(&bytes);
        device = d.get();
        file.Attach(std::move(d));
    }
    void Put(const TStakeData& s) { file.Write(TSeekOrigin::End, 0, s); }
    TCheckOutcome Check(TStatusSink* sink = nullptr) {
        return CheckStakes(
            file, draws, config, [&](const TStakeData& s) { settled.push_back(s); }, sink);
    }
};

TEST_F(StakeCheck, SkipsSeparatorsShortSetsAndStakesWhoseDrawIsMissing) {
    Put(MakeStake(1, {1, 2, 3, 7, 8, 9}));
    Put(MakeSeparator());
    Put(MakeStake(9, {1, 2, 3, 4, 5, 6}));   // draw not in the archive yet
    Put(MakeStake(2, {10, 11, 12, 13, 14})); // five numbers: not a stake to check
    Put(MakeStake(3, {40, 41, 42, 43, 1, 2}));
    const std::string separatorBefore = bytes.substr(328, 328);

    const TCheckOutcome out = Check();
    EXPECT_FALSE(out.Error);
    EXPECT_EQ(out.Settled, 2);
    ASSERT_EQ(settled.size(), 2u);
    EXPECT_EQ(settled[0].DrawNumber, 1);
    EXPECT_EQ(settled[0].MatchCount(), 3);
    EXPECT_EQ(settled[1].MatchCount(), 4);
    EXPECT_EQ(bytes.substr(328, 328), separatorBefore);
    const TStakeData waiting = file.Read(TSeekOrigin::Begin, 2);
    EXPECT_FALSE(waiting.IsChecked());
    EXPECT_EQ(waiting.MatchCount(), -1);
    EXPECT_FALSE(file.Read(TSeekOrigin::Begin, 3).IsChecked());
    EXPECT_EQ(file.Read(TSeekOrigin::Begin, 4).Profit, MoneyFromDouble(4900));

    // Nothing new: a second pass settles nothing; once the draw arrives it does.
    settled.clear();
    EXPECT_EQ(Check().Settled, 0);
    draws.push_back(MakeDraw(9, {6, 5, 4, 30, 31, 32}));
    EXPECT_EQ(Check().Settled, 1);
    EXPECT_EQ(settled.at(0).Matches, Set({4, 5, 6}));
}

TEST_F(StakeCheck, ReadsAndWritesEachRecordOnceInBlocks) {
    TStakeAppender appender(file);
    for (int i = 0; i < 10000; ++i)
        appender.Append(MakeStake(1 + i % 3, {1, 2, 3, 4, 5, 6}), 1);
    appender.Flush();
    device->readCalls = device->writeCalls = 0;
    EXPECT_EQ(Check().Settled, 10000);
    EXPECT_LE(device->readCalls, 4);
    EXPECT_LE(device->writeCalls, 4);
}

TEST_F(StakeCheck, ProgressReportsEveryWholePerCentAfterTheFirstCandidate) {
    struct Sink : TStatusSink {
        std::vector<std::string> texts;
        void StatusText(const std::string& t) override { texts.push_back(t); }
    } sink;
    Put(MakeSeparator());
    for (int i = 0; i < 200; ++i)
        Put(MakeStake(1, {1, 2, 3, 4, 5, 6}));
    Check(&sink);
    // First candidate at index 1: 199 records follow, a report every 1 record.
    ASSERT_EQ(sink.texts.size(), 199u);
    EXPECT_EQ(sink.texts.front(), "Проверка результатов ставок ( завершено 1 % )...");
    EXPECT_EQ(sink.texts.back(), "Проверка результатов ставок ( завершено 100 % )...");
}

TEST_F(StakeCheck, AFailedWriteTearsNoRecordAndCountsOnlyWholeOnes) {
    for (int i = 0; i < 4; ++i)
        Put(MakeStake(1, {1, 2, 3, 10, 20, 30}));
    const std::string before = bytes;
    device->writeBudget = 2 * 328 + 100; // the write stops inside the third record
    const TCheckOutcome out = Check();
    ASSERT_TRUE(out.Error);
    EXPECT_EQ(*out.Error, "SysError #5: \"Input/output error\"!");
    EXPECT_EQ(out.Settled, 2);
    EXPECT_EQ(settled.size(), 2u);
    EXPECT_TRUE(file.Read(TSeekOrigin::Begin, 1).IsChecked());
    EXPECT_EQ(bytes.substr(2 * 328), before.substr(2 * 328)); // third put back, fourth untouched

    // The next check settles the rest.
    settled.clear();
    EXPECT_EQ(Check().Settled, 2);
}

TEST_F(StakeCheck, DamagedRecordsAreLeftAsTheyAre) {
    std::string garbage(328, '\xC8');
    const std::int32_t draw = 2, count = 200;
    std::memcpy(garbage.data() + 4, &draw, 4);
    garbage[8] = 0;
    std::memcpy(garbage.data() + 16, &count, 4);
    garbage[20] = 10;                            // a member that matches
    bytes += garbage + std::string(100, '\x01'); // and a torn tail
    const std::string before = bytes;
    const TCheckOutcome out = Check();
    EXPECT_FALSE(out.Error);
    EXPECT_EQ(out.Settled, 0); // a damaged record is never settled, rated or rewritten
    EXPECT_EQ(out.Damaged, 1);
    EXPECT_EQ(out.FirstDamaged, static_cast<std::int64_t>((before.size() - 100) / 328 - 1));
    EXPECT_TRUE(settled.empty());
    EXPECT_EQ(bytes, before);
}

TEST_F(StakeCheck, RatingsRebuiltFromTheFileEqualTheAccumulatedOnes) {
    const char* comments[] = {"альфа", "АЛЬФА", "beta", "Gamma"};
    for (int i = 0; i < 60; ++i) {
        if (i % 7 == 0) Put(MakeSeparator());
        Put(MakeStake(1 + i % 3, {1 + i % 3, 11, 12, 40, 41, 20 + i % 5}, comments[i % 4]));
    }
    TRatings accumulated;
    CheckStakes(
        file, draws, config, [&](const TStakeData& s) { accumulated.AddStake(s); }, nullptr);
    TRatings rebuilt;
    ForEachStakeRecord(file, 0, [&](std::int64_t, const char* raw) {
        const TStakeData s = DecodeStakeRecord(raw);
        if (s.DrawNumber >= 0 && s.IsChecked()) rebuilt.AddStake(s);
        return true;
    });
    ASSERT_EQ(accumulated.Count(), 3u); // "альфа" and "АЛЬФА" share a row
    ASSERT_EQ(rebuilt.Count(), accumulated.Count());
    for (std::size_t i = 0; i < rebuilt.Count(); ++i)
        EXPECT_EQ(EncodeRatingRecord(rebuilt[i]), EncodeRatingRecord(accumulated[i])) << i;
    EXPECT_EQ(accumulated[0].CommentText(), "альфа");
}

} // namespace
} // namespace pelko
