// User routines of the pipeline (line, origin, page origin, page border,
// clipping) and the defaults of the pipeline.

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"

namespace korval {

void line(int nx1, int ny1, int nx2, int ny2) {
    if (enter_routine("line")) return;
    plot_move((float)nx1, (float)page_y(ny1));
    plot_draw((float)nx2, (float)page_y(ny2));
}

void origin(int nx, int ny) {
    if (check_level(1, 1, "origin")) return;
    PipelineState& p = state().pipeline;
    p.shift_x = nx;
    p.shift_y = ny;
}

void pagorg(const char* s) {
    enter_routine("pagorg");
    int i = match_keyword("TOP +BOTT", 2, s);
    if (i) state().pipeline.page_bottom = i == 2;
}

void pagera() {
    if (enter_routine("pagera")) return;
    const OutputState& o = state().out;
    float nx = (float)o.nxp, ny = (float)o.nyp;
    polyline_start(0, 0);
    polyline_add(0, ny);
    polyline_add(nx, ny);
    polyline_add(nx, 0);
    polyline_add(0, 0);
}

void clpwin(int nx, int ny, int nw, int nh) {
    enter_routine("clpwin");
    if (nx < 0 || ny < 0) {
        warn_routine_value(2, nx < ny ? nx : ny);
    } else if (nw < 1 || nh < 1) {
        warn_routine_value(2, nw < nh ? nw : nh);
    }
    const OutputState& o = state().out;
    int y = page_y(ny);
    if (nx + nw - 1 <= o.nxp && y + nh - 1 <= o.nyp) {
        polyline_flush();
        PipelineState& p = state().pipeline;
        p.border_mode = 1;
        p.clip_xmin = nx;
        p.clip_ymin = y;
        p.clip_xmax = nx + nw - 1;
        p.clip_ymax = y + nh - 1;
    } else {
        warn_routine(2);
    }
}

void clpbor(const char* s) {
    check_level(0, 3, "clpbor");
    int i = match_keyword("PAGE+AXIS", 2, s);
    if (!i) return;
    PipelineState& p = state().pipeline;
    p.border_mode = 0;
    if (i == 1) {
        polyline_flush();
        clip_to_page();
    } else {
        clip_to_axis(0);
        p.border_mode = 2;
    }
}

void clpmod(const char* s) {
    check_level(0, 3, "clpmod");
    int i = match_keyword("AUTO+NONE+CIRC+RECT", 4, s);
    if (i) state().pipeline.clip_mode = i - 1;
}

void noclip() {
    check_level(0, 3, "noclip");
    state().pipeline.clip_mode = 1;
}

namespace {

void pipeline_defaults() {
    PipelineState& p = state().pipeline;
    p.pen_x = p.pen_y = 0;
    p.shift_x = p.shift_y = 0;
    p.count = 0;
    p.has_last = false;
    p.dash_count = 1;
    p.dash[0] = 1;
    dash_reset();
    p.offset = 0;
    p.deferred_move = false;
    clip_to_page();
    p.border_mode = 0;
    p.clip_mode = 0;
    p.saved_xmin = p.clip_xmin;
    p.saved_ymin = p.clip_ymin;
    p.saved_xmax = p.clip_xmax;
    p.saved_ymax = p.clip_ymax;
    p.axis = AxisClip{};
    p.base_on = false;
    p.suspended = false;
    p.blanking = 0;
    p.page_bottom = false;
    p.page_y_override = false;
    p.line_width = 1;
    p.line_cap = 2;
    p.line_join = 2;
    p.miter_limit = 2.0f;
}

void reset_clpbor() {
    PipelineState& p = state().pipeline;
    polyline_flush();
    p.border_mode = 0;
    clip_to_page();
}

void reset_clpmod() { state().pipeline.clip_mode = 0; }
void reset_origin() { state().pipeline.shift_x = state().pipeline.shift_y = 0; }

struct Registration {
    Registration() {
        register_defaults(10, pipeline_defaults);
        register_reset("CLPB", reset_clpbor);
        register_reset("CLPW", reset_clpbor);
        register_reset("CLPM", reset_clpmod);
        register_reset("NOCL", reset_clpmod);
        register_reset("ORIG", reset_origin);
    }
} registration;

}  // namespace

}  // namespace korval
