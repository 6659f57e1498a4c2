// The vector field plot and the data utilities: sorting, frequencies,
// moments, Bezier curves, coordinate conversions, matrix resampling and
// gridding, bits, bytes and strings.  Most of them work at any level.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "axes/axes.hpp"
#include "axes/format.hpp"
#include "core/core.hpp"
#include "draw/draw.hpp"
#include "draw/figures.hpp"
#include "graph3d/graph3d.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

// The two conversion constants of the angle routines (not pi / 180 and
// 180 / pi computed at run time, so that results match to the last bit).
constexpr double kToRadians = 0.017453292522222223;
constexpr double kToDegrees = 57.29577950560105;

UtilityState& util() { return state().utilities; }

void utility_defaults() {
    UtilityState& u = util();
    u.grid_ix = 2;
    u.grid_iy = 2;
    u.grid_power = 2.0f;
}

struct Registration {
    Registration() {
        register_defaults(70, utility_defaults);
        register_reset("MDFM", utility_defaults);
    }
} registration;

int warn_text_101(const char* text) {
    set_warning_text(text);
    return warn_routine(101);
}

// Shell sort with gaps n/2, n/4, ..., 1: within a gap an element moves down
// while its predecessor is greater (ascending) or smaller (descending).
// y, when given, moves with x.
void shell_sort(float* x, float* y, int n, bool descending) {
    for (int gap = n / 2; gap > 0; gap /= 2) {
        for (int i = gap; i < n; ++i) {
            float v = x[i];
            float w = y ? y[i] : 0.0f;
            int j = i;
            while (j >= gap && (descending ? x[j - gap] < v : x[j - gap] > v)) {
                x[j] = x[j - gap];
                if (y) y[j] = y[j - gap];
                j -= gap;
            }
            x[j] = v;
            if (y) y[j] = w;
        }
    }
}

// 1 ascending, 2 descending, 0 after warning 2.
int sort_order(const char* copt) {
    char c = copt ? copt[0] : '\0';
    if (c == 'A' || c == 'a') return 1;
    if (c == 'D' || c == 'd') return 2;
    warn_routine_text(2, copt ? copt : "");
    return 0;
}

double degrees(double y, double x) { return std::atan2(y, x) * kToDegrees; }

}  // namespace

// ---- the vector field ------------------------------------------------------------

void field(const float* x1, const float* y1, const float* x2, const float* y2, int n, int ivec) {
    if (check_level(2, 3, "field")) return;
    if (n < 1) {
        warn_routine_value(2, n);
        return;
    }
    const AxesState& a = state().axes;
    auto valid = [&](float x, float y) {
        if (!std::isfinite(x) || !std::isfinite(y)) return false;
        if (a.kind == 0 && !a.neglog_on && ((a.scale_type[0] && x <= 0) || (a.scale_type[1] && y <= 0)))
            return false;
        return true;
    };
    clip_to_axis(0);
    for (int i = 0; i < n; ++i) {
        if (!valid(x1[i], y1[i]) || !valid(x2[i], y2[i])) continue;
        float px1, py1, px2, py2;
        user_to_plot(x1[i], y1[i], px1, py1);
        user_to_plot(x2[i], y2[i], px2, py2);
        draw_arrow(std::floor(px1 + 0.5f), std::floor(py1 + 0.5f), std::floor(px2 + 0.5f),
                   std::floor(py2 + 0.5f), ivec);
    }
    clip_to_axis(1);
}

// ---- sorting and statistics ---------------------------------------------------------

void sortr1(float* x, int n, const char* copt) {
    check_level(0, 3, "sortr1");
    int order = sort_order(copt);
    if (order && n > 1) shell_sort(x, nullptr, n, order == 2);
}

void sortr2(float* x, float* y, int n, const char* copt) {
    check_level(0, 3, "sortr2");
    int order = sort_order(copt);
    if (order && n > 1) shell_sort(x, y, n, order == 2);
}

int histog(const float* x, int n, float* xh, float* yh) {
    check_level(0, 3, "histog");
    if (n < 1) {
        warn_routine_value(2, n);
        return 0;
    }
    for (int i = 0; i < n; ++i) xh[i] = x[i];
    shell_sort(xh, nullptr, n, false);
    int nh = 0;
    for (int i = 0; i < n; ++i) {
        if (nh > 0 && xh[i] == xh[nh - 1]) {
            yh[nh - 1] += 1.0f;
        } else {
            xh[nh] = xh[i];
            yh[nh] = 1.0f;
            ++nh;
        }
    }
    return nh;
}

float moment(const float* x, int n, const char* copt) {
    check_level(0, 3, "moment");
    int k = match_keyword("MEAN+AVER+VARI+STAN+THIR+FOUR", 6, copt);
    if (k == 0) return 0.0f;
    if (n <= 1) return warn_text_101("n must be greater than 1"), 0.0f;
    double sum = 0;
    for (int i = 0; i < n; ++i) sum += x[i];
    const double m = sum / n;
    if (k == 1) return (float)m;
    double abs_dev = 0, sq = 0;
    for (int i = 0; i < n; ++i) {
        abs_dev += std::fabs(x[i] - m);
        sq += (x[i] - m) * (x[i] - m);
    }
    if (k == 2) return (float)(abs_dev / n);
    const double var = sq / (n - 1);
    if (k == 3) return (float)var;
    const double s = std::sqrt(var);
    if (k == 4) return (float)s;
    if (s == 0) return warn_text_101("Variance = 0. Value cannot be calculated"), 0.0f;
    double acc = 0;
    for (int i = 0; i < n; ++i) {
        double t = (x[i] - m) / s;
        acc += k == 5 ? t * t * t : t * t * t * t;
    }
    return (float)(k == 5 ? acc / n : acc / n - 3.0);
}

// ---- Bezier curves ------------------------------------------------------------------

void bezier(const float* xc, const float* yc, int n, float* xo, float* yo, int npt) {
    check_level(0, 3, "bezier");
    if (n < 2 || n > 21) return (void)warn_routine_value(2, n);
    if (npt < 2 || npt > 32000) return (void)warn_routine_value(2, npt);
    xo[0] = xc[0];
    yo[0] = yc[0];
    double px[21], py[21];
    for (int k = 1; k <= npt - 2; ++k) {
        double t = (double)k / (npt - 1);
        for (int i = 0; i < n; ++i) px[i] = xc[i], py[i] = yc[i];
        for (int r = n - 1; r > 0; --r)
            for (int i = 0; i < r; ++i) {
                px[i] += t * (px[i + 1] - px[i]);
                py[i] += t * (py[i + 1] - py[i]);
            }
        xo[k] = (float)px[0];
        yo[k] = (float)py[0];
    }
    xo[npt - 1] = xc[n - 1];
    yo[npt - 1] = yc[n - 1];
}

// ---- coordinate conversions -----------------------------------------------------------

void trfco1(float* x, int n, const char* cfrom, const char* cto) {
    check_level(0, 3, "trfco1");
    int from = match_keyword("DEGR+RADI", 2, cfrom);
    if (!from) return;
    int to = match_keyword("DEGR+RADI", 2, cto);
    if (!to) return;
    if (from == to) return (void)warn_text_101("No conversion necessary");
    const double f = from == 1 ? kToRadians : kToDegrees;
    for (int i = 0; i < n; ++i) x[i] = (float)(x[i] * f);
}

void trfco2(float* x, float* y, int n, const char* cfrom, const char* cto) {
    check_level(0, 3, "trfco2");
    int from = match_keyword("RECT+POLA", 2, cfrom);
    if (!from) return;
    int to = match_keyword("RECT+POLA", 2, cto);
    if (!to) return;
    if (from == to) return (void)warn_text_101("No conversion necessary");
    for (int i = 0; i < n; ++i) {
        double a = x[i], b = y[i];
        if (from == 2) {  // angle in degrees and radius
            double t = a * kToRadians;
            x[i] = (float)(b * std::cos(t));
            y[i] = (float)(b * std::sin(t));
        } else if (a == 0 && b == 0) {
            x[i] = y[i] = 0.0f;
        } else {
            x[i] = (float)degrees(b, a);
            y[i] = (float)std::sqrt(a * a + b * b);
        }
    }
}

// Rectangular, spherical (longitude, latitude from the x-y plane, radius)
// and cylindrical (angle, radius, height) points.  Angles come from atan2,
// so points on the axis get latitude +-90 (0 only at the origin).
void trfco3(float* x, float* y, float* z, int n, const char* cfrom, const char* cto) {
    check_level(0, 3, "trfco3");
    const char* keys = "RECT+SPHE+CYLI";
    int from = match_keyword(keys, 3, cfrom);
    if (!from) return;
    int to = match_keyword(keys, 3, cto);
    if (!to) return;
    if (from == to) return (void)warn_text_101("No conversion necessary");
    for (int i = 0; i < n; ++i) {
        double a = x[i], b = y[i], c = z[i];
        // Everything goes through rectangular coordinates.
        double rx, ry, rz;
        if (from == 1) {
            rx = a, ry = b, rz = c;
        } else if (from == 2) {
            double lon = a * kToRadians, lat = b * kToRadians;
            rx = c * std::cos(lon) * std::cos(lat);
            ry = c * std::sin(lon) * std::cos(lat);
            rz = c * std::sin(lat);
        } else {
            double t = a * kToRadians;
            rx = b * std::cos(t);
            ry = b * std::sin(t);
            rz = c;
        }
        if (to == 1) {
            x[i] = (float)rx, y[i] = (float)ry, z[i] = (float)rz;
            continue;
        }
        double rho = std::sqrt(rx * rx + ry * ry);
        // The angle of a point given by its angle keeps it (even at the axis).
        double angle = from == 1 ? (rho == 0 ? 0.0 : degrees(ry, rx)) : a;
        if (to == 3) {
            x[i] = (float)angle;
            y[i] = (float)(from == 2 ? c * std::cos(b * kToRadians) : rho);
            z[i] = (float)(from == 2 ? c * std::sin(b * kToRadians) : rz);
        } else {
            double r = std::sqrt(rho * rho + rz * rz);
            x[i] = (float)angle;
            y[i] = (float)(rho == 0 && rz == 0 ? 0.0 : degrees(rz, rho));
            z[i] = (float)r;
        }
    }
}

// ---- matrices -----------------------------------------------------------------------

void trfmat(const float* z, int nx, int ny, float* z2, int nx2, int ny2) {
    check_level(0, 3, "trfmat");
    if (nx < 2 || ny < 2 || nx2 < 2 || ny2 < 2) {
        int bad = nx < 2 ? nx : ny < 2 ? ny : nx2 < 2 ? nx2 : ny2;
        return (void)warn_routine_value(2, bad);
    }
    for (int i = 0; i < nx2; ++i) {
        double u = (double)i * (nx - 1) / (nx2 - 1);
        int k = (int)u;
        double t = u - k;
        if (k >= nx - 1) k = nx - 2, t = 1;
        for (int j = 0; j < ny2; ++j) {
            double v = (double)j * (ny - 1) / (ny2 - 1);
            int l = (int)v;
            double s = v - l;
            if (l >= ny - 1) l = ny - 2, s = 1;
            auto Z = [&](int a, int b) { return (double)z[(std::size_t)a * ny + b]; };
            double r = (1 - t) * ((1 - s) * Z(k, l) + s * Z(k, l + 1)) +
                       t * ((1 - s) * Z(k + 1, l) + s * Z(k + 1, l + 1));
            z2[(std::size_t)i * ny2 + j] = (float)r;
        }
    }
}

void mdfmat(int ix, int iy, float p) {
    if (enter_routine("mdfmat")) return;
    if (ix < 1 || iy < 1 || !(p > 0) || !std::isfinite(p)) {
        warn_routine_value(2, ix < 1 ? ix : iy);
        return;
    }
    util().grid_ix = ix;
    util().grid_iy = iy;
    util().grid_power = p;
}

// Inverse-distance gridding.  Distances are measured in grid cells, like
// the window, so that axes of different units weigh alike.
void getmat(const float* x, const float* y, const float* z, int n, float* zmat, int nx, int ny, float zval) {
    if (check_level(2, 3, "getmat")) return;
    if (n < 1 || nx < 2 || ny < 2) {
        warn_routine_value(2, n < 1 ? n : nx < 2 ? nx : ny);
        return;
    }
    const State& st = state();
    double xa, xe, ya, ye;
    const ColourPlotState& cp = st.colour_plots;
    if (cp.surface_size_on) {
        xa = cp.surface_x1, xe = cp.surface_x2, ya = cp.surface_y1, ye = cp.surface_y2;
    } else {
        const AxesState& a = st.axes;
        xa = a.a[0], xe = a.e[0], ya = a.a[1], ye = a.e[1];
        if (a.scale_type[0]) xa = std::pow(10.0, xa), xe = std::pow(10.0, xe);
        if (a.scale_type[1]) ya = std::pow(10.0, ya), ye = std::pow(10.0, ye);
    }
    const double dx = (xe - xa) / (nx - 1), dy = (ye - ya) / (ny - 1);
    const std::size_t cells = (std::size_t)nx * (std::size_t)ny;
    std::vector<double> sum(cells, 0.0), weight(cells, 0.0);
    std::vector<int> count(cells, 0);
    std::vector<char> exact(cells, 0);
    const UtilityState& u = util();
    const double p = u.grid_power;
    for (int k = 0; k < n; ++k) {
        double gu = (x[k] - xa) / dx + 1, gv = (y[k] - ya) / dy + 1;
        if (!std::isfinite(gu) || !std::isfinite(gv) || !std::isfinite(z[k])) continue;
        if (gu < -u.grid_ix || gu > nx + u.grid_ix + 1.0 || gv < -u.grid_iy || gv > ny + u.grid_iy + 1.0)
            continue;
        int i0 = (int)(gu - u.grid_ix) + 1, i1 = (int)(gu + u.grid_ix);
        int j0 = (int)(gv - u.grid_iy) + 1, j1 = (int)(gv + u.grid_iy);
        if (i0 < 1) i0 = 1;
        if (j0 < 1) j0 = 1;
        if (i1 > nx) i1 = nx;
        if (j1 > ny) j1 = ny;
        for (int i = i0; i <= i1; ++i) {
            for (int j = j0; j <= j1; ++j) {
                std::size_t c = (std::size_t)(i - 1) * ny + (j - 1);
                double du = gu - i, dv = gv - j;
                double d = std::sqrt(du * du + dv * dv);
                if (d < 1.0e-4) {
                    if (!exact[c]) {
                        exact[c] = 1;
                        sum[c] = z[k];
                    }
                    continue;
                }
                if (exact[c]) continue;
                double w = 1.0 / std::pow(d, p);
                count[c] += 1;
                sum[c] += z[k] * w;
                weight[c] += w;
            }
        }
    }
    for (std::size_t c = 0; c < cells; ++c) {
        if (exact[c])
            zmat[c] = (float)sum[c];
        else if (count[c] == 0 || !(weight[c] > 0))
            zmat[c] = zval;
        else
            zmat[c] = (float)(sum[c] / weight[c]);
    }
}

// ---- colours ------------------------------------------------------------------------

void colray(const float* z, int* colours, int n) {
    if (enter_routine("colray")) return;
    for (int i = 0; i < n; ++i) colours[i] = z_to_colour(z[i]);
}

// ---- bits and bytes -------------------------------------------------------------------

int bitsi2(int nbits, int mher, int iher, int mhin, int ihin) {
    if (nbits < 0 || nbits > 16 || iher < 0 || iher > 31 || ihin < 0 || ihin > 31) return mhin;
    std::uint32_t mask = nbits == 0 ? 0u : (65535u << (16 - nbits));
    std::uint32_t bits = (((std::uint32_t)mher << iher) & mask & 65535u) >> ihin;
    return (int)((std::uint32_t)mhin | bits);
}

int bitsi4(int nbits, int mher, int iher, int mhin, int ihin) {
    if (nbits < 0 || nbits > 32 || iher < 0 || iher > 31 || ihin < 0 || ihin > 31) return mhin;
    std::uint32_t mask = nbits == 0 ? 0u : (0xFFFFFFFFu << (32 - nbits));
    std::uint32_t bits = (((std::uint32_t)mher << iher) & mask) >> ihin;
    return (int)((std::uint32_t)mhin | bits);
}

void swapi2(int* v, int n) {
    for (int i = 0; i < n; ++i) {
        std::uint32_t u = (std::uint32_t)v[i];
        std::uint16_t s = (std::uint16_t)(((u & 0xFFu) << 8) | ((u >> 8) & 0xFFu));
        v[i] = (std::int16_t)s;
    }
}

void swapi4(int* v, int n) {
    for (int i = 0; i < n; ++i) {
        std::uint32_t u = (std::uint32_t)v[i];
        u = (u >> 24) | ((u >> 8) & 0xFF00u) | ((u << 8) & 0xFF0000u) | (u << 24);
        v[i] = (int)u;
    }
}

// ---- strings --------------------------------------------------------------------------

int trmlen(const char* s) {
    if (!s) return 0;
    int n = (int)std::strlen(s);
    while (n > 0 && s[n - 1] == ' ') --n;
    return n;
}

void upstr(char* s) {
    if (!s) return;
    for (; *s; ++s)
        if (*s >= 'a' && *s <= 'z') *s = (char)(*s - 'a' + 'A');
}

// The integer as text.
const char* intcha(int i) {
    static char buf[16];
    std::snprintf(buf, sizeof buf, "%d", i);
    return buf;
}

int intlen(int i) { return (int)std::strlen(intcha(i)); }

// The number with i decimals (i < 0: rounded to an integer, no point), as
// number draws it, without blanks.
const char* fcha(float x, int i) {
    static char buf[64];
    if (i > 20) i = 20;
    if (i < -1) i = -1;
    char tmp[64];
    format_number(x, i, tmp, sizeof tmp);
    const char* p = tmp;
    while (*p == ' ') ++p;
    std::size_t n = std::strlen(p);
    while (n > 0 && p[n - 1] == ' ') --n;
    std::memcpy(buf, p, n);
    buf[n] = '\0';
    return buf;
}

int flen(float x, int i) { return (int)std::strlen(fcha(x, i)); }

void dattim(OutString<11> date, OutString<9> time) {
    std::string d, t;
    current_date_time(d, t);
    copy_bounded(date.buf, d.c_str(), date.size - 1);
    copy_bounded(time.buf, t.c_str(), time.size - 1);
}

}  // namespace korval
