// Drawing primitives: the header other folders include.
//
// Every line goes through the vector pipeline: plot_move / plot_draw take
// plot coordinates (origin at the upper left corner, y downwards), apply the
// origin shift, dashing and the parallel offset, collect connected points,
// clip them and hand visible segments to the device.
#pragma once

namespace korval {

// Pen operations in plot coordinates.
void plot_move(float x, float y);
void plot_draw(float x, float y);
// Hands the pending polyline of the vector pipeline to the device.
void plot_flush();
// Starts the dash pattern afresh (before each curve).
void dash_reset();

// The device entries: a move (op 3) or draw (op 2) in plot coordinates, a
// filled axis-parallel rectangle, and a colour change.
void device_line(float x, float y, int op);
void device_fill_rect(int x1, int y1, int x2, int y2, int colour);
void device_colour(int index);

// Helpers shared by the drawing routines.
int page_y(int y);
int round_nearest(float v);
float direction_angle(float dy, float dx);
// Mode 0 clips to the axis system (saving the region), mode 1 restores.
void clip_to_axis(int mode);

}  // namespace korval
