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

void chnatt() {
    if (enter_routine("chnatt")) return;
    PlotsState& p = state().plots;
    if (!p.attr_saved) {
        p.attr_saved = true;
        p.attr_colour = current_colour();
        p.attr_type = current_line_type();
    }
    p.cycle_index = p.cycle_index % 30 + 1;
    p.since_change = 1;
    bool both = p.change_mode == 0;  // "NONE": chnatt changes both
    if (both || p.change_mode == 1 || p.change_mode == 3) use_colour(cycle_colour(p.cycle_index));
    if (both || p.change_mode == 2 || p.change_mode == 3) use_line_type(cycle_line_type(p.cycle_index));
}

void resatt() {
    if (enter_routine("resatt")) return;
    PlotsState& p = state().plots;
    p.cycle_index = 1;
    p.since_change = 1;
    if (p.attr_saved) {
        use_colour(p.attr_colour);
        use_line_type(p.attr_type);
        p.attr_saved = false;
    }
}

}  // namespace korval
