// curve: data drawn with one of eight interpolation methods, symbols, thick
// copies, gaps and the curve attribute cycle; errbar; the setters.
//
// Points that are not finite numbers (NaN, infinity) are skipped: the curve
// breaks there and continues with a move at the next valid point.
#include <cmath>
#include <cstdio>
#include <vector>

#include "axes/axes.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"
#include "plots/plots.hpp"

namespace korval {

namespace {

PlotsState& pl() { return state().plots; }

float scale_factor() {
    float f = state().out.scale_factor;
    return f > 0 ? f : 1.0f;
}

bool to_plot(float x, float y, float& xp, float& yp) {
    if (!std::isfinite(x) || !std::isfinite(y)) return false;
    user_to_plot(x, y, xp, yp);
    return std::isfinite(xp) && std::isfinite(yp);
}

// A pen in user coordinates: a point that cannot be mapped lifts it, and
// the next valid point starts with a move.
struct Pen {
    bool down = false;
    void move(float x, float y) {
        float xp, yp;
        down = to_plot(x, y, xp, yp);
        if (down) plot_move(xp, yp);
    }
    void to(float x, float y) {
        float xp, yp;
        if (!to_plot(x, y, xp, yp)) {
            down = false;
        } else if (down) {
            plot_draw(xp, yp);
        } else {
            plot_move(xp, yp);
            down = true;
        }
    }
};

double axis_bound(int axis, float v) {
    return state().axes.scale_type[axis] && state().axes.kind != 1 ? std::pow(10.0, (double)v) : (double)v;
}

// Warning 27 when a logarithmic axis gets a value <= 0 (and neglog is off).
bool log_values_bad(const float* x, const float* y, int n) {
    const AxesState& a = state().axes;
    if (a.kind == 1 || a.neglog_on) return false;
    for (int axis = 0; axis < 2; ++axis) {
        if (!a.scale_type[axis]) continue;
        const float* v = axis == 0 ? x : y;
        for (int i = 0; i < n; ++i)
            if (v[i] <= 0) {
                warn_routine(27);
                return true;
            }
    }
    return false;
}

void format_scaling_value(char* out, std::size_t size, float v, bool is_x) {
    double a = std::fabs((double)v);
    bool expo = (a > 0 && a < 1e-6) || a > 1e6;
    if (is_x)
        std::snprintf(out, size, expo ? "%12.4e /" : "%f /", (double)v);
    else
        std::snprintf(out, size, expo ? "%12.4e) out of axis scaling!\n" : " %f) out of axis scaling!\n",
                      (double)v);
}

// Reports the points outside the axis scaling (x1..x2 per axis) when
// checking is on; y is not tested under polar scaling.
void report_out_of_scaling(const float* x, const float* y, int n) {
    const State& st = state();
    if (!st.msg.checking || st.msg.unit == 0 || !st.msg.warnings) return;
    const AxesState& a = st.axes;
    float x1 = (float)axis_bound(0, a.a[0]), x2 = (float)axis_bound(0, a.e[0]);
    float y1 = (float)axis_bound(1, a.a[1]), y2 = (float)axis_bound(1, a.e[1]);
    if (x1 > x2) std::swap(x1, x2);
    if (y1 > y2) std::swap(y1, y2);
    const bool test_y = a.kind != 1;
    for (int i = 0; i < n; ++i) {
        bool out = x[i] < x1 || x[i] > x2 || (test_y && (y[i] < y1 || y[i] > y2));
        if (!out) continue;
        char line[160], xs[64], ys[80];
        format_scaling_value(xs, sizeof xs, x[i], true);
        format_scaling_value(ys, sizeof ys, y[i], false);
        std::snprintf(line, sizeof line, " <<<< (%s%s", xs, ys);
        message_write(line);
    }
}

void draw_line(const float* x, const float* y, int n) {
    const PlotsState& p = pl();
    Pen pen;
    pen.move(x[0], y[0]);
    for (int i = 1; i < n; ++i) {
        if (p.gap_on && std::fabs(x[i] - x[i - 1]) > p.gap)
            pen.move(x[i], y[i]);
        else
            pen.to(x[i], y[i]);
    }
}

void draw_step(const float* x, const float* y, int n) {
    const PlotsState& p = pl();
    Pen pen;
    float d = (x[1] - x[0]) / 2;
    pen.move(x[0] - d, y[0]);
    pen.to(x[0], y[0]);
    bool gap = false;
    for (int i = 1; i < n; ++i) {
        d = (x[i] - x[i - 1]) / 2;
        gap = p.gap_on && x[i] - x[i - 1] > p.gap;
        if (gap) {
            pen.move(x[i], y[i]);
            continue;
        }
        pen.to(x[i - 1] + d, y[i - 1]);
        pen.to(x[i - 1] + d, y[i]);
        pen.to(x[i], y[i]);
    }
    if (!gap) pen.to(x[n - 1] + d, y[n - 1]);
}

void draw_stairs(const float* x, const float* y, int n) {
    const PlotsState& p = pl();
    Pen pen;
    pen.move(x[0], y[0]);
    for (int i = 1; i < n; ++i) {
        if (p.gap_on && x[i] - x[i - 1] > p.gap) {
            pen.move(x[i], y[i]);
            continue;
        }
        pen.to(x[i], y[i - 1]);
        pen.to(x[i], y[i]);
    }
}

void draw_stems(const float* x, const float* y, int n) {
    const bool polar = state().axes.kind == 1;
    Pen pen;
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(x[i]) || !std::isfinite(y[i])) continue;
        pen.move(polar ? 0.0f : x[i], 0.0f);
        pen.to(x[i], y[i]);
    }
}

// One outline (and for FBAR one solid fill) per point.
void draw_bars(const float* x, const float* y, int n, bool fill) {
    const AxesState& a = state().axes;
    const float w = pl().bar_width;
    float px[4], py[4];
    int corners = 4;
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(x[i]) || !std::isfinite(y[i])) continue;
        bool ok = true;
        if (a.kind == 1) {
            // Polar: x is the radius, y the angle; a triangle from the origin.
            double half = w < 0 ? std::fabs(w) * M_PI / 360.0 : (y[1] - y[0]) * (double)w / 2;
            corners = 3;
            user_to_plot(0, 0, px[0], py[0]);
            user_to_plot(x[i], (float)(y[i] + half), px[1], py[1]);
            user_to_plot(x[i], (float)(y[i] - half), px[2], py[2]);
        } else if (w >= 0) {
            float half = (x[1] - x[0]) * w / 2;
            float ya = (float)axis_bound(1, a.a[1]);
            ok = to_plot(x[i] - half, ya, px[0], py[0]) && to_plot(x[i] - half, y[i], px[1], py[1]) &&
                 to_plot(x[i] + half, y[i], px[2], py[2]) && to_plot(x[i] + half, ya, px[3], py[3]);
        } else {
            float xp, yp;
            ok = to_plot(x[i], y[i], xp, yp);
            float half = -w / 2;
            float base = (float)(a.axis_type == 1 ? a.ny0 : a.nya);
            px[0] = px[1] = xp - half;
            px[2] = px[3] = xp + half;
            py[0] = py[3] = base;
            py[1] = py[2] = yp;
        }
        for (int c = 0; c < corners; ++c) ok = ok && std::isfinite(px[c]) && std::isfinite(py[c]);
        if (!ok) continue;
        if (fill) fill_solid_polygon(px, py, corners);
        plot_move(px[0], py[0]);
        for (int c = 1; c < corners; ++c) plot_draw(px[c], py[c]);
        if (corners == 3) plot_draw(px[0], py[0]);
    }
}

// Interpolated points, kept between calls.
std::vector<float>& spline_x() {
    static std::vector<float> v;
    return v;
}
std::vector<float>& spline_y() {
    static std::vector<float> v;
    return v;
}

}  // namespace

void advance_curve_attributes() {
    PlotsState& p = pl();
    if (p.since_change != p.change_interval) {
        ++p.since_change;
        return;
    }
    p.cycle_index = (p.cycle_index + 1) % 30;
    if (p.cycle_index == 0) p.cycle_index = 30;
    p.legend_number += 1;
    if (p.marker_increment != 0) p.symbol_number = p.symbol_number % 22 + 1;
    p.since_change = 1;
    p.legend_pending = true;
}

CurveStyle::CurveStyle() {
    State& st = state();
    const PlotsState& p = st.plots;
    colour_ = current_colour();
    type_ = st.style.line_type;
    dash_count_ = st.pipeline.dash_count;
    for (int i = 0; i < 10; ++i) dash_[i] = st.pipeline.dash[i];
    if (p.change_mode == 1 || p.change_mode == 3) use_colour(cycle_colour(p.cycle_index));
    if (p.change_mode == 2 || p.change_mode == 3) use_line_type(cycle_line_type(p.cycle_index));
}

void CurveStyle::restore() {
    if (!active_) return;
    active_ = false;
    State& st = state();
    use_colour(colour_);
    st.pipeline.dash_count = dash_count_;
    for (int i = 0; i < 10; ++i) st.pipeline.dash[i] = dash_[i];
    st.style.line_type = type_;
    dash_reset();
}

void curve(const float* x, const float* y, int n) {
    if (check_level(2, 3, "curve")) return;
    State& st = state();
    PlotsState& p = st.plots;
    p.filled_curve = false;
    if (n < 1 || (n == 1 && p.marker_increment >= 0)) {
        warn_routine_value(2, n);
        return;
    }
    const int method = p.interpolation;
    if (st.axes.kind == 1 && method != 0 && method != 2 && method != 5 && method != 7) {
        set_warning_text("Bad interpolation method for polar scaling");
        warn_routine(101);
        return;
    }
    if (log_values_bad(x, y, n)) return;

    // Attributes of this curve.
    PipelineState& pipe = st.pipeline;
    CurveStyle style;
    const bool keep_check = st.msg.checking;
    if (p.legend_pending) {
        record_legend_entry(p.legend_number);
        p.legend_pending = false;
    }
    report_out_of_scaling(x, y, n);
    st.msg.checking = false;
    clip_to_axis(0);

    if (p.marker_increment != 0) {
        int step = std::abs(p.marker_increment);
        for (int i = 0; i < n; i += step) {
            float xp, yp;
            if (!to_plot(x[i], y[i], xp, yp)) continue;
            draw_symbol(p.symbol_number, round_nearest(xp), round_nearest(yp));
        }
    }
    if (p.marker_increment >= 0) {
        int count = n;
        const float *cx = x, *cy = y;
        bool drawable = true;
        if (method == 3 || method == 4) {
            std::vector<float>& sx = spline_x();
            std::vector<float>& sy = spline_y();
            std::size_t need = (std::size_t)p.spline_points + 1;
            if (sx.size() < need) sx.resize(need), sy.resize(need);
            count = spline_points(x, y, n, method == 4, sx.data(), sy.data());
            drawable = count > 0;
            cx = sx.data();
            cy = sy.data();
        }
        const float f = scale_factor();
        int passes = (int)std::lround(p.thickness * f);
        if (passes < 1) passes = 1;
        for (int pass = 1; drawable && pass <= passes; ++pass) {
            dash_reset();
            int off = pass % 2 == 0 ? pass / 2 : -(pass / 2);
            pipe.offset = off / f;
            switch (method) {
                case 1:
                    draw_step(cx, cy, count);
                    break;
                case 2:
                    draw_bars(cx, cy, count, false);
                    break;
                case 5:
                    draw_stems(cx, cy, count);
                    break;
                case 6:
                    draw_stairs(cx, cy, count);
                    break;
                case 7:
                    draw_bars(cx, cy, count, pass == 1);
                    break;
                default:
                    draw_line(cx, cy, count);
                    break;
            }
            plot_flush();
        }
    }

    plot_flush();
    pipe.offset = 0;
    pipe.deferred_move = false;
    clip_to_axis(1);
    style.restore();
    st.msg.checking = keep_check;
    advance_curve_attributes();
}

void errbar(const float* x, const float* y, const float* e1, const float* e2, int n) {
    if (check_level(2, 3, "errbar")) return;
    State& st = state();
    PlotsState& p = st.plots;
    if (n < 1 || n > 32000) {
        warn_routine_value(2, n);
        return;
    }
    if (log_values_bad(x, y, n)) return;
    const bool keep_check = st.msg.checking;
    report_out_of_scaling(x, y, n);
    st.msg.checking = false;
    clip_to_axis(0);
    const int c = p.symbol_height / 3;
    const bool vertical = p.bar_type == 0;
    for (int i = 0; i < n; ++i) {
        float xp, yp;
        if (!to_plot(x[i], y[i], xp, yp)) continue;
        draw_symbol(p.symbol_number, round_nearest(xp), round_nearest(yp));
        float ax, ay, bx, by;
        bool ok = vertical ? to_plot(x[i], y[i] - e1[i], ax, ay) && to_plot(x[i], y[i] + e2[i], bx, by)
                           : to_plot(x[i] - e1[i], y[i], ax, ay) && to_plot(x[i] + e2[i], y[i], bx, by);
        if (!ok) continue;
        plot_move(ax, ay);
        plot_draw(bx, by);
        if (vertical) {
            plot_move(ax - c, ay);
            plot_draw(ax + c, ay);
            plot_move(bx - c, by);
            plot_draw(bx + c, by);
        } else {
            plot_move(ax, ay - c);
            plot_draw(ax, ay + c);
            plot_move(bx, by - c);
            plot_draw(bx, by + c);
        }
    }
    plot_flush();
    clip_to_axis(1);
    st.msg.checking = keep_check;
}

// ---- setters ---------------------------------------------------------------

void polcrv(const char* s) {
    check_level(0, 3, "polcrv");
    int i = match_keyword("LINE+STEP+BARS+SPLI+PSPL+STEM+STAI+FBAR", 8, s);
    if (i) pl().interpolation = i - 1;
}

void thkcrv(int n) {
    check_level(0, 3, "thkcrv");
    if (check_range(n, 1, 10000)) return;
    pl().thickness = n;
}

void gapcrv(float gap) {
    check_level(0, 3, "gapcrv");
    pl().gap = gap;
    pl().gap_on = true;
}

void inccrv(int n) {
    check_level(0, 3, "inccrv");
    if (check_range(n, 1, 32000)) return;
    pl().change_interval = n;
}

void chncrv(const char* s) {
    check_level(0, 3, "chncrv");
    int i = match_keyword("NONE+COLO+LINE+BOTH", 4, s);
    if (i) pl().change_mode = i - 1;
}

}  // namespace korval
