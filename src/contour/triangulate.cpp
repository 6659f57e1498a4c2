// The Delaunay triangulation of scattered points (triang) and the circle
// through three points (circ3p).
//
// Points are inserted one after another (Bowyer-Watson): the triangle that
// holds the new point is found by walking across the triangulation, the
// triangles whose circumcircle holds the point are removed, and the hole is
// filled with triangles fanning out from the point.  The orientation test
// is exact for float input (the differences and products of floats fit a
// double); the in-circle test runs in long double.  The hole is kept
// star-shaped around the point whatever the in-circle test says, so a
// rounding error can only choose another of several equally good
// triangulations, never break the mesh.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <numeric>
#include <vector>

#include "contour/contour.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

struct Tri {
    int v[3];   // counter-clockwise
    int nb[3];  // triangle across edge (v[k], v[k+1]), -1 at the outside
    bool alive;
};

double orient(double ax, double ay, double bx, double by, double cx, double cy) {
    return (ax - cx) * (by - cy) - (ay - cy) * (bx - cx);
}

struct Delaunay {
    const double *x, *y;
    std::vector<Tri> tris;
    std::vector<int> free_slots;
    std::vector<std::uint32_t> stamp;  // per triangle: in the hole when == current
    std::uint32_t current = 0;
    std::vector<int> hole, stack;
    struct Border {
        int a, b, outside, outside_edge;
    };
    std::vector<Border> border;
    std::vector<int> fan_at;  // per vertex: new triangle starting there
    int last = 0;

    double orient_t(int a, int b, int p) const { return orient(x[a], y[a], x[b], y[b], x[p], y[p]); }

    // True when p lies strictly inside the circumcircle of triangle t.
    bool in_circle(int t, int p) const {
        const Tri& T = tris[(std::size_t)t];
        long double px = x[p], py = y[p];
        long double ax = x[T.v[0]] - px, ay = y[T.v[0]] - py;
        long double bx = x[T.v[1]] - px, by = y[T.v[1]] - py;
        long double cx = x[T.v[2]] - px, cy = y[T.v[2]] - py;
        long double a2 = ax * ax + ay * ay, b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
        long double det = ax * (by * c2 - b2 * cy) - ay * (bx * c2 - b2 * cx) + a2 * (bx * cy - by * cx);
        return det > 0;
    }

    int new_tri(int a, int b, int c) {
        Tri t{{a, b, c}, {-1, -1, -1}, true};
        if (!free_slots.empty()) {
            int k = free_slots.back();
            free_slots.pop_back();
            tris[(std::size_t)k] = t;
            return k;
        }
        tris.push_back(t);
        stamp.push_back(0);
        return (int)tris.size() - 1;
    }

    // The triangle holding p (inside or on its border), by walking from the
    // last triangle made; a full search when the walk goes astray.
    int locate(int p) {
        int t = last;
        if (t < 0 || t >= (int)tris.size() || !tris[(std::size_t)t].alive) t = -1;
        std::size_t limit = tris.size() + 16;
        for (std::size_t steps = 0; t >= 0 && steps < limit; ++steps) {
            const Tri& T = tris[(std::size_t)t];
            int next = -1;
            for (int k = 0; k < 3; ++k) {
                int e = (k + (int)(steps % 3)) % 3;
                if (orient_t(T.v[e], T.v[(e + 1) % 3], p) < 0) {
                    next = T.nb[e];
                    break;
                }
            }
            if (next < 0) {
                // Inside (or outside the outer triangle, which cannot happen).
                bool inside = true;
                for (int e = 0; e < 3; ++e)
                    if (orient_t(T.v[e], T.v[(e + 1) % 3], p) < 0) inside = false;
                if (inside) return t;
                break;
            }
            t = next;
        }
        for (std::size_t k = 0; k < tris.size(); ++k) {
            const Tri& T = tris[k];
            if (!T.alive) continue;
            bool inside = true;
            for (int e = 0; e < 3 && inside; ++e) inside = orient_t(T.v[e], T.v[(e + 1) % 3], p) >= 0;
            if (inside) return (int)k;
        }
        return -1;
    }

    bool in_hole(int t) const { return t >= 0 && stamp[(std::size_t)t] == current; }

    // Inserts point p; false when it coincides with a vertex.
    bool insert(int p) {
        int t0 = locate(p);
        if (t0 < 0) return false;
        const Tri& T0 = tris[(std::size_t)t0];
        for (int k = 0; k < 3; ++k)
            if (x[T0.v[k]] == x[p] && y[T0.v[k]] == y[p]) return false;
        ++current;
        hole.clear();
        stack.clear();
        stamp[(std::size_t)t0] = current;
        hole.push_back(t0);
        stack.push_back(t0);
        // A point on an edge of its triangle takes the triangle beyond it too.
        for (int e = 0; e < 3; ++e) {
            int nb = T0.nb[e];
            if (nb >= 0 && orient_t(T0.v[e], T0.v[(e + 1) % 3], p) <= 0 && !in_hole(nb)) {
                stamp[(std::size_t)nb] = current;
                hole.push_back(nb);
                stack.push_back(nb);
            }
        }
        while (!stack.empty()) {
            int t = stack.back();
            stack.pop_back();
            for (int e = 0; e < 3; ++e) {
                int nb = tris[(std::size_t)t].nb[e];
                if (nb < 0 || in_hole(nb)) continue;
                if (in_circle(nb, p)) {
                    stamp[(std::size_t)nb] = current;
                    hole.push_back(nb);
                    stack.push_back(nb);
                }
            }
        }
        // Keep the hole star-shaped around p: a triangle whose border edge
        // does not face p (rounding in the in-circle test) leaves the hole
        // again; the triangle holding p always stays.
        for (bool changed = true; changed;) {
            changed = false;
            for (int t : hole) {
                if (!in_hole(t) || t == t0) continue;
                const Tri& T = tris[(std::size_t)t];
                for (int e = 0; e < 3; ++e) {
                    if (in_hole(T.nb[e])) continue;
                    if (orient_t(T.v[e], T.v[(e + 1) % 3], p) <= 0) {
                        stamp[(std::size_t)t] = current - 1;
                        changed = true;
                        break;
                    }
                }
            }
        }
        // The hole must stay connected to t0.
        stack.clear();
        std::vector<int>& keep = stack;
        {
            std::uint32_t reach = ++current;
            std::vector<int> todo{t0};
            std::uint32_t was = reach - 1;
            stamp[(std::size_t)t0] = reach;
            keep.push_back(t0);
            while (!todo.empty()) {
                int t = todo.back();
                todo.pop_back();
                for (int e = 0; e < 3; ++e) {
                    int nb = tris[(std::size_t)t].nb[e];
                    if (nb >= 0 && stamp[(std::size_t)nb] == was) {
                        stamp[(std::size_t)nb] = reach;
                        keep.push_back(nb);
                        todo.push_back(nb);
                    }
                }
            }
        }
        hole.swap(keep);
        // Border edges of the hole, then the fan.
        border.clear();
        for (int t : hole) {
            const Tri& T = tris[(std::size_t)t];
            for (int e = 0; e < 3; ++e) {
                int nb = T.nb[e];
                if (in_hole(nb)) continue;
                int oe = -1;
                if (nb >= 0)
                    for (int k = 0; k < 3; ++k)
                        if (tris[(std::size_t)nb].nb[k] == t) oe = k;
                border.push_back({T.v[e], T.v[(e + 1) % 3], nb, oe});
            }
        }
        for (int t : hole) {
            tris[(std::size_t)t].alive = false;
            free_slots.push_back(t);
        }
        // New triangles (a, b, p); stamps of reused slots must not read as
        // "in the hole" any more.
        std::vector<int>& made = hole;
        made.clear();
        for (const Border& b : border) {
            int t = new_tri(b.a, b.b, p);
            stamp[(std::size_t)t] = 0;
            tris[(std::size_t)t].nb[0] = b.outside;
            if (b.outside >= 0 && b.outside_edge >= 0) tris[(std::size_t)b.outside].nb[b.outside_edge] = t;
            fan_at[(std::size_t)b.a] = t;
            made.push_back(t);
        }
        for (int t : made) {
            Tri& T = tris[(std::size_t)t];
            int nb = fan_at[(std::size_t)T.v[1]];  // the triangle (b, c, p)
            T.nb[1] = nb;
            tris[(std::size_t)nb].nb[2] = t;
        }
        last = made.empty() ? 0 : made.back();
        return true;
    }
};

}  // namespace

void circ3p(float x1, float y1, float x2, float y2, float x3, float y3, float& xm, float& ym, float& r) {
    check_level(0, 3, "circ3p");
    // In double: the products of float differences lose nothing.
    double d = ((double)x2 - x1) * ((double)y3 - y1) - ((double)x3 - x1) * ((double)y2 - y1);
    if (std::fabs(d) < 1e-35 || !std::isfinite(d)) {
        set_warning_text("Points are collinear");
        warn_routine(101);
        return;
    }
    double a = ((double)x3 - x1) * ((double)x3 - x1) + ((double)y3 - y1) * ((double)y3 - y1);
    double b = ((double)x2 - x1) * ((double)x2 - x1) + ((double)y2 - y1) * ((double)y2 - y1);
    double u = (b * ((double)y3 - y1) - a * ((double)y2 - y1)) / (2 * d);
    double v = (a * ((double)x2 - x1) - b * ((double)x3 - x1)) / (2 * d);
    r = (float)std::sqrt(u * u + v * v);
    xm = (float)(x1 + u);
    ym = (float)(y1 + v);
}

int triang(float* x, float* y, int n, int* i1, int* i2, int* i3, int nmax) {
    check_level(0, 3, "triang");
    if (n < 0 || nmax < 2 * (long)n + 1) {
        warn_routine(2);
        return 0;
    }
    if (n < 3) return 0;
    // Bounding box of the finite points; the others are left out.
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    bool any = false;
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(x[i]) || !std::isfinite(y[i])) continue;
        if (!any) xmin = xmax = x[i], ymin = ymax = y[i], any = true;
        xmin = std::min(xmin, (double)x[i]), xmax = std::max(xmax, (double)x[i]);
        ymin = std::min(ymin, (double)y[i]), ymax = std::max(ymax, (double)y[i]);
    }
    if (!any) return 0;
    Delaunay dl;
    std::vector<double> px, py;
    std::vector<int> order;
    try {
        px.resize((std::size_t)n + 3);
        py.resize((std::size_t)n + 3);
        order.reserve((std::size_t)n);
        dl.tris.reserve((std::size_t)2 * n + 8);
        dl.stamp.reserve((std::size_t)2 * n + 8);
        dl.fan_at.assign((std::size_t)n + 3, -1);
    } catch (const std::exception&) {
        warn_routine(53);
        return 0;
    }
    for (int i = 0; i < n; ++i) {
        px[(std::size_t)i] = x[i];
        py[(std::size_t)i] = y[i];
        if (std::isfinite(x[i]) && std::isfinite(y[i])) order.push_back(i);
    }
    // The outer triangle, far enough away that it does not bend the hull;
    // its corners are written behind the data.
    double d = std::max(std::max(xmax - xmin, ymax - ymin),
                        1e-30 + 1e-6 * std::max(std::fabs(xmax), std::fabs(ymax)));
    double xm = 0.5 * (xmin + xmax), ym = 0.5 * (ymin + ymax);
    double big = 1.0e4 * d;
    const double sx[3] = {xm - 0.866 * big, xm + 0.866 * big, xm};
    const double sy[3] = {ym - 0.5 * big, ym - 0.5 * big, ym + big};
    for (int k = 0; k < 3; ++k) {
        x[n + k] = (float)sx[k];
        y[n + k] = (float)sy[k];
        px[(std::size_t)n + k] = x[n + k];
        py[(std::size_t)n + k] = y[n + k];
    }
    dl.x = px.data();
    dl.y = py.data();
    dl.new_tri(n, n + 1, n + 2);
    // Points in order of increasing x keep the walks short.
    std::sort(order.begin(), order.end(), [&](int a, int b) {
        return px[(std::size_t)a] < px[(std::size_t)b] ||
               (px[(std::size_t)a] == px[(std::size_t)b] && py[(std::size_t)a] < py[(std::size_t)b]);
    });
    try {
        for (int p : order) dl.insert(p);
    } catch (const std::exception&) {
        warn_routine(53);
        return 0;
    }
    int count = 0;
    for (const Tri& t : dl.tris) {
        if (!t.alive || t.v[0] >= n || t.v[1] >= n || t.v[2] >= n) continue;
        if (count >= nmax) break;
        i1[count] = t.v[0] + 1;
        i2[count] = t.v[1] + 1;
        i3[count] = t.v[2] + 1;
        ++count;
    }
    if (count == 0 && order.size() >= 3) {
        set_warning_text("Cannot calculate circle - points are collinear");
        warn_routine(101);
    }
    return count;
}

}  // namespace korval
