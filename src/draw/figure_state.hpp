// Settings of the geometric figures (circles, arcs, pie slices, arrows).
#pragma once

namespace korval {

struct FigureState {
    float arc_spacing = 10.0f;  // longest chord of an arc, plot units (circsp)
    // Set while a routine fills a figure and draws its outline separately.
    bool outline_off = false;
};

}  // namespace korval
