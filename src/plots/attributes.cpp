// What the curve routines take from the line-style, colour and fill
// routines.  Everything a curve needs of them goes through this file.
#include "draw/draw.hpp"
#include "plots/plots.hpp"

namespace korval {

int current_colour() { return state().colour.current; }

void use_colour(int index) {
    if (index == state().colour.current) return;
    plot_flush();
    select_colour(index);
}

int current_line_type() { return state().style.line_type; }

void use_line_type(int type) {
    plot_flush();
    set_line_type(type);
}

int cycle_colour(int k) { return state().colour.cycle[(k - 1) % 30]; }

int cycle_line_type(int k) { return state().style.cycle_type[(k - 1) % 30]; }


// The solid pattern 16 for this fill only; the scan lines of the software
// fill lie `spacing` plot units apart (0: the pattern's own spacing).
void fill_solid_polygon(const float* x, const float* y, int n, float spacing) {
    if (n < 3) return;
    ShadingState& sh = state().shading;
    const ShadingState keep = sh;
    float u = state().out.unit_factor > 0 ? state().out.unit_factor : 1.0f;
    sh.pattern = 16;
    sh.angle = 0;
    sh.type = 1;
    sh.density = 0;
    sh.cross = 0;
    sh.band_size = sh.band_gap = 0;
    sh.spacing = spacing > 0 ? spacing : 1.9999f / u;
    plot_fill_polygon(x, y, n);
    sh = keep;
}

}  // namespace korval
