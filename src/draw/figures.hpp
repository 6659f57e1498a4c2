// Geometric figures: the ellipse-arc generator, arrows and the fill of
// closed figures, for the figure routines and the plot types.
#pragma once

#include <vector>

#include "core/state.hpp"

namespace korval {

// ---- the rl conventions ------------------------------------------------------
// The rl routines call the plot routines with page_y switched off.
struct PageYOff {
    bool saved;
    PageYOff() : saved(state().pipeline.page_y_override) { state().pipeline.page_y_override = true; }
    ~PageYOff() { state().pipeline.page_y_override = saved; }
};
// Log check of user points (warning 27 for non-positive values on a
// logarithmic axis).
bool rl_valid(const float* x, const float* y, int n);
// A user point in plot coordinates, rounded.
void rl_plot_point(float x, float y, int& nx, int& ny);
// |plot x of (xm + r) - plot x of xm|, rounded: a radius along the x axis.
int rl_x_distance(float xm, float ym, float r);

// The ellipse-arc generator: centre (x0, y0) in plot coordinates (origin
// shift not yet added), half axes a and b, angles in degrees, rotation
// theta.  solid forces a solid outline; through_centre closes a partial
// arc through the centre (pie slices).  Outline and fill follow the area
// outline flag and the current pattern.  Returns 0, or the warning given.
int draw_ellipse_arc(float x0, float y0, float a, float b, float alpha, float beta, float theta, bool solid,
                     bool through_centre);
// The points of the generator (steps 2 to 8), in plot coordinates without
// the origin shift; empty when the sweep is 0.  close_partial closes a
// partial arc through the centre.
void ellipse_arc_points(float x0, float y0, float a, float b, float alpha, float beta, float theta,
                        bool close_partial, std::vector<float>& px, std::vector<float>& py);
// Start and end angle of an arc in radians: the start within one turn, the
// end after it.
void arc_span(float alpha, float beta, double& al, double& be);
// An arrow from (x1, y1) to (x2, y2), plot coordinates, arrow code ivec.
void draw_arrow(float x1, float y1, float x2, float y2, int ivec);

// ---- shading of closed figures -------------------------------------------
// The current pattern (shdpat number or mypat code); whether it fills.
int current_pattern();
bool pattern_fills();
// Selects a pattern by shdpat number (0..17 predefined, larger values are
// codes).
void select_pattern(int n);
// Area outline flag (noarln clears it).
bool area_outline_on();
// Fills a polygon (plot coordinates without the origin shift) with the
// current pattern; nothing for pattern 0.
void fill_figure(const float* x, const float* y, int n);
// A filled pie slice or ring sector in the current colour drawn by the
// device itself when it can (and everything lies inside the clipping
// region); false otherwise.
bool device_sector(float cx, float cy, float r1, float r2, float alpha, float beta);
// A solid triangle (plot coordinates without the origin shift) in the
// current colour, whatever the pattern: arrow heads.
void fill_solid_triangle(const float* x, const float* y);
// Draws a closed polygon: outline when the outline flag is on (in the
// current line style), then the fill of the current pattern (areaf).
void area_polygon(const float* x, const float* y, int n);

}  // namespace korval
