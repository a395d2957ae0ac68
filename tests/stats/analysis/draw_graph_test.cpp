#include "stats/analysis/draw_graph.h"

#include "../family_fixture.h"

namespace pelko::test {
namespace {

class DrawGraphTest : public FamilyTest {
  protected:
    // Draw sums 30, 50, 50, 30 (draw numbers 100..103), then one of sum 21.
    void SetUp() override {
        for (auto nums : {std::initializer_list<int>{1, 2, 3, 4, 5, 15},
                          {1, 2, 3, 4, 5, 35}, {1, 2, 3, 4, 5, 35}, {1, 2, 3, 4, 5, 15},
                          {1, 2, 3, 4, 5, 6}})
            AddDraw(nums);
    }
    TDrawGraph Graph(int offset, int n) {
        auto stat = Create("TstSumValues");
        return ComputeDrawGraph(dynamic_cast<TCustomGraphStat&>(*stat), Draws(), offset, n, false);
    }
};

// A tie goes to the value seen first; the offset hides the newest draws.
TEST_F(DrawGraphTest, MeanAndMostFrequentOverTheVisibleWindow) {
    const TDrawGraph g = Graph(1, 4);
    EXPECT_EQ(g.DrawNumbers, (std::vector<std::int32_t>{100, 101, 102, 103}));
    EXPECT_EQ(g.Values, (std::vector<int>{30, 50, 50, 30}));
    EXPECT_DOUBLE_EQ(g.Mean, 40);
    EXPECT_EQ(g.MostFrequent, 30);
}

TEST_F(DrawGraphTest, AWindowLongerThanTheArchiveTakesItAllAndNoDrawGivesNothing) {
    const TDrawGraph all = Graph(0, 1000);
    EXPECT_EQ(all.Values.size(), 5u);
    EXPECT_EQ(all.DrawNumbers.back(), 104);
    EXPECT_TRUE(Graph(5, 10).Values.empty());
}

} // namespace
} // namespace pelko::test
