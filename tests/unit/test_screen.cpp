// The screen windows with in-memory windows: the window table, the waits
// and the cursor input, driven by queued events.
#include <gtest/gtest.h>

#include <string>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "korval/korval.hpp"
#include "platform/platform.hpp"

using namespace korval;
using platform::Event;
using platform::EventType;

namespace {

class Screen : public ::testing::Test {
protected:
    void SetUp() override {
        platform::use_offscreen_windows(true);
        winmod("FULL");
        winkey("NONE");
        metafl("XWI1");
        winsiz(601, 401);
        korini();
        errmod("PROT", "OFF");
        errmod("WARN", "ON");
    }
    void TearDown() override {
        if (getlev() > 0) korfin();
        state().out.window_mode = 0;
        platform::use_offscreen_windows(false);
    }
    static void post(EventType t, int button, int x, int y) {
        Event e;
        e.type = t;
        e.window = state().screen.windows[winid() - 1].handle;
        e.button = button;
        e.x = x;
        e.y = y;
        platform::post_event(e);
    }
    long warnings() const { return state().run.warning_count; }
};

TEST_F(Screen, WindowTableAndItsWarnings) {
    EXPECT_EQ(winid(), 1);
    ASSERT_EQ(state().screen.windows[0].state, 1);
    // The device factor of the client area: min(600 / 2969, 400 / 2099).
    EXPECT_NEAR(state().out.device_factor, 400.0f / 2099.0f, 1e-6);
    opnwin(2);
    EXPECT_EQ(winid(), 2);
    long w = warnings();
    opnwin(2);  // already open
    EXPECT_EQ(warnings(), w + 1);
    clswin(1);  // the main window
    EXPECT_EQ(warnings(), w + 2);
    EXPECT_EQ(state().screen.windows[0].state, 1);
    selwin(3);  // not open
    EXPECT_EQ(warnings(), w + 3);
    opnwin(9);  // no such window
    EXPECT_EQ(warnings(), w + 4);
    selwin(1);
    EXPECT_EQ(winid(), 1);
    clswin(2);
    EXPECT_EQ(state().screen.windows[1].state, 0);
    EXPECT_EQ(winid(), 1);
}

TEST_F(Screen, DrawingGoesIntoTheCurrentWindowsPicture) {
    color("RED");
    float f = state().out.device_factor;
    int y1 = (int)(1000 * f + 0.5f), y2 = (int)(500 * f + 0.5f);
    line(0, 1000, 2969, 1000);
    sendbf();
    const Picture& p = state().screen.windows[0].picture;
    EXPECT_EQ(p.width(), 601);
    EXPECT_EQ(p.get(100, y1), 0xff0000u);
    opnwin(2);
    line(0, 500, 2969, 500);
    sendbf();
    const Picture& q = state().screen.windows[1].picture;
    EXPECT_EQ(q.get(100, y2), 0xff0000u);
    EXPECT_EQ(q.get(100, y1), 0u);
    EXPECT_EQ(p.get(100, y2), 0u);  // the first window kept its own picture
    erase();
    EXPECT_EQ(q.get(100, y2), 0u);
    EXPECT_EQ(p.get(100, y1), 0xff0000u);
}

TEST_F(Screen, PointListStopsAtNmaxAndSetsTheOverflowFlag) {
    for (int i = 0; i < 5; ++i) post(EventType::ButtonDown, 1, 10 * i, 20 * i);
    post(EventType::ButtonDown, 3, 1, 1);  // other buttons add nothing
    post(EventType::ButtonUp, 3, 1, 1);
    csruni("PIXE");
    int ix[3] = {-1, -1, -1}, iy[3] = {-1, -1, -1}, n = -1, iret = -1;
    csrpts(ix, iy, 3, n, iret);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(iret, 1);
    EXPECT_EQ(ix[2], 20);
    EXPECT_EQ(iy[2], 40);
}

TEST_F(Screen, MovementPathStartsAtThePressAndEndsAtTheRelease) {
    post(EventType::Motion, 0, 1, 1);    // before the press: discarded
    post(EventType::ButtonUp, 3, 1, 1);  // does not end csrmov
    post(EventType::ButtonDown, 1, 5, 6);
    post(EventType::Motion, 0, 7, 8);
    post(EventType::Motion, 0, 9, 10);
    post(EventType::ButtonUp, 1, 9, 10);
    post(EventType::Motion, 0, 99, 99);  // after the release: left in the queue
    csruni("PIXE");
    int ix[10], iy[10], n = 0, iret = 0;
    csrmov(ix, iy, 10, n, iret);
    ASSERT_EQ(n, 3);
    EXPECT_EQ(iret, 0);
    EXPECT_EQ(ix[0], 5);
    EXPECT_EQ(iy[2], 10);
    // csrpt1 ignores moves and the right button; in PLOT units the pixel
    // is divided by the device factor.
    post(EventType::ButtonUp, 3, 1, 1);
    post(EventType::ButtonDown, 1, 300, 200);
    csruni("PLOT");
    int x = 0, y = 0;
    csrpt1(x, y);
    float f = state().out.device_factor;
    EXPECT_EQ(x, (int)(300.0f / f + 0.5f));
    EXPECT_EQ(y, (int)(200.0f / f + 0.5f));
}

TEST_F(Screen, CursorRoutinesNeverBlockWithoutEvents) {
    int ix[2], iy[2], n = 7, iret = 7;
    csrpts(ix, iy, 2, n, iret);
    EXPECT_EQ(n, 0);
    EXPECT_EQ(iret, 0);
    newpag();  // the page wait ends when nothing can come
    EXPECT_EQ(getlev(), 1);
}

TEST_F(Screen, SendmbEndsTheFinalWaitAndTitlesFollowTheWaitKey) {
    winkey("RETU");
    sendmb();
    korfin();
    EXPECT_EQ(getlev(), 0);
    EXPECT_EQ(state().screen.windows[0].state, 0);  // FULL closes the windows
}

}  // namespace

TEST(ScreenFormats, OtherFormatsWarnAndCursorRoutinesReturnNothing) {
    metafl("SVG ");
    setfil("/dev/null");
    filmod("DELE");
    korini();
    errmod("PROT", "OFF");
    long w = state().run.warning_count;
    opnwin(2);
    wintit("x");
    int x = 5, y = 5;
    csrpt1(x, y);
    EXPECT_EQ(state().run.warning_count, w + 3);
    EXPECT_EQ(x, 0);
    korfin();
}

TEST(ScreenFormats, WithoutADisplayNothingIsDrawnOrAwaited) {
    platform::use_offscreen_windows(false);
    if (platform::display_available()) GTEST_SKIP() << "a display is reachable";
    metafl("XWIN");
    korini();
    errmod("PROT", "OFF");
    EXPECT_GE(state().run.warning_count, 1);
    line(0, 0, 100, 100);
    newpag();
    int ix[1], iy[1], n = 1, iret = 1;
    csrpts(ix, iy, 1, n, iret);
    EXPECT_EQ(n, 0);
    korfin();
    EXPECT_EQ(getlev(), 0);
}

// Windows handed over by id: the level rule, the keys, and a plot drawn
// into the handed-over window (in memory: 320 x 240).
TEST(ScreenXid, LevelAndKeys) {
    platform::use_offscreen_windows(true);
    long w = state().run.warning_count;
    setxid(0, "NONE");
    EXPECT_EQ(state().run.warning_count, w);
    setxid(4711, "WIDGET");
    EXPECT_EQ(state().screen.xid, 4711u);
    EXPECT_EQ(state().out.x11_mode, 0);  // backing store
    setxid(4712, "ABCD");                // not a key: nothing changes
    EXPECT_EQ(state().run.warning_count, w + 1);
    EXPECT_EQ(state().screen.xid, 4711u);
    setxid(-5, "WINDOW");
    EXPECT_EQ(state().run.warning_count, w + 2);
    EXPECT_EQ(getxid("WINDOW"), 0);  // no plot
    setxid(0, "NONE");
    EXPECT_EQ(state().screen.xid, 0u);
    metafl("XWIN");
    korini();
    errmod("PROT", "OFF");
    w = state().run.warning_count;
    setxid(4711, "WINDOW");  // only before korini
    EXPECT_EQ(state().run.warning_count, w + 1);
    EXPECT_EQ(state().screen.xid, 0u);
    EXPECT_EQ(state().screen.windows[0].state, 1);
    korfin();
    x11mod("AUTO");
    platform::use_offscreen_windows(false);
}

TEST(ScreenXid, PlotIntoTheCallersWindow) {
    platform::use_offscreen_windows(true);
    winmod("FULL");
    setxid(0x2a00007, "WINDOW");
    metafl("XWIN");
    korini();
    errmod("PROT", "OFF");
    const ScreenWindow& win = state().screen.windows[0];
    ASSERT_EQ(win.state, 2);
    EXPECT_EQ(win.w, 320);
    EXPECT_EQ(win.h, 240);
    EXPECT_EQ(getxid("WIND"), 0x2a00007);
    EXPECT_EQ(getxid("PIXM"), 0);  // the picture lives in client memory
    color("RED");
    recfll(0, 0, 2969, 2099, getclr());
    const std::uint8_t* px = win.picture.row(120) + 3 * 160;
    EXPECT_EQ(px[0], 255);
    EXPECT_EQ(px[1], 0);
    EXPECT_EQ(px[2], 0);
    // The caller's window yields no input: the cursor returns at once.
    int ix[2], iy[2], n = 1, iret = 1;
    csrpts(ix, iy, 2, n, iret);
    EXPECT_EQ(n, 0);
    // Nothing is awaited on it; it stays attached until the next plot.
    int h = win.handle;
    korfin();
    EXPECT_EQ(getlev(), 0);
    EXPECT_TRUE(platform::window_open_now(h));
    setxid(0, "NONE");
    metafl("XWIN");
    korini();
    errmod("PROT", "OFF");
    EXPECT_FALSE(platform::window_open_now(h));  // let go by the next plot
    EXPECT_EQ(state().screen.windows[0].state, 1);
    korfin();
    x11mod("AUTO");
    platform::use_offscreen_windows(false);
}

TEST(ScreenXid, WithoutADisplayItWarns) {
    platform::use_offscreen_windows(false);
    if (platform::display_available()) GTEST_SKIP() << "a display is reachable";
    long w = state().run.warning_count;
    setxid(4711, "WINDOW");
    EXPECT_EQ(state().run.warning_count, w + 1);
    EXPECT_EQ(state().screen.xid, 0u);
}
