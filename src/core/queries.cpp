// Queries of settings owned by other subsystems (see
// include/korval/routines_queries.hpp for what each one reports).
//
// They only read the state record; the subsystems that own the settings
// need not know about them.
#include <cstdlib>
#include <cstring>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"
#include "platform/platform.hpp"

namespace korval {

namespace {

// The label types in the order of their index (the keyword list of labels).
const char* const kLabelTypeNames[15] = {"NONE", "FLOA", "EXP ", "LOG ", "CLOG",
                                         "ELOG", "MAP ", "DMAP", "LMAP", "TIME",
                                         "HOUR", "SECO", "MYLA", "FEXP", "DATE"};

void label_type_name(int axis, OutString<5> out) {
    int t = state().axes.axis[axis].label_type;
    copy_bounded(out.buf, kLabelTypeNames[t >= 0 && t < 15 ? t : 1], 4);
}

bool env_set(const char* name) {
    const char* v = std::getenv(name);
    return v && v[0];
}

// 0 no display, 1 X11, 2 Wayland.  GTK prefers Wayland when both are
// there unless GDK_BACKEND asks for X11.
int display_kind() {
    if (!platform::display_available()) return 0;
    const char* backend = std::getenv("GDK_BACKEND");
    bool want_x11 = backend && std::strncmp(backend, "x11", 3) == 0;
    if (env_set("WAYLAND_DISPLAY") && !want_x11) return 2;
    return 1;
}

bool raster_format(int code) { return code >= 601 && code <= 606; }

}  // namespace

// ---- text --------------------------------------------------------------------

int gethgt() {
    enter_routine("gethgt");
    return state().text.height;
}

int getang() {
    enter_routine("getang");
    return state().text.angle;
}

const char* getshf(const char* s) {
    static char result[2] = {' ', '\0'};
    result[0] = ' ';
    if (enter_routine("getshf")) return result;
    int k = match_keyword("GERM+DANI+SPAN+FREN+ACUT+GRAV+CIRC", 7, s);
    if (k && state().text.national[k - 1]) result[0] = state().text.national[k - 1];
    return result;
}

// ---- lines, colours, patterns ------------------------------------------------

int gettyp() {
    enter_routine("gettyp");
    return state().style.line_type;
}

void getran(int& i1, int& i2) {
    enter_routine("getran");
    i1 = state().colour.range_lo;
    i2 = state().colour.range_hi;
}

int getpat() {
    check_level(0, 3, "getpat");
    return state().shading.pattern;
}

void getclp(int& i1, int& i2, int& i3, int& i4) {
    enter_routine("getclp");
    const PipelineState& p = state().pipeline;
    i1 = p.clip_xmin;
    i2 = page_y(p.clip_ymin);
    i3 = p.clip_xmax - p.clip_xmin + 1;
    i4 = p.clip_ymax - p.clip_ymin + 1;
}

// ---- symbols -----------------------------------------------------------------

void getsym(int& i1, int& i2) {
    check_level(0, 3, "getsym");
    i1 = state().plots.symbol_number;
    i2 = state().plots.symbol_height;
}

// ---- axes --------------------------------------------------------------------

void getlab(OutString<5> s1, OutString<5> s2, OutString<5> s3) {
    enter_routine("getlab");
    label_type_name(0, s1);
    label_type_name(1, s2);
    label_type_name(2, s3);
}

void getsp1(int& i1, int& i2, int& i3) {
    enter_routine("getsp1");
    const AxisSettings* a = state().axes.axis;
    i1 = a[0].label_dist, i2 = a[1].label_dist, i3 = a[2].label_dist;
}

void getsp2(int& i1, int& i2, int& i3) {
    enter_routine("getsp2");
    const AxisSettings* a = state().axes.axis;
    i1 = a[0].name_dist, i2 = a[1].name_dist, i3 = a[2].name_dist;
}

// ---- colour plots ------------------------------------------------------------

void getres(int& i1, int& i2) {
    check_level(0, 3, "getres");
    i1 = state().colour_plots.point_w;
    i2 = state().colour_plots.point_h;
}

void getvk(int& i1, int& i2, int& i3) {
    check_level(0, 3, "getvk");
    i1 = state().colour_plots.bar_shift_x;
    i2 = state().colour_plots.bar_shift_y;
    i3 = state().axes.title_shift;
}

int getwid() {
    check_level(0, 3, "getwid");
    return state().colour_plots.bar_width;
}

// ---- output, messages, system ------------------------------------------------

int getuni() {
    check_level(0, 3, "getuni");
    return state().msg.unit;
}

void getwin(int& i1, int& i2, int& i3, int& i4) {
    check_level(0, 3, "getwin");
    const State& st = state();
    const OutputState& o = st.out;
    const ScreenWindow& win = st.screen.windows[st.screen.current];
    if (st.run.level > 0 && o.format < 101 && win.state != 0) {
        i1 = win.x, i2 = win.y, i3 = win.w, i4 = win.h;
    } else if (o.window_mode == 1 || o.window_mode == 2) {
        i1 = o.window_x, i2 = o.window_y, i3 = o.window_w, i4 = o.window_h;
    } else {
        int nx, ny;
        page_extent(nx, ny);
        bool portrait = nx <= ny;
        i1 = 0, i2 = 0;
        i3 = portrait ? 603 : 853;
        i4 = portrait ? 853 : 603;
    }
}

const char* getdsp() {
    check_level(0, 3, "getdsp");
    static const char* const kNames[3] = {"NONE", "X11 ", "WAYL"};
    return kNames[display_kind()];
}

int getbpp() {
    check_level(0, 3, "getbpp");
    const State& st = state();
    if (!st.raster.picture.empty()) return 8 * st.raster.picture.bytes_per_pixel();
    if (raster_format(st.out.format)) return st.raster.image_format == 1 ? 24 : 8;
    return display_kind() ? 24 : 0;
}

int getplv() { return 0; }

}  // namespace korval
