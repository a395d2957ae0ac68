#include "core/arithmetic.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace pelko {
namespace {

TEST(ArithmeticTest, FactorialsAndProducts) {
    EXPECT_EQ(Factorial(0), 1.0L);
    EXPECT_EQ(Factorial(1), 1.0L);
    EXPECT_EQ(Factorial(20), 2432902008176640000.0L);
    EXPECT_EQ(RisingProduct(3, 4), 360.0L); // 3*4*5*6
    EXPECT_EQ(RisingProduct(3, 0), 1.0L);
    EXPECT_EQ(FallingProduct(6, 3), 120.0L); // 6*5*4
    EXPECT_EQ(FallingProduct(6, 0), 1.0L);
    EXPECT_EQ(FallingProduct(3, 5), 0.0L); // passes through the factor 0
}

TEST(ArithmeticTest, Binomials) {
    struct Case {
        int n, k;
        std::int64_t expected;
    };
    const Case cases[] = {
        {45, 6, 8145060}, {49, 6, 13983816}, {6, 6, 1},    {5, 7, 1},       {45, 0, 1},
        {45, 1, 45},      {45, 44, 45},      {10, 3, 120}, {255, 2, 32385},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Binomial(c.n, c.k), c.expected) << c.n << " over " << c.k;
}

TEST(ArithmeticTest, MatchesDistributionCoversAllCombinations) {
    const std::int64_t expected[] = {3262623, 3454542, 1233765, 182780, 11115, 234, 1};
    std::int64_t total = 0;
    for (int m = 0; m <= 6; ++m) {
        EXPECT_EQ(CombsWithMatches(45, 6, m), expected[m]) << "m = " << m;
        total += CombsWithMatches(45, 6, m);
    }
    EXPECT_EQ(total, Binomial(45, 6));

    std::int64_t total49 = 0;
    for (int m = 0; m <= 6; ++m)
        total49 += CombsWithMatches(49, 6, m);
    EXPECT_EQ(total49, Binomial(49, 6));

    EXPECT_EQ(CombsWithMatches(45, 6, 7), 0); // more matches than numbers drawn
    EXPECT_EQ(CombsWithMatches(5, 6, 5), 1);  // m >= N
}

TEST(ArithmeticTest, SumsAndDivisions) {
    EXPECT_EQ(SumUp(1, 6), 21);
    EXPECT_EQ(SumDown(45, 6), 255);
    EXPECT_EQ(SumUp(10, 0), 0);
    EXPECT_EQ(SumDown(3, 3), 6);

    EXPECT_EQ(CeilDiv(45, 5), 9);
    EXPECT_EQ(CeilDiv(46, 5), 10);
    EXPECT_EQ(CeilDiv(1, 5), 1);
    EXPECT_EQ(CeilDiv(0, 5), 0);

    EXPECT_EQ(RowsCount(0, 45, 5), 9);
    EXPECT_EQ(RowsCount(0, 45, 7), 7);
    EXPECT_EQ(RowsCount(1, 45, 5), 9);
    EXPECT_EQ(RowsCount(21, 255, 10), 24); // 235 values
    EXPECT_EQ(RowsCount(21, 30, 10), 1);
}

} // namespace
} // namespace pelko
