#include "stats/changed_prefetchs.h"
#include "stats/stat_list.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace pelko {
namespace {

TEST(ChangedPrefetchs, WithTheComparisonOffTheFilesOfChangedGroupsAreDeleted) {
    test::TTempDir dir;
    TDrawsArray draws;
    TStatList list(draws, TConfigData{});
    list.Build();
    TPrefetchFiles files(list, dir.path());
    const TStatMethod& shr1 = list.Items(list.IndexOfCode("SHR1"));
    const TStatMethod& nums = list.Items(list.IndexOfCode("NUMS"));
    files.CreatePrefetch(shr1, nullptr);
    files.CreatePrefetch(nums, nullptr);

    list.Shredding.Formula[0] = "n1/7";
    EXPECT_EQ(RefreshChangedPrefetchs(files, list, 0, false, nullptr).Removed, 0);
    const TChangedPrefetchsResult result =
        RefreshChangedPrefetchs(files, list, TStatGroups(1u << sgShredding), false, nullptr);
    EXPECT_EQ(result.Removed, 1);
    EXPECT_TRUE(result.Rebuilt.Errors.empty());
    EXPECT_FALSE(std::filesystem::exists(files.PrefetchFileName(shr1)));
    EXPECT_TRUE(std::filesystem::exists(files.PrefetchFileName(nums)));

    // The next use makes the file with the new formula: n1 / 7 has seven two-digit tails.
    std::string error;
    const auto data = files.OpenPrefetch(shr1, nullptr, &error);
    ASSERT_TRUE(data.has_value()) << error;
    EXPECT_EQ(data->Records.size(), 7u);
}

} // namespace
} // namespace pelko
