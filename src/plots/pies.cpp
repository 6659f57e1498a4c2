// Pie charts: flat and 3-D pies with label boxes, and their settings.
#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "axes/axes.hpp"
#include "core/core.hpp"
#include "draw/draw.hpp"
#include "draw/figures.hpp"
#include "korval/korval.hpp"
#include "plots/charts.hpp"
#include "text/text.hpp"

namespace korval {

namespace {

constexpr float kDegree = 0.017453292f;
constexpr double kPi = 3.1415927;

PieState& pie_state() { return state().charts.pie; }

// A segment of the chart.
struct Segment {
    float value = 0;
    double alpha = 0, beta = 0, mid = 0;  // degrees
    float cx = 0, cy = 0;                 // centre, moved when exploded
};

// A label box: its lines, size and place.
struct Box {
    std::vector<std::string> lines;
    int w = 0, h = 0;
    float x = 0, y = 0;  // upper left corner
    bool inside = false;
    float ax = 0, ay = 0, tx = 0, ty = 0;  // anchor and target of the connection
    bool right_half = true;
};

double norm360(double a) {
    a = std::fmod(a, 360.0);
    return a < 0 ? a + 360.0 : a;
}

// The polar angle (degrees) of the ellipse boundary enclosing area A.
double area_angle(double A, double R, double b) {
    double t = 2 * A / (R * b);
    double th = std::atan2(b * std::sin(std::acos(std::cos(t))), R * std::cos(t)) / kDegree;
    if (A > kPi * R * b / 2) th = 360 - th;
    return th;
}

// Radius of the ellipse with half axes R, b at polar angle mu (degrees).
double ellipse_radius(double R, double b, double mu) {
    double c = std::cos(mu * kDegree), s = std::sin(mu * kDegree);
    return 1.0 / std::sqrt(c * c / (R * R) + s * s / (b * b));
}

// Draws a text line justified in [x0, x1] at top y.
void draw_line(const std::string& s, float x0, float x1, float y, int just, int h) {
    float lw = (float)text_length(s.c_str());
    float x = just == 1 ? x0 : just == 2 ? x1 - lw : x0 + (x1 - x0 - lw) / 2;
    draw_text(s.c_str(), round_nearest(x), round_nearest(y), 0, h);
}

// The side of a 3-D segment: the rim between a and b (degrees, front half)
// and the same rim moved down by the side height.
void draw_side(const Segment& g, double a, double b, float R, float rb, float side, int border) {
    if (b - a <= 0.1) return;
    std::vector<float> px, py;
    ellipse_arc_points(g.cx, g.cy, R, rb, (float)a, (float)b, 0, false, px, py);
    if (px.empty()) return;
    std::size_t n = px.size();
    for (std::size_t i = n; i-- > 0;) {
        px.push_back(px[i]);
        py.push_back(py[i] + side);
    }
    FigureState& f = state().figure;
    f.outline_off = true;
    fill_figure(px.data(), py.data(), (int)px.size());
    f.outline_off = false;
    int keep_colour = state().colour.current, keep_pattern = current_pattern();
    set_colour(border);
    select_pattern(0);
    area_polygon(px.data(), py.data(), (int)px.size());
    select_pattern(keep_pattern);
    set_colour(keep_colour);
}

}  // namespace

void piegrf(const char* cbuf, int nlin, const float* xray, int n) {
    if (check_level(1, 1, "piegrf")) return;
    if (n < 1) {
        warn_routine_value(2, n);
        return;
    }
    State& st = state();
    AxesState& ax = st.axes;
    PieState& p = pie_state();
    // The area of an axis system, set up as by graf without drawing.
    ax.kind = 0;
    for (int& t : ax.scale_type) t = 0;
    store_axis_scaling(0, 5, 0, 1, 0, 5, 0, 1);
    set_axis_rectangle();
    st.run.level = 2;
    const float cx = (float)(ax.nxa + ax.nxl / 2), cy = (float)(ax.nya - ax.nyl / 2);
    const int Ri = std::min(ax.nxl, ax.nyl) / 2;
    const float R = (float)Ri;
    const float explode = (float)round_nearest(0.08f * R);

    std::vector<float> x(xray, xray + n);
    double sum = 0;
    for (float& v : x) {
        if (!std::isfinite(v)) v = 0;  // a value that is no number counts as 0
        sum += std::fabs(v);
    }
    if (!(sum > ax.epsilon)) {
        warn_routine(29);
        return;
    }
    if (R < 1) return;

    const bool three_d = p.type == 1;
    const float v = p.view_angle;
    const float vv = v <= 45 ? v : 90 - v;
    const float rb = three_d ? std::trunc(R * (std::sqrt(v / 90) + 0.002f * vv)) : R;
    const float side = three_d ? p.thickness * R : 0;

    // Segment angles.
    std::vector<Segment> seg((std::size_t)n);
    if (!three_d) {
        double a = 360 - std::fabs(x[0]) * 360 / (2 * sum);
        for (int k = 0; k < n; ++k) {
            seg[k].alpha = a;
            a += std::fabs(x[k]) * 360 / sum;
            seg[k].beta = a;
        }
    } else {
        const double full = kPi * R * rb;
        double A = full * std::fabs(x[0]) / sum / 2;
        double th = area_angle(A, R, rb);
        seg[0].alpha = 360 - th;
        seg[0].beta = 360 + th;
        if (n == 1) seg[0].alpha = 0, seg[0].beta = 360;
        for (int k = 1; k < n; ++k) {
            A += full * std::fabs(x[k]) / sum;
            seg[k].alpha = seg[k - 1].beta;
            double b = area_angle(std::min(A, full), R, rb);
            if (k == n - 1) b = 360 - th;  // closes exactly on the first segment
            while (b < seg[k].alpha - 1e-6) b += 360;
            if (b - seg[k].alpha >= 360) b -= 360;
            seg[k].beta = std::max(b, seg[k].alpha);
        }
    }
    for (int k = 0; k < n; ++k) {
        Segment& g = seg[k];
        g.value = x[k];
        g.mid = (g.alpha + g.beta) / 2;
        g.cx = cx, g.cy = cy;
        if (p.explode || x[k] < 0) {
            g.cx += explode * std::cos(g.mid * kDegree);
            g.cy -= explode * std::sin(g.mid * kDegree);
        }
    }

    // Label boxes.
    const int h = st.text.height;
    const float L = h * st.text.line_spacing;
    const int f = ax.frame;
    const int fr = f > 0 ? f : 0;
    const int mode = ax.pie_label_mode;  // NONE PERC DATA BOTH
    std::vector<Box> box((std::size_t)n);
    int widest = 0;
    for (int k = 0; k < n; ++k) {
        Box& bx = box[k];
        for (int i = 1; i <= nlin; ++i) {
            std::string s = legend_buffer_line(cbuf, k * nlin + i);
            if (!s.empty()) bx.lines.push_back(s);
        }
        const std::string left = p.left_text.empty() ? "" : p.left_text + " ";
        const std::string right = p.right_text;
        const std::string perc = chart_number((float)(100.0 * x[k] / sum), ax.pie_percent_digits);
        const std::string data = chart_number(x[k], ax.pie_data_digits);
        if (mode == 1) bx.lines.push_back(left + perc + " % " + right);
        if (mode == 2 || mode == 3) bx.lines.push_back(left + data + " " + right);
        if (mode == 3) bx.lines.push_back(perc + " % ");
        if (bx.lines.empty()) continue;
        int tw = 0;
        for (const std::string& s : bx.lines) tw = std::max(tw, text_length(s.c_str()));
        const int kl = (int)bx.lines.size();
        bx.h = round_nearest(((kl - 0.5f) * st.text.line_spacing + 1) * h + 2 * fr);
        bx.w = round_nearest(tw + 0.5f * L + 2 * fr);
        widest = std::max(widest, bx.w);
    }
    for (int k = 0; k < n; ++k) {
        Box& bx = box[k];
        if (bx.lines.empty()) continue;
        const Segment& g = seg[k];
        const double mu = norm360(g.mid);
        const double c = std::cos(mu * kDegree), s = std::sin(mu * kDegree);
        bx.right_half = mu <= 90 || mu > 270;
        // A 3-D pie is squeezed vertically; anchors in front move down by the side.
        const double squeeze = three_d ? rb / R : 1.0;
        float drop = 0;
        if (three_d && mu > 180) drop = (mu < 185 || mu > 355) ? side / 2 : side;
        if (ax.pie_label_pos == 0) {
            const double half = (g.beta - g.alpha) / 2;
            double a;
            if (std::fabs(half - 90) < 1e-6)
                a = R / 2.0;
            else if (std::fabs(half - 180) < 1e-6)
                a = R;
            else {
                double ch = std::fabs(std::cos(half * kDegree));
                double leg = ch > 1e-9 ? R / ch : 1e30, base = 2 * std::fabs(leg * std::sin(half * kDegree));
                a = base * R / (2 * leg + base);
            }
            if (std::sqrt((double)bx.w * bx.w + (double)bx.h * bx.h) <= 2 * a) {
                bx.inside = true;
                bx.x = (float)(g.cx + (R - a) * c - bx.w / 2.0);
                bx.y = (float)(g.cy - (R - a) * s * squeeze - bx.h / 2.0);
                continue;
            }
        }
        const double r = three_d ? ellipse_radius(R, rb, mu) : R;
        bx.ax = (float)(g.cx + (r + 100) * c);
        bx.ay = (float)(g.cy - (r + 100) * s) + drop;
        bx.tx = (float)(g.cx + (r + 20) * c);
        bx.ty = (float)(g.cy - (r + 20) * s) + drop;
        const double d = std::min({mu, std::fabs(180 - mu), 360 - mu});
        const float gap = d <= 10 ? 40.0f : d <= 30 ? 53.0f : 80.0f;
        if (ax.pie_label_pos == 2) {
            bx.w = widest;
            bx.x = bx.right_half ? cx + R + 120 : cx - R - 120 - bx.w;
        } else {
            bx.x = bx.right_half ? bx.ax + gap : bx.ax - gap - bx.w;
        }
        bx.y = bx.ay - bx.h / 2.0f;
    }

    // The segments.
    const int saved_colour = st.colour.current, saved_pattern = current_pattern();
    const int border = p.border >= 0 ? p.border : foreground_colour();
    const bool separate_outline = p.border != -1 || three_d;
    state().plots.filled_curve = true;
    for (int k = 0; k < n; ++k) {
        const Segment& g = seg[k];
        const int c = (k + 1) % 30 == 0 ? 30 : (k + 1) % 30;
        int colour = saved_colour;
        if (p.change_mode == 1 || p.change_mode == 3)
            colour = curve_cycle_colour(c);
        else if (p.colours_set && p.colours[0][c - 1] >= 0)
            colour = p.colours[0][c - 1];
        set_colour(colour);
        if (p.change_mode == 2 || p.change_mode == 3) select_pattern(pattern_cycle_entry(c));
        record_chart_legend(k + 1);
        if (g.beta - g.alpha > 0.1) {
            const float a0 = (float)g.alpha, b0 = (float)g.beta;
            if (separate_outline) {
                FigureState& fs = st.figure;
                fs.outline_off = true;
                draw_ellipse_arc(g.cx, g.cy, R, rb, a0, b0, 0, false, true);
                fs.outline_off = false;
                int pat = current_pattern();
                select_pattern(0);
                set_colour(border);
                draw_ellipse_arc(g.cx, g.cy, R, rb, a0, b0, 0, false, true);
                select_pattern(pat);
                set_colour(colour);
            } else {
                draw_ellipse_arc(g.cx, g.cy, R, rb, a0, b0, 0, false, true);
            }
            if (three_d) {
                // The part of the rim in the front half (180..360 degrees).
                for (double base = -360; base <= 360; base += 360) {
                    double a = std::max(g.alpha, base + 180.0), b = std::min(g.beta, base + 360.0);
                    if (b > a) {
                        int second = p.colours_set ? p.colours[1][c - 1] : -1;
                        set_colour(second >= 0 ? second : colour);
                        draw_side(g, a, b, R, rb, side, border);
                        set_colour(colour);
                    }
                }
            }
        }
    }
    select_pattern(saved_pattern);
    set_colour(saved_colour);

    // The label boxes over the segments, with their connections.
    const int label_colour = ax.label_colour[1];
    if (label_colour >= 0) set_colour(label_colour);
    for (int k = 0; k < n; ++k) {
        const Box& bx = box[k];
        if (bx.lines.empty()) continue;
        int just = 0;  // 0 centred, 1 left, 2 right
        switch (ax.pie_label_type) {
            case 1:
                just = 1;
                break;
            case 2:
                just = 2;
                break;
            case 4:
                just = bx.right_half ? 2 : 1;
                break;
            case 5:
                just = bx.right_half ? 1 : 2;
                break;
            default:
                just = 0;
                break;
        }
        const float x0 = bx.x + fr + 0.25f * L, x1 = bx.x + bx.w - fr - 0.25f * L;
        float y = bx.y + fr + 0.25f * L;
        for (const std::string& s : bx.lines) {
            draw_line(s, x0, x1, y, just, h);
            y += L;
        }
        if (bx.inside) continue;
        if (f != 0) draw_frame(round_nearest(bx.x), round_nearest(bx.y), bx.w, bx.h, -std::abs(f));
        const float ex = bx.right_half ? bx.x : bx.x + bx.w;
        if (p.vector_mode == 1) {
            draw_arrow(ex, bx.ay, bx.tx, bx.ty, p.vector_code);
        } else if (p.vector_mode == 0) {
            plot_move(ex, bx.ay);
            plot_draw(bx.ax, bx.ay);
            draw_arrow(bx.ax, bx.ay, bx.tx, bx.ty, p.vector_code);
        }
    }
    plot_flush();
    set_colour(saved_colour);
}

// ---- setters ---------------------------------------------------------------------

void pietyp(const char* s) {
    check_level(0, 3, "pietyp");
    int i = match_keyword("2D  +3D  ", 2, s);
    if (i) pie_state().type = i - 1;
}

void pieopt(float thick, float angle) {
    check_level(0, 3, "pieopt");
    if (thick >= 0)
        pie_state().thickness = thick;
    else
        warn_routine(2);
    if (angle > 0 && angle < 90)
        pie_state().view_angle = angle;
    else
        warn_routine(2);
}

void piebor(int ic) {
    check_level(0, 3, "piebor");
    if (check_range(ic, -1, 255)) return;
    pie_state().border = ic;
}

void pieclr(const int* ic1, const int* ic2, int n) {
    check_level(0, 3, "pieclr");
    if (check_range(n, 0, 30)) return;
    for (int i = 0; i < n; ++i)
        if (check_range(ic1[i], -1, 255) || check_range(ic2[i], -1, 255)) return;
    PieState& p = pie_state();
    for (int i = 0; i < 30; ++i) {
        p.colours[0][i] = i < n ? ic1[i] : -1;
        p.colours[1][i] = i < n ? ic2[i] : -1;
    }
    p.colours_set = true;
}

void pieexp() {
    check_level(0, 3, "pieexp");
    pie_state().explode = true;
}

void chnpie(const char* s) {
    check_level(0, 3, "chnpie");
    int i = match_keyword("NONE+COLO+PATT+BOTH", 4, s);
    if (i) pie_state().change_mode = i - 1;
}

void pielab(const char* s1, const char* s2) {
    check_level(0, 3, "pielab");
    int i = match_keyword("LEFT+RIGH", 2, s2);
    if (!i) return;
    std::string t = s1 ? s1 : "";
    if (t.size() > 20) t.resize(20);
    (i == 1 ? pie_state().left_text : pie_state().right_text) = t;
}

void pievec(int ivec, const char* s) {
    check_level(0, 3, "pievec");
    if (check_range(ivec, 0, 9999)) return;
    int i = match_keyword("BROK+STRA+NONE", 3, s);
    if (!i) return;
    pie_state().vector_code = ivec;
    pie_state().vector_mode = i - 1;
}

}  // namespace korval
