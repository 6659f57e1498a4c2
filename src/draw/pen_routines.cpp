// User routines of the pen in plot and user coordinates, the base
// transformation of the pipeline and the page fill.

#include <cmath>
#include <vector>

#include "axes/axes.hpp"
#include "core/core.hpp"
#include "draw/draw.hpp"
#include "draw/figures.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

PipelineState& pl() { return state().pipeline; }

bool finite2(float x, float y) { return std::isfinite(x) && std::isfinite(y); }

// A user point for the rl pen routines: level, finiteness and the log
// check; false when nothing should be drawn.
bool user_point(const char* routine, float x, float y, float& xp, float& yp) {
    if (check_level(2, 3, routine)) return false;
    if (!finite2(x, y) || !rl_valid(&x, &y, 1)) return false;
    user_to_plot(x, y, xp, yp);
    return true;
}

// The y of a plot-coordinate pen routine under pagorg("BOTT").
float page_y_float(float y) {
    const PipelineState& p = pl();
    if (p.page_bottom && !p.page_y_override) return (float)state().out.nyp - y;
    return y;
}

// Moves the pen without drawing: the plot point (without the origin shift).
void pen_to(float x, float y) { plot_move(x, y); }

// Draws from the pen to a plot point.  The pen is restarted at its own
// position first: a flush in between (clipping changes, colour changes)
// must not lose the start of the segment.
void pen_draw(float x, float y) {
    const PipelineState& p = pl();
    float px = p.pen_x - (float)p.shift_x, py = p.pen_y - (float)p.shift_y;
    if (p.count == 0 && !p.deferred_move) plot_move(px, py);
    plot_draw(x, y);
}

// Composes the base transformation with the map m applied after it.
void compose_base(const double m[6]) {
    PipelineState& p = pl();
    polyline_flush();
    double a = 1, b = 0, c = 0, d = 1, e = 0, f = 0;
    if (p.base_on) a = p.base[0], b = p.base[1], c = p.base[2], d = p.base[3], e = p.base[4], f = p.base[5];
    // new(x) = m(old(x)): x'' = m0 x' + m1 y' + m4, y'' = m2 x' + m3 y' + m5
    double r[6] = {m[0] * a + m[1] * c, m[0] * b + m[1] * d,        m[2] * a + m[3] * c,
                   m[2] * b + m[3] * d, m[0] * e + m[1] * f + m[4], m[2] * e + m[3] * f + m[5]};
    for (int i = 0; i < 6; ++i) p.base[i] = (float)r[i];
    p.base_on = true;
}

}  // namespace

void rline(float x1, float y1, float x2, float y2) {
    if (check_level(2, 3, "rline")) return;
    float xs[2] = {x1, x2}, ys[2] = {y1, y2};
    if (!finite2(x1, y1) || !finite2(x2, y2) || !rl_valid(xs, ys, 2)) return;
    float ax, ay, bx, by;
    user_to_plot(x1, y1, ax, ay);
    user_to_plot(x2, y2, bx, by);
    clip_to_axis(0);
    plot_move(ax, ay);
    plot_draw(bx, by);
    clip_to_axis(1);
}

void rlstrt(float x, float y) {
    float xp, yp;
    if (user_point("rlstrt", x, y, xp, yp)) pen_to(xp, yp);
}

void rlconn(float x, float y) {
    float xp, yp;
    if (!user_point("rlconn", x, y, xp, yp)) return;
    clip_to_axis(0);
    pen_draw(xp, yp);
    clip_to_axis(1);
}

void strtpt(float x, float y) {
    if (enter_routine("strtpt") || !finite2(x, y)) return;
    pen_to(x, page_y_float(y));
}

void xmove(float x, float y) {
    if (enter_routine("xmove") || !finite2(x, y)) return;
    pen_to(x, y);
}

void xdraw(float x, float y) {
    if (enter_routine("xdraw") || !finite2(x, y)) return;
    pen_draw(x, y);
}

void xjdraw(float x, float y, int i) {
    if (enter_routine("xjdraw")) return;
    if (i != 2 && i != 3) return (void)warn_routine_value(2, i);
    if (!finite2(x, y)) return;
    if (i == 3)
        pen_to(x, y);
    else
        pen_draw(x, y);
}

void trfrot(float angle, int nx, int ny) {
    if (enter_routine("trfrot")) return;
    if (!std::isfinite(angle)) return (void)warn_routine(2);
    const PipelineState& p = pl();
    double cx = (double)nx + p.shift_x, cy = (double)page_y(ny) + p.shift_y;
    // Counter-clockwise on the page, where y grows downwards.
    double t = std::fmod((double)angle, 360.0) * 3.14159265358979323846 / 180.0;
    double co = std::cos(t), si = std::sin(t);
    double m[6] = {co, si, -si, co, cx - co * cx - si * cy, cy + si * cx - co * cy};
    compose_base(m);
}

void trfscl(float xf, float yf) {
    if (enter_routine("trfscl")) return;
    if (!std::isfinite(xf) || !std::isfinite(yf) || xf == 0.0f || yf == 0.0f) return (void)warn_routine(2);
    const PipelineState& p = pl();
    double ox = p.shift_x, oy = p.shift_y;
    double m[6] = {xf, 0, 0, yf, ox - xf * ox, oy - yf * oy};
    compose_base(m);
}

void trfshf(int nx, int ny) {
    if (enter_routine("trfshf")) return;
    double m[6] = {1, 0, 0, 1, (double)nx, (double)ny};
    compose_base(m);
}

void trfres() {
    if (enter_routine("trfres")) return;
    PipelineState& p = pl();
    polyline_flush();
    const float identity[6] = {1, 0, 0, 1, 0, 0};
    for (int i = 0; i < 6; ++i) p.base[i] = identity[i];
    p.base_on = false;
}

void pagfll(int i) {
    if (enter_routine("pagfll")) return;
    if (check_range(i, 0, 255)) return;
    State& st = state();
    PipelineState& p = st.pipeline;
    int saved_colour = st.colour.current;
    int c[4] = {p.clip_xmin, p.clip_ymin, p.clip_xmax, p.clip_ymax};
    bool circle = p.circle;
    polyline_flush();
    p.clip_xmin = 0, p.clip_ymin = 0, p.clip_xmax = st.out.nxp, p.clip_ymax = st.out.nyp;
    p.circle = false;
    device_fill_rect(-p.shift_x, -p.shift_y, st.out.nxp - p.shift_x, st.out.nyp - p.shift_y, i);
    p.clip_xmin = c[0], p.clip_ymin = c[1], p.clip_xmax = c[2], p.clip_ymax = c[3];
    p.circle = circle;
    if (st.colour.current != saved_colour) select_colour(saved_colour);
}

}  // namespace korval

namespace korval {

void shdcrv(const float* x1ray, const float* y1ray, int n, const float* x2ray, const float* y2ray, int m) {
    if (check_level(2, 3, "shdcrv")) return;
    if (n < 1 || !x1ray || !y1ray) return (void)warn_routine_value(2, n);
    if (m < 1 || !x2ray || !y2ray) return (void)warn_routine_value(2, m);
    if (!rl_valid(x1ray, y1ray, n) || !rl_valid(x2ray, y2ray, m)) return;
    // The first curve forward, the second backward: one closed polygon.
    // Points that are not finite are left out.
    std::vector<float> px, py;
    px.reserve((std::size_t)n + (std::size_t)m);
    py.reserve((std::size_t)n + (std::size_t)m);
    auto put = [&](float x, float y) {
        if (!finite2(x, y)) return;
        float xp, yp;
        user_to_plot(x, y, xp, yp);
        px.push_back(xp);
        py.push_back(yp);
    };
    for (int i = 0; i < n; ++i) put(x1ray[i], y1ray[i]);
    for (int i = m - 1; i >= 0; --i) put(x2ray[i], y2ray[i]);
    if (px.size() < 3) return;
    clip_to_axis(0);
    plot_fill_polygon(px.data(), py.data(), (int)px.size());
    clip_to_axis(1);
}

}  // namespace korval
