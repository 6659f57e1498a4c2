// Solid objects in the 3-D axis system: 3-D bars (bars3d) and spheres
// (sphe3d), drawn as shaded facets.
#include <algorithm>
#include <cmath>

#include "draw/draw.hpp"
#include "graph3d/facets.hpp"
#include "graph3d/graph3d.hpp"
#include "korval/korval.hpp"
#include "plots/plots.hpp"

namespace korval {

namespace {

double clamp_box(int axis, double v) {
    double h = g3().box[axis] / 2.0;
    return std::max(-h, std::min(h, v));
}

// The unit normal in absolute coordinates of a plane whose normal in user
// coordinates is n (linear axes).
void user_normal(const double n[3], double out[3]) {
    const Graph3DState& g = g3();
    for (int i = 0; i < 3; ++i) {
        double span = (double)g.e[i] - g.a[i];
        out[i] = n[i] * (span != 0 ? span : 1.0) / g.box[i];
    }
    double l = std::sqrt(out[0] * out[0] + out[1] * out[1] + out[2] * out[2]);
    if (l > 0)
        for (int i = 0; i < 3; ++i) out[i] /= l;
}

}  // namespace

void bars3d(const float* x, const float* y, const float* z1, const float* z2, const float* xw,
            const float* yw, const int* colours, int n) {
    if (!need_box("bars3d")) return;
    if (n < 1 || n > 32000) return (void)warn_routine_value(2, n);
    State& st = state();
    Graph3DState& g = g3();
    BarState& bar = st.charts.bar;
    for (int axis = 0; axis < 3; ++axis) {
        if (!g.log[axis]) continue;
        for (int i = 0; i < n; ++i) {
            float v = axis == 0 ? x[i] : axis == 1 ? y[i] : std::min(z1[i], z2[i]);
            if (v <= 0 && !(axis == 2 && bar.from_axis)) return (void)warn_routine(27);
        }
    }
    ++bar.call_count;
    st.plots.filled_curve = true;
    record_legend_entry(bar.call_count);
    st.plots.filled_curve = false;

    static const int faces[6][4] = {{0, 1, 2, 3}, {4, 7, 6, 5}, {0, 4, 5, 1},
                                    {1, 5, 6, 2}, {2, 6, 7, 3}, {3, 7, 4, 0}};
    static const double normals[6][3] = {{0, 0, -1}, {0, 0, 1}, {0, -1, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}};
    std::vector<Facet> facets;
    const int keep = current_colour();
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(x[i]) || !std::isfinite(y[i]) || !std::isfinite(z1[i]) || !std::isfinite(z2[i]))
            continue;
        // Block corners in absolute coordinates, cut at the box.
        double lo[3], hi[3];
        lo[0] = clamp_box(0, user_to_abs_axis(0, x[i] - xw[i] / 2));
        hi[0] = clamp_box(0, user_to_abs_axis(0, x[i] + xw[i] / 2));
        lo[1] = clamp_box(1, user_to_abs_axis(1, y[i] - yw[i] / 2));
        hi[1] = clamp_box(1, user_to_abs_axis(1, y[i] + yw[i] / 2));
        lo[2] = bar.from_axis ? -g.box[2] / 2.0 : clamp_box(2, user_to_abs_axis(2, z1[i]));
        hi[2] = clamp_box(2, user_to_abs_axis(2, z2[i]));
        for (int k = 0; k < 3; ++k)
            if (lo[k] > hi[k]) std::swap(lo[k], hi[k]);
        double c[8][3];
        for (int k = 0; k < 8; ++k) {
            c[k][0] = (k == 1 || k == 2 || k == 5 || k == 6) ? hi[0] : lo[0];
            c[k][1] = (k == 2 || k == 3 || k == 6 || k == 7) ? hi[1] : lo[1];
            c[k][2] = k >= 4 ? hi[2] : lo[2];
        }
        int colour = colours[i] < 0 || colours[i] > 255 ? keep : colours[i];
        for (int f = 0; f < 6; ++f) {
            // Only the faces turned towards the camera.
            double centre[3] = {0, 0, 0};
            for (int k = 0; k < 4; ++k)
                for (int j = 0; j < 3; ++j) centre[j] += c[faces[f][k]][j] / 4;
            double to_eye = 0;
            for (int j = 0; j < 3; ++j) to_eye += normals[f][j] * (g.vp[j] - centre[j]);
            if (to_eye <= 0 && !g.zbuffer) continue;
            Facet fc;
            fc.n = 4;
            for (int k = 0; k < 4; ++k) {
                for (int j = 0; j < 3; ++j) fc.p[k][j] = c[faces[f][k]][j];
                fc.colour[k] = g.lighting ? light_intensity(fc.p[k], normals[f]) : colour;
            }
            facets.push_back(fc);
        }
    }
    clip_to_axis(0);
    draw_facets(facets, 1, bar.border);
    clip_to_axis(1);
    use_colour(keep);
}

void sphe3d(float xm, float ym, float zm, float r, int n, int m) {
    if (!need_box("sphe3d")) return;
    if (n < 3) return (void)warn_routine_value(2, n);
    if (m < 2) return (void)warn_routine_value(2, m);
    if (!(r > 0)) return (void)warn_routine(2);
    Graph3DState& g = g3();
    const double pi = 3.14159265358979323846;
    const int keep = current_colour();
    auto corner = [&](int i, int j, double p[3], int& colour) {
        double lon = 2 * pi * i / n, lat = -pi / 2 + pi * j / m;
        double u[3] = {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
        user_to_abs((float)(xm + r * u[0]), (float)(ym + r * u[1]), (float)(zm + r * u[2]), p);
        double nn[3];
        user_normal(u, nn);
        colour = g.lighting ? light_intensity(p, nn) : keep;
    };
    std::vector<Facet> facets;
    facets.reserve((std::size_t)n * m);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < m; ++j) {
            Facet f;
            f.n = 4;
            corner(i, j, f.p[0], f.colour[0]);
            corner(i + 1, j, f.p[1], f.colour[1]);
            corner(i + 1, j + 1, f.p[2], f.colour[2]);
            corner(i, j + 1, f.p[3], f.colour[3]);
            facets.push_back(f);
        }
    }
    clip_to_axis(0);
    draw_facets(facets, g.mesh, g.mesh_colour);
    clip_to_axis(1);
    use_colour(keep);
}

}  // namespace korval
