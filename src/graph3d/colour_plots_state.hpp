// State of the colour 3-D plots: the colour scale, point size, colour bar
// and the surface size shared with the surface routines.
#pragma once

namespace korval {

struct ColourPlotState {
    // The colour scale in force: z range (actual values), logarithmic flag
    // and its exponents, colours per z unit (per decade when logarithmic).
    double za = 0, ze = 1;
    bool log = false;
    double ua = 0, ue = 1;  // za, ze or their exponents
    double k = 254;
    // zscale: the range used instead of the axis range.
    bool zscale_on = false;
    float zscale_a = 0, zscale_e = 1;

    // Rectangles of crvmat and of the point routines.
    int point_w = 1, point_h = 1;
    bool auto_size = false;
    int auto_nx = 2, auto_ny = 2;
    bool skip_background = false;

    // The colour bar of graf3.
    bool bar = true;
    int bar_shift_x = 0, bar_shift_y = 0;
    int bar_width = 85;
    bool graf3_active = false;  // graf3 is setting up its axis system

    // sursze: the x and y range of crvmat (and of the surface routines).
    bool surface_size_on = false;
    float surface_x1 = 0, surface_x2 = 1, surface_y1 = 0, surface_y2 = 1;

    // shdmod: curve3 points as rectangles (0) or symbols (1); the fill of
    // shaded contours, their outer bands and band colour rule; surface
    // shading.
    int point_mode = 0;         // RECT SYMB
    int contour_fill = 0;       // CELL POLY
    int contour_bands = 0;      // BOTH UPPE LOWE NONE
    int contour_band_rule = 0;  // LOWE MIDD UPPE
    int surface_shading = 0;    // FLAT SMOO
};

}  // namespace korval
