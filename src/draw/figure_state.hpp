// Settings of the geometric figures (circles, arcs, pie slices, arrows).
#pragma once

namespace korval {

struct FigureState {
    float arc_spacing = 10.0f;  // longest chord of an arc, plot units (circsp)
    // The shading pattern of closed figures as a mypat code (0: no fill,
    // 16 mapped to the solid code 100).  Kept here until the pattern
    // routines take it over; see fill_hook.cpp.
    int pattern = 0;
    int pattern_number = 0;  // the shdpat number behind the code
    // Set while a routine fills a figure and draws its outline separately.
    bool outline_off = false;
};

}  // namespace korval
