// The text engine: fonts and their alphabet slots, the character loop with
// alphabet shifts, exponents, indices and instructions, and the measuring of
// text.  Nothing here allocates: texts are copied into fixed buffers.
#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/core.hpp"
#include "draw/draw.hpp"
#include "text/glyph_table.hpp"
#include "text/hwfont.hpp"
#include "text/text.hpp"
#include "text/text_internal.hpp"

namespace korval {
int current_pattern();  // the shading pattern of the fill routines
}

namespace korval {

namespace {

using namespace fontdata;

// How characters of an alphabet find their glyphs (the missing-glyph rules).
enum GlyphMap { MAP_DIRECT, MAP_LETTERS, MAP_SCRIPT, MAP_RUSSIAN, MAP_ITALIC };

struct Slot {
    const GlyphTable* table;  // nullptr: alias of the standard slot (sheared)
    int count;                // characters, the space included
    int x_units, y_units;
    float spacing;  // default spacing factor
    int space;      // space width in x units
    bool outline;
    bool cell6;  // width always 6 x units (koralf standard)
    GlyphMap map;
};

struct Font {
    const char* name;
    Slot slot[6];  // standard, Greek, mathematic, italic, script, Russian
};

constexpr Slot kNone = {nullptr, 0, 0, 0, 0.0f, 0, false, false, MAP_DIRECT};
constexpr Slot kMath = {&shared_math, 95, 20, 21, 0.25f, 9, false, false, MAP_LETTERS};
constexpr Slot kScript = {&shared_script, 102, 20, 21, 0.25f, 9, false, false, MAP_SCRIPT};
constexpr Slot kRussian = {&shared_russian, 95, 20, 21, 0.25f, 9, false, false, MAP_RUSSIAN};
constexpr Slot kComplexGreek = {&complex_greek, 95, 20, 21, 0.25f, 9, false, false, MAP_LETTERS};

constexpr Slot with_space(Slot s, int space) {
    s.space = space;
    return s;
}

constexpr Slot stroke(const GlyphTable* t, int count) {
    return {t, count, 20, 21, 0.25f, 9, false, false, MAP_DIRECT};
}
constexpr Slot outline(const GlyphTable* t) { return {t, 132, 200, 200, 0.2f, 60, true, false, MAP_DIRECT}; }

// The space of the 20-unit slots of the outline fonts keeps the proportion
// of their own space (60 of 200 units): 6 units.
const Font fonts[8] = {
    {"KORALF",
     {{&koralf_standard, 132, 6, 7, 0.0f, 6, false, true, MAP_DIRECT},
      {&koralf_greek, 95, 6, 7, 0.0f, 6, false, false, MAP_LETTERS},
      with_space(kMath, 6),
      kNone,
      with_space(kScript, 6),
      with_space(kRussian, 6)}},
    {"SIMPLX",
     {stroke(&simplx_standard, 132),
      {&simplx_greek, 95, 20, 21, 0.25f, 9, false, false, MAP_LETTERS},
      kMath,
      kNone,
      kScript,
      kRussian}},
    {"COMPLX",
     {stroke(&complx_standard, 155),
      kComplexGreek,
      kMath,
      {&complx_italic, 102, 20, 21, 0.25f, 9, false, false, MAP_ITALIC},
      kScript,
      kRussian}},
    {"DUPLX", {stroke(&duplx_standard, 132), kComplexGreek, kMath, kNone, kScript, kRussian}},
    {"TRIPLX", {stroke(&triplx_standard, 132), kComplexGreek, kMath, kNone, kScript, kRussian}},
    {"HELVE",
     {outline(&helve_standard), with_space(kComplexGreek, 6), with_space(kMath, 6), kNone,
      with_space(kScript, 6), with_space(kRussian, 6)}},
    {"HELVES",
     {outline(&helves_standard), with_space(kComplexGreek, 6), with_space(kMath, 6), kNone,
      with_space(kScript, 6), with_space(kRussian, 6)}},
    {"SERIF",
     {outline(&serif_standard), with_space(kComplexGreek, 6), with_space(kMath, 6), kNone,
      with_space(kScript, 6), with_space(kRussian, 6)}},
};

// ---- output entries ------------------------------------------------------

// An outline polygon, filled by the device with the origin shift applied
// as the pipeline would.
bool fill_glyph(const float* x, const float* y, int n) {
    int mode = state().text.outline_fill;
    if (mode == 2) return false;  // nofill: the contours only
    if (mode == 1 && current_pattern() != 16) {
        // shdcha: the current pattern; the contours are drawn as well, so
        // that hatched characters keep their shape (pattern 0: contours only)
        if (current_pattern() != 0) plot_fill_polygon(x, y, n);
        return false;
    }
    constexpr int kMax = 4096;
    if (n > kMax) n = kMax;
    const PipelineState& p = state().pipeline;
    float sx[kMax], sy[kMax];
    for (int i = 0; i < n; ++i) {
        sx[i] = x[i] + (float)p.shift_x;
        sy[i] = y[i] + (float)p.shift_y;
    }
    return device_fill_polygon(sx, sy, n);
}

int current_colour() { return state().colour.current; }
void select_colour(int index) { device_colour(index); }
void no_symbol(int, float, float, int) {}

const TextOutput default_output = {plot_move,      plot_draw,     fill_glyph,
                                   current_colour, select_colour, no_symbol};

TextOutput current_output = default_output;

// ---- national characters -------------------------------------------------

const char kNationalLetters[] = "AOUaousAOEaoeNn!?CcEIeiAEIOUaeiouAEIOUaeiouAEIOUaeiou";
const int kLanguageFirst[8] = {0, 7, 13, 17, 23, 33, 43, 53};

// Internal codes 191..255 of ISO 8859-1 (0: no internal code).
const unsigned char kIso1[65] = {
    186,                                     // 191 inverted question mark
    158, 148, 168, 178, 127, 134, 136, 142,  // 192..199
    159, 149, 169, 144, 160, 150, 170, 145,  // 200..207
    0,   140, 161, 151, 171, 180, 128, 0,    // 208..215
    135, 162, 152, 172, 129, 182, 0,   133,  // 216..223
    163, 153, 173, 179, 130, 137, 139, 143,  // 224..231
    164, 154, 174, 146, 165, 155, 175, 147,  // 232..239
    0,   141, 166, 156, 176, 181, 131, 0,    // 240..247
    138, 167, 157, 177, 132, 183, 0,   184,  // 248..255
};

// ISO 8859-1 code of internal codes 127..186.
const unsigned char kInternalToIso1[60] = {
    196, 214, 220, 228, 246, 252, 223, 197, 216, 198, 229, 248, 230, 209, 241, 199, 231, 203, 207, 235,
    239, 193, 201, 205, 211, 218, 225, 233, 237, 243, 250, 192, 200, 204, 210, 217, 224, 232, 236, 242,
    249, 194, 202, 206, 212, 219, 226, 234, 238, 244, 251, 195, 227, 213, 245, 221, 253, 255, 161, 191,
};

}  // namespace

TextOutput& text_output() { return current_output; }
void reset_text_output() { current_output = default_output; }

int iso1_to_internal(int c) {
    if (c < 127) return c;
    if (c == 161) return 185;
    if (c >= 191 && c <= 255) {
        int v = kIso1[c - 191];
        return v ? v : 32;
    }
    return 32;
}

const char* font_name(int font) { return font >= 0 && font < 8 ? fonts[font].name : "KORALF"; }

// National shifts: replaces each (operator, letter) pair by the national
// character.  Returns the new length.
int apply_national_shifts(char* buf, int n) {
    const TextState& t = state().text;
    if (!t.national_on) return n;
    int out = 0;
    for (int i = 0; i < n; ++i) {
        char c = buf[i];
        int lang = -1;
        for (int k = 0; k < 7; ++k)
            if (t.national[k] && t.national[k] == c) lang = k;
        if (lang < 0 || i + 1 >= n) {
            buf[out++] = c;
            continue;
        }
        char letter = buf[i + 1];
        int pos = -1;
        for (int j = kLanguageFirst[lang]; j < kLanguageFirst[lang + 1]; ++j)
            if (kNationalLetters[j] == letter) pos = j;
        if (pos < 0) {
            char what[3] = {c, letter, '\0'};
            warn_routine_text(18, what);
            buf[out++] = c;
            continue;
        }
        int code;
        if (kNationalLetters[pos] == '!')
            code = 185;
        else if (kNationalLetters[pos] == '?')
            code = 186;
        else
            code = 127 + (pos < 15 ? pos : pos - 2);
        if (t.coding == 1) code = kInternalToIso1[code - 127];
        buf[out++] = (char)(unsigned char)code;
        ++i;
    }
    return out;
}

// ---- the text pen --------------------------------------------------------

namespace {

constexpr float kPi = 3.14159265358979f;
constexpr float kItalicShear = 1.0f / 3.732f;

struct Pen {
    bool draw = true;
    float px = 0, py = 0;  // baseline point
    float x0 = 0, y0 = 0;  // baseline point at the start of the text
    float sa = 0, ca = 1;  // direction
    int angle = 0;         // degrees
    int attr_height = 36;  // height of this call
    int h = 36;            // current height
    int alphabet = 1;
    float spacing = 0, width = 1, slant = 0, tan_slant = 0;
    bool fixed = false;
    float fixed_factor = 1;
    float voff = 0, aoff = 0, eoff = 0;  // instruction, additional, exponent offsets
    float tabs[20] = {};
    int start_colour = -1;
    bool colour_changed = false;
    bool had_expind = false;
    bool script_glyph = false;  // the last character was a script glyph
    bool expind = false;
    int active = -1;  // active alphabet shift slot
    // instruction being collected
    char ins_letter = 0;
    char ins[21] = {};
    int ins_n = 0;
    bool ins_bad = false;
    // measurement
    float longest = 0;
    float last_spacing = 0;
};

float distance(const Pen& p) { return (p.px - p.x0) * p.ca - (p.py - p.y0) * p.sa; }
void advance(Pen& p, float d) {
    p.px += d * p.ca;
    p.py -= d * p.sa;
}
void move_to_distance(Pen& p, float d) {
    p.px = p.x0 + d * p.ca;
    p.py = p.y0 - d * p.sa;
}

float char_spacing(const Pen& p, const Slot& s) {
    return p.fixed ? p.spacing * (float)p.h : (s.spacing + p.spacing) * (float)p.h;
}

// The slot that alphabet n of the current font means (the standard slot
// for an alias), and whether its glyphs are sheared.
const Slot& select_alphabet(int n, bool& shear) {
    const Font& f = fonts[state().text.font];
    if (n < 1 || n > 6) n = 1;
    shear = false;
    const Slot& s = f.slot[n - 1];
    if (!s.table) {
        shear = true;
        return f.slot[0];
    }
    return s;
}

// After a character: the longest distance reached, less its spacing.
void note_length(Pen& p, float spacing) {
    float d = distance(p) - spacing;
    if (d > p.longest) p.longest = d;
    p.last_spacing = spacing;
}

// The contours of one outline glyph in plot coordinates.
struct Contours {
    static constexpr int kMaxPoints = 2048;
    static constexpr int kMaxContours = 64;
    float x[kMaxPoints], y[kMaxPoints];
    int start[kMaxContours + 1];
    int n = 0, n_contours = 0;
    int begin(int i) const { return start[i]; }
    int end(int i) const { return i + 1 < n_contours ? start[i + 1] : n; }
};

bool inside(const Contours& c, int k, float px, float py) {
    bool in = false;
    int b = c.begin(k), e = c.end(k);
    for (int i = b, j = e - 1; i < e; j = i++) {
        if ((c.y[i] > py) != (c.y[j] > py) &&
            px < (c.x[j] - c.x[i]) * (py - c.y[i]) / (c.y[j] - c.y[i]) + c.x[i])
            in = !in;
    }
    return in;
}

// Fills an outline glyph.  All its contours together are one even-odd
// polygon; it is handed on as one polygon per outer contour with the holes
// inside it chained in, each hole joined to its outer contour at their
// closest points.  The joining edges run twice, through ink, so no renderer
// shows them (a joint through the white between separate parts would).
void fill_contours(Contours& c) {
    c.start[c.n_contours] = c.n;
    int depth[Contours::kMaxContours], parent[Contours::kMaxContours];
    for (int i = 0; i < c.n_contours; ++i) {
        depth[i] = 0;
        parent[i] = -1;
        if (c.end(i) - c.begin(i) < 3) continue;
        for (int j = 0; j < c.n_contours; ++j)
            if (j != i && c.end(j) - c.begin(j) >= 3 && inside(c, j, c.x[c.begin(i)], c.y[c.begin(i)]))
                ++depth[i];
    }
    for (int i = 0; i < c.n_contours; ++i) {
        if (depth[i] % 2 == 0) continue;
        for (int j = 0; j < c.n_contours; ++j)
            if (depth[j] == depth[i] - 1 && inside(c, j, c.x[c.begin(i)], c.y[c.begin(i)])) parent[i] = j;
    }
    TextOutput& o = text_output();
    static float gx[Contours::kMaxPoints * 2], gy[Contours::kMaxPoints * 2];
    constexpr int kCap = Contours::kMaxPoints * 2;
    for (int outer = 0; outer < c.n_contours; ++outer) {
        if (depth[outer] % 2 != 0 || c.end(outer) - c.begin(outer) < 3) continue;
        // where each hole joins: the closest pair of points
        int join_at[Contours::kMaxContours], join_from[Contours::kMaxContours];
        for (int h = 0; h < c.n_contours; ++h) {
            join_at[h] = -1;
            if (parent[h] != outer) continue;
            float best = 3.0e38f;
            for (int i = c.begin(outer); i < c.end(outer); ++i)
                for (int j = c.begin(h); j < c.end(h); ++j) {
                    float dx = c.x[i] - c.x[j], dy = c.y[i] - c.y[j];
                    float d = dx * dx + dy * dy;
                    if (d < best) best = d, join_at[h] = i, join_from[h] = j;
                }
        }
        int n = 0;
        auto put = [&](int i) {
            if (n < kCap) gx[n] = c.x[i], gy[n] = c.y[i], ++n;
        };
        for (int i = c.begin(outer); i < c.end(outer); ++i) {
            put(i);
            for (int h = 0; h < c.n_contours; ++h) {
                if (join_at[h] != i) continue;
                int b = c.begin(h), len = c.end(h) - b;
                for (int m = 0; m <= len; ++m) put(b + (join_from[h] - b + m) % len);
                put(i);
            }
        }
        put(c.begin(outer));
        if (o.fill(gx, gy, n)) continue;
        // no fill: the contours of this part as lines
        for (int k = 0; k < c.n_contours; ++k) {
            if (k != outer && parent[k] != outer) continue;
            o.move(c.x[c.begin(k)], c.y[c.begin(k)]);
            for (int i = c.begin(k) + 1; i < c.end(k); ++i) o.draw(c.x[i], c.y[i]);
            o.draw(c.x[c.begin(k)], c.y[c.begin(k)]);
        }
    }
}

void draw_glyph(Pen& p, const Slot& s, int k, bool shear) {
    const GlyphTable& t = *s.table;
    float hm1 = (float)(p.h - 1);
    float sx = hm1 * p.width / (float)s.x_units;
    float sy = hm1 / (float)s.y_units;
    float unit = s.outline ? 2.0f : 0.5f;
    float spacing = char_spacing(p, s);

    float width = 0;
    if (s.cell6) {
        width = 6.0f * sx;
    } else {
        GlyphReader r(t, k);
        GlyphStroke st;
        float wmax = 0;
        bool any = false;
        while (r.next(st)) {
            for (int i = 0; i < st.count; ++i) {
                int x, y;
                r.point(st.first + i, x, y);
                float xv = (float)x + st.dx * unit;
                if (!any || xv > wmax) wmax = xv;
                any = true;
            }
        }
        width = any ? wmax * sx : 0.0f;
    }
    float rest = width;
    if (p.fixed) {
        float cell = hm1 * p.fixed_factor * 1.4f * p.width;
        float shift = (cell - width) / 2;
        advance(p, shift);
        rest = cell - shift;
    }

    if (p.draw) {
        float b = p.voff + p.aoff + p.eoff;
        float qx = p.px - b * p.sa, qy = p.py - b * p.ca;
        float tan_s = p.tan_slant + (shear ? kItalicShear : 0.0f);
        TextOutput& o = text_output();
        GlyphReader r(t, k);
        GlyphStroke st;
        Contours c;
        while (r.next(st)) {
            if (s.outline && c.n_contours < Contours::kMaxContours) c.start[c.n_contours++] = c.n;
            for (int i = 0; i < st.count; ++i) {
                int x, y;
                r.point(st.first + i, x, y);
                float v = ((float)y + st.dy * unit) * sy;
                float u = ((float)x + st.dx * unit) * sx + v * tan_s;
                float X = qx + u * p.ca - v * p.sa;
                float Y = qy - v * p.ca - u * p.sa;
                if (s.outline) {
                    if (c.n < Contours::kMaxPoints) c.x[c.n] = X, c.y[c.n] = Y, ++c.n;
                } else if (i == 0) {
                    o.move(X, Y);
                } else {
                    o.draw(X, Y);
                }
            }
        }
        if (s.outline) fill_contours(c);
    }
    advance(p, rest + spacing);
    note_length(p, spacing);
}

void draw_space(Pen& p, const Slot& s, float count = 1.0f) {
    float hm1 = (float)(p.h - 1);
    float spacing = char_spacing(p, s);
    float w;
    if (p.fixed)
        w = hm1 * p.fixed_factor * 1.4f * p.width;
    else
        w = (float)s.space * hm1 * p.width / (float)s.x_units;
    advance(p, w * count + spacing);
    note_length(p, spacing);
}

// A character of the standard alphabet in the device's font: the device
// draws it, the pen advances by its width in the font and the hardware
// spacing of 0.1 of the height.
void hardware_character(Pen& p, int code) {
    if (code > 186) code = 32;
    float width = hwfont_advance(code, p.h);
    float spacing = (p.spacing + 0.1f) * (float)p.h;
    if (p.draw) {
        float b = p.voff + p.aoff + p.eoff;
        hwfont_character(code, p.px - b * p.sa, p.py - b * p.ca, p.angle, p.h, width);
    }
    p.script_glyph = false;
    advance(p, width + spacing);
    note_length(p, spacing);
}

void draw_character(Pen& p, unsigned char c) {
    const TextState& t = state().text;
    int code = c < 32 ? 32 : c;
    if (t.coding == 1) code = iso1_to_internal(code);
    if (p.alphabet == 1 && hwfont_active()) {
        hardware_character(p, code);
        return;
    }
    bool shear;
    const Slot& s = select_alphabet(p.alphabet, shear);
    int index = code - 31;
    if (index > s.count) index = 1;
    if (index == 1) {
        draw_space(p, s);
        return;
    }
    int k = index;
    bool fallback = false;
    switch (s.map) {
        case MAP_DIRECT:
            break;
        case MAP_LETTERS:
        case MAP_SCRIPT:
            if (index >= 34 && index <= 59)
                k = index - 32;
            else if (index >= 66 && index <= 91)
                k = index - 38;
            else if (s.map == MAP_SCRIPT && index > 95)
                k = index - 42;
            else
                fallback = true;
            break;
        case MAP_RUSSIAN:
            if (index >= 66 && index <= 95)
                k = index - 28;
            else if (index >= 34 && index <= 63)
                k = index - 26;
            else if (index >= 29 && index <= 31)
                k = index - 24;
            else if (index >= 5 && index <= 7)
                k = index - 3;
            else
                fallback = true;
            break;
        case MAP_ITALIC:
            if (index >= 66 && index <= 91)
                k = index - 64;
            else if (index >= 99 && index <= 101)
                k = index - 71;
            else
                fallback = true;
            break;
    }
    if (!fallback) {
        draw_glyph(p, s, k, shear);
        p.script_glyph = s.map == MAP_SCRIPT;
        return;
    }
    const Slot& std = fonts[t.font].slot[0];
    bool sheared = p.alphabet == 4 || p.alphabet == 5;
    if (p.script_glyph && s.map == MAP_SCRIPT) advance(p, char_spacing(p, s));
    p.script_glyph = false;
    if (index > std.count)
        draw_space(p, std);
    else
        draw_glyph(p, std, index, sheared);
}

// ---- instructions --------------------------------------------------------

int round_int(float v) { return (int)std::floor(v + 0.5f); }

int clamp_height(int h) { return h < 1 ? 1 : (h > 10000 ? 10000 : h); }

void draw_rule(Pen& p, int tab, float above) {
    if (!p.draw) return;
    float d0 = tab >= 1 && tab <= 20 ? p.tabs[tab - 1] : 0.0f;
    float b = p.voff + p.aoff + p.eoff + above;
    float ax = p.x0 + d0 * p.ca - b * p.sa, ay = p.y0 - d0 * p.sa - b * p.ca;
    float ex = p.px - b * p.sa, ey = p.py - b * p.ca;
    text_output().move(ax, ay);
    text_output().draw(ex, ey);
}

void execute_instruction(Pen& p) {
    const TextState& t = state().text;
    char letter = p.ins_letter;
    if (!letter) return;
    p.ins_letter = 0;
    char text[24];
    text[0] = letter;
    std::memcpy(text + 1, p.ins, (std::size_t)p.ins_n);
    text[p.ins_n + 1] = '\0';
    if (p.ins_bad) {
        warn_routine_text(43, text);
        return;
    }
    // The parameter: none, "X", an integer or a real; "-" negates.
    bool none = p.ins_n == 0, is_x = false, real = false, neg = false;
    char digits[24];
    int nd = 0;
    for (int i = 0; i < p.ins_n; ++i) {
        char c = p.ins[i];
        if (c == 'X' || c == 'x')
            is_x = true;
        else if (c == '-')
            neg = !neg;
        else {
            if (c == '.') real = true;
            digits[nd++] = c;
        }
    }
    digits[nd] = '\0';
    if (is_x && (nd > 0 || neg)) return (void)warn_routine_text(43, text);
    if (!none && !is_x && (nd == 0 || std::strchr(digits, '.') != std::strrchr(digits, '.')))
        return (void)warn_routine_text(43, text);
    float v = nd ? (float)std::atof(digits) : 0.0f;
    if (!(v <= 1.0e6f)) v = 1.0e6f;  // keeps the integer conversion defined
    if (neg) v = -v;
    int iv = (int)v;
    if (!std::strchr("PGTACFUDEIRHKLJVOSMNWYZ", letter)) return (void)warn_routine_text(46, text);
    if (std::strchr("PGTCFLJVSMN", letter) && (real || (is_x && letter != 'M' && letter != 'N')))
        return (void)warn_routine_text(45, text);
    if ((letter == 'R' && !none) || ((letter == 'E' || letter == 'I') && !none && !is_x))
        return (void)warn_routine_text(43, text);
    bool dummy;
    const Slot& s = select_alphabet(p.alphabet, dummy);
    float h = (float)p.h, ah = (float)p.attr_height;
    switch (letter) {
        case 'P':
        case 'G': {
            int tab = none ? 1 : iv;
            if (tab < 1 || tab > 20) return (void)warn_routine_text(44, text);
            if (letter == 'P')
                p.tabs[tab - 1] = distance(p);
            else
                move_to_distance(p, p.tabs[tab - 1]);
            break;
        }
        case 'T':
            move_to_distance(p, none ? 0.0f : (float)iv);
            break;
        case 'A':
            advance(p, (none ? 1.0f : v) * h);
            break;
        case 'C':
            advance(p, (none ? 1.0f : (float)iv) * char_spacing(p, s));
            break;
        case 'F': {
            float w = p.fixed ? (h - 1) * p.fixed_factor * 1.4f * p.width
                              : (float)s.space * (h - 1) * p.width / (float)s.x_units;
            advance(p, (none ? 1.0f : (float)iv) * w);
            break;
        }
        case 'U':
        case 'D': {
            float off = is_x ? 0.0f : none ? ah : (v > 0 ? v * ah : std::fabs(v) * h);
            p.voff = letter == 'U' ? off : -off;
            break;
        }
        case 'E':
        case 'I':
            if (is_x) {
                p.voff = 0;
                p.h = p.attr_height;
            } else {
                p.voff += letter == 'E' ? 0.75f * h : -0.35f * h;
                p.h = clamp_height(round_int(0.6f * h));
            }
            p.had_expind = true;
            break;
        case 'R':
            p.voff = 0;
            p.h = p.attr_height;
            break;
        case 'H':
            if (is_x)
                p.h = p.attr_height;
            else if (none)
                p.h = clamp_height(round_int(0.6f * h));
            else if (v > 0)
                p.h = clamp_height(round_int(v * h));
            else
                p.h = clamp_height(-round_int(v * ah));
            break;
        case 'K':
            if (is_x) {
                p.fixed = false;
            } else {
                if (!none && v <= 0) return (void)warn_routine_text(43, text);
                p.fixed = true;
                p.fixed_factor = none ? 0.8f : v;
            }
            break;
        case 'L':
        case 'J':
        case 'V': {
            int tab = none ? 1 : iv;
            if (tab < 1 || tab > 20) return (void)warn_routine_text(44, text);
            if (letter == 'V') {
                draw_rule(p, tab, 0.5f * h);
            } else {
                draw_rule(p, tab, -0.2f * h);
                if (letter == 'J') draw_rule(p, tab, -0.4f * h);
            }
            break;
        }
        case 'O':
            p.aoff = is_x ? 0.0f : (none ? 1.0f : v) * h;
            break;
        case 'S': {
            int n = none ? 0 : iv;
            if (n < 0 || n > 21) return (void)warn_routine_text(43, text);
            if (p.draw) {
                float b = p.voff + p.aoff + p.eoff + (h - 1) / 2;
                float cx = p.px + h / 2 * p.ca - b * p.sa, cy = p.py - h / 2 * p.sa - b * p.ca;
                text_output().symbol(n, cx, cy, p.h);
            }
            float sp = char_spacing(p, s);
            advance(p, h + sp);
            note_length(p, sp);
            break;
        }
        case 'M':
            if (is_x)
                p.alphabet = t.base_alphabet;
            else if (none)
                p.alphabet = 1;
            else if (iv < 1 || iv > 6)
                return (void)warn_routine_text(43, text);
            else
                p.alphabet = iv;
            break;
        case 'N': {
            int colour = is_x ? p.start_colour : none ? 1 : iv;
            if (!is_x && (colour < 0 || colour > 255)) return (void)warn_routine_text(43, text);
            if (p.draw && colour >= 0) {
                text_output().set_colour(colour);
                p.colour_changed = true;
            }
            break;
        }
        case 'W':
            if (is_x)
                p.width = t.width_factor;
            else if (none)
                p.width = 1.0f;
            else if (v <= 0)
                return (void)warn_routine_text(43, text);
            else
                p.width = v;
            break;
        case 'Y':
            p.spacing = is_x ? t.spacing : none ? 0.0f : v;
            break;
        case 'Z': {
            float sl = is_x ? t.slant : none ? 0.0f : v;
            if (sl < -60 || sl > 60) return (void)warn_routine_text(43, text);
            if (std::fabs(sl) < 0.5f) sl = 0;
            p.slant = sl;
            p.tan_slant = std::tan(sl * kPi / 180.0f);
            break;
        }
        default:
            break;
    }
}

void instruction_character(Pen& p, unsigned char c) {
    if (c == ' ') return;
    bool param = std::isdigit(c) || c == '.' || c == '-' || c == 'X' || c == 'x';
    if (!param && std::isalpha(c)) {
        execute_instruction(p);
        p.ins_letter = (char)std::toupper(c);
        p.ins_n = 0;
        p.ins_bad = false;
        return;
    }
    if (!p.ins_letter) {
        char text[2] = {(char)c, '\0'};
        warn_routine_text(43, text);
        return;
    }
    if (!param) p.ins_bad = true;
    if (p.ins_n < 20)
        p.ins[p.ins_n++] = (char)c;
    else
        p.ins[19] = (char)c;
}

// ---- the character loop ----------------------------------------------------

void run_text(Pen& p, const char* text, int n) {
    const TextState& t = state().text;
    for (int i = 0; i < n; ++i) {
        unsigned char c = (unsigned char)text[i];
        if (p.expind) {
            if (c == (unsigned char)t.ctrl[0]) {
                p.eoff += t.exp_shift * (float)p.h;
                p.h = clamp_height(round_int(t.exp_height * (float)p.h));
                p.had_expind = true;
                continue;
            }
            if (c == (unsigned char)t.ctrl[1]) {
                p.h = clamp_height(round_int(t.exp_height * (float)p.h));
                p.eoff -= t.exp_shift * (float)p.h;
                p.had_expind = true;
                continue;
            }
            if (c == (unsigned char)t.ctrl[2]) {
                p.h = p.attr_height;
                p.eoff = 0;
                continue;
            }
        }
        if (t.mixed) {
            if (p.active >= 0 && c == (unsigned char)t.shifts[p.active].end) {
                // The end of the instruction alphabet leaves the alphabet
                // that its instructions chose.
                if (t.shifts[p.active].alphabet == 7)
                    execute_instruction(p);
                else
                    p.alphabet = t.base_alphabet;
                p.active = -1;
                continue;
            }
            bool in_instructions = p.active >= 0 && t.shifts[p.active].alphabet == 7;
            if (!in_instructions) {
                int hit = -1;
                for (int k = 0; k < 6 && hit < 0; ++k)
                    if (t.shifts[k].alphabet && c == (unsigned char)t.shifts[k].start) hit = k;
                if (hit >= 0) {
                    p.active = hit;
                    if (t.shifts[hit].alphabet == 7) {
                        p.ins_letter = 0;
                        p.ins_n = 0;
                    } else {
                        p.alphabet = t.shifts[hit].alphabet;
                    }
                    continue;
                }
            } else {
                instruction_character(p, c);
                continue;
            }
        }
        draw_character(p, c);
    }
}

void init_pen(Pen& p, int angle, int height, bool expind) {
    const TextState& t = state().text;
    float a = (float)angle * kPi / 180.0f;
    p.angle = angle;
    p.sa = std::sin(a);
    p.ca = std::cos(a);
    if (angle % 90 == 0) {  // exact directions for the right angles
        int q = ((angle / 90) % 4 + 4) % 4;
        p.sa = q == 1 ? 1.0f : q == 3 ? -1.0f : 0.0f;
        p.ca = q == 0 ? 1.0f : q == 2 ? -1.0f : 0.0f;
    }
    p.attr_height = p.h = clamp_height(height);
    p.alphabet = t.base_alphabet;
    p.spacing = t.spacing;
    p.width = t.width_factor;
    p.slant = t.slant;
    p.tan_slant = std::tan(t.slant * kPi / 180.0f);
    p.fixed = t.fixed;
    p.fixed_factor = t.fixed_factor;
    p.expind = t.expind || expind;
}

}  // namespace

// Copies text (at most 256 characters) and applies the national shifts.
int prepare_text(const char* text, char* buf) {
    int n = 0;
    if (text)
        while (n < kTextMax && text[n]) buf[n] = text[n], ++n;
    buf[n] = '\0';
    n = apply_national_shifts(buf, n);
    buf[n] = '\0';
    return n;
}

// ---- the TeX layout's character output ------------------------------------

float tex_character(const TexFrame& f, int code, int alphabet, int h, float u, float v, float& spacing) {
    Pen p;
    p.draw = f.draw;
    init_pen(p, f.angle, h, false);
    p.sa = f.sa;
    p.ca = f.ca;
    p.x0 = f.x0;
    p.y0 = f.y0;
    move_to_distance(p, u);
    p.alphabet = alphabet;
    p.voff = v;
    draw_character(p, (unsigned char)code);
    spacing = p.last_spacing;
    return distance(p) - u;
}

float tex_spacing(int h) {
    Pen p;
    init_pen(p, 0, h, false);
    bool shear;
    return char_spacing(p, select_alphabet(1, shear));
}

void tex_polyline(const TexFrame& f, const float* u, const float* v, int n) {
    if (!f.draw || n < 2) return;
    TextOutput& o = text_output();
    for (int i = 0; i < n; ++i) {
        float x = f.x0 + u[i] * f.ca - v[i] * f.sa;
        float y = f.y0 - u[i] * f.sa - v[i] * f.ca;
        if (i == 0)
            o.move(x, y);
        else
            o.draw(x, y);
    }
}

namespace {

bool tex_applies(bool expind) { return state().text.tex && !expind; }

TexFrame tex_frame(const Pen& p, bool draw) {
    TexFrame f;
    f.x0 = p.px;
    f.y0 = p.py;
    f.sa = p.sa;
    f.ca = p.ca;
    f.angle = p.angle;
    f.draw = draw;
    return f;
}

}  // namespace

float measure_text(const char* buf, int n, int angle, int height, bool expind, bool quiet) {
    Pen p;
    p.draw = false;
    init_pen(p, angle, height, expind);
    if (tex_applies(expind)) {
        TexResult r;
        if (render_tex(buf, n, tex_frame(p, false), p.h, r, quiet)) return 0.0f;
        return r.length;
    }
    run_text(p, buf, n);
    return p.longest;
}

int text_length_mode(const char* text, unsigned flags) {
    char buf[kTextMax + 1];
    int n = prepare_text(text, buf);
    const TextState& t = state().text;
    float len = measure_text(buf, n, 0, t.height, (flags & TEXT_EXPONENTS) != 0);
    return (int)std::floor(len + 0.5f);
}

int text_length(const char* text) { return text_length_mode(text, 0); }

TextRun render_text(const char* buf, int n, float x, float y, bool cont, int angle, int height, bool expind) {
    TextState& t = state().text;
    Pen p;
    init_pen(p, angle, height, expind);
    if (cont && t.pen_valid) {
        p.px = t.pen_x;
        p.py = t.pen_y;
        p.x0 = t.start_x;
        p.y0 = t.start_y;
    } else {
        float hm1 = (float)(p.h - 1);
        p.px = p.x0 = x + hm1 * p.sa;
        p.py = p.y0 = y + hm1 * p.ca;
    }
    TextRun run;
    run.start_x = p.x0 - (float)(p.h - 1) * p.sa;
    run.start_y = p.y0 - (float)(p.h - 1) * p.ca;
    p.start_colour = text_output().get_colour();
    if (tex_applies(expind)) {
        // A formula: measured first, drawn only when the measuring found no
        // error.  The formula restores the colour it changed.
        TexResult r;
        if (render_tex(buf, n, tex_frame(p, false), p.h, r, false) == 0)
            render_tex(buf, n, tex_frame(p, true), p.h, r, true);
        else
            r = TexResult{};
        run.pen_x = p.px + r.pen * p.ca;
        run.pen_y = p.py - r.pen * p.sa;
        run.end_x = run.pen_x - r.last_spacing * p.ca;
        run.end_y = run.pen_y + r.last_spacing * p.sa;
        run.base_x = p.x0;
        run.base_y = p.y0;
        run.length = r.length;
        run.had_expind = r.scripts;
        return run;
    }
    run_text(p, buf, n);
    if (p.ins_letter) execute_instruction(p);  // an instruction left open at the end
    if (p.colour_changed && p.start_colour >= 0) text_output().set_colour(p.start_colour);
    run.end_x = p.px - p.last_spacing * p.ca;
    run.end_y = p.py + p.last_spacing * p.sa;
    run.pen_x = p.px;
    run.pen_y = p.py;
    run.base_x = p.x0;
    run.base_y = p.y0;
    run.length = p.longest;
    run.had_expind = p.had_expind;
    return run;
}

void draw_text_mode(const char* text, int nx, int ny, int angle, int height, unsigned flags) {
    char buf[kTextMax + 1];
    int n = prepare_text(text, buf);
    if (n == 0) return;
    render_text(buf, n, (float)nx, (float)ny, false, angle, height, (flags & TEXT_EXPONENTS) != 0);
}

void draw_text(const char* text, int nx, int ny, int angle, int height) {
    draw_text_mode(text, nx, ny, angle, height, 0);
}

void select_font(int font) {
    if (font < 0 || font > 7) font = 0;
    state().text.font = font;
    state().text.hw_mode = 0;  // a stroke font ends the hardware font
}

}  // namespace korval
