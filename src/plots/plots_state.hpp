// State of the curve routines: interpolation, symbols, thickness, the curve
// attribute cycle and the legend records that the legend reads.
#pragma once

#include <vector>

namespace korval {

// One legend slot: the attributes a curve (or a bar or pie segment) was
// drawn with.
struct LegendRecord {
    int line_type = -1;  // -1: drawn with symbols only
    int symbol = -1;     // -1: no symbols
    int thickness = 1;
    int colour = 0;
    int pattern = -1;  // shading pattern; -1 for curves
};

struct PlotsState {
    static constexpr int kLegendSlots = 30;

    // Interpolation.
    int interpolation = 0;  // LINE STEP BARS SPLI PSPL STEM STAI FBAR
    int spline_order = 3;   // degree; the B-spline has order spline_order + 1
    int spline_points = 200;

    // Symbols.
    int marker_increment = 0;
    int symbol_number = 0;
    int symbol_count_limit = 23;
    int symbol_height = 36;
    float symbol_angle = 0;
    // The user symbol: its number (-1: none), points in [-1, 1], fill flag.
    int user_symbol = -1;
    std::vector<float> user_x, user_y;
    int user_fill = 0;

    // Thick curves, gaps and the attribute cycle.
    int thickness = 1;
    float gap = 0;
    bool gap_on = false;
    int change_interval = 1;
    int change_mode = 0;  // NONE COLO LINE BOTH
    int cycle_index = 1;  // 1..30
    int since_change = 1;
    // Colour and line type before the first chnatt, for resatt.
    bool attr_saved = false;
    int attr_colour = 0, attr_type = 0;

    // Bars drawn by the BARS and FBAR methods and by errbar; barwth and
    // bartyp of the bar graphs set these.
    float bar_width = 0.75f;
    int bar_type = 0;  // VERT HORI 3DVE 3DHO

    // Legend records.
    LegendRecord legend[kLegendSlots];
    int legend_count = 0;          // highest slot written so far
    int legend_number = 1;         // slot of the next curve
    bool legend_pending = true;    // a record is due at the next curve
    bool legend_recording = true;  // the legend may switch recording off
    bool filled_curve = false;     // the current curve is a filled one (bars, pies)
};

}  // namespace korval
