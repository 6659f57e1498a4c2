// Three-dimensional graphics: the header other folders include.
#pragma once

#include "core/core.hpp"
#include "graph3d/colour_plots_state.hpp"

namespace korval {

// Sets the colour scale from the z range za..ze (exponents for a
// logarithmic scale) and the colour range of colran.
void set_colour_range(float za, float ze, bool log);
// The colour index of a z value: the colour range inside the scale, the
// under and over colours beyond it; -1 for a value that is not a number.
int z_to_colour(float z);
// A filled rectangle w x h centred on the plot point (x, y) in colour c.
void paint_point(float x, float y, int w, int h, int c);

}  // namespace korval
