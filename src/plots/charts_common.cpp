// Shared parts of the bar graphs, pie charts and legends: defaults and
// reset, the legend records, the attribute cycles and the setters that
// belong to no single chart.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "axes/axes.hpp"
#include "axes/format.hpp"
#include "core/core.hpp"
#include "plots/plots.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"
#include "plots/charts.hpp"

namespace korval {

namespace {

ChartsState& ch() { return state().charts; }

void bar_defaults() {
    BarState& b = ch().bar;
    b = BarState{};
}

void pie_defaults() {
    PieState& p = ch().pie;
    p = PieState{};
    for (auto& pair : p.colours)
        for (int& c : pair) c = -1;
}

void pattern_cycle_defaults() {
    // Patterns 1..17 of shdpat in turn (16 is the solid fill).
    for (int k = 0; k < 30; ++k) ch().pattern_cycle[k] = k % 17 + 1;
}

void charts_defaults() {
    bar_defaults();
    pie_defaults();
    pattern_cycle_defaults();
    ch().legend = LegendState{};
}

void charts_endgrf() {
    ch().bar.call_count = 0;
}

struct Registration {
    Registration() {
        register_defaults(70, charts_defaults);
        register_endgrf(charts_endgrf);
        register_reset("BARG", [] {
            ch().bar.group_count = 1;
            ch().bar.group_gap = 0;
        });
        register_reset("BARP", [] { ch().bar.on_ticks = ch().bar.from_axis = false; });
        register_reset("BARD", [] { state().axes.bar_label_mode = 0; });
        register_reset("CHNP", [] { ch().pie.change_mode = 2; });
        register_reset("PATC", pattern_cycle_defaults);
        register_reset("PIEE", [] { ch().pie.explode = false; });
        register_reset("PIEL", [] { ch().pie.left_text.clear(), ch().pie.right_text.clear(); });
        register_reset("PIEV", [] {
            ch().pie.vector_code = 2301;
            ch().pie.vector_mode = 0;
        });
        register_reset("LEGC", [] { ch().legend.text_coloured = false; });
        register_reset("MIXL", [] { ch().legend.multiline = false; });
    }
} registration;

}  // namespace

void record_chart_legend(int k) {
    // Bars and pies are filled: their slots take the current pattern.
    state().plots.filled_curve = true;
    record_legend_entry(k);
}

int curve_cycle_colour(int c) {
    c = ((c - 1) % 30 + 30) % 30;
    return state().colour.cycle[c];
}

int pattern_cycle_entry(int c) {
    c = ((c - 1) % 30 + 30) % 30;
    return ch().pattern_cycle[c];
}

void set_colour(int index) {
    if (index != state().colour.current) device_colour(index);
}

void report_out_of_scaling(const float* x, const float* y, int n) {
    State& st = state();
    if (!st.msg.checking || !st.msg.warnings || st.msg.unit == 0) return;
    const AxesState& a = st.axes;
    for (int i = 0; i < n; ++i) {
        bool out = x[i] < a.umin[0] || x[i] > a.umax[0];
        if (a.kind != 1) out = out || y[i] < a.umin[1] || y[i] > a.umax[1];
        if (!out) continue;
        auto tiny = [](float v) {
            float m = std::fabs(v);
            return (m > 0 && m < 1e-6f) || m > 1e6f;
        };
        char line[128];
        int k = std::snprintf(line, sizeof line, " <<<< (");
        k += std::snprintf(line + k, sizeof line - k, tiny(x[i]) ? "%12.4e /" : "%f /", (double)x[i]);
        std::snprintf(line + k, sizeof line - k,
                      tiny(y[i]) ? "%12.4e) out of axis scaling!\n" : " %f) out of axis scaling!\n",
                      (double)y[i]);
        message_write(line);
    }
}

std::string legend_buffer_line(const char* cbuf, int k) {
    const LegendState& l = ch().legend;
    if (!cbuf || !l.initialised || k < 1 || k > l.lines || l.line_length < 1) return std::string();
    std::size_t len = std::strlen(cbuf);
    std::size_t from = (std::size_t)(k - 1) * (std::size_t)l.line_length;
    if (from >= len) return std::string();
    std::size_t n = std::min(len - from, (std::size_t)l.line_length);
    std::string s(cbuf + from, n);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\0')) s.pop_back();
    return s;
}

int legend_sub_lines(const std::string& text, std::string* parts, int max) {
    if (max < 1) return 0;
    if (!ch().legend.multiline) {
        parts[0] = text;
        return 1;
    }
    const char sep = state().text.ctrl[3];
    int k = 0;
    std::size_t from = 0;
    for (;;) {
        std::size_t at = text.find(sep, from);
        if (at == std::string::npos || k == max - 1) {
            parts[k++] = text.substr(from);
            return k;
        }
        parts[k++] = text.substr(from, at - from);
        from = at + 1;
    }
}

std::string chart_number(float v, int digits) {
    char buf[64];
    format_number(v, digits, buf, sizeof buf);
    const char* p = buf;
    while (*p == ' ') ++p;
    std::string s(p);
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

// ---- setters -------------------------------------------------------------------

void patcyc(int index, int pattern) {
    enter_routine("patcyc");
    if (check_range(index, 1, 30) || check_range(pattern, 0, 180000)) return;
    ch().pattern_cycle[index - 1] = pattern;
}

}  // namespace korval
