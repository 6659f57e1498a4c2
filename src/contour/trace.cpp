// Tracing one level over a grid or over triangles into polylines.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>
#include <vector>

#include "contour/contour.hpp"

namespace korval::contour {

namespace {

// Work arrays kept between calls: repeated levels allocate nothing once
// they have grown.
struct Scratch {
    std::vector<std::uint8_t> visited;  // grid: 4 bits per cell; triangles: 1 per triangle
    std::vector<float> lx, ly;          // the line being traced
};
Scratch& scratch() {
    static Scratch s;
    return s;
}

// The point where the level crosses the segment from a node above it
// (xa, ya, za) to a node not above it.
inline void crossing(double xa, double ya, double za, double xb, double yb, double zb, double v, float& x,
                     float& y) {
    double t = (za - v) / (za - zb);
    x = (float)(xa - (xa - xb) * t);
    y = (float)(ya - (ya - yb) * t);
}

// ---- grid -------------------------------------------------------------------

// Triangle t (0..3) of a cell has the vertices corner t, corner t + 1 and the
// centre; corners 0..3 are (i, j), (i+1, j), (i+1, j+1), (i, j+1).  Edge e
// joins vertex e and vertex e + 1: edge 0 lies on the cell border.
constexpr int kCornerDi[4] = {0, 1, 1, 0};
constexpr int kCornerDj[4] = {0, 0, 1, 1};
// Neighbour cell across edge 0 of triangle t, and its triangle there.
constexpr int kNextDi[4] = {0, 1, 0, -1};
constexpr int kNextDj[4] = {-1, 0, 1, 0};

struct Grid {
    const float *x, *y, *z;
    int n, m;
    double v;
    std::uint8_t* visited;
    LineSink* sink;
    std::vector<float>* lx;
    std::vector<float>* ly;

    bool valid_cell(int i, int j) const {
        if (i < 0 || j < 0 || i >= n - 1 || j >= m - 1) return false;
        const float* c = z + (std::size_t)i * m + j;
        return std::isfinite(c[0]) && std::isfinite(c[1]) && std::isfinite(c[m]) && std::isfinite(c[m + 1]);
    }
    // Vertex k (0..2) of triangle t of cell (i, j).
    void vertex(int i, int j, int t, int k, double& vx, double& vy, double& vz) const {
        if (k == 2) {
            const float* c = z + (std::size_t)i * m + j;
            vx = 0.5 * ((double)x[i] + x[i + 1]);
            vy = 0.5 * ((double)y[j] + y[j + 1]);
            vz = 0.25 * ((double)c[0] + c[1] + c[m] + c[m + 1]);
            return;
        }
        int c = (t + k) & 3;
        int ii = i + kCornerDi[c], jj = j + kCornerDj[c];
        vx = x[ii];
        vy = y[jj];
        vz = z[(std::size_t)ii * m + jj];
    }
    // Which of the triangle's three vertices lie above the level (bits).
    unsigned above_bits(int i, int j, int t, double vz[3], double vx[3], double vy[3]) const {
        unsigned b = 0;
        for (int k = 0; k < 3; ++k) {
            vertex(i, j, t, k, vx[k], vy[k], vz[k]);
            if (vz[k] > v) b |= 1u << k;
        }
        return b;
    }
    static bool edge_crossed(unsigned bits, int e) { return ((bits >> e) ^ (bits >> ((e + 1) % 3))) & 1u; }

    void emit_edge(const double vx[3], const double vy[3], const double vz[3], int e) {
        int a = e, b = (e + 1) % 3;
        if (!(vz[a] > v)) std::swap(a, b);
        float px, py;
        crossing(vx[a], vy[a], vz[a], vx[b], vy[b], vz[b], v, px, py);
        lx->push_back(px);
        ly->push_back(py);
    }

    // The triangle across edge e; false at the border or a left-out cell.
    bool neighbour(int i, int j, int t, int e, int& ni, int& nj, int& nt, int& ne) const {
        if (e == 1) {
            ni = i, nj = j, nt = (t + 1) & 3, ne = 2;
            return true;
        }
        if (e == 2) {
            ni = i, nj = j, nt = (t + 3) & 3, ne = 1;
            return true;
        }
        ni = i + kNextDi[t], nj = j + kNextDj[t], nt = (t + 2) & 3, ne = 0;
        return valid_cell(ni, nj);
    }

    std::uint8_t& mark(int i, int j) { return visited[(std::size_t)i * (m - 1) + j]; }

    // Follows a line that enters triangle t of cell (i, j) through edge e.
    void follow(int i, int j, int t, int e) {
        lx->clear();
        ly->clear();
        const int si = i, sj = j, st = t;
        double vx[3], vy[3], vz[3];
        unsigned bits = above_bits(i, j, t, vz, vx, vy);
        emit_edge(vx, vy, vz, e);
        bool closed = false;
        for (;;) {
            mark(i, j) |= (std::uint8_t)(1u << t);
            int out = -1;
            for (int k = 0; k < 3; ++k)
                if (k != e && edge_crossed(bits, k)) out = k;
            if (out < 0) break;
            emit_edge(vx, vy, vz, out);
            int ni, nj, nt, ne;
            if (!neighbour(i, j, t, out, ni, nj, nt, ne)) break;
            if (ni == si && nj == sj && nt == st) {
                closed = true;
                break;
            }
            if (mark(ni, nj) & (1u << nt)) break;
            i = ni, j = nj, t = nt, e = ne;
            bits = above_bits(i, j, t, vz, vx, vy);
        }
        sink->line(lx->data(), ly->data(), (int)lx->size(), closed);
    }

    // A cell the level passes through (all corners finite).
    bool cell_crossed(int i, int j) const {
        const float* c = z + (std::size_t)i * m + j;
        int a = (c[0] > v) + (c[1] > v) + (c[m] > v) + (c[m + 1] > v);
        return a != 0 && a != 4;
    }

    void run() {
        // Lines that end at the border or at left-out cells first, then the
        // closed ones.
        for (int pass = 0; pass < 2; ++pass) {
            for (int i = 0; i < n - 1; ++i) {
                for (int j = 0; j < m - 1; ++j) {
                    if (!valid_cell(i, j) || !cell_crossed(i, j)) continue;
                    for (int t = 0; t < 4; ++t) {
                        if (mark(i, j) & (1u << t)) continue;
                        double vx[3], vy[3], vz[3];
                        unsigned bits = above_bits(i, j, t, vz, vx, vy);
                        if (bits == 0 || bits == 7) continue;
                        if (pass == 1) {
                            int e = edge_crossed(bits, 0) ? 0 : 1;
                            follow(i, j, t, e);
                            continue;
                        }
                        if (!edge_crossed(bits, 0)) continue;
                        int ni, nj, nt, ne;
                        if (!neighbour(i, j, t, 0, ni, nj, nt, ne)) follow(i, j, t, 0);
                    }
                }
            }
        }
    }
};

}  // namespace

bool trace_grid(const float* x, int n, const float* y, int m, const float* z, float v, LineSink& sink) {
    if (n < 2 || m < 2 || !std::isfinite(v)) return true;
    Scratch& s = scratch();
    try {
        std::size_t cells = (std::size_t)(n - 1) * (std::size_t)(m - 1);
        if (s.visited.size() < cells) s.visited.resize(cells);
        std::memset(s.visited.data(), 0, cells);
    } catch (const std::exception&) {
        warn_routine(53);
        return false;
    }
    Grid g{x, y, z, n, m, (double)v, s.visited.data(), &sink, &s.lx, &s.ly};
    g.run();
    return true;
}

// ---- triangles ----------------------------------------------------------------

namespace {

struct TriMesh {
    const float *x, *y, *z;
    const int *i1, *i2, *i3;
    int ntri;
    double v;
    std::vector<int> adj;  // 3 per triangle: the triangle across edge e, or -1
    std::uint8_t* visited;
    LineSink* sink;
    std::vector<float>* lx;
    std::vector<float>* ly;

    int vert(int t, int k) const { return (k == 0 ? i1[t] : k == 1 ? i2[t] : i3[t]) - 1; }
    unsigned bits(int t) const {
        unsigned b = 0;
        for (int k = 0; k < 3; ++k)
            if (z[vert(t, k)] > v) b |= 1u << k;
        return b;
    }
    static bool edge_crossed(unsigned b, int e) { return ((b >> e) ^ (b >> ((e + 1) % 3))) & 1u; }
    void emit_edge(int t, int e) {
        int a = vert(t, e), b = vert(t, (e + 1) % 3);
        if (!(z[a] > v)) std::swap(a, b);
        float px, py;
        crossing(x[a], y[a], z[a], x[b], y[b], z[b], v, px, py);
        lx->push_back(px);
        ly->push_back(py);
    }
    // The edge of triangle nt that is edge e of t.
    int entry_edge(int t, int e, int nt) const {
        int a = vert(t, e), b = vert(t, (e + 1) % 3);
        for (int k = 0; k < 3; ++k) {
            int c = vert(nt, k), d = vert(nt, (k + 1) % 3);
            if ((c == a && d == b) || (c == b && d == a)) return k;
        }
        return -1;
    }
    void follow(int t, int e) {
        lx->clear();
        ly->clear();
        const int start = t;
        unsigned b = bits(t);
        emit_edge(t, e);
        bool closed = false;
        for (;;) {
            visited[t] = 1;
            int out = -1;
            for (int k = 0; k < 3; ++k)
                if (k != e && edge_crossed(b, k)) out = k;
            if (out < 0) break;
            emit_edge(t, out);
            int nt = adj[(std::size_t)t * 3 + out];
            if (nt < 0) break;
            if (nt == start) {
                closed = true;
                break;
            }
            if (visited[nt]) break;
            int ne = entry_edge(t, out, nt);
            if (ne < 0) break;
            t = nt, e = ne;
            b = bits(t);
        }
        sink->line(lx->data(), ly->data(), (int)lx->size(), closed);
    }
    void run() {
        for (int pass = 0; pass < 2; ++pass) {
            for (int t = 0; t < ntri; ++t) {
                if (visited[t]) continue;
                unsigned b = bits(t);
                if (b == 0 || b == 7) continue;
                if (pass == 1) {
                    follow(t, edge_crossed(b, 0) ? 0 : 1);
                    continue;
                }
                for (int e = 0; e < 3; ++e)
                    if (edge_crossed(b, e) && adj[(std::size_t)t * 3 + e] < 0) {
                        follow(t, e);
                        break;
                    }
            }
        }
    }
};

struct EdgeKey {
    long long key;
    int slot;  // triangle * 3 + edge
    bool operator<(const EdgeKey& o) const { return key < o.key; }
};

}  // namespace

bool trace_triangles(const float* x, const float* y, const float* z, int n, const int* i1, const int* i2,
                     const int* i3, int ntri, float v, LineSink& sink) {
    if (n < 3 || ntri < 1 || !std::isfinite(v)) return true;
    Scratch& s = scratch();
    std::vector<int> adj;
    std::vector<EdgeKey> keys;
    try {
        adj.assign((std::size_t)ntri * 3, -1);
        keys.reserve((std::size_t)ntri * 3);
        if (s.visited.size() < (std::size_t)ntri) s.visited.resize((std::size_t)ntri);
        std::memset(s.visited.data(), 0, (std::size_t)ntri);
    } catch (const std::exception&) {
        warn_routine(53);
        return false;
    }
    // Triangles with a bad vertex number or a value that is not finite are
    // left out (marked visited, no neighbours).
    for (int t = 0; t < ntri; ++t) {
        int v3[3] = {i1[t], i2[t], i3[t]};
        bool ok = true;
        for (int k = 0; k < 3 && ok; ++k)
            ok = v3[k] >= 1 && v3[k] <= n && std::isfinite(z[v3[k] - 1]) && std::isfinite(x[v3[k] - 1]) &&
                 std::isfinite(y[v3[k] - 1]);
        if (!ok) {
            s.visited[(std::size_t)t] = 1;
            continue;
        }
        for (int e = 0; e < 3; ++e) {
            long long a = v3[e], b = v3[(e + 1) % 3];
            if (a > b) std::swap(a, b);
            keys.push_back({a * 2147483648LL + b, t * 3 + e});
        }
    }
    std::sort(keys.begin(), keys.end());
    for (std::size_t k = 0; k + 1 < keys.size(); ++k) {
        if (keys[k].key != keys[k + 1].key) continue;
        adj[(std::size_t)keys[k].slot] = keys[k + 1].slot / 3;
        adj[(std::size_t)keys[k + 1].slot] = keys[k].slot / 3;
        // An edge shared by more than two triangles joins only the first two.
        while (k + 1 < keys.size() && keys[k].key == keys[k + 1].key) ++k;
    }
    TriMesh mesh{x, y, z, i1, i2, i3, ntri, (double)v, std::move(adj), s.visited.data(), &sink, &s.lx, &s.ly};
    mesh.run();
    return true;
}

// ---- points ------------------------------------------------------------------------

void PointStore::line(const float* x, const float* y, int n, bool) {
    if (n < 1) return;
    if (lines >= maxray) {
        if (!line_warned) {
            set_warning_text("Overflow - Too many contour lines");
            warn_routine(101);
            line_warned = true;
        }
        return;
    }
    int stored = 0;
    for (int k = 0; k < n; ++k) {
        if (points >= maxpts) {
            if (!point_warned) {
                set_warning_text("Overflow - Too many contour points");
                warn_routine(101);
                point_warned = true;
            }
            break;
        }
        xp[points] = x[k];
        yp[points] = y[k];
        ++points;
        ++stored;
    }
    if (stored == 0) return;
    counts[lines++] = stored;
}

}  // namespace korval::contour
