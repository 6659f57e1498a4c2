// The axis system: placement, scaling and the per-axis label settings.
#pragma once

#include <string>

namespace korval {

// Date label modes of one axis.
struct DateLabelModes {
    int year = 0;      // FULL, SHOR, NONE
    int day = 0;       // NAME, SHOR, NONE, FULL, LONG   (default SHOR: 1)
    int month = 0;     // NAME, SHOR, NONE, FULL, LONG, TINY
    int language = 0;  // ENGL, GERM
    int order = 0;     // DMY, DYM, MDY, MYD, YDM, YMD
    char separator = '-';
    int upper = 0;     // NONE, UPPE
    int step = 0;      // DAYS, MONT, QUAR, HALF, YEAR, DMON
};

// Settings of one axis (X, Y, Z).
struct AxisSettings {
    int label_type = 1;   // NONE FLOA EXP LOG CLOG ELOG MAP DMAP LMAP TIME HOUR SECO MYLA FEXP DATE
    int label_class = 0;  // 0 numbers, 1 time, 2 geographic, 3 date
    int log_form = 2;     // 1 exponent form, 2 value form, 3 exponent value
    int exp_flag = 0;
    int digits = 1;
    int ticks = 2;
    int tick_pos = 0;     // LABE, REVE, CENT
    int line = 1;
    int label_dist = 24;  // scaled at reset
    int name_dist = 30;
    std::string name;
    int name_just = 0;    // CENT, LEFT, RIGH
    int label_orient = 0; // HORI, VERT
    int label_just = 0;   // AUTO, LEFT, RIGH, OUTW, INWA
    int label_pos = 0;    // TICK, CENT, SHIF
    int ends = 0;         // NONE NOFI NOLA NOEN ENDS FIRS LAST
    std::string user_labels[20];
    int user_label_count = 0;
    int colours[4] = {-1, -1, -1, -1};  // line, ticks, labels, name
    DateLabelModes date;
    int tick_mode = 0;    // NONE DAYS MONT QUAR HALF YEAR DMON
    int monthly_mode = 0; // label every 0 (by days), 1, 3, 6, 12 or 2 months
};

struct AxesState {
    // Placement (plot units).
    int nxa = 0, nya = 0;
    int nxl = 0, nyl = 0, nzl = 0;
    int nx0 = 0, ny0 = 0;         // axis origin of crossed axes
    int origin_mode = 0;
    int axis_type = 0;            // 0 RECT, 1 CROS
    int scale_type[3] = {0, 0, 0};  // 0 LIN, 1 LOG
    // Scaling as given to (or computed by) the last axis system.
    float a[3] = {0, 0, 0}, e[3] = {1, 1, 1}, orig[3] = {0, 0, 0}, step[3] = {1, 1, 1};
    double umin[2] = {0, 0}, umax[2] = {1, 1};  // user range, ascending
    double scale[2] = {1, 1};                   // plot units per user unit (or decade)
    double map_origin[2] = {0, 0};
    int auto_on[3] = {0, 0, 0};
    float auto_min[3] = {0, 0, 0}, auto_max[3] = {0, 0, 0};
    int neglog_on = 0;
    float neglog_exp = 0;
    int kind = 0;                 // 0 cartesian, 1 polar, 2 map, 3 three-dimensional
    int polar_start = 0, polar_dir = 0;
    int depth[4] = {4, 2, 2, 4};  // sides 1 (lower), 2 (right), 3 (upper), 4 (left)
    int two_axes = 0;
    int background = -1;
    int frame = 1;
    int frame_colour = -1;
    // Titles.
    std::string title_lines[4];
    bool title_underline[4] = {false, false, false, false};
    int title_height = 0;          // 0: the current character height
    int title_just = 0;            // CENT, LEFT, RIGH
    int title_pos = 0;             // ABOV, BELO
    int title_shift = 0;
    int grace = -1;
    int nograf = 0;
    int centring = 0;
    bool drawing_graf = false;     // graf is drawing its axes (crossed-axis rules apply)
    float epsilon = 1.0e-35f;
    // The axis rectangle.
    int clip_left = 0, clip_top = 0, clip_right = 0, clip_bottom = 0;
    int corner_x = 0, corner_y = 0;
    float centre_x = 0, centre_y = 0, radius = 0;

    // Label settings.
    AxisSettings axis[3];
    int tick_major = 24, tick_minor = 16;  // scaled at reset
    int name_height = 36;
    int rvynam = 0;
    int logtic = 0;                        // AUTO, FULL
    int timopt = 0;
    bool exp_zero = true;  // expzlb: zero labels of the exponent formats in exponent form
    int rgtlab = 0;
    int label_colour[3] = {-1, -1, -1};    // bars, pies, contours
    bool base_date_set = false;
    int base_day = 1, base_month = 1, base_year = 1900;
    // Labels of other plot types set through labels/labdig/labpos/labtyp/labdis.
    int bar_label_mode = 0, pie_label_mode = 0, contour_label_mode = 0;
    int bar_digits = 1, contour_digits = 1, pie_data_digits = 1, pie_percent_digits = 1;
    int bar_label_pos = 0, pie_label_pos = 0, pie_label_type = 0;
    int contour_label_dist = 0;
};

}  // namespace korval
