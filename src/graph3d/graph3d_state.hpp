// State of the 3-D axis system, the camera, the plane mode, the surface
// routines with their floating horizon, and the lights.
#pragma once

#include <cstdint>
#include <vector>

#include "axes/axes_state.hpp"
#include "draw/pipeline_state.hpp"

namespace korval {

// One light of the lighting model.
struct Light {
    bool on = false;
    float pos[3] = {4.0f, -5.0f, 4.0f};
    int kind = 0;  // 0 ABS, 1 USER, 2 ANGL
    float ambient = 0.0f, diffuse = 1.0f, specular = 1.0f;
    float constant = 1.0f, linear = 0.0f, quadratic = 0.0f;
};

struct Graph3DState {
    // ---- camera and box (view3d, vfoc3d, vang3d, vup3d, vclp3d, axis3d, clip3d)
    float box[3] = {2.0f, 2.0f, 2.0f};
    bool view_set = false;
    int view_kind = 0;  // 0 ABS, 1 USER, 2 ANGL
    float view[3] = {0, 0, 0};
    bool focus_set = false;
    int focus_kind = 0;  // 0 ABS, 1 USER
    float focus[3] = {0, 0, 0};
    float half_angle = 0.2449787f;  // atan(0.25)
    float up_angle = 0.0f;
    float clip_near = 1.0f, clip_far = -1.0f;
    int clip_mode = 0;          // 0 WORL, 1 EYE
    int label_mode = 0;         // labl3d: 0 STAN, 1 HORI, 2 PARA, 3 OTHE
    bool first_labels = false;  // flab3d

    // ---- the 3-D axis system of graf3d (valid while active)
    bool active = false;
    float a[3] = {0, 0, 0}, e[3] = {1, 1, 1}, orig[3] = {0, 0, 0}, step[3] = {1, 1, 1};
    bool log[3] = {false, false, false};
    double vp[3] = {4, -5, 4};                             // resolved view point (absolute)
    double fp[3] = {0, 0, 0};                              // resolved focus (absolute)
    double row[3][3] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}};  // eye frame rows
    bool top_view = false;                                 // camera straight above the focus
    double cos_up = 1, sin_up = 0;
    double tan_h = 0.25;
    double depth_k = 0, depth_c = 0;      // depth = depth_k ze + depth_c (before / w)
    double cx0 = 0, cy0 = 0, radius = 1;  // centre and scale on the page

    // ---- plane mode (grfini .. grffin)
    bool plane_active = false;
    double p1[3] = {0, 0, 0}, u[3] = {0, 0, 0}, v[3] = {0, 0, 0};
    // The 3-D axis system as grfini left it, restored by grffin.
    AxesState saved_axes;
    AxisClip saved_clip;

    // ---- 3-D pen of strt3d / conn3d (absolute coordinates)
    double pen[3] = {0, 0, 0};
    bool pen_set = false;
    bool pen_drawn = false;  // the 2-D pen stands at the projection of pen

    // ---- surfaces
    int visibility = 0;    // BOTH TOP BOTT
    int line_option = 0;   // BOTH XISO YISO
    int mesh = 0;          // OFF ON ONLY
    int mesh_colour = -1;  // mshclr; -1: the current colour
    bool side_colours = false;
    int top_colour = -1, bottom_colour = -1;
    bool hidden_lines = true;  // nohide switches the floating horizon off
    // The floating horizon: smallest and largest plot y drawn per column.
    std::vector<std::int16_t> upper, lower;
    int horizon_mode = 0;  // 0 off, 1 update, 2 test
    int horizon_side = 0;  // side of the last visible pixel: 0 none, 1 top, 2 bottom
    int horizon_keep_colour = -1;

    // ---- lights and material
    bool lighting = false;
    Light lights[8];
    float mat_ambient = 0.2f, mat_diffuse = 0.8f, mat_specular = 0.0f, mat_exponent = 0.0f;
    float global_ambient = 0.2f;

    // ---- depth buffer (the buffer itself belongs to the raster picture)
    bool zbuffer = false;
};

}  // namespace korval
