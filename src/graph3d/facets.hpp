// Shaded polygons in space: drawn back to front (farthest first), or
// through the depth buffer when one is active.
#pragma once

#include <vector>

namespace korval {

struct Facet {
    int n = 0;       // 3 or 4 corners
    double p[4][3];  // absolute box coordinates
    int colour[4];   // colour index per corner (flat drawing uses their mean)
};

// Outline: 0 none, 1 with the fill, 2 outline only; outline colour -1 is
// the current colour.  Facets with a corner outside the clipping volume
// are skipped.
void draw_facets(std::vector<Facet>& facets, int outline, int outline_colour);

}  // namespace korval
