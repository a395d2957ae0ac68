#include "core/atomic_file.h"
#include "stake_fixtures.h"
#include "stakes/stake_appender.h"
#include "stakes/stake_making.h"
#include "stakes/stake_search.h"
#include "stakes/stakes_file.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <vector>

namespace pelko {
namespace {

using test::MakeStake;

std::vector<std::int32_t> DrawNumbers(TStakesFile& file) {
    std::vector<std::int32_t> out;
    for (std::int64_t i = 0; i < file.Count(); ++i)
        out.push_back(file.Read(TSeekOrigin::Begin, i).DrawNumber);
    return out;
}

class StakesFile : public ::testing::Test {
  protected:
    test::TTempDir dir;
    std::filesystem::path path = dir.file(STAKES_FILE_NAME);
    TStakesFile file;
    void SetUp() override { file.Open(path); }
};

TEST_F(StakesFile, ASecondOpenIsRefusedWhileTheFirstHoldsIt) {
    TStakesFile second;
    EXPECT_THROW(second.Open(path), TFileLockedError);
    file.Close();
    EXPECT_NO_THROW(second.Open(path));
}

TEST_F(StakesFile, ReadWriteFromBothEndsAndTheCacheFollowsWrites) {
    file.Write(TSeekOrigin::Begin, 0, MakeStake(10, {1, 2, 3, 4, 5, 6}));
    file.Write(TSeekOrigin::End, 0, MakeStake(11, {1, 2, 3, 4, 5, 6})); // at the size: appends
    EXPECT_EQ(file.Count(), 2);
    EXPECT_EQ(file.Read(TSeekOrigin::End, -1).DrawNumber, 11);
    EXPECT_EQ(file.Read(TSeekOrigin::Begin, 0).DrawNumber, 10);
    file.Write(TSeekOrigin::Begin, 0, MakeStake(12, {1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(file.Read(TSeekOrigin::Begin, 0).DrawNumber, 12);

    for (const auto& [origin, index] :
         std::vector<std::pair<TSeekOrigin, std::int64_t>>{{TSeekOrigin::Begin, 2},
                                                           {TSeekOrigin::Begin, -1},
                                                           {TSeekOrigin::End, 0},
                                                           {TSeekOrigin::End, -3}}) {
        try {
            file.Read(origin, index);
            ADD_FAILURE() << index;
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), "Запись со индексом " + std::to_string(index) +
                                                 " в файле данных не найдена!");
        }
    }
    EXPECT_THROW(file.Write(TSeekOrigin::Begin, 3, MakeStake(1, {1, 2, 3, 4, 5, 6})),
                 std::runtime_error);
}

TEST_F(StakesFile, APartialRecordAtTheEndIsNeverRead) {
    file.Close();
    std::string bytes =
        EncodeStakeRecord(MakeStake(5, {1, 2, 3, 4, 5, 6})) + std::string(100, '\x7F');
    WriteFileAtomically(path, bytes);
    file.Open(path);
    EXPECT_EQ(file.Count(), 1);
    EXPECT_THROW(file.Read(TSeekOrigin::Begin, 1), std::runtime_error);
    EXPECT_EQ(file.Read(TSeekOrigin::End, -1).DrawNumber, 5);
    std::vector<int> seen;
    ForEachStakeRecord(file, 0, [&](std::int64_t i, const char*) {
        seen.push_back(static_cast<int>(i));
        return true;
    });
    EXPECT_EQ(seen, std::vector<int>{0});
}

TEST_F(StakesFile, ASeriesGetsASeparatorBeforeEachDrawUnlessTheFileStartsWithIt) {
    AppendStakes(file, MakeStake(1050, {1, 2, 3, 4, 5, 6}), 3);
    EXPECT_EQ(DrawNumbers(file), (std::vector<std::int32_t>{1050, -1, 1051, -1, 1052}));
    file.Truncate(0);
    AppendStakes(file, MakeStake(7, {1, 2, 3, 4, 5, 6}), 1);
    AppendStakes(file, MakeStake(1050, {1, 2, 3, 4, 5, 6}), 3);
    EXPECT_EQ(DrawNumbers(file), (std::vector<std::int32_t>{7, -1, 1050, -1, 1051, -1, 1052}));
    // A file ending with a separator gets no second one.
    StartStakesGroup(file);
    StartStakesGroup(file);
    EXPECT_EQ(file.Count(), 8);
    AppendStakes(file, MakeStake(9, {1, 2, 3, 4, 5, 6}), 2);
    EXPECT_EQ(DrawNumbers(file).back(), 10);
    EXPECT_EQ(file.Count(), 11); // 9, separator, 10
}

TEST_F(StakesFile, ACheckedStakeIsRefusedAndNothingIsWritten) {
    TStakeData s = MakeStake(5, {1, 2, 3, 4, 5, 6});
    s.Checked = 1;
    try {
        AppendStakes(file, s, 3);
        ADD_FAILURE();
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Добавление в конец файла уже проверенной ставки!");
    }
    EXPECT_EQ(file.Count(), 0);
}

TEST(StakesFileDevice, AFailedAppendLeavesTheFileAsItWas) {
    std::string bytes;
    auto device = std::make_unique<test::TMemoryDevice>(&bytes);
    auto* dev = device.get();
    TStakesFile file;
    file.Attach(std::move(device));
    AppendStakes(file, MakeStake(1, {1, 2, 3, 4, 5, 6}), 1);
    dev->writeBudget = 500; // one record and a half, then the device fails
    dev->failForever = true;
    TStakeAppender appender(file);
    for (int i = 0; i < 5; ++i)
        appender.Append(MakeStake(2 + i, {1, 2, 3, 4, 5, 6}), 1);
    EXPECT_THROW(appender.Flush(), std::runtime_error);
    EXPECT_EQ(bytes.size(), STAKE_RECORD_SIZE); // the one record from before
    EXPECT_EQ(file.Count(), 1);
}

TEST(StakesFileDevice, BulkAppendWritesLargeBlocks) {
    std::string bytes;
    auto device = std::make_unique<test::TMemoryDevice>(&bytes);
    auto* dev = device.get();
    TStakesFile file;
    file.Attach(std::move(device));
    TStakeAppender appender(file);
    for (int i = 0; i < 10000; ++i)
        appender.Append(MakeStake(1, {1, 2, 3, 4, 5, 6}), 2);
    appender.Flush();
    EXPECT_EQ(file.Count(), 3 + 9999 * 4); // stake, separator, stake; then a separator first
    EXPECT_LE(dev->writeCalls, 14);        // about 13 MB in 1 MB blocks
}

TEST_F(StakesFile, DeletingRewritesThroughALockedTemporaryFile) {
    for (int d = 1; d <= 5; ++d)
        AppendStakes(file, MakeStake(d, {1, 2, 3, 4, 5, 6}), 1);
    DeleteSelectedStakes(file, 2, 3); // rows 2..3 are records 1..2
    EXPECT_EQ(DrawNumbers(file), (std::vector<std::int32_t>{1, 4, 5}));
    EXPECT_FALSE(std::filesystem::exists(dir.file("Pelko_6x45.~tmp")));
    TStakesFile second; // the replacement is held as exclusively as the old file
    EXPECT_THROW(second.Open(path), TFileLockedError);
    file.Close();
    TStakesFile reopened;
    reopened.Open(path);
    EXPECT_EQ(DrawNumbers(reopened), (std::vector<std::int32_t>{1, 4, 5}));
}

TEST_F(StakesFile, DeletingByConditionKeepsSeparatorsAndSparesTheOthers) {
    auto checked = [](std::int32_t draw, int m) {
        TStakeData s = MakeStake(draw, {1, 2, 3, 4, 5, 6});
        s.Checked = 1;
        s.Matches = test::Set({});
        s.Matches.Count = m;
        return s;
    };
    // Written directly: appending refuses checked stakes.
    const std::vector<TStakeData> records = {checked(1, 0), MakeSeparator(), checked(2, 3),
                                             MakeStake(3, {1, 2, 3, 4, 5, 6}), checked(4, 1)};
    for (std::size_t i = 0; i < records.size(); ++i)
        file.Write(TSeekOrigin::Begin, static_cast<std::int64_t>(i), records[i]);

    struct Case {
        TStakeCondition cond;
        int value;
        std::vector<std::int32_t> kept;
    };
    for (const Case& c : {Case{scEqual, 0, {-1, 2, 3, 4}}, Case{scMore, 0, {1, -1, 3}},
                          Case{scNotLess, 1, {1, -1, 3}}, Case{scLess, 0, {1, -1, 2, 4}},
                          Case{scNotMore, 1, {-1, 2}}}) {
        TStakesFile scratch;
        test::TTempDir other;
        std::filesystem::copy_file(path, other.file(STAKES_FILE_NAME));
        scratch.Open(other.file(STAKES_FILE_NAME));
        DeleteStakesByCondition(scratch, c.cond, c.value);
        EXPECT_EQ(DrawNumbers(scratch), c.kept) << StakeConditionCaption(c.cond) << c.value;
    }
}

TEST_F(StakesFile, FindStakeComparesDrawAndNumberSets) {
    AppendStakes(file, MakeStake(5, {1, 2, 3, 4, 5, 6}), 1);
    AppendStakes(file, MakeStake(6, {7, 8, 9, 10, 11, 12, 13}), 1);
    EXPECT_TRUE(FindStake(file, 6, test::Set({13, 12, 11, 10, 9, 8, 7})));
    EXPECT_FALSE(FindStake(file, 5, test::Set({7, 8, 9, 10, 11, 12, 13})));
    EXPECT_FALSE(FindStake(file, 6, test::Set({7, 8, 9, 10, 11, 12})));
}

TEST_F(StakesFile, SeekRecentDrawsCountsRunsOfSettledStakes) {
    auto settled = [](std::int32_t draw) {
        TStakeData s = MakeStake(draw, {1, 2, 3, 4, 5, 6});
        s.Checked = 1;
        s.Matches = test::Set({1});
        const std::uint8_t result[6] = {1, 12, 13, 14, 15, 16};
        std::copy(result, result + 6, s.DrawResult);
        return s;
    };
    const std::vector<TStakeData> records = {
        settled(1), settled(1), MakeSeparator(), settled(2), MakeStake(9, {1, 2, 3, 4, 5, 6}),
        settled(3), settled(3)};
    for (std::size_t i = 0; i < records.size(); ++i)
        file.Write(TSeekOrigin::Begin, static_cast<std::int64_t>(i), records[i]);
    EXPECT_EQ(SeekRecentDraws(file, 100).Groups, 3);
    EXPECT_EQ(SeekRecentDraws(file, 100).Start, 0);
    const TRecentDraws two = SeekRecentDraws(file, 2);
    EXPECT_EQ(two.Groups, 2);
    EXPECT_EQ(two.Start, 2); // right after the last stake of draw 1
    file.Truncate(2);
    EXPECT_EQ(SeekRecentDraws(file, 100).Groups, 1);
}

} // namespace
} // namespace pelko
