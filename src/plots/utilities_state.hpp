// State of the data utilities: the gridding of scattered data (mdfmat).
#pragma once

namespace korval {

struct UtilityState {
    int grid_ix = 2;          // half-width of a point's neighbourhood in x, grid cells
    int grid_iy = 2;          // the same in y
    float grid_power = 2.0f;  // exponent of the inverse-distance weight
};

}  // namespace korval
