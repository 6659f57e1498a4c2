// Figures, bars, pies and legends against a device that records what
// reaches it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "capture.hpp"
#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"
#include "draw/figures.hpp"
#include "korval/korval.hpp"
#include "plots/charts.hpp"
#include "text/text.hpp"

namespace korval {
namespace {

struct Op {
    float x, y;
    int op;
};

struct Sector {
    float cx, cy, r1, r2, a1, a2;
};

class Recorder : public Device {
public:
    std::vector<Op> ops;
    std::vector<std::vector<Op>> polygons;
    std::vector<Sector> sectors;
    unsigned caps = kCapFillPolygon;
    unsigned capabilities() const override { return caps; }
    void line(float x, float y, int op) override { ops.push_back({x, y, op}); }
    void fill_polygon(const float* x, const float* y, int n) override {
        std::vector<Op> p;
        for (int i = 0; i < n; ++i) p.push_back({x[i], y[i], 0});
        polygons.push_back(p);
    }
    void sector(float cx, float cy, float r1, float r2, float a1, float a2, int) override {
        sectors.push_back({cx, cy, r1, r2, a1, a2});
    }
};

class Charts : public ::testing::Test {
protected:
    Recorder* dev = nullptr;
    std::FILE* messages = nullptr;

    void SetUp() override {
        State& st = state();
        st.out.format = 201;
        st.out.nxp = 2969;
        st.out.nyp = 2099;
        st.out.unit_factor = 1.0f;
        st.out.scale_factor = 1.0f;
        auto d = std::make_unique<Recorder>();
        dev = d.get();
        st.out.device = std::move(d);
        if (!st.run.first_call_done) first_call_init();
        set_default_parameters();
        clip_to_page();
        st.run.level = 1;
        messages = std::tmpfile();
        st.msg.unit = 1;
        st.msg.stream = messages;
        st.msg.warnings = true;
    }
    void TearDown() override {
        State& st = state();
        st.msg.stream = nullptr;
        st.msg.unit = 6;
        st.run.level = 0;
        st.out.device.reset();
        std::fclose(messages);
    }
    std::string output() {
        return read_all(messages);
    }
    // Points of the pipeline's output since the last call.
    std::vector<Op> take() {
        plot_flush();
        std::vector<Op> v = dev->ops;
        dev->ops.clear();
        return v;
    }
    static int draws(const std::vector<Op>& v) {
        return (int)std::count_if(v.begin(), v.end(), [](const Op& o) { return o.op == kOpDraw; });
    }
    void axes() {
        axspos(300, 1500);
        axslen(1201, 1001);
        graf(0, 6, 0, 1, 0, 10, 0, 2);
        take();
    }
};

// ---- figures ----------------------------------------------------------------------

TEST_F(Charts, ArcGeneratorChordsEndPointsAndClosing) {
    circle(500, 500, 1);  // far below one chord: still a pentagon
    std::vector<Op> v = take();
    EXPECT_EQ(draws(v), 5);
    EXPECT_EQ(v.size(), 6u);
    circle(500, 500, 100);  // 2 pi 100 / 10 chords
    EXPECT_EQ(draws(take()), 62);
    circle(500, 500, 0);
    EXPECT_TRUE(take().empty());
    EXPECT_NE(output().find("Warning   2: Incorrect parameter in circle!   (   0)"), std::string::npos);

    // 300 to 60 degrees runs forward across 0: its points lie right of the centre.
    arcell(1000, 1000, 200, 200, 300, 60, 0);
    v = take();
    ASSERT_FALSE(v.empty());
    for (const Op& o : v) EXPECT_GT(o.x, 1000 + 200 * 0.49f);
    EXPECT_NEAR(v.front().y, 1000 + 200 * std::sin(60 * 0.017453292f), 0.5);
    EXPECT_NEAR(v.back().y, 1000 - 200 * std::sin(60 * 0.017453292f), 0.5);

    // A partial elliptic arc uses polar angles: 90 degrees ends on the y half axis.
    arcell(1000, 1000, 300, 100, 0, 90, 0);
    v = take();
    EXPECT_NEAR(v.front().x, 1300, 0.01);
    EXPECT_NEAR(v.back().x, 1000, 0.01);
    EXPECT_NEAR(v.back().y, 900, 0.01);

    // pie closes through the centre even without a pattern; arcell stays open.
    pie(1000, 1000, 100, 0, 90);
    v = take();
    EXPECT_NEAR(v[v.size() - 2].x, 1000, 0.01);
    EXPECT_NEAR(v[v.size() - 2].y, 1000, 0.01);
    EXPECT_NEAR(v.back().x, v.front().x, 0.01);
    arcell(1000, 1000, 100, 100, 0, 90, 0);
    v = take();
    EXPECT_NEAR(v.back().x, 1000, 0.01);
    EXPECT_NEAR(v.back().y, 900, 0.01);

    // Equal angles draw nothing; rotation turns the figure counter-clockwise.
    arcell(1000, 1000, 100, 100, 45, 45, 0);
    EXPECT_TRUE(take().empty());
    arcell(1000, 1000, 100, 50, 0, 360, 90);
    v = take();
    EXPECT_NEAR(v.front().x, 1000, 0.01);
    EXPECT_NEAR(v.front().y, 900, 0.01);
}

TEST_F(Charts, FilledFiguresUseSectorsOrPolygons) {
    state().out.format = 511;  // a format whose polygons the device fills
    select_pattern(16);
    pie(1000, 1000, 100, 0, 90);
    take();
    ASSERT_EQ(dev->polygons.size(), 1u);  // no sectors: a polygon
    dev->caps |= kCapSector;
    pie(1000, 1000, 100, 300, 60);
    circle(500, 500, 50);
    take();
    ASSERT_EQ(dev->sectors.size(), 2u);
    EXPECT_FLOAT_EQ(dev->sectors[0].a1, 300);
    EXPECT_FLOAT_EQ(dev->sectors[0].a2, 420);
    EXPECT_FLOAT_EQ(dev->sectors[1].a2 - dev->sectors[1].a1, 360);
    // A hatch pattern is drawn in lines, not by the device.
    select_pattern(1);
    dev->polygons.clear();
    circle(500, 500, 50);
    EXPECT_GT(draws(take()), 31);  // 31 chords and the hatch lines
    EXPECT_TRUE(dev->polygons.empty());
    select_pattern(0);
}

TEST_F(Charts, ArrowForms) {
    vector(100, 100, 300, 100, 0);
    EXPECT_EQ(draws(take()), 1);
    vector(100, 100, 300, 100, 1);
    std::vector<Op> v = take();
    // Shaft, then the head: corner, tip, corner, back to the first corner.
    ASSERT_GE(v.size(), 6u);
    EXPECT_NEAR(v[2].x, 290, 0.01);
    EXPECT_NEAR(std::fabs(v[2].y - 100), 10.0 / 9.0, 0.01);
    EXPECT_NEAR(v[3].x, 300, 0.01);
    EXPECT_EQ(dev->polygons.size(), 1u);  // filled
    vector(100, 100, 300, 100, 41);
    EXPECT_EQ(draws(take()), 1);
    EXPECT_NE(output().find("vector!   (  41)"), std::string::npos);
    std::string before = output();
    vector(100, 100, 300, 100, 40);
    EXPECT_EQ(draws(take()), 1);
    EXPECT_EQ(output(), before);
    vector(100, 100, 300, 100, 2322);  // open heads at both ends, length 40
    v = take();
    float lo = 1e9f, hi = -1e9f;
    for (const Op& o : v) lo = std::min(lo, o.x), hi = std::max(hi, o.x);
    EXPECT_NEAR(lo, 100, 0.01);
    EXPECT_NEAR(hi, 300, 0.01);
    vector(100, 100, 100, 100, 1);  // no length: no crash
    take();
}

TEST_F(Charts, UserCoordinateFiguresNeedAnAxisSystem) {
    rlcirc(1, 1, 1);
    EXPECT_NE(output().find("Warning   3"), std::string::npos);
    axes();
    rlcirc(3, 5, 1);  // radius: one x unit = 200 plot units
    std::vector<Op> v = take();
    ASSERT_FALSE(v.empty());
    EXPECT_NEAR(v.front().x, 300 + 3 * 200 + 200, 0.5);
    endgrf();
}

// ---- bars ----------------------------------------------------------------------------

// The x extents of the rectangles drawn: a move and at least three draws
// (the edge on the axis line itself is clipped away).
std::vector<std::pair<float, float>> rect_spans(const std::vector<Op>& v) {
    std::vector<std::pair<float, float>> r;
    for (size_t i = 0; i + 3 < v.size(); ++i) {
        if (v[i].op != kOpMove) continue;
        float lo = v[i].x, hi = v[i].x;
        for (size_t k = 1; k <= 3; ++k) lo = std::min(lo, v[i + k].x), hi = std::max(hi, v[i + k].x);
        r.push_back({lo, hi});
    }
    return r;
}

TEST_F(Charts, BarGeometry) {
    axes();
    const float x[3] = {1, 2, 3}, y1[3] = {0, 0, 0}, y2[3] = {2, 4, 6};
    barwth(-20);
    bars(x, y1, y2, 3);
    auto r = rect_spans(take());
    ASSERT_EQ(r.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_FLOAT_EQ(r[i].second - r[i].first, 20);
        EXPECT_FLOAT_EQ((r[i].first + r[i].second) / 2, 300 + (i + 1) * 200);
    }
    // Two calls in a group share the slot with a gap of 0.2 bar widths.
    barwth(0.75f);
    bargrp(2, 0.2f);
    bars(x, y1, y2, 3);
    bars(x, y1, y2, 3);
    r = rect_spans(take());
    ASSERT_EQ(r.size(), 6u);
    const float S = 150, B = S / 2.2f;
    EXPECT_FLOAT_EQ(r[0].first, (float)round_nearest(500 - S / 2));
    EXPECT_NEAR(r[0].second - r[0].first, B, 0.5);
    EXPECT_NEAR(r[3].first - r[0].second, 0.2f * B, 1.0);
    // Variable widths: closer positions give narrower bars.
    bargrp(1, 0);
    barmod("VARI", "WIDTH");
    const float xv[3] = {1, 1.5f, 3};
    bars(xv, y1, y2, 3);
    r = rect_spans(take());
    ASSERT_EQ(r.size(), 3u);
    EXPECT_LT(r[0].second - r[0].first, r[2].second - r[2].first);
    endgrf();
}

TEST_F(Charts, BarWarningsAndTicks) {
    const float x[6] = {1, 2, 3, 4, 5, 6}, y1[6] = {0}, y2[6] = {1, 2, 3, 4, 5, 6};
    axslen(1201, 1001);
    graf(0.5f, 4.5f, 1, 1, 0, 10, 0, 2);  // labels 1, 2, 3, 4
    take();
    barpos("TICK");
    bars(x, y1, y2, 6);
    EXPECT_NE(output().find("Warning  28"), std::string::npos);
    EXPECT_EQ(rect_spans(take()).size(), 4u);
    barpos("NONE");
    bars(x, y1, y2, 0);
    EXPECT_NE(output().find("bars!   (   0)"), std::string::npos);
    const float nan[2] = {NAN, 1};
    bars(nan, y1, y2, 2);  // no crash
    bars(x, nan, nan, 2);
    bars(x, y1, y2, 1);  // one bar: the width of one axis step
    auto r = rect_spans(take());
    ASSERT_FALSE(r.empty());
    EXPECT_NEAR(r.back().second - r.back().first, 0.75f * 300, 1.0);
    endgrf();
}

// ---- pies ------------------------------------------------------------------------------

TEST_F(Charts, PieSectorsSumTo360) {
    dev->caps |= kCapSector;
    for (int i = 1; i <= 30; ++i) patcyc(i, 16);
    const float v[4] = {1, 2, 3, 4};
    labels("NONE", "PIE");
    piegrf(" ", 0, v, 4);
    take();
    ASSERT_EQ(dev->sectors.size(), 4u);
    float sum = 0;
    for (const Sector& s : dev->sectors) sum += s.a2 - s.a1;
    EXPECT_NEAR(sum, 360, 0.01);
    EXPECT_NEAR(dev->sectors[0].a2 - dev->sectors[0].a1, 36, 0.01);
    EXPECT_NEAR(std::fmod(dev->sectors[0].a1 + dev->sectors[0].a2, 720.0f), 0, 0.01);  // centred on 0
    EXPECT_NEAR(std::fmod(dev->sectors[3].a2, 360.0f), std::fmod(dev->sectors[0].a1, 360.0f), 0.01);
    EXPECT_EQ(state().run.level, 2);
    endgrf();
    EXPECT_EQ(state().plots.legend_count, 0);
}

TEST_F(Charts, PieWarningsAndOneValue) {
    const float zero[3] = {0, 0, 0};
    piegrf(" ", 0, zero, 3);
    EXPECT_NE(output().find("Warning  29"), std::string::npos);
    endgrf();
    piegrf(" ", 0, zero, 0);
    EXPECT_NE(output().find("piegrf!   (   0)"), std::string::npos);
    const float one[1] = {5};
    piegrf(" ", 0, one, 1);
    EXPECT_FALSE(take().empty());
    endgrf();
    pietyp("3D");
    const float v[3] = {1, NAN, 2};
    piegrf(" ", 0, v, 3);
    EXPECT_FALSE(take().empty());
    EXPECT_EQ(state().plots.legend_count, 3);
    endgrf();
}

// ---- legends --------------------------------------------------------------------------

TEST_F(Charts, LegendLayout) {
    char buf[3 * 10 + 1] = "";
    EXPECT_EQ(nxlegn(buf), 0);
    EXPECT_NE(output().find("Warning  15"), std::string::npos);
    legini(buf, 3, 10);
    EXPECT_EQ(std::string(buf), std::string(30, ' '));
    leglin(buf, "one", 1);
    leglin(buf, "three", 3);
    leglin(buf, "much too long", 2);
    EXPECT_NE(output().find("Warning  16: Too long string for legend line in leglin!   (much too long)"),
              std::string::npos);
    EXPECT_EQ(std::string(buf, 10), "one       ");
    const int h = state().text.height;
    const float L = h * 1.5f;
    const int tw = std::max(text_length("three"), text_length("Legende"));
    int W = (int)(text_length("three") + 2 * 0.5f * L) + (int)(5 * h) + 2;
    if (tw > W) W = tw;  // the title is narrower here
    EXPECT_EQ(nxlegn(buf), W);
    EXPECT_EQ(nylegn(buf), round_nearest((2 + 1) * L + h + 2 + 1.5f * L));
    legtit("");
    EXPECT_EQ(nylegn(buf), round_nearest((2 + 1) * L + h + 2));
    legopt(0, 0.5f, 1);
    EXPECT_EQ(nxlegn(buf), (int)(text_length("three") + L) + 2);
    legtit("A title much wider than the entries");
    EXPECT_EQ(nxlegn(buf), (int)(text_length("A title much wider t") + L) + 2);
    legopt(-1, 1, 1);
    EXPECT_NE(output().find("legopt"), std::string::npos);
}

TEST_F(Charts, LegendDrawingAndWarnings) {
    char buf[2 * 8 + 1];
    legini(buf, 2, 8);
    leglin(buf, "a", 1);
    leglin(buf, "b", 2);
    axes();
    const float x[2] = {1, 2}, y1[2] = {0, 0}, y2[2] = {1, 2};
    bars(x, y1, y2, 2);
    take();
    legend(buf, 9);
    EXPECT_NE(output().find("legend!   (   9)"), std::string::npos);
    EXPECT_TRUE(take().empty());
    legend(buf, 7);
    EXPECT_NE(output().find("Warning  42: More legend lines than calls to curve in legend!   (   1)"),
              std::string::npos);
    std::vector<Op> v = take();
    ASSERT_FALSE(v.empty());
    // Position 7: inside the upper right corner of the axis system.
    float right = -1e9f, top = 1e9f;
    for (const Op& o : v) right = std::max(right, o.x), top = std::min(top, o.y);
    const int m = (int)(0.5f * state().text.height);
    EXPECT_NEAR(right, 300 + 1201 - 1 - m - 1, 1.0);
    EXPECT_NEAR(top, 1500 - 1001 + 1 + m, 1.0);
    legpat(0, 1, -1, 3, -1, 1);
    legend(buf, 4);
    EXPECT_NE(output().find("Warning 105: Undefined legend line in legend!   (   2)"), std::string::npos);
    endgrf();
    legend(buf, 1);
    EXPECT_NE(output().find("Warning   3"), std::string::npos);
}

}  // namespace
}  // namespace korval
