// Three-dimensional graphics: the header other folders include.
#pragma once

#include <functional>

#include "core/core.hpp"
#include "graph3d/colour_plots_state.hpp"
#include "graph3d/graph3d_state.hpp"

namespace korval {

// ---- colour 3-D plots ------------------------------------------------------

// Sets the colour scale from the z range za..ze (exponents for a
// logarithmic scale) and the colour range of colran.
void set_colour_range(float za, float ze, bool log);
// The colour index of a z value: the colour range inside the scale, the
// under and over colours beyond it; -1 for a value that is not a number.
int z_to_colour(float z);
// A filled rectangle w x h centred on the plot point (x, y) in colour c.
void paint_point(float x, float y, int w, int h, int c);

// ---- the 3-D axis system and its projection ----------------------------------

inline Graph3DState& g3() { return state().graph3d; }

// True at level 3 inside a 3-D axis system; otherwise warns (3 for a wrong
// level, 35 for another axis system) and returns false.
bool need_box(const char* routine);
// User coordinates to absolute box coordinates (one axis, or a point).
double user_to_abs_axis(int axis, float v);
void user_to_abs(float x, float y, float z, double p[3]);
// Absolute box coordinates to user coordinates of one axis.
float abs_to_user_axis(int axis, double a);
// Absolute box coordinates to eye coordinates (xe, ye, ze: ze is the
// distance in front of the camera).
void abs_to_eye(const double p[3], double eye[3]);
// Plot coordinates of an absolute point (y downwards, origin shift not
// added); false when the point is not in front of the camera.
bool project_abs(const double p[3], float& xp, float& yp);
// The depth of the depth buffer: the projected depth divided by w.
double abs_depth(const double p[3]);
// True when a point lies inside the clipping volume of clip3d: the box
// ("WORL") or between the near and far planes ("EYE ").
bool inside_clip_volume(const double p[3]);
// Resolves focus and view point and builds the projection (graf3d).
void setup_camera();
// Box corner k (1..8) in absolute coordinates.
void box_corner(int k, double p[3]);
// 3-D lines in absolute coordinates through the vector pipeline, clipped
// in box or eye space as clip3d says.
void line3d_move(const double p[3]);
void line3d_draw(const double p[3]);
// Runs draw inside a temporary plane through the absolute points c1, c2,
// c3 with a 2-D axis system whose x axis takes the scaling of 3-D axis ax
// (from c1 to c2, reversed when rev) and whose y axis that of 3-D axis ay
// (from c2 to c3); axis settings, scaling and level are restored after.
void in_temporary_plane(const double c1[3], const double c2[3], const double c3[3], int ax, bool rev, int ay,
                        const std::function<void()>& draw);

// A vertex for the depth buffer: picture pixel and depth; false when the
// point lies outside the clipping volume.
bool zbuffer_vertex(const double p[3], float& px, float& py, float& depth);

// ---- lighting (lighting.cpp) ---------------------------------------------------

// The colour index of a surface point p with unit normal n (absolute box
// coordinates) under the lights; the current colour when lighting is off.
int light_intensity(const double p[3], const double n[3]);
// Converts light positions given as "USER" or "ANGL" before the axis
// system existed (graf3d).
void resolve_light_positions();

// ---- surfaces (surfaces.cpp) ---------------------------------------------------

// The colour scale of the 3-D axis system: zscale, else the z axis.
void set_surface_colour_scale();
// Draws a shaded polygon of plot points (3 or 4 corners) solid in colour c.
void fill_cell(const float* x, const float* y, int n, int c);

}  // namespace korval
