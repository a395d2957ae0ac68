#include "core/diff_chain.h"

#include <gtest/gtest.h>

#include <vector>

namespace pelko {
namespace {

struct DiffCase {
    std::vector<std::uint8_t> values;
    TByteArray plain, smallToSum, zeroOrOne;
};

class DiffChainTest : public testing::TestWithParam<DiffCase> {};

TEST_P(DiffChainTest, AllModes) {
    const DiffCase& c = GetParam();
    const int n = static_cast<int>(c.values.size());
    EXPECT_EQ(DiffChain(c.values.data(), n, dcmPlain), c.plain);
    EXPECT_EQ(DiffChain(c.values.data(), n, dcmSmallToSum), c.smallToSum);
    EXPECT_EQ(DiffChain(c.values.data(), n, dcmZeroOrOne), c.zeroOrOne);
}

INSTANTIATE_TEST_SUITE_P(
    Sequences, DiffChainTest,
    testing::Values(DiffCase{{1, 2, 3, 4, 5, 6}, {0}, {0}, {0}}, // last pair is 0, 0
                    DiffCase{{1, 2}, {1}, {3}, {1, 3}}, DiffCase{{4, 4}, {0}, {8}, {8}},
                    DiffCase{{10, 3}, {7}, {7}, {7}},
                    DiffCase{{1, 4, 9}, {2}, {2}, {2}},    // 3, 5 -> 2
                    DiffCase{{1, 2, 4}, {1}, {3}, {1, 3}}, // last pair 1, 2
                    DiffCase{{3, 11, 17, 28, 40, 45}, {1}, {3}, {1, 3}},
                    DiffCase{{200, 200}, {0}, {144}, {144}}, // byte sums wrap
                    DiffCase{{7}, {}, {}, {}}, DiffCase{{}, {}, {}, {}}));

TEST(DiffChainLongTest, SpikeAtTheEndSurvivesEveryRow) {
    std::vector<std::uint8_t> values(100, 0); // longer than the on-stack buffer
    values.back() = 9;
    EXPECT_EQ(DiffChain(values.data(), 100, dcmPlain), TByteArray{9});
}

} // namespace
} // namespace pelko
