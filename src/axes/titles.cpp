// Titles, grids, lines and axes through the origin, the frame, and the
// polar axis system.
#include <cmath>
#include <string>

#include "axes/axes.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"
#include "axes/text_use.hpp"

namespace korval {

namespace {

AxesState& ax() { return state().axes; }

void title_defaults() {
    AxesState& a = ax();
    for (int i = 0; i < 4; ++i) {
        a.title_lines[i].clear();
        a.title_underline[i] = false;
    }
    a.title_height = 0;
    a.title_just = 0;
    a.title_pos = 0;
    a.title_shift = 0;
    a.frame_colour = -1;
}

struct Registration {
    Registration() {
        register_defaults(22, title_defaults);
        register_reset("TITL", [] {
            for (int i = 0; i < 4; ++i) ax().title_lines[i].clear(), ax().title_underline[i] = false;
        });
        register_reset("HTIT", [] { ax().title_height = 0; });
        register_reset("LFTT", [] { ax().title_just = 0; });
        register_reset("VKYT", [] { ax().title_shift = 0; });
        register_reset("LINS", [] { state().text.line_spacing = 1.5f; });
        register_reset("FRME", [] { ax().frame_colour = -1; });
    }
} registration;

// True when the user origin lies strictly inside both ranges.
bool origin_inside(int axis) {
    const AxesState& a = ax();
    return a.umin[axis] + a.epsilon < 0 && a.umax[axis] - a.epsilon > 0;
}

// A solid line style for the lifetime of the guard.
class DashGuard {
public:
    DashGuard() : p_(state().pipeline), count_(p_.dash_count) {
        plot_flush();
        p_.dash_count = 1;
    }
    ~DashGuard() {
        plot_flush();
        p_.dash_count = count_;
        dash_reset();
    }
    DashGuard(const DashGuard&) = delete;
    DashGuard& operator=(const DashGuard&) = delete;

private:
    PipelineState& p_;
    int count_;
};

void draw_circle(float cx, float cy, float r) {
    int n = (int)(r * 0.5f);
    if (n < 16) n = 16;
    if (n > 720) n = 720;
    plot_move(cx + r, cy);
    for (int i = 1; i <= n; ++i) {
        double t = 2 * M_PI * i / n;
        plot_draw((float)(cx + r * std::cos(t)), (float)(cy - r * std::sin(t)));
    }
}

}  // namespace

bool title_margin(int& top, int& bottom) {
    top = bottom = -1;
    const AxesState& a = ax();
    int first = 0, last = 0;
    for (int i = 1; i <= 4; ++i)
        if (!a.title_lines[i - 1].empty()) {
            if (!first) first = i;
            last = i;
        }
    if (!first) return false;
    int h = a.title_height > 0 ? a.title_height : text_height();
    double s = state().text.line_spacing;
    if (a.title_pos == 0)
        top = (int)((4 - first) * h * s + 3 * h + a.title_shift - 1);
    else
        bottom = (int)((last - 1) * h * s + 5 * h + a.title_shift - 1);
    return true;
}

void titlin(const char* s, int i) {
    enter_routine("titlin");
    if (i == 0 || i < -4 || i > 4) return void(warn_routine_value(2, i));
    std::string t = s ? s : "";
    if (t.size() > 132) t.resize(132);
    int k = std::abs(i) - 1;
    ax().title_lines[k] = t;
    ax().title_underline[k] = i < 0;
}

void titjus(const char* s) {
    enter_routine("titjus");
    int i = match_keyword("CENT+LEFT+RIGH", 3, s);
    if (i) ax().title_just = i - 1;
}

void lfttit() {
    enter_routine("lfttit");
    ax().title_just = 1;
}

void titpos(const char* s) {
    enter_routine("titpos");
    int i = match_keyword("ABOV+BELO", 2, s);
    if (i) ax().title_pos = i - 1;
}

void htitle(int i) {
    enter_routine("htitle");
    if (check_range(i, 1, 10000)) return;
    ax().title_height = i;
}

void vkytit(int i) {
    enter_routine("vkytit");
    ax().title_shift = i;
}

void linesp(float x) {
    enter_routine("linesp");
    state().text.line_spacing = x;
}

void frmclr(int i) {
    enter_routine("frmclr");
    if (check_range(i, -1, 255)) return;
    ax().frame_colour = i;
}

void title() {
    if (check_level(2, 3, "title")) return;
    const AxesState& a = ax();
    int h = a.title_height > 0 ? a.title_height : text_height();
    double s = state().text.line_spacing;
    for (int i = 1; i <= 4; ++i) {
        const std::string& line = a.title_lines[i - 1];
        if (line.empty()) continue;
        int w = text_length_at(line.c_str(), h);
        int x = a.title_just == 0 ? a.nxa + (a.nxl - w) / 2 : a.title_just == 1 ? a.nxa : a.nxa + a.nxl - w;
        int y = a.title_pos == 0 ? (int)(a.nya - a.nyl - a.title_shift - (4 - i) * s * h - 3 * h)
                                 : (int)(a.nya - a.title_shift + (i - 1) * s * h + 4 * h);
        draw_text(line.c_str(), x, y, 0, h);
        if (a.title_underline[i - 1]) {
            float yy = (float)(y + 1.2 * h);
            plot_move((float)(x - h / 2.0), yy);
            plot_draw((float)(x + w + h / 2.0), yy);
        }
    }
    plot_flush();
}

void grid(int i1, int i2) {
    if (check_level(2, 3, "grid")) return;
    if (i1 < 0) warn_routine_value(2, i1);
    else if (i2 < 0) warn_routine_value(2, i2);
    const AxesState& a = ax();
    if (a.kind == 1) {
        int rays = (int)(0.5 + 360.0 / a.step[1]) * i2;
        grdpol(i1, rays);
        return;
    }
    if (i1 > 0)
        draw_ticks(a.a[0], a.e[0], a.orig[0], a.step[0], a.nxl, a.nxa, a.nya, a.scale_type[0], 0,
                   -(a.nyl - 1), -(a.nyl - 1), i1);
    if (i2 > 0)
        draw_ticks(a.a[1], a.e[1], a.orig[1], a.step[1], a.nyl, a.nxa, a.nya, a.scale_type[1], 1,
                   a.nxl - 1, a.nxl - 1, i2);
    plot_flush();
}

void grdpol(int i1, int i2) {
    if (check_level(2, 3, "grdpol")) return;
    if (i1 < 0) return void(warn_routine_value(2, i1));
    if (i2 < 0) return void(warn_routine_value(2, i2));
    const AxesState& a = ax();
    if (a.scale_type[0] || a.scale_type[1]) {
        set_warning_text("Non linear scaling");
        return void(warn_routine(101));
    }
    float cx, cy;
    double xe;
    if (a.kind == 1) {
        cx = (float)a.nx0, cy = (float)a.ny0;
        xe = a.e[0];
    } else {
        if (a.umin[0] - a.epsilon > 0 || a.umax[0] + a.epsilon < 0 || a.umin[1] - a.epsilon > 0 ||
            a.umax[1] + a.epsilon < 0) {
            set_warning_text("No origin found in axis system scaling");
            return void(warn_routine(101));
        }
        user_to_plot(0, 0, cx, cy);
        cx -= state().pipeline.shift_x;
        cy -= state().pipeline.shift_y;
        xe = a.umax[0];
        clip_to_axis(0);
    }
    DashGuard solid_line;
    (void)solid_line;
    auto plot_x = [&](double v) { return (v - a.a[0]) * a.scale[0] + a.map_origin[0]; };
    if (i1 > 0) {
        double u = a.step[0] / i1;
        int n = u != 0 ? (int)(xe / u + 0.0001) : 0;
        for (int k = 1; k <= n && k <= 100000; ++k) {
            float r = (float)std::fabs((int)(plot_x(k * u) + 0.5) - cx);
            if (r > 0) draw_circle(cx, cy, r);
        }
    }
    if (i2 > 0) {
        float R = (float)std::fabs((int)(plot_x(xe) + 0.5) - cx);
        for (int k = 1; k <= i2; ++k) {
            double t = k * 2 * M_PI / i2;
            plot_move(cx, cy);
            plot_draw((float)(cx + R * std::cos(t)), (float)(cy - R * std::sin(t)));
        }
    }
    plot_flush();
    if (a.kind != 1) clip_to_axis(1);
}

static void origin_lines(const char* routine, bool horizontal, bool vertical) {
    if (check_level(2, 3, routine)) return;
    const AxesState& a = ax();
    float x0, y0;
    user_to_plot(0, 0, x0, y0);
    x0 -= state().pipeline.shift_x;
    y0 -= state().pipeline.shift_y;
    if (horizontal && origin_inside(1)) {
        plot_move((float)a.nxa, y0);
        plot_draw((float)(a.nxa + a.nxl - 1), y0);
    }
    if (vertical && origin_inside(0)) {
        plot_move(x0, (float)a.nya);
        plot_draw(x0, (float)(a.nya - a.nyl + 1));
    }
    plot_flush();
}

void axgit() { origin_lines("axgit", true, true); }
void xaxgit() { origin_lines("xaxgit", true, false); }
void yaxgit() { origin_lines("yaxgit", false, true); }

static void origin_axes(const char* routine, bool xaxis, bool yaxis) {
    if (check_level(2, 3, routine)) return;
    AxesState& a = ax();
    float x0, y0;
    user_to_plot(0, 0, x0, y0);
    int ix = (int)(x0 - state().pipeline.shift_x + 0.5f), iy = (int)(y0 - state().pipeline.shift_y + 0.5f);
    if (xaxis && origin_inside(1)) {
        int keep = a.axis[0].label_type;
        a.axis[0].label_type = 0;
        draw_axis(a.a[0], a.e[0], a.orig[0], a.step[0], a.nxl, "", 0, a.nxa, iy, a.scale_type[0], 0);
        a.axis[0].label_type = keep;
    }
    if (yaxis && origin_inside(0)) {
        int keep = a.axis[1].label_type;
        a.axis[1].label_type = 0;
        draw_axis(a.a[1], a.e[1], a.orig[1], a.step[1], a.nyl, "", 1, ix, a.nya, a.scale_type[1], 1);
        a.axis[1].label_type = keep;
    }
}

void cross() { origin_axes("cross", true, true); }
void xcross() { origin_axes("xcross", true, false); }
void ycross() { origin_axes("ycross", false, true); }

void box2d() {
    if (enter_routine("box2d")) return;
    const AxesState& a = ax();
    if (a.frame == 0) return;
    int keep = state().colour.current;
    if (a.frame_colour >= 0) device_colour(a.frame_colour);
    draw_frame(a.nxa, a.nya - a.nyl + 1, a.nxl, a.nyl, a.frame);
    plot_flush();
    if (a.frame_colour >= 0) device_colour(keep);
}

}  // namespace korval

namespace korval {

namespace {

// The angle scale of a polar axis system around the circle of radius r.
void draw_angle_scale(float cx, float cy, float r, float yor, float ystp) {
    AxesState& a = ax();
    AxisSettings& y = a.axis[1];
    const AxesState& st = a;
    if (y.line) draw_circle(cx, cy, r);
    auto dir = [&](double deg) {
        double t = deg * M_PI / 180.0;
        double phi = st.polar_dir == 0 ? t + st.polar_start * M_PI / 2 : st.polar_start * M_PI / 2 - t + 2 * M_PI;
        return phi;
    };
    int major = a.tick_major;
    if (y.tick_pos == 1) major = -major;
    if (y.ticks > 0 && ystp != 0) {
        double d = ystp / y.ticks;
        for (int i = 0; i < 100000; ++i) {
            double v = yor + i * d;
            if (v >= 360 - 1e-4) break;
            double phi = dir(v);
            int len = i % y.ticks == 0 ? major : (y.tick_pos == 1 ? -a.tick_minor : a.tick_minor);
            float r0 = y.tick_pos == 2 ? r - len / 2.0f : r, r1 = r0 + len;
            plot_move((float)(cx + r0 * std::cos(phi)), (float)(cy - r0 * std::sin(phi)));
            plot_draw((float)(cx + r1 * std::cos(phi)), (float)(cy - r1 * std::sin(phi)));
        }
    }
    plot_flush();
    if (y.label_type != 0 && ystp > 0) {
        const int h = text_height();
        float out = r + y.label_dist + (y.ticks > 0 && y.tick_pos == 0 ? a.tick_major : 0);
        for (int i = 0; i < 1000; ++i) {
            double v = yor + i * (double)ystp;
            if (v > 360 + 1e-4) break;
            if (std::fabs(v - 360) < 1e-4 && std::fabs(std::fmod(yor, 360.0)) < 1e-4) break;
            std::string t = format_label(v, i, 0, 1);
            int w = text_length(t.c_str());
            double phi = dir(v);
            double c = std::cos(phi), s = std::sin(phi);
            // Place the label box outside the circle, touching it at its
            // nearest point.
            float px = (float)(cx + out * c), py = (float)(cy - out * s);
            float x = px - w / 2.0f + (float)(c * w / 2.0), yy = py - h / 2.0f - (float)(s * h / 2.0);
            draw_text(t.c_str(), (int)std::lround(x), (int)std::lround(yy), 0, h);
        }
    }
}

}  // namespace

void polar(float xe, float xor_, float xstp, float yor, float ystp) {
    if (check_level(1, 1, "polar")) return;
    State& st = state();
    AxesState& a = st.axes;
    st.run.level = 2;
    a.kind = 1;
    if (a.scale_type[0] || a.scale_type[1]) {
        set_warning_text("Polar axis systems must have linear scaling");
        warn_routine(101);
        st.run.level = 1;
        a.kind = 0;
        return;
    }
    if (a.auto_on[0]) {
        float keep = a.auto_min[0];
        a.auto_min[0] = 0;
        float xa = 0;
        autoscale_axis(xa, xe, xor_, xstp, 0);
        a.auto_min[0] = keep;
    }
    if (a.auto_on[1]) {
        yor = 0;
        ystp = 30;
        a.axis[1].digits = -1;
    }
    const int sx = st.pipeline.shift_x, sy = st.pipeline.shift_y;
    int e1 = check_axis_parameters(0, xe, xor_, xstp, 2, 1 - sx, 1 - sy);
    int e2 = check_axis_parameters(0, 360, yor, ystp, 2, 1 - sx, 1 - sy);
    if (e1 || e2) {
        st.run.level = 1;
        a.kind = 0;
        return;
    }
    const int keep_nxl = a.nxl, keep_nyl = a.nyl, keep_nxa = a.nxa, keep_nya = a.nya;
    int side = std::min(a.nxl, a.nyl);
    int cx = a.nxa + a.nxl / 2, cy = a.nya - a.nyl / 2;
    if (a.origin_mode) cx = a.nx0, cy = a.ny0;
    a.nx0 = cx, a.ny0 = cy;
    a.nxl = a.nyl = side;
    a.nxa = cx - side / 2;
    a.nya = cy + side / 2;
    store_axis_scaling(-xe, xe, xor_, xstp, 0, 360, yor, ystp);
    if (a.centring == 1 && !st.run.in_plane_mode) {
        center_axis_system();
        a.centring = 2;
    }
    set_axis_rectangle();
    auto restore = [&] {
        a.nxl = keep_nxl, a.nyl = keep_nyl;
        if (!a.origin_mode) a.nxa = keep_nxa, a.nya = keep_nya;
    };
    if (a.nograf) return restore();
    float r = side / 2.0f;
    if (a.background >= 0) {
        const int n = 360;
        float px[n], py[n];
        for (int i = 0; i < n; ++i) {
            double t = 2 * M_PI * i / n;
            px[i] = (float)(cx + r * std::cos(t)) + sx;
            py[i] = (float)(cy - r * std::sin(t)) + sy;
        }
        int keep = st.colour.current;
        device_colour(a.background);
        device_fill_polygon(px, py, n);
        device_colour(keep);
    }
    a.drawing_graf = true;
    draw_axis(-xe, xe, xor_, xstp, side, a.axis[0].name.c_str(), 0, a.nxa, cy, 0, 0);
    std::swap(a.axis[0], a.axis[1]);
    draw_axis(-xe, xe, xor_, xstp, side, "", 1, cx, a.nya, 0, 1);
    std::swap(a.axis[0], a.axis[1]);
    a.drawing_graf = false;
    draw_angle_scale((float)cx, (float)cy, r, yor, ystp);
    int n = std::abs(a.frame);
    if (n >= 2 || (n == 1 && !a.axis[1].line)) {
        int keep = st.colour.current;
        if (a.frame_colour >= 0) device_colour(a.frame_colour);
        for (int i = 0; i < n; ++i) draw_circle((float)cx, (float)cy, r + (a.frame > 0 ? i : -i));
        plot_flush();
        if (a.frame_colour >= 0) device_colour(keep);
    }
    restore();
}

}  // namespace korval
