// The widget toolkit without windows: scales, file masks, settings with
// their keyword checks, and the one-call dialogs' defaults.
#include <gtest/gtest.h>

#include <string>

#include "korval/korval.hpp"
#include "platform/platform.hpp"
#include "widgets/widgets.hpp"

using namespace korval;

namespace {

struct Widgets : ::testing::Test {
    void SetUp() override { platform::use_offscreen_windows(true); }
    void TearDown() override {
        while (widgets::toolkit().state == 1) wgfin();
        widgets::toolkit().set = widgets::Settings();
        platform::use_offscreen_windows(false);
    }
};

}  // namespace

TEST_F(Widgets, ScalePositions) {
    bool small = false;
    EXPECT_EQ(widgets::scale_positions(0, 1, 0.1f, &small), 10);
    EXPECT_FALSE(small);
    EXPECT_EQ(widgets::scale_positions(0, 1, 0, &small), 100);
    EXPECT_EQ(widgets::scale_positions(0, 1, -1, &small), 100);
    EXPECT_EQ(widgets::scale_positions(0, 100, 0.001f, &small), 100);
    EXPECT_TRUE(small);
    EXPECT_EQ(widgets::scale_positions(0, 0, 1, &small), 1);  // 0 positions count as 1
    EXPECT_EQ(widgets::scale_positions(0, 10000, 1, &small), 10000);
    EXPECT_FALSE(small);
}

TEST_F(Widgets, FileFilters) {
    auto f = widgets::file_filters("*.dat", false);
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].first, "Mask (*.dat)");
    EXPECT_EQ(f[0].second, "*.dat");
    EXPECT_EQ(f[1].first, "All Files (*.*)");
    EXPECT_EQ(f[1].second, "*");  // every file, not only names with a dot
    f = widgets::file_filters("Pictures+*.png;*.*+Data+*.dat", true);
    ASSERT_EQ(f.size(), 2u);
    EXPECT_EQ(f[0].second, "*.png;*");
    EXPECT_EQ(f[1].first, "Data");
    EXPECT_EQ(widgets::file_filters("", false).size(), 1u);
    EXPECT_TRUE(widgets::file_filters("odd+", true).empty());
}

TEST_F(Widgets, ScaleWidget) {
    int top = wgini("VERT");
    ::testing::internal::CaptureStderr();
    int s = wgscl(top, "Level", 0, 10, 20, 1);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("WGSCL\n>>>> Value is out of range!"), std::string::npos);
    EXPECT_EQ(s, 2);
    EXPECT_FLOAT_EQ(gwgscl(s), 0);
    swgscl(s, 7.5f);
    EXPECT_FLOAT_EQ(gwgscl(s), 7.5f);
    ::testing::internal::CaptureStderr();
    swgscl(s, 11);
    err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(">>>> Value is out of range!"), std::string::npos);
    EXPECT_FLOAT_EQ(gwgscl(s), 7.5f);
    swgstp(0.5f);
    int s2 = wgscl(top, "Step", 0, 10, 5, 1);
    EXPECT_FLOAT_EQ(widgets::toolkit().table[(std::size_t)s2 - 1].fstep, 0.5f);
    ::testing::internal::CaptureStderr();
    swgstp(0);
    err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("SWGSTP\n>>>> Non positive paramter!"), std::string::npos);
    wgfin();
    EXPECT_FLOAT_EQ(gwgscl(s), 7.5f);  // values stay readable
    ::testing::internal::CaptureStderr();
    swgscl(s, 1);
    err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(">>>> SWGSCL must be used between WGINI and WGFIN"), std::string::npos);
}

TEST_F(Widgets, FileCommandMenuDraw) {
    int top = wgini("VERT");
    std::string longname(300, 'x');
    int f = wgfil(top, "File", longname.c_str(), "*.dat");
    EXPECT_EQ(std::string(gwgfil(f)).size(), 131u);  // 132-byte buffer with its zero
    swgfil(f, "data.dat");
    EXPECT_STREQ(gwgfil(f), "data.dat");
    int c = wgcmd(top, "Run", "true");
    EXPECT_EQ(c, f + 1);
    int p = wgpop(top, "&Tools");
    EXPECT_GT(p, 0);
    EXPECT_GT(wgapp(p, "Entry"), 0);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(wgapp(top, "x"), -1);  // entries only in popups
    EXPECT_EQ(wgpop(c, "x"), -1);    // popups only in the main widget's menu bar
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("WGAPP\n>>>> Not allowed parent ID!"), std::string::npos);
    int d = wgdraw(top);
    EXPECT_GT(d, 0);
    EXPECT_EQ(gwgxid(d), 0);  // nothing shown
    wgfin();
}

TEST_F(Widgets, Attributes) {
    int top = wgini("VERT");
    int l = wglis(top, "a|b|c", 3);
    EXPECT_EQ(gwgatt(l, "STAT"), 0);
    swgatt(l, "INAC", "STAT");
    EXPECT_EQ(gwgatt(l, "STAT"), 1);
    swgatt(l, "INVI", "STAT");
    EXPECT_EQ(gwgatt(l, "STAT"), 2);
    swgatt(l, "x|y", "LIST");
    EXPECT_EQ(gwgatt(l, "LIST"), 2);
    EXPECT_EQ(gwglis(l), 1);  // the old selection 3 is gone
    ::testing::internal::CaptureStderr();
    swgatt(l, "GONE", "STAT");
    EXPECT_EQ(gwgatt(99, "STAT"), -1);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("SWGATT\n>>>> Not allowed parameter GONE"), std::string::npos);
    EXPECT_NE(err.find("GWGATT\n<<<< Not allowed ID"), std::string::npos);
    EXPECT_EQ(gwgatt(l, "STAT"), 2);
    wgfin();
}

TEST_F(Widgets, Settings) {
    widgets::Settings& set = widgets::toolkit().set;
    ::testing::internal::CaptureStderr();
    swgwth(-101);
    swgwth(0);
    swgspc(-101, 1);
    swgclr(1.1f, 0, 0, "BACK");
    swgclr(0, 0, 0, "PINK");
    swgtyp("DIAG", "BOX");
    swgtyp("AUTO", "TREE");
    swgjus("LEFT", "XYZ");
    swgdrw(-1);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("SWGWTH\n>>>> Bad value!"), std::string::npos);
    EXPECT_NE(err.find("SWGSPC\n>>>> Bad value!"), std::string::npos);
    EXPECT_NE(err.find("SWGCLR\n>>>> Not allowed parameter\n"), std::string::npos);
    EXPECT_NE(err.find("SWGCLR\n>>>> Not allowed parameter PINK"), std::string::npos);
    EXPECT_NE(err.find("SWGTYP\n>>>> Not allowed parameter DIAG"), std::string::npos);
    EXPECT_NE(err.find("SWGTYP\n>>>> Not allowed parameter TREE"), std::string::npos);
    EXPECT_NE(err.find("SWGDRW\n>>>> Non positive paramter!"), std::string::npos);
    EXPECT_EQ(set.width, 20);
    EXPECT_EQ(set.back, -1);
    swgwth(-50);
    EXPECT_EQ(set.width, -50);
    swgclr(1, 0.5f, 0, "back");
    EXPECT_EQ(set.back, 0x0080ff);    // red in the lowest byte
    swgclr(0, 0, 1.000001f, "FORE");  // within the tolerance
    EXPECT_EQ(set.fore, 0xff0000);
    swgclr(0, 0, 0, "RESE");
    EXPECT_EQ(set.back, -1);
    EXPECT_EQ(set.fore, -1);
    swgpop("NOOK");
    swgpop("NOHE");
    EXPECT_FALSE(set.menu_ok);
    EXPECT_FALSE(set.menu_help);
    EXPECT_TRUE(set.menu_quit);
    swgpop("OK");
    EXPECT_TRUE(set.menu_ok);
    swgtyp("HORI", "BOX");
    swgtyp("SCRO", "LIST");
    int top = wgini("FORM");
    swgwin(10, 20, 100, 30);
    swgoff(5, 6);
    int b = wgbox(top, "a|b", 1);
    int l = wglis(top, "a|b", 1);
    const widgets::Widget& wb = widgets::toolkit().table[(std::size_t)b - 1];
    EXPECT_EQ(wb.layout, 0);  // horizontal box
    EXPECT_TRUE(wb.placed);
    EXPECT_EQ(wb.fx, 15);
    EXPECT_EQ(wb.fy, 26);
    EXPECT_EQ(widgets::toolkit().table[(std::size_t)l - 1].layout, 1);  // SCRO
    wgfin();
}

TEST_F(Widgets, Dialogs) {
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(dwglis("Pick", "a|b|c", 4), 1);
    std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("DWGLIS\n>>>> Selected list element out of range"), std::string::npos);
    EXPECT_EQ(dwglis("Pick", "a|b|c", 2), 2);
    EXPECT_STREQ(dwgtxt("Name", "initial"), "initial");
    EXPECT_STREQ(dwgfil("Open", "start.dat", "*.dat"), "start.dat");
    wgini("VERT");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(dwglis("Pick", "a|b", 1), 0);
    EXPECT_STREQ(dwgtxt("Name", "initial"), "");
    EXPECT_STREQ(dwgfil("Open", "x", "*"), "");
    err = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find(">>>> DWGLIS cannot be used between WGINI and WGFIN"), std::string::npos);
    EXPECT_NE(err.find(">>>> DWGTXT cannot be used between WGINI and WGFIN"), std::string::npos);
    EXPECT_NE(err.find(">>>> DWGFIL cannot be used between WGINI and WGFIN"), std::string::npos);
    wgfin();
}
