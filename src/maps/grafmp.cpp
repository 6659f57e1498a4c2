// The map axis system and the map settings: projct, grafmp, the map axes
// and graticule, map curves and position queries, map labels.
#include <cmath>
#include <cstdio>
#include <string>

#include "axes/axes.hpp"
#include "axes/text_use.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"
#include "maps/maps.hpp"
#include "plots/plots.hpp"

namespace korval {

namespace {

MapState& ms() { return state().maps; }

const char* const kProjectionKeys =
    "CYLI+MERC+EXAC+CORR+UTM +OBLI+EQUA+MOLL+AITO+HAMM+WINK+SANS+ELLI+CONF+ALBE+POLY+CONI+"
    "GNOM+ORTH+STER+AZIM+LAMB+MYPR";
const int kProjectionCodes[23] = {0,  1,  2,  3,  4,  5,  6,  10, 11, 12, 13, 14,
                                  15, 20, 21, 22, 23, 30, 31, 32, 33, 34, 100};

void map_defaults() {
    MapState& m = ms();
    m.projection = 0;
    m.base = 0;
    m.level = 0;
    m.line_mode = 1;
    m.centre_lon = m.centre_lat = 0;
    m.ref_set = false;
    m.sphere = M_PI / 2;
    m.label_mode = 0;
    m.label_angle = 0;
    m.label_background = m.label_colour = -1;
    m.label_dx = m.label_dy = 0;
    m.label_height = 0;
    m.valid = false;
}

struct Registration {
    Registration() {
        register_defaults(60, map_defaults);
        register_reset("PROJ", [] { ms().projection = 0; });
        register_reset("MAPM", [] { ms().line_mode = 1; });
        register_reset("MAPP", [] { ms().centre_lon = ms().centre_lat = 0; });
        register_reset("MAPR", [] { ms().ref_set = false; });
        register_reset("MAPS", [] { ms().sphere = M_PI / 2; });
        register_reset("MPLA", [] { ms().label_angle = 0; });
        register_reset("MPLC", [] { ms().label_background = ms().label_colour = -1; });
        register_reset("MPLS", [] { ms().label_height = 0; });
    }
} registration;

// Restores the current colour when it goes out of scope.
struct ColourKeeper {
    int keep = current_colour();
    ~ColourKeeper() { use_colour(keep); }
};

void warn_text(const char* text) {
    set_warning_text(text);
    warn_routine(101);
}

bool in_range(double v, double lo, double hi) { return v >= lo && v <= hi; }

// grafmp's test of the map range for the selected projection.
bool map_range_ok(double xa, double xe, double ya, double ye) {
    switch (map_family(ms().projection)) {
        case MAP_CONICAL:
            if (!in_range(ya, -90.1, 90.1) || !in_range(ye, -90.1, 90.1)) return false;
            if (ya < -0.1 && ye > 0.1) return false;
            return in_range(xa, -180.1, 180.1) && in_range(xe, -180.1, 180.1);
        case MAP_WORLD:
            return in_range(ya, -90.1, 90.1) && in_range(ye, -90.1, 90.1) && in_range(xa, -180.1, 180.1) &&
                   in_range(xe, -180.1, 180.1);
        case MAP_AZIMUTHAL:
            if (ye - ya > 90) return true;
            return in_range((ya + ye) / 2, -90.1, 90.1) && xe - xa <= 180.1;
        default:
            return true;
    }
}

// The label text of a map axis: map labels unless the script chose a
// geographic or no label type; numbers without decimals by default.
std::string map_label(double v, int index, int axis) {
    AxisSettings& s = state().axes.axis[axis];
    AxisSettings keep = s;
    if (s.label_type == 1) {
        s.label_type = 6;
        s.digits = -1;
    }
    std::string text = format_label(v, index, 0, axis);
    s = keep;
    return text;
}

// The plot position of a label value along a map axis: x of a longitude
// on the parallel `at`, or y of a latitude on the meridian `at`.
double map_axis_position(bool xaxis, double v, double at) {
    double xp, yp;
    if (xaxis) {
        map_project(v, at, xp, yp);
        return xp;
    }
    map_project(at, v, xp, yp);
    return yp;
}

// One map axis at plot position pos (y of an X axis, x of a Y axis) from
// lo to hi along the axis; labels at orig + k step within a..e.
void draw_map_axis(bool xaxis, double a, double e, double orig, double step, const char* name, int side,
                   int pos, int lo, int hi, double at) {
    AxesState& st = state().axes;
    const int axis = xaxis ? 0 : 1;
    const AxisSettings& s = st.axis[axis];
    const int h = text_height();
    ColourKeeper colour;
    if (s.line) {
        if (s.colours[0] >= 0) use_colour(s.colours[0]);
        if (xaxis) {
            plot_move((float)lo, (float)pos);
            plot_draw((float)hi, (float)pos);
        } else {
            plot_move((float)pos, (float)lo);
            plot_draw((float)pos, (float)hi);
        }
        plot_flush();
        use_colour(colour.keep);
    }
    if (!(step != 0) || !std::isfinite(step) || !std::isfinite(orig)) return;
    const double lo_v = std::fmin(a, e), hi_v = std::fmax(a, e), eps = std::fabs(step) * 1e-6;
    // X axes: side 0 ticks and labels below; Y axes: side 1 left.
    const int dir = xaxis ? (side == 0 ? 1 : -1) : (side == 1 ? -1 : 1);
    const int tick = s.ticks > 0 ? st.tick_major : 0;
    TextModeGuard guard(true, false);
    int count = 0;
    for (double v = orig; v <= hi_v + eps && count < 1000; v += std::fabs(step), ++count) {
        if (v < lo_v - eps) continue;
        double p = map_axis_position(xaxis, v, at);
        if (!std::isfinite(p) || p < std::fmin(lo, hi) - 0.5 || p > std::fmax(lo, hi) + 0.5) continue;
        if (tick) {
            if (s.colours[1] >= 0) use_colour(s.colours[1]);
            if (xaxis) {
                plot_move((float)p, (float)pos);
                plot_draw((float)p, (float)(pos + dir * tick));
            } else {
                plot_move((float)pos, (float)p);
                plot_draw((float)(pos + dir * tick), (float)p);
            }
            plot_flush();
            use_colour(colour.keep);
        }
        if (s.label_type == 0) continue;
        std::string text = map_label(std::fabs(v) < eps ? 0.0 : v, count, axis);
        if (text.empty()) continue;
        if (s.colours[2] >= 0) use_colour(s.colours[2]);
        int w = text_length_mode(text.c_str(), TEXT_EXPONENTS);
        int d = tick + s.label_dist;
        if (xaxis) {
            int x = (int)std::lround(p - w / 2.0);
            int y = side == 0 ? pos + d + (int)(0.4 * h) : pos - d - h;
            draw_text_mode(text.c_str(), x, y, 0, h, TEXT_EXPONENTS);
        } else {
            int y = (int)std::lround(p - h / 2.0);
            int x = side == 1 ? pos - d - w : pos + d;
            draw_text_mode(text.c_str(), x, y, 0, h, TEXT_EXPONENTS);
        }
        plot_flush();
        use_colour(colour.keep);
    }
    if (name && *name && xaxis) {
        if (s.colours[3] >= 0) use_colour(s.colours[3]);
        int hn = st.name_height;
        int w = text_length_at(name, hn);
        int y = side == 0 ? pos + tick + s.label_dist + (int)(1.4 * h) + s.name_dist
                          : pos - tick - 2 * h - s.name_dist - hn;
        draw_text(name, (lo + hi) / 2 - w / 2, y, 0, hn);
        plot_flush();
    }
}

// The outline of the projected globe: the border meridians and parallels
// of world projections, the circle of hemisphere maps.
void draw_map_outline() {
    const MapState& m = ms();
    if (m.hemisphere) {
        const int n = 360;
        for (int i = 0; i <= n; ++i) {
            double t = 2 * M_PI * i / n;
            float x = (float)(m.xc + m.radius * std::cos(t)), y = (float)(m.yc - m.radius * std::sin(t));
            if (i == 0)
                plot_move(x, y);
            else
                plot_draw(x, y);
        }
        plot_flush();
        return;
    }
    auto trace = [](double lon0, double lat0, double lon1, double lat1) {
        int n = (int)std::ceil(std::fmax(std::fabs(lon1 - lon0), std::fabs(lat1 - lat0)));
        if (n < 1) n = 1;
        for (int i = 0; i <= n; ++i) {
            double t = (double)i / n, xp, yp;
            map_project(lon0 + (lon1 - lon0) * t, lat0 + (lat1 - lat0) * t, xp, yp);
            if (i == 0)
                plot_move((float)xp, (float)yp);
            else
                plot_draw((float)xp, (float)yp);
        }
    };
    // Longitudes just inside the border keep the seam on the right side.
    double e = 1e-9;
    trace(m.xa + e, m.ya, m.xe - e, m.ya);
    trace(m.xe - e, m.ya, m.xe - e, m.ye);
    trace(m.xe - e, m.ye, m.xa + e, m.ye);
    trace(m.xa + e, m.ye, m.xa + e, m.ya);
    plot_flush();
}

// A map label at a map point with the settings of the mpl routines.
void draw_map_label(const std::string& text, double lon, double lat) {
    const MapState& m = ms();
    double xp, yp;
    map_project(lon, lat, xp, yp);
    if (!std::isfinite(xp) || !std::isfinite(yp) || std::fabs(xp) > 1e6 || std::fabs(yp) > 1e6) return;
    if (point_outside_clip((float)xp + state().pipeline.shift_x, (float)yp + state().pipeline.shift_y))
        return;
    int h = m.label_height > 0 ? m.label_height : text_height();
    int keep_h = state().text.height;
    state().text.height = h;
    int w = text_length_mode(text.c_str(), TEXT_EXPONENTS);
    state().text.height = keep_h;
    int x = (int)std::lround(xp) + m.label_dx, y = (int)std::lround(yp) + m.label_dy - h / 2;
    ColourKeeper colour;
    if (m.label_background >= 0 && m.label_angle == 0) {
        plot_flush();
        device_fill_rect(x - 2, y - 2, x + w + 2, y + h + (int)(0.4 * h) + 2, m.label_background);
        device_colour(colour.keep);
    }
    if (m.label_colour >= 0) use_colour(m.label_colour);
    TextModeGuard guard(true, false);
    draw_text_mode(text.c_str(), x, y, (int)std::lround(m.label_angle), h, TEXT_EXPONENTS);
    plot_flush();
}

float page_y_of(double yp) {
    return state().pipeline.page_bottom ? (float)(state().out.nyp - yp) : (float)yp;
}

// Great-circle interpolation between two map points (mapmod "GREA").
void great_circle_to(double lon0, double lat0, double lon1, double lat1) {
    const double r = M_PI / 180;
    double a[3] = {std::cos(lat0 * r) * std::cos(lon0 * r), std::cos(lat0 * r) * std::sin(lon0 * r),
                   std::sin(lat0 * r)};
    double b[3] = {std::cos(lat1 * r) * std::cos(lon1 * r), std::cos(lat1 * r) * std::sin(lon1 * r),
                   std::sin(lat1 * r)};
    double dot = a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
    dot = dot > 1 ? 1 : dot < -1 ? -1 : dot;
    double w = std::acos(dot);
    int n = (int)std::ceil(w / r);
    if (n < 1 || std::sin(w) < 1e-9) return map_line_to(lon0, lat0, lon1, lat1);
    double plon = lon0, plat = lat0;
    for (int i = 1; i <= n; ++i) {
        double t = (double)i / n;
        double s0 = std::sin((1 - t) * w) / std::sin(w), s1 = std::sin(t * w) / std::sin(w);
        double p[3] = {s0 * a[0] + s1 * b[0], s0 * a[1] + s1 * b[1], s0 * a[2] + s1 * b[2]};
        double lat = std::atan2(p[2], std::hypot(p[0], p[1])) / r;
        double lon = std::atan2(p[1], p[0]) / r;
        // Keep the longitude continuous with the segment's own numbering.
        while (lon - plon > 180) lon -= 360;
        while (lon - plon < -180) lon += 360;
        if (i == n) lon = lon1, lat = lat1;
        int keep = ms().line_mode;
        ms().line_mode = 0;
        map_line_to(plon, plat, lon, lat);
        ms().line_mode = keep;
        plon = lon, plat = lat;
    }
}

}  // namespace

// ---- settings -------------------------------------------------------------------

void projct(const char* s) {
    if (check_level(1, 1, "projct")) return;
    int i = match_keyword(kProjectionKeys, 23, s);
    if (i) ms().projection = kProjectionCodes[i - 1];
}

void mapbas(const char* s) {
    check_level(0, 3, "mapbas");
    int i = match_keyword("KORV+GSHL+GSHI+GSHH+GSHF+MAPF", 6, s);
    if (i) ms().base = i - 1;
}

void mapfil(const char* s1, const char* s2) {
    check_level(0, 3, "mapfil");
    int i = match_keyword("GSHH+MAPG", 2, s2);
    if (!i) return;
    std::string name = s1 ? s1 : "";
    if (name.size() > 256) name.resize(256);
    ms().user_file = name;
    ms().user_type = i;
}

void maplev(const char* s) {
    check_level(0, 3, "maplev");
    int i = match_keyword("ALL +LAND+LAKE+BOTH", 4, s);
    if (i) ms().level = i == 4 ? 0 : i - 1;
}

void mapmod(const char* s) {
    check_level(0, 3, "mapmod");
    int i = match_keyword("STRA+INTE+GREA", 3, s);
    if (i) ms().line_mode = i - 1;
}

void mappol(float x1, float x2) {
    if (check_level(1, 1, "mappol")) return;
    if (!(x1 >= -180.1f && x1 <= 180.1f) || !(x2 >= -90.1f && x2 <= 90.1f)) return void(warn_routine(2));
    // The tolerance of the range is for rounding: the centre itself stays on the sphere.
    ms().centre_lon = std::fmax(-180.0f, std::fmin(180.0f, x1));
    ms().centre_lat = std::fmax(-90.0f, std::fmin(90.0f, x2));
}

void mapref(float x1, float x2) {
    if (check_level(1, 1, "mapref")) return;
    if (!(x1 >= -90.1f && x1 <= 90.1f) || !(x2 >= -90.1f && x2 <= 90.1f)) return void(warn_routine(2));
    // Standard parallels on both sides of the equator make no cone.
    if ((x1 < -0.1f && x2 > 0.1f) || (x2 < -0.1f && x1 > 0.1f)) return void(warn_routine(2));
    ms().ref_set = true;
    ms().ref1 = std::fmax(-90.0f, std::fmin(90.0f, x1));
    ms().ref2 = std::fmax(-90.0f, std::fmin(90.0f, x2));
}

void mapsph(float x) {
    if (check_level(1, 1, "mapsph")) return;
    if (!(x > 0 && x <= 90)) return void(warn_routine(2));
    ms().sphere = (double)x * M_PI / 180.0;
}

void setcbk(MapUserProjection fn, const char* s) {
    check_level(0, 3, "setcbk");
    if (match_keyword("MYPR", 1, s)) ms().user = fn;
}

void mpaepl(int i) {
    check_level(0, 3, "mpaepl");
    if (i < 0 || i > 1) return void(warn_routine_value(2, i));
    ms().label_mode = i;
}

void mplang(float x) {
    check_level(0, 3, "mplang");
    if (!(x >= -360 && x <= 360)) return void(warn_routine(2));
    ms().label_angle = x;
}

void mplclr(int i1, int i2) {
    check_level(0, 3, "mplclr");
    if (i1 < -1 || i1 > 255) return void(warn_routine_value(2, i1));
    if (i2 < -1 || i2 > 255) return void(warn_routine_value(2, i2));
    ms().label_background = i1;
    ms().label_colour = i2;
}

void mplpos(int i1, int i2) {
    check_level(0, 3, "mplpos");
    ms().label_dx = i1;
    ms().label_dy = i2;
}

void mplsiz(int i) {
    check_level(0, 3, "mplsiz");
    if (i < 0) return void(warn_routine_value(2, i));
    ms().label_height = i;
}

// ---- the axis system --------------------------------------------------------------

void grafmp(float xa, float xe, float xor_, float xstp, float ya, float ye, float yor, float ystp) {
    if (check_level(1, 1, "grafmp")) return;
    State& st = state();
    AxesState& s = st.axes;
    MapState& m = st.maps;
    autoscale_axis(xa, xe, xor_, xstp, 0);
    autoscale_axis(ya, ye, yor, ystp, 1);
    if (!(xa < xe) || !(ya < ye)) {
        if (std::isfinite(xa) && std::isfinite(xe) && std::isfinite(ya) && std::isfinite(ye))
            return warn_text("Map ranges must increase");
        return void(warn_routine(2));
    }
    if (!map_range_ok(xa, xe, ya, ye)) return void(warn_routine(2));
    const int sx = st.pipeline.shift_x, sy = st.pipeline.shift_y;
    int ex = check_axis_parameters(xa, xe, xor_, xstp, 2, 1 - sx, 1 - sy);
    int ey = check_axis_parameters(ya, ye, yor, ystp, 2, 1 - sx, 1 - sy);
    if (ex || ey) return;
    AxesState keep = s;
    s.scale_type[0] = s.scale_type[1] = 0;  // maps scale linearly in degrees
    store_axis_scaling(xa, xe, xor_, xstp, ya, ye, yor, ystp);
    if (s.centring == 1 && !st.run.in_plane_mode) {
        center_axis_system();
        s.centring = 2;
    }
    if (!map_setup(xa, xe, ya, ye)) {
        s = keep;
        return void(warn_routine(2));
    }
    m.ref_set = false;  // mapref serves one axis system
    s.kind = 2;
    st.run.level = 2;
    set_axis_rectangle();
    if (m.hemisphere) {
        AxisClip& c = st.pipeline.axis;
        c.map_circular = true;
        c.cx = (float)(m.xc + sx);
        c.cy = (float)(m.yc + sy);
        c.radius = (float)m.radius;
    }
    if (s.nograf) return;

    if (s.background >= 0) {
        int keep_colour = st.colour.current;
        device_fill_rect(s.nxa, s.nya - s.nyl + 1, s.nxa + s.nxl - 1, s.nya, s.background);
        device_colour(keep_colour);
    }
    if (m.hemisphere || m.family == MAP_WORLD) {
        draw_map_outline();
        return;
    }
    const int left = s.nxa, right = s.nxa + s.nxl - 1, bottom = s.nya, top = s.nya - s.nyl + 1;
    const double midlon = (xa + xe) / 2.0;
    // Label positions: longitudes where the meridians meet the lower
    // parallel, latitudes on the central meridian.
    auto side_axis = [&](int side, bool xaxis, int pos, bool labels) {
        int depth = s.depth[side - 1];
        AxisSettings& w = s.axis[xaxis ? 0 : 1];
        AxisSettings saved = w;
        if (depth < 4 || !labels) w.name.clear();
        if (depth < 3 || !labels) w.label_type = 0;
        if (depth < 2) w.ticks = 0;
        if (depth < 1) w.line = 0;
        if (xaxis)
            draw_map_axis(true, xa, xe, xor_, xstp, w.name.c_str(), side == 1 ? 0 : 1, pos, left, right,
                          side == 1 ? ya : ye);
        else
            draw_map_axis(false, ya, ye, yor, ystp, w.name.c_str(), side == 4 ? 1 : 0, pos, bottom, top,
                          midlon);
        w = saved;
    };
    side_axis(1, true, bottom, true);
    side_axis(4, false, left, true);
    if (!s.two_axes) {
        side_axis(3, true, top, false);
        side_axis(2, false, right, false);
    }
    if (s.frame != 0) {
        int keep_colour = st.colour.current;
        if (s.frame_colour >= 0) device_colour(s.frame_colour);
        draw_frame(s.nxa, s.nya - s.nyl + 1, s.nxl, s.nyl, s.frame);
        plot_flush();
        if (s.frame_colour >= 0) device_colour(keep_colour);
    }
}

void xaxmap(float a, float e, float orig, float step, const char* text, int itic, int ny) {
    if (check_level(2, 3, "xaxmap")) return;
    const AxesState& s = state().axes;
    if (s.kind != 2 || !ms().valid) return warn_text("No map axis system defined");
    if (!std::isfinite(a) || !std::isfinite(e)) return void(warn_routine(2));
    int y = page_y(ny);
    double lat = ms().ya + (ms().ye - ms().ya) * (s.nya - y) / std::fmax(1.0, s.nyl - 1.0);
    draw_map_axis(true, a, e, orig, step, text, itic ? 1 : 0, y, s.nxa, s.nxa + s.nxl - 1, lat);
}

void yaxmap(float a, float e, float orig, float step, const char* text, int itic, int ny) {
    if (check_level(2, 3, "yaxmap")) return;
    const AxesState& s = state().axes;
    if (s.kind != 2 || !ms().valid) return warn_text("No map axis system defined");
    if (!std::isfinite(a) || !std::isfinite(e)) return void(warn_routine(2));
    // ny is the plot x position of the axis.
    double lon = ms().xa + (ms().xe - ms().xa) * (ny - s.nxa) / std::fmax(1.0, s.nxl - 1.0);
    draw_map_axis(false, a, e, orig, step, text, itic ? 0 : 1, ny, s.nya, s.nya - s.nyl + 1, lon);
}

// ---- drawing in map coordinates ------------------------------------------------------

void gridmp(int nx, int ny) {
    if (check_level(2, 3, "gridmp")) return;
    const AxesState& s = state().axes;
    MapState& m = ms();
    if (s.kind != 2 || !m.valid) return warn_text("No map axis system defined");
    if (nx < 1 || ny < 1) return void(warn_routine_value(2, nx < 1 ? nx : ny));
    const double xs = std::fabs((double)s.step[0]) / nx, ys = std::fabs((double)s.step[1]) / ny;
    if (!(xs > 0) || !(ys > 0)) return;
    const double eps = 1e-6;
    clip_to_axis(0);
    const int keep_mode = m.line_mode;
    m.line_mode = 1;
    auto start_of = [](double orig, double lo, double step) {
        double k = std::ceil((lo - orig) / step - 1e-9);
        return orig + k * step;
    };
    int guard = 0;
    // Meridians.
    for (double lon = start_of(s.orig[0], m.xa, xs); lon <= m.xe + eps && guard < 2000; lon += xs, ++guard) {
        double la = m.ya, le = m.ye;
        if (m.family == MAP_AZIMUTHAL && m.hemisphere) la = std::fmax(la, -90), le = std::fmin(le, 90);
        map_move_to(lon, la);
        map_line_to(lon, la, lon, le);
    }
    // Parallels.
    for (double lat = start_of(s.orig[1], m.ya, ys); lat <= m.ye + eps && guard < 4000; lat += ys, ++guard) {
        if (std::fabs(lat) > 90 + eps && m.family != MAP_CYLINDRICAL) continue;
        double x0 = m.xa, x1 = m.xe;
        if (m.family == MAP_WORLD || m.family == MAP_CONICAL) x0 += 1e-9, x1 -= 1e-9;
        map_move_to(x0, lat);
        map_line_to(x0, lat, x1, lat);
    }
    plot_flush();
    m.line_mode = keep_mode;
    if (m.label_mode == 1) {
        // Labels of the graticule along the central parallel and meridian.
        const double midlat = m.family == MAP_AZIMUTHAL ? m.phi0 : (m.ya + m.ye) / 2;
        const double midlon = m.family == MAP_AZIMUTHAL ? m.lon0 : (m.xa + m.xe) / 2;
        int k = 0;
        for (double lon = start_of(s.orig[0], m.xa, s.step[0]); lon <= m.xe + eps && k < 1000;
             lon += std::fabs(s.step[0]), ++k)
            draw_map_label(map_label(std::fabs(lon) < eps ? 0 : lon, k, 0), lon, midlat);
        k = 0;
        for (double lat = start_of(s.orig[1], m.ya, s.step[1]); lat <= m.ye + eps && k < 1000;
             lat += std::fabs(s.step[1]), ++k)
            if (std::fabs(lat) <= 90)
                draw_map_label(map_label(std::fabs(lat) < eps ? 0 : lat, k, 1), midlon, lat);
    }
    clip_to_axis(1);
}

void curvmp(const float* x, const float* y, int n) {
    if (check_level(2, 3, "curvmp")) return;
    State& st = state();
    PlotsState& p = st.plots;
    if (n < 1 || !x || !y || (n == 1 && p.marker_increment >= 0)) return void(warn_routine_value(2, n));
    if (st.axes.kind != 2 || !st.maps.valid) return warn_text("No map axis system defined");
    if (p.interpolation != 0) warn_routine(14);

    const int keep_colour = current_colour();
    PipelineState& pipe = st.pipeline;
    const int keep_dash_count = pipe.dash_count;
    int keep_dash[10];
    for (int i = 0; i < 10; ++i) keep_dash[i] = pipe.dash[i];
    const int keep_type = st.style.line_type;
    if (p.change_mode == 1 || p.change_mode == 3) use_colour(cycle_colour(p.cycle_index));
    if (p.change_mode == 2 || p.change_mode == 3) use_line_type(cycle_line_type(p.cycle_index));
    if (p.legend_pending) {
        record_legend_entry(p.legend_number);
        p.legend_pending = false;
    }
    // Points outside the map range are reported like curve's.
    if (st.msg.checking && st.msg.unit != 0 && st.msg.warnings) {
        const MapState& m = st.maps;
        for (int i = 0; i < n; ++i) {
            if (x[i] >= m.xa && x[i] <= m.xe && y[i] >= m.ya && y[i] <= m.ye) continue;
            char line[160];
            std::snprintf(line, sizeof line, " <<<< (%f / %f) out of axis scaling!\n", (double)x[i],
                          (double)y[i]);
            message_write(line);
        }
    }
    clip_to_axis(0);
    if (p.marker_increment != 0) {
        int step = std::abs(p.marker_increment);
        for (int i = 0; i < n; i += step) {
            if (!std::isfinite(x[i]) || !std::isfinite(y[i])) continue;
            double xp, yp;
            map_project(x[i], y[i], xp, yp);
            if (std::fabs(xp) > 1e6 || std::fabs(yp) > 1e6) continue;
            draw_symbol(p.symbol_number, (int)std::lround(xp), (int)std::lround(yp));
        }
    }
    if (p.marker_increment >= 0) {
        float f = st.out.scale_factor > 0 ? st.out.scale_factor : 1.0f;
        int passes = (int)std::lround(p.thickness * f);
        if (passes < 1) passes = 1;
        for (int pass = 0; pass < passes; ++pass) {
            dash_reset();
            // Offsets 0, +1, -1, +2, ... plot units.
            int off = pass % 2 == 1 ? (pass + 1) / 2 : -(pass / 2);
            pipe.offset = off / f;
            bool down = false;
            for (int i = 0; i < n; ++i) {
                if (!std::isfinite(x[i]) || !std::isfinite(y[i])) {
                    down = false;
                    continue;
                }
                if (!down) {
                    map_move_to(x[i], y[i]);
                    down = true;
                } else if (st.maps.line_mode == 2) {
                    great_circle_to(x[i - 1], y[i - 1], x[i], y[i]);
                } else {
                    map_line_to(x[i - 1], y[i - 1], x[i], y[i]);
                }
            }
            plot_flush();
        }
    }
    plot_flush();
    pipe.offset = 0;
    pipe.deferred_move = false;
    clip_to_axis(1);
    use_colour(keep_colour);
    pipe.dash_count = keep_dash_count;
    for (int i = 0; i < 10; ++i) pipe.dash[i] = keep_dash[i];
    st.style.line_type = keep_type;
    dash_reset();
    advance_curve_attributes();
}

void pos2pt(float x, float y, float& xp, float& yp) {
    xp = yp = 0;
    if (check_level(2, 3, "pos2pt")) return;
    float px, py;
    user_to_plot(x, y, px, py);
    xp = px;
    yp = page_y_of(py);
}

float x2dpos(float x, float y) {
    if (check_level(2, 3, "x2dpos")) return 0;
    float px, py;
    user_to_plot(x, y, px, py);
    return px;
}

float y2dpos(float x, float y) {
    if (check_level(2, 3, "y2dpos")) return 0;
    float px, py;
    user_to_plot(x, y, px, py);
    return page_y_of(py);
}

}  // namespace korval
