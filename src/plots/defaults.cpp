// Defaults and reset groups of the curve state.
#include <cmath>

#include "plots/plots.hpp"

namespace korval {

namespace {

PlotsState& pl() { return state().plots; }

float scale_factor() {
    float f = state().out.scale_factor;
    return f > 0 ? f : 1.0f;
}

void reset_spline() {
    pl().spline_order = 3;
    pl().spline_points = 200;
}

void reset_legend_records() {
    PlotsState& p = pl();
    for (LegendRecord& r : p.legend) r = LegendRecord{};
    p.legend_count = 0;
    p.legend_number = 1;
    p.legend_pending = true;
}

void curve_defaults() {
    PlotsState& p = pl();
    p.interpolation = 0;
    reset_spline();
    p.marker_increment = 0;
    p.symbol_number = 0;
    p.symbol_count_limit = 23;
    p.symbol_height = (int)std::lround(36.0 / scale_factor());
    if (p.symbol_height < 1) p.symbol_height = 1;
    p.symbol_angle = 0;
    p.thickness = 1;
    p.gap = 0;
    p.gap_on = false;
    p.change_interval = 1;
    p.change_mode = 0;
    p.cycle_index = 1;
    p.attr_saved = false;
    p.since_change = 1;
    p.bar_width = 0.75f;
    p.bar_type = 0;
    p.legend_recording = true;
    p.filled_curve = false;
    reset_legend_records();
}

struct Registration {
    Registration() {
        register_defaults(70, curve_defaults);
        register_reset("POLC", [] { pl().interpolation = 0; });
        register_reset("SPLM", reset_spline);
        register_reset("SYMR", [] { pl().symbol_angle = 0; });
        register_reset("THKC", [] { pl().thickness = 1; });
        register_reset("GAPC", [] { pl().gap_on = false; });
        register_reset("CHNC", [] { pl().change_mode = 0; });
        register_reset("BARW", [] { pl().bar_width = 0.75f; });
        register_reset("BART", [] { pl().bar_type = 0; });
        register_endgrf([] {
            pl().legend_number = 1;
            pl().legend_pending = true;
            pl().legend_count = 0;
        });
    }
} registration;

}  // namespace

}  // namespace korval
