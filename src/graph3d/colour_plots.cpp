// Colour 3-D plots: the colour scale, graf3 with its colour bar, zaxis,
// crvmat, the coloured points of curve3, curvx3 and curvy3, and the
// setters.
#include <algorithm>
#include <cmath>
#include <vector>

#include "axes/axes.hpp"
#include "draw/draw.hpp"
#include "graph3d/graph3d.hpp"
#include "korval/korval.hpp"
#include "plots/plots.hpp"

namespace korval {

namespace {

ColourPlotState& cp() { return state().colour_plots; }

float scale_factor() {
    float f = state().out.scale_factor;
    return f > 0 ? f : 1.0f;
}

int default_bar_width() { return std::max(1, (int)std::lround(scaled_length(85) / scale_factor())); }

void colour_plot_defaults() {
    ColourPlotState& c = cp();
    c = ColourPlotState{};
    int side = std::max(1, (int)std::lround(1.0 / scale_factor()));
    c.point_w = c.point_h = side;
    c.bar_width = default_bar_width();
}

struct Registration {
    Registration() {
        register_defaults(71, colour_plot_defaults);
        register_reset("ZSCA", [] { cp().zscale_on = false; });
        register_reset("NOBA", [] { cp().bar = true; });
        register_reset("NOBG", [] { cp().skip_background = false; });
        register_reset("VKXB", [] { cp().bar_shift_x = 0; });
        register_reset("VKYB", [] { cp().bar_shift_y = 0; });
        register_reset("WIDB", [] { cp().bar_width = default_bar_width(); });
        register_reset("SURS", [] { cp().surface_size_on = false; });
        register_reset("AUTR", [] { cp().auto_size = false; });
        register_reset("SETR", [] {
            int side = std::max(1, (int)std::lround(1.0 / scale_factor()));
            cp().point_w = cp().point_h = side;
        });
        register_endgrf([] { cp().graf3_active = false; });
    }
} registration;

double actual(float v, bool log) { return log ? std::pow(10.0, (double)v) : (double)v; }

// A colour scale without touching the one in force (zaxis).
struct Scale {
    double za, ze, ua, ue, k;
    bool log;
    int lo, hi, under, over;
};

Scale make_scale(float za, float ze, bool log) {
    const ColourState& c = state().colour;
    Scale s;
    s.log = log;
    s.ua = za;
    s.ue = ze;
    s.za = actual(za, log);
    s.ze = actual(ze, log);
    s.lo = c.range_lo;
    s.hi = c.range_hi;
    s.under = c.under;
    s.over = c.over;
    double span = s.ue - s.ua;
    s.k = span != 0 ? (s.hi - s.lo + 1) / span : 0;
    return s;
}

int colour_of(const Scale& s, double z) {
    if (std::isnan(z)) return -1;
    const bool reversed = s.za > s.ze;
    const double low = reversed ? s.ze : s.za, high = reversed ? s.za : s.ze;
    if (z < low) return reversed ? s.over : s.under;
    if (z > high) return reversed ? s.under : s.over;
    double u = s.log ? std::log10(z) : z;
    double c = std::trunc(s.lo + (u - s.ua) * s.k);
    if (c < s.lo) c = s.lo;
    if (c > s.hi) c = s.hi;
    return (int)c;
}

Scale current_scale() {
    const ColourPlotState& c = cp();
    Scale s;
    s.za = c.za;
    s.ze = c.ze;
    s.ua = c.ua;
    s.ue = c.ue;
    s.k = c.k;
    s.log = c.log;
    const ColourState& roles = state().colour;
    s.lo = roles.range_lo;
    s.hi = roles.range_hi;
    s.under = roles.under;
    s.over = roles.over;
    return s;
}

// The colour strip of a bar: lower left corner (x, y), `length` along the
// axis, `width` across it; runs of one colour become one rectangle.
void paint_strip(const Scale& s, int x, int y, int length, int width, bool vertical, float a, float e,
                 bool log) {
    int run_start = 0, run_colour = -2;
    auto flush = [&](int end) {  // cells run_start .. end-1
        if (run_colour < 0 || end <= run_start) return;
        if (vertical)
            device_fill_rect(x, y - (end - 1), x + width - 1, y - run_start, run_colour);
        else
            device_fill_rect(x + run_start, y - width + 1, x + end - 1, y, run_colour);
    };
    for (int j = 0; j < length; ++j) {
        double u = a + ((double)e - a) * (j + 0.5) / length;
        int c = colour_of(s, log ? std::pow(10.0, u) : u);
        if (c != run_colour) {
            flush(j);
            run_start = j;
            run_colour = c;
        }
    }
    flush(length);
}

// A colour bar with its axis.  side 0: labels right of a vertical bar or
// below a horizontal one; 1: left or above.
void draw_colour_bar(const Scale& s, float a, float e, float orig, float step, int length, const char* name,
                     int side, bool vertical, int x, int y, bool log) {
    const int width = cp().bar_width;
    const int keep = current_colour();
    paint_strip(s, x, y, length, width, vertical, a, e, log);
    int w = vertical ? width : length, h = vertical ? length : width;
    draw_frame(x, y - h + 1, w, h, 1);
    plot_flush();
    AxesState& ax = state().axes;
    if (vertical) {
        int ax_x = side == 0 ? x + width - 1 : x;
        draw_axis(a, e, orig, step, length, name, side, ax_x, y, log ? 1 : 0, 2);
    } else {
        // A horizontal bar is an X-type axis drawn with the Z axis settings.
        AxisSettings keep_x = ax.axis[0];
        ax.axis[0] = ax.axis[2];
        int ax_y = side == 0 ? y : y - width + 1;
        draw_axis(a, e, orig, step, length, name, side, x, ax_y, log ? 1 : 0, 0);
        ax.axis[0] = keep_x;
    }
    plot_flush();
    use_colour(keep);
}

bool refuse_3d_box() {
    if (state().axes.kind == 3) {
        warn_routine(35);
        return true;
    }
    return false;
}

// Rectangle size for nx x ny points spread over the plot extent w x h.
void auto_point_size(double w, double h, int nx, int ny) {
    ColourPlotState& c = cp();
    c.point_w = std::max(1, (int)std::ceil(std::fabs(w) / std::max(1, nx - 1)) + 1);
    c.point_h = std::max(1, (int)std::ceil(std::fabs(h) / std::max(1, ny - 1)) + 1);
}

}  // namespace

void set_colour_range(float za, float ze, bool log) {
    ColourPlotState& c = cp();
    Scale s = make_scale(za, ze, log);
    c.za = s.za;
    c.ze = s.ze;
    c.ua = s.ua;
    c.ue = s.ue;
    c.k = s.k;
    c.log = log;
}

int z_to_colour(float z) { return colour_of(current_scale(), (double)z); }

int colour_bar_margin() { return cp().graf3_active && cp().bar ? cp().bar_width : 0; }

void paint_point(float x, float y, int w, int h, int c) {
    int x1 = round_nearest(x - w / 2.0f), y1 = round_nearest(y - h / 2.0f);
    device_fill_rect(x1, y1, x1 + w - 1, y1 + h - 1, c);
}

// ---- graf3 and zaxis -------------------------------------------------------

void graf3(float xa, float xe, float xor_, float xstp, float ya, float ye, float yor, float ystp, float za,
           float ze, float zor, float zstp) {
    if (check_level(1, 1, "graf3")) return;
    State& st = state();
    AxesState& a = st.axes;
    ColourPlotState& c = cp();
    autoscale_axis(za, ze, zor, zstp, 2);
    const int sx = st.pipeline.shift_x, sy = st.pipeline.shift_y;
    if (check_axis_parameters(za, ze, zor, zstp, 2, 1 - sx, 1 - sy)) return;
    const bool zlog = a.scale_type[2] != 0;
    if (c.zscale_on)
        set_colour_range(zlog ? (float)std::log10(std::max(1e-35f, c.zscale_a)) : c.zscale_a,
                         zlog ? (float)std::log10(std::max(1e-35f, c.zscale_e)) : c.zscale_e, zlog);
    else
        set_colour_range(za, ze, zlog);

    c.graf3_active = true;
    graf(xa, xe, xor_, xstp, ya, ye, yor, ystp);
    st.run.routine = "graf3";
    if (st.run.level != 2) {
        c.graf3_active = false;
        return;
    }
    a.a[2] = za;
    a.e[2] = ze;
    a.orig[2] = zor;
    a.step[2] = zstp;
    if (c.auto_size) auto_point_size(a.nxl - 1, a.nyl - 1, c.auto_nx, c.auto_ny);
    if (c.bar && !a.nograf) {
        const int gap = c.bar_width;  // distance between axis system and bar
        int x = a.nxa + a.nxl - 1 + c.bar_shift_x + gap;
        int y = a.nya - c.bar_shift_y;
        draw_colour_bar(current_scale(), za, ze, zor, zstp, a.nzl, a.axis[2].name.c_str(), 0, true, x, y,
                        zlog);
    }
    c.graf3_active = false;
    st.run.level = 3;
}

namespace {

void stand_alone_bar(const char* routine, bool log, float a, float e, float orig, float step, int nl,
                     const char* name, int it, int id, int nx, int ny) {
    if (enter_routine(routine)) return;
    if (it != 0 && it != 1) return (void)warn_routine_value(2, it);
    if (id != 0 && id != 1) return (void)warn_routine_value(2, id);
    int y = page_y(ny);
    if (check_axis_parameters(a, e, orig, step, nl, nx, y)) return;
    ColourPlotState& c = cp();
    Scale s = c.zscale_on
                  ? make_scale(log ? (float)std::log10(std::max(1e-35f, c.zscale_a)) : c.zscale_a,
                               log ? (float)std::log10(std::max(1e-35f, c.zscale_e)) : c.zscale_e, log)
                  : make_scale(a, e, log);
    draw_colour_bar(s, a, e, orig, step, nl, name, it, id == 0, nx, y, log);
}

}  // namespace

void zaxis(float a, float e, float orig, float step, int nl, const char* name, int it, int id, int nx,
           int ny) {
    stand_alone_bar("zaxis", false, a, e, orig, step, nl, name, it, id, nx, ny);
}

void zaxlg(float a, float e, float orig, float step, int nl, const char* name, int it, int id, int nx,
           int ny) {
    stand_alone_bar("zaxlg", true, a, e, orig, step, nl, name, it, id, nx, ny);
}

// ---- crvmat and the point routines ------------------------------------------

void crvmat(const float* z, int n, int m, int ixpts, int iypts) {
    if (check_level(3, 3, "crvmat")) return;
    if (refuse_3d_box()) return;
    if (n < 2) return (void)warn_routine_value(2, n);
    if (m < 2) return (void)warn_routine_value(2, m);
    if (ixpts < 1) return (void)warn_routine_value(2, ixpts);
    if (iypts < 1) return (void)warn_routine_value(2, iypts);
    const AxesState& a = state().axes;
    ColourPlotState& c = cp();
    double x1, x2, y1, y2;
    if (c.surface_size_on) {
        x1 = c.surface_x1, x2 = c.surface_x2, y1 = c.surface_y1, y2 = c.surface_y2;
    } else {
        x1 = actual(a.a[0], a.scale_type[0]), x2 = actual(a.e[0], a.scale_type[0]);
        y1 = actual(a.a[1], a.scale_type[1]), y2 = actual(a.e[1], a.scale_type[1]);
    }
    const long npx = (long)(n - 1) * ixpts + 1, npy = (long)(m - 1) * iypts + 1;
    if (npx > 1000000 || npy > 1000000) return (void)warn_routine(53);
    // Plot positions of the columns and rows (the mapping is separable).
    std::vector<float> px((std::size_t)npx), py((std::size_t)npy);
    float dummy;
    for (long i = 0; i < npx; ++i)
        user_to_plot((float)(x1 + (x2 - x1) * i / (npx - 1)), (float)y1, px[i], dummy);
    for (long j = 0; j < npy; ++j)
        user_to_plot((float)x1, (float)(y1 + (y2 - y1) * j / (npy - 1)), dummy, py[j]);
    if (c.auto_size) auto_point_size(px[npx - 1] - px[0], py[npy - 1] - py[0], (int)npx, (int)npy);
    const int w = c.point_w, h = c.point_h;
    const Scale s = current_scale();
    const int keep = current_colour();
    clip_to_axis(0);
    for (long j = 0; j < npy; ++j) {
        if (!std::isfinite(py[j])) continue;
        long cj = std::min<long>(j / iypts, m - 2);
        double fy = (double)(j - cj * iypts) / iypts;
        int y0 = round_nearest(py[j] - h / 2.0f);
        // Runs of one colour in a row become one rectangle.
        int run_colour = -1, run_x1 = 0, run_x2 = 0;
        auto flush = [&] {
            if (run_colour >= 0) device_fill_rect(run_x1, y0, run_x2, y0 + h - 1, run_colour);
            run_colour = -1;
        };
        for (long i = 0; i < npx; ++i) {
            long ci = std::min<long>(i / ixpts, n - 2);
            double fx = (double)(i - ci * ixpts) / ixpts;
            const float* z0 = z + ci * m + cj;  // z(ci, cj); y index fastest
            const float* z1 = z0 + m;           // z(ci + 1, cj)
            double v0 = z0[0] * (1 - fx) + z1[0] * fx;
            double v1 = z0[1] * (1 - fx) + z1[1] * fx;
            double v = v0 * (1 - fy) + v1 * fy;
            int col = std::isfinite(v) ? colour_of(s, v) : -1;
            if (col >= 0 && c.skip_background && col == s.under) col = -1;
            if (!std::isfinite(px[i])) col = -1;
            int xa = col >= 0 ? round_nearest(px[i] - w / 2.0f) : 0;
            if (col != run_colour || xa > run_x2 + 1) {
                flush();
                if (col >= 0) run_colour = col, run_x1 = xa;
            }
            if (col >= 0) run_x2 = xa + w - 1;
        }
        flush();
    }
    plot_flush();
    clip_to_axis(1);
    use_colour(keep);
}

namespace {

void colour_points(const char* routine, const float* x, const float* y, const float* z, int n, int mode) {
    if (check_level(3, 3, routine)) return;
    if (refuse_3d_box()) return;
    if (n < 1) return (void)warn_routine_value(2, n);
    const ColourPlotState& c = cp();
    const PlotsState& p = state().plots;
    const Scale s = current_scale();
    const int keep = current_colour();
    clip_to_axis(0);
    for (int i = 0; i < n; ++i) {
        float xv = mode == 2 ? x[0] : x[i], yv = mode == 1 ? y[0] : y[i];
        int col = colour_of(s, (double)z[i]);
        if (col < 0 || !std::isfinite(xv) || !std::isfinite(yv)) continue;
        if (c.skip_background && col == s.under) continue;
        float xp, yp;
        user_to_plot(xv, yv, xp, yp);
        if (!std::isfinite(xp) || !std::isfinite(yp)) continue;
        if (c.point_mode == 1) {
            use_colour(col);
            draw_symbol(p.symbol_number, round_nearest(xp), round_nearest(yp));
        } else {
            paint_point(xp, yp, c.point_w, c.point_h, col);
        }
    }
    plot_flush();
    clip_to_axis(1);
    use_colour(keep);
}

}  // namespace

void curve3(const float* x, const float* y, const float* z, int n) { colour_points("curve3", x, y, z, n, 0); }
void curvx3(const float* x, float y, const float* z, int n) { colour_points("curvx3", x, &y, z, n, 1); }
void curvy3(float x, const float* y, const float* z, int n) { colour_points("curvy3", &x, y, z, n, 2); }

// ---- setters -------------------------------------------------------------------

void zscale(float z1, float z2) {
    check_level(0, 3, "zscale");
    if (z1 == z2 || !std::isfinite(z1) || !std::isfinite(z2)) return (void)warn_routine(2);
    ColourPlotState& c = cp();
    c.zscale_on = true;
    c.zscale_a = z1;
    c.zscale_e = z2;
    // A colour axis system already set up maps with the new range at once.
    if (state().run.level == 3 && state().axes.kind != 3) {
        bool log = state().axes.scale_type[2] != 0;
        if (log && (z1 <= 0 || z2 <= 0)) return;
        set_colour_range(log ? (float)std::log10(z1) : z1, log ? (float)std::log10(z2) : z2, log);
    }
}

void setres(int i1, int i2) {
    check_level(0, 3, "setres");
    if (i1 < 0) return (void)warn_routine_value(2, i1);
    if (i2 < 0) return (void)warn_routine_value(2, i2);
    ColourPlotState& c = cp();
    c.point_w = std::max(1, i1);
    c.point_h = std::max(1, i2);
    c.auto_size = false;
}

void autres(int i1, int i2) {
    if (check_level(1, 1, "autres")) return;
    if (check_range(i1, 2, 10000) || check_range(i2, 2, 10000)) return;
    ColourPlotState& c = cp();
    c.auto_size = true;
    c.auto_nx = i1;
    c.auto_ny = i2;
}

void nobar() {
    check_level(0, 3, "nobar");
    cp().bar = false;
}

void nobgd() {
    check_level(0, 3, "nobgd");
    cp().skip_background = true;
}

void vkxbar(int i) {
    check_level(0, 3, "vkxbar");
    cp().bar_shift_x = i;
}

void vkybar(int i) {
    check_level(0, 3, "vkybar");
    cp().bar_shift_y = i;
}

void widbar(int i) {
    check_level(0, 3, "widbar");
    if (check_range(i, 1, 10000)) return;
    cp().bar_width = i;
}

void sursze(float x1, float x2, float y1, float y2) {
    check_level(0, 3, "sursze");
    if (!(x1 < x2) || !(y1 < y2)) return (void)warn_routine(10);
    ColourPlotState& c = cp();
    c.surface_size_on = true;
    c.surface_x1 = x1, c.surface_x2 = x2, c.surface_y1 = y1, c.surface_y2 = y2;
}

void shdmod(const char* s1, const char* s2) {
    check_level(0, 3, "shdmod");
    int group = match_keyword("CURV+CONT+CELL+COLO+SURF", 5, s2);
    ColourPlotState& c = cp();
    int i = 0;
    switch (group) {
        case 1:
            if ((i = match_keyword("RECT+SYMB", 2, s1))) c.point_mode = i - 1;
            break;
        case 2:
            if ((i = match_keyword("CELL+POLY", 2, s1))) c.contour_fill = i - 1;
            break;
        case 3:
            if ((i = match_keyword("BOTH+UPPE+LOWE+NONE", 4, s1))) c.contour_bands = i - 1;
            break;
        case 4:
            if ((i = match_keyword("LOWE+MIDD+UPPE", 3, s1))) c.contour_band_rule = i - 1;
            break;
        case 5:
            if ((i = match_keyword("FLAT+SMOO", 2, s1))) c.surface_shading = i - 1;
            break;
        default:
            break;
    }
}

}  // namespace korval
