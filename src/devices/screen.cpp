// The screen formats "XWIN", "XWI1".."XWI8", "XWND" and "CONS": up to eight
// windows, each showing a backing picture drawn by the raster code, the
// waits at newpag and korfin, and the cursor input.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"
#include "platform/platform.hpp"

namespace korval {

namespace {

using platform::Event;
using platform::EventType;

constexpr int kFull = 0, kNoer = 1, kNone = 2, kNoho = 3, kDela = 4;
constexpr int kPixmap = 3;  // x11mod "PIXM"

inline int rnd(float v) { return (int)(v + 0.5f); }

ScreenState& scr() { return state().screen; }

// Warning texts must outlive the call that prints them.
char g_text[96];
void warn_with(int n, const char* format, int value) {
    std::snprintf(g_text, sizeof g_text, format, value);
    set_warning_text(g_text);
    warn_routine(n);
}

void close_left_over() {
    for (int& h : scr().left_over) {
        if (h >= 0) platform::window_close(h);
        h = -1;
    }
}

std::string auto_title(int k, const char* tail) {
    char t[96];
    std::snprintf(t, sizeof t, tail ? "KORVAL %d / %s" : "KORVAL %d", k + 1, tail ? tail : "");
    return t;
}

class ScreenDevice : public Device {
public:
    unsigned capabilities() const override { return kCapFillRect; }

    void start() override {
        OutputState& o = state().out;
        ScreenState& s = scr();
        close_left_over();
        for (ScreenWindow& w : s.windows) w = ScreenWindow{};
        s.cursor_units = 0;
        s.main = o.format == 80 ? 0 : std::min(std::max(o.format - 72, 0), 7);
        s.current = s.main;
        shown_ = o.x11_mode != kPixmap;
        if (shown_ && !platform::display_available()) {
            // Nothing can be shown and nothing may wait: the plot runs
            // without drawing.
            set_warning_text("No display: the screen window cannot be opened");
            warn_routine(101);
            active_ = false;
            return;
        }
        active_ = true;
        if (!(shown_ && s.xid && attach_window(s.main))) open_window(s.main, o.format);
    }

    // The caller's window from setxid as window k: the picture takes its
    // size.  False (after a warning) when the id cannot be drawn into.
    bool attach_window(int k) {
        ScreenState& s = scr();
        OutputState& o = state().out;
        bool white = o.background == 2;
        int w = 0, h = 0;
        int handle = platform::window_attach(s.xid, white, w, h);
        if (handle < 0) {
            std::snprintf(g_text, sizeof g_text, "Window %lu cannot be drawn into", s.xid);
            set_warning_text(g_text);
            warn_routine(101);
            return false;
        }
        ScreenWindow& win = s.windows[k];
        if (!win.picture.create(w, h, 3, white ? 255 : 0)) {
            platform::window_close(handle);
            platform::message_box("korini", "Cannot create Bitmap");
            return false;
        }
        int nx = std::max(o.nxp, 1), ny = std::max(o.nyp, 1);
        win.w = w;
        win.h = h;
        win.factor = std::min((float)(w - 1) / (float)nx, (float)(h - 1) / (float)ny);
        win.state = 2;
        win.handle = handle;
        select(k);
        return true;
    }

    // True when the main window is the caller's: nothing of it can be
    // clicked for us, so no wait is made on it.
    bool main_is_callers() const { return scr().windows[scr().main].state == 2; }

    bool active() const { return active_; }

    // Algorithm of window placement and size, then the window itself.
    bool open_window(int k, int code) {
        OutputState& o = state().out;
        ScreenState& s = scr();
        ScreenWindow& win = s.windows[k];
        platform::ScreenInfo si = platform::screen_info();
        int nx = std::max(o.nxp, 1), ny = std::max(o.nyp, 1);
        int w, h;
        if (o.window_mode == 1 || o.window_mode == 2) {
            w = o.window_w;
            h = o.window_h;
        } else if (nx > ny) {
            w = code == 80 ? si.width - 2 * si.frame_w : si.width * 2 / 3;
            h = rnd((float)w * (float)ny / (float)nx);
        } else {
            h = code == 80 ? si.height - 2 * si.frame_h - si.caption + 1 : si.height * 2 / 3;
            w = rnd((float)h * (float)nx / (float)ny);
        }
        w = std::max(w, 2);
        h = std::max(h, 2);
        int x, y;
        if (o.window_mode == 1) {
            x = o.window_x;
            y = o.window_y;
        } else {
            int fw = si.frame_w, fh = si.frame_h, cap = si.caption;
            if (code == 72 || code == 73 || code == 80)
                x = si.width - fw - w;
            else if (code == 76)
                x = (si.width - w) / 2;
            else if (code == 74 || code == 75)
                x = fw;
            else
                x = fw + (code - 76) * si.width / 16;
            if (code == 72 || code == 75 || code == 80)
                y = si.height - h - fh;
            else if (code == 76)
                y = (si.height - h) / 2 + cap / 2;
            else if (code == 73 || code == 74)
                y = fh - 1 + cap;
            else
                y = (code - 76) * si.height / 16 + fh - 1 + cap;
            x = std::max(x, fw);
            y = std::max(y, fh - 1 + cap);
        }
        bool white = o.background == 2;
        if (!win.picture.create(w, h, 3, white ? 255 : 0)) {
            platform::message_box("korini", "Cannot create Bitmap");
            return false;
        }
        win.x = x;
        win.y = y;
        win.w = w;
        win.h = h;
        // The device factor of the client area.
        win.factor = std::min((float)(w - 1) / (float)nx, (float)(h - 1) / (float)ny);
        win.state = 1;
        win.handle = -1;
        if (shown_) win.handle = platform::window_open(x, y, w, h, auto_title(k, "Working").c_str(), white);
        int prev = s.current;
        if (prev != k && s.windows[prev].state && !s.windows[prev].user_title)
            set_title(prev, auto_title(prev, nullptr));
        s.current = k;
        select(k);
        return true;
    }

    void close_window(int k) {
        ScreenWindow& win = scr().windows[k];
        if (win.handle >= 0) platform::window_close(win.handle);
        win = ScreenWindow{};
    }

    void close_all() {
        for (int k = 0; k < 8; ++k)
            if (scr().windows[k].state) close_window(k);
    }

    // Makes window k current: its picture and device factor.
    void select(int k) {
        ScreenState& s = scr();
        s.current = k;
        ScreenWindow& win = s.windows[k];
        f_ = win.factor;
        OutputState& o = state().out;
        o.device_factor = f_;
        o.fit_factor = f_;
        o.image_w = win.w;
        o.image_h = win.h;
        pic_ = &win.picture;
        colour(state().colour.current);
    }

    void set_title(int k, const std::string& t) {
        ScreenWindow& win = scr().windows[k];
        if (win.handle >= 0 && win.state == 1) platform::window_title(win.handle, t.c_str());
    }

    // The title of the current state unless the script chose one.
    void auto_title_of(int k, const char* tail) {
        if (!scr().windows[k].user_title) set_title(k, auto_title(k, tail));
    }

    void show(int k) {
        ScreenWindow& win = scr().windows[k];
        if (win.handle >= 0)
            platform::window_show(win.handle, win.picture.data(), win.picture.stride(), win.w, win.h);
    }

    void show_all() {
        for (int k = 0; k < 8; ++k)
            if (scr().windows[k].state) show(k);
    }

    int handle(int k) const { return scr().windows[k].handle; }

    void line(float x, float y, int op) override {
        if (!pic_) return;
        int X = rnd(x * f_), Y = rnd(y * f_);
        if (op == kOpDraw) pic_->line(px_, py_, X, Y, value_);
        px_ = X;
        py_ = Y;
    }

    void fill_rect(int x1, int y1, int x2, int y2, int colour) override {
        if (!pic_) return;
        int X1 = rnd((float)x1 * f_), Y1 = rnd((float)y1 * f_);
        int X2 = rnd((float)x2 * f_), Y2 = rnd((float)y2 * f_);
        pic_->fill_rect(std::min(X1, X2), std::min(Y1, Y2), std::max(X1, X2), std::max(Y1, Y2),
                        state().colour.table[colour & 0xff] & 0xffffff);
    }

    void colour(int index) override { value_ = state().colour.table[((index % 256) + 256) % 256] & 0xffffff; }
    void colour_table() override { colour(state().colour.current); }

    void clip_rect(int x1, int y1, int x2, int y2) override {
        if (pic_)
            pic_->set_clip(rnd((float)x1 * f_), rnd((float)y1 * f_), rnd((float)x2 * f_),
                           rnd((float)y2 * f_));
    }

    void sync() override {
        if (!active_) return;
        platform::dispatch_pending();
        show(scr().current);
    }

    void erase() override {
        if (!pic_) return;
        bool white = state().out.background == 2;
        pic_->clear(white ? 0xffffff : state().colour.table[0] & 0xffffff);
        show(scr().current);
    }

    void new_page() override {
        if (!active_) return;
        int mode = state().out.wait_mode;
        if ((mode == kFull || mode == kNoer || mode == kDela) && !main_is_callers()) {
            ScreenState& s = scr();
            set_title(s.main, auto_title(s.main, "Click MB2 for next page ..."));
            show_all();
            wait_for_user();
            if (s.windows[s.main].user_title)
                set_title(s.main, s.windows[s.main].title);
            else
                set_title(s.main, auto_title(s.main, nullptr));
        }
        erase();
    }

    int finish() override {
        if (!active_) return 0;
        ScreenState& s = scr();
        OutputState& o = state().out;
        show_all();
        select(s.main);
        int mode = o.wait_mode;
        int key = s.wait_key;
        if (!s.windows[s.main].user_title) {
            const char* tail = nullptr;
            char buf[64];
            if (mode == kDela) {
                std::snprintf(buf, sizeof buf, "Delay time %d seconds", s.delay);
                tail = buf;
            } else if (!(mode == kNone && key == 0)) {
                static const char* const by_key[] = {"Click MB2 to continue ...",
                                                     "Click MB2 or RETURN to continue ...",
                                                     "Click MB2 or ESC to continue ..."};
                tail = by_key[key >= 0 && key <= 2 ? key : 0];
            }
            set_title(s.main, auto_title(s.main, tail));
        }
        if (!shown_ || mode == kNoho) {
            close_all();
        } else if (mode == kNone || mode == kNoer || main_is_callers()) {
            if (mode == kNoer && !main_is_callers()) wait_for_user();
            // The windows stay on the screen until the next plot or the end
            // of the program.
            int n = 0;
            for (ScreenWindow& w : s.windows)
                if (w.state && w.handle >= 0) s.left_over[n++] = w.handle;
            for (ScreenWindow& w : s.windows) w = ScreenWindow{};
        } else if (mode == kDela) {
            wait_seconds(s.delay);
            close_all();
        } else {
            wait_for_user();
            close_all();
        }
        pic_ = nullptr;
        return 0;
    }

    // Runs the event loop until the right button is released or the wait
    // key pressed on the main window, or the main window is closed.
    // Another window closed by the user goes alone.
    void wait_for_user() {
        ScreenState& s = scr();
        Event e;
        while (platform::wait_event(e, -1)) {
            int k = window_of(e.window);
            if (k < 0) continue;
            if (e.type == EventType::Close) {
                if (k == s.main) return;
                close_window(k);
                if (s.current == k) select(s.main);
                continue;
            }
            if (k != s.main) continue;
            if (e.type == EventType::ButtonUp && e.button == 3) return;
            if (e.type == EventType::Key && s.wait_key != 0 && e.key == s.wait_key) return;
        }
    }

    void wait_seconds(int seconds) {
        auto end = std::chrono::steady_clock::now() + std::chrono::seconds(std::max(seconds, 0));
        Event e;
        for (;;) {
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now())
                    .count();
            if (left <= 0) return;
            if (platform::wait_event(e, (int)left)) {
                if (e.type == EventType::Close && window_of(e.window) == scr().main) return;
            } else if (!platform::offscreen_windows() && !any_shown()) {
                return;
            } else if (platform::offscreen_windows()) {
                return;  // nothing to wait for in memory
            }
        }
    }

    bool any_shown() const {
        for (const ScreenWindow& w : scr().windows)
            if (w.state && w.handle >= 0 && platform::window_open_now(w.handle)) return true;
        return false;
    }

    int window_of(int handle) const {
        if (handle < 0) return -1;
        for (int k = 0; k < 8; ++k)
            if (scr().windows[k].state && scr().windows[k].handle == handle) return k;
        return -1;
    }

    // The cursor input: mode 1 point list, 2 movement path, 3 single point.
    void cursor(int mode, int* ix, int* iy, int nmax, int& n, int& overflow) {
        ScreenState& s = scr();
        int k = s.current;
        int h = handle(k);
        n = 0;
        overflow = 0;
        plot_flush();
        sync();
        if (h < 0 || s.windows[k].state == 2) return;  // no input from the caller's window
        bool grey = k != s.main;
        if (grey) platform::window_closable(h, false);
        platform::window_cursor(h, 1);
        auto append = [&](int x, int y) {
            if (n >= nmax) {
                overflow = 1;
                return;
            }
            ix[n] = x;
            iy[n] = y;
            ++n;
        };
        Event e;
        bool done = false;
        while (!done && platform::wait_event(e, -1)) {
            if (e.window != h) continue;
            switch (e.type) {
                case EventType::Motion:
                    if (mode == 2) append(e.x, e.y);
                    break;
                case EventType::ButtonDown:
                    if (e.button != 1) break;
                    if (mode == 1) append(e.x, e.y);
                    if (mode == 2) {
                        n = 0;
                        append(e.x, e.y);
                    }
                    if (mode == 3) {
                        ix[0] = e.x;
                        iy[0] = e.y;
                        n = 1;
                        done = true;
                    }
                    break;
                case EventType::ButtonUp:
                    if (e.button == 1 && mode == 2) done = true;
                    if (e.button == 3 && mode == 1) done = true;
                    break;
                case EventType::Close:
                    done = true;  // nothing more can come from it
                    break;
                default:
                    break;
            }
        }
        platform::window_cursor(h, 0);
        if (grey) platform::window_closable(h, true);
        if (s.cursor_units == 0) {
            for (int i = 0; i < n; ++i) {
                ix[i] = (int)((float)ix[i] / f_ + 0.5f);
                iy[i] = (int)((float)iy[i] / f_ + 0.5f);
            }
        }
    }

private:
    bool active_ = false;
    bool shown_ = true;
    Picture* pic_ = nullptr;
    float f_ = 1.0f;
    int px_ = 0, py_ = 0;
    std::uint32_t value_ = 0;
};

std::unique_ptr<Device> make_screen() { return std::make_unique<ScreenDevice>(); }
const DeviceRegistration reg_screen(72, 100, make_screen);

// The screen device of the plot, or nullptr after warning 56 (not a
// screen format).
ScreenDevice* screen_or_warn() {
    if (!device_is_screen()) {
        warn_routine_text(56, state().out.keyword.c_str());
        return nullptr;
    }
    auto* d = dynamic_cast<ScreenDevice*>(current_device());
    return d && d->active() ? d : nullptr;
}

bool bad_id(int id) {
    if (id >= 1 && id <= 8) return false;
    warn_routine_value(2, id);
    return true;
}

void cursor_routine(const char* name, int mode, int* ix, int* iy, int nmax, int& n, int& iret) {
    n = 0;
    iret = 0;
    if (enter_routine(name)) return;
    if (state().out.format > 100) {
        set_warning_text("Bad output device");
        warn_routine(101);
        return;
    }
    auto* d = dynamic_cast<ScreenDevice*>(current_device());
    if (!d || !d->active()) return;
    d->cursor(mode, ix, iy, std::max(nmax, 0), n, iret);
}

}  // namespace

void opnwin(int id) {
    if (enter_routine("opnwin")) return;
    ScreenDevice* d = screen_or_warn();
    if (!d || bad_id(id)) return;
    ScreenState& s = scr();
    if (s.windows[id - 1].state) {
        warn_with(101, "Window %d is already open", id);
        return;
    }
    plot_flush();
    d->show(s.current);
    d->open_window(id - 1, 71 + id);
}

void clswin(int id) {
    if (enter_routine("clswin")) return;
    ScreenDevice* d = screen_or_warn();
    if (!d || bad_id(id)) return;
    ScreenState& s = scr();
    if (id - 1 == s.main) {
        warn_with(102, "The Main Window %d cannot be closed", id);
        return;
    }
    if (!s.windows[id - 1].state) {
        warn_with(103, "Window %d is not open", id);
        return;
    }
    plot_flush();
    d->close_window(id - 1);
    d->select(s.main);
}

void selwin(int id) {
    if (enter_routine("selwin")) return;
    ScreenDevice* d = screen_or_warn();
    if (!d || bad_id(id)) return;
    ScreenState& s = scr();
    if (!s.windows[id - 1].state) {
        warn_with(103, "Window %d is not open", id);
        return;
    }
    plot_flush();
    d->show(s.current);
    d->select(id - 1);
}

int winid() { return scr().current + 1; }

void wintit(const char* s) {
    if (enter_routine("wintit")) return;
    ScreenDevice* d = screen_or_warn();
    if (!d) return;
    ScreenWindow& w = scr().windows[scr().current];
    w.title = s ? s : "";
    w.user_title = true;
    d->set_title(scr().current, w.title);
}

void winmod(const char* s) {
    check_level(0, 3, "winmod");
    int i = match_keyword("FULL+NOER+NONE+NOHO+DELA", 5, s);
    if (i) state().out.wait_mode = i - 1;
}

void winkey(const char* s) {
    check_level(0, 3, "winkey");
    int i = match_keyword("NONE+RETU+ESCA", 3, s);
    if (i) scr().wait_key = i - 1;
}

void winopt(int n, const char* s) {
    check_level(0, 3, "winopt");
    if (match_keyword("DELA", 1, s) == 1) scr().delay = n;
}

void sendmb() {
    check_level(0, 3, "sendmb");
    auto* d = dynamic_cast<ScreenDevice*>(current_device());
    if (!d || !d->active()) return;
    int h = d->handle(scr().current);
    if (h < 0) return;
    Event e;
    e.type = EventType::ButtonUp;
    e.window = h;
    e.button = 3;
    platform::post_event(e);
}

void csrpt1(int& ix, int& iy) {
    int x[1] = {0}, y[1] = {0};
    int n = 0, iret = 0;
    cursor_routine("csrpt1", 3, x, y, 1, n, iret);
    ix = x[0];
    iy = y[0];
}

void csrpts(int* ix, int* iy, int nmax, int& n, int& iret) {
    cursor_routine("csrpts", 1, ix, iy, nmax, n, iret);
}

void csrmov(int* ix, int* iy, int nmax, int& n, int& iret) {
    cursor_routine("csrmov", 2, ix, iy, nmax, n, iret);
}

void csruni(const char* s) {
    check_level(0, 3, "csruni");
    int i = match_keyword("PLOT+PIXE", 2, s);
    if (i) scr().cursor_units = i - 1;
}

void setxid(int id, const char* s) {
    if (check_level(0, 0, "setxid")) return;
    int k = match_keyword("WIND+WIDG+NONE", 3, s);
    if (!k) return;
    ScreenState& sc = scr();
    if (k == 3 || id == 0) {
        sc.xid = 0;
        return;
    }
    if (id < 0) {
        warn_routine_value(2, id);
        return;
    }
    if (!platform::display_available()) {
        set_warning_text("No display: window ids cannot be used");
        warn_routine(101);
        return;
    }
    if (!platform::x11_windows()) {
        set_warning_text("No X11 window ids on this display");
        warn_routine(101);
        return;
    }
    sc.xid = (unsigned long)(unsigned)id;
    state().out.x11_mode = 0;
}

int getxid(const char* s) {
    check_level(0, 3, "getxid");
    int k = match_keyword("WIND+PIXM", 2, s);
    if (k != 1 || state().run.level == 0 || !device_is_screen()) return 0;
    auto* d = dynamic_cast<ScreenDevice*>(current_device());
    if (!d || !d->active()) return 0;
    const ScreenWindow& w = scr().windows[scr().current];
    if (!w.state || w.handle < 0) return 0;
    return (int)platform::window_xid(w.handle);
}

void getscr(int& nw, int& nh) {
    platform::ScreenInfo si = platform::screen_info();
    nw = si.width;
    nh = si.height;
}

}  // namespace korval
