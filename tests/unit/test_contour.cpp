// Contour tracing over grids and triangles, contour points and the
// Delaunay triangulation.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <random>
#include <set>
#include <tuple>
#include <vector>

#include "contour/contour.hpp"
#include "core/core.hpp"
#include "graph3d/graph3d.hpp"
#include "korval/korval.hpp"

using namespace korval;

namespace {

struct Lines : contour::LineSink {
    std::vector<std::vector<std::pair<float, float>>> lines;
    std::vector<bool> closed;
    void line(const float* x, const float* y, int n, bool c) override {
        lines.emplace_back();
        for (int k = 0; k < n; ++k) lines.back().push_back({x[k], y[k]});
        closed.push_back(c);
    }
};

// z(i, j) at index i * m + j.
std::vector<float> grid(int n, int m, float (*f)(float, float), std::vector<float>& x,
                        std::vector<float>& y) {
    x.resize(n), y.resize(m);
    for (int i = 0; i < n; ++i) x[i] = (float)i;
    for (int j = 0; j < m; ++j) y[j] = (float)j;
    std::vector<float> z((std::size_t)n * m);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < m; ++j) z[(std::size_t)i * m + j] = f(x[i], y[j]);
    return z;
}

long long warnings() { return state().run.warning_count; }

}  // namespace

TEST(ContourTrace, CircleIsOneClosedLine) {
    std::vector<float> x, y;
    auto z = grid(
        21, 21, [](float a, float b) { return (a - 10) * (a - 10) + (b - 10) * (b - 10); }, x, y);
    Lines l;
    ASSERT_TRUE(contour::trace_grid(x.data(), 21, y.data(), 21, z.data(), 25.0f, l));
    ASSERT_EQ(l.lines.size(), 1u);
    EXPECT_TRUE(l.closed[0]);
    const auto& p = l.lines[0];
    EXPECT_EQ(p.front(), p.back());  // ends on its first point
    for (auto [a, b] : p) EXPECT_NEAR(std::hypot(a - 10, b - 10), 5.0, 0.15);
}

TEST(ContourTrace, OpenLinesRunFromBorderToBorder) {
    std::vector<float> x, y;
    auto z = grid(
        5, 4, [](float a, float) { return a; }, x, y);
    Lines l;
    contour::trace_grid(x.data(), 5, y.data(), 4, z.data(), 1.5f, l);
    ASSERT_EQ(l.lines.size(), 1u);
    EXPECT_FALSE(l.closed[0]);
    for (auto [a, b] : l.lines[0]) EXPECT_FLOAT_EQ(a, 1.5f);
    float y0 = l.lines[0].front().second, y1 = l.lines[0].back().second;
    EXPECT_EQ(std::min(y0, y1), 0.0f);
    EXPECT_EQ(std::max(y0, y1), 3.0f);
    // Below every value and above every value: nothing.
    Lines none;
    contour::trace_grid(x.data(), 5, y.data(), 4, z.data(), -1.0f, none);
    contour::trace_grid(x.data(), 5, y.data(), 4, z.data(), 4.0f, none);
    EXPECT_TRUE(none.lines.empty());
}

TEST(ContourTrace, TiesCountAsBelowAndSaddlesFollowTheMean) {
    // A level equal to a grid value: the points with z == v are below it,
    // so a level equal to the maximum draws nothing.
    std::vector<float> x{0, 1, 2}, y{0, 1, 2};
    std::vector<float> z{0, 0, 0, 0, 1, 0, 0, 0, 0};
    Lines l;
    contour::trace_grid(x.data(), 3, y.data(), 3, z.data(), 1.0f, l);
    EXPECT_TRUE(l.lines.empty());
    // Saddle: corners 1 0 / 0 1.  Mean 0.5 > 0.4 joins the high corners
    // (two lines cutting off the low ones), mean 0.5 <= 0.6 separates them.
    std::vector<float> sx{0, 1}, sy{0, 1};
    std::vector<float> sz{1, 0, 0, 1};  // z(0,0)=1 z(0,1)=0 z(1,0)=0 z(1,1)=1
    Lines lo, hi;
    contour::trace_grid(sx.data(), 2, sy.data(), 2, sz.data(), 0.4f, lo);
    contour::trace_grid(sx.data(), 2, sy.data(), 2, sz.data(), 0.6f, hi);
    ASSERT_EQ(lo.lines.size(), 2u);
    ASSERT_EQ(hi.lines.size(), 2u);
    // Around a low corner at (1, 0) the 0.4 line stays near that corner.
    auto near_corner = [](const Lines& L, float cx, float cy) {
        for (const auto& line : L.lines) {
            bool all = true;
            for (auto [a, b] : line) all = all && std::hypot(a - cx, b - cy) < 0.75f;
            if (all) return true;
        }
        return false;
    };
    EXPECT_TRUE(near_corner(lo, 1, 0) && near_corner(lo, 0, 1));
    EXPECT_TRUE(near_corner(hi, 0, 0) && near_corner(hi, 1, 1));
}

TEST(ContourTrace, ValuesThatAreNotNumbersLeaveHoles) {
    std::vector<float> x, y;
    auto z = grid(
        11, 11, [](float a, float) { return a; }, x, y);
    z[5 * 11 + 5] = NAN;
    z[2 * 11 + 7] = INFINITY;
    Lines l;
    contour::trace_grid(x.data(), 11, y.data(), 11, z.data(), 5.0f, l);
    EXPECT_EQ(l.lines.size(), 2u);  // the line through x = 5 breaks at the hole
    for (const auto& line : l.lines)
        for (auto [a, b] : line) EXPECT_TRUE(std::isfinite(a) && std::isfinite(b));
}

TEST(ContourPoints, LimitsWarnOnceAndKeepCounts) {
    std::vector<float> x, y;
    // Two separate bumps: two closed lines.
    auto z = grid(
        30, 15,
        [](float a, float b) {
            return std::exp(-((a - 7) * (a - 7) + (b - 7) * (b - 7)) / 8) +
                   std::exp(-((a - 22) * (a - 22) + (b - 7) * (b - 7)) / 8);
        },
        x, y);
    std::vector<float> xp(1000), yp(1000);
    std::vector<int> counts(10);
    int lines =
        conpts(x.data(), 30, y.data(), 15, z.data(), 0.5f, xp.data(), yp.data(), 1000, counts.data(), 10);
    ASSERT_EQ(lines, 2);
    int total = counts[0] + counts[1];
    long long w = warnings();
    lines = conpts(x.data(), 30, y.data(), 15, z.data(), 0.5f, xp.data(), yp.data(), 1000, counts.data(), 1);
    EXPECT_EQ(lines, 1);
    EXPECT_EQ(warnings(), w + 1);
    lines = conpts(x.data(), 30, y.data(), 15, z.data(), 0.5f, xp.data(), yp.data(), total - 5, counts.data(),
                   10);
    EXPECT_EQ(warnings(), w + 2);  // one warning for the points
    int stored = 0;
    for (int k = 0; k < lines; ++k) stored += counts[k];
    EXPECT_EQ(stored, total - 5);
    EXPECT_EQ(conpts(x.data(), 1, y.data(), 15, z.data(), 0.5f, xp.data(), yp.data(), 10, counts.data(), 10),
              0);
}

// ---- triangulation ------------------------------------------------------------

namespace {

struct Tris {
    std::vector<int> a, b, c;
    int n = 0;
};

Tris run_triang(std::vector<float> x, std::vector<float> y) {
    int n = (int)x.size();
    x.resize(n + 3), y.resize(n + 3);
    Tris t;
    int nmax = 2 * n + 1;
    t.a.resize(nmax), t.b.resize(nmax), t.c.resize(nmax);
    t.n = triang(x.data(), y.data(), n, t.a.data(), t.b.data(), t.c.data(), nmax);
    return t;
}

// Every triangle is counter-clockwise and no point lies strictly inside a
// circumcircle (checked on a sample of points for large sets).
void expect_delaunay(const std::vector<float>& x, const std::vector<float>& y, const Tris& t,
                     int stride = 1) {
    for (int k = 0; k < t.n; ++k) {
        int i = t.a[k] - 1, j = t.b[k] - 1, l = t.c[k] - 1;
        double o =
            ((double)x[j] - x[i]) * ((double)y[l] - y[i]) - ((double)y[j] - y[i]) * ((double)x[l] - x[i]);
        ASSERT_GT(o, 0) << "triangle " << k;
        for (std::size_t p = (std::size_t)(k % stride); p < x.size(); p += stride) {
            long double ax = x[i] - x[p], ay = y[i] - y[p], bx = x[j] - x[p], by = y[j] - y[p];
            long double cx = x[l] - x[p], cy = y[l] - y[p];
            long double det = (ax * ax + ay * ay) * (bx * cy - cx * by) -
                              (bx * bx + by * by) * (ax * cy - cx * ay) +
                              (cx * cx + cy * cy) * (ax * by - bx * ay);
            ASSERT_LE(det, 1e-6L * (1 + std::fabs((double)ax) + std::fabs((double)bx))) << "point " << p;
        }
    }
}

}  // namespace

TEST(Triangulation, SquareAndDuplicatesAndCollinear) {
    Tris t = run_triang({0, 1, 1, 0}, {0, 0, 1, 1});
    EXPECT_EQ(t.n, 2);
    // Duplicates are skipped silently.
    long long w = warnings();
    t = run_triang({0, 1, 1, 0, 1, 0}, {0, 0, 1, 1, 1, 0});
    EXPECT_EQ(t.n, 2);
    EXPECT_EQ(warnings(), w);
    // Collinear points with one point off the line: a fan, no failure.
    t = run_triang({0, 1, 2, 3, 4, 2}, {0, 0, 0, 0, 0, 1});
    EXPECT_EQ(t.n, 4);
    // All collinear: nothing, with the warning.
    t = run_triang({0, 1, 2, 3}, {0, 1, 2, 3});
    EXPECT_EQ(t.n, 0);
    EXPECT_EQ(warnings(), w + 1);
}

TEST(Triangulation, TooSmallOutputAndBadPoints) {
    std::vector<float> x{0, 1, 1, 0, 0, 0, 0}, y{0, 0, 1, 1, 0, 0, 0};
    std::vector<int> a(8), b(8), c(8);
    long long w = warnings();
    EXPECT_EQ(triang(x.data(), y.data(), 4, a.data(), b.data(), c.data(), 8), 0);  // nmax = 2n
    EXPECT_EQ(warnings(), w + 1);
    // Points that are not numbers are left out.
    Tris t = run_triang({0, 1, NAN, 1, 0, INFINITY}, {0, 0, 5, 1, 1, 2});
    EXPECT_EQ(t.n, 2);
    for (int k = 0; k < t.n; ++k) EXPECT_TRUE(t.a[k] != 3 && t.b[k] != 3 && t.c[k] != 3);
}

TEST(Triangulation, GridPointsAreCocircular) {
    std::vector<float> x, y;
    for (int i = 0; i < 30; ++i)
        for (int j = 0; j < 20; ++j) x.push_back((float)i * 0.1f), y.push_back((float)j * 0.1f);
    Tris t = run_triang(x, y);
    EXPECT_EQ(t.n, 2 * 29 * 19);  // a full convex hull, every cell split once
    expect_delaunay(x, y, t, 7);
}

TEST(Triangulation, TenThousandRandomPointsQuickly) {
    std::mt19937 rng(42);
    std::uniform_real_distribution<float> u(-100, 100);
    std::vector<float> x(10000), y(10000);
    for (int i = 0; i < 10000; ++i) x[i] = u(rng), y[i] = u(rng);
    auto t0 = std::chrono::steady_clock::now();
    Tris t = run_triang(x, y);
    double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_LT(ms, 500.0);
    // Euler: 2n - 2 - h triangles for h hull points.
    EXPECT_GT(t.n, 2 * 10000 - 2 - 200);
    EXPECT_LE(t.n, 2 * 10000 - 5);
    expect_delaunay(x, y, t, 97);
    // Each edge is shared by at most two triangles.
    std::set<std::tuple<int, int>> directed;
    for (int k = 0; k < t.n; ++k) {
        int v[3] = {t.a[k], t.b[k], t.c[k]};
        for (int e = 0; e < 3; ++e) EXPECT_TRUE(directed.insert({v[e], v[(e + 1) % 3]}).second);
    }
}

TEST(Triangulation, CircleThroughThreePoints) {
    float xm = -1, ym = -1, r = -1;
    circ3p(0, 0, 2, 0, 0, 2, xm, ym, r);
    EXPECT_FLOAT_EQ(xm, 1);
    EXPECT_FLOAT_EQ(ym, 1);
    EXPECT_FLOAT_EQ(r, std::sqrt(2.0f));
    long long w = warnings();
    xm = ym = r = 7;
    circ3p(0, 0, 1, 1, 2, 2, xm, ym, r);
    EXPECT_EQ(warnings(), w + 1);
    EXPECT_EQ(xm, 7);  // nothing returned
}

TEST(ContourTrace, TrianglesChainIntoLines) {
    // A square of four triangles around its centre; z = x.
    std::vector<float> x{0, 2, 2, 0, 1}, y{0, 0, 2, 2, 1}, z{0, 2, 2, 0, 1};
    std::vector<int> a{1, 2, 3, 4}, b{2, 3, 4, 1}, c{5, 5, 5, 5};
    Lines l;
    contour::trace_triangles(x.data(), y.data(), z.data(), 5, a.data(), b.data(), c.data(), 4, 0.5f, l);
    ASSERT_EQ(l.lines.size(), 1u);
    EXPECT_EQ(l.lines[0].size(), 4u);  // bottom edge, two inner edges, top edge
    for (auto [px, py] : l.lines[0]) EXPECT_FLOAT_EQ(px, 0.5f);
    // Bad vertex numbers are skipped, not read.
    std::vector<int> bad{1, 2, 99, 4};
    Lines l2;
    contour::trace_triangles(x.data(), y.data(), z.data(), 5, bad.data(), b.data(), c.data(), 4, 0.5f, l2);
    EXPECT_EQ(l2.lines.size(), 1u);  // the line through the triangles left
}

// ---- bands of shaded contours ------------------------------------------------------

namespace {

class BandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_plots_ = state().colour_plots;
        saved_colour_ = state().colour;
        saved_contour_ = state().contour;
        state().colour_plots = ColourPlotState{};
        ColourState& c = state().colour;
        c.range_lo = 1, c.range_hi = 254, c.under = 0, c.over = 255;
        state().contour.colours.clear();
    }
    void TearDown() override {
        state().colour_plots = saved_plots_;
        state().colour = saved_colour_;
        state().contour = saved_contour_;
    }

private:
    ColourPlotState saved_plots_;
    ColourState saved_colour_;
    ContourState saved_contour_;
};

}  // namespace

TEST_F(BandsTest, SortedLevelsAndBandRules) {
    const float lev[3] = {30, 10, 20};
    contour::ColourScaleScope scale(10, 30);
    contour::Bands b;
    b.setup(lev, 3, false);
    ASSERT_EQ(b.level, (std::vector<float>{10, 20, 30}));
    EXPECT_EQ(b.pos, (std::vector<int>{1, 2, 0}));
    EXPECT_EQ(b.band(10), 0);  // ties go below
    EXPECT_EQ(b.band(10.5), 1);
    EXPECT_EQ(b.band(30.5), 3);
    // LOWE: band 0 under colour, band k the colour of level k.
    EXPECT_EQ(b.colour, (std::vector<int>{0, 1, 128, 254}));
    state().colour_plots.contour_band_rule = 2;  // UPPE
    b.setup(lev, 3, false);
    EXPECT_EQ(b.colour, (std::vector<int>{1, 128, 254, 255}));
    state().colour_plots.contour_band_rule = 1;  // MIDD
    b.setup(lev, 3, false);
    EXPECT_EQ(b.colour[0], 0);
    EXPECT_EQ(b.colour[1], z_to_colour(15));
    EXPECT_EQ(b.colour[3], 254);
    // POLY always colours by the lower level.
    b.setup(lev, 3, true);
    EXPECT_EQ(b.colour, (std::vector<int>{0, 1, 128, 254}));
}

TEST_F(BandsTest, OuterBandsAndDefinedColours) {
    const float lev[2] = {0, 1};
    contour::ColourScaleScope scale(0, 1);
    contour::Bands b;
    state().colour_plots.contour_bands = 1;  // UPPE: the band below stays empty
    b.setup(lev, 2, false);
    EXPECT_EQ(b.colour[0], -1);
    EXPECT_GE(b.colour[2], 0);
    state().colour_plots.contour_bands = 3;  // NONE
    b.setup(lev, 2, false);
    EXPECT_EQ(b.colour[0], -1);
    EXPECT_EQ(b.colour[2], -1);
    state().colour_plots.contour_bands = 0;
    // conclr colours by argument position; missing ones from the scale,
    // with the warning.
    const float five[5] = {5, 4, 3, 2, 1};
    state().contour.colours = {10, 20, 30};
    long long w = warnings();
    contour::ColourScaleScope scale5(1, 5);
    b.setup(five, 5, false);
    EXPECT_EQ(warnings(), w + 1);
    EXPECT_EQ(b.colour[5], 10);  // level 5 is argument 0
    EXPECT_EQ(b.colour[4], 20);
    EXPECT_EQ(b.colour[3], 30);
    EXPECT_EQ(b.colour[2], z_to_colour(2));
    EXPECT_EQ(b.colour[1], z_to_colour(1));
}

TEST_F(BandsTest, ColourScaleIsRestored) {
    set_colour_range(0, 100, false);
    int before = z_to_colour(50);
    {
        contour::ColourScaleScope scale(0, 1);
        EXPECT_EQ(z_to_colour(1), 254);
    }
    EXPECT_EQ(z_to_colour(50), before);
}

TEST(ContourClip, BandOfATriangle) {
    const double x[3] = {0, 2, 0}, y[3] = {0, 0, 2}, z[3] = {0, 2, 0};
    double ox[12], oy[12], oz[12];
    // 0.5 < z <= 1.5: the strip between x = 0.5 and x = 1.5.
    int m = contour::clip_band(x, y, z, 3, true, 0.5, true, 1.5, ox, oy, oz);
    ASSERT_EQ(m, 4);
    for (int k = 0; k < m; ++k) EXPECT_TRUE(ox[k] >= 0.5 - 1e-9 && ox[k] <= 1.5 + 1e-9);
    EXPECT_EQ(contour::clip_band(x, y, z, 3, true, 2.0, false, 0, ox, oy, oz), 0);  // nothing above 2
    EXPECT_EQ(contour::clip_band(x, y, z, 3, false, 0, false, 0, ox, oy, oz), 3);
}

TEST(Triangulation, CocircularCollinearAndDuplicateSets) {
    // Points on a circle (all cocircular) and its centre.
    std::vector<float> x, y;
    for (int k = 0; k < 64; ++k) {
        x.push_back((float)std::cos(k * 2 * M_PI / 64));
        y.push_back((float)std::sin(k * 2 * M_PI / 64));
    }
    Tris t = run_triang(x, y);
    EXPECT_EQ(t.n, 62);  // convex position: n - 2
    x.push_back(0), y.push_back(0);
    t = run_triang(x, y);
    EXPECT_EQ(t.n, 64);
    // Three lines of many points each, crossing, every point twice.
    x.clear(), y.clear();
    for (int k = 0; k <= 40; ++k) {
        float s = -1 + k * 0.05f;
        for (int rep = 0; rep < 2; ++rep) {
            x.push_back(s), y.push_back(0);
            x.push_back(0), y.push_back(s);
            x.push_back(s), y.push_back(s);
        }
    }
    t = run_triang(x, y);
    ASSERT_GT(t.n, 0);
    std::set<std::tuple<int, int>> directed;
    std::set<std::pair<float, float>> used;
    for (int k = 0; k < t.n; ++k) {
        int v[3] = {t.a[k], t.b[k], t.c[k]};
        for (int e = 0; e < 3; ++e) {
            EXPECT_TRUE(directed.insert({v[e], v[(e + 1) % 3]}).second);
            used.insert({x[v[e] - 1], y[v[e] - 1]});
        }
    }
    EXPECT_EQ(used.size(), 3u * 41 - 2);  // every distinct point; the origin lies on all three lines
    expect_delaunay(x, y, t);
}

TEST(ContourSettings, CheckedAndReset) {
    const ContourState keep = state().contour;
    long long w = warnings();
    congap(2.0f);
    EXPECT_EQ(state().contour.gap_factor, 2.0f);
    congap(-0.1f);
    congap(NAN);
    EXPECT_EQ(state().contour.gap_factor, 2.0f);
    conmod(1.0f, 3.0f);
    conmod(-1.0f, 3.0f);
    conmod(1.0f, 1.0f);  // the quotient must exceed 1
    EXPECT_EQ(state().contour.label_factor, 1.0f);
    EXPECT_EQ(state().contour.label_quotient, 3.0f);
    const int colours[3] = {5, 6, 7};
    conclr(colours, 3);
    conclr(colours, 257);
    EXPECT_EQ(state().contour.colours, (std::vector<int>{5, 6, 7}));
    EXPECT_EQ(warnings(), w + 5);
    conlab("a label of more than twenty characters");
    EXPECT_EQ(state().contour.label_text, "a label of more than");
    const int level = state().run.level;
    state().run.level = 1;  // reset needs an open plot
    reset("CONG");
    reset("CONM");
    reset("CONC");
    state().run.level = level;
    EXPECT_EQ(state().contour.gap_factor, 0.5f);
    EXPECT_EQ(state().contour.label_factor, 0.5f);
    EXPECT_EQ(state().contour.label_quotient, 1.5f);
    EXPECT_TRUE(state().contour.colours.empty());
    state().contour = keep;
}
