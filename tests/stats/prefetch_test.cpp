#include "core/arithmetic.h"
#include "core/atomic_file.h"
#include "stats/prefetch_files.h"
#include "stats/stat_list.h"
#include "support/temp_dir.h"
#include "test_stats.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <cstring>
#include <fstream>

namespace pelko {
namespace {

TPrefetchData Sample() {
    TPrefetchData data;
    data.Records = {{TStatKey::FromK(1, 0x0203, 0, 0xFFFF), 7}, {TStatKey::FromK(2), 300}};
    data.MinCount = 7;
    data.MaxCount = 300;
    return data;
}

TEST(PrefetchBytes, LittleEndianRecordsThenTrailer) {
    const std::string bytes = PrefetchToBytes(Sample());
    ASSERT_EQ(bytes.size(), 36u);
    const std::string first("\x01\x00\x03\x02\x00\x00\xFF\xFF\x07\x00\x00\x00", 12);
    EXPECT_EQ(bytes.substr(0, 12), first);
    const std::string trailer("\x07\x00\x00\x00\x2C\x01\x00\x00\x00\x00\x00\x00", 12);
    EXPECT_EQ(bytes.substr(24), trailer);
    const auto back = PrefetchFromBytes(bytes);
    ASSERT_TRUE(back.has_value());
    ASSERT_EQ(back->Records.size(), 2u);
    EXPECT_EQ(back->Records[0].Key, Sample().Records[0].Key);
    EXPECT_EQ(back->Records[1].Count, 300);
    EXPECT_EQ(back->MaxCount, 300);
}

TEST(PrefetchBytes, BrokenFilesAreRejectedWithoutReadingPastTheEnd) {
    const std::string good = PrefetchToBytes(Sample());
    std::string zeroTrailer = good;
    std::fill(zeroTrailer.end() - 12, zeroTrailer.end(), '\0');
    std::string badZero = good;
    badZero[good.size() - 1] = 1;
    TPrefetchData unordered = Sample();
    std::swap(unordered.Records[0], unordered.Records[1]);
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty", ""},
        {"shorter than a record", good.substr(0, 5)},
        {"not whole records", good.substr(0, 30)},
        {"cut at a record boundary", good.substr(0, 24)},
        {"zeroed trailer", zeroTrailer},
        {"trailer without its zero", badZero},
        {"keys not ascending", PrefetchToBytes(unordered)},
        {"one record, no trailer", good.substr(0, 12)},
    };
    for (const auto& c : cases) {
        // a copy of exactly the file's size, so a read past the end would be caught by ASan
        const std::unique_ptr<char[]> exact(new char[c.bytes.size() + 1]);
        std::memcpy(exact.get(), c.bytes.data(), c.bytes.size());
        EXPECT_FALSE(PrefetchFromBytes(std::string_view(exact.get(), c.bytes.size())).has_value()) << c.name;
    }
    const auto empty = PrefetchFromBytes(PrefetchToBytes(TPrefetchData{}));
    ASSERT_TRUE(empty.has_value()) << "a trailer alone is a distribution without values";
    EXPECT_FALSE(empty->HasNorms());
}

class Prefetch : public ::testing::Test {
protected:
    TDrawsArray draws;
    TStatList list{draws, TConfigData{}, test::TestClasses()};
    test::TTempDir dir;
    TPrefetchFiles files{list, dir.path()};

    void SetUp() override { list.Build(); }
    const TStatMethod& Method(const char* code) { return list.Items(list.IndexOfCode(code)); }
};

TEST_F(Prefetch, FileNameInThePrefetchFolder) {
    EXPECT_EQ(files.PrefetchFileName(Method("TPOS3")), dir.path() / "Prefetchs" / "Pelko_6x45_TPOS3.dfc");
}

TEST_F(Prefetch, DistributionsOverAllCombinations) {
    auto values = list.CreateStat(Method("TVAL"));
    const TPrefetchData numbers = ComputePrefetch(*values);
    ASSERT_EQ(numbers.Records.size(), 45u);
    for (const TShemaItem& r : numbers.Records)
        EXPECT_EQ(r.Count, 1086008);
    EXPECT_EQ(numbers.MinCount, 1086008);
    EXPECT_EQ(numbers.MaxCount, 1086008);

    auto ratio = list.CreateStat(Method("TRAT"));
    const TPrefetchData even = ComputePrefetch(*ratio);
    ASSERT_EQ(even.Records.size(), 7u);
    for (int k = 0; k <= 6; ++k)
        EXPECT_EQ(even.Records[static_cast<std::size_t>(k)].Count, Binomial(22, k) * Binomial(23, 6 - k)) << k;

    auto sum = list.CreateStat(Method("TSUM"));
    int lastPercent = -1, reports = 0;
    const TPrefetchData sums = ComputePrefetch(*sum, [&](int percent) {
        EXPECT_GT(percent, lastPercent);
        lastPercent = percent;
        ++reports;
    });
    EXPECT_EQ(lastPercent, 100);
    EXPECT_GE(reports, 100);
    long long total = 0;
    for (const TShemaItem& r : sums.Records)
        total += r.Count;
    EXPECT_EQ(total, COMBS_TOTAL);
    ASSERT_EQ(sums.Records.size(), static_cast<std::size_t>(SUM_MAX - SUM_MIN + 1));
    EXPECT_EQ(sums.Records.front().Key.V(1), SUM_MIN);
    EXPECT_EQ(sums.Records.front().Count, 1);
    EXPECT_EQ(sums.Records[10].Count, sums.Records[sums.Records.size() - 11].Count) << "sums are symmetric";
}

TEST_F(Prefetch, BrokenFileIsRebuiltOnOpenAndUnreadableOneReportsTheError) {
    const auto path = files.PrefetchFileName(Method("TRAT"));
    std::filesystem::create_directories(path.parent_path());
    WriteFileAtomically(path, std::string(30, '\x7F'));
    std::string error;
    const auto data = files.OpenPrefetch(Method("TRAT"), nullptr, &error);
    ASSERT_TRUE(data.has_value()) << error;
    EXPECT_EQ(data->Records.size(), 7u);
    EXPECT_EQ(std::filesystem::file_size(path), 8u * 12u);
    EXPECT_TRUE(PrefetchFromBytes(ReadWholeFile(path)).has_value());

    const auto blocked = files.PrefetchFileName(Method("TMSK"));
    std::filesystem::create_directories(blocked); // a folder where the file should be
    error.clear();
    EXPECT_FALSE(files.OpenPrefetch(Method("TMSK"), nullptr, &error).has_value());
    EXPECT_EQ(error.rfind("Ошибка открытия файла данных для полного набора вариантов!\r\n\r\nИмя файла: " +
                              blocked.string() + "\r\n\r\n",
                          0),
              0u)
        << error;
}

TEST_F(Prefetch, CreateFailureLeavesNoFileAndNamesIt) {
    // the data folder is a file: the "Prefetchs" folder cannot be made
    const auto notAFolder = dir.file("plain");
    { std::ofstream(notAFolder) << "x"; }
    TPrefetchFiles broken(list, notAFolder);
    try {
        broken.CreatePrefetch(Method("TSUM"), nullptr);
        FAIL();
    } catch (const std::runtime_error& e) {
        const std::string text = e.what();
        EXPECT_EQ(text.rfind("Ошибка создания файла данных для полного набора вариантов!\r\n\r\nИмя файла: ", 0), 0u) << text;
        EXPECT_NE(text.find("Pelko_6x45_TSUM.dfc"), std::string::npos);
    }
    std::string error;
    EXPECT_FALSE(broken.OpenPrefetch(Method("TSUM"), nullptr, &error).has_value());
    EXPECT_FALSE(error.empty());
}

TEST(PrefetchBatch, CreatesMissingFilesAndRebuildsOnlyTheGroupsAsked) {
    TStatClassTable classes;
    classes.Add(StatClass<test::TstTestSum>({.Position = 0, .Name = "S", .Code = "BSUM", .Caption = "s",
                                             .Group = sgSums, .Flags = sfCombinable}));
    classes.Add(StatClass<test::TstTestRatio>({.Position = 1, .Name = "R", .Code = "BRAT", .Caption = "r",
                                               .Group = sgNumbers, .Flags = sfCombinable}));
    classes.Add(StatClass<test::TstTestValues>({.Position = 2, .Name = "V", .Code = "BREF", .Caption = "v",
                                                .Group = sgNumbers, .Flags = sfReferenceDraw}));
    TDrawsArray draws;
    TStatList list(draws, TConfigData{}, classes);
    list.Build();
    test::TTempDir dir;
    TPrefetchFiles files(list, dir.path());
    EXPECT_EQ(files.CreateAllPrefetchs(false, ALL_STAT_GROUPS, false, nullptr).Created, 0) << "comparison off";
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "Prefetchs"));
    EXPECT_EQ(files.CreateAllPrefetchs(false, 0, true, nullptr).Created, 2);
    EXPECT_FALSE(std::filesystem::exists(files.PrefetchFileName(list.Items(2)))) << "no N flag, no file";
    EXPECT_EQ(files.CreateAllPrefetchs(true, 0, false, nullptr).Created, 0) << "present files are kept";
    const auto sumFile = files.PrefetchFileName(list.Items(0));
    const auto before = std::filesystem::last_write_time(sumFile);
    const TPrefetchBatchResult result = files.CreateAllPrefetchs(true, 1u << sgNumbers, false, nullptr);
    EXPECT_EQ(result.Created, 1);
    EXPECT_TRUE(result.Errors.empty());
    EXPECT_EQ(std::filesystem::last_write_time(sumFile), before);
}

// The real families: the checks that do not depend on how they are written.
TEST(PrefetchFamilies, IndependentChecks) {
    TDrawsArray draws;
    TStatList list(draws, TConfigData{});
    list.Build();
    const int nums = list.IndexOfCode("NUMS"), even = list.IndexOfCode("EVEN"), sums = list.IndexOfCode("SUMS");
    if (nums < 0 || even < 0 || sums < 0)
        GTEST_SKIP() << "the number and sum families are not registered";
    for (const TShemaItem& r : ComputePrefetch(*list.CreateStat(nums)).Records)
        EXPECT_EQ(r.Count, 1086008);
    const TPrefetchData e = ComputePrefetch(*list.CreateStat(even));
    ASSERT_EQ(e.Records.size(), 7u);
    for (const TShemaItem& r : e.Records)
        EXPECT_EQ(r.Count, Binomial(22, r.Key.K(1)) * Binomial(23, 6 - r.Key.K(1)));
    long long total = 0;
    for (const TShemaItem& r : ComputePrefetch(*list.CreateStat(sums)).Records)
        total += r.Count;
    EXPECT_EQ(total, COMBS_TOTAL);
}

} // namespace
} // namespace pelko
