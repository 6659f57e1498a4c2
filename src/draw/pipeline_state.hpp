// State of the vector pipeline and of the line attributes it applies.
//
// One instance lives in the State record (state().pipeline).  Coordinates
// are plot units as floats; the polyline buffer holds points that are
// already shifted and transformed.
#pragma once

#include <cstdint>

namespace korval {

// Hooks that later subsystems fill in.  A null hook means "not active".
// The 3-D plane projection maps a plot point in place.
using PlaneProjectFn = void (*)(float& x, float& y);
// The floating-horizon filter of the surface routines and the blanking
// test take a visible segment instead of the device.
using SegmentFn = void (*)(float x0, float y0, float x1, float y1);

// What the axis system tells the clipping code (filled by the axis
// routines; `valid` is false while no axis system exists).
struct AxisClip {
    bool valid = false;
    int xmin = 0, ymin = 0, xmax = 0, ymax = 0;  // axis rectangle, inclusive
    bool polar = false;                          // polar axis system: a circle
    bool map_circular = false;                   // map projection with a circular border
    float cx = 0, cy = 0, radius = 0;            // the circle of the axis system
};

struct PipelineState {
    static constexpr int kBufferSize = 100;

    // Pen and origin shift.
    float pen_x = 0, pen_y = 0;
    int shift_x = 0, shift_y = 0;

    // Connected points waiting for the clipper.
    float buf_x[kBufferSize];
    float buf_y[kBufferSize];
    int count = 0;
    // The last point handed on by a flush; a draw into an empty buffer
    // continues from it, so a colour change inside a line leaves no gap.
    bool has_last = false;
    float last_x = 0, last_y = 0;

    // Dash pattern (plot units) and where it stands.
    int dash_count = 1;
    int dash[10] = {1};
    int dash_element = 0;
    double dash_remaining = 1.0;
    bool dash_gap = false;

    // Sideways offset of drawn segments (0 = off) and the deferred move.
    float offset = 0;
    bool deferred_move = false;

    // Clipping.
    int clip_xmin = 0, clip_ymin = 0, clip_xmax = 2969, clip_ymax = 2099;
    bool circle = false;
    float circle_x = 0, circle_y = 0, circle_r = 0;
    int border_mode = 0;  // 0 page, 1 clpwin window, 2 axis system
    int clip_mode = 0;    // 0 AUTO, 1 NONE, 2 CIRC, 3 RECT
    int saved_xmin = 0, saved_ymin = 0, saved_xmax = 2969, saved_ymax = 2099;
    AxisClip axis;

    // Plane transformations.
    bool base_on = false;
    float base[6] = {1, 0, 0, 1, 0, 0};  // x' = a x + b y + e, y' = c x + d y + f
    PlaneProjectFn plane_project = nullptr;
    // Saved by suspend_transforms(1).
    bool suspended = false;
    bool saved_base_on = false;
    PlaneProjectFn saved_plane = nullptr;

    // Later subsystems: hidden-line routing and blanking.
    SegmentFn hidden_segment = nullptr;
    int blanking = 0;
    SegmentFn blank_segment = nullptr;

    // User y measured from the bottom (pagorg "BOTT") and its internal override.
    bool page_bottom = false;
    bool page_y_override = false;

    // Line attributes: width > 0 is emulated here; < 0 is drawn by the device.
    int line_width = 1;
    int line_cap = 2;   // 0 CUT, 1 ROUND, 2 LONG
    int line_join = 2;  // 0 SHARP, 1 ROUND, 2 TRUNC
    float miter_limit = 2.0f;

    bool flushing = false;  // guards against re-entering the flush
};

// The colour table and the colour roles.  The colour routines (setvlt,
// setclr, myvlt ...) own these fields; the pipeline and the devices read them.
struct ColourState {
    std::uint32_t table[256];  // 0x00RRGGBB
    bool loaded = false;       // a table has been loaded into `table`
    int table_type = 1;        // SMAL 0, RAIN 1, SPEC 2, GREY 3, RRAI 4, RSPE 5, RGRE 6, VGA 7, TEMP 8
    int current = 255;         // index last passed to device_colour
    int background = 0;        // index of color("BACK")
    int start = 255;           // colour selected by setvlt (and by reset("COLO"))
    int named[9] = {255, 254, 138, 192, 30, 223, 96, 13, 0};  // WHIT RED GREE YELL BLUE ORAN CYAN MAGE BLAC
    int range_lo = 1, range_hi = 254;                         // colran
    int default_lo = 1, default_hi = 254;
    int under = 0, over = 255;  // colours below and above the range
    int cycle[30];              // curve colour cycle (clrcyc)
    bool user_table = false;    // a table loaded before korini replaces the default
};

}  // namespace korval
