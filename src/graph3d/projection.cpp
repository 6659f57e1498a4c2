// The camera of the 3-D axis system: user, absolute, eye and plot
// coordinates; the view settings; planes (grfini .. grffin); 3-D lines.
//
// Computations run in double precision: the projection divides by the
// distance in front of the camera, and single precision would make lines
// that meet in space miss each other on the page.
#include <algorithm>
#include <cmath>

#include "axes/axes.hpp"
#include "devices/raster_zbuffer.hpp"
#include "draw/draw.hpp"
#include "graph3d/graph3d.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;

void graph3d_defaults() {
    Graph3DState& g = g3();
    // Keep the horizon's memory: it is allocated once per process.
    std::vector<std::int16_t> upper, lower;
    upper.swap(g.upper);
    lower.swap(g.lower);
    g = Graph3DState{};
    g.upper.swap(upper);
    g.lower.swap(lower);
    g.lights[0].on = true;
    zbuffer_release();
    state().pipeline.plane_project = nullptr;
    state().pipeline.hidden_segment = nullptr;
}

struct Registration {
    Registration() {
        register_defaults(72, graph3d_defaults);
        register_reset("AXIS", [] {
            for (float& b : g3().box) b = 2.0f;
        });
        register_reset("VIEW", [] { g3().view_set = false; });
        register_reset("FLAB", [] { g3().first_labels = false; });
        // endgrf inside a plane ends the plane's 2-D axis system only.
        register_endgrf([] {
            if (!g3().plane_active) g3().active = false;
        });
    }
} registration;

// Projects while a plane is active: a plot point of the plane's 2-D axis
// system goes to its place in the plane and then onto the page.
void plane_hook(float& x, float& y) {
    const Graph3DState& g = g3();
    const AxesState& a = state().axes;
    const PipelineState& p = state().pipeline;
    double px = (double)x - p.shift_x, py = (double)y - p.shift_y;
    double s = (px - a.nxa) / std::max(1, a.nxl - 1);
    double t = (a.nya - py) / std::max(1, a.nyl - 1);
    double q[3];
    for (int i = 0; i < 3; ++i) q[i] = g.p1[i] + s * g.u[i] + t * g.v[i];
    float X, Y;
    if (!project_abs(q, X, Y)) X = Y = -1.0e6f;
    x = X + (float)p.shift_x;
    y = Y + (float)p.shift_y;
}

// The y of a plot point as a user sees it (mirrored for pagorg "BOTT").
float user_y(float y) {
    const PipelineState& p = state().pipeline;
    if (p.page_bottom && !p.page_y_override) return (float)state().out.nyp - y;
    return y;
}

// Liang-Barsky clipping of p(t) = a + t (b - a), t in [t0, t1], against
// lo <= p <= hi in one coordinate.
bool clip_coord(double a, double b, double lo, double hi, double& t0, double& t1) {
    double d = b - a;
    if (std::fabs(d) < 1e-300) return a >= lo && a <= hi;
    double ta = (lo - a) / d, tb = (hi - a) / d;
    if (ta > tb) std::swap(ta, tb);
    t0 = std::max(t0, ta);
    t1 = std::min(t1, tb);
    return t0 <= t1;
}

// The visible part [t0, t1] of the segment a-b in the clipping volume.
bool clip_3d(const double a[3], const double b[3], double& t0, double& t1) {
    const Graph3DState& g = g3();
    t0 = 0;
    t1 = 1;
    double ea[3], eb[3];
    abs_to_eye(a, ea);
    abs_to_eye(b, eb);
    if (g.clip_mode == 0) {
        for (int i = 0; i < 3; ++i) {
            double h = g.box[i] / 2.0, tol = 1e-5 * g.box[i];
            if (!clip_coord(a[i], b[i], -h - tol, h + tol, t0, t1)) return false;
        }
        // Never behind the camera.
        return clip_coord(ea[2], eb[2], 1e-6, 1e300, t0, t1);
    }
    double far = g.clip_far > 0 ? g.clip_far : 1e300;
    return clip_coord(ea[2], eb[2], g.clip_near, far, t0, t1);
}

void build_projection() {
    Graph3DState& g = g3();
    double d[3];
    for (int i = 0; i < 3; ++i) d[i] = g.vp[i] - g.fp[i];
    double rxy = std::sqrt(d[0] * d[0] + d[1] * d[1]);
    double r = std::sqrt(rxy * rxy + d[2] * d[2]);
    g.cos_up = std::cos((double)g.up_angle);
    g.sin_up = std::sin((double)g.up_angle);
    g.top_view = rxy < 1e-6;
    if (!g.top_view) {
        double cx = d[0] / rxy, cy = d[1] / rxy;
        double ex[3] = {-cy, cx, 0};
        double ey[3] = {-(d[2] / r) * cx, -(d[2] / r) * cy, rxy / r};
        for (int i = 0; i < 3; ++i) {
            g.row[0][i] = g.cos_up * ex[i] - g.sin_up * ey[i];
            g.row[1][i] = g.sin_up * ex[i] + g.cos_up * ey[i];
            g.row[2][i] = -d[i] / r;
        }
    }
    g.tan_h = std::tan((double)g.half_angle);
    double n = g.clip_near, f = g.clip_far, t = g.tan_h * n;
    if (f <= 0) {
        g.depth_k = g.tan_h;
        g.depth_c = -t;
    } else {
        double q = 1.0 - n / f;
        g.depth_k = t / (n * q);
        g.depth_c = -t / q;
    }
}

// ANGL: azimuth a and elevation b in degrees, distance r.
void angle_point(const float v[3], float out[3]) {
    double a = v[0] * kDegree, b = v[1] * kDegree, r = v[2];
    out[0] = (float)(r * std::cos(b) * std::sin(a));
    out[1] = (float)(r * std::cos(b) * std::cos(a));
    out[2] = (float)(r * std::sin(b));
}

}  // namespace

// ---- conversions -------------------------------------------------------------

bool need_box(const char* routine) {
    if (check_level(3, 3, routine)) return false;
    if (state().axes.kind != 3 || !g3().active) {
        warn_routine(35);
        return false;
    }
    return true;
}

double user_to_abs_axis(int axis, float v) {
    const Graph3DState& g = g3();
    double u = g.log[axis] ? (v > 0 ? std::log10((double)v) : -1.0e30) : (double)v;
    double span = (double)g.e[axis] - (double)g.a[axis];
    if (span == 0) span = 1;
    double r = (u - g.a[axis]) * g.box[axis] / span - g.box[axis] / 2.0;
    return std::max(-1.0e30, std::min(1.0e30, r));
}

void user_to_abs(float x, float y, float z, double p[3]) {
    p[0] = user_to_abs_axis(0, x);
    p[1] = user_to_abs_axis(1, y);
    p[2] = user_to_abs_axis(2, z);
}

float abs_to_user_axis(int axis, double a) {
    const Graph3DState& g = g3();
    double u = (a + g.box[axis] / 2.0) * ((double)g.e[axis] - g.a[axis]) / g.box[axis] + g.a[axis];
    return (float)(g.log[axis] ? std::pow(10.0, u) : u);
}

void abs_to_eye(const double p[3], double eye[3]) {
    const Graph3DState& g = g3();
    double q[3] = {p[0] - g.vp[0], p[1] - g.vp[1], p[2] - g.vp[2]};
    if (g.top_view) {
        eye[0] = g.cos_up * q[0] - g.sin_up * q[1];
        eye[1] = g.sin_up * q[0] + g.cos_up * q[1];
        eye[2] = -q[2];
        return;
    }
    for (int r = 0; r < 3; ++r) eye[r] = g.row[r][0] * q[0] + g.row[r][1] * q[1] + g.row[r][2] * q[2];
}

bool project_abs(const double p[3], float& xp, float& yp) {
    const Graph3DState& g = g3();
    double e[3];
    abs_to_eye(p, e);
    if (!(e[2] > 1e-9)) {
        xp = yp = -1.0e6f;
        return false;
    }
    double w = g.tan_h * e[2];
    double x = g.cx0 + g.radius * e[0] / w, y = g.cy0 - g.radius * e[1] / w;
    xp = (float)std::max(-1.0e6, std::min(1.0e6, x));
    yp = (float)std::max(-1.0e6, std::min(1.0e6, y));
    return true;
}

double abs_depth(const double p[3]) {
    const Graph3DState& g = g3();
    double e[3];
    abs_to_eye(p, e);
    double w = g.tan_h * e[2];
    if (std::fabs(w) < 1e-300) return 2.0;
    return (g.depth_k * e[2] + g.depth_c) / w;
}

bool inside_clip_volume(const double p[3]) {
    const Graph3DState& g = g3();
    if (g.clip_mode == 0) {
        for (int i = 0; i < 3; ++i) {
            double h = g.box[i] / 2.0 * (1 + 1e-5);
            if (p[i] < -h || p[i] > h) return false;
        }
        double e[3];
        abs_to_eye(p, e);
        return e[2] > 1e-9;
    }
    double e[3];
    abs_to_eye(p, e);
    if (e[2] < g.clip_near) return false;
    return !(g.clip_far > 0 && e[2] > g.clip_far);
}

void box_corner(int k, double p[3]) {
    static const int sx[8] = {-1, 1, 1, -1, -1, 1, 1, -1};
    static const int sy[8] = {-1, -1, 1, 1, -1, -1, 1, 1};
    static const int sz[8] = {-1, -1, -1, -1, 1, 1, 1, 1};
    const Graph3DState& g = g3();
    int i = std::max(1, std::min(8, k)) - 1;
    p[0] = sx[i] * g.box[0] / 2.0;
    p[1] = sy[i] * g.box[1] / 2.0;
    p[2] = sz[i] * g.box[2] / 2.0;
}

// ---- 3-D lines ---------------------------------------------------------------------

void line3d_move(const double p[3]) {
    Graph3DState& g = g3();
    for (int i = 0; i < 3; ++i) g.pen[i] = p[i];
    g.pen_set = true;
    g.pen_drawn = false;
}

void line3d_draw(const double q[3]) {
    Graph3DState& g = g3();
    if (!g.pen_set) return line3d_move(q);
    double t0, t1;
    double a[3] = {g.pen[0], g.pen[1], g.pen[2]};
    if (clip_3d(a, q, t0, t1)) {
        double A[3], B[3];
        for (int i = 0; i < 3; ++i) {
            A[i] = a[i] + t0 * (q[i] - a[i]);
            B[i] = a[i] + t1 * (q[i] - a[i]);
        }
        float ax, ay, bx, by;
        project_abs(A, ax, ay);
        project_abs(B, bx, by);
        if (t0 > 0 || !g.pen_drawn) plot_move(ax, ay);
        plot_draw(bx, by);
        g.pen_drawn = t1 >= 1;
    } else {
        g.pen_drawn = false;
    }
    for (int i = 0; i < 3; ++i) g.pen[i] = q[i];
}

// ---- planes ------------------------------------------------------------------------------

namespace {

void start_plane(const double c1[3], const double c2[3], const double c3[3]) {
    Graph3DState& g = g3();
    plot_flush();
    for (int i = 0; i < 3; ++i) {
        g.p1[i] = c1[i];
        g.u[i] = c2[i] - c1[i];
        g.v[i] = c3[i] - c2[i];
    }
    g.saved_axes = state().axes;
    g.saved_clip = state().pipeline.axis;
    g.plane_active = true;
    state().pipeline.plane_project = plane_hook;
    state().run.in_plane_mode = true;
}

void end_plane() {
    Graph3DState& g = g3();
    plot_flush();
    state().pipeline.plane_project = nullptr;
    state().run.in_plane_mode = false;
    g.plane_active = false;
    state().axes = g.saved_axes;
    state().pipeline.axis = g.saved_clip;
}

}  // namespace

void in_temporary_plane(const double c1[3], const double c2[3], const double c3[3], int ax, bool rev, int ay,
                        const std::function<void()>& draw) {
    Graph3DState& g = g3();
    State& st = state();
    const int keep_level = st.run.level;
    start_plane(c1, c2, c3);
    AxesState& a = st.axes;
    const AxesState& keep = g.saved_axes;
    a.kind = 0;
    a.axis_type = 0;
    float sa[2] = {0, 0}, se[2] = {1, 1}, so[2] = {0, 0}, ss[2] = {1, 1};
    int which[2] = {ax, ay};
    for (int k = 0; k < 2; ++k) {
        int i = which[k];
        a.scale_type[k] = 0;
        if (i < 0) continue;
        sa[k] = g.a[i], se[k] = g.e[i], so[k] = g.orig[i], ss[k] = g.step[i];
        a.scale_type[k] = g.log[i] ? 1 : 0;
        a.axis[k] = keep.axis[i];
        a.auto_on[k] = 0;
        if (k == 0 && rev) {
            // The same labels, run from the other end.
            double n = std::floor(((double)se[0] - so[0]) / ss[0] + 1e-4);
            float last = (float)(so[0] + std::max(0.0, n) * ss[0]);
            std::swap(sa[0], se[0]);
            so[0] = last;
            ss[0] = -ss[0];
        }
    }
    store_axis_scaling(sa[0], se[0], so[0], ss[0], sa[1], se[1], so[1], ss[1]);
    set_axis_rectangle();
    st.run.level = 2;
    draw();
    plot_flush();
    end_plane();
    st.run.level = keep_level;
}

void grfini(float x1, float y1, float z1, float x2, float y2, float z2, float x3, float y3, float z3) {
    if (!need_box("grfini")) return;
    double c1[3] = {x1, y1, z1}, c2[3] = {x2, y2, z2}, c3[3] = {x3, y3, z3};
    start_plane(c1, c2, c3);
    state().run.level = 1;
}

void grffin() {
    if (check_level(1, 3, "grffin")) return;
    if (!g3().plane_active) return (void)warn_routine(34);
    end_plane();
    state().run.level = 3;
}

// ---- conversion routines --------------------------------------------------------------

void abs3pt(float x, float y, float z, float& xp, float& yp) {
    if (enter_routine("abs3pt")) return;
    double p[3] = {x, y, z};
    project_abs(p, xp, yp);
    yp = user_y(yp);
}

void rel3pt(float x, float y, float z, float& xp, float& yp) {
    if (enter_routine("rel3pt")) return;
    double p[3];
    user_to_abs(x, y, z, p);
    project_abs(p, xp, yp);
    yp = user_y(yp);
}

void pos3pt(float x, float y, float z, float& xa, float& ya, float& za) {
    if (enter_routine("pos3pt")) return;
    xa = (float)user_to_abs_axis(0, x);
    ya = (float)user_to_abs_axis(1, y);
    za = (float)user_to_abs_axis(2, z);
}

float x3dabs(float x, float y, float z) {
    float xp = 0, yp = 0;
    if (enter_routine("x3dabs")) return 0;
    double p[3] = {x, y, z};
    project_abs(p, xp, yp);
    return xp;
}

float y3dabs(float x, float y, float z) {
    float xp = 0, yp = 0;
    if (enter_routine("y3dabs")) return 0;
    double p[3] = {x, y, z};
    project_abs(p, xp, yp);
    return user_y(yp);
}

float x3dpos(float x, float, float) {
    if (enter_routine("x3dpos")) return 0;
    return (float)user_to_abs_axis(0, x);
}

float y3dpos(float, float y, float) {
    if (enter_routine("y3dpos")) return 0;
    return (float)user_to_abs_axis(1, y);
}

float z3dpos(float, float, float z) {
    if (enter_routine("z3dpos")) return 0;
    return (float)user_to_abs_axis(2, z);
}

float x3drel(float x, float y, float z) {
    float xp = 0, yp = 0;
    if (enter_routine("x3drel")) return 0;
    double p[3];
    user_to_abs(x, y, z, p);
    project_abs(p, xp, yp);
    return xp;
}

float y3drel(float x, float y, float z) {
    float xp = 0, yp = 0;
    if (enter_routine("y3drel")) return 0;
    double p[3];
    user_to_abs(x, y, z, p);
    project_abs(p, xp, yp);
    return user_y(yp);
}

// ---- view settings ---------------------------------------------------------------------------

void axis3d(float x, float y, float z) {
    check_level(0, 3, "axis3d");
    float v[3] = {x, y, z};
    for (float f : v)
        if (!(f > 0)) return (void)warn_routine(2);
    for (int i = 0; i < 3; ++i) g3().box[i] = v[i];
}

void view3d(float x, float y, float z, const char* s) {
    check_level(0, 3, "view3d");
    int k = match_keyword("ABS +USER+ANGL", 3, s);
    if (!k) return;
    Graph3DState& g = g3();
    g.view_set = true;
    g.view_kind = k - 1;
    g.view[0] = x, g.view[1] = y, g.view[2] = z;
    // Inside an axis system the new view point takes effect at the next
    // graf3d, as the projection of the drawing already made stays.
}

void vfoc3d(float x, float y, float z, const char* s) {
    check_level(0, 3, "vfoc3d");
    int k = match_keyword("ABS +USER", 2, s);
    if (!k) return;
    Graph3DState& g = g3();
    g.focus_set = true;
    g.focus_kind = k - 1;
    g.focus[0] = x, g.focus[1] = y, g.focus[2] = z;
}

void vang3d(float a) {
    check_level(0, 3, "vang3d");
    if (!(a > 0 && a < 180)) return (void)warn_routine(2);
    g3().half_angle = (float)(a * 3.14159265358979323846 / 360.0);
}

void vup3d(float a) {
    check_level(0, 3, "vup3d");
    g3().up_angle = (float)(a * kDegree);
}

void vclp3d(float n, float f) {
    check_level(0, 3, "vclp3d");
    if (!(n > 0)) return (void)warn_routine(2);
    if (f > 0 && f < n) return (void)warn_routine(2);
    g3().clip_near = n;
    g3().clip_far = f > 0 ? f : -1.0f;
}

void clip3d(const char* s) {
    check_level(0, 3, "clip3d");
    int k = match_keyword("WORL+EYE ", 2, s);
    if (k) g3().clip_mode = k - 1;
}

// ---- the set-up of the camera by graf3d --------------------------------------------------------

void setup_camera() {
    Graph3DState& g = g3();
    const AxesState& a = state().axes;
    g.cx0 = a.nxa + a.nxl / 2.0;
    g.cy0 = a.nya - a.nyl / 2.0;
    g.radius = std::min(a.nxl, a.nyl) / 2.0;
    if (g.focus_set && g.focus_kind == 1) {
        double p[3];
        user_to_abs(g.focus[0], g.focus[1], g.focus[2], p);
        for (int i = 0; i < 3; ++i) g.focus[i] = (float)p[i];
        g.focus_kind = 0;
    }
    for (int i = 0; i < 3; ++i) g.fp[i] = g.focus_set ? g.focus[i] : 0.0;
    if (g.view_set && g.view_kind != 0) {
        float r[3];
        if (g.view_kind == 1) {
            double p[3];
            user_to_abs(g.view[0], g.view[1], g.view[2], p);
            for (int i = 0; i < 3; ++i) r[i] = (float)p[i];
        } else {
            angle_point(g.view, r);
        }
        for (int i = 0; i < 3; ++i) g.view[i] = r[i];
        g.view_kind = 0;
    }
    bool use_default = !g.view_set;
    if (g.view_set && std::fabs(g.view[0]) <= g.box[0] / 2 && std::fabs(g.view[1]) <= g.box[1] / 2 &&
        std::fabs(g.view[2]) <= g.box[2] / 2) {
        warn_routine(33);
        use_default = true;
    }
    if (use_default) {
        g.vp[0] = 2.0 * g.box[0];
        g.vp[1] = -2.5 * g.box[1];
        g.vp[2] = 2.0 * g.box[2];
    } else {
        for (int i = 0; i < 3; ++i) g.vp[i] = g.view[i];
    }
    build_projection();
}

}  // namespace korval
