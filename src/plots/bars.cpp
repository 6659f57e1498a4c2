// Bar graphs: flat and 3-D bars, vertical and horizontal, grouped, with
// value labels; the bar settings.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "axes/axes.hpp"
#include "core/core.hpp"
#include "draw/draw.hpp"
#include "draw/figures.hpp"
#include "korval/korval.hpp"
#include "plots/charts.hpp"
#include "text/text.hpp"

namespace korval {

namespace {

constexpr float kDegree = 0.017453292f;

BarState& bar() { return state().charts.bar; }

// Restores the colour and pattern a routine changed for its drawing.
struct KeepAttributes {
    int colour = state().colour.current;
    int pattern = current_pattern();
    ~KeepAttributes() {
        select_pattern(pattern);
        set_colour(colour);
    }
};

// The plot coordinate of a user value along axis 0 (x) or 1 (y).
float plot_of(int axis, float v) {
    const AxesState& a = state().axes;
    float xp, yp;
    if (axis == 0)
        user_to_plot(v, a.scale_type[1] ? 1.0f : 0.0f, xp, yp);
    else
        user_to_plot(a.scale_type[0] ? 1.0f : 0.0f, v, xp, yp);
    return axis == 0 ? xp : yp;
}

// One axis step in plot units.
float axis_step_length(int axis) {
    const AxesState& a = state().axes;
    return (float)std::fabs(a.step[axis] * a.scale[axis]);
}

// The label positions of an axis, from the first label inside the axis
// range to the last.
std::vector<float> tick_positions(int axis) {
    const AxesState& a = state().axes;
    std::vector<float> v;
    double lo = std::min(a.a[axis], a.e[axis]), hi = std::max(a.a[axis], a.e[axis]);
    double step = a.step[axis], orig = a.orig[axis];
    if (!(std::fabs(step) > a.epsilon)) return v;
    const double eps = (hi - lo) * 1e-5 + a.epsilon;
    for (int i = 0; i < 32000; ++i) {
        double p = orig + i * step;
        if (p < lo - eps) {
            if (step > 0) continue;
            break;
        }
        if (p > hi + eps) {
            if (step < 0) continue;
            break;
        }
        v.push_back(a.scale_type[axis] ? (float)std::pow(10.0, p) : (float)p);
    }
    return v;
}

// A quadrilateral face through areaf; a face of no extent gets pattern 0.
void face(const float* x, const float* y, int colour, bool flat) {
    if (colour >= 0) set_colour(colour);
    int keep = current_pattern();
    if (flat) select_pattern(0);
    area_polygon(x, y, 4);
    if (flat) select_pattern(keep);
}

// The label of one bar.
struct BarLabel {
    std::string text;
    int x = 0, y = 0;
    bool blank = false;
};

}  // namespace

void bars(const float* xray, const float* y1ray, const float* y2ray, int n) {
    if (check_level(2, 3, "bars")) return;
    if (n < 1 || n > 32000) {
        warn_routine_value(2, n);
        return;
    }
    State& st = state();
    BarState& b = bar();
    const AxesState& ax = st.axes;
    b.call_count += 1;
    b.group_index += 1;
    const int j = b.group_index - 1;
    if (b.group_index >= b.group_count) b.group_index = 0;
    state().plots.filled_curve = true;

    const bool horizontal = state().plots.bar_type == 1 || state().plots.bar_type == 3;
    const bool three_d = state().plots.bar_type >= 2;
    const int pos_axis = horizontal ? 1 : 0, val_axis = horizontal ? 0 : 1;
    std::vector<float> x(xray, xray + n), y1(y1ray, y1ray + n), y2(y2ray, y2ray + n);
    if (b.from_axis) {
        float lower = ax.a[val_axis];
        if (ax.scale_type[val_axis]) lower = (float)std::pow(10.0, (double)lower);
        std::fill(y1.begin(), y1.end(), lower);
    }
    if (b.on_ticks) {
        std::vector<float> t = tick_positions(pos_axis);
        if ((int)t.size() != n) {
            warn_routine(28);
            n = std::min(n, (int)t.size());
        }
        for (int i = 0; i < n; ++i) x[i] = t[i];
        if (n < 1) return;
    }
    // Values that cannot be placed (NaN) are left out as bars of no extent.
    if (!ax.neglog_on && ax.kind == 0) {
        for (int i = 0; i < n; ++i) {
            if ((ax.scale_type[pos_axis] && x[i] <= 0) ||
                (ax.scale_type[val_axis] && (y1[i] <= 0 || y2[i] <= 0))) {
                warn_routine(27);
                return;
            }
        }
    }
    record_chart_legend(b.call_count);
    if (horizontal) {
        report_out_of_scaling(y1.data(), x.data(), n);
        report_out_of_scaling(y2.data(), x.data(), n);
    } else {
        report_out_of_scaling(x.data(), y1.data(), n);
        report_out_of_scaling(x.data(), y2.data(), n);
    }

    // Positions along the bar axis and the slot widths.
    std::vector<float> c(n), slot(n);
    for (int i = 0; i < n; ++i) c[i] = plot_of(pos_axis, x[i]);
    const float w = state().plots.bar_width;
    for (int i = 0; i < n; ++i) {
        if (w < 0) {
            slot[i] = -w;
        } else if (b.width_mode == 0) {
            float d = n > 1 ? std::fabs(c[1] - c[0]) : axis_step_length(pos_axis);
            slot[i] = w * d;
        } else {
            float d = 1e30f;
            if (i > 0) d = std::min(d, std::fabs(c[i] - c[i - 1]));
            if (i + 1 < n) d = std::min(d, std::fabs(c[i + 1] - c[i]));
            if (n == 1) d = axis_step_length(pos_axis);
            slot[i] = w * d;
        }
        if (!std::isfinite(slot[i])) slot[i] = 0;
    }

    KeepAttributes keep;
    const int saved_colour = keep.colour;
    const int k = b.group_count;
    const float g = b.group_gap;
    const float h = (float)st.text.height;
    const int mode = ax.bar_label_mode;
    const int label_colour = ax.label_colour[0];
    clip_to_axis(0);
    std::vector<BarLabel> labels;
    for (int i = 0; i < n; ++i) {
        float S = slot[i], B, G;
        if (g > 0) {
            B = S / ((k - 1) * g + k);
            G = B * g;
        } else {
            G = std::fabs(g);
            B = (S - (k - 1) * G) / k;
        }
        float e1 = plot_of(val_axis, y1[i]), e2 = plot_of(val_axis, y2[i]);
        if (!std::isfinite(c[i]) || !std::isfinite(e1) || !std::isfinite(e2) || !std::isfinite(B)) continue;
        const float lo = (float)round_nearest(c[i] - S / 2 + j * (B + G));
        const float hi = lo + (float)round_nearest(B);
        if (b.change_mode == 1 || b.change_mode == 3) set_colour(curve_cycle_colour(i % 30 + 1));
        if (b.change_mode == 2 || b.change_mode == 3) select_pattern(pattern_cycle_entry(i % 30 + 1));
        const int front = b.colours[0] >= 0 ? b.colours[0] : state().colour.current;
        const int side = b.colours[1] >= 0 ? b.colours[1] : state().colour.current;
        const int top = b.colours[2] >= 0 ? b.colours[2] : state().colour.current;
        const bool flat = hi == lo || e1 == e2;
        const float D = b.depth < 1e-35f ? B : b.depth;
        const float a = b.angle * kDegree;
        float fx[3][4], fy[3][4];
        int faces = 1;
        if (!horizontal) {
            float f0x[4] = {lo, hi, hi, lo}, f0y[4] = {e1, e1, e2, e2};
            std::copy(f0x, f0x + 4, fx[0]), std::copy(f0y, f0y + 4, fy[0]);
            if (three_d) {
                float dx = std::trunc(D * std::cos(a)), dy = std::trunc(D * std::sin(a));
                float sx[4] = {hi, hi + dx, hi + dx, hi}, sy[4] = {e1, e1 - dy, e2 - dy, e2};
                float tx[4] = {lo, lo + dx, hi + dx, hi}, ty[4] = {e2, e2 - dy, e2 - dy, e2};
                std::copy(sx, sx + 4, fx[1]), std::copy(sy, sy + 4, fy[1]);
                std::copy(tx, tx + 4, fx[2]), std::copy(ty, ty + 4, fy[2]);
                faces = 3;
            }
        } else {
            const float yt = lo, yb = hi;
            float f0x[4] = {e1, e1, e2, e2}, f0y[4] = {yt, yb, yb, yt};
            std::copy(f0x, f0x + 4, fx[0]), std::copy(f0y, f0y + 4, fy[0]);
            if (three_d) {
                float u = D * std::cos(a), v = D * std::sin(a);
                float sx[4] = {e1, std::trunc(e1 + u), std::trunc(e2 + u), e2};
                float sy[4] = {yt, std::trunc(yt - v), std::trunc(yt - v), yt};
                float tx[4] = {e2, std::trunc(e2 + u), std::trunc(e2 + u), e2};
                float ty[4] = {yb, std::trunc(yb - v), std::trunc(yt - v), yt};
                std::copy(sx, sx + 4, fx[1]), std::copy(sy, sy + 4, fy[1]);
                std::copy(tx, tx + 4, fx[2]), std::copy(ty, ty + 4, fy[2]);
                faces = 3;
            }
        }
        const int face_colour[3] = {front, side, top};
        const int bar_colour = state().colour.current;
        for (int f = 0; f < faces; ++f) face(fx[f], fy[f], face_colour[f], flat);
        if (three_d || b.border != -1) {
            set_colour(b.border >= 0 ? b.border : foreground_colour());
            int pat = current_pattern();
            select_pattern(0);
            for (int f = 0; f < faces; ++f) area_polygon(fx[f], fy[f], 4);
            select_pattern(pat);
        }
        set_colour(bar_colour);

        if (mode == 0) continue;
        // The value label.
        float v = 0;
        switch (mode) {
            case 1:
                v = y2[i];
                break;
            case 2:
                v = y1[i];
                break;
            case 3:
                v = std::max(y1[i], y2[i]);
                break;
            case 4:
                v = std::min(y1[i], y2[i]);
                break;
            case 5:
                v = y2[i] - y1[i];
                break;
            default:
                v = x[i];
                break;
        }
        BarLabel lab;
        lab.text = chart_number(v, ax.bar_digits);
        const float lw = (float)text_length(lab.text.c_str());
        const float extent = std::fabs(hi - lo), length = std::fabs(e2 - e1);
        static const int kCodes[8] = {0, 22, 12, 21, 21, 23, 23, 32};
        int code = kCodes[ax.bar_label_pos < 0 || ax.bar_label_pos > 7 ? 0 : ax.bar_label_pos];
        if (code == 0) {
            const float across = horizontal ? 1.5f * h : lw + h / 2;
            const float along = horizontal ? lw + h / 2 : 1.5f * h;
            code = round_nearest(across) < extent && round_nearest(along) < length ? 22 : 12;
        }
        int u = code % 10, t = code / 10;
        float lx, ly;
        if (!horizontal) {
            float e = e2, s = e1;
            if (e > s) std::swap(e, s), t = 6 - t;
            lx = u == 1 ? lo - lw - 1.25f * h : u == 2 ? lo + (hi - lo - lw) / 2 - 0.25f * h : hi + 0.75f * h;
            switch (t) {
                case 1:
                    ly = e - 2.25f * h;
                    break;
                case 2:
                    ly = e + 1.25f * h;
                    break;
                case 3:
                    ly = e + (s - h - e) / 2 - 0.25f * h;
                    break;
                case 4:
                    ly = s - 2.75f * h;
                    break;
                default:
                    ly = s + 0.75f * h;
                    break;
            }
            if (three_d && (code == 12 || code == 23)) {
                float dx = std::trunc(D * std::cos(b.angle * kDegree));
                lx += code == 12 ? std::trunc(dx / 2) : dx;
                ly -= std::trunc(D * std::sin(b.angle * kDegree));
            }
        } else {
            // Along the bar is x here: the end is the larger x for bars to
            // the right; across is y.
            float e = e2, s = e1;
            if (e < s) std::swap(e, s), t = 6 - t;
            switch (t) {
                case 1:
                    lx = e + 0.75f * h;
                    break;
                case 2:
                    lx = e - lw - 1.25f * h;
                    break;
                case 3:
                    lx = s + (e - s - lw) / 2 - 0.25f * h;
                    break;
                case 4:
                    lx = s + 0.75f * h;
                    break;
                default:
                    lx = s - lw - 1.25f * h;
                    break;
            }
            ly = u == 1 ? lo - 2.25f * h : u == 2 ? lo + (hi - lo - h) / 2 - 0.25f * h : hi + 0.75f * h;
            if (three_d && (code == 12 || code == 23)) {
                lx += std::trunc(D * std::cos(b.angle * kDegree));
                ly -= std::trunc(D * std::sin(b.angle * kDegree));
            }
        }
        lab.x = round_nearest(lx + 0.25f * h);
        lab.y = round_nearest(ly + 0.25f * h);
        labels.push_back(lab);
    }
    clip_to_axis(1);
    // Labels last, over the faces (the faces are already drawn, so no
    // blanking rectangle is needed to keep them off the text).
    if (!labels.empty()) {
        set_colour(label_colour >= 0 ? label_colour : saved_colour);
        for (const BarLabel& lab : labels) draw_text(lab.text.c_str(), lab.x, lab.y, 0, (int)h);
    }
}

// ---- setters ---------------------------------------------------------------------

void barwth(float w) {
    check_level(0, 3, "barwth");
    state().plots.bar_width = w;
}

void barmod(const char* s1, const char* s2) {
    check_level(0, 3, "barmod");
    int i = match_keyword("FIXE+VARI", 2, s1);
    if (!i) return;
    if (!match_keyword("WIDT", 1, s2)) return;
    bar().width_mode = i - 1;
}

void bargrp(int n, float gap) {
    check_level(0, 3, "bargrp");
    if (check_range(n, 1, 30)) return;
    bar().group_count = n;
    bar().group_gap = gap;
}

void barpos(const char* s) {
    check_level(0, 3, "barpos");
    int i = match_keyword("NONE+TICK+AXIS+BOTH", 4, s);
    if (!i) return;
    bar().on_ticks = i == 2 || i == 4;
    bar().from_axis = i == 3 || i == 4;
}

void baropt(float depth, float angle) {
    check_level(0, 3, "baropt");
    bar().depth = depth;
    bar().angle = angle;
}

void barclr(int ic1, int ic2, int ic3) {
    check_level(0, 3, "barclr");
    if (check_range(ic1, -1, 255) || check_range(ic2, -1, 255) || check_range(ic3, -1, 255)) return;
    bar().colours[0] = ic1, bar().colours[1] = ic2, bar().colours[2] = ic3;
}

void barbor(int ic) {
    check_level(0, 3, "barbor");
    if (check_range(ic, -1, 255)) return;
    bar().border = ic;
}

void bartyp(const char* s) {
    check_level(0, 3, "bartyp");
    int i = match_keyword("VERT+HORI+3DVE+3DHO", 4, s);
    if (i) state().plots.bar_type = i - 1;
}

void chnbar(const char* s) {
    check_level(0, 3, "chnbar");
    int i = match_keyword("NONE+COLO+PATT+BOTH", 4, s);
    if (i) bar().change_mode = i - 1;
}

}  // namespace korval
