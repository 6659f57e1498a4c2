// The 24 plotting symbols, the user symbol and the symbol routines.
#include <cmath>
#include <cstdint>
#include <cstdio>

#include "axes/axes.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"
#include "plots/plots.hpp"

namespace korval {

namespace {

PlotsState& pl() { return state().plots; }

// Vertices in hundredths of the symbol height, x to the right, y down.
const std::int16_t kVx[] = {
    -50, -50, 50,  50,  -50,                           // 0 square (0..4)
    -20, -50, -50, -20, 20,  50,  50,  20,  -20,       // 1 octagon (5..13)
    0,   50,  -50, 0,                                  // 2 triangle up (14..17)
    -50, 50,  0,   0,                                  // 3 plus (18..21)
    -50, 50,  50,  -50,                                // 4 cross (22..25)
    0,   50,  0,   -50, 0,                             // 5 diamond (26..30)
    -50, 0,   50,  -50,                                // 6 triangle down (31..34)
    49,  49,  42,  27,  9,   -9,  -27, -42, -49, -49,  // 15 circle (35..53)
    -49, -42, -27, -9,  9,   27,  42,  49,  49,  49,
    49,  42,  27,  9,   -9,  -27, -42, -49, -49,  // 22 half circle (54..63)
};
const std::int16_t kVy[] = {
    -50, 50,  50,  -50, -50,                         //
    -50, -20, 20,  50,  50,  20,  -20, -50, -50,     //
    -50, 50,  50,  -50,                              //
    0,   0,   -50, 50,                               //
    -50, 50,  -50, 50,                               //
    -50, 0,   50,  0,   -50,                         //
    -50, 50,  -50, -50,                              //
    0,   -9,  -27, -42, -49, -49, -42, -27, -9,  0,  //
    9,   27,  42,  49,  49,  42,  27,  9,   -9,      //
    0,   -9,  -27, -42, -49, -49, -42, -27, -9,  0,  //
};

// Per entry: the number of polylines, then (first vertex, vertex count).
const std::int16_t kEntries[] = {
    1, 0,  5,                        // 0: square
    1, 5,  9,                        // 3: octagon
    1, 14, 4,                        // 6: triangle up
    2, 18, 2,  20, 2,                // 9: plus
    2, 22, 2,  24, 2,                // 14: cross
    1, 26, 5,                        // 19: diamond
    1, 31, 4,                        // 22: triangle down
    3, 0,  5,  22, 2, 24, 2,         // 25: square with cross
    4, 18, 2,  20, 2, 22, 2, 24, 2,  // 32: star
    3, 26, 5,  18, 2, 20, 2,         // 41: diamond with plus
    3, 5,  9,  18, 2, 20, 2,         // 48: octagon with plus
    2, 31, 4,  14, 4,                // 55: hexagram
    3, 0,  5,  18, 2, 20, 2,         // 60: square with plus
    3, 5,  9,  22, 2, 24, 2,         // 67: octagon with cross
    2, 0,  5,  14, 4,                // 74: square with triangle
    1, 35, 19,                       // 79: circle
    1, 54, 10,                       // 82: half circle
};
// Entry index of each symbol.
const std::int16_t kSymbolEntry[24] = {0,  3,  6,  9,  14, 19, 22, 25, 32, 41, 48, 55,
                                       60, 67, 74, 79, 0,  3,  6,  19, 22, 79, 82, 82};

// Scan lines of a software-filled symbol: 0.75 plot units, divided by the
// scale factor.
float symbol_fill_spacing() {
    float f = state().out.scale_factor;
    return 0.75f / (f > 0 ? f : 1.0f);
}

bool filled(int nsym) { return (nsym >= 16 && nsym <= 21) || nsym == 23; }

// The placed vertices of one polyline.
struct Placer {
    float cx, cy, f, c, s;
    void put(float vx, float vy, float& x, float& y) const {
        float ux = vx * f, uy = vy * f;
        x = cx + ux * c - uy * s;
        y = cy + ux * s + uy * c;
    }
};

Placer placer(int x, int y, float unit) {
    const PlotsState& p = pl();
    double a = -(double)p.symbol_angle * M_PI / 180.0;
    Placer pl_;
    pl_.cx = (float)x;
    pl_.cy = (float)y;
    pl_.f = unit;
    pl_.c = p.symbol_angle != 0 ? (float)std::cos(a) : 1.0f;
    pl_.s = p.symbol_angle != 0 ? (float)std::sin(a) : 0.0f;
    return pl_;
}

void draw_user_symbol(int x, int y) {
    const PlotsState& p = pl();
    int n = (int)p.user_x.size();
    if (n < 1) return;
    Placer at = placer(x, y, p.symbol_height / 2.0f);
    float px = 0, py = 0;
    at.put(p.user_x[0], -p.user_y[0], px, py);
    plot_move(px, py);
    for (int i = 1; i < n; ++i) {
        at.put(p.user_x[(std::size_t)i], -p.user_y[(std::size_t)i], px, py);
        plot_draw(px, py);
    }
    if (n == 1) plot_draw(px, py);
    if (p.user_fill == 1 && n >= 3) {
        const int kMax = 64;
        float fx[kMax], fy[kMax];
        int m = n < kMax ? n : kMax;
        for (int i = 0; i < m; ++i) at.put(p.user_x[(std::size_t)i], -p.user_y[(std::size_t)i], fx[i], fy[i]);
        fill_solid_polygon(fx, fy, m, symbol_fill_spacing());
    }
}

}  // namespace

bool valid_symbol(int nsym) {
    return (nsym >= 0 && nsym <= pl().symbol_count_limit) ||
           (pl().user_symbol >= 0 && nsym == pl().user_symbol);
}

void draw_symbol(int nsym, int x, int y) {
    const PlotsState& p = pl();
    if (p.user_symbol >= 0 && nsym == p.user_symbol) {
        draw_user_symbol(x, y);
        return;
    }
    if (nsym < 0 || nsym > 23) return;
    Placer at = placer(x, y, p.symbol_height / 100.0f);
    const std::int16_t* e = kEntries + kSymbolEntry[nsym];
    int lines = e[0];
    for (int l = 0; l < lines; ++l) {
        int first = e[1 + 2 * l], count = e[2 + 2 * l];
        float px = 0, py = 0;
        at.put(kVx[first], kVy[first], px, py);
        plot_move(px, py);
        for (int i = 1; i < count; ++i) {
            float qx, qy;
            at.put(kVx[first + i], kVy[first + i], qx, qy);
            plot_draw(qx, qy);
        }
        if (nsym == 22 || nsym == 23) plot_draw(px, py);
    }
    if (filled(nsym)) {
        int first = e[1], count = e[2];
        float fx[20], fy[20];
        for (int i = 0; i < count; ++i) at.put(kVx[first + i], kVy[first + i], fx[i], fy[i]);
        fill_solid_polygon(fx, fy, count, symbol_fill_spacing());
    }
}

// ---- user routines ---------------------------------------------------------

void marker(int nsym) {
    check_level(0, 3, "marker");
    if (nsym < 0 || !valid_symbol(nsym)) {
        warn_routine_value(2, nsym);
        return;
    }
    pl().symbol_number = nsym;
}

void hsymbl(int h) {
    check_level(0, 3, "hsymbl");
    if (check_range(h, 1, 10000)) return;
    pl().symbol_height = h;
}

void symrot(float angle) {
    check_level(0, 3, "symrot");
    pl().symbol_angle = angle;
}

void incmrk(int n) {
    check_level(0, 3, "incmrk");
    pl().marker_increment = n;
}

namespace {

// symbol and rlsymb: the page test and the drawing.
void symbol_at(int nsym, int nx, int ny, int x, int y) {
    const State& st = state();
    int sx = x + st.pipeline.shift_x, sy = y + st.pipeline.shift_y;
    if (sx < 0 || sx > st.out.nxp || sy < 0 || sy > st.out.nyp) {
        state().run.warning_count += 1;
        const MessageState& m = st.msg;
        if (m.unit != 0 && m.warnings) {
            char line[80];
            std::snprintf(line, sizeof line, " >>>> (%d/%d) out of page in symbol!\n", nx, ny);
            message_write(line);
        }
    }
    draw_symbol(nsym, x, y);
}

}  // namespace

void symbol(int nsym, int nx, int ny) {
    if (enter_routine("symbol")) return;
    if (!valid_symbol(nsym)) {
        warn_routine_value(2, nsym);
        return;
    }
    symbol_at(nsym, nx, ny, nx, page_y(ny));
}

void rlsymb(int nsym, float x, float y) {
    if (check_level(2, 3, "rlsymb")) return;
    if (!valid_symbol(nsym)) {
        warn_routine_value(2, nsym);
        return;
    }
    if (!std::isfinite(x) || !std::isfinite(y)) return;
    const AxesState& a = state().axes;
    if (a.kind == 0 &&
        ((a.scale_type[0] && x <= 0 && !a.neglog_on) || (a.scale_type[1] && y <= 0 && !a.neglog_on))) {
        warn_routine(27);
        return;
    }
    float xp, yp;
    user_to_plot(x, y, xp, yp);
    clip_to_axis(0);
    int ix = (int)std::floor(xp + 0.5f), iy = (int)std::floor(yp + 0.5f);
    symbol_at(nsym, ix, iy, ix, iy);
    plot_flush();
    clip_to_axis(1);
}

void mysymb(const float* x, const float* y, int n, int nsym, int fill) {
    check_level(0, 3, "mysymb");
    if (n < 1) return (void)warn_routine_value(2, n);
    if (fill != 0 && fill != 1) return (void)warn_routine_value(2, fill);
    if (nsym < 0) return (void)warn_routine_value(2, nsym);
    bool inside = true;
    for (int i = 0; i < n; ++i)
        if (!(std::fabs(x[i]) <= 1.000001f && std::fabs(y[i]) <= 1.000001f)) inside = false;
    if (!inside) {
        set_warning_text("values out of range");
        warn_routine(101);
    }
    PlotsState& p = pl();
    p.user_x.assign(x, x + n);
    p.user_y.assign(y, y + n);
    // Points that are not numbers are left out of the outline.
    std::size_t k = 0;
    for (std::size_t i = 0; i < p.user_x.size(); ++i)
        if (std::isfinite(p.user_x[i]) && std::isfinite(p.user_y[i])) {
            p.user_x[k] = p.user_x[i];
            p.user_y[k] = p.user_y[i];
            ++k;
        }
    p.user_x.resize(k);
    p.user_y.resize(k);
    p.user_symbol = nsym;
    p.user_fill = fill;
}

}  // namespace korval
