// Line type and curve cycles, shading patterns and the blanking buffer:
// sub-records of the plot state owned by the line-style, fill and blanking
// routines.
#pragma once

#include <cstdint>

namespace korval {

struct LineStyleState {
    int line_type = 0;   // 0..7, last built-in type
    int cycle_type[30];  // curve line-type cycle (lincyc)
};

struct ShadingState {
    int pattern = 0;          // shdpat number or mypat code
    int angle = 0;            // degrees 0..179
    int type = 0;             // 0 none, 1 lines, 2..4 bands of 2, 3, 8 lines, 5..7 dashed lines
    int density = 0;          // 0..9
    int cross = 0;            // 1: a second hatch at right angles
    float spacing = 1.9999f;  // plot units between scan lines
    int band_size = 0;        // lines per band (types 2..4)
    int band_gap = 0;         // scan lines skipped between bands
    bool outline = true;      // areaf draws the border (noarln: off)
};

// Region records, one after another: header (shape * 100 + class * 10 +
// hidden flag), id, then the parameters.
struct BlankingState {
    static constexpr int kWords = 1000;
    std::int16_t words[kWords];
    int used = 0;          // words in use
    int regions = 0;       // number of regions
    int user_regions = 0;  // regions of class 0
    int last_id = 0;
    bool automatic[6] = {false, false, false, false, false, false};  // per class 1..5
    bool surface = false;                                            // shlsur
};

}  // namespace korval
