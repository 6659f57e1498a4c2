// Bar graphs, pie charts and legends: what the plotting routines share.
#pragma once

#include <string>

#include "draw/draw.hpp"
#include "plots/charts_state.hpp"

namespace korval {

// Writes legend slot k (1..30) from the current colour and the current
// pattern when the plot is a filled one (pattern -1 otherwise); the count
// of recorded slots becomes max(count, k).  Slots beyond 30 are ignored.
void record_chart_legend(int k);
// Entry c (1..30, wrapped) of the curve colour cycle and of the pattern
// cycle.
int curve_cycle_colour(int c);
int pattern_cycle_entry(int c);
// The colour "FORE": foreground_colour of draw/draw.hpp.
// Sets the current colour (through the pipeline, flushing first).
void set_colour(int index);
// The out-of-scaling report of the plotting routines for (x, y).
void report_out_of_scaling(const float* x, const float* y, int n);
// Line k (1-based) of a legend buffer without its trailing blanks; empty
// beyond the buffer or the legend's line count.
std::string legend_buffer_line(const char* cbuf, int k);
// Splits an entry into its sub-lines at the legend separator (mixleg).
int legend_sub_lines(const std::string& text, std::string* parts, int max);
// A label number with the given digits, without leading blanks.
std::string chart_number(float v, int digits);

}  // namespace korval
