// The TeX mode of the text engine: tokens, scripts, structures, errors and
// robustness against arbitrary texts.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "capture.hpp"
#include "core/core.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"
#include "text/text.hpp"

using namespace korval;

namespace {

struct Point {
    float x, y;
    bool move;
};

std::vector<Point> points;
int colour_now = 7;
std::vector<int> colours;

void rec_move(float x, float y) { points.push_back({x, y, true}); }
void rec_draw(float x, float y) { points.push_back({x, y, false}); }
bool rec_fill(const float*, const float*, int) { return true; }
int rec_get_colour() { return colour_now; }
void rec_set_colour(int c) {
    colour_now = c;
    colours.push_back(c);
}

class Tex : public ::testing::Test {
protected:
    std::FILE* messages = nullptr;

    void SetUp() override {
        first_call_init();
        set_default_parameters();
        state().run.level = 1;
        messages = std::tmpfile();
        state().msg.unit = 1;
        state().msg.stream = messages;
        state().msg.warnings = true;
        TextOutput& o = text_output();
        o.move = rec_move;
        o.draw = rec_draw;
        o.fill = rec_fill;
        o.get_colour = rec_get_colour;
        o.set_colour = rec_set_colour;
        points.clear();
        colours.clear();
        colour_now = 7;
        complx();
        texmod("ON");
    }
    void TearDown() override {
        reset_text_output();
        state().msg.stream = nullptr;
        state().msg.unit = 6;
        state().run.level = 0;
        std::fclose(messages);
    }
    std::string output() {
        return read_all(messages);
    }
    std::vector<Point> draw(const char* s) {
        points.clear();
        messag(s, 100, 300);
        return points;
    }
    // Draws a text that must fail: nothing drawn, one warning with text.
    void expect_error(const char* s, const char* text) {
        long before = state().run.warning_count;
        EXPECT_TRUE(draw(s).empty()) << s;
        EXPECT_EQ(state().run.warning_count, before + 1) << s;
        std::string out = output();
        EXPECT_NE(out.find(std::string("Warning 101: ") + text + " in messag!"), std::string::npos)
            << s << "\n"
            << out;
        EXPECT_EQ(nlmess(s), 0) << s;
    }
};

bool same(const std::vector<Point>& a, const std::vector<Point>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::fabs(a[i].x - b[i].x) > 0.01f || std::fabs(a[i].y - b[i].y) > 0.01f ||
            a[i].move != b[i].move)
            return false;
    return true;
}

float min_y(const std::vector<Point>& p) {
    float m = 1e9f;
    for (const Point& q : p) m = std::min(m, q.y);
    return m;
}

}  // namespace

TEST_F(Tex, OutsideMathEveryCharacterIsOrdinary) {
    std::vector<Point> tex = draw("a^2 b_c [x]");
    texmod("OFF");
    std::vector<Point> plain = draw("a^2 b_c [x]");
    EXPECT_FALSE(tex.empty());
    EXPECT_TRUE(same(tex, plain));
    // A "]" without a root is an ordinary character, in math mode too.
    texmod("ON");
    EXPECT_FALSE(draw("$[a, b]$ a]").empty());
    EXPECT_EQ(output(), "");
}

TEST_F(Tex, EscapedCharactersAreDrawnLiterally) {
    std::vector<Point> dollar = draw("\\$5 \\{\\} \\\\");
    texmod("OFF");
    EXPECT_TRUE(same(dollar, draw("$5 {} \\")));
    texmod("ON");
    setmix("#", "TEX");
    EXPECT_TRUE(same(draw("#$5 #{#} \\"), dollar));
}

TEST_F(Tex, ExponentAndIndexShareTheirStart) {
    // The pen ends after the wider of the two, both starting after the base.
    EXPECT_EQ(nlmess("$x^2_2$"), nlmess("$x^2$"));
    EXPECT_EQ(nlmess("$x^2_{222}$"), nlmess("$x_{222}$"));
    EXPECT_EQ(nlmess("$x_{222}^2$"), nlmess("$x^{222}$"));
    EXPECT_GT(nlmess("$x^2$"), nlmess("$x$"));
    // The exponent is raised, the index lowered: compare the highest points.
    float base = min_y(draw("$x$"));
    EXPECT_LT(min_y(draw("$x^2$")), base);
    EXPECT_GE(min_y(draw("$x_2$")), base - 1.0f);
    EXPECT_EQ(output(), "");
}

TEST_F(Tex, SecondExponentOrIndexOnOneBaseIsAnError) {
    expect_error("$x^2^3$", "Syntax error for Indices/Exponents");
    expect_error("$x_2 _3$", "Syntax error for Indices/Exponents");
    expect_error("$x^2_1^3$", "Syntax error for Indices/Exponents");
    expect_error("$x^$", "Syntax error for Indices/Exponents");
    expect_error("$\\sum_1^2^3$", "Syntax error for Indices/Exponents");
}

TEST_F(Tex, NestingLimits) {
    EXPECT_FALSE(draw("{{{{{{{{a}}}}}}}}").empty());
    expect_error("{{{{{{{{{a}}}}}}}}}", "Too many nested parenthesis");
    expect_error("a}", "Unbalanced parenthesis");
    expect_error("{a", "Unbalanced parenthesis");
    EXPECT_FALSE(draw("$x^{x^{x^{x^{x^{x^{x^{x^1}}}}}}}$").empty());
    expect_error("$x^{x^{x^{x^{x^{x^{x^{x^{x^1}}}}}}}}$", "Too many nested exponents/indices");
    std::string roots;
    for (int i = 0; i < 8; ++i) roots += "\\sqrt{";
    roots += "x";
    for (int i = 0; i < 8; ++i) roots += "}";
    EXPECT_FALSE(draw(roots.c_str()).empty());
    expect_error(("\\sqrt{" + roots + "}").c_str(), "Too many nested roots");
    std::string fracs;
    for (int i = 0; i < 21; ++i) fracs += "\\frac{1}{2}";
    EXPECT_FALSE(draw(fracs.substr(0, 20 * 11).c_str()).empty());
    expect_error(fracs.c_str(), "Too many fractions");
}

TEST_F(Tex, SyntaxErrorsOfStructures) {
    expect_error("$\\alpga$", "Unknown TeX command");
    expect_error("\\frac a", "Syntax error for fractions");
    expect_error("\\frac{a}", "Missing denominator for fractions");
    expect_error("\\frac{a} b", "Missing denominator for fractions");
    expect_error("\\overline a", "Syntax error for overstrike");
    expect_error("\\underline a", "Syntax error for understrike");
    expect_error("\\vec a", "Syntax error for vec");
    expect_error("\\sqrt[3 x", "Syntax error - missing root");
    expect_error("\\sqrt", "Syntax error - missing root");
    // A name longer than any command.
    expect_error(("\\" + std::string(40, 'a')).c_str(), "Unknown TeX command");
}

TEST_F(Tex, CommandsAndTheirSynonyms) {
    EXPECT_TRUE(same(draw("$\\to$"), draw("$\\rightarrow$")));
    EXPECT_TRUE(same(draw("$\\le$"), draw("$\\leq$")));
    EXPECT_TRUE(same(draw("$a \\not= b$"), draw("$a \\neq b$")));
    EXPECT_FALSE(same(draw("$\\alpha$"), draw("$\\beta$")));
    // A Greek letter is the letter of the Greek alphabet.
    std::vector<Point> gamma = draw("$\\gamma$");
    smxalf("GREE", "{", "}", 1);
    texmod("OFF");
    EXPECT_TRUE(same(gamma, draw("{c}")));
    texmod("ON");
    // Function names are upright and spaced.
    EXPECT_GT(nlmess("$\\sin x$"), nlmess("$sinx$"));
    // Spacing commands move the pen by eighteenths of the height.
    EXPECT_EQ(nlmess("$a\\quad b$") - nlmess("$a\\qquad b$"), -state().text.height);
    EXPECT_EQ(output(), "");
}

TEST_F(Tex, FractionsCentreTheNarrowerPart) {
    int wide = nlmess("$\\frac{aaaa}{b}$");
    EXPECT_EQ(wide, nlmess("$\\frac{b}{aaaa}$"));
    EXPECT_GT(wide, nlmess("$\\frac{b}{b}$"));
    // The bar: a single horizontal stroke as long as the wider part.
    std::vector<Point> p = draw("$\\frac{aaaa}{b}$");
    bool bar = false;
    for (size_t i = 1; i < p.size(); ++i)
        if (p[i - 1].move && !p[i].move && std::fabs(p[i].y - p[i - 1].y) < 0.01f &&
            p[i].x - p[i - 1].x > 0.5f * (float)wide)
            bar = true;
    EXPECT_TRUE(bar);
    EXPECT_EQ(output(), "");
}

TEST_F(Tex, LimitsFollowTheOptionAndTheSwitches) {
    int with = nlmess("$\\sum_{i=1}^{n} x$");
    int nolim = nlmess("$\\sum\\nolimits_{i=1}^{n} x$");
    EXPECT_LT(with, nolim);
    texopt("OFF", "LIMI");
    EXPECT_EQ(nlmess("$\\sum_{i=1}^{n} x$"), nolim);
    EXPECT_EQ(nlmess("$\\sum\\limits_{i=1}^{n} x$"), with);
    EXPECT_EQ(output(), "");
}

TEST_F(Tex, ItalicLettersInMathModeOnly) {
    std::vector<Point> math = draw("$x$");
    std::vector<Point> text = draw("x");
    EXPECT_FALSE(same(math, text));
    EXPECT_TRUE(same(draw("$\\rm x$"), text));
    texopt("OFF", "ITAL");
    EXPECT_TRUE(same(draw("$x$"), text));
}

TEST_F(Tex, ColoursAreRestored) {
    draw("{\\red a} b \\blue c");
    ASSERT_GE(colours.size(), 3u);
    EXPECT_EQ(colours.front(), named_colour(1));
    EXPECT_EQ(colours.back(), 7);
    EXPECT_EQ(colour_now, 7);
    // Measuring changes no colour.
    colours.clear();
    nlmess("\\red a");
    EXPECT_TRUE(colours.empty());
}

TEST_F(Tex, SizesAndStyles) {
    EXPECT_GT(nlmess("\\Huge a"), nlmess("a"));
    EXPECT_LT(nlmess("\\tiny a"), nlmess("a"));
    EXPECT_EQ(nlmess("\\normalsize a"), nlmess("a"));
    EXPECT_LT(nlmess("$\\scriptstyle a$"), nlmess("$\\textstyle a$"));
    EXPECT_EQ(nlmess("$\\D a$"), nlmess("$\\T a$"));
    // A group restores the size.
    EXPECT_LT(nlmess("{\\Huge a}b"), nlmess("\\Huge ab"));
    EXPECT_EQ(nlmess("{\\Huge a}b"), nlmess("{\\Huge a}{b}"));
}

TEST_F(Tex, LabelsWithExponentsAreNotFormulas) {
    // Exponent labels switch TeX mode off for their call.
    points.clear();
    draw_text_mode("10[-3", 100, 100, 0, 36, TEXT_EXPONENTS);
    EXPECT_FALSE(points.empty());
    EXPECT_EQ(output(), "");
}

TEST_F(Tex, ArbitraryTextsNeverCrashOrHang) {
    std::mt19937 rng(42);
    const char alphabet[] = "\\{}[]^_$ abxfrcsqtlimovepn0123456789=+-";
    auto t0 = std::chrono::steady_clock::now();
    for (int round = 0; round < 3000; ++round) {
        std::string s;
        int n = (int)(rng() % 80);
        for (int i = 0; i < n; ++i) {
            if (rng() % 5 == 0)
                s += (char)(rng() % 255 + 1);
            else
                s += alphabet[rng() % (sizeof alphabet - 1)];
        }
        messag(s.c_str(), 100, 300);
        nlmess(s.c_str());
    }
    // Deep structures at the length limit.
    std::string deep;
    for (int i = 0; i < 40; ++i) deep += "\\frac{\\sqrt[\\frac{1}{2}]{";
    messag(deep.c_str(), 100, 300);
    std::string many(300, '{');
    messag(many.c_str(), 100, 300);
    // Structures that each measure their parts, nested as deep as allowed.
    std::string nest = "$";
    for (int i = 0; i < 8; ++i) nest += "\\sqrt";
    for (int i = 0; i < 7; ++i) nest += "\\frac{";
    for (int i = 0; i < 7; ++i) nest += "\\sum^";
    nest += "x";
    for (int i = 0; i < 7; ++i) nest += "}{y}";
    nest += "$";
    auto t1 = std::chrono::steady_clock::now();
    messag(nest.c_str(), 100, 300);
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - t1).count(), 2.0);
    double s = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    EXPECT_LT(s, 20.0);
}
