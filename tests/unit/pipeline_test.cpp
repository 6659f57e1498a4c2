// The vector pipeline against a device that records what reaches it.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"

namespace korval {
namespace {

struct Op {
    float x, y;
    int op;
};

class RecordingDevice : public Device {
public:
    explicit RecordingDevice(std::vector<Op>& ops) : ops_(ops) {}
    void line(float x, float y, int op) override { ops_.push_back({x, y, op}); }

private:
    std::vector<Op>& ops_;
};

class Pipeline : public ::testing::Test {
protected:
    void SetUp() override {
        State& st = state();
        st.out.format = 201;
        st.out.nxp = 2969;
        st.out.nyp = 2099;
        st.out.unit_factor = 1.0f;
        st.out.device = std::make_unique<RecordingDevice>(ops);
        set_default_parameters();
        ops.clear();
        st.run.vector_count = 0;
    }
    void TearDown() override { state().out.device.reset(); }

    // Runs of connected draws, each starting with a move (moves without a
    // draw, which a gap leaves behind, are dropped).
    std::vector<std::vector<Op>> runs() {
        plot_flush();
        std::vector<std::vector<Op>> r;
        for (const Op& o : ops) {
            if (o.op == kOpMove || r.empty()) {
                if (!r.empty() && r.back().size() == 1) r.pop_back();
                r.emplace_back();
            }
            r.back().push_back(o);
        }
        if (!r.empty() && r.back().size() == 1) r.pop_back();
        return r;
    }
    void set_region(int x1, int y1, int x2, int y2) {
        PipelineState& p = state().pipeline;
        p.clip_xmin = x1, p.clip_ymin = y1, p.clip_xmax = x2, p.clip_ymax = y2;
    }
    void set_dashes(std::vector<int> d) {
        PipelineState& p = state().pipeline;
        p.dash_count = (int)d.size();
        for (std::size_t i = 0; i < d.size(); ++i) p.dash[i] = d[i];
        dash_reset();
    }

    std::vector<Op> ops;
};

TEST_F(Pipeline, RectangleClippingEndsOnTheBoundary) {
    set_region(100, 100, 200, 200);
    // Inside to outside: ends on x = 200.
    plot_move(150, 150);
    plot_draw(250, 150);
    // Outside to inside: a move to the boundary point y = 100 first.
    plot_move(150, 50);
    plot_draw(150, 150);
    // Both outside on one side: nothing; crossing the whole region: a chord.
    plot_move(0, 0);
    plot_draw(50, 300);
    plot_move(0, 150);
    plot_draw(300, 150);
    auto r = runs();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_FLOAT_EQ(r[0][1].x, 200.0f);
    EXPECT_FLOAT_EQ(r[0][1].y, 150.0f);
    EXPECT_EQ(r[1][0].op, kOpMove);
    EXPECT_FLOAT_EQ(r[1][0].y, 100.0f);
    EXPECT_FLOAT_EQ(r[1][1].y, 150.0f);
    EXPECT_FLOAT_EQ(r[2][0].x, 100.0f);
    EXPECT_FLOAT_EQ(r[2][1].x, 200.0f);
    // Diagonal crossing two boundaries: both ends move, the slope is kept.
    ops.clear();
    plot_move(50, 100);
    plot_draw(250, 200);
    r = runs();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_FLOAT_EQ(r[0][0].x, 100.0f);
    EXPECT_FLOAT_EQ(r[0][0].y, 125.0f);
    EXPECT_FLOAT_EQ(r[0][1].x, 200.0f);
    EXPECT_FLOAT_EQ(r[0][1].y, 175.0f);
}

TEST_F(Pipeline, CircularClipping) {
    PipelineState& p = state().pipeline;
    p.circle = true;
    p.circle_x = 500, p.circle_y = 500, p.circle_r = 100;
    // Chord through the circle: both crossings within the segment.
    plot_move(300, 500);
    plot_draw(700, 500);
    // Both ends outside, the line meets the circle beyond the segment: nothing.
    plot_move(300, 500);
    plot_draw(380, 500);
    // From the centre outwards: the crossing within 0.1 of the radius.
    plot_move(500, 500);
    plot_draw(500, 800);
    auto r = runs();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_NEAR(r[0][0].x, 400.0f, 0.01f);
    EXPECT_NEAR(r[0][1].x, 600.0f, 0.01f);
    EXPECT_NEAR(r[1][1].y, 600.0f, 0.1f);
    EXPECT_FLOAT_EQ(r[1][1].x, 500.0f);
}

TEST_F(Pipeline, DashesCarryAcrossSegmentsAndCalls) {
    set_dashes({10, 5});
    plot_move(0, 100);
    plot_draw(12, 100);  // dash 0..10, gap starts
    plot_draw(30, 100);  // gap to 15, dash 15..25, gap 25..30
    plot_draw(40, 100);  // gap to 30, dash 30..40 and the pattern ends exactly
    auto r = runs();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_FLOAT_EQ(r[0].front().x, 0.0f);
    EXPECT_FLOAT_EQ(r[0].back().x, 10.0f);
    EXPECT_FLOAT_EQ(r[1].front().x, 15.0f);
    EXPECT_FLOAT_EQ(r[1].back().x, 25.0f);
    EXPECT_FLOAT_EQ(r[2].front().x, 30.0f);
    EXPECT_FLOAT_EQ(r[2].back().x, 40.0f);
    // A segment shorter than the remaining element only reduces the rest.
    set_dashes({10, 5});
    plot_move(0, 200);
    plot_draw(4, 200);
    EXPECT_DOUBLE_EQ(state().pipeline.dash_remaining, 6.0);
    EXPECT_FALSE(state().pipeline.dash_gap);
    // Vertical and diagonal segments advance by length, not by coordinate.
    plot_flush();
    set_dashes({10, 10});
    ops.clear();
    plot_move(0, 300);
    plot_draw(30, 340);  // length 50: dashes 0..10, 20..30, 40..50
    r = runs();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_NEAR(r[1].front().x, 12.0f, 1e-3f);
    EXPECT_NEAR(r[1].front().y, 316.0f, 1e-3f);
    EXPECT_NEAR(r[2].back().x, 30.0f, 1e-3f);
}

TEST_F(Pipeline, HugeDashedSegmentsStayQuickAndKeepThePattern) {
    set_dashes({10, 10});
    plot_move(-2e9f, 100);
    plot_draw(2e9f, 100);
    auto r = runs();
    // Dashes cover the page (2970 units: 149 of them) and nothing else far away.
    ASSERT_GE(r.size(), 149u);
    ASSERT_LE(r.size(), 151u);
    float dx = r[1].front().x - r[0].front().x;
    EXPECT_NEAR(dx, 20.0f, 0.5f);
}

TEST_F(Pipeline, LongPolylinesRunInHundredsSharingEndPoints) {
    plot_move(0, 0);
    for (int i = 1; i < 250; ++i) plot_draw((float)i, (float)(i % 7));
    auto r = runs();
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].size(), 100u);
    EXPECT_EQ(r[1].size(), 100u);
    EXPECT_EQ(r[2].size(), 52u);
    EXPECT_FLOAT_EQ(r[1].front().x, 99.0f);
    EXPECT_FLOAT_EQ(r[2].front().x, 198.0f);
    EXPECT_EQ(state().run.vector_count, 252);
}

TEST_F(Pipeline, OffsetOriginAndBaseTransformation) {
    PipelineState& p = state().pipeline;
    p.offset = 5;
    plot_move(100, 100);
    plot_draw(200, 100);  // y pointing up: the offset moves the line to y = 95
    auto r = runs();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_NEAR(r[0][0].y, 95.0f, 1e-4f);
    EXPECT_NEAR(r[0][1].x, 200.0f, 1e-4f);
    p.offset = 0;
    ops.clear();
    p.shift_x = 10, p.shift_y = 20;
    p.base_on = true;
    float m[6] = {2, 0, 0, 1, 1, 0};
    for (int i = 0; i < 6; ++i) p.base[i] = m[i];
    plot_move(0, 0);
    plot_draw(100, 0);
    r = runs();
    ASSERT_EQ(r.size(), 1u);
    EXPECT_FLOAT_EQ(r[0][0].x, 21.0f);
    EXPECT_FLOAT_EQ(r[0][0].y, 20.0f);
    EXPECT_FLOAT_EQ(r[0][1].x, 221.0f);
}

TEST_F(Pipeline, ThickLinesDrawOutlines) {
    PipelineState& p = state().pipeline;
    p.line_width = 5;  // outline widths 3 and 5
    p.line_cap = 0;
    plot_move(100, 100);
    plot_draw(200, 100);
    auto r = runs();
    // The centre stroke and two closed rectangles.
    ASSERT_EQ(r.size(), 3u);
    ASSERT_EQ(r[2].size(), 5u);
    EXPECT_FLOAT_EQ(r[2][0].x, 100.0f);
    EXPECT_FLOAT_EQ(r[2][0].y, 97.0f);  // half width 2.5, truncated
    EXPECT_FLOAT_EQ(r[2][1].x, 200.0f);
    EXPECT_FLOAT_EQ(r[2][2].y, 102.0f);
    EXPECT_FLOAT_EQ(r[2][4].x, r[2][0].x);
    EXPECT_FLOAT_EQ(r[2][4].y, r[2][0].y);
    // LONG caps extend the ends; a bent polyline gets one closed outline.
    ops.clear();
    p.line_cap = 2;
    p.line_width = 3;
    plot_move(100, 100);
    plot_draw(200, 100);
    plot_draw(200, 200);
    r = runs();
    ASSERT_EQ(r.size(), 2u);
    EXPECT_FLOAT_EQ(r[1].front().x, r[1].back().x);
    EXPECT_FLOAT_EQ(r[1].front().y, r[1].back().y);
    EXPECT_NEAR(r[1].front().x, 98.5f, 1e-4f);
    // Devices that draw widths themselves never get outlines.
    ops.clear();
    p.line_width = -3;
    plot_move(100, 100);
    plot_draw(200, 100);
    EXPECT_EQ(runs().size(), 1u);
}

TEST_F(Pipeline, FilledRectangleIsAZigZagWithoutAFillingDevice) {
    device_fill_rect(10, 10, 20, 13, 3);
    // A move, the first line, then a step and a line per 1.4 units.
    ASSERT_EQ(ops.size(), 6u);
    EXPECT_EQ(ops[0].op, kOpMove);
    EXPECT_FLOAT_EQ(ops[1].x, 20.0f);
    EXPECT_FLOAT_EQ(ops[3].x, 10.0f);
    EXPECT_NEAR(ops[5].y, 12.8f, 1e-4f);
    EXPECT_EQ(state().colour.current, 3);
    // Clamped to the region; nothing when empty.
    ops.clear();
    set_region(0, 0, 15, 15);
    device_fill_rect(20, 20, 30, 30, 3);
    EXPECT_TRUE(ops.empty());
}

TEST(Naming, VersionedCandidates) {
    EXPECT_EQ(versioned_candidate("korval.ps", 1), "korval_1.ps");
    EXPECT_EQ(versioned_candidate("korval.ps", 10), "korva_10.ps");
    EXPECT_EQ(versioned_candidate("korval.ps", 1000), "kor_1000.ps");
    EXPECT_EQ(versioned_candidate("c:\\plots\\a.b\\x", 2), "c:\\plots\\a.b\\x_2");
    EXPECT_EQ(versioned_candidate("/tmp/a.b/plot.eps", 3), "/tmp/a.b/plot_3.eps");
    EXPECT_EQ(versioned_candidate("name   ", 1), "name_1");
    EXPECT_EQ(versioned_candidate("a.tar.gz", 1), "a.tar_1.gz");
}

TEST(Records, WordsNeverSplitAndNumbersIgnoreTheLocale) {
    Sink sink;
    sink.open_memory();
    RecordWriter rec(sink);
    for (int i = 0; i < 30; ++i) rec.word(12345);
    rec.words("  a   b ");
    rec.flush();
    sink.flush();
    std::string out(sink.data().begin(), sink.data().end());
    // 13 words of 6 characters fill 78 of 80; the 14th starts a new record.
    std::string line;
    for (int i = 0; i < 13; ++i) line += "12345 ";
    EXPECT_EQ(out.substr(0, 79), line + "\n");
    EXPECT_NE(out.find("a b \n"), std::string::npos);
    char buf[64];
    buf[format_fixed_w(buf, 1.0004756, 10, 6)] = '\0';
    EXPECT_STREQ(buf, "  1.000476");
    buf[format_fixed(buf, -0.5, 2)] = '\0';
    EXPECT_STREQ(buf, "-0.50");
}

}  // namespace
}  // namespace korval
