// State of the contour routines: label placement, the colours of shaded
// contours and the legend slot used by contour lines.  The label mode,
// digits and distance live with the other label settings (AxesState); the
// fill method and band rules with the colour plots (ColourPlotState).
#pragma once

#include <string>
#include <vector>

namespace korval {

struct ContourState {
    std::string label_text;       // conlab (up to 20 characters)
    float gap_factor = 0.5f;      // congap: gap on each side, in character heights
    float label_factor = 0.5f;    // conmod f: line kept on each side, in slot lengths
    float label_quotient = 1.5f;  // conmod q: allowed path length / chord
    std::vector<int> colours;     // conclr: colour per level of conshd
    int legend_number = 0;        // legend slot of the last contour line
};

}  // namespace korval
