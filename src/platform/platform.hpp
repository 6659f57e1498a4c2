// Linux stand-ins for the window system, the registry and command execution.
#pragma once

#include <cstdint>
#include <string>

namespace korval::platform {

// True when a window system can be reached (DISPLAY or WAYLAND_DISPLAY set
// and the toolkit opens it).  Without one, nothing may wait for a window.
bool display_available();

// A modal message box with an OK button.  Without a display the title and
// the text go to standard error and the call returns at once.
void message_box(const char* title, const char* text);
// A modal question with the buttons Yes and No; default_yes chooses the
// default button.  Returns 1 for Yes, 0 for No.  Without a display the
// question goes to standard error and the default answer is returned.
int question_box(const char* title, const char* text, bool default_yes);

// Reads a value of the registry stand-in: a text file of "[key]" sections
// and "name=value" lines, $KORVAL_REGISTRY or /etc/korval/registry.
bool registry_read(const char* key, const char* name, std::string& value);

// Runs a command through /bin/sh -c and waits; returns its exit status or
// -1 when it could not be started.
int run_command(const std::string& command);
// Starts a command through /bin/sh -c without waiting; false when it could
// not be started.
bool start_command(const std::string& command);

// ---- top-level windows for the screen output --------------------------------

enum class EventType { Nothing, ButtonDown, ButtonUp, Motion, Key, Close };
enum EventKey { kKeyOther = 0, kKeyReturn = 1, kKeyEscape = 2 };

// One input event of a window: buttons are numbered as in X (1 left,
// 2 middle, 3 right); positions are client-area pixels, y downwards.
struct Event {
    EventType type = EventType::Nothing;
    int window = -1;  // handle of the window it belongs to
    int button = 0;
    int x = 0, y = 0;
    int key = kKeyOther;
};

// The screen size and the frame and caption sizes of decorated windows
// (0 when the window manager does not report them).
struct ScreenInfo {
    int width = 1024, height = 768;
    int frame_w = 0, frame_h = 0, caption = 0;
};
ScreenInfo screen_info();

// Opens a top-level window whose client area is w x h pixels at (x, y),
// cleared white or black; returns a handle (>= 0) or -1.
int window_open(int x, int y, int w, int h, const char* title, bool white);
void window_title(int handle, const char* title);
// Shows a picture of 3 bytes per pixel (red, green, blue; rows stride bytes
// apart) in the window's client area.
void window_show(int handle, const std::uint8_t* rgb, int stride, int w, int h);
void window_close(int handle);
bool window_open_now(int handle);
// Greys or enables the close button of the window frame.
void window_closable(int handle, bool on);
// The cursor shape over the window: 0 arrow, 1 cross.
void window_cursor(int handle, int shape);
// The X11 window id (0 without X11, e.g. on Wayland).
unsigned long window_xid(int handle);

// True when windows carry X11 ids that a program may hand over (an X11
// display; not Wayland).  In-memory windows count as such.
bool x11_windows();
// Takes a window of the caller (any X11 window, of this program or
// another) as a screen window: window_show paints the picture into it,
// and it is painted again whenever the window system asks for it.
// window_title, window_closable and window_cursor leave it alone,
// window_close lets it go without destroying it, and no input events come
// from it.  Returns a handle and the window's client size, or -1 when xid
// names no window that can be drawn into.  In-memory windows are 320 x 240.
int window_attach(unsigned long xid, bool white, int& w, int& h);

// The next input event of any window; waits at most timeout_ms
// milliseconds (negative: as long as a window is open).  False when the
// time ran out or no window could deliver an event.
bool wait_event(Event& e, int timeout_ms);
// Queues an event as if the window system had delivered it.
void post_event(const Event& e);
// Handles the pending work of the window system (painting) without waiting.
void dispatch_pending();

// Tests: windows live only in memory, events come only from post_event,
// and waits never block.
void use_offscreen_windows(bool on);
bool offscreen_windows();

}  // namespace korval::platform
