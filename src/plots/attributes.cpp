// What the curve routines take from the line-style, colour and fill
// routines.  Everything a curve needs of them goes through this file.
#include <algorithm>
#include <cmath>
#include <vector>

#include "draw/draw.hpp"
#include "plots/plots.hpp"

namespace korval {

namespace {

// The built-in line types in tenths of a millimetre.
const int kLineTypes[8][5] = {
    {1, 1},               // solid (count, lengths ...)
    {2, 1, 10},           // dot
    {2, 10, 10},          // dash
    {4, 30, 15, 10, 15},  // chndsh
    {4, 1, 15, 15, 15},   // chndot
    {2, 20, 15},          // dashm
    {2, 1, 20},           // dotl
    {2, 30, 20},          // dashl
};

// Named colours per table type: WHIT RED GREE YELL BLUE ORAN CYAN MAGE.
const int kNamed[9][8] = {
    {1, 2, 3, 5, 4, 6, 7, 8},                 // SMAL
    {255, 254, 138, 192, 30, 223, 96, 13},    // RAIN
    {255, 254, 154, 205, 53, 235, 103, 1},    // SPEC
    {255, 230, 185, 150, 95, 215, 175, 110},  // GREY
    {255, 1, 117, 63, 225, 32, 159, 242},     // RRAI
    {255, 1, 101, 50, 202, 20, 152, 254},     // RSPE
    {255, 25, 70, 105, 160, 40, 80, 145},     // RGRE
    {15, 4, 2, 14, 1, 12, 3, 5},              // VGA
    {255, 254, 138, 192, 30, 223, 96, 13},    // TEMP
};

}  // namespace

int current_colour() { return state().colour.current; }

void use_colour(int index) {
    if (index == state().colour.current) return;
    plot_flush();
    device_colour(index);
}

int current_line_type() { return state().plots.line_type; }

void use_line_type(int type) {
    if (type < 0 || type > 7) return;
    PipelineState& p = state().pipeline;
    plot_flush();
    const int* t = kLineTypes[type];
    p.dash_count = t[0];
    for (int i = 0; i < t[0]; ++i) p.dash[i] = std::max(1, scaled_length(t[i + 1]));
    dash_reset();
    state().plots.line_type = type;
}

int cycle_colour(int k) {
    int type = state().colour.table_type;
    if (type < 0 || type > 8) type = 1;
    return kNamed[type][(k - 1) % 8];
}

int cycle_line_type(int k) { return (k - 1) % 8; }

int current_pattern() { return 16; }

// Solid fill: the device fills the polygon itself where it can; otherwise
// horizontal scan lines 0.75 plot units apart (divided by the scale
// factor), by the even-odd rule.
void fill_solid_polygon(const float* x, const float* y, int n) {
    if (n < 3) return;
    const PipelineState& p = state().pipeline;
    const int kMax = 64;
    float sx[kMax], sy[kMax];
    if (n > kMax) n = kMax;
    float ymin = y[0], ymax = y[0];
    for (int i = 0; i < n; ++i) {
        sx[i] = x[i] + p.shift_x;
        sy[i] = y[i] + p.shift_y;
        ymin = std::min(ymin, y[i]);
        ymax = std::max(ymax, y[i]);
    }
    if (device_fill_polygon(sx, sy, n)) return;
    float scale = state().out.scale_factor > 0 ? state().out.scale_factor : 1.0f;
    float step = 0.75f / scale;
    float cross[kMax];
    int line = 0;
    for (float yy = ymin + step / 2; yy < ymax; yy += step, ++line) {
        int c = 0;
        for (int i = 0, j = n - 1; i < n; j = i++) {
            float y0 = y[j], y1 = y[i];
            if ((y0 <= yy) != (y1 <= yy)) cross[c++] = x[j] + (yy - y0) * (x[i] - x[j]) / (y1 - y0);
        }
        std::sort(cross, cross + c);
        for (int k = 0; k + 1 < c; k += 2) {
            bool back = line & 1;
            plot_move(back ? cross[k + 1] : cross[k], yy);
            plot_draw(back ? cross[k] : cross[k + 1], yy);
        }
    }
}

}  // namespace korval
