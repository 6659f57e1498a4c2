// Circles, ellipses, elliptic arcs, pie slices and arrows, in plot
// coordinates and in user coordinates (the rl routines).
#include "draw/figures.hpp"

#include <cmath>
#include <vector>

#include "axes/axes.hpp"
#include "core/core.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

constexpr float kDegree = 0.017453292f;  // pi / 180 in single precision
constexpr double kTurn = 6.283185;

FigureState& fig() { return state().figure; }

float scale_factor() {
    float s = state().out.scale_factor;
    return s > 0 ? s : 1.0f;
}

void figure_defaults() { fig().arc_spacing = 10.0f / scale_factor(); }

struct Registration {
    Registration() {
        register_defaults(30, figure_defaults);
        register_reset("CIRC", figure_defaults);
    }
} registration;

int rounded(float v) { return (int)(v + 0.5f); }

// The rl conventions: log check, clipping to the axis system, conversion.
bool rl_points_valid(const float* x, const float* y, int n) {
    const AxesState& a = state().axes;
    if (a.kind != 0 || a.neglog_on) return true;
    for (int i = 0; i < n; ++i) {
        if ((a.scale_type[0] && x[i] <= 0) || (a.scale_type[1] && y[i] <= 0)) {
            warn_routine(27);
            return false;
        }
    }
    return true;
}

void to_plot(float x, float y, int& nx, int& ny) {
    float xp, yp;
    user_to_plot(x, y, xp, yp);
    nx = rounded(xp);
    ny = rounded(yp);
}

// |plot x of (xm + r) - plot x of xm|, rounded.
int x_distance(float xm, float ym, float r) {
    float x1, y1, x2, y2;
    user_to_plot(xm, ym, x1, y1);
    user_to_plot(xm + r, ym, x2, y2);
    return rounded(std::fabs(x2 - x1));
}

int y_distance(float xm, float ym, float r) {
    float x1, y1, x2, y2;
    user_to_plot(xm, ym, x1, y1);
    user_to_plot(xm, ym + r, x2, y2);
    return rounded(std::fabs(y2 - y1));
}

// Half axes of rlarc and rlell.
void rl_half_axes(float xm, float ym, float a, float b, int& na, int& nb) {
    const AxesState& s = state().axes;
    if (s.kind == 1) {
        na = rounded(std::fabs(a * (float)s.scale[0]));
        nb = rounded(std::fabs(b * (float)s.scale[0]));
    } else {
        na = x_distance(xm, ym, a);
        nb = y_distance(xm, ym, b);
    }
}

}  // namespace

bool rl_valid(const float* x, const float* y, int n) { return rl_points_valid(x, y, n); }
void rl_plot_point(float x, float y, int& nx, int& ny) { to_plot(x, y, nx, ny); }
int rl_x_distance(float xm, float ym, float r) { return x_distance(xm, ym, r); }

// Start and end angle in radians, the start within one turn and the end
// beyond it (a sweep across 0 degrees runs forwards).  Double precision
// keeps the chord points on the exact end point.
void arc_span(float alpha, float beta, double& al, double& be) {
    al = std::fmod((double)alpha, 360.0);
    if (al < 0) al += 360.0;
    be = std::fmod((double)beta, 360.0);
    if (be < 0) be += 360.0;
    al *= kDegree;
    be *= kDegree;
    if (be <= al) be += kTurn;
}

void ellipse_arc_points(float x0, float y0, float a, float b, float alpha, float beta, float theta,
                        bool close_partial, std::vector<float>& px, std::vector<float>& py) {
    px.clear();
    py.clear();
    if (alpha == beta || !std::isfinite(alpha) || !std::isfinite(beta)) return;
    double al, be;
    arc_span(alpha, beta, al, be);
    const double span = be - al;
    double chords = (double)std::fmax(a, b) * span / (double)fig().arc_spacing;
    int n = chords >= 1000.0 ? 1000 : (int)chords;
    if (n < 5) n = 5;
    const bool full = span >= 6.28;
    const bool polar_angle = a != b && !full;
    auto point = [&](double t) {
        double c = std::cos(t), s = std::sin(t);
        if (polar_angle) {
            double r = 1.0 / std::sqrt(c * c / ((double)a * a) + s * s / ((double)b * b));
            px.push_back((float)(r * c));
            py.push_back((float)(-r * s));
        } else {
            px.push_back((float)(a * c));
            py.push_back((float)(-b * s));
        }
    };
    px.reserve((std::size_t)n + 3);
    py.reserve((std::size_t)n + 3);
    const double dt = span / n;
    for (int i = 0; i < n; ++i) point(al + i * dt);
    point(be);
    if (!full && close_partial) {
        px.push_back(0);
        py.push_back(0);
        px.push_back(px[0]);
        py.push_back(py[0]);
    }
    if (std::fabs(theta) >= 0.001f) {
        double t = theta * kDegree, c = std::cos(t), s = std::sin(t);
        for (std::size_t i = 0; i < px.size(); ++i) {
            double x = px[i], y = py[i];
            px[i] = (float)(x * c + y * s);
            py[i] = (float)(-x * s + y * c);
        }
    }
    for (std::size_t i = 0; i < px.size(); ++i) {
        px[i] += x0;
        py[i] += y0;
    }
}

int draw_ellipse_arc(float x0, float y0, float a, float b, float alpha, float beta, float theta, bool solid,
                     bool through_centre) {
    if (!(a >= 1) || !(b >= 1)) {
        float v = a < b ? a : b;
        return warn_routine_value(2, std::isfinite(v) ? (int)v : 0), 2;
    }
    const bool filled = pattern_fills();
    std::vector<float> px, py;
    ellipse_arc_points(x0, y0, a, b, alpha, beta, theta, through_centre || filled, px, py);
    if (px.empty()) return 0;
    PipelineState& p = state().pipeline;
    const int saved_count = p.dash_count;
    if (solid) p.dash_count = 1;  // the dash position stays for afterwards
    if (area_outline_on()) {
        plot_move(px[0], py[0]);
        for (std::size_t i = 1; i < px.size(); ++i) plot_draw(px[i], py[i]);
    }
    if (solid) {
        plot_flush();
        p.dash_count = saved_count;
    }
    if (filled) {
        // A circular slice or disc goes to the device's own sectors where it has them.
        bool done = false;
        if (a == b && std::fabs(theta) < 0.001f && current_pattern() == 16) {
            double al, be;
            arc_span(alpha, beta, al, be);
            if (be - al >= 6.28)
                done = device_sector(x0, y0, 0, a, 0, 360);
            else if (through_centre)
                done = device_sector(x0, y0, 0, a, (float)(al / kDegree), (float)(be / kDegree));
        }
        if (!done) fill_figure(px.data(), py.data(), (int)px.size());
    }
    return 0;
}

// ---- arrows ------------------------------------------------------------------

void draw_arrow(float x1, float y1, float x2, float y2, int ivec) {
    if (ivec < 0) ivec = -ivec;
    const int d1 = ivec / 1000, d2 = (ivec / 100) % 10, d3 = (ivec / 10) % 10, d4 = ivec % 10;
    if (!(d4 != 0 && d3 == 1)) {
        plot_move(x1, y1);
        plot_draw(x2, y2);
    }
    if (d4 == 0) return;
    if (d3 > 3 || d4 > 3) {
        warn_routine_value(2, ivec);
        return;
    }
    const float len = (float)((d2 + 1) * 10);
    const float half = (float)((d1 + 0.5) * len * 2.0 / 9.0);
    float phi = direction_angle(y1 - y2, x2 - x1);
    if (x1 == x2 && y1 == y2) phi = 0;
    const float ux = std::cos(phi), uy = -std::sin(phi);  // unit direction on the page
    const float qx = std::sin(phi), qy = std::cos(phi);   // across it
    if (d3 == 1) {
        float sx = x1, sy = y1;
        if (d4 == 2 || d4 == 3) sx += len * ux, sy += len * uy;
        plot_move(sx, sy);
        plot_draw(x2 - len * ux, y2 - len * uy);
    }
    plot_flush();
    const PipelineState& p = state().pipeline;
    auto head = [&](float tx, float ty, float bx, float by) {
        float cx[3] = {bx - half * qx, tx, bx + half * qx};
        float cy[3] = {by - half * qy, ty, by + half * qy};
        polyline_start(cx[0] + p.shift_x, cy[0] + p.shift_y);
        polyline_add(cx[1] + p.shift_x, cy[1] + p.shift_y);
        polyline_add(cx[2] + p.shift_x, cy[2] + p.shift_y);
        if (d3 != 2) polyline_add(cx[0] + p.shift_x, cy[0] + p.shift_y);
        polyline_flush();
        if (d3 == 0) fill_solid_triangle(cx, cy);
    };
    if (d4 == 1 || d4 == 2) head(x2, y2, x2 - len * ux, y2 - len * uy);
    if (d4 == 2) head(x1, y1, x1 + len * ux, y1 + len * uy);
    if (d4 == 3) head(x1 + len * ux, y1 + len * uy, x1, y1);
}

// ---- user routines ---------------------------------------------------------------

void circsp(int n) {
    enter_routine("circsp");
    if (check_range(n, 1, 10000)) return;
    fig().arc_spacing = (float)n;
}

void circle(int nx, int ny, int nr) {
    if (enter_routine("circle")) return;
    draw_ellipse_arc((float)nx, (float)page_y(ny), (float)nr, (float)nr, 0, 360, 0, false, false);
}

void ellips(int nx, int ny, int na, int nb) {
    if (enter_routine("ellips")) return;
    draw_ellipse_arc((float)nx, (float)page_y(ny), (float)na, (float)nb, 0, 360, 0, false, false);
}

void arcell(int nx, int ny, int na, int nb, float alpha, float beta, float theta) {
    if (enter_routine("arcell")) return;
    draw_ellipse_arc((float)nx, (float)page_y(ny), (float)na, (float)nb, alpha, beta, theta, false, false);
}

void pie(int nx, int ny, int nr, float alpha, float beta) {
    if (enter_routine("pie")) return;
    draw_ellipse_arc((float)nx, (float)page_y(ny), (float)nr, (float)nr, alpha, beta, 0, false, true);
}

void vector(int nx1, int ny1, int nx2, int ny2, int ivec) {
    if (enter_routine("vector")) return;
    draw_arrow((float)nx1, (float)page_y(ny1), (float)nx2, (float)page_y(ny2), ivec);
}

void rlcirc(float xm, float ym, float r) {
    if (check_level(2, 3, "rlcirc") || !rl_points_valid(&xm, &ym, 1)) return;
    clip_to_axis(0);
    int nx, ny;
    to_plot(xm, ym, nx, ny);
    int nr = x_distance(xm, ym, r);
    {
        PageYOff off;
        circle(nx, ny, nr);
    }
    clip_to_axis(1);
}

void rlell(float xm, float ym, float a, float b) {
    if (check_level(2, 3, "rlell") || !rl_points_valid(&xm, &ym, 1)) return;
    clip_to_axis(0);
    int nx, ny, na, nb;
    to_plot(xm, ym, nx, ny);
    rl_half_axes(xm, ym, a, b, na, nb);
    {
        PageYOff off;
        ellips(nx, ny, na, nb);
    }
    clip_to_axis(1);
}

void rlarc(float xm, float ym, float a, float b, float alpha, float beta, float theta) {
    if (check_level(2, 3, "rlarc") || !rl_points_valid(&xm, &ym, 1)) return;
    clip_to_axis(0);
    int nx, ny, na, nb;
    to_plot(xm, ym, nx, ny);
    rl_half_axes(xm, ym, a, b, na, nb);
    {
        PageYOff off;
        arcell(nx, ny, na, nb, alpha, beta, theta);
    }
    clip_to_axis(1);
}

void rlpie(float xm, float ym, float r, float alpha, float beta) {
    if (check_level(2, 3, "rlpie") || !rl_points_valid(&xm, &ym, 1)) return;
    clip_to_axis(0);
    int nx, ny;
    to_plot(xm, ym, nx, ny);
    int nr = x_distance(xm, ym, r);
    {
        PageYOff off;
        pie(nx, ny, nr, alpha, beta);
    }
    clip_to_axis(1);
}

void rlvec(float x1, float y1, float x2, float y2, int ivec) {
    float xs[2] = {x1, x2}, ys[2] = {y1, y2};
    if (check_level(2, 3, "rlvec") || !rl_points_valid(xs, ys, 2)) return;
    clip_to_axis(0);
    int nx1, ny1, nx2, ny2;
    to_plot(x1, y1, nx1, ny1);
    to_plot(x2, y2, nx2, ny2);
    {
        PageYOff off;
        vector(nx1, ny1, nx2, ny2, ivec);
    }
    clip_to_axis(1);
}

}  // namespace korval
