// The text engine: glyph tables, widths, exponents and indices, national
// characters, instructions and robustness against arbitrary bytes.
#include "capture.hpp"
#include "text/text.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "axes/format.hpp"
#include "core/core.hpp"
#include "korval/korval.hpp"
#include "text/glyph_table.hpp"

using namespace korval;

namespace {

struct Point {
    float x, y;
    bool move;
};

std::vector<Point> points;
int fills = 0;
int colour_now = 7;
std::vector<int> colours;

void rec_move(float x, float y) { points.push_back({x, y, true}); }
void rec_draw(float x, float y) { points.push_back({x, y, false}); }
bool rec_fill(const float* x, const float* y, int n) {
    ++fills;
    for (int i = 0; i < n; ++i) points.push_back({x[i], y[i], i == 0});
    return true;
}
int rec_get_colour() { return colour_now; }
void rec_set_colour(int c) {
    colour_now = c;
    colours.push_back(c);
}

// A plot at level 1 with the defaults of korini, recording what the text
// engine draws and collecting the messages in a temporary file.
class TextEngine : public ::testing::Test {
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
        fills = 0;
        colour_now = 7;
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
    std::vector<Point> draw(const char* s, int x = 100, int y = 100) {
        points.clear();
        messag(s, x, y);
        return points;
    }
};

bool same_shape(const std::vector<Point>& a, const std::vector<Point>& b, float dx, float dy) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (std::fabs(a[i].x + dx - b[i].x) > 0.01f || std::fabs(a[i].y + dy - b[i].y) > 0.01f ||
            a[i].move != b[i].move)
            return false;
    return true;
}

const GlyphTable* const all_tables[] = {
    &fontdata::koralf_standard, &fontdata::koralf_greek,    &fontdata::simplx_standard,
    &fontdata::simplx_greek,    &fontdata::complx_standard, &fontdata::complx_italic,
    &fontdata::duplx_standard,  &fontdata::triplx_standard, &fontdata::complex_greek,
    &fontdata::shared_math,     &fontdata::shared_script,   &fontdata::shared_russian,
    &fontdata::helve_standard,  &fontdata::helves_standard, &fontdata::serif_standard,
};

}  // namespace

// ---- the glyph-table reader -------------------------------------------------

TEST(GlyphTable, UnpacksSignedBytePairs) {
    int lo, hi;
    unpack_byte_pair((std::int16_t)0x0305, lo, hi);
    EXPECT_EQ(lo, 5);
    EXPECT_EQ(hi, 3);
    unpack_byte_pair((std::int16_t)(std::uint16_t)0xFEFF, lo, hi);
    EXPECT_EQ(lo, -1);
    EXPECT_EQ(hi, -2);
    unpack_byte_pair((std::int16_t)(std::uint16_t)0x807F, lo, hi);
    EXPECT_EQ(lo, 127);
    EXPECT_EQ(hi, -128);
}

TEST(GlyphTable, ReadsStrokesOffsetsAndStopsAtDamage) {
    // Points (0,0) (2,0) (2,4); glyph 2: stroke of 3 from 1, the same
    // stroke moved by (-1, 3) table steps; glyph 3: length 1 (empty);
    // glyph 4: a stroke reaching beyond the points, then a good one.
    static const std::int16_t pts[] = {0x0000, 0x0002, 0x0402};
    static const std::int16_t idx[] = {6, 3, 1, -3, 1, 0x03FF, 1, 5, 3, 2, 3, 1};
    static const std::uint16_t start[] = {0, 0, 0, 6, 7, 12};
    GlyphTable t{pts, nullptr, idx, start, 3, 12, 4};

    GlyphReader r(t, 2);
    ASSERT_TRUE(r.valid());
    GlyphStroke s;
    ASSERT_TRUE(r.next(s));
    EXPECT_EQ(s.first, 0);
    EXPECT_EQ(s.count, 3);
    EXPECT_EQ(s.dx, 0);
    ASSERT_TRUE(r.next(s));
    EXPECT_EQ(s.count, 3);
    EXPECT_EQ(s.dx, -1);
    EXPECT_EQ(s.dy, 3);
    int x, y;
    r.point(2, x, y);
    EXPECT_EQ(x, 2);
    EXPECT_EQ(y, 4);
    EXPECT_FALSE(r.next(s));

    GlyphReader empty(t, 3);
    EXPECT_TRUE(empty.valid());
    EXPECT_FALSE(empty.next(s));

    GlyphReader damaged(t, 4);
    EXPECT_FALSE(damaged.next(s));  // 3 points from the second pass the end
    EXPECT_FALSE(GlyphReader(t, 1).valid());
    EXPECT_FALSE(GlyphReader(t, 5).valid());
    EXPECT_FALSE(GlyphReader(t, -3).valid());
}

TEST(GlyphTable, GeneratedTablesAreConsistent) {
    for (const GlyphTable* t : all_tables) {
        ASSERT_GT(t->records, 2);
        EXPECT_EQ(t->start[t->records + 1], t->n_index);
        for (int k = 2; k <= t->records; ++k) {
            int at = t->start[k];
            ASSERT_LT(at, t->n_index);
            ASSERT_EQ(t->start[k + 1] - at, t->index[at]) << "record " << k;
            // walk the raw record: every stroke inside the record and the points
            int pos = at + 1, end = at + t->index[at], strokes = 0;
            while (pos < end) {
                int n = t->index[pos], first = t->index[pos + 1];
                pos += n < 0 ? 3 : 2;
                ASSERT_LE(pos, end) << "record " << k;
                ASSERT_GE(first, 1);
                ASSERT_LE(first - 1 + std::abs(n), t->n_points);
                ++strokes;
            }
            GlyphReader r(*t, k);
            ASSERT_TRUE(r.valid());
            GlyphStroke s;
            int read = 0;
            while (r.next(s)) ++read;
            EXPECT_EQ(read, strokes) << "record " << k;
        }
    }
}

TEST(GlyphTable, GlyphsStartAtTheLeftEdge) {
    // Each glyph's ink starts at x = 0, so its width is its largest x (the
    // koralf standard glyphs sit in the middle of their fixed cell).
    for (const GlyphTable* t : all_tables) {
        if (t == &fontdata::koralf_standard) continue;
        float unit = t->points_y ? 2.0f : 0.5f;
        for (int k = 2; k <= t->records; ++k) {
            GlyphReader r(*t, k);
            GlyphStroke s;
            float xmin = 1e9f;
            while (r.next(s))
                for (int i = 0; i < s.count; ++i) {
                    int x, y;
                    r.point(s.first + i, x, y);
                    xmin = std::min(xmin, x + s.dx * unit);
                }
            if (xmin < 1e9f) {
                EXPECT_NEAR(xmin, 0.0f, 0.01f) << "record " << k;
            }
        }
    }
}

// ---- widths and lengths -----------------------------------------------------

TEST_F(TextEngine, KoralfAdvancesByHeightLessOneTimesWidthPlusSpacing) {
    height(36);
    EXPECT_EQ(nlmess("A"), 35);
    EXPECT_EQ(nlmess("ABCDEFGHIJ"), 350);
    EXPECT_EQ(nlmess("i.,;WM"), 6 * 35);  // proportional shapes, fixed cells
    chawth(1.5f);
    chaspc(0.1f);
    // n characters: n * (h - 1) * 1.5 plus n - 1 spacings of 0.1 * h
    EXPECT_EQ(nlmess("ABCD"), (int)std::lround(4 * 35 * 1.5 + 3 * 3.6));
    height(101);
    EXPECT_EQ(nlmess("xy"), (int)std::lround(2 * 100 * 1.5 + 10.1));
}

TEST_F(TextEngine, SpacesAndFixedSpacing) {
    height(36);
    EXPECT_EQ(nlmess("A B"), 3 * 35);  // the koralf space is 6 units as well
    simplx();
    int w = nlmess("A");
    int ws = nlmess("A A");
    // space: 9 of 20 units of 35, plus one spacing of 0.25 * 36 per character
    EXPECT_NEAR(ws - 2 * w, 9.0 / 20 * 35 + 2 * 9, 1.01);
    fixspc(1.0f);
    // cells of (h - 1) * 1.4, no font spacing
    EXPECT_EQ(nlmess("iWi"), (int)std::lround(3 * 35 * 1.4));
}

TEST_F(TextEngine, EmptyRecordAdvancesBySpacingOnly) {
    // Greek has no letter for V: its record is empty, width 0.
    simplx();
    basalf("GREE");
    EXPECT_EQ(nlmess("V"), 0);
    EXPECT_EQ(nlmess("VV"), 9);  // one spacing of 0.25 * 36 between
    EXPECT_TRUE(draw("V").empty());
}

TEST_F(TextEngine, LongTextsAreCutAt256) {
    std::string s(300, 'A');
    EXPECT_EQ(nlmess(s.c_str()), 256 * 35);
}

TEST_F(TextEngine, WidthsDoNotDependOnTheAngle) {
    complx();
    int w = nlmess("Angle");
    angle(37);
    EXPECT_EQ(nlmess("Angle"), w);
}

// ---- positions --------------------------------------------------------------

TEST_F(TextEngine, UpperLeftCornerAndRotation) {
    height(36);
    auto p = draw("E", 100, 200);
    ASSERT_FALSE(p.empty());
    float top = 1e9f, bottom = -1e9f, left = 1e9f;
    for (auto& q : p) top = std::min(top, q.y), bottom = std::max(bottom, q.y), left = std::min(left, q.x);
    EXPECT_NEAR(top, 200, 0.01);     // capitals from the top
    EXPECT_NEAR(bottom, 235, 0.01);  // to the baseline h - 1 below
    EXPECT_NEAR(left, 100, 0.01);
    angle(90);
    auto r = draw("E", 100, 200);
    float right = -1e9f;
    for (auto& q : r) right = std::max(right, q.x);
    EXPECT_NEAR(right, 135, 0.01);  // reading upwards: the baseline is to the right
}

TEST_F(TextEngine, CentredTextStartsHalfItsLengthLeft) {
    height(36);
    auto left = draw("TEXT", 500, 300);
    txtjus("CENT");
    auto centred = draw("TEXT", 500, 300);
    EXPECT_TRUE(same_shape(left, centred, -70.0f, 0.0f));
    txtjus("RIGH");
    EXPECT_TRUE(same_shape(left, draw("TEXT", 500, 300), -140.0f, 0.0f));
}

TEST_F(TextEngine, ContinuationFollowsThePreviousText) {
    auto ab = draw("AB", 100, 100);
    points.clear();
    messag("A", 100, 100);
    messag("B", 999, 999);
    EXPECT_TRUE(same_shape(ab, points, 0, 0));
}

TEST_F(TextEngine, ExponentsAndIndices) {
    complx();
    height(40);
    mixalf();
    auto base = draw("10", 100, 100);
    auto full = draw("10[3$x", 100, 100);
    int w10 = nlmess("10");
    // The 3 at round(0.8 * 40) = 32, raised by 0.6 * 40.
    height(32);
    auto three = draw("3", 100, 100);
    height(40);
    // its baseline: 39 below the top of the line, raised 24, drawn at 31
    float dy = (39.0f - 24.0f) - 31.0f;
    std::vector<Point> got(full.begin() + (long)base.size(),
                           full.begin() + (long)(base.size() + three.size()));
    ASSERT_EQ(got.size(), three.size());
    float dx = got[0].x - three[0].x;
    EXPECT_NEAR(dx, (float)w10 + 0.25f * 40, 0.5f);
    EXPECT_TRUE(same_shape(three, got, dx, dy));
    // after the reset character the x is back on the baseline at height 40
    auto x = draw("x", 100, 100);
    std::vector<Point> tail(full.end() - (long)x.size(), full.end());
    EXPECT_NEAR(tail[0].y, x[0].y, 0.01);

    // index: the height first drops to 32, then the baseline drops 0.6 * 32
    auto idx = draw("x]3$", 100, 100);
    int wx = nlmess("x");
    std::vector<Point> low(idx.begin() + (long)x.size(), idx.end());
    ASSERT_EQ(low.size(), three.size());
    float lx = low[0].x - three[0].x;
    EXPECT_NEAR(lx, (float)wx + 10.0f, 0.5f);
    EXPECT_TRUE(same_shape(three, low, lx, 39.0f + 0.6f * 32 - 31.0f));
}

TEST_F(TextEngine, ControlCharactersOfNewmixAndSetmix) {
    mixalf();
    int classic = nlmess("a[2$");
    newmix();
    EXPECT_EQ(nlmess("a^2%"), classic);
    EXPECT_STREQ(getmix("EXP"), "^");
    EXPECT_STREQ(getmix("IND"), "_");
    EXPECT_STREQ(getmix("RES"), "%");
    setmix("#", "EXP");
    EXPECT_STREQ(getmix("EXP"), "#");
    EXPECT_STREQ(getmix("BAD"), " ");
    EXPECT_NE(output().find("Warning   2"), std::string::npos);
}

// ---- character codes ----------------------------------------------------------

TEST_F(TextEngine, Iso1CodesMapToInternalCharacters) {
    EXPECT_EQ(iso1_to_internal(228), 130);
    EXPECT_EQ(iso1_to_internal(215), 32);
    EXPECT_EQ(iso1_to_internal(161), 185);
    EXPECT_EQ(iso1_to_internal(191), 186);
    EXPECT_EQ(iso1_to_internal(223), 133);
    EXPECT_EQ(iso1_to_internal(255), 184);
    EXPECT_EQ(iso1_to_internal(160), 32);
    EXPECT_EQ(iso1_to_internal(65), 65);
    complx();
    auto internal = draw("\x82");  // 130: a umlaut
    chacod("ISO1");
    EXPECT_TRUE(same_shape(internal, draw("\xe4"), 0, 0));
    EXPECT_TRUE(draw("\xd7").empty());
    EXPECT_EQ(nlmess("\xd7"), nlmess(" "));
}

TEST_F(TextEngine, CharactersBeyondTheAlphabetAreSpaces) {
    simplx();
    EXPECT_FALSE(draw("\xa3").empty());  // 163: last of 132
    EXPECT_TRUE(draw("\xa4").empty());   // 164: a space in simplx
    EXPECT_TRUE(draw("\x01\x1f\xff").empty());
    complx();
    EXPECT_FALSE(draw("\xba").empty());  // 186 in complx
}

TEST_F(TextEngine, NationalShifts) {
    complx();
    auto umlaut = draw("\x82");
    eushft("GERM", "!");
    EXPECT_TRUE(same_shape(umlaut, draw("!a"), 0, 0));
    EXPECT_EQ(nlmess("!a!o"), nlmess("\x82\x83"));
    EXPECT_EQ(output().find("Warning"), std::string::npos);
    auto bad = draw("!x");
    EXPECT_NE(output().find("Warning  18"), std::string::npos);
    EXPECT_GT(bad.size(), draw("x").size());  // both characters drawn

    eushft("SPAN", "~");
    auto inverted = draw("\xb9");
    EXPECT_TRUE(same_shape(inverted, draw("~!"), 0, 0));
    eushft("FREN", "~");  // used by SPAN
    EXPECT_NE(output().find("Warning  57"), std::string::npos);
    eushft("ACUT", "'");
    EXPECT_TRUE(same_shape(draw("\x9a"), draw("'e"), 0, 0));  // 154: e acute
    chacod("ISO1");
    EXPECT_TRUE(same_shape(draw("\xe1"), draw("'a"), 0, 0));
}

// ---- alphabets and instructions -------------------------------------------------

TEST_F(TextEngine, AlphabetShifts) {
    complx();
    basalf("GREE");
    EXPECT_STREQ(getalf(), "GREEK");
    auto greek = draw("abc");
    auto digits_greek = draw("12");
    basalf("STAN");
    EXPECT_TRUE(same_shape(digits_greek, draw("12"), 0, 0));  // from the standard set
    smxalf("GREE", "{", "}", 2);
    char s2[2], s3[2];
    EXPECT_EQ(gmxalf("GREE", OutString<2>{s2}, OutString<2>{s3}), 2);
    EXPECT_STREQ(s2, "{");
    EXPECT_STREQ(s3, "}");
    EXPECT_EQ(gmxalf("RUSS", OutString<2>{s2}, OutString<2>{s3}), 0);
    EXPECT_STREQ(s2, " ");
    EXPECT_TRUE(same_shape(greek, draw("{abc}"), 0, 0));
    smxalf("STAN", "<", ">", 3);
    EXPECT_NE(output().find("Warning  19"), std::string::npos);
    smxalf("RUSS", "<", ">", 7);
    EXPECT_NE(output().find("Warning   2"), std::string::npos);
}

TEST_F(TextEngine, InstructionsMoveAndStyle) {
    height(40);
    smxalf("INST", "{", "}", 1);
    // T moves back to the start: both characters at the same place
    auto a = draw("A");
    auto ab = draw("A{T}A");
    ASSERT_EQ(ab.size(), 2 * a.size());
    EXPECT_TRUE(same_shape(a, std::vector<Point>(ab.begin() + (long)a.size(), ab.end()), 0, 0));
    // A 2: advance two heights
    EXPECT_EQ(nlmess("{A2}A"), 80 + 39);
    // H 0.5 halves the height; R restores it
    EXPECT_EQ(nlmess("{H0.5}AA{R}A"), 2 * 19 + 39);
    // U raises by the attribute height
    auto up = draw("{U}A");
    EXPECT_TRUE(same_shape(a, up, 0, -40));
    // N changes the colour and the text restores it
    draw("{N3}A");
    ASSERT_EQ(colours.size(), 2u);
    EXPECT_EQ(colours[0], 3);
    EXPECT_EQ(colours[1], 7);
    // L underlines from tab 1 (the start) to the pen
    auto under = draw("AB{L}");
    ASSERT_GE(under.size(), 2u);
    Point m = under[under.size() - 2], e = under.back();
    EXPECT_TRUE(m.move);
    EXPECT_NEAR(m.x, 100, 0.01);
    EXPECT_NEAR(m.y, 139 + 8, 0.01);  // 0.2 h below the baseline
    EXPECT_NEAR(e.y, m.y, 0.01);
    EXPECT_EQ(output().find("Warning"), std::string::npos);
}

TEST_F(TextEngine, InstructionErrorsWarnAndDrawingContinues) {
    smxalf("INST", "{", "}", 1);
    auto a = draw("A");
    auto r = draw("{Q}A");
    EXPECT_NE(output().find("Warning  46"), std::string::npos);
    EXPECT_NE(output().find("(Q)"), std::string::npos);
    EXPECT_TRUE(same_shape(a, r, 0, 0));
    draw("{P25}A");
    EXPECT_NE(output().find("Warning  44"), std::string::npos);
    draw("{T1.5}A");
    EXPECT_NE(output().find("Warning  45"), std::string::npos);
    draw("{R2}A");
    EXPECT_NE(output().find("Warning  43"), std::string::npos);
    EXPECT_NE(output().find("(R2)"), std::string::npos);
    draw("{M9}{S99}{Z80}{H#}A");
    EXPECT_EQ(draw("{M9}A").size(), a.size());
}

// ---- numbers --------------------------------------------------------------------

TEST(FormatNumber, FixedAndIntegerForms) {
    EXPECT_EQ(format_number(2.6f, -1), "3");
    EXPECT_EQ(format_number(-2.5f, -1), "-3");
    EXPECT_EQ(format_number(12.0f, 0), " 12");
    EXPECT_EQ(format_number(7.0f, -3), "7  ");
    EXPECT_EQ(format_number(3.14159f, 2), "3.14");
    EXPECT_EQ(format_number(-3.14159f, 3), "-3.142");
    EXPECT_EQ(format_number(9.96f, 1), "10.0");
    EXPECT_EQ(format_number(0.0f, 1), "0.0");
    EXPECT_EQ(format_number(-0.01f, 1), "0.0");
    EXPECT_EQ(format_number(0.4f, -1), "0");
    EXPECT_EQ(format_number(1234567.0f, 0), " 1234567");
    EXPECT_EQ(format_number(3.0e38f, 0).size(), 40u);
    EXPECT_EQ(format_number(1.0f, 100).size(), 102u);
    EXPECT_EQ(format_number(NAN, 2), "NaN");
}

TEST(FormatNumber, Exponents) {
    char buf[64];
    format_exponent(12345.0f, 2, 1, '[', '$', buf, sizeof buf);
    EXPECT_STREQ(buf, "1.23*10[4$");
    format_exponent(-0.00025f, 1, 2, '[', '$', buf, sizeof buf);
    EXPECT_STREQ(buf, "-2.5E-4");
    format_exponent(0.0f, 1, 2, '[', '$', buf, sizeof buf);
    EXPECT_STREQ(buf, "0.0E0");
    char tiny[4];
    format_exponent(12345.0f, 2, 1, '[', '$', tiny, sizeof tiny);
    EXPECT_STREQ(tiny, "1.2");
}

TEST_F(TextEngine, NumberModesAndFormats) {
    char buf[128];
    unsigned flags;
    numode("COMM", "POIN", "PLUS", "PROP");
    format_number_text(1234567.125f, 3, buf, sizeof buf, flags);
    EXPECT_STREQ(buf, "+1.234.567,125");
    format_number_text(-1234.5f, 4, buf, sizeof buf, flags);
    EXPECT_STREQ(buf, "-1.234,500.0");
    numode("POIN", "NONE", "NONE", "PROP");
    numfmt("EXP");
    format_number_text(1500.0f, 1, buf, sizeof buf, flags);
    EXPECT_STREQ(buf, "1.5*10[3$");
    EXPECT_EQ(flags, (unsigned)TEXT_EXPONENTS);
    numfmt("LOG");
    format_number_text(1000.0f, -1, buf, sizeof buf, flags);
    EXPECT_STREQ(buf, "10[3$");
    numfmt("FLOA");
    EXPECT_EQ(nlnumb(12.0f, 0), nlmess(" 12"));
    EXPECT_EQ(nlnumb(1.0f, 101), 0);
    EXPECT_NE(output().find("Warning   2"), std::string::npos);
    numode("POIN", "NONE", "NONE", "EQUA");
    EXPECT_EQ(nlnumb(11.0f, -1), (int)std::lround(2 * 35 * 0.7 * 1.4));
}

// ---- attributes, messages, robustness ------------------------------------------

TEST_F(TextEngine, OutOfRangeAttributesWarnAndKeepTheirValue) {
    height(50);
    height(0);
    height(10001);
    chawth(2.0f);
    chawth(0.0f);
    chaang(61.0f);
    fixspc(-1.0f);
    basalf("KLIN");
    txtjus("MIDD");
    chacod("UTF8");
    std::string out = output();
    size_t count = 0;
    for (size_t at = out.find("Warning   2"); at != std::string::npos; at = out.find("Warning   2", at + 1))
        ++count;
    EXPECT_EQ(count, 9u);
    EXPECT_EQ(state().text.height, 50);
    EXPECT_EQ(state().text.width_factor, 1.0f);
    EXPECT_FALSE(state().text.fixed);
}

TEST_F(TextEngine, EmptyTextDrawsAndPrintsNothing) {
    EXPECT_TRUE(draw("").empty());
    EXPECT_TRUE(draw("", 99999, -5).empty());
    EXPECT_EQ(output(), "");
    EXPECT_EQ(nlmess(""), 0);
}

TEST_F(TextEngine, OffPageStartAndEnd) {
    draw("ABC", -10, 100);
    draw("ABCDEFGHIJ", 2900, 100);
    std::string out = output();
    EXPECT_NE(out.find(" <<<< Warning: Startpoint (  -10/  100) in MESSAG out of page - (ABC).\n"),
              std::string::npos);
    EXPECT_NE(out.find(" <<<< Warning: Endpoint   ( 3250/  135) in MESSAG out of page - (ABCDEFGH).\n"),
              std::string::npos);
}

TEST_F(TextEngine, OutlineGlyphsAreFilledWithTheirHoles) {
    helve();
    draw("O");
    EXPECT_EQ(fills, 1);  // the ring and its hole are one polygon
    // the polygon closes, and the hole is joined in and left at one point
    ASSERT_GT(points.size(), 6u);
    EXPECT_EQ(points.front().x, points.back().x);
    EXPECT_EQ(points.front().y, points.back().y);
    int repeats = 0;
    for (size_t i = 1; i + 1 < points.size(); ++i)
        for (size_t j = i + 1; j + 1 < points.size(); ++j)
            if (points[i].x == points[j].x && points[i].y == points[j].y) ++repeats;
    EXPECT_GE(repeats, 2);  // the joining point, and the hole's first point
    fills = 0;
    draw("i:");
    EXPECT_EQ(fills, 4);  // stem, dot and two dots: separate parts
    fills = 0;
    draw("8B");
    EXPECT_EQ(fills, 2);
}

bool no_fill(const float*, const float*, int) { return false; }

TEST_F(TextEngine, OutlinesAreDrawnAsLinesWithoutFilling) {
    text_output().fill = no_fill;
    serif();
    auto p = draw("o");
    int moves = 0;
    for (auto& q : p) moves += q.move ? 1 : 0;
    EXPECT_EQ(moves, 2);  // outer contour and hole
}

TEST_F(TextEngine, FrameAroundTheText) {
    frmess(2);
    height(40);
    auto p = draw("AB", 200, 200);
    // two outlines of five points after the glyphs, the outer one 1 larger
    ASSERT_GE(p.size(), 10u);
    Point a = p[p.size() - 10], b = p[p.size() - 5];
    EXPECT_NEAR(a.x, 200 - 20, 0.01);  // (1.5 - 1) * 40 to the left
    EXPECT_NEAR(b.x, 200 - 21, 0.01);
}

TEST_F(TextEngine, ArbitraryBytesNeverBreakTheEngine) {
    std::mt19937 rng(12345);
    void (*fonts[8])() = {koralf, simplx, complx, duplx, triplx, helve, helves, serif};
    mixalf();
    smxalf("INST", "{", "}", 1);
    smxalf("GREE", "<", ">", 2);
    smxalf("SCRI", "@", "@", 3);
    eushft("GERM", "!");
    eushft("CIRC", "^");
    state().msg.unit = 0;  // thousands of warnings are expected
    for (int round = 0; round < 400; ++round) {
        fonts[round % 8]();
        chacod(round % 3 ? "STAN" : "ISO1");
        basalf(round % 5 ? "STAN" : "ITAL");
        char text[400];
        int n = (int)(rng() % 399);
        for (int i = 0; i < n; ++i) {
            unsigned v = rng() % 6 == 0 ? (unsigned)"{}<>@![]$PGTACFUDEIRHKLJVOSMNWYZX.-0123"[rng() % 39]
                                        : rng() % 255 + 1;
            text[i] = (char)v;
        }
        text[n] = '\0';
        points.clear();
        messag(text, (int)(rng() % 3000), (int)(rng() % 2100));
        int len = nlmess(text);
        EXPECT_GE(len, -1000000);
        for (auto& q : points) ASSERT_TRUE(std::isfinite(q.x) && std::isfinite(q.y));
    }
}

TEST_F(TextEngine, MeasuringFortyCharactersTakesMicroseconds) {
    complx();
    const char* s = "Temperature (degrees) and pressure [hPa]";
    ASSERT_EQ(std::string(s).size(), 40u);
    auto t0 = std::chrono::steady_clock::now();
    long sum = 0;
    const int runs = 2000;
    for (int i = 0; i < runs; ++i) sum += nlmess(s);
    double us =
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - t0).count() / runs;
    std::printf("nlmess of 40 characters (complx): %.2f us\n", us);
    EXPECT_GT(sum, 0);
    EXPECT_LT(us, 200.0);
}

TEST_F(TextEngine, DrawTextUsesItsOwnAngleAndHeight) {
    height(36);
    angle(0);
    points.clear();
    draw_text("E", 300, 300, 90, 51);
    ASSERT_FALSE(points.empty());
    float right = -1e9f;
    for (auto& q : points) right = std::max(right, q.x);
    EXPECT_NEAR(right, 350, 0.01);  // reading upwards, capitals 50 high
    EXPECT_EQ(state().text.height, 36);
    EXPECT_EQ(state().text.angle, 0);
    EXPECT_EQ(text_length("ABC"), nlmess("ABC"));
    // no justification, and (999, 999) is a point like any other
    txtjus("RIGH");
    points.clear();
    draw_text("A", 999, 999, 0, 36);
    float left = 1e9f, top = 1e9f;
    for (auto& q : points) left = std::min(left, q.x), top = std::min(top, q.y);
    EXPECT_GE(left, 999.0f);
    EXPECT_LT(left, 999.0f + 35);
    EXPECT_NEAR(top, 999, 0.01);
    EXPECT_EQ(text_length_mode("10[3$", TEXT_EXPONENTS), 35 * 2 + 28);
}

TEST_F(TextEngine, UserCoordinateTextAndNumbers) {
    rlmess("A", 5.0f, 5.0f);
    EXPECT_NE(output().find("Warning   3"), std::string::npos);  // no axis system yet
    graf(0.0f, 10.0f, 0.0f, 2.0f, 0.0f, 10.0f, 0.0f, 2.0f);
    ASSERT_EQ(getlev(), 2);
    int nx = nxposn(5.0f), ny = nyposn(3.0f);
    auto plot = draw("A", nx, ny);
    points.clear();
    rlmess("A", 5.0f, 3.0f);
    EXPECT_TRUE(same_shape(plot, points, 0, 0));
    points.clear();
    number(2.5f, 1, nx, ny);
    auto num = points;
    points.clear();
    rlnumb(2.5f, 1, 5.0f, 3.0f);
    EXPECT_TRUE(same_shape(num, points, 0, 0));
    // (999, 999) continues the previous text
    points.clear();
    rlmess("B", 999.05f, 998.95f);
    auto b = points;
    auto ab = draw("2.5B", nx, ny);
    EXPECT_TRUE(same_shape(std::vector<Point>(ab.end() - (long)b.size(), ab.end()), b, 0, 0));
    endgrf();
}
