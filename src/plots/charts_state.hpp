// Settings of the bar graphs, pie charts and legends, and the legend
// records that the plotting routines write.
#pragma once

#include <string>

#include "plots/plots_state.hpp"

namespace korval {

struct BarState {
    int width_mode = 0;             // 0 FIXE, 1 VARI
    int group_count = 1;            // bars of so many calls share a slot
    float group_gap = 0;            // > 0 in bar widths, <= 0 plot units
    bool on_ticks = false;          // positions from the axis labels
    bool from_axis = false;         // bars start at the axis
    float depth = -1.0f;            // 3-D depth in plot units (< 1e-35: the bar width)
    float angle = 45.0f;            // 3-D direction, degrees
    int colours[3] = {-1, -1, -1};  // front, side, top
    int border = -1;                // outline colour
    int change_mode = 0;            // 0 NONE, 1 COLO, 2 PATT, 3 BOTH
    int call_count = 0;             // legend record number of the last call
    int group_index = 0;            // position of the call within its group
};

struct PieState {
    int type = 0;              // 0 2D, 1 3D
    float thickness = 0.2f;    // 3-D side height in radii
    float view_angle = 45.0f;  // degrees
    int border = -1;           // segment outline colour
    int colours[2][30];        // pieclr pairs (-1: none)
    bool colours_set = false;
    bool explode = false;               // pieexp
    int change_mode = 2;                // 0 NONE, 1 COLO, 2 PATT, 3 BOTH
    std::string left_text, right_text;  // pielab
    int vector_code = 2301;             // pievec arrow code
    int vector_mode = 0;                // 0 BROK, 1 STRA, 2 NONE
};

struct LegendState {
    bool initialised = false;
    int lines = 0;        // nlin
    int line_length = 0;  // nmaxln
    std::string title = "Legende";
    float segment = 4.0f, margin = 0.5f, subline = 1.0f;  // legopt
    bool auto_position = true;
    int pos_x = 0, pos_y = 0;  // legpos
    bool user_patterns = false;
    bool defined[30] = {};
    LegendRecord user[30];       // entries of legpat
    bool text_coloured = false;  // legclr
    bool multiline = false;      // mixleg
    int max_text_width = 0;
    bool title_wider = false;
};

struct ChartsState {
    BarState bar;
    PieState pie;
    LegendState legend;
    int pattern_cycle[30];  // patcyc
};

}  // namespace korval
