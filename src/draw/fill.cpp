// Area filling: shading patterns, the scan-line hatch generator, hardware
// polygon fills, areaf, rlarea and noarln.
#include "draw/fill.hpp"

#include <algorithm>
#include <cmath>
#include <new>
#include <vector>

#include "axes/axes.hpp"
#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

constexpr double kDegree = 3.14159265358979323846 / 180.0;
constexpr int kMaxCrossings = 100;

// The codes of the predefined patterns 0..17 of shdpat.
const int kPatternCodes[18] = {0,     45150, 150450, 135150, 45450, 45151, 135210, 45451, 30140,
                               45211, 151,   45310,  70470,  45311, 451,   45210,  100,   550};

// Stores a pattern from its four parts; false (after warning 2) when a part
// is out of range, and then nothing changes.
bool set_pattern_parts(int angle, int type, int density, int cross) {
    const int v[4] = {angle, type, density, cross};
    const int hi[4] = {179, 7, 9, 1};
    for (int i = 0; i < 4; ++i) {
        if (v[i] < 0 || v[i] > hi[i]) {
            warn_routine_value(2, v[i]);
            return false;
        }
    }
    ShadingState& s = state().shading;
    float u = state().out.unit_factor > 0 ? state().out.unit_factor : 1.0f;
    s.angle = angle;
    s.type = type;
    s.density = density;
    s.cross = cross;
    s.pattern = angle * 1000 + type * 100 + density * 10 + cross;
    switch (type) {
        case 1:
        case 5:
        case 6:
        case 7:
            s.spacing = (5.0f * (float)density + 1.9999f) / u;
            if (state().out.format == 221 && density == 0) s.spacing = 0.39999f / u;
            break;
        case 2:
            s.spacing = 20.0f / u;
            s.band_size = 2;
            s.band_gap = (int)((float)density + 0.9999f);
            break;
        case 3:
            s.spacing = 15.0f / u;
            s.band_size = 3;
            s.band_gap = (int)((float)density + 0.9999f);
            break;
        case 4:
            s.spacing = 1.0f / u;
            s.band_size = 8;
            s.band_gap = (int)(5.0f * (float)density + 4.9999f);
            break;
        default:
            break;
    }
    return true;
}

inline bool edge_lower(const HatchScratch::Edge& a, const HatchScratch::Edge& b) { return a.ylo < b.ylo; }

// The y' range of the clipping region in the hatch frame (unshifted plot
// coordinates): scan lines outside it would be clipped away entirely.
void clip_window(double angle, float spacing, HatchParams& hp) {
    const PipelineState& p = state().pipeline;
    if (p.base_on || p.plane_project) return;  // the region says nothing about untransformed points
    double x0, y0, x1, y1;
    if (p.circle) {
        x0 = p.circle_x - p.circle_r, x1 = p.circle_x + p.circle_r;
        y0 = p.circle_y - p.circle_r, y1 = p.circle_y + p.circle_r;
    } else {
        x0 = p.clip_xmin, x1 = p.clip_xmax, y0 = p.clip_ymin, y1 = p.clip_ymax;
    }
    x0 -= p.shift_x, x1 -= p.shift_x, y0 -= p.shift_y, y1 -= p.shift_y;
    double sa = std::sin(angle * kDegree), ca = std::cos(angle * kDegree);
    double lo = 1e300, hi = -1e300;
    const double cx[4] = {x0, x1, x1, x0}, cy[4] = {y0, y0, y1, y1};
    for (int i = 0; i < 4; ++i) {
        double v = cx[i] * sa + cy[i] * ca;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    hp.lo = lo - 2.0 * spacing;
    hp.hi = hi + 2.0 * spacing;
}

}  // namespace

int hatch_segments(const float* x, const float* y, int n, const HatchParams& hp, HatchScratch& w,
                   std::vector<HatchSegment>& out) {
    if (n < 3 || !(hp.spacing > 0.0f)) return 0;
    // Points in double: the rotation and the crossings of long edges keep
    // their precision for large polygons.
    double sa = 0, ca = 1;
    if (hp.angle == 90.0f) {
        // Exact, so that edges along the hatch direction stay parallel to it.
        sa = 1, ca = 0;
    } else if (hp.angle != 0.0f) {
        sa = std::sin(hp.angle * kDegree);
        ca = std::cos(hp.angle * kDegree);
    }
    w.edges.clear();
    double ymin = 1e300, ymax = -1e300;
    double px = x[n - 1] * ca - y[n - 1] * sa, py = x[n - 1] * sa + y[n - 1] * ca;
    for (int i = 0; i < n; ++i) {
        double qx = x[i] * ca - y[i] * sa, qy = x[i] * sa + y[i] * ca;
        if (!std::isfinite(qx) || !std::isfinite(qy)) return 0;
        ymin = std::min(ymin, qy);
        ymax = std::max(ymax, qy);
        if (py != qy) {
            // The edge holds for ylo <= y' < yhi: a vertex on a scan line
            // counts once where the boundary passes it, twice or never at
            // a local extremum.
            HatchScratch::Edge e;
            double dxdy = (qx - px) / (qy - py);
            if (py < qy)
                e = {py, qy, px, dxdy};
            else
                e = {qy, py, qx, dxdy};
            w.edges.push_back(e);
        }
        px = qx;
        py = qy;
    }
    if (w.edges.empty()) return 0;
    std::sort(w.edges.begin(), w.edges.end(), edge_lower);

    const double h = hp.spacing;
    const double kfirst = std::floor(ymin / h);
    double k0 = kfirst, k1 = std::floor((ymax + 0.5 * h) / h);
    if (hp.lo <= hp.hi) {
        k0 = std::max(k0, std::floor(hp.lo / h));
        k1 = std::min(k1, std::ceil(hp.hi / h));
    }
    w.active.clear();
    w.spans.clear();
    w.line_at.clear();
    w.line_y.clear();
    w.line_k.clear();
    int result = 0;
    std::size_t next = 0;
    const std::size_t ne = w.edges.size();
    const long period = hp.band > 0 ? (long)hp.band + (hp.gap > 0 ? hp.gap : 0) : 0;
    for (double k = k0; k <= k1; k += 1.0) {
        double v = k * h;
        while (next < ne && w.edges[next].ylo <= v) w.active.push_back((int)next++);
        // Drop the edges that end at or below this line.
        std::size_t keep = 0;
        for (int e : w.active)
            if (w.edges[(std::size_t)e].yhi > v) w.active[keep++] = e;
        w.active.resize(keep);
        if (w.active.empty()) {
            if (next >= ne) break;
            continue;
        }
        if (period > 0 && (long)std::fmod(k - kfirst, (double)period) >= hp.band) continue;
        w.cross.clear();
        for (int e : w.active) {
            const HatchScratch::Edge& ed = w.edges[(std::size_t)e];
            w.cross.push_back(ed.x + (v - ed.ylo) * ed.dxdy);
        }
        if ((int)w.cross.size() > kMaxCrossings) {
            result = (int)w.cross.size();
            break;
        }
        std::sort(w.cross.begin(), w.cross.end());
        // Equal crossings cancel in pairs.
        std::size_t m = 0;
        for (std::size_t i = 0; i < w.cross.size(); ++i) {
            if (i + 1 < w.cross.size() && w.cross[i] == w.cross[i + 1]) {
                ++i;
                continue;
            }
            w.cross[m++] = w.cross[i];
        }
        if (m < 2) continue;
        w.line_at.push_back((int)w.spans.size());
        w.line_y.push_back(v);
        w.line_k.push_back((int)std::fmod(k, 2.0));
        for (std::size_t i = 0; i + 1 < m; i += 2)
            w.spans.push_back({(float)w.cross[i], (float)w.cross[i + 1]});
    }
    w.line_at.push_back((int)w.spans.size());

    // Passes: span p of every line for p = 1..4, then all remaining spans.
    const std::size_t lines = w.line_y.size();
    auto emit = [&](std::size_t li, int s) {
        const HatchScratch::Span& sp = w.spans[(std::size_t)s];
        double yv = w.line_y[li];
        bool forward = w.line_k[li] == 0;
        double xa = forward ? sp.a : sp.b, xb = forward ? sp.b : sp.a;
        out.push_back({(float)(xa * ca + yv * sa), (float)(-xa * sa + yv * ca), (float)(xb * ca + yv * sa),
                       (float)(-xb * sa + yv * ca)});
    };
    for (int pass = 0; pass < 5; ++pass) {
        for (std::size_t li = 0; li < lines; ++li) {
            int first = w.line_at[li], count = w.line_at[li + 1] - first;
            if (pass < 4) {
                if (count > pass) emit(li, first + pass);
            } else if (count > 4) {
                bool forward = w.line_k[li] == 0;
                for (int s = 4; s < count; ++s) emit(li, forward ? first + s : first + count - 1 - (s - 4));
            }
        }
    }
    return result;
}

void hatch_polygon(const float* x, const float* y, int n) {
    ShadingState& sh = state().shading;
    if (sh.type == 0 || n < 3) return;
    PipelineState& p = state().pipeline;
    static HatchScratch scratch;
    static std::vector<HatchSegment> segs;

    // The line type of the pattern replaces the current one for the fill.
    int saved_count = p.dash_count, saved_element = p.dash_element;
    int saved_dash[10];
    for (int i = 0; i < 10; ++i) saved_dash[i] = p.dash[i];
    double saved_remaining = p.dash_remaining;
    bool saved_gap = p.dash_gap;
    int saved_type = state().style.line_type;
    int type = sh.type == 5 ? 6 : (sh.type == 6 ? 5 : (sh.type == 7 ? 4 : 0));
    set_line_type(type);

    HatchParams hp;
    hp.spacing = sh.spacing;
    if (sh.type >= 2 && sh.type <= 4) {
        hp.band = sh.band_size;
        hp.gap = sh.band_gap;
    }
    int angles[2] = {sh.angle, sh.angle < 90 ? sh.angle + 90 : sh.angle - 90};
    for (int pass = 0; pass < (sh.cross ? 2 : 1); ++pass) {
        hp.angle = (float)angles[pass];
        hp.lo = 1, hp.hi = 0;
        clip_window(hp.angle, hp.spacing, hp);
        int overflow = 0;
        try {
            segs.clear();
            overflow = hatch_segments(x, y, n, hp, scratch, segs);
        } catch (const std::bad_alloc&) {
            warn_routine(53);
            break;
        }
        for (const HatchSegment& s : segs) {
            plot_move(s.x0, s.y0);
            plot_draw(s.x1, s.y1);
        }
        if (overflow) {
            warn_routine_value(26, overflow);
            break;
        }
    }
    polyline_flush();
    // Restore the line type and where its pattern stood.
    state().style.line_type = saved_type;
    p.dash_count = saved_count;
    for (int i = 0; i < 10; ++i) p.dash[i] = saved_dash[i];
    p.dash_element = saved_element;
    p.dash_remaining = saved_remaining;
    p.dash_gap = saved_gap;
}

void plot_fill_polygon(const float* x, const float* y, int n) {
    const State& st = state();
    const ShadingState& sh = st.shading;
    if (n < 3 || sh.type == 0) return;
    const PipelineState& p = st.pipeline;
    int code = st.out.format;
    bool format_fills = (code < 100 && code != 51 && code != 55) || code == 221 || code == 801 ||
                        (code >= 501 && code <= 600);
    if (format_fills && sh.pattern == 16 && st.blanking.regions == 0 && !p.base_on && !p.plane_project &&
        !p.hidden_segment) {
        try {
            std::vector<float> xs((std::size_t)n), ys((std::size_t)n);
            bool inside = true;
            for (int i = 0; i < n && inside; ++i) {
                xs[(std::size_t)i] = x[i] + (float)p.shift_x;
                ys[(std::size_t)i] = y[i] + (float)p.shift_y;
                inside = point_outside_clip(xs[(std::size_t)i], ys[(std::size_t)i]) == 0;
            }
            if (inside && device_fill_polygon(xs.data(), ys.data(), n)) return;
        } catch (const std::bad_alloc&) {
            warn_routine(53);
            return;
        }
    }
    hatch_polygon(x, y, n);
}

// ---- user routines --------------------------------------------------------------

void mypat(int iang, int itype, int idens, int icross) {
    check_level(0, 3, "mypat");
    set_pattern_parts(iang, itype, idens, icross);
}

void shdpat(int n) {
    check_level(0, 3, "shdpat");
    if (n < 0) {
        warn_routine_value(2, n);
        return;
    }
    int code = n <= 17 ? kPatternCodes[n] : n;
    if (set_pattern_parts(code / 1000, (code / 100) % 10, (code / 10) % 10, code % 10))
        state().shading.pattern = n;
}

void noarln() {
    check_level(0, 3, "noarln");
    state().shading.outline = false;
}

namespace {

// Outline (when on) and fill of a polygon in plot coordinates.
void draw_area(const float* x, const float* y, int n) {
    if (state().shading.outline) {
        plot_move(x[0], y[0]);
        for (int i = 1; i < n; ++i) plot_draw(x[i], y[i]);
        plot_draw(x[0], y[0]);
    }
    if (state().shading.type != 0) plot_fill_polygon(x, y, n);
}

// Float copies of n points; false after warning 53.
bool point_arrays(std::vector<float>& x, std::vector<float>& y, int n) {
    try {
        x.resize((std::size_t)n);
        y.resize((std::size_t)n);
    } catch (const std::bad_alloc&) {
        warn_routine(53);
        return false;
    }
    return true;
}

}  // namespace

void areaf(const int* nxray, const int* nyray, int n) {
    if (enter_routine("areaf")) return;
    if (n < 1) {
        warn_routine_value(2, n);
        return;
    }
    std::vector<float> x, y;
    if (!point_arrays(x, y, n)) return;
    for (int i = 0; i < n; ++i) {
        x[(std::size_t)i] = (float)nxray[i];
        y[(std::size_t)i] = (float)page_y(nyray[i]);
    }
    draw_area(x.data(), y.data(), n);
}

void rlarea(const float* xray, const float* yray, int n) {
    if (check_level(2, 3, "rlarea")) return;
    if (n < 1) {
        warn_routine_value(2, n);
        return;
    }
    std::vector<float> x, y;
    if (!point_arrays(x, y, n)) return;
    // user_to_plot gives page coordinates already: no page_y here.
    for (int i = 0; i < n; ++i) user_to_plot(xray[i], yray[i], x[(std::size_t)i], y[(std::size_t)i]);
    clip_to_axis(0);
    draw_area(x.data(), y.data(), n);
    clip_to_axis(1);
}

namespace {

void reset_shdpat() {
    ShadingState& s = state().shading;
    s.band_size = 0;
    s.band_gap = 0;
    set_pattern_parts(0, 0, 0, 0);
}

void reset_noarln() { state().shading.outline = true; }

void shading_defaults() {
    reset_shdpat();
    reset_noarln();
}

struct Registration {
    Registration() {
        register_defaults(13, shading_defaults);
        register_reset("SHDP", reset_shdpat);
        register_reset("NOAR", reset_noarln);
    }
} registration;

}  // namespace

}  // namespace korval
