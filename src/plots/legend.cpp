// Legends: the text buffer of the script, the layout and the drawing.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>

#include "axes/axes.hpp"
#include "core/core.hpp"
#include "plots/plots.hpp"
#include "draw/draw.hpp"
#include "draw/figures.hpp"
#include "korval/korval.hpp"
#include "plots/charts.hpp"
#include "text/text.hpp"

namespace korval {

namespace {

constexpr int kMaxSubLines = 16;

LegendState& leg() { return state().charts.legend; }

// Warning 15 unless legini was called.
bool not_initialised() {
    if (leg().initialised) return false;
    warn_routine(15);
    return true;
}

// Measured layout of a legend.
struct Layout {
    int tw = 0;       // widest entry text
    int title_w = 0;  // title width
    int W = 0, H = 0;
    bool title_wider = false;
    int sub[30] = {};  // sub-lines per entry
};

Layout measure(const char* cbuf) {
    const LegendState& l = leg();
    const State& st = state();
    Layout m;
    const float h = (float)st.text.height, L = h * st.text.line_spacing;
    const int f = st.axes.frame;
    std::string parts[kMaxSubLines];
    float a = 0;
    for (int i = 1; i <= l.lines; ++i) {
        std::string text = legend_buffer_line(cbuf, i);
        int k = legend_sub_lines(text, parts, kMaxSubLines);
        m.sub[i - 1] = k;
        for (int j = 0; j < k; ++j) m.tw = std::max(m.tw, text_length(parts[j].c_str()));
        a += (k - 1) * l.subline * L;
    }
    m.W = (int)(m.tw + 2 * l.margin * L);
    if (std::fabs(l.segment) > 0.001f) m.W += (int)((l.segment + 1) * h);
    if (!l.title.empty()) {
        m.title_w = text_length(l.title.c_str());
        if (m.title_w > m.W) {
            m.W = (int)(m.title_w + 2 * l.margin * L);
            m.title_wider = true;
        }
    }
    if (f >= 1) m.W += 2 * f;
    float H = (l.lines - 1 + 2 * l.margin) * L + 2 * a + h;
    if (f > 0) H += 2 * f;
    if (!l.title.empty()) H += 1.5f * L;
    m.H = round_nearest(H);
    return m;
}

// The graphics of entry i (0-based).
const LegendRecord* entry_record(int i) {
    const LegendState& l = leg();
    if (l.user_patterns) return l.defined[i] ? &l.user[i] : nullptr;
    return legend_record(i + 1);
}

}  // namespace

// Fills the buffer of nlin x nmaxln characters with blanks.  Returns false
// after a range warning (the buffer is then untouched).
bool legend_init(char* cbuf, int nlin, int nmaxln) {
    check_level(0, 3, "legini");
    if (check_range(nlin, 1, 30) || check_range(nmaxln, 1, 80)) return false;
    if (cbuf) {
        std::memset(cbuf, ' ', (std::size_t)nlin * (std::size_t)nmaxln);
        cbuf[nlin * nmaxln] = '\0';
    }
    LegendState& l = leg();
    const bool coloured = l.text_coloured, multiline = l.multiline;
    l = LegendState{};
    l.text_coloured = coloured;
    l.multiline = multiline;
    l.initialised = true;
    l.lines = nlin;
    l.line_length = nmaxln;
    return true;
}

void legini(char* cbuf, int nlin, int nmaxln) { legend_init(cbuf, nlin, nmaxln); }

void leglin(char* cbuf, const char* cstr, int ilin) {
    check_level(0, 3, "leglin");
    if (not_initialised()) return;
    LegendState& l = leg();
    if (check_range(ilin, 1, l.lines)) return;
    const char* s = cstr ? cstr : "";
    std::size_t n = std::strlen(s);
    if (n > (std::size_t)l.line_length) {
        warn_routine_text(16, s);
        return;
    }
    if (!cbuf) return;
    char* line = cbuf + (std::size_t)(ilin - 1) * (std::size_t)l.line_length;
    std::memcpy(line, s, n);
    std::memset(line + n, ' ', (std::size_t)l.line_length - n);
    l.max_text_width = std::max(l.max_text_width, text_length(s));
}

void legtit(const char* s) {
    check_level(0, 3, "legtit");
    if (not_initialised()) return;
    std::string t = s ? s : "";
    if (t.size() > 20) t.resize(20);
    while (!t.empty() && t.back() == ' ') t.pop_back();
    leg().title = t;
}

void legpos(int nx, int ny) {
    check_level(0, 3, "legpos");
    if (not_initialised()) return;
    leg().auto_position = false;
    leg().pos_x = nx;
    leg().pos_y = page_y(ny);
}

void legopt(float f1, float f2, float f3) {
    check_level(0, 3, "legopt");
    if (not_initialised()) return;
    if (!(f1 >= 0) || !(f2 > 0) || !(f3 > 0)) {
        warn_routine(2);
        return;
    }
    leg().segment = f1, leg().margin = f2, leg().subline = f3;
}

void legpat(int ltyp, int ithk, int isym, int iclr, int ipat, int ilin) {
    check_level(0, 3, "legpat");
    if (not_initialised()) return;
    if (check_range(ilin, 1, 30) || check_range(ltyp, -1, 7) || check_range(ithk, 1, -1) ||
        check_range(isym, -1, 21) || check_range(iclr, -1, 255) || check_range(ipat, -1, -2))
        return;
    LegendState& l = leg();
    LegendRecord& r = l.user[ilin - 1];
    r.line_type = ltyp;
    r.thickness = ithk;
    r.symbol = isym;
    r.colour = iclr >= 0 ? iclr : state().colour.current;
    r.pattern = ipat;
    l.defined[ilin - 1] = true;
    l.user_patterns = true;
}

void legclr() {
    check_level(0, 3, "legclr");
    leg().text_coloured = true;
}

void mixleg() {
    check_level(0, 3, "mixleg");
    leg().multiline = true;
}

int nxlegn(const char* cbuf) {
    check_level(0, 3, "nxlegn");
    if (not_initialised()) return 0;
    return measure(cbuf).W;
}

int nylegn(const char* cbuf) {
    check_level(0, 3, "nylegn");
    if (not_initialised()) return 0;
    return measure(cbuf).H;
}

void legend(const char* cbuf, int nlen) {
    if (check_level(2, 3, "legend")) return;
    if (not_initialised()) return;
    State& st = state();
    LegendState& l = leg();
    const AxesState& ax = st.axes;
    if (l.user_patterns) {
        for (int i = 0; i < l.lines; ++i)
            if (!l.defined[i]) {
                set_warning_text("Undefined legend line");
                warn_routine_value(105, i + 1);
            }
    } else if (l.lines > state().plots.legend_count) {
        warn_routine_value(42, l.lines - state().plots.legend_count);
    }
    const float h = (float)st.text.height, L = h * st.text.line_spacing;
    const float f1 = l.segment, f2 = l.margin, f3 = l.subline;
    const int f = ax.frame;
    int s = (int)((f1 - 0.8f) * h / 4);
    for (int i = 0; i < l.lines; ++i) {
        const LegendRecord* r = entry_record(i);
        if (r && r->line_type >= 0) s = 0;
    }
    const Layout m = measure(cbuf);
    const int W = m.W, H = m.H, margin = (int)(f2 * h);
    float x, y;
    if (l.auto_position) {
        if (nlen < 1 || nlen > 8) {
            warn_routine_value(2, nlen);
            return;
        }
        const int pw = st.out.nxp + 1, ph = st.out.nyp + 1;
        const int sx = st.pipeline.shift_x, sy = st.pipeline.shift_y;
        const int left = ax.nxa, right = ax.nxa + ax.nxl - 1, bottom = ax.nya, top = ax.nya - ax.nyl + 1;
        switch (nlen) {
            case 1:
                x = margin - sx, y = ph - margin - H - sy;
                break;
            case 2:
                x = pw - margin - W - sx, y = ph - margin - H - sy;
                break;
            case 3:
                x = pw - margin - W - sx, y = margin - sy;
                break;
            case 4:
                x = margin - sx, y = margin - sy;
                break;
            case 5:
                x = left + margin, y = bottom - margin - H;
                break;
            case 6:
                x = right - margin - W, y = bottom - margin - H;
                break;
            case 7:
                x = right - margin - W, y = top + margin;
                break;
            default:
                x = left + margin, y = top + margin;
                break;
        }
    } else {
        x = (float)l.pos_x, y = (float)l.pos_y;
    }
    const int saved_colour = st.colour.current, saved_pattern = current_pattern();
    const int saved_line_type = st.style.line_type;

    // Frame.
    if (f != 0) {
        if (ax.frame_colour >= 0) set_colour(ax.frame_colour);
        if (f >= 1)
            draw_frame((int)x + f - 1, (int)y + f - 1, W - 2 * f + 2, H - 2 * f + 2, f);
        else
            draw_frame((int)x, (int)y, W, H, f);
        set_colour(saved_colour);
    }
    // Title.
    float ty = y + f2 * L + (f > 0 ? f : 0);
    if (!l.title.empty()) {
        draw_text(l.title.c_str(), round_nearest(x + (W - m.title_w) / 2.0f), round_nearest(ty), 0, (int)h);
        ty += 1.5f * L;
    }
    if (m.title_wider)
        x += (W - ((f1 + 1) * h + m.tw)) / 2;
    else
        x += f2 * L + (f > 0 ? f : 0);

    // Graphics, with symbols at 0.8 of the character height.
    const int saved_symbol_height = st.plots.symbol_height;
    st.plots.symbol_height = (int)(0.8f * h);
    if (std::fabs(f1) > 0.001f) {
        const float xe = x + f1 * h;
        float yc = ty + h / 2;
        PipelineState& p = st.pipeline;
        for (int i = 0; i < l.lines; ++i) {
            const LegendRecord* r = entry_record(i);
            const float step = ((m.sub[i] - 1) * f3 + 1) * L;
            if (!r) {
                yc += step;
                continue;
            }
            set_colour(r->colour >= 0 ? r->colour : saved_colour);
            if (r->pattern < 0) {
                if (r->line_type >= 0) {
                    set_line_type(std::min(r->line_type, 7));
                    const int passes = std::max(1, std::min(r->thickness, 1000));
                    for (int q = 0; q < passes; ++q) {
                        dash_reset();
                        p.offset = (float)(q % 2 == 0 ? q / 2 : -(q / 2 + 1));
                        plot_move(x, yc);
                        plot_draw(xe, yc);
                    }
                    plot_flush();
                    p.offset = 0;
                }
                if (r->symbol >= 0) draw_symbol(r->symbol, round_nearest((x + xe) / 2 - s), round_nearest(yc));
            } else {
                set_line_type(0);
                select_pattern(r->pattern);
                float rx[4] = {x, xe, xe, x};
                float ry[4] = {yc - h / 2, yc - h / 2, yc - h / 2 + h - 1, yc - h / 2 + h - 1};
                area_polygon(rx, ry, 4);
            }
            yc += step;
        }
        plot_flush();
    }
    st.plots.symbol_height = saved_symbol_height;
    select_pattern(saved_pattern);
    set_line_type(saved_line_type);
    set_colour(saved_colour);

    // Texts.
    const float xt = x + f1 * h - s + (f1 > 0.001f ? h : 0);
    std::string parts[kMaxSubLines];
    for (int i = 0; i < l.lines; ++i) {
        const LegendRecord* r = entry_record(i);
        if (l.text_coloured && r && r->colour >= 0) set_colour(r->colour);
        std::string text = legend_buffer_line(cbuf, i + 1);
        int k = legend_sub_lines(text, parts, kMaxSubLines);
        for (int j = 0; j < k; ++j)
            draw_text(parts[j].c_str(), round_nearest(xt), round_nearest(ty + j * f3 * L), 0, (int)h);
        ty += ((k - 1) * f3 + 1) * L;
    }
    plot_flush();
    set_colour(saved_colour);
}

}  // namespace korval
