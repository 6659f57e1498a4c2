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
    const int keep_type = state().style.line_type;
    state().style.line_type = 2;
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
    state().style.line_type = keep_type;
}

TEST_F(PlotsTest, AttributeCycle) {
    PlotsState& p = state().plots;
    p.change_interval = 2;
    p.marker_increment = 1;
    p.symbol_number = 21;
    int colours[6];
    for (int i = 0; i < 6; ++i) {
        colours[i] = p.cycle_index;
        advance_curve_attributes();
    }
    // Two curves per entry of the cycle.
    EXPECT_EQ(colours[0], 1);
    EXPECT_EQ(colours[1], 1);
    EXPECT_EQ(colours[2], 2);
    EXPECT_EQ(colours[3], 2);
    EXPECT_EQ(colours[4], 3);
    // Symbols after 21: 22, then 1; 0 and 23 are never chosen.
    EXPECT_EQ(p.symbol_number, 2);
    EXPECT_EQ(p.legend_number, 4);
    // After entry 30 the cycle returns to entry 1.
    p.change_interval = 1;
    p.since_change = 1;
    p.cycle_index = 30;
    advance_curve_attributes();
    EXPECT_EQ(p.cycle_index, 1);
    EXPECT_TRUE(p.legend_pending);
}

TEST_F(PlotsTest, SplineReproducesPolynomials) {
    PlotsState& p = state().plots;
    const int saved_type = state().axes.scale_type[0];
    state().axes.scale_type[0] = state().axes.scale_type[1] = 0;
    float x[8], y[8], xs[201], ys[201];
    for (int i = 0; i < 8; ++i) {
        x[i] = (float)(i * i) / 4.0f;  // uneven spacing
        y[i] = 2 * x[i] * x[i] * x[i] - x[i] + 1;
    }
    ASSERT_EQ(spline_points(x, y, 8, false, xs, ys), 201);
    for (int i = 0; i <= 200; i += 10) EXPECT_NEAR(ys[i], 2 * xs[i] * xs[i] * xs[i] - xs[i] + 1, 2e-3) << i;
    // Odd orders (k = 3, 5) take the means of the sites as knots.
    p.spline_order = 4;
    p.spline_points = 100;
    ASSERT_EQ(spline_points(x, y, 8, false, xs, ys), 101);
    for (int i = 0; i <= 100; i += 7) EXPECT_NEAR(ys[i], 2 * xs[i] * xs[i] * xs[i] - xs[i] + 1, 2e-3) << i;
    // A parametric spline through points of a line stays on it.
    float lx[5] = {0, 1, 3, 4, 6}, ly[5] = {0, 2, 6, 8, 12};
    p.spline_order = 3;
    ASSERT_EQ(spline_points(lx, ly, 5, true, xs, ys), 101);
    for (int i = 0; i <= 100; ++i) EXPECT_NEAR(ys[i], 2 * xs[i], 1e-3);
    EXPECT_NEAR(xs[50], 3.0f, 1e-3);
    // Points that are not numbers are left out.
    float nx[6] = {0, 1, NAN, 2, 3, 4}, ny[6] = {0, 1, 5, 8, 27, 64};
    ASSERT_EQ(spline_points(nx, ny, 6, false, xs, ys), 101);
    EXPECT_NEAR(ys[50], 8.0f, 1e-3);
    state().axes.scale_type[0] = saved_type;
}
