// graf: defines the two-dimensional axis system and draws it.
#include <cmath>

#include "axes/axes.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

AxesState& ax() { return state().axes; }

// Draws one side of a box axis system with the side's depth applied to a
// working copy of the axis settings.
void draw_side(int side, int axis, float a, float e, float orig, float step, int length, int flag,
               int nx, int ny) {
    AxesState& s = ax();
    int depth = s.depth[side - 1];
    AxisSettings saved = s.axis[axis];
    AxisSettings& w = s.axis[axis];
    if (depth < 4) w.name.clear();
    if (depth < 3) w.label_type = 0;
    if (depth < 2) w.ticks = 0;
    if (depth < 1) w.line = 0;
    draw_axis(a, e, orig, step, length, w.name.c_str(), flag, nx, ny, s.scale_type[axis], axis);
    s.axis[axis] = saved;
}

void endgrf_reset() {
    clip_to_axis(1);
    state().pipeline.axis.valid = false;
}

struct Registration {
    Registration() { register_endgrf(endgrf_reset); }
} registration;

}  // namespace

// The frame around the axis rectangle: |n| outlines grown (n > 0) or shrunk
// (n < 0) by one plot unit each.
void draw_frame(int x, int y, int w, int h, int n) {
    if (n == 0) return;
    int count = (int)(std::fabs((double)n * state().out.unit_factor) + 0.5);
    if (count < 1) count = 1;
    int dir = n > 0 ? 1 : -1;
    for (int i = 0; i < count; ++i) {
        float g = (float)(i * dir);
        float x0 = x - g, y0 = y - g, x1 = x + w - 1 + g, y1 = y + h - 1 + g;
        plot_move(x0, y0);
        plot_draw(x1, y0);
        plot_draw(x1, y1);
        plot_draw(x0, y1);
        plot_draw(x0, y0);
    }
}

void graf(float xa, float xe, float xor_, float xstp, float ya, float ye, float yor, float ystp) {
    if (check_level(1, 1, "graf")) return;
    State& st = state();
    AxesState& s = st.axes;
    s.kind = 0;
    st.run.level = 2;

    autoscale_axis(xa, xe, xor_, xstp, 0);
    autoscale_axis(ya, ye, yor, ystp, 1);
    const int sx = st.pipeline.shift_x, sy = st.pipeline.shift_y;
    int ex = check_axis_parameters(xa, xe, xor_, xstp, 2, 1 - sx, 1 - sy);
    int ey = check_axis_parameters(ya, ye, yor, ystp, 2, 1 - sx, 1 - sy);
    if (ex || ey) {
        st.run.level = 1;
        return;
    }
    if (s.axis_type == 1 && (s.scale_type[0] || s.scale_type[1])) {
        set_warning_text("Crossed axis systems must have linear scaling");
        warn_routine(101);
        st.run.level = 1;
        return;
    }
    store_axis_scaling(xa, xe, xor_, xstp, ya, ye, yor, ystp);

    if (s.axis_type == 1) {
        if (s.umin[0] - s.epsilon > 0 || s.umax[0] + s.epsilon < 0 || s.umin[1] - s.epsilon > 0 ||
            s.umax[1] + s.epsilon < 0) {
            set_warning_text("No origin found for crossed axis system");
            warn_routine(101);
            st.run.level = 1;
            return;
        }
        if (!s.origin_mode) {
            s.nx0 = (int)((0.0 - s.a[0]) * s.scale[0] + s.map_origin[0] + 0.5);
            s.ny0 = (int)(s.map_origin[1] - (0.0 - s.a[1]) * s.scale[1] + 0.5);
        } else {
            s.nxa = s.nx0 + (int)((s.nxl - 1) * (double)xa / ((double)xe - (double)xa));
            s.nya = (int)(s.nyl - (s.nyl - 1) * (double)ye / ((double)ye - (double)ya)) + s.ny0 - 1;
            s.map_origin[0] = s.nxa;
            s.map_origin[1] = s.nya;
        }
    }
    if (s.centring == 1 && !st.run.in_plane_mode) {
        center_axis_system();
        s.centring = 2;
    }
    set_axis_rectangle();
    if (s.nograf) return;

    if (s.background >= 0) {
        int keep = st.colour.current;
        device_fill_rect(s.nxa, s.nya - s.nyl + 1, s.nxa + s.nxl - 1, s.nya, s.background);
        device_colour(keep);
    }
    s.drawing_graf = true;
    if (s.axis_type == 1) {
        draw_axis(xa, xe, xor_, xstp, s.nxl, s.axis[0].name.c_str(), 0, s.nxa, s.ny0, 0, 0);
        draw_axis(ya, ye, yor, ystp, s.nyl, s.axis[1].name.c_str(), 1, s.nx0, s.nya, 0, 1);
        s.drawing_graf = false;
        return;
    }
    draw_side(1, 0, xa, xe, xor_, xstp, s.nxl, 0, s.nxa, s.nya);
    draw_side(4, 1, ya, ye, yor, ystp, s.nyl, 1, s.nxa, s.nya);
    if (!s.two_axes) {
        draw_side(3, 0, xa, xe, xor_, xstp, s.nxl, 1, s.nxa, s.nya - s.nyl + 1);
        draw_side(2, 1, ya, ye, yor, ystp, s.nyl, 0, s.nxa + s.nxl - 1, s.nya);
    }
    s.drawing_graf = false;
    if (s.frame != 0) {
        int keep = st.colour.current;
        if (s.frame_colour >= 0) device_colour(s.frame_colour);
        draw_frame(s.nxa, s.nya - s.nyl + 1, s.nxl, s.nyl, s.frame);
        plot_flush();
        if (s.frame_colour >= 0) device_colour(keep);
    }
}

}  // namespace korval
