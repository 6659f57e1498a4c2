// The vector pipeline: pen operations, dashing, parallel offset, the
// polyline buffer, plane transformations, clipping and thick-line emulation.
//
// The hot path (plot_draw of a solid line into an inside region) touches
// only the state record: no allocation, no output call per point.
#include <cmath>
#include <utility>

#include "core/core.hpp"
#include "draw/draw.hpp"

namespace korval {

namespace {

inline PipelineState& pl() { return state().pipeline; }

constexpr float kPi = 3.14159265358979f;

inline void transform(PipelineState& p, float& x, float& y) {
    if (p.plane_project) p.plane_project(x, y);
    if (p.base_on) {
        const float* m = p.base;
        float tx = m[0] * x + m[1] * y + m[4];
        float ty = m[2] * x + m[3] * y + m[5];
        x = tx;
        y = ty;
    }
}

// A visible segment: to the horizon filter, the device or the blanking test.
inline void draw_visible(PipelineState& p, float x0, float y0, float x1, float y1) {
    if (p.hidden_segment) {
        p.hidden_segment(x0, y0, x1, y1);
    } else if (p.blanking == 0 || !p.blank_segment) {
        device_line(x1, y1, kOpDraw);
    } else {
        p.blank_segment(x0, y0, x1, y1);
    }
}

inline bool outside_rect(const PipelineState& p, float x, float y) {
    return x < (float)p.clip_xmin || x > (float)p.clip_xmax || y < (float)p.clip_ymin ||
           y > (float)p.clip_ymax;
}

inline bool outside(const PipelineState& p, float x, float y) {
    if (p.circle) {
        float dx = x - p.circle_x, dy = y - p.circle_y;
        return std::sqrt(dx * dx + dy * dy) > p.circle_r;
    }
    return outside_rect(p, x, y);
}

// 1 below the minimum, 2 inside, 3 above the maximum (bounds inclusive).
inline int outcode(float v, int lo, int hi) { return v < (float)lo ? 1 : (v > (float)hi ? 3 : 2); }

void clip_rect_segment(PipelineState& p, float x0, float y0, float x1, float y1) {
    bool start_moved = false;
    // Each pass puts one coordinate of one end on a boundary; a few passes
    // always settle a segment, the bound only guards against rounding.
    for (int pass = 0;; ++pass) {
        int cx0 = outcode(x0, p.clip_xmin, p.clip_xmax), cy0 = outcode(y0, p.clip_ymin, p.clip_ymax);
        int cx1 = outcode(x1, p.clip_xmin, p.clip_xmax), cy1 = outcode(y1, p.clip_ymin, p.clip_ymax);
        if (cx0 == 2 && cy0 == 2 && cx1 == 2 && cy1 == 2) break;
        if ((cx0 == cx1 && cx0 != 2) || (cy0 == cy1 && cy0 != 2) || pass == 8) return;
        bool first = cx0 != 2 || cy0 != 2;
        float& x = first ? x0 : x1;
        float& y = first ? y0 : y1;
        int cx = first ? cx0 : cx1;
        int cy = first ? cy0 : cy1;
        float ox = first ? x1 : x0, oy = first ? y1 : y0;
        if (cx != 2) {
            float b = (float)(cx == 1 ? p.clip_xmin : p.clip_xmax);
            if (std::fabs(oy - y) > 1e-35f) y = y + (oy - y) * (b - x) / (ox - x);
            x = b;
        } else {
            float b = (float)(cy == 1 ? p.clip_ymin : p.clip_ymax);
            if (std::fabs(ox - x) > 1e-35f) x = x + (ox - x) * (b - y) / (oy - y);
            y = b;
        }
        if (first) start_moved = true;
    }
    if (start_moved) device_line(x0, y0, kOpMove);
    draw_visible(p, x0, y0, x1, y1);
}

void clip_circle_segment(PipelineState& p, float x0, float y0, float x1, float y1) {
    float cx = p.circle_x, cy = p.circle_y, r = p.circle_r;
    auto dist = [&](float x, float y) { return std::sqrt((x - cx) * (x - cx) + (y - cy) * (y - cy)); };
    float d0 = dist(x0, y0), d1 = dist(x1, y1);
    if (d0 <= r && d1 <= r) {
        draw_visible(p, x0, y0, x1, y1);
        return;
    }
    float dx = x1 - x0, dy = y1 - y0;
    if (std::fabs(dx) + std::fabs(dy) < 0.1f) return;
    if (d0 <= r || d1 <= r) {
        // Bisection between the inside and the outside end.
        float ax = d0 <= r ? x0 : x1, ay = d0 <= r ? y0 : y1;
        float bx = d0 <= r ? x1 : x0, by = d0 <= r ? y1 : y0;
        float mx = bx, my = by;
        for (int i = 0; i < 20; ++i) {
            mx = 0.5f * (ax + bx);
            my = 0.5f * (ay + by);
            float dm = dist(mx, my);
            if (std::fabs(dm - r) < 0.1f) break;
            if (dm > r) {
                bx = mx, by = my;
            } else {
                ax = mx, ay = my;
            }
        }
        if (d0 > r) {
            device_line(mx, my, kOpMove);
            draw_visible(p, mx, my, x1, y1);
        } else {
            draw_visible(p, x0, y0, mx, my);
        }
        return;
    }
    if (p.axis.map_circular) return;
    // Both ends outside: the chord, when both crossings lie in the segment's box.
    double a = (double)dx * dx + (double)dy * dy;
    double b = 2.0 * ((double)dx * (x0 - cx) + (double)dy * (y0 - cy));
    double c = (double)(x0 - cx) * (x0 - cx) + (double)(y0 - cy) * (y0 - cy) - (double)r * r;
    double disc = b * b - 4 * a * c;
    if (disc <= 0) return;
    double sq = std::sqrt(disc);
    double t1 = (-b - sq) / (2 * a), t2 = (-b + sq) / (2 * a);
    float qx0 = (float)(x0 + t1 * dx), qy0 = (float)(y0 + t1 * dy);
    float qx1 = (float)(x0 + t2 * dx), qy1 = (float)(y0 + t2 * dy);
    float lox = std::fmin(x0, x1), hix = std::fmax(x0, x1);
    float loy = std::fmin(y0, y1), hiy = std::fmax(y0, y1);
    auto in_box = [&](float x, float y) { return x >= lox && x <= hix && y >= loy && y <= hiy; };
    if (!in_box(qx0, qy0) || !in_box(qx1, qy1)) return;
    device_line(qx0, qy0, kOpMove);
    draw_visible(p, qx0, qy0, qx1, qy1);
}

// ---- thick-line emulation --------------------------------------------------

// Walks an outline: the first point is a move (when inside), every further
// point a clipped segment from the previous one.
struct Walker {
    PipelineState& p;
    float px = 0, py = 0;
    bool started = false;
    void to(float x, float y) {
        if (!started) {
            if (!outside(p, x, y)) device_line(x, y, kOpMove);
            started = true;
        } else {
            clip_segment(px, py, x, y);
        }
        px = x;
        py = y;
    }
};

void round_cap(Walker& w, float cx, float cy, float r, float angle) {
    int m = (int)(1.25663708f * r);
    if (m < 3) return;
    for (int j = 1; j <= m; ++j) {
        float a = angle + 0.5f * kPi - (float)j * kPi / (float)(m + 1);
        w.to(cx + r * std::cos(a), cy - r * std::sin(a));
    }
}

struct Seg {
    float s, c, theta;  // direction with y pointing up
};

inline Seg segment_dir(float x0, float y0, float x1, float y1) {
    float t = direction_angle(y0 - y1, x1 - x0);
    return {std::sin(t), std::cos(t), t};
}

// One side of a polyline outline: the offset segments (offset -h along the
// normal (s, c)) joined at the inner vertices.  q holds m + 1 points, stepped
// by `step` from index `first`.
struct Side {
    const float* x;
    const float* y;
    int first, step, m;  // point k is index first + k * step, k = 0..m
    float X(int k) const { return x[first + k * step]; }
    float Y(int k) const { return y[first + k * step]; }
};

// The join at vertex k (between segment k-1 and segment k) of a side.
void join(Walker& w, const Side& sd, int k, int km1, float h) {
    const PipelineState& p = w.p;
    int kn = (k + 1) % (sd.m + 1);
    Seg d0 = segment_dir(sd.X(km1), sd.Y(km1), sd.X(k), sd.Y(k));
    Seg d1 = segment_dir(sd.X(k), sd.Y(k), sd.X(kn), sd.Y(kn));
    // End of the first offset segment, start of the second.
    float bx = sd.X(k) - h * d0.s, by = sd.Y(k) - h * d0.c;
    float ax = sd.X(k) - h * d1.s, ay = sd.Y(k) - h * d1.c;
    if (p.line_join == 0) {
        // The angle between the two segments at the vertex, folded into
        // 0..pi/2; the miter is w / sin(alpha) long.
        float turn = d1.theta - (d0.theta + kPi);
        while (turn < 0) turn += 2 * kPi;
        while (turn >= 2 * kPi) turn -= 2 * kPi;
        float alpha = turn <= kPi ? 0.5f * turn : kPi - 0.5f * turn;
        float sa = std::sin(alpha);
        if (sa > 0 && 1.0f / sa <= p.miter_limit) {
            float xs, ys;
            float x0 = sd.X(km1) - h * d0.s, y0 = sd.Y(km1) - h * d0.c;
            float x3 = sd.X(kn) - h * d1.s, y3 = sd.Y(kn) - h * d1.c;
            if (line_intersection(x0, y0, bx, by, ax, ay, x3, y3, xs, ys)) {
                w.to(xs, ys);
            } else {
                w.to(bx, by);
            }
            return;
        }
    }
    w.to(bx, by);
    w.to(ax, ay);
}

void outline_open(PipelineState& p, const float* x, const float* y, int n, float h, float e) {
    Walker w{p};
    int m = n - 1;
    Side fwd{x, y, 0, 1, m}, back{x, y, m, -1, m};
    Seg first = segment_dir(x[0], y[0], x[1], y[1]);
    Seg last = segment_dir(x[m - 1], y[m - 1], x[m], y[m]);
    // Forward side, from the (extended) start.
    w.to(x[0] - e * first.c - h * first.s, y[0] + e * first.s - h * first.c);
    for (int k = 1; k < m; ++k) join(w, fwd, k, k - 1, h);
    w.to(x[m] + e * last.c - h * last.s, y[m] - e * last.s - h * last.c);
    if (p.line_cap == 1) round_cap(w, x[m], y[m], h, last.theta);
    // Backward side: the reversed direction puts the offset on the other side.
    w.to(x[m] + e * last.c + h * last.s, y[m] - e * last.s + h * last.c);
    for (int k = 1; k < m; ++k) join(w, back, k, k - 1, h);
    w.to(x[0] - e * first.c + h * first.s, y[0] + e * first.s + h * first.c);
    if (p.line_cap == 1) round_cap(w, x[0], y[0], h, first.theta + kPi);
    w.to(x[0] - e * first.c - h * first.s, y[0] + e * first.s - h * first.c);
}

// A closed polyline (first point = last point): each side is a ring.
void outline_closed(PipelineState& p, const float* x, const float* y, int n, float h) {
    int m = n - 1;  // distinct vertices 0..m-1; point m repeats point 0
    for (int side = 0; side < 2; ++side) {
        Walker w{p};
        // The ring of vertices without the repeated point.
        Side sd = side == 0 ? Side{x, y, 0, 1, m - 1} : Side{x, y, m - 1, -1, m - 1};
        for (int k = 0; k <= m; ++k) {
            int kk = k % m;
            join(w, sd, kk, (kk + m - 1) % m, h);
        }
    }
}

void thick_lines(PipelineState& p, const float* bx, const float* by, int count) {
    float u = state().out.unit_factor > 0 ? state().out.unit_factor : 1.0f;
    int nw = (int)((float)p.line_width * u + 0.5f);
    if (nw <= 1 || count < 2) return;
    // Drop repeated points: a segment without length has no direction.
    float x[PipelineState::kBufferSize], y[PipelineState::kBufferSize];
    int n = 0;
    for (int i = 0; i < count; ++i) {
        if (n > 0 && bx[i] == x[n - 1] && by[i] == y[n - 1]) continue;
        x[n] = bx[i];
        y[n] = by[i];
        ++n;
    }
    if (n == 1) {  // a dot: keep one zero-length segment
        x[1] = x[0];
        y[1] = y[0];
        n = 2;
    }
    bool closed = n > 3 && std::fabs(x[0] - x[n - 1]) < 0.5f && std::fabs(y[0] - y[n - 1]) < 0.5f;
    int outlines = (nw + 1) / 3;
    for (int k = 1; k <= outlines; ++k) {
        int wk = k == outlines ? nw : 3 * k;
        float h = (float)wk * 0.5f / u;
        float e = p.line_cap == 2 ? h : 0.0f;
        if (n == 2) {
            Seg d = segment_dir(x[0], y[0], x[1], y[1]);
            float ex = e * d.c, ey = -e * d.s, hx = h * d.s, hy = h * d.c;
            float ax = (float)(int)(x[0] - ex - hx), ay = (float)(int)(y[0] - ey - hy);
            float bx2 = (float)(int)(x[1] + ex - hx), by2 = (float)(int)(y[1] + ey - hy);
            float cx = (float)(int)(x[1] + ex + hx), cy = (float)(int)(y[1] + ey + hy);
            float dx = (float)(int)(x[0] - ex + hx), dy = (float)(int)(y[0] - ey + hy);
            Walker w{p};
            w.to(ax, ay);
            w.to(bx2, by2);
            if (p.line_cap == 1) round_cap(w, x[1], y[1], h, d.theta);
            w.to(cx, cy);
            w.to(dx, dy);
            if (p.line_cap == 1) round_cap(w, x[0], y[0], h, d.theta + kPi);
            w.to(ax, ay);
        } else if (closed) {
            outline_closed(p, x, y, n, h);
        } else {
            outline_open(p, x, y, n, h, e);
        }
    }
}

// Moves the dash pattern on by a length without drawing.  Two periods bring
// the pattern back to the same element and pen state.
void advance_dash(PipelineState& p, double d) {
    double period = 0;
    for (int i = 0; i < p.dash_count; ++i) period += p.dash[i] > 0 ? p.dash[i] : 1;
    if (d > 2 * period) d = std::fmod(d - p.dash_remaining, 2 * period) + p.dash_remaining;
    while (d >= p.dash_remaining) {
        d -= p.dash_remaining;
        if (++p.dash_element >= p.dash_count) p.dash_element = 0;
        int el = p.dash[p.dash_element];
        p.dash_remaining = el > 0 ? el : 1;
        p.dash_gap = !p.dash_gap;
    }
    p.dash_remaining -= d;
}

}  // namespace

// ---- small helpers -----------------------------------------------------------

int round_nearest(float v) { return v >= 0 ? (int)(v + 0.5f) : (int)(v - 0.5f); }

float direction_angle(float dy, float dx) {
    if (std::fabs(dx) < 1e-6f) return dy >= 0 ? 1.570796f : -1.570796f;
    return std::atan2(dy, dx);
}

bool line_intersection(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                       float& xs, float& ys) {
    // Parallel when the directions differ by less than 0.001 (as a sine, so
    // that vertical lines need no special case).
    double ax = x2 - x1, ay = y2 - y1, bx = x4 - x3, by = y4 - y3;
    double la = std::sqrt(ax * ax + ay * ay), lb = std::sqrt(bx * bx + by * by);
    if (la == 0 || lb == 0) return false;
    double cross = ax * by - ay * bx;
    if (std::fabs(cross) / (la * lb) < 0.001) return false;
    double t = ((x3 - x1) * by - (y3 - y1) * bx) / cross;
    xs = (float)(x1 + t * ax);
    ys = (float)(y1 + t * ay);
    return true;
}

int page_y(int y) {
    const PipelineState& p = pl();
    if (p.page_bottom && !p.page_y_override) return state().out.nyp - y;
    return y;
}

int point_outside_clip(float x, float y) { return outside(pl(), x, y) ? 1 : 0; }

void clip_segment(float x0, float y0, float x1, float y1) {
    PipelineState& p = pl();
    if (p.circle)
        clip_circle_segment(p, x0, y0, x1, y1);
    else
        clip_rect_segment(p, x0, y0, x1, y1);
}

void clip_to_page() {
    PipelineState& p = pl();
    p.clip_xmin = 0;
    p.clip_ymin = 0;
    p.clip_xmax = state().out.nxp;
    p.clip_ymax = state().out.nyp;
    p.circle = false;
}

// ---- the polyline buffer -------------------------------------------------------

void polyline_flush() {
    PipelineState& p = pl();
    if (p.count == 0 || p.flushing) return;
    p.flushing = true;
    int n = p.count;
    const float* x = p.buf_x;
    const float* y = p.buf_y;
    bool inside = !outside(p, x[0], y[0]);
    if (inside && !p.hidden_segment) device_line(x[0], y[0], kOpMove);
    for (int i = 1; i < n; ++i) {
        if (inside && !outside(p, x[i], y[i])) {
            draw_visible(p, x[i - 1], y[i - 1], x[i], y[i]);
        } else {
            inside = false;
            clip_segment(x[i - 1], y[i - 1], x[i], y[i]);
        }
    }
    if (p.line_width > 1) thick_lines(p, x, y, n);
    p.last_x = x[n - 1];
    p.last_y = y[n - 1];
    p.has_last = true;
    p.count = 0;
    p.flushing = false;
}

void polyline_start(float x, float y) {
    PipelineState& p = pl();
    polyline_flush();
    transform(p, x, y);
    p.buf_x[0] = x;
    p.buf_y[0] = y;
    p.count = 1;
}

void polyline_add(float x, float y) {
    PipelineState& p = pl();
    transform(p, x, y);
    if (p.count == 0 && p.has_last) {
        p.buf_x[0] = p.last_x;
        p.buf_y[0] = p.last_y;
        p.count = 1;
    }
    p.buf_x[p.count] = x;
    p.buf_y[p.count] = y;
    if (++p.count == PipelineState::kBufferSize) {
        // Restart with the last point so that the polyline goes on unbroken.
        polyline_flush();
        p.buf_x[0] = p.last_x;
        p.buf_y[0] = p.last_y;
        p.count = 1;
    }
}

void plot_flush() { polyline_flush(); }

// ---- pen operations ------------------------------------------------------------

void plot_move(float x, float y) {
    PipelineState& p = pl();
    p.pen_x = x + (float)p.shift_x;
    p.pen_y = y + (float)p.shift_y;
    if (p.offset == 0.0f) {
        polyline_start(p.pen_x, p.pen_y);
    } else {
        p.deferred_move = true;
    }
}

void plot_draw(float x, float y) {
    PipelineState& p = pl();
    float px = x + (float)p.shift_x, py = y + (float)p.shift_y;
    bool solid = p.dash_count <= 1;
    if (solid && p.offset == 0.0f) {
        p.pen_x = px;
        p.pen_y = py;
        polyline_add(px, py);
        return;
    }
    float theta = direction_angle(p.pen_y - py, px - p.pen_x);
    double s = std::sin((double)theta), c = std::cos((double)theta);
    double len = p.pen_y != py ? std::fabs((p.pen_y - py) / s) : std::fabs(px - p.pen_x);
    double d = p.offset;
    double ox = -d * s, oy = -d * c;  // the sideways shift of both ends
    double cx = p.pen_x + ox, cy = p.pen_y + oy;
    double ex = px + ox, ey = py + oy;
    if (d != 0.0) {
        if (p.deferred_move) {
            polyline_start((float)cx, (float)cy);
            p.deferred_move = false;
        } else if (!solid && p.dash_gap) {
            polyline_start((float)cx, (float)cy);
        } else {
            polyline_add((float)cx, (float)cy);
        }
        if (solid) {
            polyline_add((float)ex, (float)ey);
            p.pen_x = px;
            p.pen_y = py;
            return;
        }
    }
    // A segment far longer than any page (bad input) would cost a loop turn
    // per dash: the parts well outside the clipping region only advance the
    // pattern, arithmetically.
    double tail = 0;
    if (len > 1e5) {
        double t0 = 0, t1 = len;
        const double m = 1e4;
        double lo[2] = {p.clip_xmin - m, p.clip_ymin - m}, hi[2] = {p.clip_xmax + m, p.clip_ymax + m};
        double org[2] = {cx, cy}, dir[2] = {c, -s};
        for (int k = 0; k < 2; ++k) {
            if (std::fabs(dir[k]) < 1e-12) {
                if (org[k] < lo[k] || org[k] > hi[k]) t1 = -1;
                continue;
            }
            double a = (lo[k] - org[k]) / dir[k], b = (hi[k] - org[k]) / dir[k];
            if (a > b) std::swap(a, b);
            if (a > t0) t0 = a;
            if (b < t1) t1 = b;
        }
        if (t1 <= t0) t0 = t1 = len;
        advance_dash(p, t0);
        cx += c * t0;
        cy -= s * t0;
        if (!p.dash_gap) polyline_start((float)cx, (float)cy);
        tail = len - t1;
        len = t1 - t0;
        ex = cx + c * len;
        ey = cy - s * len;
    }
    // Dashing: the pattern position carries across segments and calls.
    while (len >= p.dash_remaining) {
        cx += c * p.dash_remaining;
        cy -= s * p.dash_remaining;
        if (p.dash_gap)
            polyline_start((float)cx, (float)cy);
        else
            polyline_add((float)cx, (float)cy);
        len -= p.dash_remaining;
        if (++p.dash_element >= p.dash_count) p.dash_element = 0;
        int el = p.dash[p.dash_element];
        p.dash_remaining = el > 0 ? el : 1;
        p.dash_gap = !p.dash_gap;
    }
    if (p.dash_gap)
        polyline_start((float)ex, (float)ey);
    else
        polyline_add((float)ex, (float)ey);
    p.dash_remaining -= len;
    if (tail > 0) advance_dash(p, tail);
    p.pen_x = px;
    p.pen_y = py;
}

void dash_reset() {
    PipelineState& p = pl();
    p.dash_element = 0;
    p.dash_gap = false;
    p.dash_remaining = p.dash[0] > 0 ? p.dash[0] : 1;
}

// ---- clipping state --------------------------------------------------------------

static void save_and_narrow_to_axis(PipelineState& p);

void clip_to_axis(int mode) {
    PipelineState& p = pl();
    if (p.border_mode == 2) return;
    polyline_flush();
    if (mode == 1) {
        p.clip_xmin = p.saved_xmin;
        p.clip_ymin = p.saved_ymin;
        p.clip_xmax = p.saved_xmax;
        p.clip_ymax = p.saved_ymax;
        p.circle = false;
    } else if (mode != 0) {
        return;
    } else {
        save_and_narrow_to_axis(p);
    }
    // Screens and raster pictures clip in the device as well: they get
    // the narrowed and the restored rectangle alike.
    int code = state().out.format;
    if (code < 100 || (code >= 601 && code <= 700)) {
        if (Device* d = state().out.device.get())
            d->clip_rect(p.clip_xmin, p.clip_ymin, p.clip_xmax, p.clip_ymax);
    }
}

// Saves the region and narrows it to the axis system (circle or rectangle).
static void save_and_narrow_to_axis(PipelineState& p) {
    p.saved_xmin = p.clip_xmin;
    p.saved_ymin = p.clip_ymin;
    p.saved_xmax = p.clip_xmax;
    p.saved_ymax = p.clip_ymax;
    if (p.clip_mode == 1 || !p.axis.valid) return;
    const AxisClip& a = p.axis;
    if (p.clip_mode == 2 || a.polar || (a.map_circular && p.clip_mode == 0)) {
        p.circle = true;
        p.circle_x = a.cx;
        p.circle_y = a.cy;
        p.circle_r = a.radius;
    } else {
        p.circle = false;
        if (a.xmin > p.clip_xmin) p.clip_xmin = a.xmin;
        if (a.ymin > p.clip_ymin) p.clip_ymin = a.ymin;
        if (a.xmax < p.clip_xmax) p.clip_xmax = a.xmax;
        if (a.ymax < p.clip_ymax) p.clip_ymax = a.ymax;
    }
}

void suspend_transforms(int mode) {
    PipelineState& p = pl();
    polyline_flush();
    if (mode == 1) {
        if (p.suspended) return;
        p.suspended = true;
        p.saved_base_on = p.base_on;
        p.saved_plane = p.plane_project;
        p.base_on = false;
        p.plane_project = nullptr;
    } else if (p.suspended) {
        p.suspended = false;
        p.base_on = p.saved_base_on;
        p.plane_project = p.saved_plane;
    }
}

}  // namespace korval
