// The fill of closed figures, bars and pie segments with the current
// shading pattern (the shading state and the polygon fill of the area
// routines), device sectors, and the solid fill of arrow heads.
#include <algorithm>
#include <cmath>
#include <vector>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"
#include "draw/figures.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

constexpr float kDegree = 0.017453292f;

struct Hatch {
    float spacing;
    int band, gap;
};

bool inside_clip(const float* x, const float* y, int n) {
    const PipelineState& p = state().pipeline;
    for (int i = 0; i < n; ++i) {
        float sx = x[i] + p.shift_x, sy = y[i] + p.shift_y;
        if (sx < p.clip_xmin || sx > p.clip_xmax || sy < p.clip_ymin || sy > p.clip_ymax) return false;
    }
    return !p.circle;
}

bool hardware_fill_allowed() {
    const PipelineState& p = state().pipeline;
    return p.blanking == 0 && !p.base_on && p.plane_project == nullptr && p.hidden_segment == nullptr;
}

// Scan lines of constant y' in the frame turned by angle degrees, spans by
// the even-odd rule; raw spans go below the dashing (arrow heads).
void hatch(const float* x, const float* y, int n, float angle, const Hatch& h, bool raw) {
    if (n < 3 || !(h.spacing > 0)) return;
    const double a = angle * kDegree, c = std::cos(a), s = std::sin(a);
    std::vector<double> rx((std::size_t)n), ry((std::size_t)n);
    double lo = 1e30, hi = -1e30;
    for (int i = 0; i < n; ++i) {
        rx[i] = x[i] * c - y[i] * s;
        ry[i] = x[i] * s + y[i] * c;
        lo = std::min(lo, ry[i]);
        hi = std::max(hi, ry[i]);
    }
    if (!std::isfinite(lo) || !std::isfinite(hi) || (hi - lo) / h.spacing > 200000) return;
    const PipelineState& p = state().pipeline;
    std::vector<double> cross;
    bool forward = true;
    long k0 = (long)std::floor(lo / h.spacing);
    for (long k = k0;; ++k) {
        const double yl = k * h.spacing;
        if (yl > hi + h.spacing / 2) break;
        if (h.band > 0 && (k - k0) % (h.band + h.gap) >= h.band) continue;
        cross.clear();
        for (int i = 0; i < n; ++i) {
            int j = (i + 1) % n;
            double y0 = ry[i], y1 = ry[j];
            if ((y0 <= yl && yl < y1) || (y1 <= yl && yl < y0))
                cross.push_back(rx[i] + (yl - y0) * (rx[j] - rx[i]) / (y1 - y0));
        }
        if (cross.size() > 100) {
            warn_routine_value(26, (int)cross.size());
            return;
        }
        std::sort(cross.begin(), cross.end());
        for (std::size_t q = 0; q + 1 < cross.size(); q += 2) {
            double xa = forward ? cross[q] : cross[q + 1], xb = forward ? cross[q + 1] : cross[q];
            // Back into page coordinates.
            float px0 = (float)(xa * c + yl * s), py0 = (float)(-xa * s + yl * c);
            float px1 = (float)(xb * c + yl * s), py1 = (float)(-xb * s + yl * c);
            if (raw) {
                polyline_start(px0 + p.shift_x, py0 + p.shift_y);
                polyline_add(px1 + p.shift_x, py1 + p.shift_y);
            } else {
                plot_move(px0, py0);
                plot_draw(px1, py1);
            }
        }
        forward = !forward;
    }
    plot_flush();
}

// The device fill of a polygon given without the origin shift.
bool device_polygon(const float* x, const float* y, int n) {
    if (!hardware_fill_allowed() || !inside_clip(x, y, n)) return false;
    const PipelineState& p = state().pipeline;
    std::vector<float> sx((std::size_t)n), sy((std::size_t)n);
    for (int i = 0; i < n; ++i) sx[i] = x[i] + p.shift_x, sy[i] = y[i] + p.shift_y;
    return device_fill_polygon(sx.data(), sy.data(), n);
}

}  // namespace

int current_pattern() { return state().shading.pattern; }

bool pattern_fills() { return state().shading.type != 0; }

void select_pattern(int n) {
    if (n < 0 || n == state().shading.pattern) return;
    // shdpat without taking over the name of the routine that is running.
    RunState& run = state().run;
    const char* routine = run.routine;
    shdpat(n);
    run.routine = routine;
}

bool area_outline_on() { return state().shading.outline && !state().figure.outline_off; }

void fill_figure(const float* x, const float* y, int n) {
    if (!pattern_fills() || n < 3) return;
    plot_fill_polygon(x, y, n);
}

void fill_solid_triangle(const float* x, const float* y) {
    if (device_polygon(x, y, 3)) return;
    float sf = state().out.scale_factor > 0 ? state().out.scale_factor : 1.0f;
    hatch(x, y, 3, 0, Hatch{0.75f / sf, 0, 0}, true);
}

bool device_sector(float cx, float cy, float r1, float r2, float alpha, float beta) {
    State& st = state();
    Device* d = st.out.device.get();
    if (!d || !d->has(kCapSector) || !hardware_fill_allowed()) return false;
    const PipelineState& p = st.pipeline;
    float x = cx + p.shift_x, y = cy + p.shift_y;
    if (p.circle || x - r2 < p.clip_xmin || x + r2 > p.clip_xmax || y - r2 < p.clip_ymin ||
        y + r2 > p.clip_ymax)
        return false;
    plot_flush();
    d->sector(x, y, r1, r2, alpha, beta, st.colour.current);
    return true;
}

void area_polygon(const float* x, const float* y, int n) {
    if (n < 2) return;
    if (area_outline_on()) {
        plot_move(x[0], y[0]);
        for (int i = 1; i < n; ++i) plot_draw(x[i], y[i]);
        plot_draw(x[0], y[0]);
    }
    fill_figure(x, y, n);
}

}  // namespace korval
