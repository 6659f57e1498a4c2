// Blanking: regions in which no line is drawn.  The regions live in a buffer
// of 16-bit words; while any exists, the pipeline hands every visible
// segment to blank_segment, which draws the pieces outside the regions and
// moves across the others.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/core.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMilli = 1000.0;  // angles are stored in thousandths of a radian

enum Shape { kRect = 1, kRotRect = 2, kCircle = 3, kEllipse = 4, kSector = 5, kPolygon = 6 };

inline BlankingState& bl() { return state().blanking; }

// Record length from the header's shape (and the polygon's point count).
int record_length(int shape, int npoints) {
    switch (shape) {
        case kRect:
            return 6;
        case kRotRect:
            return 7;
        case kCircle:
            return 5;
        case kEllipse:
            return 7;
        case kSector:
            return 7;
        case kPolygon:
            return 2 * npoints + 3;
        default:
            return 2;
    }
}

inline int shape_of(int header) { return header / 100; }
inline int class_of(int header) { return (header / 10) % 10; }
inline bool hidden_of(int header) { return header % 10 != 0; }

inline int length_at(const BlankingState& b, int pos) {
    int shape = shape_of(b.words[pos]);
    return record_length(shape, shape == kPolygon && pos + 2 < b.used ? b.words[pos + 2] : 0);
}

inline std::int16_t word16(double v) {
    double r = v >= 0 ? std::floor(v + 0.5) : -std::floor(-v + 0.5);
    if (r > 32767) r = 32767;
    if (r < -32768) r = -32768;
    return (std::int16_t)r;
}

void update_pipeline() {
    PipelineState& p = state().pipeline;
    p.blanking = bl().regions;
    p.blank_segment = bl().regions > 0 ? &blank_segment : nullptr;
}

// Removes the record at pos and closes the gap.
void remove_at(int pos) {
    BlankingState& b = bl();
    int len = length_at(b, pos);
    if (class_of(b.words[pos]) == 0) b.user_regions -= 1;
    b.regions -= 1;
    std::copy(b.words + pos + len, b.words + b.used, b.words + pos);
    b.used -= len;
    if (b.regions == 0) b.last_id = 0;
}

// Removes the regions for which pred(header, id) holds.
template <class Pred>
void remove_regions(Pred pred) {
    polyline_flush();
    BlankingState& b = bl();
    int pos = 0;
    while (pos < b.used) {
        if (pred(b.words[pos], b.words[pos + 1]))
            remove_at(pos);
        else
            pos += length_at(b, pos);
    }
    update_pipeline();
}

// ---- geometry of one region ------------------------------------------------------

// A region decoded into doubles; frame maps a page point into the shape's
// own coordinates (rotated rectangles and ellipses).
struct Region {
    int shape = 0;
    double v[6] = {0, 0, 0, 0, 0, 0};
    const std::int16_t* poly = nullptr;  // x, y pairs
    int n = 0;
    double ca = 1, sa = 0;

    // Page point to the shape's frame: origin at the anchor, turned back by
    // the shape's angle (angles count counter-clockwise on the page).
    void frame(double x, double y, double& u, double& w) const {
        double dx = x - v[0], dy = y - v[1];
        u = dx * ca - dy * sa;
        w = dx * sa + dy * ca;
    }

    bool inside(double x, double y) const {
        switch (shape) {
            case kRect:
                return x >= std::min(v[0], v[2]) && x <= std::max(v[0], v[2]) && y >= std::min(v[1], v[3]) &&
                       y <= std::max(v[1], v[3]);
            case kRotRect: {
                double u, w;
                frame(x, y, u, w);
                return u >= 0 && u <= v[2] - 1 && w >= 0 && w <= v[3] - 1;
            }
            case kCircle: {
                double dx = x - v[0], dy = y - v[1];
                return dx * dx + dy * dy <= v[2] * v[2];
            }
            case kEllipse: {
                double u, w;
                frame(x, y, u, w);
                double a = u / v[2], b = w / v[3];
                return a * a + b * b <= 1.0;
            }
            case kSector: {
                double dx = x - v[0], dy = y - v[1];
                if (dx * dx + dy * dy > v[2] * v[2]) return false;
                if (dx == 0 && dy == 0) return true;
                double a1 = v[3] / kMilli, a2 = v[4] / kMilli;
                double phi = std::atan2(-dy, dx);
                while (phi < a1) phi += 2 * kPi;
                while (phi >= a1 + 2 * kPi) phi -= 2 * kPi;
                return phi <= a2;
            }
            case kPolygon: {
                bool in = false;
                for (int i = 0, j = n - 1; i < n; j = i++) {
                    double xi = poly[2 * i], yi = poly[2 * i + 1], xj = poly[2 * j], yj = poly[2 * j + 1];
                    if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
                }
                return in;
            }
            default:
                return false;
        }
    }

    // Parameters t in (0, 1) where the segment p0 + t d meets the region's
    // boundary lines (a few extra ones do no harm: each piece is judged by
    // its midpoint).
    template <class Add>
    void crossings(double x0, double y0, double x1, double y1, Add add) const {
        auto line = [&](double p, double dp, double c) {  // p + t dp = c
            if (dp != 0) add((c - p) / dp);
        };
        auto conic = [&](double px, double py, double dx, double dy) {  // |p + t d| = 1
            double a = dx * dx + dy * dy, b = 2 * (px * dx + py * dy), c = px * px + py * py - 1;
            if (a == 0) return;
            double disc = b * b - 4 * a * c;
            if (disc < 0) return;
            double s = std::sqrt(disc);
            add((-b - s) / (2 * a));
            add((-b + s) / (2 * a));
        };
        switch (shape) {
            case kRect:
                line(x0, x1 - x0, v[0]);
                line(x0, x1 - x0, v[2]);
                line(y0, y1 - y0, v[1]);
                line(y0, y1 - y0, v[3]);
                break;
            case kRotRect: {
                double u0, w0, u1, w1;
                frame(x0, y0, u0, w0);
                frame(x1, y1, u1, w1);
                line(u0, u1 - u0, 0);
                line(u0, u1 - u0, v[2] - 1);
                line(w0, w1 - w0, 0);
                line(w0, w1 - w0, v[3] - 1);
                break;
            }
            case kCircle:
                conic((x0 - v[0]) / v[2], (y0 - v[1]) / v[2], (x1 - x0) / v[2], (y1 - y0) / v[2]);
                break;
            case kEllipse: {
                double u0, w0, u1, w1;
                frame(x0, y0, u0, w0);
                frame(x1, y1, u1, w1);
                conic(u0 / v[2], w0 / v[3], (u1 - u0) / v[2], (w1 - w0) / v[3]);
                break;
            }
            case kSector: {
                conic((x0 - v[0]) / v[2], (y0 - v[1]) / v[2], (x1 - x0) / v[2], (y1 - y0) / v[2]);
                // The two radii: lines through the centre.
                for (int k = 3; k <= 4; ++k) {
                    double a = v[k] / kMilli;
                    double ex = std::cos(a), ey = -std::sin(a);
                    double c0 = (x0 - v[0]) * ey - (y0 - v[1]) * ex;
                    double c1 = (x1 - v[0]) * ey - (y1 - v[1]) * ex;
                    if (c0 != c1) add(c0 / (c0 - c1));
                }
                break;
            }
            case kPolygon: {
                double dx = x1 - x0, dy = y1 - y0;
                for (int i = 0, j = n - 1; i < n; j = i++) {
                    double ax = poly[2 * j], ay = poly[2 * j + 1];
                    double ex = poly[2 * i] - ax, ey = poly[2 * i + 1] - ay;
                    double den = dx * ey - dy * ex;
                    if (den == 0) continue;
                    double t = ((ax - x0) * ey - (ay - y0) * ex) / den;
                    double s = ((ax - x0) * dy - (ay - y0) * dx) / den;
                    if (s >= 0 && s <= 1) add(t);
                }
                break;
            }
            default:
                break;
        }
    }
};

Region decode(const BlankingState& b, int pos) {
    Region r;
    r.shape = shape_of(b.words[pos]);
    const std::int16_t* w = b.words + pos + 2;
    if (r.shape == kPolygon) {
        r.n = w[0];
        r.poly = w + 1;
        return r;
    }
    int np = record_length(r.shape, 0) - 2;
    for (int i = 0; i < np && i < 6; ++i) r.v[i] = w[i];
    if (r.shape == kRotRect || r.shape == kEllipse) {
        double a = r.v[4] / kMilli;
        r.ca = std::cos(a);
        r.sa = std::sin(a);
    }
    return r;
}

// A region of the script (class 0).
int define(int shape, const float* values, int count) {
    polyline_flush();
    return define_blanking_region(shape, 0, values, count);
}

// A point given by the script: y through page_y, the origin shift added.
inline float px(int x) { return (float)(x + state().pipeline.shift_x); }
inline float py(int y) { return (float)(page_y(y) + state().pipeline.shift_y); }

inline float milli(float degrees) { return (float)(degrees * kPi / 180.0 * kMilli); }

}  // namespace

int define_blanking_region(int shape, int cls, const float* values, int count) {
    BlankingState& b = bl();
    int npoints = shape == kPolygon && count > 0 ? (int)values[0] : 0;
    int len = record_length(shape, npoints);
    if (b.used + len > BlankingState::kWords || count != len - 2) {
        warn_routine(47);
        return 0;
    }
    int id = b.regions == 0 ? 1 : b.last_id + 1;
    if (id > 32767) id = 1;
    std::int16_t* w = b.words + b.used;
    w[0] = (std::int16_t)(shape * 100 + cls * 10);
    w[1] = (std::int16_t)id;
    for (int i = 0; i < count; ++i) w[2 + i] = word16(values[i]);
    b.used += len;
    b.regions += 1;
    if (cls == 0) b.user_regions += 1;
    b.last_id = id;
    update_pipeline();
    return id;
}

void blank_segment(float x0, float y0, float x1, float y1) {
    const BlankingState& b = bl();
    // Split points along the segment, at most a few per region; a fixed
    // array keeps the hot path free of allocation (points beyond it fall
    // back to the coarser pieces already found).
    constexpr int kMax = 512;
    double ts[kMax];
    int nt = 0;
    ts[nt++] = 0.0;
    ts[nt++] = 1.0;
    auto add = [&](double t) {
        if (t > 0.0 && t < 1.0 && nt < kMax) ts[nt++] = t;
    };
    Region regions[16];
    int nreg = 0;
    bool many = false;
    for (int pos = 0; pos < b.used; pos += length_at(b, pos)) {
        if (hidden_of(b.words[pos])) continue;
        Region r = decode(b, pos);
        r.crossings(x0, y0, x1, y1, add);
        if (nreg < 16)
            regions[nreg++] = r;
        else
            many = true;
    }
    std::sort(ts, ts + nt);
    auto inside_any = [&](double x, double y) {
        for (int i = 0; i < nreg; ++i)
            if (regions[i].inside(x, y)) return true;
        if (many) {
            int k = 0;
            for (int pos = 0; pos < b.used; pos += length_at(b, pos)) {
                if (hidden_of(b.words[pos])) continue;
                if (k++ < 16) continue;
                if (decode(b, pos).inside(x, y)) return true;
            }
        }
        return false;
    };
    double dx = (double)x1 - x0, dy = (double)y1 - y0;
    int pending = 0;  // operation of the piece not yet sent
    for (int i = 0; i + 1 < nt; ++i) {
        double ta = ts[i], tb = ts[i + 1];
        if (tb <= ta) continue;
        double tm = 0.5 * (ta + tb);
        int op = inside_any(x0 + tm * dx, y0 + tm * dy) ? kOpMove : kOpDraw;
        // Consecutive pieces of one kind go out as one.
        if (pending != 0 && op != pending) device_line((float)(x0 + ta * dx), (float)(y0 + ta * dy), pending);
        pending = op;
    }
    if (pending != 0) device_line(x1, y1, pending);
}

// ---- user routines ----------------------------------------------------------------

void shlrec(int nx, int ny, int nw, int nh) {
    if (enter_routine("shlrec")) return;
    if (nw < 1 || nh < 1) {
        warn_routine_value(2, nw < nh ? nw : nh);
        return;
    }
    float x = px(nx), y = py(ny);
    const float v[4] = {x, y, x + (float)(nw - 1), y + (float)(nh - 1)};
    define(kRect, v, 4);
}

void shlrct(int nx, int ny, int nw, int nh, float angle) {
    if (enter_routine("shlrct")) return;
    if (nw < 1 || nh < 1) {
        warn_routine_value(2, nw < nh ? nw : nh);
        return;
    }
    float x = px(nx), y = py(ny);
    if (angle == 0.0f) {
        const float v[4] = {x, y, x + (float)(nw - 1), y + (float)(nh - 1)};
        define(kRect, v, 4);
        return;
    }
    const float v[5] = {x, y, (float)nw, (float)nh, milli(angle)};
    define(kRotRect, v, 5);
}

void shlcir(int nx, int ny, int nr) {
    if (enter_routine("shlcir")) return;
    if (nr < 1 || nr > 10000) {
        warn_routine_value(2, nr);
        return;
    }
    const float v[3] = {px(nx), py(ny), (float)nr};
    define(kCircle, v, 3);
}

void shlell(int nx, int ny, int na, int nb, float angle) {
    if (enter_routine("shlell")) return;
    if (na < 1 || nb < 1) {
        warn_routine_value(2, na < nb ? na : nb);
        return;
    }
    const float v[5] = {px(nx), py(ny), (float)na, (float)nb, milli(angle)};
    define(kEllipse, v, 5);
}

void shlpie(int nx, int ny, int nr, float alpha, float beta) {
    if (enter_routine("shlpie")) return;
    if (nr < 1) {
        warn_routine_value(2, nr);
        return;
    }
    // One turn from alpha; beta at or before alpha goes round once.
    double a = std::fmod((double)alpha, 360.0);
    if (a < 0) a += 360.0;
    double e = std::fmod((double)beta, 360.0);
    if (e < 0) e += 360.0;
    if (e <= a) e += 360.0;
    if (beta - alpha >= 360.0f) e = a + 360.0;
    const float v[5] = {px(nx), py(ny), (float)nr, milli((float)a), milli((float)e)};
    define(kSector, v, 5);
}

void shlpol(const int* nxray, const int* nyray, int n) {
    if (enter_routine("shlpol")) return;
    if (n < 3) {
        warn_routine_value(2, n);
        return;
    }
    if (n > (BlankingState::kWords - 3) / 2 || 2 * n + 3 > BlankingState::kWords - bl().used) {
        warn_routine(47);
        return;
    }
    float v[BlankingState::kWords];
    v[0] = (float)n;
    for (int i = 0; i < n; ++i) {
        v[1 + 2 * i] = px(nxray[i]);
        v[2 + 2 * i] = py(nyray[i]);
    }
    define(kPolygon, v, 2 * n + 1);
}

void shldel(int id) {
    check_level(0, 3, "shldel");
    if (id < 0) {
        warn_routine_value(2, id);
        return;
    }
    if (id == 0)
        remove_regions([](int header, int) { return class_of(header) == 0; });
    else
        remove_regions([id](int, int rid) { return rid == id; });
}

void shlres(int n) {
    check_level(0, 3, "shlres");
    if (n < 1) {
        warn_routine_value(2, n);
        return;
    }
    polyline_flush();
    BlankingState& b = bl();
    for (int k = 0; k < n; ++k) {
        // The last region of class 0.
        int last = -1;
        for (int pos = 0; pos < b.used; pos += length_at(b, pos))
            if (class_of(b.words[pos]) == 0) last = pos;
        if (last < 0) break;
        remove_at(last);
    }
    update_pipeline();
}

void shlvis(int id, const char* s) {
    check_level(0, 3, "shlvis");
    int k = match_keyword("ON  +OFF ", 2, s);
    if (k == 0) return;
    if (id < 0) {
        warn_routine_value(2, id);
        return;
    }
    polyline_flush();
    BlankingState& b = bl();
    for (int pos = 0; pos < b.used; pos += length_at(b, pos)) {
        if (id != 0 && b.words[pos + 1] != id) continue;
        int h = b.words[pos] - b.words[pos] % 10;
        b.words[pos] = (std::int16_t)(h + (k == 2 ? 1 : 0));
    }
}

int shlind() {
    check_level(0, 3, "shlind");
    return bl().regions;
}

void shlsur() {
    check_level(0, 3, "shlsur");
    bl().surface = true;
}

void shield(const char* area, const char* mode) {
    check_level(0, 3, "shield");
    int cls = match_keyword("MESS+SYMB+BARS+PIE +LEGE", 5, area);
    if (cls == 0) return;
    int k = match_keyword("ON  +OFF +VIS +NOVI+DELE+RESE", 6, mode);
    if (k == 0) return;
    polyline_flush();
    BlankingState& b = bl();
    switch (k) {
        case 1:
            b.automatic[cls] = true;
            break;
        case 2:
            b.automatic[cls] = false;
            break;
        case 3:
        case 4:
            for (int pos = 0; pos < b.used; pos += length_at(b, pos)) {
                if (class_of(b.words[pos]) != cls) continue;
                int h = b.words[pos] - b.words[pos] % 10;
                b.words[pos] = (std::int16_t)(h + (k == 4 ? 1 : 0));
            }
            break;
        default:
            if (k == 6) b.automatic[cls] = false;
            remove_regions([cls](int header, int) { return class_of(header) == cls; });
            break;
    }
}

namespace {

void blanking_defaults() {
    BlankingState& b = bl();
    b.used = 0;
    b.regions = 0;
    b.user_regions = 0;
    b.last_id = 0;
    for (bool& a : b.automatic) a = false;
    b.surface = false;
    update_pipeline();
}

void reset_shield() {
    for (bool& a : bl().automatic) a = false;
}

void reset_shlsur() { bl().surface = false; }

struct Registration {
    Registration() {
        register_defaults(14, blanking_defaults);
        register_reset("SHIE", reset_shield);
        register_reset("SHLS", reset_shlsur);
    }
} registration;

}  // namespace

}  // namespace korval
