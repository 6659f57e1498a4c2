// B-spline interpolation of curves ("SPLI", "PSPL") and the routine spline.
//
// The interpolating spline of order k has its inner knots at (means of) the
// data sites and k-fold knots at both ends; its coefficients solve the
// banded collocation system.  Everything is computed in double precision in
// fixed work arrays (at most 1000 band elements), so nothing is allocated.
#include <cmath>

#include "axes/axes.hpp"
#include "korval/korval.hpp"
#include "plots/plots.hpp"

namespace korval {

namespace {

constexpr int kWork = 1000;  // n * (2k - 1) at most
constexpr int kMaxOrder = 11;

struct Spline {
    int n = 0, k = 0;
    double s[kWork];              // sites
    double vx[kWork], vy[kWork];  // data values (x only for parametric)
    double t[kWork + kMaxOrder];  // knots t[0] .. t[n + k - 1]
    double band[kWork];           // row i holds columns i-k+1 .. i+k-1
    double cx[kWork], cy[kWork];  // coefficients
    int last = 0;                 // knot interval found last
};

Spline& work() {
    static Spline s;
    return s;
}

// The k B-splines of order k that do not vanish at x in the knot interval
// [t[l], t[l+1]) (Cox-de Boor); b[j] belongs to B(l-k+1+j).
void bspline_values(const double* t, int k, int l, double x, double* b) {
    double left[kMaxOrder], right[kMaxOrder];
    b[0] = 1.0;
    for (int j = 1; j < k; ++j) {
        right[j] = t[l + j] - x;
        left[j] = x - t[l + 1 - j];
        double saved = 0.0;
        for (int r = 0; r < j; ++r) {
            double den = right[r + 1] + left[j - r];
            double term = den != 0.0 ? b[r] / den : 0.0;
            b[r] = saved + right[r + 1] * term;
            saved = left[j - r] * term;
        }
        b[j] = saved;
    }
}

// The knot interval l (k-1 <= l <= n-1) with t[l] <= x < t[l+1], by
// bisection that starts from the interval found last.
int find_interval(Spline& w, double x) {
    const int lo = w.k - 1, hi = w.n - 1;
    int l = w.last;
    if (l >= lo && l <= hi && w.t[l] <= x && (x < w.t[l + 1] || l == hi)) return l;
    if (l >= lo && l < hi && w.t[l + 1] <= x && x < w.t[l + 2]) return w.last = l + 1;
    if (!(x >= w.t[lo + 1])) return w.last = lo;
    if (x >= w.t[hi]) return w.last = hi;
    int a = lo + 1, b = hi;  // t[a] <= x < t[b]
    while (b - a > 1) {
        int m = (a + b) / 2;
        if (x >= w.t[m])
            a = m;
        else
            b = m;
    }
    return w.last = a;
}

double evaluate(Spline& w, const double* c, double x) {
    int l = find_interval(w, x);
    double b[kMaxOrder];
    bspline_values(w.t, w.k, l, x, b);
    double v = 0;
    for (int j = 0; j < w.k; ++j) v += c[l - w.k + 1 + j] * b[j];
    return v;
}

// Knots from the sites, the collocation matrix and its solution for one or
// two right-hand sides.  False after a zero pivot.
bool solve(Spline& w, bool two) {
    const int n = w.n, k = w.k, width = 2 * k - 1;
    double* t = w.t;
    for (int i = 0; i < k; ++i) t[i] = w.s[0];
    for (int i = k + 1; i <= n; ++i) {  // 1-based knot numbers
        if (k % 2 == 0)
            t[i - 1] = w.s[i - k / 2 - 1];
        else
            t[i - 1] = 0.5 * (w.s[i - (k - 1) / 2 - 2] + w.s[i - (k - 1) / 2 - 1]);
    }
    for (int i = n; i < n + k; ++i) t[i] = w.s[n - 1] + 1e-7;

    for (int i = 0; i < n * width; ++i) w.band[i] = 0;
    w.last = k - 1;
    for (int i = 0; i < n; ++i) {
        int l = find_interval(w, w.s[i]);
        double b[kMaxOrder];
        bspline_values(t, k, l, w.s[i], b);
        for (int j = 0; j < k; ++j) {
            int col = l - k + 1 + j;
            int off = col - i + k - 1;
            if (off >= 0 && off < width) w.band[i * width + off] = b[j];
        }
        w.cx[i] = w.vx[i];
        w.cy[i] = w.vy[i];
    }
    auto at = [&](int r, int c) -> double& { return w.band[r * width + (c - r + k - 1)]; };
    // Elimination without pivoting; the band keeps its width.
    for (int p = 0; p < n; ++p) {
        double big = 0;
        for (int c = p; c < n && c <= p + k - 1; ++c) big = std::fmax(big, std::fabs(at(p, c)));
        double piv = at(p, p);
        if (!(std::fabs(piv) > 1e-12 * big) || !std::isfinite(piv)) return false;
        for (int r = p + 1; r < n && r <= p + k - 1; ++r) {
            double f = at(r, p) / piv;
            if (f == 0) continue;
            for (int c = p; c < n && c <= p + k - 1; ++c) at(r, c) -= f * at(p, c);
            w.cy[r] -= f * w.cy[p];
            if (two) w.cx[r] -= f * w.cx[p];
        }
    }
    for (int p = n - 1; p >= 0; --p) {
        double sy = w.cy[p], sx = w.cx[p];
        for (int c = p + 1; c < n && c <= p + k - 1; ++c) {
            sy -= at(p, c) * w.cy[c];
            if (two) sx -= at(p, c) * w.cx[c];
        }
        w.cy[p] = sy / at(p, p);
        if (two) w.cx[p] = sx / at(p, p);
    }
    return true;
}

}  // namespace

int spline_points(const float* x, const float* y, int n, bool parametric, float* xs, float* ys) {
    const PlotsState& p = state().plots;
    const AxesState& a = state().axes;
    Spline& w = work();
    const int k = p.spline_order + 1, m = p.spline_points;
    // Points that are not numbers are left out.
    int count = 0;
    for (int i = 0; i < n; ++i)
        if (std::isfinite(x[i]) && std::isfinite(y[i])) ++count;
    if ((long)count * (2 * k - 1) > kWork || count < k) {
        warn_routine_value(31, count);
        return 0;
    }
    int j = 0;
    for (int i = 0; i < n; ++i)
        if (std::isfinite(x[i]) && std::isfinite(y[i])) {
            w.vx[j] = x[i];
            w.vy[j] = y[i];
            ++j;
        }
    w.n = count;
    w.k = k;
    if (parametric) {
        w.s[0] = 0;
        for (int i = 1; i < count; ++i) {
            double dx = w.vx[i] - w.vx[i - 1], dy = w.vy[i] - w.vy[i - 1];
            w.s[i] = w.s[i - 1] + std::sqrt(dx * dx + dy * dy);
        }
    } else {
        for (int i = 0; i < count; ++i) {
            if (i > 0 && !(w.vx[i] > w.vx[i - 1])) {
                warn_routine(32);
                return 0;
            }
            w.s[i] = w.vx[i];
        }
    }
    if (!solve(w, parametric)) {
        warn_routine(38);
        return 0;
    }
    xs[0] = (float)w.vx[0];
    ys[0] = (float)w.vy[0];
    const bool logx = a.scale_type[0] != 0 && !parametric && w.s[0] > 0;
    const bool logy = a.scale_type[1] != 0;
    const double s0 = w.s[0], s1 = w.s[count - 1];
    const double u0 = logx ? std::log10(s0) : s0, u1 = logx ? std::log10(s1) : s1;
    const double step = (u1 - u0) / m;
    w.last = k - 1;
    for (int i = 1; i < m; ++i) {
        double u = u0 + i * step;
        double at = logx ? std::pow(10.0, u) : u;
        double vy = evaluate(w, w.cy, at);
        double vx = parametric ? evaluate(w, w.cx, at) : at;
        if (logy && vy <= 0) vy = 1e-6;
        xs[i] = (float)vx;
        ys[i] = (float)vy;
    }
    xs[m] = (float)w.vx[count - 1];
    ys[m] = (float)w.vy[count - 1];
    return m + 1;
}

void splmod(int k, int n) {
    check_level(0, 3, "splmod");
    if (k < 2 || k > 10) return (void)warn_routine_value(2, k);
    if (n < 5 || n > 30000) return (void)warn_routine_value(2, n);
    state().plots.spline_order = k;
    state().plots.spline_points = n;
}

int spline(const float* x, const float* y, int n, float* xs, float* ys) {
    if (check_level(1, 3, "spline")) return 0;
    return spline_points(x, y, n, state().plots.interpolation == 4, xs, ys);
}

}  // namespace korval
