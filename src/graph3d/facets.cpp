// Shaded polygons in space for the surfaces, spheres and 3-D bars.
#include "graph3d/facets.hpp"

#include <algorithm>
#include <cmath>

#include "devices/raster_zbuffer.hpp"
#include "draw/draw.hpp"
#include "graph3d/graph3d.hpp"
#include "plots/plots.hpp"

namespace korval {

namespace {

// The fill-line spacing of solid cells: one plot unit (0.3999 for WMF),
// divided by the scaling factor.
float cell_spacing() {
    float f = state().out.scale_factor > 0 ? state().out.scale_factor : 1.0f;
    float s = state().out.format == 221 ? 0.3999f : 1.0f;
    return s / f;
}

void outline(const float* x, const float* y, int n) {
    plot_move(x[0], y[0]);
    for (int i = 1; i < n; ++i) plot_draw(x[i], y[i]);
    plot_draw(x[0], y[0]);
}

}  // namespace

void fill_cell(const float* x, const float* y, int n, int c) {
    use_colour(c);
    fill_solid_polygon(x, y, n, cell_spacing());
}

void draw_facets(std::vector<Facet>& facets, int mode, int outline_colour) {
    const int keep = current_colour();
    const int line_colour = outline_colour >= 0 ? outline_colour : keep;
    plot_flush();
    if (g3().zbuffer && zbuffer_exists()) {
        for (const Facet& f : facets) {
            float px[4], py[4], d[4];
            bool ok = true;
            for (int i = 0; i < f.n && ok; ++i) ok = zbuffer_vertex(f.p[i], px[i], py[i], d[i]);
            if (!ok) continue;
            if (mode != 2) {
                for (int t = 1; t + 1 < f.n; ++t) {
                    float tx[3] = {px[0], px[t], px[t + 1]}, ty[3] = {py[0], py[t], py[t + 1]};
                    float td[3] = {d[0], d[t], d[t + 1]};
                    int tc[3] = {f.colour[0], f.colour[t], f.colour[t + 1]};
                    zbuffer_triangle(tx, ty, td, tc);
                }
            }
            if (mode != 0) {
                for (int i = 0; i < f.n; ++i) {
                    int j = (i + 1) % f.n;
                    zbuffer_line(px[i], py[i], d[i] - 0.0005f, px[j], py[j], d[j] - 0.0005f, line_colour);
                }
            }
        }
        return;
    }
    // Back to front by the distance of the centre in front of the camera.
    struct Key {
        double depth;
        std::size_t index;
    };
    std::vector<Key> order;
    order.reserve(facets.size());
    for (std::size_t k = 0; k < facets.size(); ++k) {
        const Facet& f = facets[k];
        bool ok = true;
        double c[3] = {0, 0, 0};
        for (int i = 0; i < f.n; ++i) {
            ok = ok && inside_clip_volume(f.p[i]);
            for (int j = 0; j < 3; ++j) c[j] += f.p[i][j] / f.n;
        }
        if (!ok) continue;
        double e[3];
        abs_to_eye(c, e);
        order.push_back({e[2], k});
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const Key& a, const Key& b) { return a.depth > b.depth; });
    for (const Key& key : order) {
        const Facet& f = facets[key.index];
        float x[4], y[4];
        for (int i = 0; i < f.n; ++i) project_abs(f.p[i], x[i], y[i]);
        if (mode != 2) {
            int sum = 0;
            for (int i = 0; i < f.n; ++i) sum += f.colour[i];
            fill_cell(x, y, f.n, (int)std::lround((double)sum / f.n));
        }
        if (mode != 0) {
            use_colour(line_colour);
            outline(x, y, f.n);
            plot_flush();
        }
    }
    plot_flush();
    use_colour(keep);
}

}  // namespace korval
