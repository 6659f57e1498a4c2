// The TeX mode of the text engine: a formula is parsed and laid out by
// recursive descent.  Sizes of parts that must be known before they are
// drawn (fractions, roots, limits of big operators) come from a nested run
// that lays the part out without drawing; the run that draws then places it.
// Nothing here allocates, and every read stays inside the text.
#include <cctype>
#include <cmath>
#include <cstring>

#include "core/core.hpp"
#include "draw/draw.hpp"
#include "text/text.hpp"
#include "text/text_internal.hpp"

namespace korval {

namespace {

enum TexError {
    kOk = 0,
    kTooManyRoots,
    kFractionSyntax,
    kTooManyFractions,
    kOverlineSyntax,
    kVecSyntax,
    kUnderlineSyntax,
    kUnknownCommand,
    kTooManyScripts,
    kScriptSyntax,
    kRootSyntax,
    kTooManyGroups,
    kUnbalanced,
    kMissingDenominator,
};

const char* const kErrorText[] = {
    "",
    "Too many nested roots",
    "Syntax error for fractions",
    "Too many fractions",
    "Syntax error for overstrike",
    "Syntax error for vec",
    "Syntax error for understrike",
    "Unknown TeX command",
    "Too many nested exponents/indices",
    "Syntax error for Indices/Exponents",
    "Syntax error - missing root",
    "Too many nested parenthesis",
    "Unbalanced parenthesis",
    "Missing denominator for fractions",
};

struct Failure {
    int code;
};

constexpr int kMaxGroups = 8;
constexpr int kMaxScripts = 8;
constexpr int kMaxRoots = 8;
constexpr int kMaxFractions = 20;
constexpr int kMaxNestedFractions = 8;
constexpr int kMaxName = 32;
constexpr long kWorkLimit = 400000;  // characters laid out for one formula

const float kStyleFactor[4] = {1.0f, 1.0f, 0.6f, 0.5f};

// ---- command tables ------------------------------------------------------

struct CharCommand {
    const char* name;
    char code;
};

const CharCommand kGreek[] = {
    {"alpha", 'a'},   {"beta", 'b'},  {"gamma", 'c'},  {"delta", 'd'}, {"epsilon", 'e'}, {"zeta", 'z'},
    {"eta", 'h'},     {"theta", 'q'}, {"iota", 'i'},   {"kappa", 'k'}, {"lambda", 'l'},  {"mu", 'm'},
    {"nu", 'n'},      {"xi", 'x'},    {"pi", 'p'},     {"rho", 'r'},   {"sigma", 's'},   {"tau", 't'},
    {"upsilon", 'y'}, {"phi", 'f'},   {"chi", 'g'},    {"psi", 'u'},   {"omega", 'w'},   {"Gamma", 'C'},
    {"Delta", 'D'},   {"Theta", 'Q'}, {"Lambda", 'L'}, {"Xi", 'X'},    {"Pi", 'P'},      {"Sigma", 'S'},
    {"Upsilon", 'Y'}, {"Phi", 'F'},   {"Psi", 'U'},    {"Omega", 'W'},
};

const CharCommand kSymbols[] = {
    {"pm", 'F'},        {"mp", 'G'},         {"times", 'D'},
    {"div", 'E'},       {"cdot", '.'},       {"ast", '*'},
    {"star", '*'},      {"cap", 'L'},        {"cup", 'M'},
    {"vee", 'p'},       {"wedge", 'q'},      {"setminus", '\\'},
    {"odot", 'j'},      {"oplus", 'h'},      {"ominus", 'i'},
    {"le", 'H'},        {"leq", 'H'},        {"subset", 'N'},
    {"subseteq", 'R'},  {"in", 'W'},         {"ge", 'J'},
    {"geq", 'J'},       {"supset", 'O'},     {"supseteq", 'S'},
    {"ni", 'Y'},        {"neq", 'I'},        {"cong", 'z'},
    {"equiv", 'B'},     {"parallel", 'T'},   {"sim", '~'},
    {"mid", '|'},       {"notin", 'X'},      {"not=", 'I'},
    {"leftarrow", 'c'}, {"Leftarrow", 'f'},  {"rightarrow", 'a'},
    {"to", 'a'},        {"Rightarrow", 'e'}, {"Leftrightarrow", 'g'},
    {"uparrow", 'b'},   {"downarrow", 'd'},  {"emptyset", 'y'},
    {"nabla", 'n'},     {"surd", 'x'},       {"partial", 'm'},
    {"forall", 'k'},    {"exists", 'U'},     {"backslash", '\\'},
    {"infty", 'l'},     {"perp", 'K'},
};

struct Spacing {
    const char* name;
    int eighteenths;
};
const Spacing kSpacing[] = {{"quad", 18}, {"qquad", 36}, {",", 3}, {":", 4}, {";", 5}, {"!", -3}};

const char* const kBigOps[] = {"sum", "int", "oint", "prod", "lim"};
const char kBigOpCode[] = {'r', 'v', 'w', 's', 0};

struct Alphabet {
    const char* name;
    int alphabet;
};
const Alphabet kAlphabets[] = {{"rm", 1}, {"gr", 2}, {"it", 4}, {"cal", 5}, {"ru", 6}};

struct StyleCommand {
    const char* name;
    int style;
};
const StyleCommand kStyles[] = {{"displaystyle", 0},
                                {"textstyle", 1},
                                {"scriptstyle", 2},
                                {"scriptscriptstyle", 3},
                                {"D", 0},
                                {"T", 1},
                                {"S", 2},
                                {"SS", 3}};

struct SizeCommand {
    const char* name;
    float factor;
};
const SizeCommand kSizes[] = {{"tiny", 0.482f}, {"scriptsize", 0.578f}, {"footnotesize", 0.695f},
                              {"small", 0.83f}, {"normalsize", 1.0f},   {"large", 1.2f},
                              {"Large", 1.44f}, {"LARGE", 1.728f},      {"huge", 2.0736f},
                              {"Huge", 2.488f}};

// Colours by name: the named colours of the colour table (0 WHIT, 1 RED,
// 2 GREE, 3 YELL, 4 BLUE, 5 ORAN, 6 CYAN, 7 MAGE, 8 BLAC); -1 foreground,
// -2 background.
struct ColourCommand {
    const char* name;
    int named;
};
const ColourCommand kColours[] = {{"black", 8}, {"red", 1},    {"green", 2},  {"blue", 4},
                                  {"cyan", 6},  {"yellow", 3}, {"orange", 5}, {"magenta", 7},
                                  {"white", 0}, {"fore", -1},  {"back", -2}};

const char* const kFunctions[] = {"arccos", "arcsin", "arctan", "arg",  "cos", "cosh", "cot",
                                  "coth",   "csc",    "dec",    "dim",  "exp", "hom",  "ln",
                                  "log",    "sec",    "sin",    "sinh", "tan", "tanh"};

template <class T, std::size_t N>
int find_name(const T (&table)[N], const char* name) {
    for (std::size_t i = 0; i < N; ++i)
        if (std::strcmp(table[i].name, name) == 0) return (int)i;
    return -1;
}

template <std::size_t N>
int find_name(const char* const (&table)[N], const char* name) {
    for (std::size_t i = 0; i < N; ++i)
        if (std::strcmp(table[i], name) == 0) return (int)i;
    return -1;
}

// ---- layout --------------------------------------------------------------

struct Style {
    int style = 1;     // 0 display, 1 text, 2 script, 3 scriptscript
    int base = 36;     // base height of the size commands
    int h = 36;        // current height
    int alphabet = 0;  // explicit alphabet, 0: none
    float v = 0;       // baseline offset
    bool cramped = false;
    int colour = -1;
};

// The extent of a laid-out part: its advance, the spacing at its end and
// its reach above and below the baseline it was set on.
struct Box {
    float advance = 0;
    float spacing = 0;
    float top = 0, bottom = 0;
    float length() const { return advance - spacing; }
};

constexpr float kNone = 1.0e30f;

class Layout {
public:
    Layout(const char* text, int n, const TexFrame& f, int h0)
        : s_(text), n_(n), f_(f), h0_(h0 < 1 ? 1 : h0) {
        const TextState& t = state().text;
        cmd_ = t.ctrl[4];
        limits_ = t.tex_limits;
        italic_ = t.tex_italic;
        base_alphabet_ = t.base_alphabet;
        st_.base = st_.h = h0_;
    }

    void run(TexResult& out) {
        start_colour_ = text_output().get_colour();
        st_.colour = start_colour_;
        top_ = bottom_ = 0;
        try {
            list(0);
        } catch (...) {
            restore_colour();
            throw;
        }
        restore_colour();
        out.pen = u_;
        out.last_spacing = last_spacing_;
        out.length = longest_;
        out.above = top_;
        out.below = bottom_;
        out.scripts = scripts_seen_;
    }

private:
    const char* s_;
    int n_;
    int pos_ = 0;
    TexFrame f_;
    int h0_;
    char cmd_ = '\\';
    bool limits_ = true, italic_ = true;
    int base_alphabet_ = 1;
    bool math_ = false;
    Style st_;
    float u_ = 0;
    float top_ = 0, bottom_ = 0;
    float longest_ = 0, last_spacing_ = 0;
    int groups_ = 0, scripts_ = 0, roots_ = 0, fractions_ = 0, fraction_depth_ = 0;
    bool scripts_seen_ = false;
    long work_ = 0;
    int structure_ = kTooManyFractions;
    int start_colour_ = -1;
    bool colour_changed_ = false;

    [[noreturn]] static void fail(int code) { throw Failure{code}; }

    int peek() const { return pos_ < n_ ? (unsigned char)s_[pos_] : -1; }
    void skip_blanks() {
        if (math_)
            while (peek() == ' ') ++pos_;
    }

    int style_height(int style, int base) const {
        int h = (int)(base * kStyleFactor[style] + 0.5f);
        return h < 1 ? 1 : h;
    }
    void set_style(int style) {
        st_.style = style;
        st_.h = style_height(style, st_.base);
    }
    static int smaller(int style) { return style <= 1 ? 2 : 3; }

    void reach(float top, float bottom) {
        if (top > top_) top_ = top;
        if (bottom < bottom_) bottom_ = bottom;
    }

    void set_colour(int colour) {
        st_.colour = colour;
        if (!f_.draw || colour < 0) return;
        text_output().set_colour(colour);
        colour_changed_ = true;
    }
    void restore_colour() {
        if (colour_changed_ && start_colour_ >= 0) text_output().set_colour(start_colour_);
        colour_changed_ = false;
    }

    void line(float u0, float v0, float u1, float v1) {
        float u[2] = {u0, u1}, v[2] = {v0, v1};
        tex_polyline(f_, u, v, 2);
    }

    // One character of alphabet a (0: the alphabet the mode chooses).
    void put(int code, int a) {
        // Structures measure their parts before drawing them, so nesting
        // multiplies the work; a formula that needs more than any real
        // one is refused as a structure nested too deeply.
        if (++work_ > kWorkLimit) fail(structure_);
        if (a == 0) {
            if (st_.alphabet)
                a = st_.alphabet;
            else if (math_)
                a = italic_ && code < 128 && std::isalpha(code) ? 4 : 1;
            else
                a = base_alphabet_;
        }
        float spacing = 0;
        float adv = tex_character(f_, code, a, st_.h, u_, st_.v, spacing);
        u_ += adv;
        last_spacing_ = spacing;
        if (u_ - spacing > longest_) longest_ = u_ - spacing;
        reach(st_.v + (float)st_.h, st_.v);
    }

    void advance(float d) {
        u_ += d;
        last_spacing_ = 0;
        if (u_ > longest_) longest_ = u_;
    }

    // Lays out what atom() or group() would, without drawing, with the
    // baseline at 0; the pen, position and counters are kept as they were.
    template <class Fn>
    Box measure(int structure, Fn fn) {
        int saved_structure = structure_;
        structure_ = structure;
        int pos = pos_;
        float u = u_, top = top_, bottom = bottom_, longest = longest_, last = last_spacing_;
        bool draw = f_.draw, seen = scripts_seen_, math = math_;
        int fractions = fractions_;
        Style st = st_;
        f_.draw = false;
        u_ = 0;
        top_ = -kNone;
        bottom_ = kNone;
        st_.v = 0;
        fn();
        Box b;
        b.advance = u_;
        b.spacing = last_spacing_;
        b.top = top_ == -kNone ? 0.0f : top_;
        b.bottom = bottom_ == kNone ? 0.0f : bottom_;
        pos_ = pos;
        u_ = u;
        top_ = top;
        bottom_ = bottom;
        longest_ = longest;
        last_spacing_ = last;
        f_.draw = draw;
        scripts_seen_ = seen;
        math_ = math;
        fractions_ = fractions;
        st_ = st;
        structure_ = saved_structure;
        return b;
    }

    // ---- lists, groups and atoms ----------------------------------------

    // Items up to the terminator ('}' for a group, ']' for a root index, 0
    // for the whole formula).
    void list(int terminator) {
        for (;;) {
            int c = peek();
            if (c < 0) {
                if (terminator == '}') fail(kUnbalanced);
                if (terminator == ']') fail(kRootSyntax);
                return;
            }
            if (c == terminator) {
                ++pos_;
                return;
            }
            if (c == '}') fail(kUnbalanced);
            if (c == '$') {
                math_ = !math_;
                ++pos_;
                continue;
            }
            if (math_ && c == ' ') {
                ++pos_;
                continue;
            }
            if (math_ && (c == '^' || c == '_')) {
                scripts();
                continue;
            }
            atom();
        }
    }

    // "{" ... "}": style, alphabet, offset and colour are restored at the
    // end; the pen stays where the group ended.
    void group() {
        if (peek() != '{') return;
        if (groups_ >= kMaxGroups) fail(kTooManyGroups);
        ++pos_;
        ++groups_;
        Style saved = st_;
        list('}');
        --groups_;
        int colour = st_.colour;
        st_ = saved;
        if (colour != saved.colour) set_colour(saved.colour);
    }

    void atom() {
        int c = peek();
        if (c == '{') {
            group();
            return;
        }
        ++pos_;
        if (c == (unsigned char)cmd_) {
            command();
            return;
        }
        put(c, 0);
    }

    // The argument of an exponent or index: the next character or group.
    void script_argument() {
        skip_blanks();
        int c = peek();
        if (c < 0 || c == '}' || c == '$' || c == '^' || c == '_') fail(kScriptSyntax);
        atom();
    }

    // Exponents and indices at the pen: one of each at most, both starting
    // at the same place; the pen ends after the wider.
    void scripts() {
        float start = u_, end = u_;
        bool sup_done = false, sub_done = false;
        for (;;) {
            skip_blanks();
            int c = peek();
            if (c != '^' && c != '_') break;
            bool sup = c == '^';
            if ((sup && sup_done) || (!sup && sub_done)) fail(kScriptSyntax);
            (sup ? sup_done : sub_done) = true;
            ++pos_;
            if (scripts_ >= kMaxScripts) fail(kTooManyScripts);
            ++scripts_;
            scripts_seen_ = true;
            Style saved = st_;
            set_style(smaller(saved.style));
            float hs = (float)st_.h;
            if (sup)
                st_.v += (saved.cramped ? 0.9f : 1.1f) * hs;
            else {
                st_.v -= 0.6f * hs;
                st_.cramped = true;
            }
            u_ = start;
            script_argument();
            if (u_ > end) end = u_;
            int colour = st_.colour;
            st_ = saved;
            if (colour != saved.colour) set_colour(saved.colour);
            --scripts_;
        }
        u_ = end;
    }

    // ---- commands --------------------------------------------------------

    // Reads the name after the command character: a run of letters, "not="
    // as a whole, or one other character.  A blank ending it is consumed.
    // False when the name is longer than any command.
    bool read_name(char* name) {
        int k = 0;
        bool too_long = false;
        int c = peek();
        if (c >= 0 && c < 128 && std::isalpha(c)) {
            while (peek() >= 0 && peek() < 128 && std::isalpha(peek())) {
                if (k < kMaxName)
                    name[k++] = s_[pos_];
                else
                    too_long = true;
                ++pos_;
            }
            if (k == 3 && std::strncmp(name, "not", 3) == 0 && peek() == '=') name[k++] = s_[pos_++];
        } else if (c >= 0) {
            name[k++] = s_[pos_++];
        }
        name[k] = '\0';
        if (peek() == ' ') ++pos_;
        return !too_long;
    }

    void command() {
        int c = peek();
        if (c >= 0 && (c == (unsigned char)cmd_ || std::strchr("{}^_$[]", c))) {
            ++pos_;
            put(c, 0);
            return;
        }
        char name[kMaxName + 2];
        if (!read_name(name)) fail(kUnknownCommand);
        int k;
        if ((k = find_name(kGreek, name)) >= 0) return put(kGreek[k].code, 2);
        if ((k = find_name(kSpacing, name)) >= 0)
            return advance((float)kSpacing[k].eighteenths * st_.h / 18.0f);
        if ((k = find_name(kSymbols, name)) >= 0) {
            // The dot of cdot is the full stop of the fonts, raised to the
            // middle of the line.
            if (kSymbols[k].code == '.') {
                float v = st_.v;
                st_.v += 0.35f * (float)st_.h;
                put('.', 3);
                st_.v = v;
                return;
            }
            return put(kSymbols[k].code, 3);
        }
        if ((k = find_name(kBigOps, name)) >= 0) return big_operator(k);
        if (std::strcmp(name, "sqrt") == 0) return root();
        if (std::strcmp(name, "frac") == 0) return fraction();
        if (std::strcmp(name, "overline") == 0) return rule(0);
        if (std::strcmp(name, "underline") == 0) return rule(1);
        if (std::strcmp(name, "vec") == 0) return rule(2);
        if (std::strcmp(name, "limits") == 0 || std::strcmp(name, "nolimits") == 0)
            return;  // no operator before
        if ((k = find_name(kAlphabets, name)) >= 0) {
            st_.alphabet = kAlphabets[k].alphabet;
            return;
        }
        if ((k = find_name(kStyles, name)) >= 0) return set_style(kStyles[k].style);
        if ((k = find_name(kSizes, name)) >= 0) {
            int b = (int)(h0_ * kSizes[k].factor + 0.5f);
            st_.base = b < 1 ? 1 : b;
            set_style(st_.style);
            return;
        }
        if ((k = find_name(kColours, name)) >= 0) {
            int named = kColours[k].named;
            return set_colour(named >= 0    ? named_colour(named)
                              : named == -1 ? foreground_colour()
                                            : state().colour.background);
        }
        if ((k = find_name(kFunctions, name)) >= 0) {
            float sp = tex_spacing(st_.h);
            advance(sp);
            for (const char* p = kFunctions[k]; *p; ++p) put((unsigned char)*p, 1);
            advance(sp);
            return;
        }
        fail(kUnknownCommand);
    }

    // sum, int, oint, prod, lim, with limits above and below or exponent
    // and index beside them.
    void big_operator(int k) {
        bool limits = limits_;
        int save = pos_;
        skip_blanks();
        if (peek() == (unsigned char)cmd_) {
            ++pos_;
            char name[kMaxName + 2];
            read_name(name);
            if (std::strcmp(name, "limits") == 0)
                limits = true;
            else if (std::strcmp(name, "nolimits") == 0)
                limits = false;
            else
                pos_ = save;
        } else {
            pos_ = save;
        }
        auto draw_op = [&]() {
            if (kBigOpCode[k])
                put(kBigOpCode[k], 3);
            else
                for (const char* p = "lim"; *p; ++p) put((unsigned char)*p, 1);
        };
        if (!limits || !math_) {
            draw_op();
            return;
        }
        // Limits: the widths of the operator and of both limits first.
        Box op = measure(kTooManyScripts, draw_op);
        int after = pos_;
        skip_blanks();
        Box lim[2];
        bool has[2] = {false, false};
        int at[2] = {-1, -1};
        for (int i = 0; i < 2; ++i) {
            skip_blanks();
            int c = peek();
            if (c != '^' && c != '_') break;
            int which = c == '^' ? 0 : 1;
            if (has[which]) fail(kScriptSyntax);
            has[which] = true;
            ++pos_;
            at[which] = pos_;
            int next = pos_;
            lim[which] = measure(kTooManyScripts, [&]() {
                set_style(smaller(st_.style));
                script_argument();
                next = pos_;
            });
            pos_ = next;
        }
        skip_blanks();
        if (peek() == '^' || peek() == '_') fail(kScriptSyntax);
        int end_pos = pos_;
        float width = op.length();
        for (int i = 0; i < 2; ++i)
            if (has[i] && lim[i].length() > width) width = lim[i].length();
        float start = u_;
        pos_ = after;
        u_ = start + (width - op.length()) / 2;
        draw_op();
        float end = u_;
        for (int i = 0; i < 2; ++i) {
            if (!has[i]) continue;
            if (scripts_ >= kMaxScripts) fail(kTooManyScripts);
            ++scripts_;
            scripts_seen_ = true;
            Style saved = st_;
            set_style(smaller(saved.style));
            st_.v += i == 0 ? 2.3f * st_.h : -1.8f * st_.h;
            pos_ = at[i];
            u_ = start + (width - lim[i].length()) / 2;
            script_argument();
            if (u_ > end) end = u_;
            int colour = st_.colour;
            st_ = saved;
            if (colour != saved.colour) set_colour(saved.colour);
            --scripts_;
        }
        pos_ = end_pos;
        u_ = end;
    }

    // \frac{numerator}{denominator}
    void fraction() {
        skip_blanks();
        if (peek() != '{') fail(kFractionSyntax);
        if (fractions_ >= kMaxFractions || fraction_depth_ >= kMaxNestedFractions) fail(kTooManyFractions);
        ++fractions_;
        ++fraction_depth_;
        Style outer = st_;
        float h = (float)outer.h;
        int part_style = outer.style == 0 ? 1 : smaller(outer.style);
        int num_at = pos_;
        int den_at = -1, end_at = -1;
        Box num = measure(kTooManyFractions, [&]() {
            set_style(part_style);
            group();
            skip_blanks();
            den_at = pos_;
        });
        pos_ = den_at;
        if (peek() != '{') fail(kMissingDenominator);
        Box den = measure(kTooManyFractions, [&]() {
            set_style(part_style);
            st_.cramped = true;
            group();
            end_at = pos_;
        });
        float width = num.length() > den.length() ? num.length() : den.length();
        float hp = (float)style_height(part_style, outer.base);
        float bar = outer.v + 0.4f * h;
        float num_v = bar + 0.3f * hp - (num.bottom < 0 ? num.bottom : 0.0f);
        float den_v = bar - 0.25f * hp - (den.top > 0 ? den.top : hp);
        float start = u_;

        pos_ = num_at;
        set_style(part_style);
        st_.v = num_v;
        u_ = start + (width - num.length()) / 2;
        group();
        pos_ = den_at;
        st_.cramped = true;
        st_.v = den_v;
        u_ = start + (width - den.length()) / 2;
        group();
        pos_ = end_at;
        st_ = outer;
        line(start, bar, start + width, bar);
        u_ = start;
        advance(width + 2 * tex_spacing(outer.h));
        last_spacing_ = tex_spacing(outer.h);
        reach(num_v + num.top, den_v + den.bottom);
        --fraction_depth_;
    }

    // \sqrt[index]{radicand}
    void root() {
        if (roots_ >= kMaxRoots) fail(kTooManyRoots);
        ++roots_;
        Style outer = st_;
        float h = (float)outer.h;
        skip_blanks();
        float start = u_;
        float sign = start;
        if (peek() == '[') {
            ++pos_;
            int index_at = pos_;
            int after = -1;
            Box index = measure(kTooManyRoots, [&]() {
                set_style(3);
                list(']');
                after = pos_;
            });
            float room = 0.55f * h;
            pos_ = index_at;
            set_style(3);
            st_.v += 1.25f * (float)st_.h;
            u_ = start + (index.length() < room ? room - index.length() : 0.0f);
            list(']');
            pos_ = after;
            st_ = outer;
            if (index.length() > room) sign = start + index.length() - room;
            skip_blanks();
        }
        int c = peek();
        if (c < 0 || c == '}' || c == '$') fail(kRootSyntax);
        int rad_at = pos_;
        Box rad = measure(kTooManyRoots, [&]() { atom(); });
        float top = outer.v + (rad.top > 0.9f * h ? rad.top : 0.9f * h) + 0.4f * h;
        float bottom = outer.v + (rad.bottom < 0 ? rad.bottom : 0.0f);
        pos_ = rad_at;
        u_ = sign + 1.2f * h;
        atom();
        float end = sign + 1.2f * h + rad.length() + 0.2f * h;
        float us[5] = {sign, sign + 0.25f * h, sign + 0.6f * h, sign + 1.0f * h, end};
        float vs[5] = {outer.v + 0.45f * h, outer.v + 0.55f * h, bottom, top, top};
        tex_polyline(f_, us, vs, 5);
        reach(top, bottom);
        if (u_ < end) advance(end - u_);
        --roots_;
    }

    // \overline, \underline, \vec: a line (an arrow) along a group.
    void rule(int kind) {
        skip_blanks();
        if (peek() != '{') fail(kind == 0 ? kOverlineSyntax : kind == 1 ? kUnderlineSyntax : kVecSyntax);
        float h = (float)st_.h;
        float v = st_.v;
        float start = u_;
        float top = top_, bottom = bottom_;
        top_ = v + h;
        bottom_ = v;
        group();
        float gtop = top_, gbottom = bottom_;
        top_ = top;
        bottom_ = bottom;
        float end = u_ - tex_spacing(st_.h);
        if (end < start) end = start;
        float at = kind == 1 ? gbottom - 0.3f * h : gtop + 0.3f * h;
        line(start, at, end, at);
        if (kind == 2) {
            float a = 0.3f * h, b = 0.15f * h;
            float us[3] = {end - a, end, end - a}, vs[3] = {at + b, at, at - b};
            tex_polyline(f_, us, vs, 3);
        }
        reach(gtop > at + (kind == 2 ? 0.15f * h : 0.0f) ? gtop : at + (kind == 2 ? 0.15f * h : 0.0f),
              gbottom < at ? gbottom : at);
    }
};

}  // namespace

int render_tex(const char* buf, int n, const TexFrame& f, int height, TexResult& out, bool quiet) {
    Layout layout(buf, n, f, height);
    try {
        layout.run(out);
        return 0;
    } catch (const Failure& e) {
        out = TexResult{};
        if (!quiet) {
            RunState& run = state().run;
            const char* routine = run.routine;
            run.routine = "messag";
            set_warning_text(kErrorText[e.code]);
            warn_routine(101);
            run.routine = routine;
        }
        return 1;
    }
}

}  // namespace korval
