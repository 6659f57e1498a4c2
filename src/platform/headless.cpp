// The platform layer: what works without a window system, and the
// dispatch to the window-system backend when one is built and reachable.
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <map>
#include <set>

#include "platform/backend.hpp"

extern char** environ;

namespace korval::platform {

namespace {

std::deque<Event> g_events;
bool g_offscreen = false;
int g_offscreen_next = 0;
std::set<int> g_offscreen_open;
std::map<int, unsigned long> g_offscreen_xid;  // attached in-memory windows

// True when the window system backend can be used.
bool backend() {
#ifdef KORVAL_HAVE_GTK
    if (g_offscreen) return false;
    const char* d = std::getenv("DISPLAY");
    const char* w = std::getenv("WAYLAND_DISPLAY");
    if (!((d && *d) || (w && *w))) return false;
    return gtk::start();
#else
    return false;
#endif
}

}  // namespace

void queue_event(const Event& e) { g_events.push_back(e); }
bool event_pending() { return !g_events.empty(); }

void use_offscreen_windows(bool on) {
    g_offscreen = on;
    g_events.clear();
    g_offscreen_open.clear();
    g_offscreen_xid.clear();
}
bool offscreen_windows() { return g_offscreen; }

bool display_available() { return g_offscreen || backend(); }

void message_box(const char* title, const char* text) {
#ifdef KORVAL_HAVE_GTK
    if (backend()) {
        gtk::message_box(title ? title : "", text ? text : "");
        return;
    }
#endif
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n%s\n", title ? title : "", text ? text : "");
    std::fflush(stderr);
}

int question_box(const char* title, const char* text, bool default_yes) {
#ifdef KORVAL_HAVE_GTK
    if (backend()) return gtk::question_box(title ? title : "", text ? text : "", default_yes);
#endif
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n%s\n", title ? title : "", text ? text : "");
    std::fflush(stderr);
    return default_yes ? 1 : 0;
}

ScreenInfo screen_info() {
#ifdef KORVAL_HAVE_GTK
    if (backend()) return gtk::screen_info();
#endif
    return ScreenInfo{};
}

int window_open(int x, int y, int w, int h, const char* title, bool white) {
    if (g_offscreen) {
        g_offscreen_open.insert(g_offscreen_next);
        return g_offscreen_next++;
    }
#ifdef KORVAL_HAVE_GTK
    if (backend()) return gtk::window_open(x, y, w, h, title ? title : "", white);
#endif
    (void)x, (void)y, (void)w, (void)h, (void)title, (void)white;
    return -1;
}

void window_title(int handle, const char* title) {
#ifdef KORVAL_HAVE_GTK
    if (backend()) gtk::window_title(handle, title ? title : "");
#endif
    (void)handle, (void)title;
}

void window_show(int handle, const std::uint8_t* rgb, int stride, int w, int h) {
#ifdef KORVAL_HAVE_GTK
    if (backend()) gtk::window_show(handle, rgb, stride, w, h);
#endif
    (void)handle, (void)rgb, (void)stride, (void)w, (void)h;
}

void window_close(int handle) {
    if (g_offscreen) {
        g_offscreen_open.erase(handle);
        g_offscreen_xid.erase(handle);
        return;
    }
#ifdef KORVAL_HAVE_GTK
    if (backend()) gtk::window_close(handle);
#endif
    (void)handle;
}

bool window_open_now(int handle) {
    if (g_offscreen) return g_offscreen_open.count(handle) != 0;
#ifdef KORVAL_HAVE_GTK
    if (backend()) return gtk::window_open_now(handle);
#endif
    (void)handle;
    return false;
}

void window_closable(int handle, bool on) {
#ifdef KORVAL_HAVE_GTK
    if (backend()) gtk::window_closable(handle, on);
#endif
    (void)handle, (void)on;
}

void window_cursor(int handle, int shape) {
#ifdef KORVAL_HAVE_GTK
    if (backend()) gtk::window_cursor(handle, shape);
#endif
    (void)handle, (void)shape;
}

unsigned long window_xid(int handle) {
    if (g_offscreen) {
        auto it = g_offscreen_xid.find(handle);
        return it == g_offscreen_xid.end() ? 0 : it->second;
    }
#ifdef KORVAL_HAVE_GTK
    if (backend()) return gtk::window_xid(handle);
#endif
    (void)handle;
    return 0;
}

bool x11_windows() {
    if (g_offscreen) return true;
#ifdef KORVAL_HAVE_GTK
    if (backend()) return gtk::x11_windows();
#endif
    return false;
}

int window_attach(unsigned long xid, bool white, int& w, int& h) {
    w = h = 0;
    if (xid == 0) return -1;
    if (g_offscreen) {
        w = 320;
        h = 240;
        g_offscreen_open.insert(g_offscreen_next);
        g_offscreen_xid[g_offscreen_next] = xid;
        return g_offscreen_next++;
    }
#ifdef KORVAL_HAVE_GTK
    if (backend()) return gtk::window_attach(xid, white, w, h);
#endif
    (void)white;
    return -1;
}

bool wait_event(Event& e, int timeout_ms) {
#ifdef KORVAL_HAVE_GTK
    if (g_events.empty() && backend()) gtk::wait(timeout_ms);
#else
    (void)timeout_ms;
#endif
    if (g_events.empty()) return false;
    e = g_events.front();
    g_events.pop_front();
    return true;
}

void post_event(const Event& e) { queue_event(e); }

void dispatch_pending() {
#ifdef KORVAL_HAVE_GTK
    if (backend()) gtk::dispatch_pending();
#endif
}

static std::string trim(const std::string& s) {
    std::size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    std::size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

bool registry_read(const char* key, const char* name, std::string& value) {
    const char* path = std::getenv("KORVAL_REGISTRY");
    if (!path || !*path) path = "/etc/korval/registry";
    std::ifstream in(path);
    if (!in) return false;
    std::string line, section;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == '#' || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = trim(line.substr(1, line.size() - 2));
            continue;
        }
        std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (section == key && trim(line.substr(0, eq)) == name) {
            value = trim(line.substr(eq + 1));
            return true;
        }
    }
    return false;
}

int run_command(const std::string& command) {
    std::fflush(nullptr);
    pid_t pid;
    const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) < 0) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace korval::platform

namespace korval::platform {

bool start_command(const std::string& command) {
    std::fflush(nullptr);
    // The shell puts the command in the background and ends at once, so
    // no child is left to reap.
    std::string line = "(" + command + ") </dev/null &";
    pid_t pid;
    const char* argv[] = {"sh", "-c", line.c_str(), nullptr};
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0)
        return false;
    int status = 0;
    return waitpid(pid, &status, 0) >= 0 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace korval::platform
