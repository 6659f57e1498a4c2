// An additional label on an axis of the current axis system, and the page
// header line with date, time and page number.

#include <cmath>
#include <cstring>
#include <string>

#include "axes/axes.hpp"
#include "axes/text_use.hpp"
#include "core/core.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"

namespace korval {

void addlab(const char* s1, float v, int itic, const char* s2) {
    if (check_level(2, 3, "addlab")) return;
    const AxesState& a = state().axes;
    if (a.kind != 0) return (void)warn_routine(2);  // cartesian axis systems only
    int which = match_keyword("X   +Y   ", 2, s2);
    if (!which) return;
    if (itic < 0 || itic > 2) return (void)warn_routine_value(2, itic);
    if (!std::isfinite(v) || (a.scale_type[which - 1] && v <= 0 && !a.neglog_on))
        return (void)warn_routine(2);
    float xp, yp;
    bool xaxis = which == 1;
    user_to_plot(xaxis ? v : a.umin[0], xaxis ? a.umin[1] : v, xp, yp);
    // The value must lie on the axis.
    float lo = xaxis ? (float)a.nxa : (float)(a.nya - a.nyl + 1);
    float hi = xaxis ? (float)(a.nxa + a.nxl - 1) : (float)a.nya;
    float pos = xaxis ? xp : yp;
    if (pos < lo - 0.5f || pos > hi + 0.5f) return (void)warn_routine(2);

    const AxisSettings& s = a.axis[which - 1];
    int h = text_height();
    int tick = a.tick_major;
    if (itic >= 1) {
        // itic 1: a major tick inside the axis system; 2: a grid line
        // across the whole axis system.
        int reach = itic == 2 ? (xaxis ? a.nyl - 1 : a.nxl - 1) : tick;
        if (xaxis) {
            plot_move(xp, (float)a.nya);
            plot_draw(xp, (float)(a.nya - reach));
        } else {
            plot_move((float)a.nxa, yp);
            plot_draw((float)(a.nxa + reach), yp);
        }
    }
    const char* text = s1 ? s1 : "";
    if (!*text) return;
    int w = text_length(text);
    int nx, ny;
    if (xaxis) {
        nx = round_nearest(xp - (float)w / 2.0f);
        ny = a.nya + s.label_dist;
    } else {
        nx = a.nxa - s.label_dist - w;
        ny = round_nearest(yp - (float)h / 2.0f);
    }
    draw_text(text, nx, ny, 0, h);
}

void paghdr(const char* s1, const char* s2, int i1, int i2) {
    if (enter_routine("paghdr")) return;
    if (check_range(i1, 1, 4) || check_range(i2, 0, 1000)) return;
    std::string date, time;
    current_date_time(date, time);
    std::string line;
    if (s1 && *s1) line += std::string(s1) + "  ";
    line += date + "  " + time + "  Page " + std::to_string(state().run.page_count);
    if (s2 && *s2) line += "  " + std::string(s2);
    int h = i2 > 0 ? i2 : text_height();
    int w = text_length_at(line.c_str(), h);
    const OutputState& o = state().out;
    int margin = scaled_length(50);
    int nx = (i1 == 1 || i1 == 4) ? margin : o.nxp - margin - w;
    int ny = (i1 == 3 || i1 == 4) ? margin : o.nyp - margin - h;
    draw_text(line.c_str(), nx, ny, 0, h);
}

}  // namespace korval
