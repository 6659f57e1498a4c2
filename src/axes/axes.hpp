// Axis systems: the header other folders include.
#pragma once

#include <string>

#include "core/core.hpp"

namespace korval {

// Maps user coordinates of the current axis system to plot coordinates.
void user_to_plot(float x, float y, float& xp, float& yp);
// The projection of map axis systems (kind 2), installed by the maps
// subsystem: plot coordinates (unclamped) of a longitude and latitude.
using MapProjectHook = void (*)(float lon, float lat, double& xp, double& yp);
void set_map_projection_hook(MapProjectHook fn);
// Parameter test shared by every axis-system routine; 1 after an error.
int check_axis_parameters(float a, float e, float orig, float step, int length, int nx, int ny);
// Computes a, e, orig and step from the data limits set by setscl.
void autoscale_axis(float& a, float& e, float& orig, float& step, int axis);
void store_axis_scaling(float xa, float xe, float xor_, float xstp, float ya, float ye, float yor,
                        float ystp);
void set_axis_rectangle();
void center_axis_system();
// Draws one axis: line, ticks, labels, name.  side 0 puts ticks and labels
// below an X axis and right of a Y axis, 1 above and left.  axis 0, 1, 2
// selects the settings of X, Y, Z.
void draw_axis(float a, float e, float orig, float step, int length, const char* name, int side,
               int nx, int ny, int log, int axis);
// The ticks of one axis: n per label interval, lengths signed (positive:
// down for X, right for Y).
void draw_ticks(float a, float e, float orig, float step, int length, int nx, int ny, int log, int axis,
                int major, int minor, int n);
// Rectangle outlines grown (n > 0) or shrunk (n < 0) by one unit each.
void draw_frame(int x, int y, int w, int h, int n);
// Label texts.
std::string format_label(double value, int index, int log, int axis);
std::string format_exponent(double x, int digits, int form);
std::string format_date(int day_number, int axis);
// The widest label of an axis in plot units.
int max_label_width(float a, float e, float orig, float step, int axis, int log, bool crossed);
// Margins that titles and a colour bar add around the axis system when it
// is centred: false / 0 when there are none.  top or bottom stay -1 when the
// titles do not replace that margin.
bool title_margin(int& top, int& bottom);
int colour_bar_margin();
// The default axis placement derived from the page (korini, reset).
void axes_page_defaults();

}  // namespace korval
