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

// The polyline buffer: points already shifted, entered untransformed.
void polyline_start(float x, float y);
void polyline_add(float x, float y);
void polyline_flush();

// Clipping against the current region (rectangle or circle).
void clip_segment(float x0, float y0, float x1, float y1);
int point_outside_clip(float x, float y);

// The device entries: a move (op 3) or draw (op 2) in plot coordinates, a
// filled axis-parallel rectangle, and a colour change.
void device_line(float x, float y, int op);
void device_fill_rect(int x1, int y1, int x2, int y2, int colour);
void device_colour(int index);
// A solid polygon in the current colour, filled by the even-odd rule (plot
// coordinates, already shifted); false when the device cannot fill polygons
// itself.
bool device_fill_polygon(const float* x, const float* y, int n);
// The RGB value of a colour index.
void colour_rgb(int index, int& r, int& g, int& b);

// Helpers shared by the drawing routines.
int page_y(int y);
int round_nearest(float v);
float direction_angle(float dy, float dx);
// Mode 0 clips to the axis system (saving the region), mode 1 restores.
void clip_to_axis(int mode);
// Mode 1 flushes, saves and switches off the plane transformations; any
// other mode restores them.
void suspend_transforms(int mode);
// Intersection of the lines through (x1, y1)-(x2, y2) and (x3, y3)-(x4, y4);
// false when they are (nearly) parallel.
bool line_intersection(float x1, float y1, float x2, float y2, float x3, float y3, float x4, float y4,
                       float& xs, float& ys);
// Sets the clipping region to the whole page (after the page is known).
void clip_to_page();

// ---- line styles and colours ----------------------------------------------

// Selects a colour index for drawing (setclr without the checks).
void select_colour(int index);
// The index of a named colour: 0 WHIT, 1 RED, 2 GREE, 3 YELL, 4 BLUE,
// 5 ORAN, 6 CYAN, 7 MAGE, 8 BLAC.
int named_colour(int k);
// The foreground colour index of the current table and format (color "FORE").
int foreground_colour();
// Loads a built-in colour table with its named colours and colour roles
// (setvlt without the checks); type as the setvlt keys, 0..8.
void load_colour_table(int type);
// A built-in line type 0..7 (lintyp without the checks).
void set_line_type(int type);
// The dash pattern in plot units (n in 1..10, elements >= 1); the pattern
// starts afresh.
void set_dash_pattern(const int* lengths, int n);

// ---- area filling -----------------------------------------------------------

// Fills a polygon (plot coordinates without the origin shift) with the
// current shading pattern: in hardware where the format can, else hatched.
void plot_fill_polygon(const float* x, const float* y, int n);
// Hatches a polygon in software with the current pattern.
void hatch_polygon(const float* x, const float* y, int n);

// ---- blanking -----------------------------------------------------------------

// The blanking test of the pipeline: draws the parts of a segment outside
// every visible region and moves across the others.
void blank_segment(float x0, float y0, float x1, float y1);
// Stores a region (shape 1..6, class 0..5, values rounded); returns its id,
// or 0 after warning 47 when the buffer is full.
int define_blanking_region(int shape, int cls, const float* values, int count);

}  // namespace korval
