// Axis scaling, automatic scaling and label texts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "axes/axes.hpp"
#include "axes/dates.hpp"
#include "core/core.hpp"
#include "korval/korval.hpp"

using namespace korval;

namespace {

// Fresh label and scaling settings for each test, without a plot.
class AxesTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = state().axes;
        state().axes = AxesState{};
        AxesState& a = state().axes;
        for (AxisSettings& s : a.axis) {
            s = AxisSettings{};
            s.date.day = 1;
        }
        a.nxl = 1980;
        a.nyl = a.nzl = 1400;
        a.nxa = 494;
        a.nya = 1799;
        state().text.ctrl[0] = '[';
        state().text.ctrl[2] = '$';
    }
    void TearDown() override { state().axes = saved_; }
    AxisSettings& x() { return state().axes.axis[0]; }
    AxisSettings& y() { return state().axes.axis[1]; }

private:
    AxesState saved_;
};

}  // namespace

TEST_F(AxesTest, NumberLabels) {
    x().digits = -1;
    EXPECT_EQ(format_label(2.6, 0, 0, 0), "3");
    EXPECT_EQ(format_label(-2.5, 0, 0, 0), "-3");
    x().digits = 0;
    EXPECT_EQ(format_label(12.0, 0, 0, 0), " 12");
    x().digits = 2;
    EXPECT_EQ(format_label(-0.5, 0, 0, 0), "-0.50");
    // A logarithmic axis in value form prints 10 to the power.
    x().digits = -1;
    EXPECT_EQ(format_label(3.0, 0, 1, 0), "1000");
    x().log_form = 1;
    EXPECT_EQ(format_label(3.0, 0, 1, 0), "10[3$");
}

TEST_F(AxesTest, ExponentLabels) {
    x().label_type = 2;
    x().digits = 1;
    EXPECT_EQ(format_label(0.0, 0, 0, 0), "0.0*10[0$");
    EXPECT_EQ(format_label(2500.0, 0, 0, 0), "2.5*10[3$");
    EXPECT_EQ(format_label(-0.025, 0, 0, 0), "-2.5*10[-2$");
    x().label_type = 13;
    EXPECT_EQ(format_label(2500.0, 0, 0, 0), "2.5E3");
}

TEST_F(AxesTest, TimeAndGeographicLabels) {
    x().label_type = 9;
    state().axes.timopt = 1;
    EXPECT_EQ(format_label(-60.0, 0, 0, 0), "23:59");
    state().axes.timopt = 0;
    EXPECT_EQ(format_label(3600.0 * 13 + 60 * 5, 0, 0, 0), "1305");
    x().label_type = 11;
    EXPECT_EQ(format_label(3661.0, 0, 0, 0), "010101");
    x().label_type = 10;
    EXPECT_EQ(format_label(3600.0 * 5, 0, 0, 0), "5");
    x().label_type = 6;
    x().digits = -1;
    EXPECT_EQ(format_label(-30.0, 0, 0, 0), "30[o$ W");
    EXPECT_EQ(format_label(0.0, 0, 0, 0), "0[o$");
    y().label_type = 8;
    y().digits = -1;
    EXPECT_EQ(format_label(45.0, 0, 0, 1), "45[o$ n");
}

TEST_F(AxesTest, UserAndDateLabels) {
    x().label_type = 12;
    x().user_labels[0] = "Jan";
    x().user_labels[1] = "Feb";
    x().user_label_count = 2;
    EXPECT_EQ(format_label(0, 1, 0, 0), "Feb");
    EXPECT_EQ(format_label(0, 2, 0, 0), "");
    state().axes.base_day = 1, state().axes.base_month = 1, state().axes.base_year = 2000;
    x().label_type = 14;
    EXPECT_EQ(format_date(31 + 28, 0), "29-Feb-2000");
    x().date.order = 5;  // YMD
    x().date.month = 4;  // LONG
    x().date.day = 4;
    x().date.separator = '/';
    EXPECT_EQ(format_date(0, 0), "2000/01/01");
    x().date.language = 1;
    x().date.month = 0;
    x().date.year = 2;  // omitted
    x().date.order = 0;
    x().date.separator = ' ';
    EXPECT_EQ(format_date(70, 0), "11 M!ar");
    EXPECT_EQ(weekday_of(5, 7, 1999), 1);
    EXPECT_EQ(weekday_of(1, 1, 2000), 6);
}

TEST_F(AxesTest, AutomaticScaling) {
    AxesState& a = state().axes;
    a.auto_on[0] = 1;
    a.auto_min[0] = 3.7f;
    a.auto_max[0] = 96.2f;
    float xa = 0, xe = 0, xo = 0, xs = 0;
    autoscale_axis(xa, xe, xo, xs, 0);
    EXPECT_FLOAT_EQ(xa, 3.7f);
    EXPECT_FLOAT_EQ(xe, 96.2f);
    EXPECT_FLOAT_EQ(xs, 10.0f);
    EXPECT_FLOAT_EQ(xo, 10.0f);
    EXPECT_EQ(x().digits, -1);
    // A short axis doubles the step when nine labels would not fit.
    a.nxl = 1000;
    autoscale_axis(xa, xe, xo, xs, 0);
    EXPECT_FLOAT_EQ(xs, 20.0f);
    // One interval on a long axis: steps of 0.2 with one more digit.
    a.nxl = 1980;
    a.auto_min[0] = 0.0f;
    a.auto_max[0] = 1.5f;
    autoscale_axis(xa, xe, xo, xs, 0);
    EXPECT_NEAR(xs, 0.2f, 1e-6);
    EXPECT_EQ(x().digits, 1);
    // Logarithmic data with non-positive values.
    a.scale_type[1] = 1;
    a.auto_on[1] = 1;
    a.auto_min[1] = -5;
    a.auto_max[1] = 1000;
    float ya, ye, yo, ys;
    autoscale_axis(ya, ye, yo, ys, 1);
    EXPECT_FLOAT_EQ(ya, -1.0f);
    EXPECT_NEAR(ye, 3.0f, 1e-6);
    EXPECT_FLOAT_EQ(a.auto_min[1], 0.1f);
    EXPECT_EQ(y().log_form, 1);
}

TEST_F(AxesTest, MappingIsClampedAndLogarithmic) {
    AxesState& a = state().axes;
    store_axis_scaling(0, 10, 0, 2, 0, 5, 0, 1);
    float xp, yp;
    user_to_plot(10, 5, xp, yp);
    EXPECT_FLOAT_EQ(xp, 494 + 1979);
    EXPECT_FLOAT_EQ(yp, 1799 - 1399);
    user_to_plot(1e20f, -1e20f, xp, yp);
    EXPECT_FLOAT_EQ(xp, 1.0e6f);
    EXPECT_FLOAT_EQ(yp, 1.0e6f);
    user_to_plot(NAN, 0, xp, yp);
    EXPECT_FLOAT_EQ(xp, 1.0e6f);  // never a NaN into the pipeline
    a.scale_type[0] = 1;
    store_axis_scaling(-1, 3, -1, 1, 0, 5, 0, 1);
    user_to_plot(100, 0, xp, yp);
    EXPECT_NEAR(xp, 494 + 0.75 * 1979, 0.01);
    EXPECT_NEAR(a.umin[0], 0.1, 1e-6);
    EXPECT_NEAR(a.umax[0], 1000, 1e-3);
    a.neglog_on = 1;
    a.neglog_exp = -1;
    user_to_plot(-3, 0, xp, yp);
    EXPECT_NEAR(xp, 494, 0.01);
}
