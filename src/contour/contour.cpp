// Contour lines of matrices (contur, conmat), given contour lines (concrv),
// contour points (conpts), labels in the lines and the contour settings.
#include "contour/contour.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "axes/axes.hpp"
#include "axes/format.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"
#include "plots/plots.hpp"
#include "text/text.hpp"

namespace korval {

namespace contour {

namespace {

ContourState& cs() { return state().contour; }

void contour_defaults() {
    ContourState& c = cs();
    c.label_text.clear();
    c.gap_factor = 0.5f;
    c.label_factor = 0.5f;
    c.label_quotient = 1.5f;
    c.colours.clear();
    c.legend_number = 0;
}

struct Registration {
    Registration() {
        register_defaults(72, contour_defaults);
        register_reset("CONG", [] { cs().gap_factor = 0.5f; });
        register_reset("CONM", [] {
            cs().label_factor = 0.5f;
            cs().label_quotient = 1.5f;
        });
        register_reset("CONC", [] { cs().colours.clear(); });
        register_endgrf([] { cs().legend_number = 0; });
    }
} registration;

// Plot coordinates of the line being drawn (kept between lines).
std::vector<float>& plot_x() {
    static std::vector<float> v;
    return v;
}
std::vector<float>& plot_y() {
    static std::vector<float> v;
    return v;
}

// Direction of a segment as label angles are measured: -atan(dy/dx) in
// degrees, 90 for a vertical segment (in (-90, 90]).
double segment_angle(double dx, double dy) {
    if (std::fabs(dx) < 1e-9) return 90.0;
    return -std::atan(dy / dx) * 180.0 / M_PI;
}

double angle_difference(double a, double b) {
    double d = std::fabs(a - b);
    return std::min(d, 180.0 - d);
}

// The parameter t in [0, 1] where the segment a -> b leaves the circle of
// radius r around s (|a - s| < r <= |b - s|).
double leave_circle(double ax, double ay, double bx, double by, double sx, double sy, double r) {
    double dx = bx - ax, dy = by - ay, fx = ax - sx, fy = ay - sy;
    double A = dx * dx + dy * dy, B = 2 * (fx * dx + fy * dy), C = fx * fx + fy * fy - r * r;
    if (A <= 0) return 1;
    double disc = std::max(0.0, B * B - 4 * A * C);
    double t = (-B + std::sqrt(disc)) / (2 * A);
    return std::clamp(t, 0.0, 1.0);
}

// The label text of a level.
void label_text(float level, char* out, int size) {
    const AxesState& ax = state().axes;
    if (ax.contour_label_mode == 2) {
        copy_bounded(out, cs().label_text.c_str(), (std::size_t)size);
        return;
    }
    char buf[64];
    format_number(level, ax.contour_digits, buf, sizeof buf);
    const char* p = buf;
    while (*p == ' ') ++p;
    copy_bounded(out, p, (std::size_t)size);
}

// Draws the label centred between the gap ends g1 and g2.
void draw_label(const char* text, double g1x, double g1y, double g2x, double g2y) {
    plot_flush();
    const int height = state().text.height;
    const int width = text_length(text);
    double a = segment_angle(g2x - g1x, g2y - g1y);
    int angle = (int)std::lround(a);
    double rad = angle * M_PI / 180.0;
    double ux = std::cos(rad), uy = -std::sin(rad);  // along the text
    double dx = std::sin(rad), dy = std::cos(rad);   // downwards in the text
    double cx = 0.5 * (g1x + g2x), cy = 0.5 * (g1y + g2y);
    double x0 = cx - 0.5 * width * ux - 0.5 * height * dx;
    double y0 = cy - 0.5 * width * uy - 0.5 * height * dy;
    const int keep = current_colour();
    const int lc = state().axes.label_colour[2];
    if (lc >= 0) use_colour(lc);
    draw_text(text, (int)std::lround(x0), (int)std::lround(y0), angle, height);
    plot_flush();
    if (lc >= 0) use_colour(keep);
}

}  // namespace

float scale_factor() {
    float f = state().out.scale_factor;
    return f > 0 ? f : 1.0f;
}

bool log_values_bad(const float* v, int n, int axis) {
    const AxesState& a = state().axes;
    if (a.kind == 1 || a.neglog_on || !a.scale_type[axis]) return false;
    for (int i = 0; i < n; ++i)
        if (v[i] <= 0) {
            warn_routine(27);
            return true;
        }
    return false;
}

void LineDrawer::line(const float* x, const float* y, int n, bool) {
    std::vector<float>& px = plot_x();
    std::vector<float>& py = plot_y();
    px.clear();
    py.clear();
    // Points that cannot be mapped break the line.
    for (int k = 0; k < n; ++k) {
        float a, b;
        bool ok = std::isfinite(x[k]) && std::isfinite(y[k]);
        if (ok) {
            user_to_plot(x[k], y[k], a, b);
            ok = std::isfinite(a) && std::isfinite(b);
        }
        if (ok) {
            px.push_back(a);
            py.push_back(b);
        } else if (!px.empty()) {
            plot_line(px.data(), py.data(), (int)px.size());
            px.clear();
            py.clear();
        }
    }
    if (!px.empty()) plot_line(px.data(), py.data(), (int)px.size());
}

void LineDrawer::plot_line(const float* px, const float* py, int n) {
    if (n < 1) return;
    plot_move(px[0], py[0]);
    if (!labels) {
        for (int k = 1; k < n; ++k) plot_draw(px[k], py[k]);
        return;
    }
    const ContourState& c = cs();
    char text[64];
    label_text(level, text, sizeof text);
    const double height = state().text.height;
    const double gap = 2.0 * c.gap_factor * height;
    const double slot = text_length(text) + gap;
    const double f = c.label_factor, q = c.label_quotient;
    const double dist_next = state().axes.contour_label_dist;
    double need = 100.0;  // path length before the first label
    double path = 0;
    bool have_prev = false;
    double prev = 0;
    int k = 0;
    while (k < n - 1) {
        double dx = (double)px[k + 1] - px[k], dy = (double)py[k + 1] - py[k];
        double len = std::sqrt(dx * dx + dy * dy);
        if (len <= 0) {
            ++k;
            continue;
        }
        double ang = segment_angle(dx, dy);
        path += len;
        bool start = path >= need && have_prev && angle_difference(ang, prev) <= 5.0 && slot > 0;
        have_prev = true;
        prev = ang;
        if (!start) {
            plot_draw(px[k + 1], py[k + 1]);
            ++k;
            continue;
        }
        // A candidate from point k: look for the point where the chord
        // reaches the slot with its margins while the line stays straight.
        const double sx = px[k], sy = py[k];
        const double want = (1 + 2 * f) * slot;
        double along = 0;
        int j = k + 1;
        int found = -1, dropped = -1;
        for (; j < n; ++j) {
            double ex = (double)px[j] - px[j - 1], ey = (double)py[j] - py[j - 1];
            along += std::sqrt(ex * ex + ey * ey);
            double chord = std::hypot((double)px[j] - sx, (double)py[j] - sy);
            if (chord >= want) {
                found = j;
                break;
            }
            if (along > q * chord && chord > 0) {
                dropped = j;
                break;
            }
        }
        if (found < 0) {
            // Dropped (or the line ended): the buffered points are drawn
            // and the search goes on from the current point.
            int end = dropped < 0 ? n - 1 : dropped;
            for (int i = k + 1; i <= end; ++i) plot_draw(px[i], py[i]);
            k = end;
            continue;
        }
        // Draw up to distance f * slot, skip to (f + 1) * slot, label the
        // gap and continue from its end.
        double r1 = f * slot, r2 = (f + 1) * slot;
        double g1x, g1y, g2x = px[found], g2y = py[found];
        int i = k;
        while (i < found && std::hypot((double)px[i + 1] - sx, (double)py[i + 1] - sy) < r1) {
            plot_draw(px[i + 1], py[i + 1]);
            ++i;
        }
        double t = leave_circle(px[i], py[i], px[i + 1], py[i + 1], sx, sy, r1);
        g1x = px[i] + t * ((double)px[i + 1] - px[i]);
        g1y = py[i] + t * ((double)py[i + 1] - py[i]);
        if (r1 > 0) plot_draw((float)g1x, (float)g1y);
        // The gap ends where the line first leaves the circle of radius r2.
        double ax2 = g1x, ay2 = g1y;
        while (i < found) {
            double bx = px[i + 1], by = py[i + 1];
            if (std::hypot(bx - sx, by - sy) >= r2) {
                t = leave_circle(ax2, ay2, bx, by, sx, sy, r2);
                g2x = ax2 + t * (bx - ax2);
                g2y = ay2 + t * (by - ay2);
                break;
            }
            ax2 = bx, ay2 = by;
            ++i;
        }
        if (draw_labels) draw_label(text, g1x, g1y, g2x, g2y);
        plot_move((float)g2x, (float)g2y);
        for (int p = i + 1; p <= found; ++p) plot_draw(px[p], py[p]);
        k = found;
        path = 0;
        need = dist_next;
        have_prev = false;
    }
}

void draw_contour(float level, Tracer& tracer) {
    State& st = state();
    PlotsState& p = st.plots;
    const int keep_marker = p.marker_increment;
    p.marker_increment = 0;
    ContourState& c = cs();
    ++c.legend_number;
    const bool keep_filled = p.filled_curve;
    p.filled_curve = false;
    record_legend_entry(c.legend_number);
    p.filled_curve = keep_filled;
    clip_to_axis(0);
    const float f = scale_factor();
    int passes = (int)std::lround(p.thickness * f);
    if (passes < 1) passes = 1;
    LineDrawer drawer;
    drawer.level = level;
    drawer.labels = st.axes.contour_label_mode != 0;
    PipelineState& pipe = st.pipeline;
    for (int pass = 1; pass <= passes; ++pass) {
        dash_reset();
        int off = pass % 2 == 0 ? pass / 2 : -(pass / 2);
        pipe.offset = off / f;
        drawer.draw_labels = drawer.labels && pass == 1;
        if (!tracer.trace(drawer)) break;
        plot_flush();
    }
    plot_flush();
    pipe.offset = 0;
    pipe.deferred_move = false;
    clip_to_axis(1);
    dash_reset();
    p.marker_increment = keep_marker;
}

}  // namespace contour

using namespace contour;

namespace {

struct GridTracer : Tracer {
    const float *x, *y, *z;
    int n, m;
    float v;
    GridTracer(const float* x_, int n_, const float* y_, int m_, const float* z_, float v_)
        : x(x_), y(y_), z(z_), n(n_), m(m_), v(v_) {}
    bool trace(LineSink& sink) override { return trace_grid(x, n, y, m, z, v, sink); }
};

struct GivenLine : Tracer {
    const float *x, *y;
    int n;
    GivenLine(const float* x_, const float* y_, int n_) : x(x_), y(y_), n(n_) {}
    bool trace(LineSink& sink) override {
        sink.line(x, y, n, false);
        return true;
    }
};

void contour_matrix(const char* routine, const float* x, int n, const float* y, int m, const float* z,
                    float zlev) {
    if (n < 2) return (void)warn_routine_value(2, n);
    if (m < 2) return (void)warn_routine_value(2, m);
    if (log_values_bad(x, n, 0) || log_values_bad(y, m, 1)) return;
    (void)routine;
    GridTracer t(x, n, y, m, z, zlev);
    draw_contour(zlev, t);
}

}  // namespace

void contur(const float* x, int n, const float* y, int m, const float* z, float zlev) {
    if (check_level(2, 3, "contur")) return;
    contour_matrix("contur", x, n, y, m, z, zlev);
}

void conmat(const float* z, int n, int m, float zlev) {
    if (check_level(2, 3, "conmat")) return;
    if (std::min(n, m) < 2) return (void)warn_routine_value(2, std::min(n, m));
    const AxesState& a = state().axes;
    const ColourPlotState& c = state().colour_plots;
    double x1, x2, y1, y2;
    bool xlog = a.scale_type[0] && a.kind != 1, ylog = a.scale_type[1] && a.kind != 1;
    if (c.surface_size_on) {
        x1 = c.surface_x1, x2 = c.surface_x2, y1 = c.surface_y1, y2 = c.surface_y2;
        // Evenly spread in the exponent on logarithmic axes.
        if (xlog) x1 = std::log10(std::max(1e-35, x1)), x2 = std::log10(std::max(1e-35, x2));
        if (ylog) y1 = std::log10(std::max(1e-35, y1)), y2 = std::log10(std::max(1e-35, y2));
    } else {
        x1 = a.a[0], x2 = a.e[0], y1 = a.a[1], y2 = a.e[1];
    }
    std::vector<float> xs, ys;
    try {
        xs.resize((std::size_t)n);
        ys.resize((std::size_t)m);
    } catch (const std::exception&) {
        return (void)warn_routine(53);
    }
    for (int i = 0; i < n; ++i) {
        double u = x1 + (x2 - x1) * i / (n - 1);
        xs[(std::size_t)i] = (float)(xlog ? std::pow(10.0, u) : u);
    }
    for (int j = 0; j < m; ++j) {
        double u = y1 + (y2 - y1) * j / (m - 1);
        ys[(std::size_t)j] = (float)(ylog ? std::pow(10.0, u) : u);
    }
    contour_matrix("conmat", xs.data(), n, ys.data(), m, z, zlev);
}

void concrv(const float* x, const float* y, int n, float zlev) {
    if (check_level(2, 3, "concrv")) return;
    if (n < 1) return;
    if (log_values_bad(x, n, 0) || log_values_bad(y, n, 1)) return;
    GivenLine t(x, y, n);
    draw_contour(zlev, t);
}

int conpts(const float* x, int n, const float* y, int m, const float* z, float zlev, float* xpts, float* ypts,
           int maxpts, int* nray, int maxray) {
    if (check_level(0, 3, "conpts")) return 0;
    if (n < 2 || m < 2 || maxpts < 0 || maxray < 0) return 0;
    PointStore store(xpts, ypts, maxpts, nray, maxray);
    trace_grid(x, n, y, m, z, zlev, store);
    return store.lines;
}

void conclr(const int* colours, int k) {
    check_level(0, 3, "conclr");
    if (k < 0 || k > 256) return (void)warn_routine_value(2, k);
    std::vector<int>& c = state().contour.colours;
    c.assign(colours, colours + k);
}

void conlab(const char* s) {
    check_level(0, 3, "conlab");
    std::string& t = state().contour.label_text;
    t = s ? s : "";
    if (t.size() > 20) t.resize(20);
}

void congap(float x) {
    check_level(0, 3, "congap");
    if (!(x >= 0) || !std::isfinite(x)) return (void)warn_routine(2);
    state().contour.gap_factor = x;
}

void conmod(float f, float q) {
    check_level(0, 3, "conmod");
    if (!(f >= 0) || !(q > 1) || !std::isfinite(f) || !std::isfinite(q)) return (void)warn_routine(2);
    state().contour.label_factor = f;
    state().contour.label_quotient = q;
}

void connpt(float x, float y) {
    if (check_level(1, 3, "connpt")) return;
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    const PipelineState& p = state().pipeline;
    float yy = (p.page_bottom && !p.page_y_override) ? (float)state().out.nyp - y : y;
    plot_draw(x, yy);
}

}  // namespace korval
