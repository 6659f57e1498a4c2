// Rectangles (outlined, filled, rounded), filled points, annular sectors and
// wind barbs, in plot coordinates and in user coordinates (the rl routines).
#include <cmath>
#include <vector>

#include "axes/axes.hpp"
#include "core/core.hpp"
#include "draw/draw.hpp"
#include "draw/figures.hpp"
#include "korval/korval.hpp"
#include "plots/plots.hpp"

namespace korval {

namespace {

constexpr double kPi = 3.14159265358979;

// The current colour, restored when the scope ends.
struct KeepColour {
    int saved = state().colour.current;
    ~KeepColour() { select_colour(saved); }
};

// The current shading pattern, restored when the scope ends.
struct KeepPattern {
    int saved = current_pattern();
    ~KeepPattern() { select_pattern(saved); }
};

bool colour_index_valid(int ncol) {
    if (ncol >= 0 && ncol <= 255) return true;
    warn_routine_value(2, ncol);
    return false;
}

int to_device(float v) { return (int)std::floor(v + 0.5f); }

// The rectangle of rectan with the upper left corner at (x, y), plot
// coordinates after page_y.
void rectangle_outline(float x, float y, int nw, int nh) {
    float x1 = x + (float)nw - 1, y1 = y + (float)nh - 1;
    float px[4] = {x, x1, x1, x}, py[4] = {y, y, y1, y1};
    area_polygon(px, py, 4);
}

// The rl routines: level 2 or 3, the log check, clipped to the axis system.
struct RlScope {
    bool ok;
    RlScope(const char* name, float x, float y) {
        ok = check_level(2, 3, name) == 0 && rl_valid(&x, &y, 1);
        if (ok) clip_to_axis(0);
    }
    ~RlScope() {
        if (ok) clip_to_axis(1);
    }
};

// The corners (x, y) and (x + w, y - h) in plot coordinates: the upper
// left corner and the rounded width and height.
void rl_rectangle(float x, float y, float w, float h, int& nx, int& ny, int& nw, int& nh) {
    float x1, y1, x2, y2;
    user_to_plot(x, y, x1, y1);
    user_to_plot(x + w, y - h, x2, y2);
    nx = to_device(x1 < x2 ? x1 : x2);
    ny = to_device(y1 < y2 ? y1 : y2);
    nw = to_device(std::fabs(x2 - x1));
    nh = to_device(std::fabs(y2 - y1));
}

// rndrec after the level test: warnings name the routine that is running.
void rounded_rectangle(int nx, int ny, int nw, int nh, int iopt) {
    if (nw < 1 || nw > 32000 || nh < 1 || nh > 32000 || iopt < 0 || iopt > 9) {
        warn_routine_value(2, iopt < 0 || iopt > 9 ? iopt : (nw < 1 || nw > 32000 ? nw : nh));
        return;
    }
    float x = (float)nx, y = (float)page_y(ny);
    float r = (float)(nw < nh ? nw : nh) * (float)iopt / 18.0f;
    double chords = kPi * r * 0.5 / (double)state().figure.arc_spacing;
    int m = chords > 400.0 ? 400 : (int)chords;
    if (iopt == 0 || m < 4) {
        rectangle_outline(x, y, nw, nh);
        return;
    }
    const float cx[4] = {x + r, x + nw - 1 - r, x + nw - 1 - r, x + r};
    const float cy[4] = {y + r, y + r, y + nh - 1 - r, y + nh - 1 - r};
    std::vector<float> px, py;
    px.reserve((std::size_t)(4 * (m + 1) + 1));
    py.reserve(px.capacity());
    const double step = kPi / (2.0 * m);
    for (int corner = 0; corner < 4; ++corner) {
        double start = kPi - corner * kPi / 2.0;  // left, up, right, down
        for (int i = 0; i <= m; ++i) {
            double t = start - i * step;
            px.push_back(cx[corner] + (float)(r * std::cos(t)));
            py.push_back(cy[corner] - (float)(r * std::sin(t)));
        }
    }
    px.push_back(px[0]);
    py.push_back(py[0]);
    area_polygon(px.data(), py.data(), (int)px.size());
}

// The outline of an annular sector in plot coordinates: the outer arc in
// steps of one degree, then the inner arc back or the centre.
void sector_outline(float x, float y, float r1, float r2, double a, double b, std::vector<float>& px,
                    std::vector<float>& py) {
    const double d = kPi / 180.0;
    auto arc = [&](float r, double from, double to) {
        double dir = to > from ? 1.0 : -1.0;
        int n = (int)std::floor(std::fabs(to - from));
        for (int i = 0; i <= n; ++i) {
            double t = (from + dir * i) * d;
            px.push_back(x + (float)(r * std::cos(t)));
            py.push_back(y - (float)(r * std::sin(t)));
        }
        if ((double)n < std::fabs(to - from)) {
            px.push_back(x + (float)(r * std::cos(to * d)));
            py.push_back(y - (float)(r * std::sin(to * d)));
        }
    };
    arc(r2, a, b);
    if (r1 > 0) {
        arc(r1, b, a);
    } else {
        px.push_back(x);
        py.push_back(y);
    }
}

}  // namespace

// ---- rectangles and points -----------------------------------------------------

void rectan(int nx, int ny, int nw, int nh) {
    if (enter_routine("rectan")) return;
    if (nw == 0 || nh == 0) {
        warn_routine_value(2, nw == 0 ? nw : nh);
        return;
    }
    rectangle_outline((float)nx, (float)page_y(ny), nw, nh);
}

void recfll(int nx, int ny, int nw, int nh, int ncol) {
    if (enter_routine("recfll") || !colour_index_valid(ncol)) return;
    KeepColour keep;
    int y = page_y(ny);
    device_fill_rect(nx, y, nx + nw - 1, y + nh - 1, ncol);
}

void point(int nx, int ny, int nb, int nh, int ncol) {
    if (enter_routine("point") || !colour_index_valid(ncol)) return;
    KeepColour keep;
    float x = (float)nx, y = (float)page_y(ny);
    float hb = (float)nb / 2, hh = (float)nh / 2;
    device_fill_rect(to_device(x - hb), to_device(y - hh), to_device(x + hb), to_device(y + hh), ncol);
}

void rndrec(int nx, int ny, int nw, int nh, int iopt) {
    if (enter_routine("rndrec")) return;
    rounded_rectangle(nx, ny, nw, nh, iopt);
}

// ---- sectors -------------------------------------------------------------------

void sector(int nx, int ny, int nr1, int nr2, float alpha, float beta, int ncol) {
    if (enter_routine("sector")) return;
    if (nr2 <= 0) return (void)warn_routine_value(51, nr2);
    if (nr1 < 0) return (void)warn_routine_value(1, nr1);
    if (nr1 > nr2) return (void)warn_routine(7);
    if (!(beta - alpha > 0) || !std::isfinite(beta - alpha)) return (void)warn_routine(8);
    if (!colour_index_valid(ncol)) return;
    KeepColour keep_colour;
    select_colour(ncol);
    float x = (float)nx, y = (float)page_y(ny);
    double a = alpha, b = beta;
    if (b - a >= 360.0) a = 0, b = 360.0;
    if (device_sector(x, y, (float)nr1, (float)nr2, (float)a, (float)b)) return;
    std::vector<float> px, py;
    sector_outline(x, y, (float)nr1, (float)nr2, a, b, px, py);
    KeepPattern keep_pattern;
    select_pattern(16);
    plot_fill_polygon(px.data(), py.data(), (int)px.size());
}

// ---- wind barbs ----------------------------------------------------------------

void windbr(float vel, int nx, int ny, int nl, float angle) {
    if (enter_routine("windbr")) return;
    // Speeds beyond any wind would only pile up pennants.
    if (!std::isfinite(vel) || vel > 1000.0f || !std::isfinite(angle)) {
        warn_routine_value(2, std::isfinite(vel) && std::fabs(vel) < 2.0e9f ? (int)vel : 0);
        return;
    }
    const int x0 = nx, y0 = page_y(ny);
    PlotsState& pl = state().plots;
    KeepPattern keep_pattern;
    if ((int)(vel + 0.5f) <= 0) {  // calm: two circles
        const int size = pl.symbol_height;
        select_pattern(0);
        draw_symbol(15, x0, y0);
        pl.symbol_height = size * 4 / 5 > 0 ? size * 4 / 5 : 1;
        draw_symbol(15, x0, y0);
        pl.symbol_height = size;
        return;
    }
    const int pennants = (int)(vel + 2.5f) / 50;
    const float rest = vel - 50.0f * (float)pennants;
    const int full = (int)(rest + 2.5f) / 10;
    const int half = (int)(rest - 10.0f * (float)full + 2.5f) / 5;

    const double a = angle * kPi / 180.0;
    const float ca = (float)std::cos(a), sa = (float)std::sin(a);
    auto tx = [&](float x, float y) { return (float)x0 + x * ca - y * sa; };
    auto ty = [&](float x, float y) { return (float)y0 + x * sa + y * ca; };
    auto stroke = [&](float xa, float ya, float xb, float yb) {
        plot_move(tx(xa, ya), ty(xa, ya));
        plot_draw(tx(xb, yb), ty(xb, yb));
    };
    const float l = (float)nl;
    const float s = (float)pl.symbol_height;
    const float third = (float)(pl.symbol_height / 3);
    stroke(0, 0, 0, -l);
    float p = 0;
    for (int i = 0; i < pennants; ++i) {
        float px[3] = {tx(0, p - l), tx(s, p - l), tx(0, p - l + third)};
        float py[3] = {ty(0, p - l), ty(s, p - l), ty(0, p - l + third)};
        plot_flush();
        fill_solid_triangle(px, py);
        p += s / 2;
        if (i == pennants - 1) p += s / 6;
    }
    for (int i = 0; i < full; ++i) {
        stroke(0, p - l, s, p - l - third);
        p += third;
    }
    for (int i = 0; i < half; ++i) {
        if (pennants == 0 && full == 0)
            stroke(0, p + s / 2 - l, s / 2, p - l);
        else
            stroke(0, p - l, s / 2, p - l - s / 6);
        p += third;
    }
}

// ---- user coordinates ----------------------------------------------------------

void rlrec(float x, float y, float w, float h) {
    RlScope rl("rlrec", x, y);
    if (!rl.ok) return;
    int nx, ny, nw, nh;
    rl_rectangle(x, y, w, h, nx, ny, nw, nh);
    PageYOff off;
    rectan(nx, ny, nw, nh);
}

void rlrnd(float x, float y, float w, float h, int iopt) {
    // The warnings of this routine carry the name "rlnd".
    RlScope rl("rlnd", x, y);
    if (!rl.ok) return;
    int nx, ny, nw, nh;
    rl_rectangle(x, y, w, h, nx, ny, nw, nh);
    PageYOff off;
    rounded_rectangle(nx, ny, nw, nh, iopt);
}

void rlpoin(float x, float y, int nb, int nh, int ncol) {
    RlScope rl("rlpoin", x, y);
    if (!rl.ok) return;
    int nx, ny;
    rl_plot_point(x, y, nx, ny);
    PageYOff off;
    point(nx, ny, nb, nh, ncol);
}

void rlsec(float xm, float ym, float r1, float r2, float alpha, float beta, int ncol) {
    RlScope rl("rlsec", xm, ym);
    if (!rl.ok) return;
    int nx, ny;
    rl_plot_point(xm, ym, nx, ny);
    int nr1 = rl_x_distance(xm, ym, r1), nr2 = rl_x_distance(xm, ym, r2);
    PageYOff off;
    sector(nx, ny, nr1, nr2, alpha, beta, ncol);
}

void rlwind(float vel, float x, float y, int nl, float angle) {
    RlScope rl("rlwind", x, y);
    if (!rl.ok) return;
    int nx, ny;
    rl_plot_point(x, y, nx, ny);
    PageYOff off;
    windbr(vel, nx, ny, nl, angle);
}

}  // namespace korval
