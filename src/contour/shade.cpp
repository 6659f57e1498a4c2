// Shaded contours: the bands between contour levels filled in colours of
// the colour scale (conshd over a grid, confll over triangles) and
// colour-shaded triangles (crvtri).
#include <algorithm>
#include <cmath>
#include <numeric>
#include <vector>

#include "axes/axes.hpp"
#include "contour/contour.hpp"
#include "core/state.hpp"
#include "draw/draw.hpp"
#include "graph3d/graph3d.hpp"
#include "korval/korval.hpp"
#include "plots/plots.hpp"

namespace korval {

namespace contour {

namespace {

// The corners of triangle (i1, i2, i3) (vertex numbers from 1); false when a
// number is out of range or a corner is not a finite point.
bool triangle_corners(const float* x, const float* y, const float* z, int n, int i1, int i2, int i3,
                      double* tx, double* ty, double* tz) {
    const int v[3] = {i1 - 1, i2 - 1, i3 - 1};
    for (int k = 0; k < 3; ++k) {
        if (v[k] < 0 || v[k] >= n) return false;
        tx[k] = x[v[k]], ty[k] = y[v[k]], tz[k] = z[v[k]];
        if (!std::isfinite(tx[k]) || !std::isfinite(ty[k]) || !std::isfinite(tz[k])) return false;
    }
    return true;
}

// Plot coordinates of the polygon being filled.
struct PolyBuffer {
    std::vector<float> x, y, cx, cy;
};
PolyBuffer& poly_buffer() {
    static PolyBuffer b;
    return b;
}

int g_fill_colour = -1;    // colour last selected for filling
float g_fill_spacing = 1;  // scan-line spacing of software fills

}  // namespace

void Bands::setup(const float* zlev, int nlev, bool poly) {
    level.clear();
    pos.clear();
    std::vector<int> idx;
    for (int k = 0; k < nlev; ++k)
        if (std::isfinite(zlev[k])) idx.push_back(k);
    std::stable_sort(idx.begin(), idx.end(), [&](int a, int b) { return zlev[a] < zlev[b]; });
    for (int k : idx) {
        level.push_back(zlev[k]);
        pos.push_back(k);
    }
    const std::vector<int>& table = state().contour.colours;
    if (!table.empty() && (int)table.size() < nlev) {
        set_warning_text("More contour levels as defined colours");
        warn_routine(101);
    }
    const int L = (int)level.size();
    auto level_colour = [&](int k) {  // sorted level k (0-based)
        int p = pos[(std::size_t)k];
        if (p < (int)table.size()) return table[(std::size_t)p];
        return z_to_colour(level[(std::size_t)k]);
    };
    const ColourState& roles = state().colour;
    const ColourPlotState& cp = state().colour_plots;
    const int rule = poly ? 0 : cp.contour_band_rule;
    colour.assign((std::size_t)L + 1, -1);
    for (int b = 0; b <= L; ++b) {
        int c;
        if (rule == 2) {  // UPPE
            c = b < L ? level_colour(b) : roles.over;
        } else if (rule == 1) {  // MIDD
            if (b == 0)
                c = roles.under;
            else if (b == L)
                c = level_colour(L - 1);
            else if (pos[(std::size_t)b - 1] < (int)table.size())
                c = table[(std::size_t)pos[(std::size_t)b - 1]];
            else
                c = z_to_colour(0.5f * (level[(std::size_t)b - 1] + level[(std::size_t)b]));
        } else {  // LOWE
            c = b == 0 ? roles.under : level_colour(b - 1);
        }
        colour[(std::size_t)b] = c;
    }
    if (!poly && L > 0) {
        const int outer = cp.contour_bands;  // BOTH UPPE LOWE NONE
        if (outer == 1 || outer == 3) colour[0] = -1;
        if (outer == 2 || outer == 3) colour[(std::size_t)L] = -1;
    }
}

int Bands::band(double z) const {
    return (int)(std::lower_bound(level.begin(), level.end(), z,
                                  [](float l, double v) { return (double)l < v; }) -
                 level.begin());
}

ColourScaleScope::ColourScaleScope(float lo, float hi) {
    ColourPlotState& c = state().colour_plots;
    saved[0] = c.za, saved[1] = c.ze, saved[2] = c.ua, saved[3] = c.ue, saved[4] = c.k;
    saved_log = c.log;
    if (c.zscale_on)
        set_colour_range(c.zscale_a, c.zscale_e, false);
    else
        set_colour_range(lo, hi, false);
}

ColourScaleScope::~ColourScaleScope() {
    ColourPlotState& c = state().colour_plots;
    c.za = saved[0], c.ze = saved[1], c.ua = saved[2], c.ue = saved[3], c.k = saved[4];
    c.log = saved_log;
}

void band_legend_records(const Bands& b) {
    State& st = state();
    const int keep_colour = current_colour();
    const int keep_pattern = st.shading.pattern;
    const bool keep_filled = st.plots.filled_curve;
    st.shading.pattern = 16;
    st.plots.filled_curve = true;
    for (int k = 1; k <= (int)b.level.size() && k <= PlotsState::kLegendSlots; ++k) {
        int c = b.colour[(std::size_t)k];
        if (c >= 0) use_colour(c);
        record_legend_entry(k);
    }
    st.plots.filled_curve = keep_filled;
    st.shading.pattern = keep_pattern;
    use_colour(keep_colour);
}

float fill_spacing(float base) {
    float s = state().out.format == 221 ? 0.3999f : base;
    return s / scale_factor();
}

// Fills a polygon of user coordinates in a colour.
void fill_user_polygon(const float* x, const float* y, int n, int colour) {
    if (n < 3 || colour < 0) return;
    PolyBuffer& b = poly_buffer();
    b.x.resize((std::size_t)n);
    b.y.resize((std::size_t)n);
    for (int k = 0; k < n; ++k) {
        user_to_plot(x[k], y[k], b.x[(std::size_t)k], b.y[(std::size_t)k]);
        if (!std::isfinite(b.x[(std::size_t)k]) || !std::isfinite(b.y[(std::size_t)k])) return;
    }
    // Cut to the clipping rectangle here, so that a polygon touching the
    // axis border is still filled by the device rather than hatched.
    const PipelineState& p = state().pipeline;
    if (!p.circle) {
        const float lim[4] = {(float)(p.clip_xmin - p.shift_x), (float)(p.clip_xmax - p.shift_x),
                              (float)(p.clip_ymin - p.shift_y), (float)(p.clip_ymax - p.shift_y)};
        for (int side = 0; side < 4 && n >= 3; ++side) {
            const bool vertical = side < 2, low = side % 2 == 0;
            const float v = lim[side];
            auto in = [&](float px, float py) {
                float c = vertical ? px : py;
                return low ? c >= v : c <= v;
            };
            b.cx.clear();
            b.cy.clear();
            for (int k = 0; k < n; ++k) {
                int l = (k + 1) % n;
                float ax = b.x[(std::size_t)k], ay = b.y[(std::size_t)k];
                float bx = b.x[(std::size_t)l], by = b.y[(std::size_t)l];
                bool ia = in(ax, ay), ib = in(bx, by);
                if (ia) b.cx.push_back(ax), b.cy.push_back(ay);
                if (ia != ib) {
                    float t = vertical ? (v - ax) / (bx - ax) : (v - ay) / (by - ay);
                    b.cx.push_back(vertical ? v : ax + (bx - ax) * t);
                    b.cy.push_back(vertical ? ay + (by - ay) * t : v);
                }
            }
            b.x.swap(b.cx);
            b.y.swap(b.cy);
            n = (int)b.x.size();
        }
        if (n < 3) return;
    }
    if (colour != g_fill_colour) {
        use_colour(colour);
        g_fill_colour = colour;
    }
    fill_solid_polygon(b.x.data(), b.y.data(), n, g_fill_spacing);
}

int clip_band(const double* x, const double* y, const double* z, int n, bool has_lo, double lo, bool has_hi,
              double hi, double* ox, double* oy, double* oz) {
    double ax[12], ay[12], az[12];
    int m = n;
    for (int k = 0; k < n; ++k) ax[k] = x[k], ay[k] = y[k], az[k] = z[k];
    // Two half-spaces in turn: z > lo, then z <= hi.
    for (int side = 0; side < 2; ++side) {
        bool active = side == 0 ? has_lo : has_hi;
        if (!active) continue;
        double v = side == 0 ? lo : hi;
        auto inside = [&](double zz) { return side == 0 ? zz > v : zz <= v; };
        double bx[12], by[12], bz[12];
        int r = 0;
        for (int k = 0; k < m && r < 10; ++k) {
            int l = (k + 1) % m;
            bool ik = inside(az[k]), il = inside(az[l]);
            if (ik) bx[r] = ax[k], by[r] = ay[k], bz[r] = az[k], ++r;
            if (ik != il) {
                double t = (v - az[k]) / (az[l] - az[k]);
                bx[r] = ax[k] + (ax[l] - ax[k]) * t;
                by[r] = ay[k] + (ay[l] - ay[k]) * t;
                bz[r] = v;
                ++r;
            }
        }
        m = r;
        for (int k = 0; k < m; ++k) ax[k] = bx[k], ay[k] = by[k], az[k] = bz[k];
        if (m < 3) return 0;
    }
    for (int k = 0; k < m; ++k) ox[k] = ax[k], oy[k] = ay[k], oz[k] = az[k];
    return m;
}

// Fills the parts of the triangle (x, y, z) that lie in each band.
void fill_triangle_bands(const double* x, const double* y, const double* z, const Bands& b) {
    int b0 = b.band(z[0]), b1 = b.band(z[1]), b2 = b.band(z[2]);
    int lo = std::min({b0, b1, b2}), hi = std::max({b0, b1, b2});
    const int L = (int)b.level.size();
    float fx[12], fy[12];
    if (lo == hi) {
        if (b.colour[(std::size_t)lo] < 0) return;
        for (int k = 0; k < 3; ++k) fx[k] = (float)x[k], fy[k] = (float)y[k];
        fill_user_polygon(fx, fy, 3, b.colour[(std::size_t)lo]);
        return;
    }
    for (int band = lo; band <= hi; ++band) {
        int c = b.colour[(std::size_t)band];
        if (c < 0) continue;
        double ox[12], oy[12], oz[12];
        int m = clip_band(x, y, z, 3, band > 0, band > 0 ? b.level[(std::size_t)band - 1] : 0, band < L,
                          band < L ? b.level[(std::size_t)band] : 0, ox, oy, oz);
        for (int k = 0; k < m; ++k) fx[k] = (float)ox[k], fy[k] = (float)oy[k];
        if (m >= 3) fill_user_polygon(fx, fy, m, c);
    }
}

// The frame of a fill: clipping, the colour to restore, the spacing.
struct FillScope {
    int keep_colour;
    explicit FillScope(float spacing) {
        keep_colour = current_colour();
        g_fill_colour = -1;
        g_fill_spacing = fill_spacing(spacing);
        clip_to_axis(0);
    }
    ~FillScope() {
        plot_flush();
        clip_to_axis(1);
        use_colour(keep_colour);
        g_fill_colour = -1;
    }
};

namespace {

// "POLY" filling: closed lines of one level filled in one colour.
struct PolygonFill : LineSink {
    int colour = -1;
    std::vector<float> px, py;
    void line(const float* x, const float* y, int n, bool) override {
        if (n > 25000) n = 25000;
        if (n <= 2 || colour < 0) return;
        float ax, ay, bx, by;
        user_to_plot(x[0], y[0], ax, ay);
        user_to_plot(x[n - 1], y[n - 1], bx, by);
        if (!(std::fabs(ax - bx) <= 1 && std::fabs(ay - by) <= 1)) return;
        fill_user_polygon(x, y, n, colour);
    }
};

// The bands of one grid cell whose corners are all finite.  With base >= 0
// the cell is already painted in the colour of band base (the lowest band
// it touches) and only the higher bands are painted over it, each as the
// whole part above its lower level; otherwise every band is cut out exactly.
void fill_cell(const float* x, const float* y, const float* z, int m, int i, int j, const Bands& b,
               int base) {
    const float* c = z + (std::size_t)i * m + j;
    const double cz[4] = {c[0], c[m], c[m + 1], c[1]};  // corners counter-clockwise from (i, j)
    const double cx[4] = {x[i], x[i + 1], x[i + 1], x[i]};
    const double cy[4] = {y[j], y[j], y[j + 1], y[j + 1]};
    const double mx = 0.5 * ((double)x[i] + x[i + 1]), my = 0.5 * ((double)y[j] + y[j + 1]);
    const double mz = 0.25 * (cz[0] + cz[1] + cz[2] + cz[3]);
    // Four triangles around the centre, as the contour lines are traced.
    for (int t = 0; t < 4; ++t) {
        int u = (t + 1) & 3;
        double tx[3] = {cx[t], cx[u], mx}, ty[3] = {cy[t], cy[u], my}, tz[3] = {cz[t], cz[u], mz};
        if (base < 0) {
            fill_triangle_bands(tx, ty, tz, b);
            continue;
        }
        int hi = std::max({b.band(tz[0]), b.band(tz[1]), b.band(tz[2])});
        for (int band = base + 1; band <= hi; ++band) {
            double ox[12], oy[12], oz[12];
            float fx[12], fy[12];
            int k = clip_band(tx, ty, tz, 3, true, b.level[(std::size_t)band - 1], false, 0, ox, oy, oz);
            for (int p = 0; p < k; ++p) fx[p] = (float)ox[p], fy[p] = (float)oy[p];
            if (k >= 3) fill_user_polygon(fx, fy, k, b.colour[(std::size_t)band]);
        }
    }
}

}  // namespace

}  // namespace contour

using namespace contour;

void conshd(const float* x, int n, const float* y, int m, const float* z, const float* zlev, int nlev) {
    if (check_level(2, 3, "conshd")) return;
    if (n < 2) return (void)warn_routine_value(2, n);
    if (m < 2) return (void)warn_routine_value(2, m);
    if (nlev < 1) return (void)warn_routine_value(2, nlev);
    if (log_values_bad(x, n, 0) || log_values_bad(y, m, 1)) return;
    const bool poly = state().colour_plots.contour_fill == 1;
    float lo = INFINITY, hi = -INFINITY;
    for (int k = 0; k < nlev; ++k)
        if (std::isfinite(zlev[k])) lo = std::min(lo, zlev[k]), hi = std::max(hi, zlev[k]);
    if (!(lo <= hi)) return (void)warn_routine(2);
    ColourScaleScope scale(lo, hi);
    Bands b;
    b.setup(zlev, nlev, poly);
    band_legend_records(b);
    FillScope fill(0.9999f);
    if (poly) {
        PolygonFill sink;
        for (std::size_t k = 0; k < b.level.size(); ++k) {
            sink.colour = b.colour[k + 1];
            if (!trace_grid(x, n, y, m, z, b.level[k], sink)) break;
        }
        return;
    }
    // Runs of cells along y whose lowest band is the same become one
    // rectangle in that band's colour; the higher bands of the cells in the
    // run are painted over it afterwards.  Cells touching a band that stays
    // empty are cut exactly.
    std::vector<int> over;
    for (int i = 0; i < n - 1; ++i) {
        int run_band = -1, run_start = 0;
        over.clear();
        auto flush = [&](int end) {
            if (run_band >= 0 && b.colour[(std::size_t)run_band] >= 0) {
                float rx[4] = {x[i], x[i + 1], x[i + 1], x[i]};
                float ry[4] = {y[run_start], y[run_start], y[end], y[end]};
                fill_user_polygon(rx, ry, 4, b.colour[(std::size_t)run_band]);
            }
            for (int j : over) fill_cell(x, y, z, m, i, j, b, run_band);
            over.clear();
        };
        for (int j = 0; j < m - 1; ++j) {
            const float* c = z + (std::size_t)i * m + j;
            const bool finite =
                std::isfinite(c[0]) && std::isfinite(c[1]) && std::isfinite(c[m]) && std::isfinite(c[m + 1]);
            int base = -1;
            bool split = false;
            if (finite) {
                // The centre value lies between the corners: their bands bound the cell's.
                int k[4] = {b.band(c[0]), b.band(c[1]), b.band(c[m]), b.band(c[m + 1])};
                int lo = std::min({k[0], k[1], k[2], k[3]}), hi = std::max({k[0], k[1], k[2], k[3]});
                split = lo != hi;
                bool painted = true;
                for (int band = lo; band <= hi && painted; ++band) painted = b.colour[(std::size_t)band] >= 0;
                if (!split || painted) base = lo;
            }
            if (base != run_band || base < 0) {
                flush(j);
                run_band = base;
                run_start = j;
            }
            if (finite && split) {
                if (base >= 0)
                    over.push_back(j);
                else
                    fill_cell(x, y, z, m, i, j, b, -1);
            }
        }
        flush(m - 1);
    }
}

void confll(const float* x, const float* y, const float* z, int n, const int* i1, const int* i2,
            const int* i3, int ntri, const float* zlev, int nlev) {
    if (check_level(2, 3, "confll")) return;
    if (n < 3) return (void)warn_routine_value(2, n);
    if (ntri < 1) return (void)warn_routine_value(2, ntri);
    if (nlev < 1) return (void)warn_routine_value(2, nlev);
    float lo = INFINITY, hi = -INFINITY;
    for (int k = 0; k < nlev; ++k)
        if (std::isfinite(zlev[k])) lo = std::min(lo, zlev[k]), hi = std::max(hi, zlev[k]);
    if (!(lo <= hi)) return (void)warn_routine(2);
    ColourScaleScope scale(lo, hi);
    Bands b;
    b.setup(zlev, nlev, false);
    band_legend_records(b);
    FillScope fill(0.9999f);
    for (int t = 0; t < ntri; ++t) {
        double tx[3], ty[3], tz[3];
        if (triangle_corners(x, y, z, n, i1[t], i2[t], i3[t], tx, ty, tz)) fill_triangle_bands(tx, ty, tz, b);
    }
}

namespace {

// A triangle shaded smoothly: cut along the values where the colour scale
// changes colour, each piece filled in its own colour.
void smooth_triangle(const double* x, const double* y, const double* z) {
    const ColourPlotState& cp = state().colour_plots;
    const ColourState& roles = state().colour;
    double u[3];
    for (int k = 0; k < 3; ++k) u[k] = cp.log ? (z[k] > 0 ? std::log10(z[k]) : -1e30) : z[k];
    const double umin = std::min({u[0], u[1], u[2]}), umax = std::max({u[0], u[1], u[2]});
    // The colour boundaries inside the triangle's range, in the scale's
    // units (exponents for a logarithmic scale), and the ends of the scale.
    double cuts[260];
    int nc = 0;
    auto add = [&](double v) {
        if (v > umin && v < umax && nc < 260) cuts[nc++] = v;
    };
    add(cp.ua);
    add(cp.ue);
    if (cp.k != 0) {
        int c0 = (int)std::floor(roles.range_lo + (umin - cp.ua) * cp.k);
        int c1 = (int)std::floor(roles.range_lo + (umax - cp.ua) * cp.k);
        if (c0 > c1) std::swap(c0, c1);
        c0 = std::max(c0, roles.range_lo);
        c1 = std::min(c1 + 1, roles.range_hi);
        for (int c = c0; c <= c1; ++c) add(cp.ua + (c - roles.range_lo) / cp.k);
    }
    std::sort(cuts, cuts + nc);
    float fx[12], fy[12];
    for (int piece = 0; piece <= nc; ++piece) {
        double ox[12], oy[12], ou[12];
        int m = clip_band(x, y, u, 3, piece > 0, piece > 0 ? cuts[piece - 1] : 0, piece < nc,
                          piece < nc ? cuts[piece] : 0, ox, oy, ou);
        if (m < 3) continue;
        double mean = 0;
        for (int k = 0; k < m; ++k) fx[k] = (float)ox[k], fy[k] = (float)oy[k], mean += ou[k];
        mean /= m;
        fill_user_polygon(fx, fy, m, z_to_colour((float)(cp.log ? std::pow(10.0, mean) : mean)));
    }
}

}  // namespace

void crvtri(const float* x, const float* y, const float* z, int n, const int* i1, const int* i2,
            const int* i3, int ntri) {
    if (check_level(3, 3, "crvtri")) return;
    if (state().axes.kind == 3) return (void)warn_routine(35);
    const bool smooth = state().colour_plots.surface_shading == 1;
    const int code = state().out.format;
    if (smooth && ((code >= 101 && code <= 600) || code > 700)) return (void)warn_routine(40);
    if (n < 3) return (void)warn_routine_value(2, n);
    FillScope fill(1.0f);
    for (int t = 0; t < ntri; ++t) {
        double tx[3], ty[3], tz[3];
        if (!triangle_corners(x, y, z, n, i1[t], i2[t], i3[t], tx, ty, tz)) continue;
        if (smooth) {
            smooth_triangle(tx, ty, tz);
        } else {
            float fx[3] = {(float)tx[0], (float)tx[1], (float)tx[2]},
                  fy[3] = {(float)ty[0], (float)ty[1], (float)ty[2]};
            fill_user_polygon(fx, fy, 3, z_to_colour((float)((tz[0] + tz[1] + tz[2]) / 3)));
        }
    }
}

namespace {

struct TriangleTracer : Tracer {
    const float *x, *y, *z;
    int n;
    const int *i1, *i2, *i3;
    int ntri;
    float v;
    bool trace(LineSink& sink) override { return trace_triangles(x, y, z, n, i1, i2, i3, ntri, v, sink); }
};

}  // namespace

void contri(const float* x, const float* y, const float* z, int n, const int* i1, const int* i2,
            const int* i3, int ntri, float zlev) {
    if (check_level(2, 3, "contri")) return;
    if (n < 3 || ntri < 1) return;
    TriangleTracer t;
    t.x = x, t.y = y, t.z = z, t.n = n, t.i1 = i1, t.i2 = i2, t.i3 = i3, t.ntri = ntri, t.v = zlev;
    draw_contour(zlev, t);
}

int tripts(const float* x, const float* y, const float* z, int n, const int* i1, const int* i2, const int* i3,
           int ntri, float zlev, float* xpts, float* ypts, int maxpts, int* nray, int maxray) {
    check_level(0, 3, "tripts");
    if (n < 3 || ntri < 1 || maxpts < 0 || maxray < 0) return 0;
    PointStore store(xpts, ypts, maxpts, nray, maxray);
    trace_triangles(x, y, z, n, i1, i2, i3, ntri, zlev, store);
    return store.lines;
}

}  // namespace korval
