// The 3-D axis system: graf3d with its three axes, ax3len, labl3d, flab3d,
// box3d, grid3d, 3-D lines and curves, vectr3 and nzposn.
#include <algorithm>
#include <cmath>
#include <string>

#include "axes/axes.hpp"
#include "draw/draw.hpp"
#include "draw/figures.hpp"
#include "graph3d/graph3d.hpp"
#include "korval/korval.hpp"
#include "plots/plots.hpp"
#include "text/text.hpp"

namespace korval {

namespace {

// Corners of the axes by the view point's class (x, y, z each below,
// within or above the box): three digits name the box corners P1, P2, P3
// of the plane an axis is drawn in; 'r' reverses the axis in the plane.
const char* const kAxisCorners[27][3] = {
    {"432", "321r", "437"},  {"126", "415r", "437"},  {"123", "412r", "437"},  {"432", "321r", "415"},
    {"123", "415r", "415"},  {"123", "412r", "415"},  {"214r", "321r", "326"}, {"348r", "415r", "326"},
    {"341r", "412r", "326"}, {"432", "143", "126"},   {"126", "234", "126"},   {"123", "234", "126"},
    {"432", "143", "126"},   {"123", "234", "126"},   {"123", "234", "126"},   {"214r", "321r", "348"},
    {"348r", "412r", "348"}, {"341r", "412r", "348"}, {"432", "143", "148"},   {"126", "237", "148"},
    {"123", "234", "148"},   {"214r", "143", "237"},  {"341r", "237", "237"},  {"341r", "234", "237"},
    {"214r", "143", "215"},  {"348r", "237", "215"},  {"341r", "234", "215"},
};

struct AxisPlace {
    int corner[3];
    bool rev;
    // Box corners at the axis' start (value a, or e when reversed) and end.
    int start, end;
};

int corner_of(const double p[3]) {
    for (int k = 1; k <= 8; ++k) {
        double c[3];
        box_corner(k, c);
        if (std::fabs(c[0] - p[0]) < 1e-9 && std::fabs(c[1] - p[1]) < 1e-9 && std::fabs(c[2] - p[2]) < 1e-9)
            return k;
    }
    return 0;
}

AxisPlace axis_place(int view_case, int axis) {
    const char* code = kAxisCorners[view_case][axis];
    AxisPlace p;
    for (int i = 0; i < 3; ++i) p.corner[i] = code[i] - '0';
    p.rev = code[3] == 'r';
    if (axis < 2) {
        p.start = p.corner[0];
        p.end = p.corner[1];
    } else {
        double c1[3], c2[3], c3[3], top[3];
        box_corner(p.corner[0], c1);
        box_corner(p.corner[1], c2);
        box_corner(p.corner[2], c3);
        for (int i = 0; i < 3; ++i) top[i] = c1[i] + c3[i] - c2[i];
        p.start = p.corner[0];
        p.end = corner_of(top);
    }
    return p;
}

int view_case() {
    const Graph3DState& g = g3();
    int c[3];
    for (int i = 0; i < 3; ++i) c[i] = g.vp[i] < -g.box[i] / 2 ? 1 : g.vp[i] > g.box[i] / 2 ? 3 : 2;
    return 9 * (c[0] - 1) + 3 * (c[1] - 1) + c[2] - 1;
}

// The label values of an axis (values or exponents) from orig in steps.
std::vector<double> label_values(int axis) {
    const Graph3DState& g = g3();
    std::vector<double> v;
    double a = g.a[axis], e = g.e[axis], o = g.orig[axis], s = g.step[axis];
    if (s == 0) return v;
    double lo = std::min(a, e), hi = std::max(a, e), eps = 1e-4 * std::fabs(s);
    for (int k = 0; k < 10000; ++k) {
        double x = o + k * s;
        if (x < lo - eps || x > hi + eps) break;
        v.push_back(x);
    }
    return v;
}

// Text of height h centred at the page point (cx, cy), turned by angle.
void centred_text(const std::string& text, double cx, double cy, int angle, int h) {
    if (text.empty()) return;
    int w = text_length(text.c_str());
    double t = angle * 3.14159265358979 / 180.0;
    double ux = std::cos(t), uy = -std::sin(t), dx = std::sin(t), dy = std::cos(t);
    double x = cx - ux * w / 2.0 - dx * h / 2.0, y = cy - uy * w / 2.0 - dy * h / 2.0;
    draw_text(text.c_str(), (int)std::lround(x), (int)std::lround(y), angle, h);
}

// The page angle of the projected direction a -> b, turned to read from
// the left (-90 < angle <= 90).
int page_angle(float ax, float ay, float bx, float by) {
    double t = std::atan2(-(double)(by - ay), (double)(bx - ax)) * 180.0 / 3.14159265358979;
    if (t > 90) t -= 180;
    if (t <= -90) t += 180;
    return (int)std::lround(t);
}

// Labels and name of an axis written on the page beside the projected axis
// (labl3d "HORI", "PARA", "OTHE"); the ticks are drawn in the plane.
void page_labels(int axis, const AxisPlace& place, bool parallel, int ends) {
    const Graph3DState& g = g3();
    AxesState& ax = state().axes;
    const AxisSettings& s = ax.axis[axis];
    double c1[3], c2[3], c3[3];
    box_corner(place.corner[0], c1);
    box_corner(place.corner[1], c2);
    box_corner(place.corner[2], c3);
    double along[3], out[3];
    double across_len, plot_len;
    for (int i = 0; i < 3; ++i) {
        along[i] = axis < 2 ? c2[i] - c1[i] : c3[i] - c2[i];
        out[i] = axis < 2 ? -(c3[i] - c2[i]) : -(c2[i] - c1[i]);
    }
    across_len = std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2]);
    plot_len = axis < 2 ? ax.nyl - 1 : ax.nxl - 1;
    for (double& o : out) o /= across_len;
    const double unit = across_len / std::max(1.0, plot_len);  // absolute units per plot unit
    const int h = state().text.height;
    const double a = g.a[axis], e = g.e[axis];
    auto point_at = [&](double value, double dist, float& x, float& y) {
        double f = (value - a) / (e - a);
        if (place.rev) f = 1 - f;
        double p[3];
        for (int i = 0; i < 3; ++i) p[i] = c1[i] + f * along[i] + dist * unit * out[i];
        project_abs(p, x, y);
    };
    float x0, y0, x1, y1;
    point_at(a, 0, x0, y0);
    point_at(e, 0, x1, y1);
    const int angle = parallel ? page_angle(x0, y0, x1, y1) : 0;
    const double dist = s.label_dist + ax.tick_major;
    int extent = 0;
    if (s.label_type != 0) {
        std::vector<double> values = label_values(axis);
        // Which value sits at the plane's start corner: a, or e when reversed.
        const double at_start = place.rev ? e : a;
        for (std::size_t k = 0; k < values.size(); ++k) {
            const double tol = 1e-4 * std::fabs(e - a);
            const bool at_p1 = std::fabs(values[k] - at_start) <= tol;
            const bool at_p2 = std::fabs(values[k] - (place.rev ? a : e)) <= tol;
            if ((at_p1 && (ends & 1)) || (at_p2 && (ends & 2))) continue;
            std::string text = format_label(values[k], (int)k, g.log[axis] ? 1 : 0, axis);
            float bx, by, lx, ly;
            point_at(values[k], 0, bx, by);
            point_at(values[k], dist, lx, ly);
            int w = text_length(text.c_str());
            // Push the text box off the axis along the projected outward direction.
            double dx = lx - bx, dy = ly - by, l = std::sqrt(dx * dx + dy * dy);
            if (l > 0) dx /= l, dy /= l;
            double t = angle * 3.14159265358979 / 180.0;
            double ux = std::cos(t), uy = -std::sin(t);
            double half = std::fabs(dx * ux + dy * uy) * w / 2.0 + std::fabs(-dx * uy + dy * ux) * h / 2.0;
            centred_text(text, lx + dx * half, ly + dy * half, angle, h);
            extent = std::max(extent, (int)std::lround(2 * half));
        }
    }
    if (!s.name.empty()) {
        const int hn = ax.name_height;
        int keep = state().text.height;
        state().text.height = hn;
        float bx, by, lx, ly;
        double mid = (a + e) / 2;
        point_at(mid, 0, bx, by);
        point_at(mid, dist, lx, ly);
        int nangle = page_angle(x0, y0, x1, y1);
        if (axis == 2 && !parallel) nangle = 90;
        double dx = lx - bx, dy = ly - by, l = std::sqrt(dx * dx + dy * dy);
        if (l > 0) dx /= l, dy /= l;
        double push = extent + s.name_dist + hn / 2.0;
        centred_text(s.name, lx + dx * push, ly + dy * push, nangle, hn);
        state().text.height = keep;
    }
    plot_flush();
}

void draw_axes3d() {
    Graph3DState& g = g3();
    State& st = state();
    const int keep_height = st.text.height, keep_name = st.axes.name_height;
    st.text.height = (int)std::lround(1.5 * keep_height);
    st.axes.name_height = (int)std::lround(1.5 * keep_name);
    const int vc = view_case();
    AxisPlace places[3];
    for (int k = 0; k < 3; ++k) places[k] = axis_place(vc, k);
    for (int k = 0; k < 3; ++k) {
        const AxisPlace& p = places[k];
        // Labels where an axis meets one drawn before it stay off, unless flab3d.
        int ends = 0;
        if (!g.first_labels) {
            bool first = false, last = false;
            for (int j = 0; j < k; ++j) {
                const AxisPlace& q = places[j];
                if (p.start == q.start || p.start == q.end) first = true;
                if (p.end == q.start || p.end == q.end) last = true;
            }
            ends = first && last ? 3 : first ? 1 : last ? 2 : 0;
        }
        double c1[3], c2[3], c3[3];
        box_corner(p.corner[0], c1);
        box_corner(p.corner[1], c2);
        box_corner(p.corner[2], c3);
        const int mode = g.label_mode;
        const bool in_plane = mode == 0;
        const bool parallel = mode == 2 || (mode == 3 && k < 2);
        in_temporary_plane(c1, c2, c3, k < 2 ? k : -1, k < 2 && p.rev, k < 2 ? -1 : 2, [&] {
            AxesState& a = state().axes;
            AxisSettings& s = a.axis[k < 2 ? 0 : 2];
            if (ends) s.ends = ends;
            std::string name = s.name;
            if (!in_plane) {
                s.label_type = 0;
                s.name.clear();
                name.clear();
            }
            if (k < 2)
                draw_axis(a.a[0], a.e[0], a.orig[0], a.step[0], a.nxl, name.c_str(), 0, a.nxa, a.nya,
                          a.scale_type[0], 0);
            else
                draw_axis(a.a[1], a.e[1], a.orig[1], a.step[1], a.nyl, name.c_str(), 1, a.nxa, a.nya,
                          a.scale_type[1], 2);
        });
        if (!in_plane) page_labels(k, p, parallel, ends);
    }
    st.text.height = keep_height;
    st.axes.name_height = keep_name;
}

PlotsState& pls() { return state().plots; }

float scale_factor() {
    float f = state().out.scale_factor;
    return f > 0 ? f : 1.0f;
}

}  // namespace

// ---- graf3d and its settings -----------------------------------------------------------

void graf3d(float xa, float xe, float xor_, float xstp, float ya, float ye, float yor, float ystp, float za,
            float ze, float zor, float zstp) {
    if (check_level(1, 1, "graf3d")) return;
    State& st = state();
    AxesState& a = st.axes;
    Graph3DState& g = g3();
    autoscale_axis(xa, xe, xor_, xstp, 0);
    autoscale_axis(ya, ye, yor, ystp, 1);
    autoscale_axis(za, ze, zor, zstp, 2);
    const int sx = st.pipeline.shift_x, sy = st.pipeline.shift_y;
    int bad = check_axis_parameters(xa, xe, xor_, xstp, 2, 1 - sx, 1 - sy);
    bad |= check_axis_parameters(ya, ye, yor, ystp, 2, 1 - sx, 1 - sy);
    bad |= check_axis_parameters(za, ze, zor, zstp, 2, 1 - sx, 1 - sy);
    if (bad) return;
    const float av[3] = {xa, ya, za}, ev[3] = {xe, ye, ze}, ov[3] = {xor_, yor, zor},
                sv[3] = {xstp, ystp, zstp};
    store_axis_scaling(xa, xe, xor_, xstp, ya, ye, yor, ystp);
    for (int i = 0; i < 3; ++i) {
        g.a[i] = av[i], g.e[i] = ev[i], g.orig[i] = ov[i], g.step[i] = sv[i];
        g.log[i] = a.scale_type[i] != 0;
        a.a[i] = av[i], a.e[i] = ev[i], a.orig[i] = ov[i], a.step[i] = sv[i];
    }
    a.kind = 3;
    st.run.level = 3;
    set_axis_rectangle();
    g.active = true;
    g.pen_set = false;
    setup_camera();
    resolve_light_positions();
    // Shaded surfaces take their colours from the z axis (or zscale).
    set_surface_colour_scale();
    if (!a.nograf) draw_axes3d();
}

void ax3len(int nx, int ny, int nz) {
    if (check_level(1, 1, "ax3len")) return;
    const OutputState& o = state().out;
    if (nx < 2 || nx > o.nxp) return void(warn_routine_value(2, nx));
    if (ny < 2 || ny > o.nyp) return void(warn_routine_value(2, ny));
    if (nz < 2 || nz > o.nyp) return void(warn_routine_value(2, nz));
    AxesState& a = state().axes;
    a.nxl = nx;
    a.nyl = ny;
    a.nzl = nz;
}

void labl3d(const char* s) {
    check_level(0, 3, "labl3d");
    int k = match_keyword("STAN+HORI+PARA+OTHE", 4, s);
    if (k) g3().label_mode = k - 1;
}

void flab3d() {
    check_level(0, 3, "flab3d");
    g3().first_labels = true;
}

// ---- box, grids, lines --------------------------------------------------------------------

void box3d() {
    if (!need_box("box3d")) return;
    clip_to_axis(0);
    static const int edges[12][2] = {{1, 2}, {2, 3}, {3, 4}, {4, 1}, {5, 6}, {6, 7},
                                     {7, 8}, {8, 5}, {1, 5}, {2, 6}, {3, 7}, {4, 8}};
    for (const auto& e : edges) {
        double a[3], b[3];
        box_corner(e[0], a);
        box_corner(e[1], b);
        line3d_move(a);
        line3d_draw(b);
    }
    plot_flush();
    clip_to_axis(1);
}

void grid3d(int ngx, int ngy, const char* s) {
    if (!need_box("grid3d")) return;
    if (ngx < 0) warn_routine_value(2, ngx), ngx = 0;
    if (ngy < 0) warn_routine_value(2, ngy), ngy = 0;
    int k = 1;
    if (s && s[0] && !(k = match_keyword("ALL +BACK+BOTT", 3, s))) return;
    Graph3DState& g = g3();
    const int keep_nograf = state().axes.nograf;
    state().axes.nograf = 1;
    auto face = [&](int k1, int k2, int k3, int ax, int ay) {
        double c1[3], c2[3], c3[3];
        box_corner(k1, c1);
        box_corner(k2, c2);
        box_corner(k3, c3);
        in_temporary_plane(c1, c2, c3, ax, false, ay, [&] { grid(ngx, ngy); });
    };
    if (k != 2) face(1, 2, 3, 0, 1);
    if (k != 3) {
        if (g.vp[0] >= 0)
            face(1, 4, 8, 1, 2);
        else
            face(2, 3, 7, 1, 2);
        if (g.vp[1] >= 0)
            face(1, 2, 6, 0, 2);
        else
            face(4, 3, 7, 0, 2);
    }
    state().axes.nograf = keep_nograf;
    state().run.routine = "grid3d";
}

void strt3d(float x, float y, float z) {
    if (check_level(3, 3, "strt3d")) return;
    double p[3] = {x, y, z};
    line3d_move(p);
}

void conn3d(float x, float y, float z) {
    if (check_level(3, 3, "conn3d")) return;
    double p[3] = {x, y, z};
    line3d_draw(p);
}

void curv3d(const float* x, const float* y, const float* z, int n) {
    if (!need_box("curv3d")) return;
    State& st = state();
    PlotsState& p = pls();
    Graph3DState& g = g3();
    p.filled_curve = false;
    if (n < 1) return (void)warn_routine_value(2, n);
    for (int axis = 0; axis < 3; ++axis) {
        if (!g.log[axis]) continue;
        const float* v = axis == 0 ? x : axis == 1 ? y : z;
        for (int i = 0; i < n; ++i)
            if (v[i] <= 0) return (void)warn_routine(27);
    }
    if (p.interpolation != 0) warn_routine(14);
    PipelineState& pipe = st.pipeline;
    CurveStyle style;
    if (p.legend_pending) {
        record_legend_entry(p.cycle_index);
        p.legend_pending = false;
    }
    clip_to_axis(0);
    std::vector<double> pts((std::size_t)n * 3);
    for (int i = 0; i < n; ++i) user_to_abs(x[i], y[i], z[i], &pts[(std::size_t)i * 3]);
    if (p.marker_increment != 0) {
        int step = std::abs(p.marker_increment);
        for (int i = 0; i < n; i += step) {
            const double* q = &pts[(std::size_t)i * 3];
            if (!inside_clip_volume(q)) continue;
            float xp, yp;
            if (project_abs(q, xp, yp)) draw_symbol(p.symbol_number, round_nearest(xp), round_nearest(yp));
        }
    }
    if (p.marker_increment >= 0 && n > 1) {
        const float f = scale_factor();
        int passes = std::max(1, (int)std::lround(p.thickness * f));
        for (int pass = 1; pass <= passes; ++pass) {
            dash_reset();
            int off = pass % 2 == 0 ? pass / 2 : -(pass / 2);
            pipe.offset = off / f;
            line3d_move(&pts[0]);
            for (int i = 1; i < n; ++i) line3d_draw(&pts[(std::size_t)i * 3]);
            plot_flush();
        }
    }
    plot_flush();
    pipe.offset = 0;
    pipe.deferred_move = false;
    clip_to_axis(1);
    style.restore();
    advance_curve_attributes();
}

void vectr3(float x1, float y1, float z1, float x2, float y2, float z2, int ivec) {
    if (!need_box("vectr3")) return;
    double a[3], b[3];
    user_to_abs(x1, y1, z1, a);
    user_to_abs(x2, y2, z2, b);
    float ax, ay, bx, by;
    if (!project_abs(a, ax, ay) || !project_abs(b, bx, by)) return;
    clip_to_axis(0);
    draw_arrow(ax, ay, bx, by, ivec);
    plot_flush();
    clip_to_axis(1);
}

int nzposn(float z) {
    if (enter_routine("nzposn")) return 0;
    if (g3().active && state().axes.kind == 3) set_surface_colour_scale();
    int c = z_to_colour(z);
    return c < 0 ? state().colour.under : c;
}

}  // namespace korval
