// The window-system backend behind the platform layer (GTK 3).  Only the
// platform sources include this header; the backend is compiled when the
// toolkit's development files were found (KORVAL_HAVE_GTK).
#pragma once

#include <cstdint>

#include "platform/platform.hpp"

namespace korval::platform {

// Queues an input event for wait_event (called by the backend's handlers).
void queue_event(const Event& e);
// True while the queue holds an event.
bool event_pending();

namespace gtk {

// Opens the display once; false when there is none.
bool start();
void message_box(const char* title, const char* text);
int question_box(const char* title, const char* text, bool default_yes);
ScreenInfo screen_info();
int window_open(int x, int y, int w, int h, const char* title, bool white);
void window_title(int handle, const char* title);
void window_show(int handle, const std::uint8_t* rgb, int stride, int w, int h);
void window_close(int handle);
bool window_open_now(int handle);
void window_closable(int handle, bool on);
void window_cursor(int handle, int shape);
unsigned long window_xid(int handle);
bool x11_windows();
int window_attach(unsigned long xid, bool white, int& w, int& h);
// Runs the main loop until an event is queued or timeout_ms passed
// (negative: no limit while a window is open).  False on timeout.
bool wait(int timeout_ms);
void dispatch_pending();

}  // namespace gtk

}  // namespace korval::platform
