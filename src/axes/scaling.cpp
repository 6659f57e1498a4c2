// Axis placement and scaling: the mapping from user to plot coordinates.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "axes/axes.hpp"
#include "axes/dates.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

AxesState& ax() { return state().axes; }

int round_half_up(double v) { return (int)(v + 0.5); }

// The default placement follows the page: two thirds of it, centred in x,
// 30 mm above the lower edge.
void placement_defaults() {
    AxesState& a = ax();
    const OutputState& o = state().out;
    a.nxl = round_half_up(2.0 / 3.0 * (o.nxp + 1));
    a.nyl = round_half_up(2.0 / 3.0 * (o.nyp + 1));
    a.nzl = a.nyl;
    a.nxa = (o.nxp - a.nxl) / 2;
    a.nya = o.nyp - scaled_length(300);
    a.origin_mode = 0;
}

void scaling_defaults() {
    AxesState& a = ax();
    placement_defaults();
    a.nx0 = a.ny0 = 0;
    a.axis_type = 0;
    for (int i = 0; i < 3; ++i) {
        a.scale_type[i] = 0;
        a.auto_on[i] = 0;
    }
    a.neglog_on = 0;
    a.neglog_exp = 0;
    a.kind = 0;
    a.polar_start = a.polar_dir = 0;
    a.depth[0] = 4, a.depth[1] = 2, a.depth[2] = 2, a.depth[3] = 4;
    a.two_axes = 0;
    a.background = -1;
    a.frame = 1;
    a.grace = -1;
    a.nograf = 0;
    a.centring = 0;
    a.epsilon = 1.0e-35f;
}

struct Registration {
    Registration() {
        register_defaults(20, scaling_defaults);
        register_reset("AXSP", [] {
            AxesState& a = ax();
            const OutputState& o = state().out;
            a.nxa = (o.nxp - round_half_up(2.0 / 3.0 * (o.nxp + 1))) / 2;
            a.nya = o.nyp - scaled_length(300);
            a.origin_mode = 0;
        });
        register_reset("AXSL", [] {
            AxesState& a = ax();
            const OutputState& o = state().out;
            a.nxl = round_half_up(2.0 / 3.0 * (o.nxp + 1));
            a.nyl = round_half_up(2.0 / 3.0 * (o.nyp + 1));
        });
        register_reset("AX3L", [] {
            AxesState& a = ax();
            const OutputState& o = state().out;
            a.nxl = round_half_up(2.0 / 3.0 * (o.nxp + 1));
            a.nyl = a.nzl = round_half_up(2.0 / 3.0 * (o.nyp + 1));
        });
        register_reset("SCAL", [] {
            for (int& t : ax().scale_type) t = 0;
        });
        register_reset("SETS", [] {
            for (int& f : ax().auto_on) f = 0;
        });
        register_reset("SETG", [] {
            AxesState& a = ax();
            a.depth[0] = 4, a.depth[1] = 2, a.depth[2] = 2, a.depth[3] = 4;
        });
        register_reset("FRAM", [] { ax().frame = 1; });
        register_reset("GRAC", [] { ax().grace = -1; });
        register_reset("NOGR", [] { ax().nograf = 0; });
        register_reset("CENT", [] { ax().centring = 0; });
        register_reset("NEGL", [] { ax().neglog_on = 0; });
        register_reset("POLC", [] { ax().polar_start = ax().polar_dir = 0; });
    }
} registration;

// Decimal logarithm of a value on a logarithmic axis; non-positive values
// take the neglog replacement when one is set.
double log_value(double v, bool use_neglog) {
    if (v <= 0.0 && use_neglog && ax().neglog_on) return ax().neglog_exp;
    if (v <= 0.0) return -1.0e30;  // clamped by the caller
    return std::log10(v);
}

double clamp6(double v) {
    if (!(v == v)) return 1.0e6;  // NaN: far outside, never inside the axis system
    if (v > 1.0e6) return 1.0e6;
    if (v < -1.0e6) return -1.0e6;
    return v;
}

double axis_x_value(float x, bool neg) {
    return ax().scale_type[0] ? log_value(x, neg) : (double)x;
}
double axis_y_value(float y, bool neg) {
    return ax().scale_type[1] ? log_value(y, neg) : (double)y;
}

bool keyword_axes(const char* s, int idx[3]) {
    for (int i = 0; i < 3; ++i) idx[i] = 0;
    if (!s) return false;
    for (int i = 0; i < 3 && s[i]; ++i) {
        char c = (char)(s[i] & ~0x20);
        if (c == 'X') idx[0] = 1;
        if (c == 'Y') idx[1] = 1;
        if (c == 'Z') idx[2] = 1;
    }
    return idx[0] || idx[1] || idx[2];
}

}  // namespace

void axes_page_defaults() { placement_defaults(); }

static MapProjectHook map_hook = nullptr;

void set_map_projection_hook(MapProjectHook fn) { map_hook = fn; }

// ---- the mapping -----------------------------------------------------------

void user_to_plot(float x, float y, float& xp, float& yp) {
    const AxesState& a = ax();
    if (a.kind == 1) {
        // Polar: x is the radius, y the angle in radians.
        double r = (double)x * a.scale[0];
        double phi = a.polar_dir == 0 ? y + a.polar_start * M_PI / 2
                                      : a.polar_start * M_PI / 2 - y + 2 * M_PI;
        xp = (float)(a.nx0 + r * std::cos(phi));
        yp = (float)(a.ny0 - r * std::sin(phi));
        return;
    }
    if (a.kind == 2 && map_hook) {
        double X, Y;
        map_hook(x, y, X, Y);
        xp = (float)clamp6(X);
        yp = (float)clamp6(Y);
        return;
    }
    double xv = axis_x_value(x, true);
    double yv = axis_y_value(y, true);
    xp = (float)clamp6((xv - a.a[0]) * a.scale[0] + a.map_origin[0]);
    yp = (float)clamp6(a.map_origin[1] - (yv - a.a[1]) * a.scale[1]);
}

int check_axis_parameters(float a, float e, float orig, float step, int length, int nx, int ny) {
    const float eps = ax().epsilon;
    int err = 0;
    if (std::fabs(e - a) <= eps) {
        warn_routine(10);
        err = 1;
    }
    if (std::fabs(step) <= eps) {
        warn_routine(9);
        err = 1;
    }
    if (length < 2) {
        warn_routine(11);
        err = 1;
    }
    const int sx = state().pipeline.shift_x, sy = state().pipeline.shift_y;
    if (nx + sx < 0) warn_routine_value(4, nx + sx);
    if (ny + sy < 0) warn_routine_value(5, ny + sy);
    if (a < e) {
        if (orig < a || orig > e) warn_routine(12);
        if (step < 0) warn_routine(50);
    } else {
        if (orig < e || orig > a) warn_routine(12);
        if (step > 0) warn_routine(50);
    }
    return err;
}

void store_axis_scaling(float xa, float xe, float xor_, float xstp, float ya, float ye, float yor,
                        float ystp) {
    AxesState& s = ax();
    float av[2] = {xa, ya}, ev[2] = {xe, ye}, ov[2] = {xor_, yor}, sv[2] = {xstp, ystp};
    int len[2] = {s.nxl, s.nyl};
    int pos[2] = {s.nxa, s.nya};
    for (int i = 0; i < 2; ++i) {
        s.a[i] = av[i];
        s.e[i] = ev[i];
        s.orig[i] = ov[i];
        s.step[i] = sv[i];
        s.scale[i] = (double)(len[i] - 1) / ((double)ev[i] - (double)av[i]);
        s.map_origin[i] = (double)pos[i];
        double lo, hi;
        if (!s.scale_type[i]) {
            lo = av[i], hi = ev[i];
        } else if (s.auto_on[i]) {
            lo = s.auto_min[i], hi = s.auto_max[i];
        } else {
            lo = std::pow(10.0, (double)av[i]), hi = std::pow(10.0, (double)ev[i]);
        }
        if (hi < lo) std::swap(lo, hi);
        s.umin[i] = lo, s.umax[i] = hi;
    }
}

void autoscale_axis(float& a, float& e, float& orig, float& step, int axis) {
    AxesState& s = ax();
    if (axis < 0 || axis > 2 || !s.auto_on[axis]) return;
    AxisSettings& set = s.axis[axis];
    a = s.auto_min[axis];
    e = s.auto_max[axis];
    if (s.scale_type[axis]) {
        set.log_form = 1;
        if (s.auto_min[axis] <= 0) {
            warn_routine(23);
            a = -1;
            s.auto_min[axis] = 0.1f;
        } else {
            a = (float)std::log10((double)s.auto_min[axis]);
        }
        if (s.auto_max[axis] <= 0) {
            warn_routine(24);
            e = 0;
            s.auto_max[axis] = 1.0f;
        } else {
            e = (float)std::log10((double)s.auto_max[axis]);
        }
    }
    const int S = axis == 0 ? 200 : 100;
    const int L = axis == 0 ? s.nxl : axis == 1 ? s.nyl : s.nzl;

    if (set.label_class == 3) {  // dates
        step = 1;
        orig = (float)(int)(a + 0.5f);
        double R = (double)e - (double)a;
        set.monthly_mode = 0;
        if (R < 6) return;
        if (R < 11) return void(step = 2);
        if (R < 16) return void(step = 3);
        if (R < 36) return void(step = 7);
        set.monthly_mode = R < 160 ? 1 : R < 500 ? 3 : R < 1000 ? 6 : 12;
        int d, m, y;
        date_of_day_number((int)orig, d, m, y);
        if (d != 1) next_month(m, y);
        if (set.monthly_mode > 1)
            while (m % set.monthly_mode != 1) next_month(m, y);
        orig = (float)day_number_of(1, m, y);
        return;
    }
    if (set.label_class == 1) {  // times in seconds
        double R = (double)e - (double)a;
        long r = (long)R;
        double st;
        if (r < 120) {
            set.label_type = 11;  // SECO
            st = r < 8 ? 1 : r < 15 ? 2 : r < 30 ? 5 : r < 60 ? 10 : 20;
        } else {
            set.label_type = 9;  // hours and minutes
            long M = (long)(R / 60);
            if (M < 240) {
                st = M < 8 ? 1 : M < 15 ? 2 : M < 30 ? 5 : M < 60 ? 10 : M < 120 ? 15 : 30;
            } else {
                long H = M / 60;
                int k = 0;
                long p = 1;
                while (H / p > 9) ++k, p *= 10;
                long d = H / p;
                st = 60.0 * (double)p;
                if (d == 1) st *= 0.2;
                else if (d < 4) st *= 0.4;
                else if (d > 7) st *= 2;
                if (st > 300) st *= 1.2;
            }
            st *= 60;
        }
        step = (float)st;
        long n = round_nearest(a), sn = round_nearest(step);
        if (sn != 0 && n % sn == 0) orig = a;
        else if (sn != 0) orig = (float)((n / sn + 1) * sn);
        else orig = a;
        return;
    }
    // Numbers (linear values or exponents).
    int k = 0;
    double q = 1;
    for (int i = 0; i < 50; ++i) {
        q = ((double)e - (double)a) / std::pow(10.0, k);
        if (std::fabs(q) >= 10) ++k;
        else if (std::fabs(q) < 1) --k;
        else break;
    }
    int n = (int)std::fabs(q);
    double p = std::pow(10.0, k);
    double st = p;
    int digits = k < 0 ? -k : -1;
    bool exp_type = set.label_type == 2 || set.label_type == 13;
    if (n >= 5) {
        if (L / n < S) st = 2 * p;
        else if (n > 6 && exp_type) st = 2 * p;
    } else if (n == 1) {
        if (L / 2 >= S) {
            st = L / 5 >= S ? 0.2 * p : 0.5 * p;
            digits = k < 0 ? -k + 1 : (k == 0 ? 1 : digits);
        }
    } else if ((n == 2 || n == 3) && !s.scale_type[axis] && set.label_class != 1) {
        if (L / (2 * n) >= S) {
            st = 0.5 * p;
            digits = k < 0 ? -k + 1 : (k == 0 ? 1 : digits);
        }
    }
    if (exp_type) digits = 1;
    step = (float)st;
    // The first label: the first multiple of the step from a upwards.
    double qq = (double)a / st;
    long m = (long)qq;
    if (std::fabs(qq - (double)m) < 1.0e-15) {
        orig = a;
    } else if (a >= 0) {
        orig = (float)((double)(m + 1) * st);
    } else {
        orig = (float)((double)m * st);
    }
    if (exp_type) {
        long mm = m < 0 ? -m : m;
        while (mm > 2) {
            mm /= 10;
            ++digits;
        }
    }
    set.digits = digits;
}

void set_axis_rectangle() {
    AxesState& s = ax();
    const OutputState& o = state().out;
    int g = s.grace;
    bool pixels = o.format < 201 || (o.format >= 601 && o.format <= 700);
    if (g == -1 && pixels && o.device_factor > 0) g = -1 - round_nearest(0.99f / o.device_factor);
    const int sx = state().pipeline.shift_x, sy = state().pipeline.shift_y;
    int left = s.nxa + sx - g, top = s.nya - s.nyl + 1 + sy - g;
    int right = s.nxa + s.nxl - 1 + sx + g, bottom = s.nya + sy + g;
    if (left < 0) left = 0;
    if (top < 0) top = 0;
    if (right > o.nxp) right = o.nxp;
    if (bottom > o.nyp) bottom = o.nyp;
    s.clip_left = left, s.clip_top = top, s.clip_right = right, s.clip_bottom = bottom;
    s.corner_x = s.nxa + s.nxl - 1;
    s.corner_y = s.nya - s.nyl + 1;
    s.centre_x = (float)(s.nxa + sx + s.nxl / 2);
    s.centre_y = (float)(s.nya + sy - s.nyl / 2);
    s.radius = (float)(g + (s.nxl < s.nyl ? s.nxl : s.nyl) / 2);
    AxisClip& c = state().pipeline.axis;
    c.valid = true;
    c.xmin = left, c.ymin = top, c.xmax = right, c.ymax = bottom;
    c.polar = s.kind == 1;
    c.map_circular = false;  // set by the map axis system after this
    c.cx = s.centre_x, c.cy = s.centre_y, c.radius = s.radius;
}

// ---- user routines: placement ----------------------------------------------

void axspos(int i1, int i2) {
    if (check_level(1, 1, "axspos")) return;
    const OutputState& o = state().out;
    if (i1 < 0 || i1 > o.nxp) return void(warn_routine_value(2, i1));
    if (i2 < 0 || i2 > o.nyp) return void(warn_routine_value(2, i2));
    ax().nxa = i1;
    ax().nya = page_y(i2);
    ax().origin_mode = 0;
}

void axslen(int nxl, int nyl) {
    if (check_level(1, 1, "axslen")) return;
    const OutputState& o = state().out;
    if (nxl < 2 || nxl > o.nxp) return void(warn_routine_value(2, nxl));
    if (nyl < 2 || nyl > o.nyp) return void(warn_routine_value(2, nyl));
    ax().nxl = nxl;
    ax().nyl = nyl;
}

void axsorg(int i1, int i2) {
    if (check_level(1, 1, "axsorg")) return;
    const OutputState& o = state().out;
    if (i1 < 0 || i1 > o.nxp) return void(warn_routine_value(2, i1));
    if (i2 < 0 || i2 > o.nyp) return void(warn_routine_value(2, i2));
    ax().nx0 = i1;
    ax().ny0 = page_y(i2);
    ax().origin_mode = 1;
}

static void set_scaling_type(const char* routine, const char* s1, const char* s2) {
    enter_routine(routine);
    int i = match_keyword("LIN +LOG ", 2, s1);
    if (!i) return;
    set_by_axes(s2, i - 1, ax().scale_type);
}

void axsscl(const char* s1, const char* s2) { set_scaling_type("axsscl", s1, s2); }
void scale(const char* s1, const char* s2) { set_scaling_type("scale", s1, s2); }

void axstyp(const char* s) {
    enter_routine("axstyp");
    int i = match_keyword("RECT+CROS", 2, s);
    if (i) ax().axis_type = i - 1;
}

void axsbgd(int i) {
    enter_routine("axsbgd");
    if (i < -1 || i > 255) return void(warn_routine_value(2, i));
    ax().background = i;
}

void ax2grf() {
    enter_routine("ax2grf");
    ax().two_axes = 1;
}

void setgrf(const char* s1, const char* s2, const char* s3, const char* s4) {
    if (check_level(1, 1, "setgrf")) return;
    const char* keys = "NONE+LINE+TICK+LABE+NAME";
    int d1 = match_keyword(keys, 5, s1), d4 = match_keyword(keys, 5, s2);
    int d3 = match_keyword(keys, 5, s3), d2 = match_keyword(keys, 5, s4);
    if (!d1 || !d2 || !d3 || !d4) return;
    AxesState& a = ax();
    a.depth[0] = d1 - 1, a.depth[3] = d4 - 1, a.depth[2] = d3 - 1, a.depth[1] = d2 - 1;
}

void frame(int i) {
    enter_routine("frame");
    ax().frame = i;
}

void grace(int i) {
    enter_routine("grace");
    ax().grace = i;
}

void nograf() {
    enter_routine("nograf");
    ax().nograf = 1;
}

void center() {
    enter_routine("center");
    if (ax().centring != 1) ax().centring = 1;
}

void neglog(float x) {
    enter_routine("neglog");
    if (!(x > 0)) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%g", (double)x);
        return void(warn_routine_text(2, buf));
    }
    ax().neglog_on = 1;
    ax().neglog_exp = (float)std::log10((double)x);
}

void setscl(const float* x1ray, int n, const char* s) {
    if (check_level(1, 1, "setscl")) return;
    char opt[4] = {0, 0, 0, 0};
    for (int i = 0; i < 3 && s && s[i]; ++i) opt[i] = (char)std::toupper((unsigned char)s[i]);
    AxesState& a = ax();
    if (!std::strcmp(opt, "XRE")) return void(a.auto_on[0] = 0);
    if (!std::strcmp(opt, "YRE")) return void(a.auto_on[1] = 0);
    if (!std::strcmp(opt, "ZRE")) return void(a.auto_on[2] = 0);
    if (!std::strcmp(opt, "RES")) return void(a.auto_on[0] = a.auto_on[1] = a.auto_on[2] = 0);
    if (n < 1 || !x1ray) return void(warn_routine_value(2, n));
    float lo = 0, hi = 0;
    bool any = false;
    for (int i = 0; i < n; ++i) {
        float v = x1ray[i];
        if (!std::isfinite(v)) continue;  // gaps in the data do not scale the axis
        if (!any) lo = hi = v, any = true;
        if (v < lo) lo = v;
        if (v > hi) hi = v;
    }
    if (!any) return void(warn_routine_value(2, n));
    if (hi - lo < 1.0e-35f) {
        warn_routine(25);
        lo -= 1;
        hi += 1;
    }
    int sel[3] = {0, 0, 0};
    if (!std::strcmp(opt, "XAX")) sel[0] = 1;
    else if (!std::strcmp(opt, "YAX")) sel[1] = 1;
    else if (!std::strcmp(opt, "ZAX")) sel[2] = 1;
    else keyword_axes(opt, sel);
    for (int i = 0; i < 3; ++i)
        if (sel[i]) a.auto_on[i] = 1, a.auto_min[i] = lo, a.auto_max[i] = hi;
}

void polmod(const char* s1, const char* s2) {
    enter_routine("polmod");
    int i = match_keyword("RIGH+TOP +LEFT+BOTT", 4, s1);
    if (!i) return;
    int j = match_keyword("ANTI+CLOC", 2, s2);
    if (!j) return;
    ax().polar_start = i - 1;
    ax().polar_dir = j - 1;
}

// ---- queries ---------------------------------------------------------------

void getgrf(float& x1, float& x2, float& x3, float& x4, const char* s) {
    x1 = x2 = x3 = x4 = 0;
    int axis = -1;
    char c = s && s[0] ? (char)std::toupper((unsigned char)s[0]) : 0;
    if (c == 'X' && (!s[1])) axis = 0;
    if (c == 'Y' && (!s[1])) axis = 1;
    if (c == 'Z' && (!s[1])) axis = 2;
    if (axis == 2 ? check_level(3, 3, "getgrf") : check_level(2, 3, "getgrf")) return;
    if (axis < 0) return void(warn_routine_text(2, s ? s : ""));
    const AxesState& a = ax();
    x1 = a.a[axis], x2 = a.e[axis], x3 = a.orig[axis], x4 = a.step[axis];
}

void getpos(int& i1, int& i2) {
    enter_routine("getpos");
    i1 = ax().nxa;
    i2 = page_y(ax().nya);
}

void getlen(int& i1, int& i2, int& i3) {
    enter_routine("getlen");
    i1 = ax().nxl, i2 = ax().nyl, i3 = ax().nzl;
}

void getscl(int& i1, int& i2, int& i3) {
    enter_routine("getscl");
    i1 = ax().scale_type[0], i2 = ax().scale_type[1], i3 = ax().scale_type[2];
}

float xposn(float x) {
    if (check_level(2, 3, "xposn")) return 0;
    const AxesState& a = ax();
    return (float)((axis_x_value(x, false) - a.a[0]) * a.scale[0] + a.map_origin[0]);
}

int nxposn(float x) {
    if (check_level(2, 3, "nxposn")) return 0;
    const AxesState& a = ax();
    return (int)((axis_x_value(x, false) - a.a[0]) * a.scale[0] + a.map_origin[0] + 0.5);
}

float yposn(float y) {
    if (check_level(2, 3, "yposn")) return 0;
    const AxesState& a = ax();
    if (a.kind == 1) {
        set_warning_text("YPOSN does not work for polar axis systems");
        warn_routine(101);
        return 0;
    }
    float v = (float)(a.map_origin[1] - (axis_y_value(y, false) - a.a[1]) * a.scale[1]);
    return state().pipeline.page_bottom ? (float)state().out.nyp - v : v;
}

int nyposn(float y) {
    if (check_level(2, 3, "nyposn")) return 0;
    const AxesState& a = ax();
    if (a.kind == 1) {
        set_warning_text("NYPOSN does not work for polar axis systems");
        warn_routine(101);
        return 0;
    }
    int v = (int)(a.map_origin[1] - (axis_y_value(y, false) - a.a[1]) * a.scale[1] + 0.5);
    return page_y(v);
}

float xinvrs(int ix) {
    if (check_level(2, 3, "xinvrs")) return 0;
    const AxesState& a = ax();
    double v = (ix - a.nxa) / a.scale[0] + a.a[0];
    return (float)(a.scale_type[0] ? std::pow(10.0, v) : v);
}

float yinvrs(int iy) {
    if (check_level(2, 3, "yinvrs")) return 0;
    const AxesState& a = ax();
    double v = (a.nya - page_y(iy)) / a.scale[1] + a.a[1];
    return (float)(a.scale_type[1] ? std::pow(10.0, v) : v);
}

void trfrel(float* x1ray, float* x2ray, int n) {
    if (check_level(2, 3, "trfrel")) return;
    for (int i = 0; i < n; ++i) {
        float xp, yp;
        user_to_plot(x1ray[i], x2ray[i], xp, yp);
        x1ray[i] = xp;
        x2ray[i] = state().pipeline.page_bottom ? (float)state().out.nyp - yp : yp;
    }
}

}  // namespace korval
