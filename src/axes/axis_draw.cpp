// Drawing one axis: line, ticks, labels and name; centring of the system.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "axes/axes.hpp"
#include "axes/dates.hpp"
#include "draw/draw.hpp"
#include "axes/text_use.hpp"

namespace korval {

namespace {

AxesState& ax() { return state().axes; }

// Selects a colour for one part of the axis and restores the current one.
class PartColour {
public:
    explicit PartColour(int colour) : colour_(colour), keep_(state().colour.current) {
        if (colour_ >= 0) {
            plot_flush();
            device_colour(colour_);
        }
    }
    ~PartColour() {
        if (colour_ >= 0) {
            plot_flush();
            device_colour(keep_);
        }
    }

private:
    int colour_, keep_;
};

// Label positions of a date axis with a monthly label mode: day numbers of
// the month boundaries from orig up to e.
std::vector<double> month_labels(double orig, double e, int months) {
    std::vector<double> out;
    int d, m, y;
    date_of_day_number((int)std::lround(orig), d, m, y);
    int n = (int)std::lround(orig);
    for (int guard = 0; guard < 100000 && n <= e + 0.0001; ++guard) {
        out.push_back(n);
        for (int i = 0; i < months; ++i) next_month(m, y);
        n = day_number_of(1, m, y);
    }
    return out;
}

bool exponent_form(const AxisSettings& s, int log) {
    return (log && s.log_form == 1) || s.label_type == 2 || (s.label_type >= 6 && s.label_type <= 8);
}

// The values and label indices of an axis after axends and crossing.
struct LabelPlan {
    std::vector<double> values;
    std::vector<int> indices;
};

LabelPlan plan_labels(float, float e, float orig, float step, int axis, bool crossed) {
    LabelPlan p;
    const AxisSettings& s = ax().axis[axis];
    if (s.label_type == 0 || step == 0) return p;
    std::vector<double> all;
    if (s.label_class == 3 && s.monthly_mode > 0) {
        all = month_labels(orig, e, s.monthly_mode);
    } else {
        double kk = ((double)e - (double)orig) / (double)step + 0.0001;
        if (!(kk >= 0) || kk > 100000) kk = kk > 100000 ? 100000 : 0;
        int k = (int)kk;
        for (int i = 0; i <= k; ++i) all.push_back((double)orig + i * (double)step);
    }
    int k = (int)all.size() - 1;
    if (s.label_pos == 1) --k;  // labels between ticks
    if (k < 0) return p;
    int lo = 0, hi = k;
    switch (s.ends) {
        case 1: lo = 1; break;
        case 2: hi = k - 1; break;
        case 3: lo = 1, hi = k - 1; break;
        default: break;
    }
    for (int i = lo; i <= hi; ++i) {
        if (s.ends == 4 && i != 0 && i != k) continue;
        if (s.ends == 5 && i != 0) continue;
        if (s.ends == 6 && i != k) continue;
        double v = all[(std::size_t)i];
        if ((s.label_type == 2 || s.label_type == 13) && std::fabs(v) < 1.0e-7 &&
            std::fabs(v) < std::fabs(step) / 2)
            v = 0;
        if (crossed && std::fabs(v) <= ax().epsilon) continue;
        if (s.label_pos == 1) v += (i + 1 < (int)all.size() ? all[(std::size_t)i + 1] - all[(std::size_t)i] : step) / 2;
        p.values.push_back(v);
        int index = s.user_label_count < 0 ? k - i : i;
        p.indices.push_back(index);
    }
    return p;
}

void tick_line(bool xaxis, int pos, int start, int len, bool centred, bool flip) {
    float a = (float)start, b = (float)(start + len);
    if (centred) a -= len / 2.0f, b -= len / 2.0f;
    if (flip) std::swap(a, b);
    if (xaxis) {
        plot_move((float)pos, a);
        plot_draw((float)pos, b);
    } else {
        plot_move(a, (float)pos);
        plot_draw(b, (float)pos);
    }
}

}  // namespace

void draw_ticks(float a, float e, float orig, float step, int length, int nx, int ny, int log, int axis,
                int major, int minor, int n) {
    const AxisSettings& s = ax().axis[axis];
    if (n < 1 || step == 0 || e == a) return;
    const bool xaxis = axis == 0;
    const bool centred = s.tick_pos == 2;
    const double sc = (length - 1) / ((double)e - (double)a);
    const int base = xaxis ? ny : nx;
    bool flip = false;
    auto at = [&](double v) {
        return xaxis ? (int)((v - a) * sc + nx + 0.5) : (int)(ny + 0.5 - (v - a) * sc);
    };
    auto tick = [&](double v, int len) {
        tick_line(xaxis, at(v), base, len, centred, flip);
        flip = !flip;
    };
    double lo = std::min(a, e), hi = std::max(a, e);
    // Logarithmic axes with whole decades get decade ticks and 2..9 between.
    if (log && n >= 2 && std::fabs(orig - std::round(orig)) < 1e-4 &&
        (std::fabs(std::fabs(step) - 1) < 1e-4 || (ax().logtic == 1 && std::fabs(step - std::round(step)) < 1e-4))) {
        for (double k = std::floor(lo) - 1; k <= hi + 1e-4; k += 1) {
            if (k >= lo - 1e-4 && k <= hi + 1e-4) tick(k, major);
            for (int m = 2; m <= 9; ++m) {
                double v = k + std::log10((double)m);
                if (v >= lo - 1e-6 && v <= hi + 1e-6) tick(v, minor);
            }
        }
        return;
    }
    if (s.label_class == 3 && s.monthly_mode > 0) {
        for (double v : month_labels(orig, e, s.monthly_mode)) tick(v, major);
        static const int months[7] = {0, 0, 1, 3, 6, 12, 2};
        if (s.tick_mode == 1) {
            for (double v = std::ceil(lo); v <= hi; v += 1) tick(v, minor);
        } else if (s.tick_mode >= 2) {
            int step_months = months[s.tick_mode];
            int d, m, y;
            date_of_day_number((int)std::lround(orig), d, m, y);
            for (int dir = 1; dir >= -1; dir -= 2) {
                int mm = m, yy = y;
                for (int guard = 0; guard < 10000; ++guard) {
                    for (int i = 0; i < step_months; ++i) {
                        if (dir > 0) {
                            next_month(mm, yy);
                        } else if (--mm < 1) {
                            mm = 12, --yy;
                        }
                    }
                    double v = day_number_of(1, mm, yy);
                    if (v < lo - 1e-6 || v > hi + 1e-6) break;
                    tick(v, minor);
                }
            }
        }
        return;
    }
    if (s.label_class == 3) n = 1;  // one tick per label without a monthly mode
    double d = step / n;
    double i0 = -std::trunc(((double)orig - a) / d + 0.0001);
    double i1 = std::trunc(((double)e - orig) / d + 0.0001);
    if (!(i1 - i0 < 200000)) return;  // far more ticks than pixels: nothing sensible to draw
    for (long i = (long)i0; i <= (long)i1; ++i) {
        double v = orig + i * d;
        bool is_major = i % n == 0;
        tick(v, is_major ? major : minor);
    }
}

int max_label_width(float a, float e, float orig, float step, int axis, int log, bool crossed) {
    const AxisSettings& s = ax().axis[axis];
    LabelPlan p = plan_labels(a, e, orig, step, axis, crossed);
    TextModeGuard guard(exponent_form(s, log), s.label_class == 3 && s.date.language == 1);
    int w = 0;
    for (std::size_t i = 0; i < p.values.size(); ++i) {
        if (crossed && p.values[i] < 0) continue;
        std::string t = format_label(p.values[i], p.indices[i], log, axis);
        w = std::max(w, text_length(t.c_str()));
    }
    return w;
}

void draw_axis(float a, float e, float orig, float step, int length, const char* name, int side, int nx,
               int ny, int log, int axis) {
    AxesState& st = ax();
    AxisSettings& s = st.axis[axis];
    const AxisSettings& colours = st.axis[axis == 2 ? 1 : axis];
    const bool xaxis = axis == 0;
    const bool crossed = st.axis_type == 1 && st.kind == 0 && st.drawing_graf;
    const int h = text_height();

    // Signs: ticks and labels point to the label side (or away for REVE).
    int ld = side == 1 ? -s.label_dist : s.label_dist;
    int nd = side == 1 ? -s.name_dist : s.name_dist;
    bool reverse = s.tick_pos == 1;
    int major = st.tick_major, minor = st.tick_minor;
    if ((side == 1) != reverse) major = -major, minor = -minor;
    int outward = s.ticks > 0 ? (s.tick_pos == 0 ? major : s.tick_pos == 2 ? major / 2 : 0) : 0;

    if (s.line) {
        PartColour c(colours.colours[0]);
        plot_move((float)nx, (float)ny);
        if (xaxis)
            plot_draw((float)(nx + length - 1), (float)ny);
        else
            plot_draw((float)nx, (float)(ny - length + 1));
    }
    {
        PartColour c(colours.colours[1]);
        draw_ticks(a, e, orig, step, length, nx, ny, log, axis, major, minor, s.ticks);
        plot_flush();
    }

    // Labels.
    int extent = 0;
    if (s.label_type != 0 && e != a) {
        PartColour c(colours.colours[2]);
        const bool expo = exponent_form(s, log);
        TextModeGuard guard(expo, s.label_class == 3 && s.date.language == 1);
        LabelPlan p = plan_labels(a, e, orig, step, axis, crossed);
        const int W = max_label_width(a, e, orig, step, axis, log, crossed);
        const double sc = (length - 1) / ((double)e - (double)a);
        const int base = (xaxis ? ny : nx) + ld + outward;
        int just = s.label_just;
        if (just == 0 && ((log && s.log_form == 1) || s.label_type == 12)) just = 1;
        if (s.label_type == 12 && st.rgtlab) just = 2;
        const bool vertical = s.label_orient == 1;
        for (std::size_t i = 0; i < p.values.size(); ++i) {
            double v = p.values[i];
            std::string text = format_label(v, p.indices[i], log, axis);
            if (text.empty()) continue;
            int w = text_length(text.c_str());
            int x = 0, y = 0, angle = 0;
            if (xaxis && !vertical) {
                x = (int)((v - a) * sc + nx + 0.5 - w / 2.0);
                y = side == 0 ? base + (expo ? (int)(0.4 * h) : 0) : base - h;
                if (s.label_pos == 2) x = std::max(nx, std::min(x, nx + length - w));
            } else if (xaxis) {
                angle = 90;
                x = (int)((v - a) * sc + nx + 0.5 - h / 2.0);
                if (side == 0)
                    y = (just == 1 || just == 3) ? base + W : base + w;
                else
                    y = (just == 1 || just == 4) ? base : base - W + w;
            } else if (!vertical) {
                double c = (log && s.label_type == 4) ? h - 0.7 * h : h / 2.0;
                y = (int)(ny - 0.5 - (v - a) * sc - c);
                if (side == 1)
                    x = (just == 1 || just == 3) ? base - W : base - w;
                else
                    x = (just == 1 || just == 4) ? base : base + W - w;
                if (s.label_pos == 2) y = std::max(ny - length, std::min(y, ny - h));
            } else {
                angle = side == 1 || st.rvynam ? 90 : 270;
                y = (int)(ny - 0.5 - (v - a) * sc + w / 2.0);
                if (angle == 270) y -= w;
                if (side == 1) x = base - h;
                else if (angle == 270) x = base + h;
                else x = base + (expo ? (int)(0.4 * h) : 0);
            }
            draw_text(text.c_str(), x, y, angle, h);
        }
        if (xaxis)
            extent = vertical ? W : (expo ? (int)std::lround(1.4 * h) : h);
        else
            extent = vertical ? h : W;
    }

    // Name.
    if (name && name[0]) {
        PartColour c(colours.colours[3]);
        const int hn = st.name_height;
        int dist = nd + outward + (s.label_type != 0 ? ld : 0);
        int len = text_length_at(name, hn);
        int start = crossed ? (xaxis ? st.nx0 - nx : ny - st.ny0) : 0;
        int span = length - start;
        int o = s.name_just == 0 ? (span - len) / 2 : s.name_just == 2 ? span - len : 0;
        o += start;
        if (xaxis) {
            int y = side == 0 ? ny + dist + extent : ny + dist - extent - hn;
            draw_text(name, nx + o, y, 0, hn);
        } else if (side == 1) {
            draw_text(name, nx + dist - extent - hn, ny - o, 90, hn);
        } else if (st.rvynam) {
            draw_text(name, nx + dist + extent, ny - o, 90, hn);
        } else {
            draw_text(name, nx + dist + extent + hn, ny - o - len, 270, hn);
        }
    }
    plot_flush();
}

void center_axis_system() {
    AxesState& st = ax();
    const OutputState& o = state().out;
    int margins[4] = {0, 0, 0, 0};  // lower, upper, left, right
    const int h = text_height();
    for (int side_index = 0; side_index < 4; ++side_index) {
        static const int sides[4] = {1, 3, 4, 2};
        int side = sides[side_index];
        if (st.two_axes && (side == 3 || side == 2)) continue;
        int depth = st.depth[side - 1];
        int axis = side == 1 || side == 3 ? 0 : 1;
        const AxisSettings& s = st.axis[axis];
        int m = 0;
        if (depth >= 2 && s.ticks > 0) {
            if (s.tick_pos == 0) m += st.tick_major;
            else if (s.tick_pos == 2) m += st.tick_major / 2;
        }
        if (depth >= 3 && s.label_type != 0) {
            bool across = (axis == 0) == (s.label_orient == 1);
            int extent = across ? max_label_width(st.a[axis], st.e[axis], st.orig[axis], st.step[axis], axis,
                                                  st.scale_type[axis], false)
                                : h;
            m += extent + s.label_dist;
        }
        if (depth >= 4 && !s.name.empty()) m += s.name_dist + st.name_height;
        margins[side_index] = m;
    }
    int title_top = 0, title_bottom = 0;
    if (title_margin(title_top, title_bottom)) {
        if (title_top >= 0) margins[1] = title_top;
        if (title_bottom >= 0) margins[0] = title_bottom;
    }
    margins[3] += colour_bar_margin();
    int left = margins[2], right = margins[3], top = margins[1], bottom = margins[0];
    int ox = (o.nxp - right - st.nxl - left) / 2 - st.nxa + left;
    int oy = (top + o.nyp + st.nyl + bottom) / 2 - st.nya - bottom;
    state().pipeline.shift_x = ox;
    state().pipeline.shift_y = oy;
}

}  // namespace korval

namespace korval {

namespace {

void standalone_axis(const char* routine, float a, float e, float orig, float step, int nl, const char* s,
                     int it, int nx, int ny, int log, int axis) {
    if (check_level(1, 3, routine)) return;
    int y = page_y(ny);
    if (check_axis_parameters(a, e, orig, step, nl, nx, y)) return;
    draw_axis(a, e, orig, step, nl, s ? s : "", it != 0 ? 1 : 0, nx, y, log, axis);
}

}  // namespace

void xaxis(float xa, float xe, float xor_, float xstp, int nl, const char* s, int it, int nx, int ny) {
    standalone_axis("xaxis", xa, xe, xor_, xstp, nl, s, it, nx, ny, 0, 0);
}
void yaxis(float xa, float xe, float xor_, float xstp, int nl, const char* s, int it, int nx, int ny) {
    standalone_axis("yaxis", xa, xe, xor_, xstp, nl, s, it, nx, ny, 0, 1);
}
void xaxlg(float xa, float xe, float xor_, float xstp, int nl, const char* s, int it, int nx, int ny) {
    standalone_axis("xaxlg", xa, xe, xor_, xstp, nl, s, it, nx, ny, 1, 0);
}
void yaxlg(float xa, float xe, float xor_, float xstp, int nl, const char* s, int it, int nx, int ny) {
    standalone_axis("yaxlg", xa, xe, xor_, xstp, nl, s, it, nx, ny, 1, 1);
}

void getor(int& i1, int& i2) {
    enter_routine("getor");
    i1 = state().pipeline.shift_x;
    i2 = state().pipeline.shift_y;
}

}  // namespace korval
