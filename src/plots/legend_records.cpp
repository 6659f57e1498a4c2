// The legend records written by curves, bars and pies.
#include "draw/draw.hpp"
#include "plots/plots.hpp"

namespace korval {

void record_legend_entry(int k) {
    PlotsState& p = state().plots;
    if (!p.legend_recording || k < 1 || k > PlotsState::kLegendSlots) return;
    LegendRecord& r = p.legend[k - 1];
    r.line_type = p.marker_increment < 0 ? -1 : current_line_type();
    r.symbol = p.marker_increment != 0 ? p.symbol_number : -1;
    r.thickness = p.thickness;
    r.colour = current_colour();
    r.pattern = p.filled_curve ? current_pattern() : -1;
    if (k > p.legend_count) p.legend_count = k;
}

const LegendRecord* legend_record(int k) {
    if (k < 1 || k > PlotsState::kLegendSlots) return nullptr;
    return &state().plots.legend[k - 1];
}

}  // namespace korval
