// Settings and windows of the screen output.
#pragma once

#include <string>

#include "devices/raster.hpp"

namespace korval {

struct ScreenWindow {
    int state = 0;      // 0 closed, 1 own window, 2 window supplied through setxid
    int handle = -1;    // platform window handle (-1: none, e.g. "PIXM")
    Picture picture;    // the backing picture, red, green, blue
    std::string title;  // user title (wintit)
    bool user_title = false;
    float factor = 1.0f;  // device factor of this window
    int x = 0, y = 0, w = 0, h = 0;
};

struct ScreenState {
    // Settings of any level, kept across korfin.
    int wait_key = 0;       // winkey: 0 NONE, 1 RETU, 2 ESCA
    int delay = 0;          // winopt "DELA", seconds
    unsigned long xid = 0;  // setxid: the caller's window (0: none)
    // Plot parameters: csruni (0 PLOT, 1 PIXE), set again at korini.
    int cursor_units = 0;

    // The windows of the plot, korini .. korfin.
    ScreenWindow windows[8];
    int current = 0;  // index of the current window
    int main = 0;     // index of the main window
    // Windows left on the screen by the wait modes NONE and NOER; closed
    // when the next plot opens its windows.
    int left_over[8] = {-1, -1, -1, -1, -1, -1, -1, -1};
};

}  // namespace korval
