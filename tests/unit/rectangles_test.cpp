// Rectangles, points, sectors and wind barbs against a device that records
// what reaches it.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <vector>

#include "axes/axes.hpp"
#include "core/core.hpp"
#include "devices/device.hpp"
#include "draw/draw.hpp"
#include "draw/figures.hpp"
#include "korval/korval.hpp"

using namespace korval;

namespace {

struct Op {
    float x, y;
    int op;
};

struct Rect {
    int x1, y1, x2, y2, colour;
};

struct Record {
    std::vector<Op> ops;
    std::vector<Rect> rects;
    std::vector<int> colours;
    int polygons = 0, sectors = 0;
    float sector_r1 = 0, sector_r2 = 0, sector_a = 0, sector_b = 0;
};

class RecordingDevice : public Device {
public:
    RecordingDevice(Record& r, unsigned caps) : r_(r), caps_(caps) {}
    unsigned capabilities() const override { return caps_; }
    void line(float x, float y, int op) override { r_.ops.push_back({x, y, op}); }
    void fill_rect(int x1, int y1, int x2, int y2, int colour) override {
        r_.rects.push_back({x1, y1, x2, y2, colour});
    }
    void fill_polygon(const float*, const float*, int) override { ++r_.polygons; }
    void sector(float, float, float r1, float r2, float a, float b, int) override {
        ++r_.sectors;
        r_.sector_r1 = r1, r_.sector_r2 = r2, r_.sector_a = a, r_.sector_b = b;
    }
    void colour(int index) override { r_.colours.push_back(index); }

private:
    Record& r_;
    unsigned caps_;
};

class Rectangles : public ::testing::Test {
protected:
    Record rec;
    int saved_format = 0;
    void use_device(unsigned caps) { state().out.device = std::make_unique<RecordingDevice>(rec, caps); }
    void SetUp() override {
        first_call_init();
        State& st = state();
        saved_format = st.out.format;
        st.out.format = 201;
        st.out.nxp = 2969;
        st.out.nyp = 2099;
        st.out.unit_factor = 1.0f;
        st.out.scale_factor = 1.0f;
        st.run.level = 1;
        use_device(kCapFillRect | kCapFillPolygon);
        set_default_parameters();
        st.msg.unit = 0;  // counted, not printed
        rec = Record{};
    }
    void TearDown() override {
        state().out.device.reset();
        state().out.format = saved_format;
        state().msg.unit = 6;
        state().run.level = 0;
    }
    std::vector<Op> drawn() {
        plot_flush();
        std::vector<Op> ops = rec.ops;
        rec.ops.clear();
        return ops;
    }
    int strokes() {
        int n = 0;
        for (const Op& o : drawn()) n += o.op == kOpMove;
        return n;
    }
    long warnings() const { return state().run.warning_count; }
};

bool same_ops(const std::vector<Op>& a, const std::vector<Op>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::fabs(a[i].x - b[i].x) > 0.01f || std::fabs(a[i].y - b[i].y) > 0.01f || a[i].op != b[i].op)
            return false;
    return true;
}

}  // namespace

TEST_F(Rectangles, RectanglesAndTheirRoundedForm) {
    rectan(100, 100, 300, 200);
    std::vector<Op> plain = drawn();
    ASSERT_FALSE(plain.empty());
    EXPECT_FLOAT_EQ(plain[2].x, 399.0f);  // nx + nw - 1
    EXPECT_FLOAT_EQ(plain[2].y, 299.0f);
    rndrec(100, 100, 300, 200, 0);
    EXPECT_TRUE(same_ops(drawn(), plain));
    // Radius 20 * 1 / 18: fewer than four points per quarter.
    rectan(100, 100, 20, 30);
    std::vector<Op> small = drawn();
    rndrec(100, 100, 20, 30, 1);
    EXPECT_TRUE(same_ops(drawn(), small));
    // A real rounding stays inside the rectangle and cuts its corners.
    rndrec(100, 100, 300, 200, 9);
    std::vector<Op> round = drawn();
    EXPECT_GT(round.size(), plain.size());
    for (const Op& o : round) {
        EXPECT_GE(o.x, 99.9f);
        EXPECT_LE(o.x, 399.1f);
        EXPECT_GE(o.y, 99.9f);
        EXPECT_LE(o.y, 299.1f);
        EXPECT_FALSE(std::fabs(o.x - 100) < 0.5f && std::fabs(o.y - 100) < 0.5f);
    }
    // Bad sizes and options: a warning and nothing drawn.
    long w = warnings();
    rectan(100, 100, 0, 50);
    rndrec(100, 100, 0, 50, 3);
    rndrec(100, 100, 50, 40000, 3);
    rndrec(100, 100, 50, 50, 10);
    EXPECT_EQ(warnings(), w + 4);
    EXPECT_TRUE(drawn().empty());
}

TEST_F(Rectangles, FilledRectanglesAndPointsKeepTheColour) {
    select_colour(7);
    rec.colours.clear();
    recfll(100, 200, 50, 40, 3);
    ASSERT_EQ(rec.rects.size(), 1u);
    EXPECT_EQ(rec.rects[0].x1, 100);
    EXPECT_EQ(rec.rects[0].y1, 200);
    EXPECT_EQ(rec.rects[0].x2, 149);
    EXPECT_EQ(rec.rects[0].y2, 239);
    EXPECT_EQ(rec.rects[0].colour, 3);
    EXPECT_EQ(state().colour.current, 7);
    point(500, 500, 10, 6, 4);
    ASSERT_EQ(rec.rects.size(), 2u);
    EXPECT_EQ(rec.rects[1].x1, 495);
    EXPECT_EQ(rec.rects[1].x2, 505);
    EXPECT_EQ(rec.rects[1].y1, 497);
    EXPECT_EQ(rec.rects[1].y2, 503);
    EXPECT_EQ(rec.rects[1].colour, 4);
    EXPECT_EQ(state().colour.current, 7);
    // A colour outside the table is refused.
    long w = warnings();
    recfll(100, 200, 50, 40, 256);
    point(500, 500, 10, 6, -1);
    EXPECT_EQ(warnings(), w + 2);
    EXPECT_EQ(rec.rects.size(), 2u);
    // Without hardware rectangles the fill is stroked, and the colour restored.
    use_device(0);
    recfll(100, 200, 50, 40, 3);
    EXPECT_GT(drawn().size(), 10u);
    EXPECT_EQ(state().colour.current, 7);
}

TEST_F(Rectangles, SectorsCheckTheirParametersAndFillSolidly) {
    long w = warnings();
    sector(500, 500, 10, 0, 0, 90, 3);    // 51
    sector(500, 500, -1, 20, 0, 90, 3);   // 1
    sector(500, 500, 30, 20, 0, 90, 3);   // 7
    sector(500, 500, 10, 20, 90, 90, 3);  // 8
    sector(500, 500, 10, 20, 0, NAN, 3);  // 8
    EXPECT_EQ(warnings(), w + 5);
    EXPECT_EQ(rec.polygons, 0);
    EXPECT_TRUE(drawn().empty());

    // Hatched where the format cannot fill, by the device where it can.
    int pattern = current_pattern();
    sector(500, 500, 100, 200, 0, 90, 3);
    EXPECT_GT(drawn().size(), 50u);
    EXPECT_EQ(current_pattern(), pattern);
    state().out.format = 501;
    select_colour(7);
    sector(500, 500, 100, 200, 0, 90, 3);
    EXPECT_EQ(rec.polygons, 1);
    EXPECT_EQ(state().colour.current, 7);
    EXPECT_EQ(current_pattern(), pattern);
    ASSERT_GE(rec.colours.size(), 2u);
    EXPECT_EQ(rec.colours[rec.colours.size() - 2], 3);

    // Devices with their own sectors get them; a sweep of more than a
    // turn is a full ring.
    use_device(kCapSector | kCapFillPolygon);
    sector(500, 500, 100, 200, 10, 800, 5);
    EXPECT_EQ(rec.sectors, 1);
    EXPECT_FLOAT_EQ(rec.sector_r1, 100.0f);
    EXPECT_FLOAT_EQ(rec.sector_a, 0.0f);
    EXPECT_FLOAT_EQ(rec.sector_b, 360.0f);
}

TEST_F(Rectangles, WindBarbsRoundToFiveKnots) {
    hsymbl(60);
    windbr(47, 1000, 1000, 300, 0);  // shaft, four full barbs, one half barb
    EXPECT_EQ(strokes(), 6);
    EXPECT_EQ(rec.polygons, 0);
    windbr(48, 1000, 1000, 300, 0);  // shaft and one pennant
    EXPECT_EQ(strokes(), 1);
    EXPECT_EQ(rec.polygons, 1);
    windbr(105, 1000, 1000, 300, 0);  // two pennants and a half barb
    EXPECT_EQ(strokes(), 2);
    EXPECT_EQ(rec.polygons, 3);
    windbr(2, 1000, 1000, 300, 0);  // a bare shaft
    std::vector<Op> shaft = drawn();
    ASSERT_EQ(shaft.size(), 2u);
    EXPECT_FLOAT_EQ(shaft[1].x, 1000.0f);
    EXPECT_FLOAT_EQ(shaft[1].y, 700.0f);  // angle 0: up the page
    windbr(2, 1000, 1000, 300, 90);
    shaft = drawn();
    ASSERT_EQ(shaft.size(), 2u);
    EXPECT_NEAR(shaft[1].x, 1300.0f, 0.01f);
    EXPECT_NEAR(shaft[1].y, 1000.0f, 0.01f);
    // A lone half barb stands in from the end of the shaft.
    windbr(5, 1000, 1000, 300, 0);
    std::vector<Op> half = drawn();
    ASSERT_EQ(half.size(), 4u);
    EXPECT_FLOAT_EQ(half[2].y, 1000.0f - 300.0f + 30.0f);

    // Calm: two circles, the symbol size and the pattern restored.
    shdpat(16);
    windbr(0.4f, 1000, 1000, 300, 0);
    EXPECT_EQ(strokes(), 2);
    EXPECT_EQ(state().plots.symbol_height, 60);
    EXPECT_EQ(current_pattern(), 16);
    // Speeds that are no numbers draw nothing.
    long w = warnings();
    windbr(NAN, 1000, 1000, 300, 0);
    windbr(INFINITY, 1000, 1000, 300, 0);
    windbr(1.0e9f, 1000, 1000, 300, 0);
    EXPECT_EQ(warnings(), w + 3);
    EXPECT_TRUE(drawn().empty());
}

TEST_F(Rectangles, UserCoordinateRoutines) {
    // Without an axis system the rl routines warn and draw nothing.
    long w = warnings();
    rlrec(1, 1, 1, 1);
    rlrnd(1, 1, 1, 1, 3);
    rlpoin(1, 1, 5, 5, 1);
    rlsec(1, 1, 0, 1, 0, 90, 1);
    rlwind(10, 1, 1, 100, 0);
    EXPECT_EQ(warnings(), w + 5);
    EXPECT_TRUE(drawn().empty());
    EXPECT_TRUE(rec.rects.empty());

    graf(0, 10, 0, 2, 0, 10, 0, 2);
    drawn();
    rec.rects.clear();
    float x1, y1, x2, y2;
    user_to_plot(2, 8, x1, y1);
    user_to_plot(5, 6, x2, y2);
    rlrec(2, 8, 3, 2);
    std::vector<Op> ops = drawn();
    ASSERT_GE(ops.size(), 4u);
    EXPECT_NEAR(ops[0].x, std::floor(x1 + 0.5f), 0.01f);
    EXPECT_NEAR(ops[0].y, std::floor(y1 + 0.5f), 0.01f);
    EXPECT_NEAR(ops[2].x - ops[0].x + 1, std::floor(x2 - x1 + 0.5f), 0.01f);
    rlpoin(5, 5, 10, 10, 2);
    ASSERT_EQ(rec.rects.size(), 1u);
    endgrf();
}
