// Surfaces in the 3-D axis system: mesh surfaces with hidden lines removed
// by a floating horizon (surfce, surmat, surfun), colour-shaded surfaces
// (surshd, surtri, surfcp), isosurfaces (suriso) and their settings.
//
// The floating horizon keeps, per plot column, the smallest and largest plot
// y drawn so far.  Lines are drawn from the front of the surface to the
// back; a pixel is visible when it lies above the upper or below the lower
// horizon; above is the upper side of the surface, below the underside.  A
// column not drawn before is both: its side is the one facing the camera
// (the underside when the camera is below the surface's mean height), so
// that "TOP " shows nothing of a surface seen from below.
#include <algorithm>
#include <cmath>
#include <vector>

#include "devices/raster_zbuffer.hpp"
#include "draw/draw.hpp"
#include "graph3d/facets.hpp"
#include "graph3d/graph3d.hpp"
#include "korval/korval.hpp"
#include "plots/plots.hpp"

namespace korval {

namespace {

constexpr long kMaxPoints = 4000000;  // grid points of one surface

// ---- the floating horizon ------------------------------------------------------

struct Horizon {
    int keep_colour = 0;
    int side = 0;  // side colour in force: 0 none, 1 top, 2 bottom
    bool camera_below = false;
    // The column being stepped and the extent of y in it.
    int col = -1, col_min = 0, col_max = 0;
};

Horizon hz;

// Enters the y extent of the column being left into the horizon.
void update_column() {
    Graph3DState& g = g3();
    if (hz.col < 0 || hz.col >= (int)g.upper.size()) return;
    if (hz.col_min < g.upper[hz.col]) g.upper[hz.col] = (std::int16_t)hz.col_min;
    if (hz.col_max > g.lower[hz.col]) g.lower[hz.col] = (std::int16_t)hz.col_max;
}

void switch_side(int side) {
    const Graph3DState& g = g3();
    if (!g.side_colours || side == hz.side) return;
    hz.side = side;
    int c = side == 1 ? g.top_colour : g.bottom_colour;
    device_colour(c >= 0 ? c : hz.keep_colour);
}

void emit_run(int x0, int y0, int x1, int y1) {
    PipelineState& p = state().pipeline;
    device_line((float)x0, (float)y0, kOpMove);
    if (state().blanking.surface && p.blanking && p.blank_segment)
        p.blank_segment((float)x0, (float)y0, (float)x1, (float)y1);
    else
        device_line((float)x1, (float)y1, kOpDraw);
}

// The pipeline's hidden-line stage: a clipped segment in plot coordinates.
void horizon_segment(float fx0, float fy0, float fx1, float fy1) {
    Graph3DState& g = g3();
    const int mode = g.horizon_mode;
    auto clampi = [](float v) { return (int)std::max(-32000.0f, std::min(32000.0f, std::floor(v + 0.5f))); };
    int x0 = clampi(fx0), y0 = clampi(fy0), x1 = clampi(fx1), y1 = clampi(fy1);
    const int width = (int)g.upper.size();
    int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    int err = dx + dy;
    int x = x0, y = y0;
    bool in_run = false;
    int rx0 = 0, ry0 = 0, rx1 = 0, ry1 = 0, run_side = 0;
    hz.col = -1;
    for (;;) {
        // A new column: the previous one enters the horizon.
        if (x != hz.col) {
            if (mode == 1 || mode == 3) update_column();
            hz.col = x;
            hz.col_min = hz.col_max = y;
        } else {
            hz.col_min = std::min(hz.col_min, y);
            hz.col_max = std::max(hz.col_max, y);
        }
        int side = 0;
        if (x >= 0 && x < width) {
            bool above = y<g.upper[x], below = y> g.lower[x];
            if (above && below)
                side = hz.camera_below ? 2 : 1;
            else
                side = above ? 1 : below ? 2 : 0;
            // survis: 0 BOTH, 1 TOP, 2 BOTT
            if ((g.visibility == 1 && side == 2) || (g.visibility == 2 && side == 1)) side = 0;
        }
        if (mode == 3) side = 0;  // entering the horizon only
        if (side && (!in_run || side != run_side)) {
            if (in_run) emit_run(rx0, ry0, rx1, ry1);
            switch_side(side);
            in_run = true;
            run_side = side;
            rx0 = rx1 = x;
            ry0 = ry1 = y;
        } else if (side) {
            rx1 = x;
            ry1 = y;
        } else if (in_run) {
            emit_run(rx0, ry0, rx1, ry1);
            in_run = false;
        }
        if (x == x1 && y == y1) break;
        int e2 = 2 * err;
        if (e2 >= dy) err += dy, x += sx;
        if (e2 <= dx) err += dx, y += sy;
    }
    if (in_run) emit_run(rx0, ry0, rx1, ry1);
    if (mode == 1 || mode == 3) update_column();
    hz.col = -1;
}

// Starts a mesh surface: clears the horizon and routes the pipeline's
// segments through it.
void horizon_begin(bool camera_below) {
    Graph3DState& g = g3();
    plot_flush();
    hz = Horizon{};
    hz.keep_colour = current_colour();
    hz.camera_below = camera_below;
    if (!g.hidden_lines) return;
    std::size_t n = (std::size_t)state().out.nxp + 1;
    g.upper.assign(n, 10000);
    g.lower.assign(n, -1);
    g.horizon_mode = 1;
    state().pipeline.hidden_segment = horizon_segment;
}

void horizon_mode(int mode) {
    plot_flush();
    if (g3().hidden_lines) g3().horizon_mode = mode;
}

void horizon_end() {
    plot_flush();
    g3().horizon_mode = 0;
    state().pipeline.hidden_segment = nullptr;
    if (hz.side) device_colour(hz.keep_colour);
    use_colour(hz.keep_colour);
    hz.side = 0;
}

// ---- mesh surfaces ---------------------------------------------------------------

// A grid of absolute points (x by column i, y by row j) with user z values.
struct MeshGrid {
    std::vector<double> ax, ay;
    std::vector<float> z;  // z(i, j) at i * ny + j, user values
    int nx = 0, ny = 0;
    // Lines along x (rows of constant j) every row_step-th row, lines
    // along y (columns of constant i) every col_step-th column; 0: none.
    int row_step = 1, col_step = 1;
};

bool grid_point(const MeshGrid& m, int i, int j, double p[3]) {
    float z = m.z[(std::size_t)i * m.ny + j];
    if (!std::isfinite(z)) return false;
    if (g3().log[2] && z <= 0) return false;
    p[0] = m.ax[i];
    p[1] = m.ay[j];
    p[2] = user_to_abs_axis(2, z);
    return true;
}

void mesh_edge(const MeshGrid& m, int i0, int j0, int i1, int j1) {
    double a[3], b[3];
    if (!grid_point(m, i0, j0, a) || !grid_point(m, i1, j1, b)) return;
    Graph3DState& g = g3();
    bool continues = g.pen_set && g.pen_drawn && g.pen[0] == a[0] && g.pen[1] == a[1] && g.pen[2] == a[2];
    if (!continues) line3d_move(a);
    line3d_draw(b);
}

// Index order from the end nearest the viewer.
std::vector<int> near_first(const std::vector<double>& a, double viewer) {
    int n = (int)a.size();
    std::vector<int> order((std::size_t)n);
    bool reverse = std::fabs(a[(std::size_t)n - 1] - viewer) < std::fabs(a[0] - viewer);
    for (int k = 0; k < n; ++k) order[(std::size_t)k] = reverse ? n - 1 - k : k;
    return order;
}

void draw_columns(const MeshGrid& m, const std::vector<int>& oi, const std::vector<int>& oj) {
    const Graph3DState& g = g3();
    const double bottom = -g.box[2] / 2.0;
    auto half = [](const std::vector<double>& a, int k) {
        double d = 1e300;
        if (k > 0) d = std::min(d, std::fabs(a[(std::size_t)k] - a[(std::size_t)k - 1]));
        if (k + 1 < (int)a.size()) d = std::min(d, std::fabs(a[(std::size_t)k + 1] - a[(std::size_t)k]));
        return d < 1e300 ? d / 4 : 0.1;
    };
    for (int jj : oj) {
        for (int ii : oi) {
            double top[3];
            if (!grid_point(m, ii, jj, top) || top[2] < bottom) continue;
            double hx = half(m.ax, ii), hy = half(m.ay, jj);
            double c[8][3];
            for (int k = 0; k < 8; ++k) {
                c[k][0] = m.ax[(std::size_t)ii] + ((k & 1) ? hx : -hx);
                c[k][1] = m.ay[(std::size_t)jj] + ((k & 2) ? hy : -hy);
                c[k][2] = k < 4 ? bottom : top[2];
            }
            // The edges of the faces turned to the camera, drawn behind the
            // columns in front, then entered into the horizon.
            static const int faces[6][4] = {{0, 2, 6, 4}, {1, 3, 7, 5}, {0, 1, 5, 4},
                                            {2, 3, 7, 6}, {0, 1, 3, 2}, {4, 5, 7, 6}};
            static const double normal[6][3] = {{-1, 0, 0}, {1, 0, 0},  {0, -1, 0},
                                                {0, 1, 0},  {0, 0, -1}, {0, 0, 1}};
            std::vector<std::pair<int, int>> edges;
            for (int f = 0; f < 6; ++f) {
                double v = 0;
                for (int d = 0; d < 3; ++d) v += normal[f][d] * (g.vp[d] - c[faces[f][0]][d]);
                if (v <= 0) continue;
                for (int k = 0; k < 4; ++k) {
                    int a = faces[f][k], b = faces[f][(k + 1) % 4];
                    std::pair<int, int> e{std::min(a, b), std::max(a, b)};
                    if (std::find(edges.begin(), edges.end(), e) == edges.end()) edges.push_back(e);
                }
            }
            for (int pass = 0; pass < 2; ++pass) {
                horizon_mode(pass == 0 ? 2 : 3);
                for (const auto& e : edges) {
                    line3d_move(c[e.first]);
                    line3d_draw(c[e.second]);
                }
            }
        }
    }
}

void draw_mesh(const MeshGrid& m) {
    Graph3DState& g = g3();
    clip_to_axis(0);
    double zsum = 0;
    long zn = 0;
    for (float z : m.z)
        if (std::isfinite(z) && !(g.log[2] && z <= 0)) zsum += user_to_abs_axis(2, z), ++zn;
    horizon_begin(zn > 0 && g.vp[2] < zsum / zn);
    std::vector<int> oi = near_first(m.ax, g.vp[0]), oj = near_first(m.ay, g.vp[1]);
    const bool rows = m.row_step > 0 && g.line_option != 1;  // lines along x
    const bool cols = m.col_step > 0 && g.line_option != 2;  // lines along y
    auto row_on = [&](int j) { return rows && j % m.row_step == 0; };
    auto col_on = [&](int i) { return cols && i % m.col_step == 0; };
    g.pen_set = false;
    if (state().plots.interpolation == 2) {
        draw_columns(m, oi, oj);
    } else {
        // The two border lines that meet at the nearest corner.
        if (row_on(oj[0]))
            for (int k = 0; k + 1 < m.nx; ++k)
                mesh_edge(m, oi[(std::size_t)k], oj[0], oi[(std::size_t)k + 1], oj[0]);
        if (col_on(oi[0]))
            for (int k = 0; k + 1 < m.ny; ++k)
                mesh_edge(m, oi[0], oj[(std::size_t)k], oi[0], oj[(std::size_t)k + 1]);
        // Cell by cell away from the viewer: the edges on the far side.
        for (int b = 0; b + 1 < m.ny; ++b) {
            int j0 = oj[(std::size_t)b], j1 = oj[(std::size_t)b + 1];
            for (int a = 0; a + 1 < m.nx; ++a) {
                int i0 = oi[(std::size_t)a], i1 = oi[(std::size_t)a + 1];
                if (col_on(i1)) mesh_edge(m, i1, j0, i1, j1);
                if (row_on(j1)) mesh_edge(m, i0, j1, i1, j1);
            }
        }
    }
    plot_flush();
    horizon_end();
    g.pen_set = false;
    clip_to_axis(1);
}

// The x and y range of surmat and surfun: sursze, else the axis scaling.
void surface_range(double& x1, double& x2, double& y1, double& y2) {
    const ColourPlotState& c = state().colour_plots;
    const Graph3DState& g = g3();
    if (c.surface_size_on) {
        x1 = c.surface_x1, x2 = c.surface_x2, y1 = c.surface_y1, y2 = c.surface_y2;
        return;
    }
    auto actual = [&](int axis, float v) { return g.log[axis] ? std::pow(10.0, (double)v) : (double)v; };
    x1 = actual(0, g.a[0]), x2 = actual(0, g.e[0]);
    y1 = actual(1, g.a[1]), y2 = actual(1, g.e[1]);
}

std::vector<double> abs_axis(int axis, const double* v, int n) {
    std::vector<double> out((std::size_t)n);
    for (int k = 0; k < n; ++k) out[(std::size_t)k] = user_to_abs_axis(axis, (float)v[k]);
    return out;
}

// ---- shaded surfaces ----------------------------------------------------------------

int z_colour(float z) {
    int c = z_to_colour(z);
    return c < 0 ? 0 : c;
}

// Smooth shading: true when it can be drawn (a raster picture); after
// warning 40 on vector formats the surface is shaded flat.
bool smooth_possible() {
    if (state().colour_plots.surface_shading != 1) return false;
    int code = state().out.format;
    if (code >= 101 && code <= 600) {
        warn_routine(40);
        return false;
    }
    return true;
}

// Runs draw with a depth buffer: the script's own, or one made for it.
template <class F>
void with_depth_buffer(bool smooth, F draw) {
    bool own = false;
    if (smooth && !g3().zbuffer && !state().raster.picture.empty()) {
        plot_flush();
        if (zbuffer_create()) {
            g3().zbuffer = true;
            own = true;
        } else {
            warn_routine(53);
        }
    }
    draw();
    if (own) {
        zbuffer_release();
        g3().zbuffer = false;
    }
}

void unit(double v[3]) {
    double l = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (l > 0)
        for (int i = 0; i < 3; ++i) v[i] /= l;
}

void cross(const double a[3], const double b[3], double out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

// Turns a normal towards the camera (both sides of a surface are lit).
void face_viewer(const double p[3], double n[3]) {
    const Graph3DState& g = g3();
    double v = 0;
    for (int i = 0; i < 3; ++i) v += n[i] * (g.vp[i] - p[i]);
    if (v < 0)
        for (int i = 0; i < 3; ++i) n[i] = -n[i];
}

// The colour of a vertex: lit with its normal, or from its z value.
int vertex_colour(const double p[3], double n[3], float z, bool smooth) {
    if (smooth && g3().lighting) {
        face_viewer(p, n);
        return light_intensity(p, n);
    }
    return z_colour(z);
}

// Shaded quadrilateral cells of a grid of absolute points with user z.
void shade_grid(const std::vector<double>& pts, const std::vector<float>& zs, int nx, int ny) {
    Graph3DState& g = g3();
    const bool smooth = smooth_possible();
    set_surface_colour_scale();
    auto P = [&](int i, int j) { return &pts[((std::size_t)i * ny + j) * 3]; };
    auto ok = [&](int i, int j) {
        const double* p = P(i, j);
        return std::isfinite(p[0]) && std::isfinite(p[1]) && std::isfinite(p[2]);
    };
    std::vector<int> colours((std::size_t)nx * ny, 0);
    for (int i = 0; i < nx; ++i) {
        for (int j = 0; j < ny; ++j) {
            if (!ok(i, j)) continue;
            double n[3] = {0, 0, 1};
            if (smooth && g.lighting) {
                int ia = std::max(0, i - 1), ib = std::min(nx - 1, i + 1);
                int ja = std::max(0, j - 1), jb = std::min(ny - 1, j + 1);
                if (ok(ia, j) && ok(ib, j) && ok(i, ja) && ok(i, jb)) {
                    double du[3], dv[3];
                    for (int k = 0; k < 3; ++k)
                        du[k] = P(ib, j)[k] - P(ia, j)[k], dv[k] = P(i, jb)[k] - P(i, ja)[k];
                    cross(du, dv, n);
                    unit(n);
                }
            }
            colours[(std::size_t)i * ny + j] = vertex_colour(P(i, j), n, zs[(std::size_t)i * ny + j], smooth);
        }
    }
    std::vector<Facet> facets;
    facets.reserve((std::size_t)(nx - 1) * (ny - 1));
    for (int i = 0; i + 1 < nx; ++i) {
        for (int j = 0; j + 1 < ny; ++j) {
            int ci[4] = {i, i + 1, i + 1, i}, cj[4] = {j, j, j + 1, j + 1};
            Facet f;
            f.n = 4;
            bool good = true;
            double zsum = 0;
            for (int k = 0; k < 4 && good; ++k) {
                good = ok(ci[k], cj[k]);
                if (!good) break;
                for (int d = 0; d < 3; ++d) f.p[k][d] = P(ci[k], cj[k])[d];
                f.colour[k] = colours[(std::size_t)ci[k] * ny + cj[k]];
                zsum += zs[(std::size_t)ci[k] * ny + cj[k]];
            }
            if (!good) continue;
            if (!smooth) {
                // Flat: the colour of the cell's mean z.
                int c = z_colour((float)(zsum / 4));
                for (int& v : f.colour) v = c;
            }
            facets.push_back(f);
        }
    }
    clip_to_axis(0);
    with_depth_buffer(smooth, [&] { draw_facets(facets, g.mesh, g.mesh_colour); });
    clip_to_axis(1);
}

}  // namespace

void set_surface_colour_scale() {
    const Graph3DState& g = g3();
    const ColourPlotState& c = state().colour_plots;
    if (c.zscale_on && (!g.log[2] || (c.zscale_a > 0 && c.zscale_e > 0)))
        set_colour_range(g.log[2] ? (float)std::log10(c.zscale_a) : c.zscale_a,
                         g.log[2] ? (float)std::log10(c.zscale_e) : c.zscale_e, g.log[2]);
    else
        set_colour_range(g.a[2], g.e[2], g.log[2]);
}

// ---- user routines: mesh surfaces ---------------------------------------------------------

void surfce(const float* x, int nx, const float* y, int ny, const float* z) {
    if (!need_box("surfce")) return;
    if (nx < 2) return (void)warn_routine_value(2, nx);
    if (ny < 2) return (void)warn_routine_value(2, ny);
    if ((long)nx * ny > kMaxPoints) return (void)warn_routine(53);
    MeshGrid m;
    m.nx = nx, m.ny = ny;
    m.ax.resize((std::size_t)nx);
    m.ay.resize((std::size_t)ny);
    for (int i = 0; i < nx; ++i) m.ax[(std::size_t)i] = user_to_abs_axis(0, x[i]);
    for (int j = 0; j < ny; ++j) m.ay[(std::size_t)j] = user_to_abs_axis(1, y[j]);
    m.z.assign(z, z + (std::size_t)nx * ny);
    draw_mesh(m);
}

void surmat(const float* z, int nx, int ny, int ixpts, int iypts) {
    if (!need_box("surmat")) return;
    if (nx < 2) return (void)warn_routine_value(2, nx);
    if (ny < 2) return (void)warn_routine_value(2, ny);
    if ((long)nx * ny > kMaxPoints) return (void)warn_routine(53);
    if (ixpts == 0 && iypts == 0) return;
    double x1, x2, y1, y2;
    surface_range(x1, x2, y1, y2);
    std::vector<double> xs((std::size_t)nx), ys((std::size_t)ny);
    for (int i = 0; i < nx; ++i) xs[(std::size_t)i] = x1 + i * (x2 - x1) / (nx - 1);
    for (int j = 0; j < ny; ++j) ys[(std::size_t)j] = y1 + j * (y2 - y1) / (ny - 1);
    MeshGrid m;
    m.nx = nx, m.ny = ny;
    m.ax = abs_axis(0, xs.data(), nx);
    m.ay = abs_axis(1, ys.data(), ny);
    m.z.assign(z, z + (std::size_t)nx * ny);
    // ixpts: lines of constant x (one per grid column); -k: every (k+1)-th.
    m.col_step = ixpts == 0 ? 0 : ixpts < 0 ? 1 - ixpts : 1;
    m.row_step = iypts == 0 ? 0 : iypts < 0 ? 1 - iypts : 1;
    draw_mesh(m);
}

void surfun(SurfaceFunction f, int ixp, float dx, int iyp, float dy) {
    if (!need_box("surfun")) return;
    if (!f) return (void)warn_routine(2);
    if (ixp < 0) return (void)warn_routine_value(2, ixp);
    if (iyp < 0) return (void)warn_routine_value(2, iyp);
    if (!(dx > 0) || !(dy > 0)) return (void)warn_routine(2);
    if (ixp == 0 && iyp == 0) return;
    double x1, x2, y1, y2;
    surface_range(x1, x2, y1, y2);
    // Grid lines every dx and dy; along a line the function is sampled
    // ixp (iyp) times per grid step, so the lines follow its curvature.
    double lx = std::fabs(x2 - x1), ly = std::fabs(y2 - y1);
    if (!(lx / dx < 1e7) || !(ly / dy < 1e7)) return (void)warn_routine(53);
    long gx = (long)std::floor(lx / dx + 1e-4), gy = (long)std::floor(ly / dy + 1e-4);
    if (gx < 1 || gy < 1) return (void)warn_routine(2);
    int sx = std::max(1, ixp), sy = std::max(1, iyp);
    long nx = gx * sx + 1, ny = gy * sy + 1;
    if (nx * ny > kMaxPoints) return (void)warn_routine(53);
    double ddx = (x2 >= x1 ? dx : -dx) / (double)sx, ddy = (y2 >= y1 ? dy : -dy) / (double)sy;
    std::vector<double> xs((std::size_t)nx), ys((std::size_t)ny);
    for (long i = 0; i < nx; ++i) xs[(std::size_t)i] = x1 + i * ddx;
    for (long j = 0; j < ny; ++j) ys[(std::size_t)j] = y1 + j * ddy;
    MeshGrid m;
    m.nx = (int)nx, m.ny = (int)ny;
    m.ax = abs_axis(0, xs.data(), m.nx);
    m.ay = abs_axis(1, ys.data(), m.ny);
    m.z.resize((std::size_t)nx * ny);
    for (long i = 0; i < nx; ++i)
        for (long j = 0; j < ny; ++j)
            m.z[(std::size_t)(i * ny + j)] = f((float)xs[(std::size_t)i], (float)ys[(std::size_t)j]);
    // The function may have called the library: the axis system must still be there.
    state().run.routine = "surfun";
    if (state().run.level != 3 || !g3().active) return;
    m.col_step = iyp == 0 ? 0 : sx;  // lines of constant x at the grid columns
    m.row_step = ixp == 0 ? 0 : sy;  // lines of constant y at the grid rows
    // (ixp samples lines of constant y along x, iyp lines of constant x along y)
    draw_mesh(m);
}

// ---- user routines: shaded surfaces ------------------------------------------------------------

void surshd(const float* x, int nx, const float* y, int ny, const float* z) {
    if (!need_box("surshd")) return;
    if (nx < 2) return (void)warn_routine_value(2, nx);
    if (ny < 2) return (void)warn_routine_value(2, ny);
    if ((long)nx * ny > kMaxPoints) return (void)warn_routine(53);
    std::vector<double> pts((std::size_t)nx * ny * 3);
    std::vector<float> zs(z, z + (std::size_t)nx * ny);
    const double nan = std::nan("");
    for (int i = 0; i < nx; ++i) {
        for (int j = 0; j < ny; ++j) {
            double* p = &pts[((std::size_t)i * ny + j) * 3];
            float zv = z[(std::size_t)i * ny + j];
            bool good =
                std::isfinite(x[i]) && std::isfinite(y[j]) && std::isfinite(zv) && !(g3().log[2] && zv <= 0);
            p[0] = good ? user_to_abs_axis(0, x[i]) : nan;
            p[1] = good ? user_to_abs_axis(1, y[j]) : nan;
            p[2] = good ? user_to_abs_axis(2, zv) : nan;
        }
    }
    shade_grid(pts, zs, nx, ny);
}

void surfcp(ParametricFunction f, float a1, float a2, float a3, float b1, float b2, float b3) {
    if (!need_box("surfcp")) return;
    if (!f) return (void)warn_routine(2);
    auto count = [](float a, float b, float s) -> long {
        double q = ((double)b - a) / s;
        if (s == 0 || !std::isfinite(q) || q < 0) return -1;
        if (q > 1e7) return kMaxPoints + 1;
        return (long)std::floor(q + 1e-4) + 1;
    };
    long ns = count(a1, a2, a3), nt = count(b1, b2, b3);
    if (ns < 2 || nt < 2) return (void)warn_routine(2);
    if (ns > kMaxPoints || nt > kMaxPoints || ns * nt > kMaxPoints) return (void)warn_routine(53);
    std::vector<double> pts((std::size_t)(ns * nt * 3));
    std::vector<float> zs((std::size_t)(ns * nt));
    for (long i = 0; i < ns; ++i) {
        for (long j = 0; j < nt; ++j) {
            float s = a1 + (float)i * a3, t = b1 + (float)j * b3;
            float xv = f(s, t, 1), yv = f(s, t, 2), zv = f(s, t, 3);
            double* p = &pts[(std::size_t)(i * nt + j) * 3];
            bool good = std::isfinite(xv) && std::isfinite(yv) && std::isfinite(zv);
            for (int k = 0; k < 3 && good; ++k)
                good = !(g3().log[k] && (k == 0 ? xv : k == 1 ? yv : zv) <= 0);
            if (good) {
                user_to_abs(xv, yv, zv, p);
            } else {
                p[0] = p[1] = p[2] = std::nan("");
            }
            zs[(std::size_t)(i * nt + j)] = zv;
        }
    }
    state().run.routine = "surfcp";
    if (state().run.level != 3 || !g3().active) return;
    shade_grid(pts, zs, (int)ns, (int)nt);
}

void surtri(const float* x, const float* y, const float* z, int n, const int* i1, const int* i2,
            const int* i3, int ntri) {
    if (!need_box("surtri")) return;
    if (n < 3) return (void)warn_routine_value(2, n);
    if (ntri < 1) return (void)warn_routine_value(2, ntri);
    Graph3DState& g = g3();
    const bool smooth = smooth_possible();
    set_surface_colour_scale();
    std::vector<double> pts((std::size_t)n * 3);
    std::vector<char> good((std::size_t)n);
    for (int k = 0; k < n; ++k) {
        good[(std::size_t)k] = std::isfinite(x[k]) && std::isfinite(y[k]) && std::isfinite(z[k]);
        if (good[(std::size_t)k]) user_to_abs(x[k], y[k], z[k], &pts[(std::size_t)k * 3]);
    }
    auto valid = [&](int t) {
        int v[3] = {i1[t], i2[t], i3[t]};
        for (int k : v)
            if (k < 1 || k > n || !good[(std::size_t)k - 1]) return false;
        return true;
    };
    // Vertex normals: the sum of the normals of the triangles around.
    std::vector<double> normals;
    if (smooth && g.lighting) {
        normals.assign((std::size_t)n * 3, 0.0);
        for (int t = 0; t < ntri; ++t) {
            if (!valid(t)) continue;
            const double *a = &pts[(std::size_t)(i1[t] - 1) * 3], *b = &pts[(std::size_t)(i2[t] - 1) * 3],
                         *c = &pts[(std::size_t)(i3[t] - 1) * 3];
            double u[3], v[3], nn[3];
            for (int k = 0; k < 3; ++k) u[k] = b[k] - a[k], v[k] = c[k] - a[k];
            cross(u, v, nn);
            if (nn[2] < 0)
                for (double& d : nn) d = -d;
            for (int idx : {i1[t], i2[t], i3[t]})
                for (int k = 0; k < 3; ++k) normals[(std::size_t)(idx - 1) * 3 + k] += nn[k];
        }
    }
    std::vector<Facet> facets;
    for (int t = 0; t < ntri; ++t) {
        if (!valid(t)) continue;
        Facet f;
        f.n = 3;
        int idx[3] = {i1[t] - 1, i2[t] - 1, i3[t] - 1};
        double zsum = 0;
        for (int k = 0; k < 3; ++k) {
            for (int d = 0; d < 3; ++d) f.p[k][d] = pts[(std::size_t)idx[k] * 3 + d];
            double nn[3] = {0, 0, 1};
            if (!normals.empty()) {
                for (int d = 0; d < 3; ++d) nn[d] = normals[(std::size_t)idx[k] * 3 + d];
                unit(nn);
            }
            f.colour[k] = vertex_colour(f.p[k], nn, z[idx[k]], smooth);
            zsum += z[idx[k]];
        }
        if (!smooth) {
            int c = z_colour((float)(zsum / 3));
            for (int& v : f.colour) v = c;
        }
        facets.push_back(f);
    }
    clip_to_axis(0);
    with_depth_buffer(smooth, [&] { draw_facets(facets, g.mesh, g.mesh_colour); });
    clip_to_axis(1);
}

// ---- isosurfaces ----------------------------------------------------------------------

namespace {

bool monotonic(const float* v, int n) {
    if (n < 2) return true;
    bool up = v[1] > v[0];
    for (int k = 1; k < n; ++k)
        if (!(up ? v[k] > v[k - 1] : v[k] < v[k - 1])) return false;
    return true;
}

}  // namespace

void suriso(const float* x, int nx, const float* y, int ny, const float* z, int nz, const float* w,
            float wlev) {
    if (!need_box("suriso")) return;
    if (nx < 2) return (void)warn_routine_value(2, nx);
    if (ny < 2) return (void)warn_routine_value(2, ny);
    if (nz < 2) return (void)warn_routine_value(2, nz);
    if ((long)nx * ny * nz > 4 * kMaxPoints) return (void)warn_routine(53);
    if (!monotonic(x, nx) || !monotonic(y, ny) || !monotonic(z, nz)) {
        set_warning_text("arrays must be monoton");
        return (void)warn_routine(101);
    }
    Graph3DState& g = g3();
    const bool smooth = smooth_possible();
    set_surface_colour_scale();
    auto W = [&](int i, int j, int k) { return w[((std::size_t)i * ny + j) * nz + k]; };
    // The gradient of w (in user units) as the normal of the surface.
    auto gradient = [&](int i, int j, int k, double n[3]) {
        int i0 = std::max(0, i - 1), i1 = std::min(nx - 1, i + 1);
        int j0 = std::max(0, j - 1), j1 = std::min(ny - 1, j + 1);
        int k0 = std::max(0, k - 1), k1 = std::min(nz - 1, k + 1);
        n[0] = (W(i1, j, k) - W(i0, j, k)) / (x[i1] - x[i0]);
        n[1] = (W(i, j1, k) - W(i, j0, k)) / (y[j1] - y[j0]);
        n[2] = (W(i, j, k1) - W(i, j, k0)) / (z[k1] - z[k0]);
    };
    // Each cube is cut into six tetrahedra around its main diagonal (corner
    // 0 to corner 6); each tetrahedron gives at most two triangles.
    static const int cube[8][3] = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0},
                                   {0, 0, 1}, {1, 0, 1}, {1, 1, 1}, {0, 1, 1}};
    static const int tets[6][4] = {{0, 5, 1, 6}, {0, 1, 2, 6}, {0, 2, 3, 6},
                                   {0, 3, 7, 6}, {0, 7, 4, 6}, {0, 4, 5, 6}};
    struct Vertex {
        double p[3];  // user coordinates
        double n[3];  // gradient
    };
    std::vector<Facet> facets;
    auto add_triangle = [&](const Vertex* v) {
        Facet f;
        f.n = 3;
        double zsum = 0;
        for (int k = 0; k < 3; ++k) {
            user_to_abs((float)v[k].p[0], (float)v[k].p[1], (float)v[k].p[2], f.p[k]);
            double n[3] = {v[k].n[0], v[k].n[1], v[k].n[2]};
            double an[3];
            for (int d = 0; d < 3; ++d) {
                double span = (double)g.e[d] - g.a[d];
                an[d] = n[d] * (span != 0 ? span : 1.0) / g.box[d];
            }
            unit(an);
            f.colour[k] = vertex_colour(f.p[k], an, (float)v[k].p[2], smooth);
            zsum += v[k].p[2];
        }
        if (!smooth) {
            int c = z_colour((float)(zsum / 3));
            for (int& cc : f.colour) cc = c;
        }
        facets.push_back(f);
    };
    for (int i = 0; i + 1 < nx; ++i) {
        for (int j = 0; j + 1 < ny; ++j) {
            for (int k = 0; k + 1 < nz; ++k) {
                Vertex c[8];
                double val[8];
                bool finite = true;
                for (int q = 0; q < 8; ++q) {
                    int a = i + cube[q][0], b = j + cube[q][1], e = k + cube[q][2];
                    val[q] = W(a, b, e);
                    finite = finite && std::isfinite(val[q]);
                    c[q].p[0] = x[a], c[q].p[1] = y[b], c[q].p[2] = z[e];
                    gradient(a, b, e, c[q].n);
                }
                if (!finite) continue;
                for (const auto& t : tets) {
                    int in[4], out[4], ni = 0, no = 0;
                    for (int q = 0; q < 4; ++q) (val[t[q]] >= wlev ? in[ni++] : out[no++]) = t[q];
                    if (ni == 0 || no == 0) continue;
                    auto cut = [&](int a, int b) {
                        Vertex v;
                        double s = (wlev - val[a]) / (val[b] - val[a]);
                        for (int d = 0; d < 3; ++d) {
                            v.p[d] = c[a].p[d] + s * (c[b].p[d] - c[a].p[d]);
                            v.n[d] = c[a].n[d] + s * (c[b].n[d] - c[a].n[d]);
                        }
                        return v;
                    };
                    if (ni == 1 || no == 1) {
                        int apex = ni == 1 ? in[0] : out[0];
                        const int* rest = ni == 1 ? out : in;
                        Vertex v[3] = {cut(apex, rest[0]), cut(apex, rest[1]), cut(apex, rest[2])};
                        add_triangle(v);
                    } else {
                        Vertex a = cut(in[0], out[0]), b = cut(in[0], out[1]), d = cut(in[1], out[1]),
                               e = cut(in[1], out[0]);
                        Vertex v1[3] = {a, b, d}, v2[3] = {a, d, e};
                        add_triangle(v1);
                        add_triangle(v2);
                    }
                }
            }
        }
    }
    clip_to_axis(0);
    with_depth_buffer(smooth, [&] { draw_facets(facets, g.mesh, g.mesh_colour); });
    clip_to_axis(1);
}

// ---- settings ----------------------------------------------------------------------------------

void survis(const char* s) {
    check_level(0, 3, "survis");
    int k = match_keyword("BOTH+TOP +BOTT", 3, s);
    if (k) g3().visibility = k - 1;
}

void surclr(int top, int bottom) {
    check_level(0, 3, "surclr");
    if (top < -1 || top > 255) return (void)warn_routine_value(2, top);
    if (bottom < -1 || bottom > 255) return (void)warn_routine_value(2, bottom);
    Graph3DState& g = g3();
    g.top_colour = top;
    g.bottom_colour = bottom;
    g.side_colours = true;
}

void suropt(const char* s) {
    check_level(0, 3, "suropt");
    int k = match_keyword("BOTH+XISO+YISO", 3, s);
    if (k) g3().line_option = k - 1;
}

void surmsh(const char* s) {
    check_level(0, 3, "surmsh");
    int k = match_keyword("OFF +ON  +ONLY", 3, s);
    if (k) g3().mesh = k - 1;
}

void mshclr(int i) {
    check_level(0, 3, "mshclr");
    if (i < -1 || i > 255) return (void)warn_routine_value(2, i);
    g3().mesh_colour = i;
}

void nohide() {
    check_level(0, 3, "nohide");
    g3().hidden_lines = false;
}

namespace {

struct Registration {
    Registration() {
        register_reset("SURV", [] { g3().visibility = 0; });
        register_reset("SURC", [] {
            Graph3DState& g = g3();
            g.side_colours = false;
            g.top_colour = g.bottom_colour = -1;
        });
        register_reset("NOHI", [] { g3().hidden_lines = true; });
    }
} registration;

}  // namespace

}  // namespace korval
