// User routines of the text: messag and its relatives, the character
// attributes, fonts, alphabets and control characters, and their defaults.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "axes/axes.hpp"
#include "axes/format.hpp"
#include "core/core.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"
#include "text/hwfont.hpp"
#include "text/text.hpp"
#include "text/text_internal.hpp"

namespace korval {

namespace {

const char* const kAlphabets = "STAN+GREE+MATH+ITAL+SCRI+RUSS+INST";
const char* const kAlphabetNames[6] = {"STANDARD", "GREEK", "MATHEMATIC", "ITALIC", "SCRIPT", "RUSSIAN"};

TextState& text() { return state().text; }

void set_angle(int a) {
    TextState& t = text();
    t.angle = a;
    double r = a * 3.14159265358979 / 180.0;
    t.sin_a = (float)std::sin(r);
    t.cos_a = (float)std::cos(r);
}

void reset_control_characters() {
    TextState& t = text();
    t.ctrl[0] = '[';
    t.ctrl[1] = ']';
    t.ctrl[2] = '$';
    t.ctrl[3] = '/';
    t.ctrl[4] = '\\';
}

void reset_height() { text().height = scaled_length(36); }
void reset_angle() { set_angle(0); }
void reset_chaang() { text().slant = 0.0f; }
void reset_chaspc() { text().spacing = 0.0f; }
void reset_chawth() { text().width_factor = 1.0f; }
void reset_fixspc() {
    text().fixed = false;
    text().fixed_factor = 1.0f;
}
void reset_basalf() { text().base_alphabet = 1; }
void reset_smxalf() {
    TextState& t = text();
    for (AlphabetShift& s : t.shifts) s = AlphabetShift{};
    t.mixed = false;
}
void reset_mixalf() { text().expind = false; }
void reset_eushft() {
    TextState& t = text();
    std::memset(t.national, 0, sizeof t.national);
    t.national_on = false;
}
void reset_frmess() { text().frame = 0; }
void reset_numfmt() { text().number_format = 0; }
void reset_numode() {
    TextState& t = text();
    t.decimal_char = '.';
    t.thousands_char = 0;
    t.sign_char = 0;
    t.equal_width = false;
}

void text_defaults() {
    TextState& t = text();
    reset_height();
    reset_angle();
    reset_chaang();
    reset_chaspc();
    reset_chawth();
    reset_fixspc();
    select_font(0);
    reset_basalf();
    reset_smxalf();
    reset_mixalf();
    reset_control_characters();
    reset_eushft();
    t.coding = 0;
    t.justify = 0;
    reset_frmess();
    t.exp_shift = 0.6f;
    t.exp_height = 0.8f;
    t.outline_fill = 0;
    t.line_spacing = 1.5f;
    t.pen_valid = false;
    reset_numfmt();
    reset_numode();
    t.tex = false;
    t.tex_limits = true;
    t.tex_italic = true;
}

struct TextRegistration {
    TextRegistration() {
        register_defaults(60, text_defaults);
        register_reset("ANGL", reset_angle);
        register_reset("SETB", [] { state().text.exp_shift = 0.6f; });
        register_reset("SETE", [] { state().text.exp_height = 0.8f; });
        register_reset("SHDC", [] { state().text.outline_fill = 0; });
        register_reset("NOFI", [] { state().text.outline_fill = 0; });
        register_reset("BASA", reset_basalf);
        register_reset("CHAA", reset_chaang);
        register_reset("CHAS", reset_chaspc);
        register_reset("CHAW", reset_chawth);
        register_reset("EUSH", reset_eushft);
        register_reset("FIXS", reset_fixspc);
        register_reset("FRME", reset_frmess);
        register_reset("HEIG", reset_height);
        register_reset("MIXA", reset_mixalf);
        register_reset("NEWM", reset_control_characters);
        register_reset("SETM", reset_control_characters);
        register_reset("SMXA", reset_smxalf);
        register_reset("NUMF", reset_numfmt);
        register_reset("NUMO", reset_numode);
    }
} text_registration;

bool messages_on() {
    const MessageState& m = state().msg;
    return m.unit != 0 && m.warnings;
}

// " <<<< Warning: Startpoint ( 3000/  100) in MESSAG out of page - (text)."
void page_message(const char* what, int x, int y, const char* buf) {
    state().run.warning_count += 1;
    if (!messages_on()) return;
    char first[9];
    int n = 0;
    while (n < 8 && buf[n]) first[n] = buf[n], ++n;
    first[n] = '\0';
    char line[160];
    std::snprintf(line, sizeof line, " <<<< Warning: %s(%5d/%5d) in MESSAG out of page - (%s).\n", what, x, y,
                  first);
    message_write(line);
}

// A point outside the page once the origin shift is added.
bool off_page(float x, float y) {
    const OutputState& o = state().out;
    x += (float)state().pipeline.shift_x;
    y += (float)state().pipeline.shift_y;
    return x < 0 || y < 0 || x > (float)o.nxp || y > (float)o.nyp;
}

int trunc_half(float v) { return (int)(v + 0.5f); }

// The frame of frmess: |n| outlines (n times the unit factor) around the
// text box, grown outwards for n > 0 and shrunk for n < 0.
void draw_text_frame(const TextRun& run, int height) {
    const TextState& t = text();
    float h = (float)height;
    float grow = (t.line_spacing - 1.0f) * h;
    float extra = run.had_expind ? 0.4f * h : 0.0f;
    float sa = (float)std::sin(t.angle * 3.14159265358979 / 180.0);
    float ca = (float)std::cos(t.angle * 3.14159265358979 / 180.0);
    float f = state().out.unit_factor;
    float outlines = std::floor(std::fabs((float)t.frame) * (f > 0 ? f : 1.0f) + 0.5f);
    int count = outlines > 1000.0f ? 1000 : (int)outlines;  // a frame, not a filled page
    if (count < 1) count = 1;
    int sign = t.frame > 0 ? 1 : -1;
    TextOutput& o = text_output();
    for (int i = 0; i < count; ++i) {
        float g = grow + (float)(sign * i);
        float u0 = -g, u1 = run.length + g;
        float w0 = -g - extra, w1 = h + g + extra;
        float us[5] = {u0, u1, u1, u0, u0}, ws[5] = {w0, w0, w1, w1, w0};
        for (int k = 0; k < 5; ++k) {
            float x = run.start_x + us[k] * ca + ws[k] * sa;
            float y = run.start_y - us[k] * sa + ws[k] * ca;
            if (k == 0)
                o.move(x, y);
            else
                o.draw(x, y);
        }
    }
}

// messag without its level test: nx, ny as the user gave them (flip: the
// page origin of pagorg applies to ny).
void show_text(const char* s, int nx, int ny, unsigned flags, bool flip = true) {
    TextState& t = text();
    bool cont = nx == 999 && ny == 999;
    char buf[kTextMax + 1];
    int n = prepare_text(s, buf);
    if (n == 0) return;
    bool expind = (flags & TEXT_EXPONENTS) != 0;
    float x = (float)nx, y = (float)ny;
    if (!cont) {
        if (flip) y = (float)page_y(ny);
        if (t.justify != 0) {
            float w = measure_text(buf, n, t.angle, t.height, expind, true);
            if (t.justify == 1) w /= 2;
            x = (float)trunc_half(x - w * t.cos_a);
            y = (float)trunc_half(y + w * t.sin_a);
        }
    }
    bool planes = state().run.in_plane_mode;
    if (!cont && !planes && off_page(x, y)) page_message("Startpoint ", (int)x, (int)y, buf);
    TextRun run = render_text(buf, n, x, y, cont, t.angle, t.height, expind);
    t.pen_valid = true;
    t.pen_x = run.pen_x;
    t.pen_y = run.pen_y;
    t.start_x = run.base_x;
    t.start_y = run.base_y;
    if (!planes) {
        int ex = (int)std::floor(run.end_x + 0.5f), ey = (int)std::floor(run.end_y + 0.5f);
        if (off_page((float)ex, (float)ey)) page_message("Endpoint   ", ex, ey, buf);
    }
    if (t.frame != 0) draw_text_frame(run, t.height);
}

// Thousands grouping, decimal character and sign of numode, in place.
void apply_number_mode(char* s, int size) {
    const TextState& t = text();
    char out[700];
    int o = 0, i = 0, n = (int)std::strlen(s);
    while (i < n && s[i] == ' ') out[o++] = s[i++];
    bool neg = i < n && s[i] == '-';
    if (neg)
        out[o++] = s[i++];
    else if (t.sign_char && i < n)
        out[o++] = t.sign_char;
    int int_end = i;
    while (int_end < n && s[int_end] >= '0' && s[int_end] <= '9') ++int_end;
    for (int k = i; k < int_end; ++k) {
        out[o++] = s[k];
        int left = int_end - k - 1;
        if (t.thousands_char && left > 0 && left % 3 == 0) out[o++] = t.thousands_char;
    }
    i = int_end;
    if (i < n && s[i] == '.') {
        out[o++] = t.decimal_char;
        ++i;
        int first = i;
        while (i < n && s[i] >= '0' && s[i] <= '9') {
            if (t.thousands_char && i > first && (i - first) % 3 == 0) out[o++] = t.thousands_char;
            out[o++] = s[i++];
        }
    }
    while (i < n && o < (int)sizeof out - 1) out[o++] = s[i++];
    if (o >= size) o = size - 1;
    std::memcpy(s, out, (std::size_t)o);
    s[o] = '\0';
}

// number and nlnumb: the equal-width mode draws digits in cells of 0.7.
struct NumberWidth {
    bool fixed;
    float factor;
    explicit NumberWidth(bool on) : fixed(text().fixed), factor(text().fixed_factor) {
        if (on) {
            text().fixed = true;
            text().fixed_factor = 0.7f;
        }
    }
    ~NumberWidth() {
        text().fixed = fixed;
        text().fixed_factor = factor;
    }
};

}  // namespace

void format_number_text(float x, int digits, char* out, int size, unsigned& flags) {
    const TextState& t = text();
    flags = 0;
    char mant[256];
    char tail[64] = "";
    double v = x;
    switch (t.number_format) {
        case 1:
        case 2: {
            int k = 0;
            if (v != 0 && std::isfinite(v)) {
                while (std::fabs(v) >= 10.0 && k < 400) v /= 10.0, ++k;
                while (std::fabs(v) < 1.0 && k > -400) v *= 10.0, --k;
            }
            format_number((float)v, digits, mant, sizeof mant);
            if (t.number_format == 1) {
                std::snprintf(tail, sizeof tail, "*10%c%d%c", t.ctrl[0], k, t.ctrl[2]);
                flags = TEXT_EXPONENTS;
            } else {
                std::snprintf(tail, sizeof tail, "E%d", k);
            }
            break;
        }
        case 3:
            if (v > 0) {
                std::snprintf(mant, sizeof mant, "10");
                char e[256];
                format_number((float)std::log10(v), digits, e, sizeof e);
                apply_number_mode(e, sizeof e);
                const char* p = e;
                while (*p == ' ') ++p;
                std::snprintf(out, (std::size_t)size, "10%c%s%c", t.ctrl[0], p, t.ctrl[2]);
                flags = TEXT_EXPONENTS;
                return;
            }
            format_number(x, digits, mant, sizeof mant);
            break;
        default:
            format_number(x, digits, mant, sizeof mant);
            break;
    }
    apply_number_mode(mant, sizeof mant);
    std::snprintf(out, (std::size_t)size, "%s%s", mant, tail);
}

// ---- text output ---------------------------------------------------------

void messag(const char* cstr, int nx, int ny) {
    if (enter_routine("messag")) return;
    show_text(cstr, nx, ny, 0);
}

void number(float x, int i1, int i2, int i3) {
    if (enter_routine("number")) return;
    if (check_range(i1, -1, 100)) return;
    char buf[300];
    unsigned flags;
    format_number_text(x, i1, buf, sizeof buf, flags);
    NumberWidth width(text().equal_width);
    show_text(buf, i2, i3, flags);
}

// A user point as plot coordinates (+0.5, truncated); a point within 0.1
// of (999, 999) continues the previous text.
static void user_point(float x1, float x2, int& nx, int& ny) {
    if (std::fabs(x1 - 999.0f) < 0.1f && std::fabs(x2 - 999.0f) < 0.1f) {
        nx = ny = 999;
        return;
    }
    float xp, yp;
    user_to_plot(x1, x2, xp, yp);
    nx = (int)(xp + 0.5f);
    ny = (int)(yp + 0.5f);
}

void rlmess(const char* s, float x1, float x2) {
    if (check_level(2, 3, "rlmess")) return;
    int nx, ny;
    user_point(x1, x2, nx, ny);
    show_text(s, nx, ny, 0, false);
}

void rlnumb(float x1, int i, float x2, float x3) {
    if (check_level(2, 3, "rlnumb")) return;
    if (check_range(i, -1, 100)) return;
    int nx, ny;
    user_point(x2, x3, nx, ny);
    char buf[300];
    unsigned flags;
    format_number_text(x1, i, buf, sizeof buf, flags);
    NumberWidth width(text().equal_width);
    show_text(buf, nx, ny, flags, false);
}

int nlmess(const char* s) {
    check_level(0, 3, "nlmess");
    return text_length(s);
}

int nlnumb(float x, int i) {
    if (enter_routine("nlnumb")) return 0;
    if (check_range(i, -1, 100)) return 0;
    char buf[300];
    unsigned flags;
    format_number_text(x, i, buf, sizeof buf, flags);
    NumberWidth width(text().equal_width);
    return text_length_mode(buf, flags);
}

// ---- character attributes --------------------------------------------------

void height(int i) {
    if (enter_routine("height")) return;
    if (check_range(i, 1, 10000)) return;
    text().height = i;
    if (text().hw_mode != 0 && !text().tex) hwfont_height(i);  // TeX mode sizes its own text
}

void angle(int ngrad) {
    if (enter_routine("angle")) return;
    set_angle(ngrad);
}

void chaspc(float x) {
    if (enter_routine("chaspc")) return;
    if (!std::isfinite(x)) return (void)warn_routine(2);
    text().spacing = x;
}

void chawth(float x) {
    if (enter_routine("chawth")) return;
    if (!(x > 0.0f && x < 2.0f)) return (void)warn_routine(2);
    text().width_factor = x;
}

void chaang(float x) {
    if (enter_routine("chaang")) return;
    if (!(x >= -60.0f && x <= 60.0f)) return (void)warn_routine(2);
    text().slant = x;
}

void fixspc(float x) {
    if (enter_routine("fixspc")) return;
    if (!(x > 0.0f) || !std::isfinite(x)) return (void)warn_routine(2);
    text().fixed = true;
    text().fixed_factor = x;
}

void txtjus(const char* s) {
    if (enter_routine("txtjus")) return;
    int k = match_keyword("LEFT+CENT+RIGH", 3, s);
    if (k) text().justify = k - 1;
}

void frmess(int i) {
    if (enter_routine("frmess")) return;
    text().frame = i;
}

// ---- fonts -----------------------------------------------------------------

void koralf() {
    if (!enter_routine("koralf")) select_font(0);
}
void simplx() {
    if (!enter_routine("simplx")) select_font(1);
}
void complx() {
    if (!enter_routine("complx")) select_font(2);
}
void duplx() {
    if (!enter_routine("duplx")) select_font(3);
}
void triplx() {
    if (!enter_routine("triplx")) select_font(4);
}
void helve() {
    if (!enter_routine("helve")) select_font(5);
}
void helves() {
    if (!enter_routine("helves")) select_font(6);
}
void serif() {
    if (!enter_routine("serif")) select_font(7);
}

// ---- alphabets ---------------------------------------------------------------

void basalf(const char* s) {
    if (enter_routine("basalf")) return;
    int k = match_keyword(kAlphabets, 6, s);
    if (k) text().base_alphabet = k;
}

const char* getalf() {
    if (enter_routine("getalf")) return " ";
    int k = text().base_alphabet;
    return kAlphabetNames[k >= 1 && k <= 6 ? k - 1 : 0];
}

void smxalf(const char* s1, const char* s2, const char* s3, int i) {
    if (enter_routine("smxalf")) return;
    int k = match_keyword(kAlphabets, 7, s1);
    if (!k) return;
    if (check_range(i, 1, 6)) return;
    TextState& t = text();
    if (k == t.base_alphabet) return (void)warn_routine(19);
    AlphabetShift& slot = t.shifts[i - 1];
    slot.alphabet = k;
    slot.start = s2 && s2[0] ? s2[0] : ' ';
    slot.end = s3 && s3[0] ? s3[0] : ' ';
    t.mixed = true;
}

int gmxalf(const char* s1, OutString<2> s2, OutString<2> s3) {
    s2.buf[0] = ' ';
    s2.buf[1] = '\0';
    s3.buf[0] = ' ';
    s3.buf[1] = '\0';
    if (enter_routine("gmxalf")) return 0;
    int k = match_keyword(kAlphabets, 7, s1);
    if (!k) return 0;
    const TextState& t = text();
    for (int i = 0; i < 6; ++i) {
        if (t.shifts[i].alphabet == k) {
            s2.buf[0] = t.shifts[i].start;
            s3.buf[0] = t.shifts[i].end;
            return i + 1;
        }
    }
    return 0;
}

// ---- control characters ----------------------------------------------------

void mixalf() {
    if (!enter_routine("mixalf")) text().expind = true;
}

void setmix(const char* s1, const char* s2) {
    if (enter_routine("setmix")) return;
    int k = match_keyword("EXP +IND +RES +LEG +TEX ", 5, s2);
    if (!k) return;
    text().ctrl[k - 1] = s1 && s1[0] ? s1[0] : ' ';
}

void newmix() {
    if (enter_routine("newmix")) return;
    text().ctrl[0] = '^';
    text().ctrl[1] = '_';
    text().ctrl[2] = '%';
}

const char* getmix(const char* s) {
    static char result[2] = {' ', '\0'};
    result[0] = ' ';
    if (enter_routine("getmix")) return result;
    int k = match_keyword("EXP +IND +RES +LEG +TEX ", 5, s);
    if (k) result[0] = text().ctrl[k - 1];
    return result;
}

void eushft(const char* s1, const char* s2) {
    if (enter_routine("eushft")) return;
    int k = match_keyword("GERM+DANI+SPAN+FREN+ACUT+GRAV+CIRC", 7, s1);
    if (!k) return;
    char c = s2 && s2[0] ? s2[0] : ' ';
    TextState& t = text();
    for (int i = 0; i < 7; ++i)
        if (i != k - 1 && t.national[i] == c) return (void)warn_routine(57);
    t.national[k - 1] = c;
    t.national_on = true;
}

void chacod(const char* s) {
    if (enter_routine("chacod")) return;
    int k = match_keyword("STAN+ISO1", 2, s);
    if (k) text().coding = k - 1;
}

// ---- number format -----------------------------------------------------------

void numfmt(const char* s) {
    if (enter_routine("numfmt")) return;
    int k = match_keyword("FLOA+EXP +FEXP+LOG ", 4, s);
    if (k) text().number_format = k - 1;
}

// numode(decimal, grouping, sign, width): decimal character "POIN+COMM";
// thousands grouping "NONE+SPAC+POIN+COMM"; sign "NONE+SPAC+PLUS" put in
// front of numbers that are not negative; digit width "PROP+EQUA".  All four
// are checked before any is stored.
void numode(const char* s1, const char* s2, const char* s3, const char* s4) {
    if (enter_routine("numode")) return;
    int a = match_keyword("POIN+COMM", 2, s1);
    if (!a) return;
    int b = match_keyword("NONE+SPAC+POIN+COMM", 4, s2);
    if (!b) return;
    int c = match_keyword("NONE+SPAC+PLUS", 3, s3);
    if (!c) return;
    int d = match_keyword("PROP+EQUA", 2, s4);
    if (!d) return;
    TextState& t = text();
    t.decimal_char = a == 1 ? '.' : ',';
    const char group[4] = {0, ' ', '.', ','};
    t.thousands_char = group[b - 1];
    const char sign[3] = {0, ' ', '+'};
    t.sign_char = sign[c - 1];
    t.equal_width = d == 2;
}

// ---- TeX mode --------------------------------------------------------------

void texmod(const char* s) {
    if (enter_routine("texmod")) return;
    int k = match_keyword("OFF +ON  ", 2, s);
    if (k) text().tex = k == 2;
}

void texopt(const char* s1, const char* s2) {
    if (enter_routine("texopt")) return;
    int on = match_keyword("OFF +ON  ", 2, s1);
    if (!on) return;
    int k = match_keyword("LIMI+ITAL", 2, s2);
    if (k == 1) text().tex_limits = on == 2;
    if (k == 2) text().tex_italic = on == 2;
}

// ---- exponents and outline characters ------------------------------------

void setbas(float x) {
    if (enter_routine("setbas")) return;
    if (!(x >= 0.0f && x <= 2.0f)) return (void)warn_routine(2);
    state().text.exp_shift = x;
}

void setexp(float x) {
    if (enter_routine("setexp")) return;
    if (!(x > 0.0f && x <= 2.0f)) return (void)warn_routine(2);
    state().text.exp_height = x;
}

void shdcha() {
    if (enter_routine("shdcha")) return;
    state().text.outline_fill = 1;
}

void nofill() {
    if (enter_routine("nofill")) return;
    state().text.outline_fill = 2;
}

}  // namespace korval
