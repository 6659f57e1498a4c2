// The depth buffer routines: zbfini, zbffin, zbftri and zbflin.
#include <cmath>

#include "devices/raster_zbuffer.hpp"
#include "draw/draw.hpp"
#include "graph3d/graph3d.hpp"
#include "korval/korval.hpp"
#include "plots/plots.hpp"

namespace korval {

namespace {

// Vector formats (codes 101..600) and formats without a picture cannot
// hold a depth buffer: warning 40.
bool raster_output() {
    int code = state().out.format;
    if ((code >= 101 && code <= 600) || state().raster.picture.empty()) {
        warn_routine(40);
        return false;
    }
    return true;
}

bool zbuffer_ready() {
    if (!g3().zbuffer || !zbuffer_exists()) {
        set_warning_text("no initialization of z-buffer");
        warn_routine(101);
        return false;
    }
    return true;
}

}  // namespace

// A vertex for the depth buffer: picture pixel and depth; false when the
// point lies outside the clipping volume.
bool zbuffer_vertex(const double p[3], float& px, float& py, float& depth) {
    if (!inside_clip_volume(p)) return false;
    float x, y;
    if (!project_abs(p, x, y)) return false;
    plot_to_pixel(x, y, px, py);
    depth = (float)abs_depth(p);
    return true;
}

int zbfini() {
    if (check_level(1, 3, "zbfini")) return 1;
    if (!raster_output()) return 1;
    if (g3().zbuffer && zbuffer_exists()) {
        set_warning_text("z-buffer is already in use");
        warn_routine(101);
        return 1;
    }
    plot_flush();
    if (!zbuffer_create()) {
        warn_routine(53);
        return 1;
    }
    g3().zbuffer = true;
    return 0;
}

void zbffin() {
    if (check_level(1, 3, "zbffin")) return;
    int code = state().out.format;
    if (code >= 101 && code <= 600) return (void)warn_routine(40);
    if (!g3().zbuffer) {
        set_warning_text("no initialization of z-buffer");
        return (void)warn_routine(101);
    }
    zbuffer_release();
    g3().zbuffer = false;
}

void zbftri(const float* x, const float* y, const float* z, const int* colours) {
    if (!need_box("zbftri") || !zbuffer_ready()) return;
    plot_flush();
    float px[3], py[3], d[3];
    for (int i = 0; i < 3; ++i) {
        double p[3];
        user_to_abs(x[i], y[i], z[i], p);
        if (!zbuffer_vertex(p, px[i], py[i], d[i])) return;
    }
    int c[3];
    for (int i = 0; i < 3; ++i) c[i] = colours[i] < 0 ? 0 : colours[i] > 255 ? 255 : colours[i];
    zbuffer_triangle(px, py, d, c);
}

void zbflin(float x1, float y1, float z1, float x2, float y2, float z2) {
    if (!need_box("zbflin") || !zbuffer_ready()) return;
    plot_flush();
    double a[3], b[3];
    user_to_abs(x1, y1, z1, a);
    user_to_abs(x2, y2, z2, b);
    float ax, ay, ad, bx, by, bd;
    if (!zbuffer_vertex(a, ax, ay, ad) || !zbuffer_vertex(b, bx, by, bd)) return;
    zbuffer_line(ax, ay, ad, bx, by, bd, current_colour());
}

}  // namespace korval
