// The colour scale of the colour 3-D plots.
#include <gtest/gtest.h>

#include <cmath>

#include "core/core.hpp"
#include "graph3d/graph3d.hpp"

using namespace korval;

namespace {

class ColourScaleTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = state().colour_plots;
        saved_colour_ = state().colour;
        state().colour_plots = ColourPlotState{};
        ColourState& c = state().colour;
        c.range_lo = 1, c.range_hi = 254, c.under = 0, c.over = 255;
    }
    void TearDown() override {
        state().colour_plots = saved_;
        state().colour = saved_colour_;
    }

private:
    ColourPlotState saved_;
    ColourState saved_colour_;
};

}  // namespace

TEST_F(ColourScaleTest, LinearScale) {
    set_colour_range(0, 10, false);
    EXPECT_EQ(z_to_colour(0), 1);
    EXPECT_EQ(z_to_colour(10), 254);  // the top of the scale is the last colour
    EXPECT_EQ(z_to_colour(5), 128);
    EXPECT_EQ(z_to_colour(-0.001f), 0);    // under colour
    EXPECT_EQ(z_to_colour(10.001f), 255);  // over colour
    EXPECT_EQ(z_to_colour(NAN), -1);
}

TEST_F(ColourScaleTest, ReversedAndLogarithmic) {
    set_colour_range(10, 0, false);
    EXPECT_EQ(z_to_colour(10), 1);
    EXPECT_EQ(z_to_colour(0), 254);
    EXPECT_EQ(z_to_colour(11), 0);    // beyond the start: under colour
    EXPECT_EQ(z_to_colour(-1), 255);  // beyond the end: over colour
    set_colour_range(0, 2, true);     // 1 .. 100
    EXPECT_EQ(z_to_colour(1), 1);
    EXPECT_EQ(z_to_colour(10), 128);
    EXPECT_EQ(z_to_colour(100), 254);
    EXPECT_EQ(z_to_colour(0.5f), 0);
    state().colour.range_lo = 10;
    state().colour.range_hi = 19;
    set_colour_range(0, 1, false);
    EXPECT_EQ(z_to_colour(0), 10);
    EXPECT_EQ(z_to_colour(0.55f), 15);
    EXPECT_EQ(z_to_colour(1), 19);
}
