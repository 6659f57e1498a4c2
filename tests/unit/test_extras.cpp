// The pen routines, the base transformation, the page fill and the smaller
// attribute routines, drawn into the in-memory picture of "VIRT".
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "axes/axes.hpp"
#include "core/core.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

class ExtrasTest : public ::testing::Test {
protected:
    void SetUp() override {
        OutputState& o = state().out;
        format_ = o.format, keyword_ = o.keyword;
        metafl("VIRT");
        korini();
        errmod("PROT", "OFF");
        errmod("WARN", "OFF");
    }
    void TearDown() override {
        if (state().run.level != 0) korfin();
        OutputState& o = state().out;
        o.format = format_, o.keyword = keyword_;
    }
    // The picture value at plot point (x, y).
    static unsigned at(float x, float y) {
        float f = state().out.device_factor;
        return state().raster.picture.get((int)(x * f + 0.5f), (int)(y * f + 0.5f));
    }
    static long warnings() { return state().run.warning_count; }

private:
    int format_ = 0;
    std::string keyword_;
};

// Applies the base transformation to a point as the pipeline does.
void apply_base(float& x, float& y) {
    const float* m = state().pipeline.base;
    float a = m[0] * x + m[1] * y + m[4];
    y = m[2] * x + m[3] * y + m[5];
    x = a;
}

}  // namespace

TEST_F(ExtrasTest, BaseTransformationComposesAndResets) {
    EXPECT_FALSE(state().pipeline.base_on);
    // 90 degrees counter-clockwise about (1000, 1000): right of the centre
    // goes up the page (y decreasing).
    trfrot(90.0f, 1000, 1000);
    ASSERT_TRUE(state().pipeline.base_on);
    float x = 1100, y = 1000;
    apply_base(x, y);
    EXPECT_NEAR(x, 1000, 1e-3);
    EXPECT_NEAR(y, 900, 1e-3);
    // A shift applies after the rotation, a scaling after that.
    trfshf(10, 20);
    trfscl(2.0f, 0.5f);
    x = 1100, y = 1000;
    apply_base(x, y);
    EXPECT_NEAR(x, 2020, 1e-2);
    EXPECT_NEAR(y, 460, 1e-2);
    // Bad factors and angles change nothing.
    long w = warnings();
    float before[6];
    for (int i = 0; i < 6; ++i) before[i] = state().pipeline.base[i];
    trfscl(0.0f, 1.0f);
    trfscl(NAN, 1.0f);
    trfrot(INFINITY, 0, 0);
    EXPECT_EQ(warnings(), w + 3);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(state().pipeline.base[i], before[i]);
    trfres();
    EXPECT_FALSE(state().pipeline.base_on);
    x = 1100, y = 1000;
    apply_base(x, y);
    EXPECT_EQ(x, 1100);
    EXPECT_EQ(y, 1000);
}

TEST_F(ExtrasTest, RotatedLineLandsInThePicture) {
    trfrot(90.0f, 1000, 1000);
    line(1000, 1000, 1400, 1000);  // drawn upwards from the centre
    trfres();
    korfin();
    EXPECT_NE(at(1000, 800), 0u);
    EXPECT_EQ(at(1200, 1000), 0u);
}

TEST_F(ExtrasTest, PenRoutinesInPlotCoordinates) {
    xmove(200, 300);
    xdraw(800, 300);
    xjdraw(800, 700, 2);
    xjdraw(100, 1500, 3);
    xjdraw(100, 1900, 2);
    long w = warnings();
    xjdraw(500, 500, 7);  // not a pen code
    EXPECT_EQ(warnings(), w + 1);
    strtpt(1500, 200);
    connpt(2500, 200);
    // Non-finite points draw nothing and do not hang.
    xdraw(NAN, 5);
    xmove(INFINITY, 1);
    korfin();
    EXPECT_NE(at(500, 300), 0u);
    EXPECT_NE(at(800, 500), 0u);
    EXPECT_NE(at(100, 1700), 0u);
    EXPECT_EQ(at(450, 1100), 0u);  // the move left no line
    EXPECT_NE(at(2000, 200), 0u);
}

TEST_F(ExtrasTest, UserCoordinateLinesNeedAnAxisSystem) {
    long w = warnings();
    rline(0, 0, 1, 1);
    rlstrt(0, 0);
    rlconn(1, 1);
    EXPECT_EQ(warnings(), w + 3);  // level 1: three level warnings
    graf(0, 10, 0, 5, 0, 10, 0, 5);
    noclip();
    rline(0, 5, 10, 5);
    rlstrt(5, 0);
    rlconn(5, 10);
    rlconn(NAN, 3);
    float x0, y0, x1, y1;
    user_to_plot(0, 5, x0, y0);
    user_to_plot(10, 5, x1, y1);
    float xm, ym;
    user_to_plot(5, 2.5f, xm, ym);
    endgrf();
    korfin();
    EXPECT_NE(at((x0 + x1) / 2 + 20, y0), 0u);
    EXPECT_NE(at(xm, ym), 0u);
}

TEST_F(ExtrasTest, PageFillAndColourTableReversal) {
    pagfll(30);
    EXPECT_EQ(at(5, 5), 30u);
    EXPECT_EQ(at(2900, 2000), 30u);
    long w = warnings();
    pagfll(300);
    EXPECT_EQ(warnings(), w + 1);
    ColourState& c = state().colour;
    std::uint32_t t0 = c.table[0], t255 = c.table[255];
    ASSERT_EQ(t0, 0x000000u);
    ASSERT_EQ(t255, 0xFFFFFFu);
    int current = c.current;
    revscr();
    EXPECT_EQ(c.table[0], 0xFFFFFFu);
    EXPECT_EQ(c.table[255], 0x000000u);
    EXPECT_EQ(c.current, current);
    revscr();
    EXPECT_EQ(c.table[0], t0);
}

TEST_F(ExtrasTest, AttributeCycleAdvancesAndRestores) {
    int colour = state().colour.current, type = state().style.line_type;
    chnatt();
    EXPECT_EQ(state().plots.cycle_index, 2);
    EXPECT_EQ(state().colour.current, state().colour.cycle[1]);
    for (int i = 0; i < 29; ++i) chnatt();
    EXPECT_EQ(state().plots.cycle_index, 1);  // 30 wraps to 1
    resatt();
    EXPECT_EQ(state().plots.cycle_index, 1);
    EXPECT_EQ(state().colour.current, colour);
    EXPECT_EQ(state().style.line_type, type);
}

TEST_F(ExtrasTest, ExponentSettingsAndZeroLabels) {
    long w = warnings();
    setbas(0.3f);
    setexp(0.5f);
    EXPECT_FLOAT_EQ(state().text.exp_shift, 0.3f);
    EXPECT_FLOAT_EQ(state().text.exp_height, 0.5f);
    setexp(0.0f);
    setbas(NAN);
    EXPECT_EQ(warnings(), w + 2);
    EXPECT_FLOAT_EQ(state().text.exp_height, 0.5f);

    AxisSettings& a = state().axes.axis[0];
    int type = a.label_type, digits = a.digits;
    a.label_type = 13, a.digits = 1;
    EXPECT_EQ(format_label(0.0, 0, 0, 0), "0.0E0");
    expzlb("OFF");
    EXPECT_EQ(format_label(0.0, 0, 0, 0), "0.0");
    EXPECT_EQ(format_label(200.0, 0, 0, 0), "2.0E2");
    reset("EXPZ");
    EXPECT_EQ(format_label(0.0, 0, 0, 0), "0.0E0");
    a.label_type = type, a.digits = digits;

    shdcha();
    EXPECT_EQ(state().text.outline_fill, 1);
    nofill();
    EXPECT_EQ(state().text.outline_fill, 2);
    reset("NOFI");
    EXPECT_EQ(state().text.outline_fill, 0);
}

TEST_F(ExtrasTest, TiffRoundTripWithOriginWindowAndBadFiles) {
    char tmpl[] = "/tmp/korval_tiffXXXXXX";
    ASSERT_NE(mkdtemp(tmpl), nullptr);
    std::string dir = tmpl;
    Picture& pic = state().raster.picture;
    ASSERT_FALSE(pic.empty());
    pic.fill_rect(10, 20, 29, 39, 200);
    pic.set(0, 0, 7);
    rtiff((dir + "/a.tif").c_str());
    pic.clear(0);
    wtiff((dir + "/a.tif").c_str());
    EXPECT_EQ(pic.get(15, 25), 200u);
    EXPECT_EQ(pic.get(0, 0), 7u);
    EXPECT_EQ(pic.get(35, 25), 0u);
    // A window of the file placed elsewhere.
    pic.clear(0);
    tiforg(100, 50);
    tifwin(10, 20, 5, 5);
    wtiff((dir + "/a.tif").c_str());
    EXPECT_EQ(pic.get(100, 50), 200u);
    EXPECT_EQ(pic.get(104, 54), 200u);
    EXPECT_EQ(pic.get(105, 50), 0u);
    EXPECT_EQ(pic.get(15, 25), 0u);
    // Cut off at the picture's edges without harm.
    tiforg(-15, -25);
    tifwin(0, 0, 0, 0);
    wtiff((dir + "/a.tif").c_str());
    EXPECT_EQ(pic.get(0, 0), 200u);
    tiforg(0, 0);
    // Missing, truncated and foreign files warn.
    long w = warnings();
    wtiff((dir + "/none.tif").c_str());
    std::FILE* f = std::fopen((dir + "/a.tif").c_str(), "r+b");
    ASSERT_NE(f, nullptr);
    std::fseek(f, 0, SEEK_END);
    long size = std::ftell(f);
    std::fclose(f);
    ASSERT_EQ(truncate((dir + "/a.tif").c_str(), size / 3), 0);
    wtiff((dir + "/a.tif").c_str());
    f = std::fopen((dir + "/b.tif").c_str(), "wb");
    std::fputs("II*\0garbage", f);
    std::fclose(f);
    wtiff((dir + "/b.tif").c_str());
    EXPECT_EQ(warnings(), w + 3);
    tifwin(-1, 0, 0, 0);
    EXPECT_EQ(warnings(), w + 4);
    std::system(("rm -rf " + dir).c_str());
}

TEST_F(ExtrasTest, ShadedBandLabelsAndPageHeader) {
    graf(0, 10, 0, 5, 0, 10, 0, 5);
    float xa[2] = {0, 10}, lo[2] = {2, 2}, hi[2] = {6, 6};
    shdpat(16);
    shdcrv(xa, lo, 2, xa, hi, 2);
    float xp, yp_in, yp_out;
    user_to_plot(5, 4, xp, yp_in);
    user_to_plot(5, 8, xp, yp_out);
    long w = warnings();
    shdcrv(xa, lo, 0, xa, hi, 2);
    addlab("A", 20, 0, "X");  // off the axis
    addlab("A", 5, 3, "X");   // bad tick code
    EXPECT_EQ(warnings(), w + 3);
    addlab("", 5, 2, "Y");  // a grid line at y = 5
    float gx, gy;
    user_to_plot(2, 5, gx, gy);
    endgrf();
    paghdr("head", "", 4, 30);
    w = warnings();
    paghdr("", "", 5, 0);
    EXPECT_EQ(warnings(), w + 1);
    korfin();
    EXPECT_NE(at(xp, yp_in), 0u);
    EXPECT_EQ(at(xp, yp_out), 0u);
    EXPECT_NE(at(gx, gy), 0u);
    // The header in the upper left corner, 5 mm from the edges.
    bool ink = false;
    for (float x = 50; x < 400 && !ink; x += 1)
        for (float y = 50; y < 80 && !ink; y += 1) ink = at(x, y) != 0;
    EXPECT_TRUE(ink);
}

TEST_F(ExtrasTest, QuickPlotsGoOnAtLevelOneAndEndTheRun) {
    // Negative bars: the y axis reaches below 0 so that they are seen.
    const float neg[3] = {-1, -2, -3};
    qplbar(neg, 3);
    EXPECT_EQ(state().run.level, 0);
    EXPECT_LE(state().axes.umin[1], -4.5 + 1e-3);
    EXPECT_GE(state().axes.umax[1], 0.0);
    // Positive bars: 0 up to 1.5 times the largest value.
    metafl("VIRT");
    korini();
    errmod("PROT", "OFF");
    const float pos[4] = {1, 4, NAN, 2};
    qplbar(pos, 4);
    EXPECT_GE(state().axes.umin[1], 0.0);
    EXPECT_GE(state().axes.umax[1], 6.0 - 1e-3);
    EXPECT_LE(state().axes.umin[0], 0.5);
    EXPECT_GE(state().axes.umax[0], 4.5);
    // A matrix with gaps and a single level.
    metafl("VIRT");
    const float z[6] = {0, 1, NAN, 3, INFINITY, 5};
    qplcon(z, 2, 3, 1);
    EXPECT_EQ(state().run.level, 0);
    qplsur(z, 2, 3);
    EXPECT_EQ(state().run.level, 0);
    // Bad sizes warn in the routines called and still end the run.
    qplclr(z, 0, 3);
    EXPECT_EQ(state().run.level, 0);
}

TEST_F(ExtrasTest, ColourModeIsALevelZeroSetting) {
    long w = warnings();
    clrmod("FULL");  // level 1: too late
    EXPECT_EQ(warnings(), w + 1);
    EXPECT_EQ(state().raster.image_format, 0);
    korfin();
    int keep = state().raster.image_format;
    clrmod("full");
    EXPECT_EQ(state().raster.image_format, 1);
    korini();
    errmod("PROT", "OFF");
    EXPECT_TRUE(state().raster.picture.rgb());
    // The pixels of a full-colour picture follow revscr.
    EXPECT_EQ(at(100, 100), 0u);
    revscr();
    EXPECT_EQ(at(100, 100), 0xffffffu);
    revscr();
    pagfll(255);
    EXPECT_EQ(at(100, 100), state().colour.table[255] & 0xffffffu);
    korfin();
    clrmod("NORMAL");
    EXPECT_EQ(state().raster.image_format, 0);
    clrmod("none");  // not a key: unchanged
    EXPECT_EQ(state().raster.image_format, 0);
    state().raster.image_format = keep;
}

}  // namespace korval
