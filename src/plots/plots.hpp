// Two-dimensional plot types: the header other folders include.
//
// Curves, symbols and the legend records.  The legend reads the records
// written by record_legend_entry; bars and pies write them too (set
// state().plots.filled_curve first so that the slot takes the current
// shading pattern).
#pragma once

#include "core/core.hpp"
#include "plots/plots_state.hpp"

namespace korval {

// ---- legend records ------------------------------------------------------

// Writes legend slot k (1..30) from the current attributes: line type (-1
// when the curve has symbols only), symbol (-1 without symbols), curve
// thickness, current colour and shading pattern (-1 unless filled_curve).
// Slots beyond 30 are ignored; legend_count becomes max(count, k).  Does
// nothing while legend_recording is off.
void record_legend_entry(int k);
// Slot k (1..30) as written; nullptr for other k.
const LegendRecord* legend_record(int k);

// ---- symbols and curves --------------------------------------------------

// Draws symbol nsym centred at the plot point (x, y) with the current symbol
// height and angle, colour and line style.
void draw_symbol(int nsym, int x, int y);
// True for 0..23 and the number of the user symbol.
bool valid_symbol(int nsym);
// The attribute step at the end of curve: next colour, line type and symbol.
void advance_curve_attributes();
// The colour and line type of one curve, taken from the curve cycles as
// chncrv says; restore (or the end of the guard) brings back the colour,
// line type and dash pattern in force before.
class CurveStyle {
public:
    CurveStyle();
    ~CurveStyle() { restore(); }
    void restore();
    CurveStyle(const CurveStyle&) = delete;
    CurveStyle& operator=(const CurveStyle&) = delete;

private:
    bool active_ = true;
    int colour_, type_, dash_count_;
    int dash_[10];
};

// Spline interpolation of n points (x, y) as curve draws it with "SPLI"
// (parametric: "PSPL"): fills xs, ys with spline_points + 1 points and
// returns their number, or 0 after warning 31, 32 or 38.  xs and ys must
// hold spline_points + 1 values.
int spline_points(const float* x, const float* y, int n, bool parametric, float* xs, float* ys);

// ---- attributes borrowed from the line-style and colour routines ---------

int current_colour();
void use_colour(int index);
int current_line_type();
void use_line_type(int type);
// Entries 1..30 of the curve cycles.
int cycle_colour(int k);
int cycle_line_type(int k);
int current_pattern();  // defined with the fill routines
// Fills a polygon (plot coordinates without the origin shift) solid in the
// current colour; a software fill puts its scan lines `spacing` plot units
// apart (0: the spacing of the solid pattern).
void fill_solid_polygon(const float* x, const float* y, int n, float spacing = 0);

}  // namespace korval
