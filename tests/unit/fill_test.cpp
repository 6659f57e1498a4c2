// The scan-line hatch generator, software fills through the pipeline and
// the blanking test, against a device that records what reaches it.
#include "draw/fill.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <vector>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"

namespace korval {
namespace {

std::vector<HatchSegment> hatch(const std::vector<float>& x, const std::vector<float>& y, HatchParams hp,
                                int* overflow = nullptr) {
    HatchScratch w;
    std::vector<HatchSegment> out;
    int r = hatch_segments(x.data(), y.data(), (int)x.size(), hp, w, out);
    if (overflow) *overflow = r;
    return out;
}

HatchParams params(float angle, float spacing, int band = 0, int gap = 0) {
    HatchParams hp;
    hp.angle = angle;
    hp.spacing = spacing;
    hp.band = band;
    hp.gap = gap;
    return hp;
}

// Is (px, py) covered by a horizontal span of the hatch?
bool covered(const std::vector<HatchSegment>& segs, float px, float py, float tol = 0.6f) {
    for (const HatchSegment& s : segs) {
        if (std::fabs(s.y0 - py) > tol) continue;
        if (px >= std::fmin(s.x0, s.x1) && px <= std::fmax(s.x0, s.x1)) return true;
    }
    return false;
}

TEST(Hatch, SquareGivesOneSpanPerScanLineAlternating) {
    std::vector<float> x = {0, 100, 100, 0}, y = {0, 0, 50, 50};
    auto segs = hatch(x, y, params(0, 10));
    // Scan lines at 0, 10, ..., 50: the bottom edge counts (it starts the
    // side edges), the top one does not (the edges end there).
    ASSERT_EQ(segs.size(), 5u);
    for (std::size_t i = 0; i < segs.size(); ++i) {
        EXPECT_FLOAT_EQ(segs[i].y0, 10.0f * (float)i);
        EXPECT_FLOAT_EQ(segs[i].y1, segs[i].y0);
        EXPECT_FLOAT_EQ(std::fmin(segs[i].x0, segs[i].x1), 0.0f);
        EXPECT_FLOAT_EQ(std::fmax(segs[i].x0, segs[i].x1), 100.0f);
        if (i > 0) {
            EXPECT_EQ(segs[i].x0 < segs[i].x1, !(segs[i - 1].x0 < segs[i - 1].x1)) << "line " << i;
        }
    }
    // Scan lines start at the multiple of the spacing at or below the lowest vertex.
    std::vector<float> y2 = {13, 13, 47, 47};
    segs = hatch(x, y2, params(0, 10));
    ASSERT_EQ(segs.size(), 3u);
    EXPECT_FLOAT_EQ(segs[0].y0, 20.0f);
}

TEST(Hatch, StarIsFilledByTheEvenOddRule) {
    // A five-pointed star drawn in one stroke: the pentagon in the middle
    // is crossed twice and stays empty, the points are filled.
    std::vector<float> x, y;
    for (int k = 0; k < 5; ++k) {
        double a = 1.5707963 + k * 2 * 2.0 * 3.14159265 / 5;
        x.push_back((float)(500 + 400 * std::cos(a)));
        y.push_back((float)(500 - 400 * std::sin(a)));
    }
    auto segs = hatch(x, y, params(0, 2));
    EXPECT_FALSE(covered(segs, 500, 500));
    EXPECT_TRUE(covered(segs, 500, 160));  // the top point
    EXPECT_TRUE(covered(segs, 170, 380));  // the left point
    EXPECT_FALSE(covered(segs, 100, 900));
    // Spans of a line come in pass order: the first span of every line
    // before any second span.
    bool second_seen = false, bad = false;
    float prev_y = -1e9f;
    for (const HatchSegment& s : segs) {
        if (s.y0 < prev_y) second_seen = true;
        if (second_seen && s.y0 < prev_y - 1000) bad = true;
        prev_y = s.y0;
    }
    EXPECT_TRUE(second_seen);
    EXPECT_FALSE(bad);
}

TEST(Hatch, AngleTurnsTheLines) {
    std::vector<float> x = {0, 100, 100, 0}, y = {0, 0, 100, 100};
    for (float angle : {45.0f, 90.0f, 135.0f, 30.0f}) {
        auto segs = hatch(x, y, params(angle, 5));
        ASSERT_FALSE(segs.empty());
        double a = angle * 3.14159265358979 / 180;
        for (const HatchSegment& s : segs) {
            // Direction (cos a, -sin a) on the page, y pointing down.
            double dx = s.x1 - s.x0, dy = s.y1 - s.y0, len = std::hypot(dx, dy);
            if (len < 1) continue;
            EXPECT_NEAR(std::fabs(dx * -std::sin(a) - dy * std::cos(a)) / len, 0.0, 1e-4) << angle;
            for (float v : {s.x0, s.x1}) EXPECT_TRUE(v > -0.01f && v < 100.01f);
            for (float v : {s.y0, s.y1}) EXPECT_TRUE(v > -0.01f && v < 100.01f);
        }
    }
    // Vertical lines at 90 degrees, 10 apart: x = 0, 10, ..., 100.
    auto v = hatch(x, y, params(90, 10));
    EXPECT_EQ(v.size(), 10u);
    for (const HatchSegment& s : v) EXPECT_NEAR(s.x0, s.x1, 1e-3);
}

TEST(Hatch, BandsSkipScanLines) {
    std::vector<float> x = {0, 100, 100, 0}, y = {0, 0, 99, 99};
    // Bands of 3 lines, 2 skipped: lines 0 1 2, 5 6 7, ...
    auto segs = hatch(x, y, params(0, 1, 3, 2));
    std::vector<int> ys;
    for (const HatchSegment& s : segs) ys.push_back((int)std::lround(s.y0));
    ASSERT_GE(ys.size(), 9u);
    EXPECT_EQ(std::vector<int>(ys.begin(), ys.begin() + 9), (std::vector<int>{0, 1, 2, 5, 6, 7, 10, 11, 12}));
    EXPECT_EQ(ys.size(), 60u);
}

TEST(Hatch, VerticesOnScanLinesAndDegenerateInput) {
    // A diamond with its left and right vertices exactly on a scan line,
    // and the top and bottom vertex too: each line has one span.
    std::vector<float> x = {50, 100, 50, 0}, y = {0, 50, 100, 50};
    auto segs = hatch(x, y, params(0, 10));
    for (const HatchSegment& s : segs) {
        if (std::fabs(s.y0 - 50) < 1e-3) {
            EXPECT_FLOAT_EQ(std::fmin(s.x0, s.x1), 0.0f);
            EXPECT_FLOAT_EQ(std::fmax(s.x0, s.x1), 100.0f);
        }
    }
    // y = 0 meets only the bottom vertex (two equal crossings that cancel),
    // y = 100 only the top one: the lines 10 ... 90 remain.
    EXPECT_EQ(segs.size(), 9u);
    // Fewer than three points, zero spacing, an area without height.
    EXPECT_TRUE(hatch({0, 10}, {0, 10}, params(0, 1)).empty());
    EXPECT_TRUE(hatch(x, y, params(0, 0)).empty());
    EXPECT_TRUE(hatch({0, 10, 20}, {5, 5, 5}, params(0, 1)).empty());
    EXPECT_TRUE(hatch({0, 1e30f, NAN}, {0, 5, 5}, params(0, 1)).empty());
}

TEST(Hatch, MoreThanHundredCrossingsStopsTheFill) {
    // A comb of 60 teeth: 120 crossings on its scan lines.
    std::vector<float> x, y;
    for (int t = 0; t < 60; ++t) {
        x.insert(x.end(), {(float)(20 * t), (float)(20 * t), (float)(20 * t + 10), (float)(20 * t + 10)});
        y.insert(y.end(), {100, 0, 0, 100});
    }
    x.insert(x.end(), {1200, 1200, -10, -10});
    y.insert(y.end(), {100, 200, 200, 100});
    int overflow = 0;
    hatch(x, y, params(0, 7), &overflow);
    EXPECT_EQ(overflow, 120);
}

TEST(Hatch, ThousandsOfVerticesAreQuick) {
    // A circle of 200000 vertices hatched on 4000 scan lines.
    const int n = 200000;
    std::vector<float> x(n), y(n);
    for (int i = 0; i < n; ++i) {
        double a = 2 * 3.14159265358979 * i / n;
        x[i] = (float)(2000 + 2000 * std::cos(a));
        y[i] = (float)(2000 + 2000 * std::sin(a));
    }
    HatchScratch w;
    std::vector<HatchSegment> out;
    auto t0 = std::chrono::steady_clock::now();
    for (int rep = 0; rep < 3; ++rep) {
        out.clear();
        hatch_segments(x.data(), y.data(), n, params(30, 1), w, out);
    }
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_NEAR((double)out.size(), 4000.0, 2.0);
    EXPECT_LT(ms, 1500.0);
}

// ---- fills and blanking through the pipeline --------------------------------------

struct Op {
    float x, y;
    int op;
};

class RecordingDevice : public Device {
public:
    explicit RecordingDevice(std::vector<Op>& ops, int& polys) : ops_(ops), polys_(polys) {}
    unsigned capabilities() const override { return kCapFillPolygon; }
    void line(float x, float y, int op) override { ops_.push_back({x, y, op}); }
    void fill_polygon(const float*, const float*, int) override { ++polys_; }

private:
    std::vector<Op>& ops_;
    int& polys_;
};

class Fill : public ::testing::Test {
protected:
    void SetUp() override {
        first_call_init();
        State& st = state();
        st.out.format = 201;
        st.out.nxp = 2969;
        st.out.nyp = 2099;
        st.out.unit_factor = 1.0f;
        st.out.background = 0;
        st.run.level = 1;
        st.out.device = std::make_unique<RecordingDevice>(ops, polys);
        set_default_parameters();
        ops.clear();
    }
    void TearDown() override {
        state().out.device.reset();
        state().run.level = 0;
    }
    // Total drawn length inside and outside a box.
    void drawn(float x1, float y1, float x2, float y2, double& in, double& out) {
        plot_flush();
        in = out = 0;
        for (std::size_t i = 1; i < ops.size(); ++i) {
            if (ops[i].op != kOpDraw) continue;
            float mx = 0.5f * (ops[i].x + ops[i - 1].x), my = 0.5f * (ops[i].y + ops[i - 1].y);
            double len = std::hypot(ops[i].x - ops[i - 1].x, ops[i].y - ops[i - 1].y);
            (mx >= x1 && mx <= x2 && my >= y1 && my <= y2 ? in : out) += len;
        }
    }
    std::vector<Op> ops;
    int polys = 0;
};

TEST_F(Fill, SolidPatternHatchesWhereTheFormatCannotFill) {
    shdpat(16);
    const int x[4] = {100, 300, 300, 100}, y[4] = {100, 100, 200, 200};
    areaf(x, y, 4);
    plot_flush();
    EXPECT_EQ(polys, 0);
    // The outline, then lines 1.9999 apart from 51 * 1.9999 to 100 * 1.9999:
    // 50 hatch lines of 200 units.
    int horizontal = 0;
    for (std::size_t i = 1; i < ops.size(); ++i)
        if (ops[i].op == kOpDraw && ops[i].y == ops[i - 1].y && std::fabs(ops[i].x - ops[i - 1].x) > 199)
            ++horizontal;
    EXPECT_EQ(horizontal, 2 + 50);
    // The line type is restored: still solid.
    EXPECT_EQ(state().pipeline.dash_count, 1);

    // On PostScript codes the device fills it, unless a point leaves the region.
    ops.clear();
    state().out.format = 501;
    areaf(x, y, 4);
    EXPECT_EQ(polys, 1);
    const int far[4] = {100, 3300, 300, 100};
    areaf(far, y, 4);
    EXPECT_EQ(polys, 1);
}

TEST_F(Fill, PatternTypesOutlineAndCross) {
    const int x[4] = {0, 200, 200, 0}, y[4] = {0, 0, 200, 200};
    // Type 0: only the outline; noarln: nothing at all.
    areaf(x, y, 4);
    plot_flush();
    EXPECT_EQ(ops.size(), 5u);
    ops.clear();
    noarln();
    areaf(x, y, 4);
    plot_flush();
    EXPECT_TRUE(ops.empty());
    // shdpat 5: crossed lines at 45 and 135 degrees, 26.9999 apart.
    shdpat(5);
    EXPECT_EQ(state().shading.pattern, 5);
    EXPECT_EQ(state().shading.angle, 45);
    EXPECT_FLOAT_EQ(state().shading.spacing, 26.9999f);
    areaf(x, y, 4);
    plot_flush();
    int up = 0, down = 0;
    for (std::size_t i = 1; i < ops.size(); ++i) {
        if (ops[i].op != kOpDraw) continue;
        float dx = ops[i].x - ops[i - 1].x, dy = ops[i].y - ops[i - 1].y;
        if (std::fabs(std::fabs(dx) - std::fabs(dy)) > 0.01f) continue;
        (dx * dy < 0 ? up : down) += 1;
    }
    EXPECT_GT(up, 5);
    EXPECT_GT(down, 5);
    // mypat codes, bands and a bad part that changes nothing.
    mypat(70, 4, 7, 0);
    EXPECT_EQ(state().shading.pattern, 70470);
    EXPECT_EQ(state().shading.band_size, 8);
    EXPECT_EQ(state().shading.band_gap, 39);
    mypat(180, 1, 0, 0);
    shdpat(-1);
    EXPECT_EQ(state().shading.pattern, 70470);
    // Dashed hatch types borrow a line type and give it back.
    dash();
    int before = state().pipeline.dash[0];
    mypat(0, 5, 2, 0);
    areaf(x, y, 4);
    EXPECT_EQ(state().pipeline.dash[0], before);
    EXPECT_EQ(state().style.line_type, 2);
}

TEST_F(Fill, BlankingCircleSplitsALine) {
    shlcir(500, 500, 100);
    EXPECT_EQ(shlind(), 1);
    plot_move(200, 500);
    plot_draw(800, 500);
    double in, out;
    drawn(400, 400, 600, 600, in, out);
    EXPECT_NEAR(in, 0.0, 0.5);
    EXPECT_NEAR(out, 400.0, 0.5);
    // The pen moves across the circle.
    bool moved = false;
    for (const Op& o : ops) moved |= o.op == kOpMove && std::fabs(o.x - 600) < 0.5f;
    EXPECT_TRUE(moved);
    // Hidden regions do not blank; shldel removes them.
    ops.clear();
    shlvis(0, "OFF");
    plot_move(200, 500);
    plot_draw(800, 500);
    drawn(400, 400, 600, 600, in, out);
    EXPECT_NEAR(in, 600.0, 0.5);  // one draw across the circle
    shldel(1);
    EXPECT_EQ(shlind(), 0);
    EXPECT_EQ(state().pipeline.blanking, 0);
}

TEST_F(Fill, BlankingShapes) {
    // Each shape blanks the middle of a horizontal and a vertical line.
    struct Case {
        const char* name;
        void (*define)();
    };
    const Case cases[] = {
        {"rect", [] { shlrec(450, 450, 101, 101); }},
        {"rotated", [] { shlrct(429, 500, 100, 100, 45.0f); }},
        {"ellipse", [] { shlell(500, 500, 80, 40, 90.0f); }},
        {"sector", [] { shlpie(500, 500, 60, -45.0f, 315.0f); }},
        {"polygon",
         [] {
             const int x[4] = {500, 560, 500, 440}, y[4] = {440, 500, 560, 500};
             shlpol(x, y, 4);
         }},
    };
    for (const Case& c : cases) {
        ops.clear();
        shldel(0);
        c.define();
        ASSERT_EQ(shlind(), 1) << c.name;
        plot_move(200, 500);
        plot_draw(800, 500);
        plot_move(500, 200);
        plot_draw(500, 800);
        double in, out;
        drawn(495, 495, 505, 505, in, out);
        EXPECT_NEAR(in, 0.0, 0.5) << c.name;
        // What is left of the two lines of 600 units.
        drawn(0, 0, 0, 0, in, out);
        EXPECT_GT(out, 900.0) << c.name;
        EXPECT_LT(out, 1100.0) << c.name;
    }
    // A sector blanks only its own angles: the left half of the line stays.
    ops.clear();
    shldel(0);
    shlpie(500, 500, 100, -90.0f, 90.0f);
    plot_move(300, 500);
    plot_draw(700, 500);
    double in, out;
    drawn(350, 450, 499, 550, in, out);
    EXPECT_NEAR(in, 200.0, 0.5);  // 300 to 500 in one draw
    drawn(501, 450, 599, 550, in, out);
    EXPECT_NEAR(in, 0.0, 0.5);
}

TEST_F(Fill, BlankingBufferAndClasses) {
    // 1000 words: 166 rectangles of 6 words fit, the next warns 47.
    for (int i = 0; i < 166; ++i) shlrec(i, 0, 5, 5);
    EXPECT_EQ(shlind(), 166);
    long warnings = state().run.warning_count;
    shlrec(0, 0, 5, 5);
    EXPECT_EQ(shlind(), 166);
    EXPECT_EQ(state().run.warning_count, warnings + 1);
    // Still drawing.
    plot_move(100, 1000);
    plot_draw(200, 1000);
    plot_flush();
    EXPECT_FALSE(ops.empty());
    shlres(100);
    EXPECT_EQ(shlind(), 66);
    shldel(0);
    EXPECT_EQ(shlind(), 0);
    // Automatic regions of a class survive shldel(0); shield removes them.
    const float v[3] = {10, 10, 5};
    define_blanking_region(3, 5, v, 3);
    shlcir(100, 100, 5);
    shldel(0);
    EXPECT_EQ(shlind(), 1);
    shield("LEGE", "DELE");
    EXPECT_EQ(shlind(), 0);
    // Ids run on from the last region.
    EXPECT_EQ(define_blanking_region(3, 0, v, 3), 1);
    EXPECT_EQ(define_blanking_region(3, 0, v, 3), 2);
    shldel(1);
    EXPECT_EQ(define_blanking_region(3, 0, v, 3), 3);
}

}  // namespace
}  // namespace korval
