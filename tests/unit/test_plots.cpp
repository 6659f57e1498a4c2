// Curves, symbols, splines and the legend records.
#include <gtest/gtest.h>

#include <cmath>

#include "core/core.hpp"
#include "korval/korval.hpp"
#include "plots/plots.hpp"

using namespace korval;

namespace {

class PlotsTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = state().plots;
        state().plots = PlotsState{};
    }
    void TearDown() override { state().plots = saved_; }

private:
    PlotsState saved_;
};

}  // namespace

TEST_F(PlotsTest, LegendRecords) {
    PlotsState& p = state().plots;
    p.thickness = 3;
    p.line_type = 2;
    record_legend_entry(2);
    const LegendRecord* r = legend_record(2);
    ASSERT_NE(r, nullptr);
    EXPECT_EQ(r->line_type, 2);
    EXPECT_EQ(r->symbol, -1);  // no symbols
    EXPECT_EQ(r->thickness, 3);
    EXPECT_EQ(r->colour, state().colour.current);
    EXPECT_EQ(r->pattern, -1);
    EXPECT_EQ(p.legend_count, 2);

    // Symbols only: no line type; a filled curve takes the pattern.
    p.marker_increment = -1;
    p.symbol_number = 7;
    p.filled_curve = true;
    record_legend_entry(1);
    r = legend_record(1);
    EXPECT_EQ(r->line_type, -1);
    EXPECT_EQ(r->symbol, 7);
    EXPECT_GE(r->pattern, 0);
    EXPECT_EQ(p.legend_count, 2);  // the highest slot stays

    // Slots beyond 30 and a switched-off recording change nothing.
    record_legend_entry(31);
    EXPECT_EQ(p.legend_count, 2);
    EXPECT_EQ(legend_record(31), nullptr);
    p.legend_recording = false;
    record_legend_entry(5);
    EXPECT_EQ(p.legend_count, 2);
}
