// Queries: each reads back what its setter stored, at the setter's levels.
#include <gtest/gtest.h>

#include <string>

#include "core/core.hpp"
#include "korval/korval.hpp"
#include "platform/platform.hpp"

using namespace korval;

namespace {

// A plot in memory ("VIRT"): nothing is written to files.
class QueryTest : public ::testing::Test {
protected:
    void SetUp() override {
        metafl("VIRT");
        korini();
        errmod("PROT", "OFF");
        unit(0);  // keep the expected warnings off the test output
    }
    void TearDown() override {
        if (getlev() > 0) korfin();
        imgfmt("IND");
    }
    long warnings() const { return state().run.warning_count; }
};

std::string shf(const char* language) { return getshf(language); }

}  // namespace

TEST_F(QueryTest, TextHeightAngleAndShiftCharacters) {
    height(50);
    angle(30);
    EXPECT_EQ(gethgt(), 50);
    EXPECT_EQ(getang(), 30);
    height(0);  // refused: the height stays
    EXPECT_EQ(gethgt(), 50);

    EXPECT_EQ(shf("GERM"), " ") << "no operator yet";
    eushft("GERM", "!");
    eushft("FREN", "#");
    EXPECT_EQ(shf("german"), "!");
    EXPECT_EQ(shf("FREN"), "#");
    EXPECT_EQ(shf("DANI"), " ");
    const long before = warnings();
    EXPECT_EQ(shf("XYZ"), " ");
    EXPECT_EQ(warnings(), before + 1) << "an unknown language warns 2";
}

TEST_F(QueryTest, LineTypeColourRangeAndPatterns) {
    EXPECT_EQ(gettyp(), 0);
    dash();
    EXPECT_EQ(gettyp(), 2);
    lintyp(7);
    EXPECT_EQ(gettyp(), 7);
    lintyp(9);  // refused
    EXPECT_EQ(gettyp(), 7);

    int lo = -1, hi = -1;
    getran(lo, hi);
    EXPECT_EQ(lo, 1);
    EXPECT_EQ(hi, 254);
    colran(10, 200);
    getran(lo, hi);
    EXPECT_EQ(lo, 10);
    EXPECT_EQ(hi, 200);

    EXPECT_EQ(getpat(), 0);
    shdpat(5);
    EXPECT_EQ(getpat(), 5);
    mypat(45, 1, 5, 0);
    EXPECT_EQ(getpat(), 45150) << "mypat: the pattern code";
    shdpat(-1);  // refused
    EXPECT_EQ(getpat(), 45150);
}

TEST_F(QueryTest, ClippingWindowRoundTrips) {
    auto clip = [] {
        int x = -1, y = -1, w = -1, h = -1;
        getclp(x, y, w, h);
        return std::to_string(x) + " " + std::to_string(y) + " " + std::to_string(w) + " " +
               std::to_string(h);
    };
    EXPECT_EQ(clip(), "0 0 2970 2100") << "the whole page by default";
    clpwin(100, 200, 500, 400);
    EXPECT_EQ(clip(), "100 200 500 400");

    // With y measured from the bottom the values still fit clpwin.
    pagorg("BOTT");
    clpwin(100, 1000, 500, 400);
    EXPECT_EQ(clip(), "100 1000 500 400");
    EXPECT_EQ(state().pipeline.clip_ymin, 2099 - 1000);
    pagorg("TOP");

    clpbor("PAGE");
    EXPECT_EQ(clip(), "0 0 2970 2100");
}

TEST_F(QueryTest, SymbolsAndColourBar) {
    int n = -1, hs = -1;
    marker(7);
    hsymbl(50);
    getsym(n, hs);
    EXPECT_EQ(n, 7);
    EXPECT_EQ(hs, 50);

    int w = -1, h = -1;
    setres(3, 4);
    getres(w, h);
    EXPECT_EQ(w, 3);
    EXPECT_EQ(h, 4);
    setres(0, 0);  // at least one plot unit
    getres(w, h);
    EXPECT_EQ(w, 1);
    EXPECT_EQ(h, 1);

    int kx = -1, ky = -1, kt = -1;
    getvk(kx, ky, kt);
    EXPECT_EQ(kx, 0);
    EXPECT_EQ(ky, 0);
    EXPECT_EQ(kt, 0);
    vkxbar(10);
    vkybar(-20);
    vkytit(30);
    getvk(kx, ky, kt);
    EXPECT_EQ(kx, 10);
    EXPECT_EQ(ky, -20);
    EXPECT_EQ(kt, 30);

    EXPECT_EQ(getwid(), 85);
    widbar(120);
    EXPECT_EQ(getwid(), 120);
}

TEST_F(QueryTest, AxisLabelTypesAndDistances) {
    char s1[5], s2[5], s3[5];
    auto labs = [&] {
        getlab(OutString<5>{s1}, OutString<5>{s2}, OutString<5>{s3});
        return std::string(s1) + "|" + s2 + "|" + s3;
    };
    EXPECT_EQ(labs(), "FLOA|FLOA|FLOA");
    labels("LOG", "Y");
    labels("none", "XZ");
    EXPECT_EQ(labs(), "NONE|LOG |NONE");
    labels("DATE", "X");
    labels("EXP", "BAR");  // bar labels are no axis label type
    EXPECT_EQ(labs(), "DATE|LOG |NONE");

    int a = -1, b = -1, c = -1;
    labdis(40, "XZ");
    getsp1(a, b, c);
    EXPECT_EQ(a, 40);
    EXPECT_EQ(c, 40);
    EXPECT_NE(b, 40);
    namdis(55, "Y");
    getsp2(a, b, c);
    EXPECT_EQ(b, 55);
    EXPECT_NE(a, 55);
    EXPECT_NE(c, 55);
}

TEST_F(QueryTest, MessageUnit) {
    EXPECT_EQ(getuni(), 0);
    unit(5);
    EXPECT_EQ(getuni(), 6) << "any other value: standard output";
    unit(0);
    EXPECT_EQ(getuni(), 0);
}

TEST_F(QueryTest, PictureDepth) {
    EXPECT_EQ(getbpp(), 8) << "colour indices";
    korfin();
    EXPECT_EQ(getbpp(), 8) << "the VIRT picture stays after korfin";
    imgfmt("RGB");
    metafl("VIRT");
    korini();
    errmod("PROT", "OFF");
    EXPECT_EQ(getbpp(), 24);
}

TEST(Queries, LevelsAndSettingsBeforeKorini) {
    ASSERT_EQ(getlev(), 0);
    long before = state().run.warning_count;
    // Settings of any level: no warning.
    window(10, 20, 300, 200);
    int x = -1, y = -1, w = -1, h = -1;
    getwin(x, y, w, h);
    EXPECT_EQ(x, 10);
    EXPECT_EQ(y, 20);
    EXPECT_EQ(w, 300);
    EXPECT_EQ(h, 200);
    winsiz(400, 300);
    getwin(x, y, w, h);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_EQ(w, 400);
    EXPECT_EQ(h, 300);
    state().out.window_mode = 0;  // back to the default geometry
    getwin(x, y, w, h);
    EXPECT_EQ(w, 853) << "the default size of a landscape page";
    EXPECT_EQ(h, 603);

    int n = 0, hs = 0;
    getsym(n, hs);
    getpat();
    getwid();
    getuni();
    getplv();
    std::string dsp = getdsp();
    const int saved_code = state().out.format;
    const std::string saved_keyword = state().out.keyword;
    metafl("POST");                   // no raster format ...
    state().raster.picture.release();  // ... and no picture left by a VIRT plot
    if (!platform::display_available()) {
        EXPECT_EQ(dsp, "NONE");
        EXPECT_EQ(getbpp(), 0);
    } else {
        EXPECT_TRUE(dsp == "X11 " || dsp == "WAYL") << dsp;
    }
    state().out.format = saved_code;
    state().out.keyword = saved_keyword;
    EXPECT_EQ(state().run.warning_count, before);

    // Plot parameters: warning 3 before korini, the stored value all the same.
    const int stored = state().text.height;
    EXPECT_EQ(gethgt(), stored);
    EXPECT_EQ(state().run.warning_count, before + 1);
    int a, b, c, d;
    getclp(a, b, c, d);
    EXPECT_EQ(state().run.warning_count, before + 2);
    EXPECT_EQ(getplv(), 0);
}
