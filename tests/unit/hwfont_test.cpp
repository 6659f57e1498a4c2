// Hardware fonts: the width sets and their mapping to the 35 fonts, font
// selection and its warnings, the advance of characters in the text layout
// and what the PostScript, PDF and SVG files receive.
#include "capture.hpp"
#include "text/hwfont.hpp"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "korval/korval.hpp"
#include "tool_helpers.hpp"

using namespace korval;

namespace {

std::string slurp(const std::string& name) {
    std::ifstream f(name, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

// The words of s joined by single blanks (the record output breaks lines).
std::string words(const std::string& s) {
    std::istringstream in(s);
    std::string t, out;
    while (in >> t) out += (out.empty() ? "" : " ") + t;
    return out;
}

// The number of blank-separated tokens equal to word.
int tokens(const std::string& s, const std::string& word) {
    std::istringstream in(s);
    std::string t;
    int n = 0;
    while (in >> t) n += t == word;
    return n;
}

int count(const std::string& s, const std::string& what) {
    int n = 0;
    for (std::size_t p = s.find(what); p != std::string::npos; p = s.find(what, p + 1)) ++n;
    return n;
}

int font_index(const char* name) {
    for (int i = 0; i < 35; ++i)
        if (std::string(standard_fonts[i]) == name) return i;
    return -1;
}

// A plot of format fmt written to a temporary file, its messages collected
// in another.
class HardwareFonts : public ::testing::Test {
protected:
    TempDir dir;
    std::FILE* messages = nullptr;
    std::string file;

    void open(const char* fmt, const char* name, bool turned = true) {
        file = dir.path(name);
        metafl(fmt);
        setfil(file.c_str());
        filmod("DELE");
        pagmod(turned ? "LAND" : "NONE");
        korini();
        if (messages) std::fclose(messages);
        errmod("PROT", "OFF");
        messages = std::tmpfile();
        state().msg.unit = 1;
        state().msg.stream = messages;
        state().msg.warnings = true;
    }
    std::string finish() {
        korfin();
        return slurp(file);
    }
    std::string output() {
        return read_all(messages);
    }
    void TearDown() override {
        if (state().run.level != 0) korfin();
        state().msg.stream = nullptr;
        state().msg.unit = 6;
        // the level-0 settings of a fresh process for the tests that follow
        OutputState& o = state().out;
        o.format = 0;
        o.keyword = "VECM";
        o.given_name.clear();
        o.file_name.clear();
        o.file_name_state = 0;
        o.file_mode = 0;
        o.page_rotation = 0;
        if (messages) std::fclose(messages);
    }
};

}  // namespace

// ---- the width sets ------------------------------------------------------------

TEST(HardwareFontWidths, SetsFollowTheFontList) {
    const int sets[35] = {1, 2, 3, 4, 5,  6,  5,  6,  7,  8,  7,  8,  9,  10, 11, 12, 13, 14,
                          0, 0, 0, 0, 15, 16, 15, 16, 22, 23, 24, 25, 17, 18, 19, 20, 21};
    for (int i = 0; i < 35; ++i) EXPECT_EQ(hwfont_width_set(i), sets[i]) << standard_fonts[i];
    // Out of range: the set of Times-Roman, never an index outside the data.
    EXPECT_EQ(hwfont_width_set(-1), 1);
    EXPECT_EQ(hwfont_width_set(35), 1);
}

TEST(HardwareFontWidths, StandardMetricsIn140thsOfTheFontSize) {
    std::uint16_t w[155];
    hwfont_fill_widths(font_index("Times-Roman"), w);
    EXPECT_EQ(w[0], 35);          // space 250
    EXPECT_EQ(w['m' - 32], 109);  // 778
    EXPECT_EQ(w['W' - 32], 132);  // 944
    EXPECT_EQ(w['0' - 32], 70);   // figures 500
    hwfont_fill_widths(font_index("Helvetica"), w);
    EXPECT_EQ(w['A' - 32], 93);  // 667
    EXPECT_EQ(w['i' - 32], 31);  // 222
    EXPECT_EQ(w[127 - 32], 93);  // Ä as A
    EXPECT_EQ(w[133 - 32], 86);  // ß 611
    hwfont_fill_widths(font_index("Helvetica-Narrow"), w);
    EXPECT_EQ(w['A' - 32], 77);  // 547 of the condensed design
    for (const char* f : {"Courier", "Courier-Bold", "Courier-Oblique", "Courier-BoldOblique"}) {
        hwfont_fill_widths(font_index(f), w);
        for (int i = 0; i < 155; ++i) ASSERT_EQ(w[i], 84) << f << " code " << i + 32;
    }
    // Every letter and figure of the text fonts has a width.
    for (int font = 0; font < 35; ++font) {
        if (font == font_index("Symbol") || font == font_index("ZapfDingbats")) continue;
        hwfont_fill_widths(font, w);
        for (int c = 33; c <= 133; ++c) EXPECT_GT(w[c - 32], 10) << standard_fonts[font] << " " << c;
    }
}

TEST(HardwareFontWidths, NationalCharactersTakeTheirBaseLetters) {
    std::uint16_t w[155];
    hwfont_fill_widths(font_index("Palatino-Bold"), w);
    auto W = [&](int c) { return (int)w[c - 32]; };
    EXPECT_EQ(W(134), W('A'));  // Å
    EXPECT_EQ(W(135), W('O'));  // Ø
    EXPECT_EQ(W(140), W('N'));
    EXPECT_EQ(W(142), W('C'));
    EXPECT_EQ(W(148), W('A'));  // acute vowels
    EXPECT_EQ(W(157), W('u'));
    EXPECT_EQ(W(158), W('A'));  // grave
    EXPECT_EQ(W(177), W('u'));  // circumflex
    EXPECT_EQ(W(182), W('Y'));
    EXPECT_EQ(W(184), W('y'));
    EXPECT_EQ(W(185), W('!'));
    EXPECT_EQ(W(186), W('?'));
    EXPECT_EQ(W(136), (W('A') + 1) / 2 + W('E'));      // Æ
    EXPECT_EQ(W(139), (2 * W('a') + 1) / 3 + W('e'));  // æ
}

TEST(HardwareFontWidths, ObliqueVariantsShareTheUprightSets) {
    std::uint16_t a[155], b[155];
    const char* pairs[][2] = {{"Helvetica", "Helvetica-Oblique"},
                              {"Helvetica-Narrow-Bold", "Helvetica-Narrow-BoldOblique"},
                              {"AvantGarde-Demi", "AvantGarde-DemiOblique"}};
    for (auto& p : pairs) {
        hwfont_fill_widths(font_index(p[0]), a);
        hwfont_fill_widths(font_index(p[1]), b);
        for (int i = 0; i < 155; ++i) ASSERT_EQ(a[i], b[i]) << p[1];
    }
    // The symbol fonts have no glyphs at the umlaut codes.
    hwfont_fill_widths(font_index("Symbol"), a);
    EXPECT_EQ(a[127 - 32], 0);
    EXPECT_EQ(a['a' - 32], 88);  // alpha 631
}

// ---- selection ------------------------------------------------------------------

TEST_F(HardwareFonts, PsfontIgnoresCaseAndWritesTheReencodedFont) {
    open("PS", "a.ps");
    psfont("times-roman");
    EXPECT_EQ(state().text.hw_mode, 1);
    EXPECT_STREQ(state().text.hw_name, "Times-Roman-German");
    EXPECT_EQ(output(), "");
    height(60);
    std::string ps = words(finish());
    EXPECT_NE(
        ps.find("(Times-Roman) (Times-Roman-German) GermanVec ReEncodeSmall (Times-Roman-German) 16 font"),
        std::string::npos);
    // height: the font again at trunc(60 * 1.8571428 * 0.25)
    EXPECT_NE(ps.find("(Times-Roman-German) 27 font"), std::string::npos);
}

TEST_F(HardwareFonts, UnknownNamesFallBackToTimesRoman) {
    open("PDF", "a.pdf");
    int before = state().run.warning_count;
    psfont("Comic-Sans");
    EXPECT_EQ(output(), " <<<< Warning: Comic-Sans is not a standard font!\n");
    EXPECT_EQ(state().run.warning_count, before + 1);
    EXPECT_EQ(state().text.hw_index, 0);
    EXPECT_STREQ(state().text.hw_name, "Times-Roman-German");
    // A name is compared on its first 30 characters only.
    psfont("Helvetica-Narrow-BoldObliqueXYZ");
    EXPECT_EQ(state().text.hw_index, 0);
    psfont(nullptr);
    EXPECT_EQ(state().text.hw_index, 0);
}

TEST_F(HardwareFonts, RasterFormatsWarnAndKeepStrokeFonts) {
    open("PNG", "a.png");
    psfont("Helvetica");
    EXPECT_NE(output().find("Warning  49: Fileformat is not PostScript in psfont!"), std::string::npos);
    EXPECT_EQ(state().text.hw_mode, 0);
    EXPECT_EQ(state().text.font, 0);
    hwfont();  // the stroke font complx, without a warning
    EXPECT_EQ(state().text.font, 2);
    EXPECT_EQ(state().text.hw_mode, 0);
    EXPECT_EQ(output().find("Warning", 10), std::string::npos);
}

TEST_F(HardwareFonts, WindowAndX11FontsWarn) {
    open("SVG", "a.svg");
    winfnt("Arial");
    x11fnt("-*-helvetica-*", "STAN");
    std::string out = output();
    EXPECT_NE(out.find("Warning 101: Window fonts cannot be used in winfnt!"), std::string::npos) << out;
    EXPECT_NE(out.find("Warning 101: X11 fonts cannot be used in x11fnt!"), std::string::npos) << out;
    EXPECT_EQ(state().text.hw_mode, 0);
}

TEST_F(HardwareFonts, HwfontChoosesByFormat) {
    open("PDF", "a.pdf");
    hwfont();
    EXPECT_EQ(state().text.hw_mode, 1);
    EXPECT_EQ(state().text.hw_index, 0);
    korfin();
    open("SVG", "b.svg");
    hwfont();  // SVG gets the stroke font, although psfont accepts SVG
    EXPECT_EQ(state().text.hw_mode, 0);
    EXPECT_EQ(state().text.font, 2);
}

TEST_F(HardwareFonts, StrokeFontsAndKoriniEndTheHardwareFont) {
    open("PS", "a.ps");
    psfont("Helvetica");
    EXPECT_EQ(state().text.font, 2) << "other alphabets in complx";
    complx();
    EXPECT_EQ(state().text.hw_mode, 0);
    psfont("Helvetica");
    korfin();
    open("PS", "b.ps");
    EXPECT_EQ(state().text.hw_mode, 0);
    EXPECT_EQ(state().text.font, 0);
}

// ---- layout -------------------------------------------------------------------------

TEST_F(HardwareFonts, AdvancesFollowTheWidthTable) {
    open("PDF", "a.pdf");
    height(100);
    psfont("Courier");
    // trunc(0.46428575 * 100) * 84 * 0.025 = 96.6 per character, 0.1 * h between
    EXPECT_NEAR(hwfont_advance('A', 100), 96.6f, 1e-3f);
    EXPECT_EQ(nlmess("A"), 97);
    EXPECT_EQ(nlmess("AB"), 203);
    chaspc(0.5f);
    EXPECT_EQ(nlmess("AB"), 253);
    chaspc(0.0f);
    psfont("Helvetica");
    EXPECT_NEAR(hwfont_advance('A', 100), 46 * 93 * 0.025f, 1e-3f);
    EXPECT_NEAR(hwfont_advance('i', 100), 46 * 31 * 0.025f, 1e-3f);
    // codes outside the table take the space's width
    EXPECT_NEAR(hwfont_advance(7, 100), 46 * 39 * 0.025f, 1e-3f);
    EXPECT_NEAR(hwfont_advance(400, 100), 46 * 39 * 0.025f, 1e-3f);
    // Stroke fonts again: the complx widths.
    int hw = nlmess("Hi");
    complx();
    EXPECT_NE(nlmess("Hi"), hw);
}

TEST_F(HardwareFonts, PostScriptAdvancesUseTheDeviceFactor) {
    open("PS", "a.ps");
    float f = state().out.device_factor;
    psfont("Courier");
    float per = (float)(int)(100 * f * 0.25f) * 84 * 0.025f;
    EXPECT_NEAR(hwfont_advance('x', 100), per, 1e-3f);
}

// ---- output -------------------------------------------------------------------------

TEST_F(HardwareFonts, PostScriptCharactersAreCentredInTheirAdvance) {
    open("PS", "a.ps", false);
    height(100);
    psfont("Courier");
    messag("AB", 200, 300);
    float f = state().out.device_factor;
    int nyp = state().out.nyp;
    std::string ps = finish();
    // baseline 99 below the top; A's centre 48.3 to the right of 200
    char want[64];
    std::snprintf(want, sizeof want, "65 %d %d 0 c", (int)(248.3f * f + 0.5f), (int)((nyp - 399) * f + 0.5f));
    EXPECT_NE(ps.find(want), std::string::npos) << want;
    std::snprintf(want, sizeof want, "66 %d %d 0 c", (int)((200 + 96.6f + 10 + 48.3f) * f + 0.5f),
                  (int)((nyp - 399) * f + 0.5f));
    EXPECT_NE(ps.find(want), std::string::npos) << want;
    if (have_tool("gs")) {
        std::string text =
            tool_output("gs -q -dSAFER -dNOPAUSE -dBATCH -sDEVICE=txtwrite -sOutputFile=- " + file);
        EXPECT_NE(text.find("AB"), std::string::npos) << text;
    }
}

TEST_F(HardwareFonts, OnlyTheStandardAlphabetGoesToTheDevice) {
    open("PS", "a.ps");
    psfont("Helvetica");
    height(60);
    long vectors = state().run.vector_count;
    messag("ab", 100, 100);
    EXPECT_EQ(state().run.vector_count, vectors) << "no strokes";
    basalf("GREE");
    messag("ab", 100, 300);
    EXPECT_GT(state().run.vector_count, vectors) << "Greek is stroked";
    basalf("STAN");
    mixalf();
    messag("10[3$x", 100, 500);  // the exponent at round(0.8 * 60) = 48
    std::string ps = finish();
    EXPECT_EQ(tokens(ps, "c"), 6);
    EXPECT_NE(ps.find("(Helvetica-German) 22 font 51 "), std::string::npos);  // trunc(48 * f / 4)
    EXPECT_NE(ps.find("(Helvetica-German) 27 font 120 "), std::string::npos);
}

TEST_F(HardwareFonts, PdfTextIsExtractable) {
    pdfmod("OFF", "COMP");
    open("PDF", "a.pdf");  // turned: the fixed PDF font sizes fit the page scale
    psfont("Helvetica-Bold");
    height(50);
    messag("Pressure (hPa) & more", 300, 300);
    psfont("Times-Italic");
    messag("second line", 300, 500);
    std::string pdf = finish();
    pdfmod("ON", "COMP");
    EXPECT_NE(pdf.find("/BaseFont /Helvetica-Bold\n"), std::string::npos);
    EXPECT_NE(pdf.find("/BaseFont /Times-Italic\n"), std::string::npos);
    EXPECT_NE(pdf.find("(\\50) Tj\n"), std::string::npos);
    if (have_tool("qpdf")) EXPECT_TOOL_OK("qpdf --check " + file);
    if (have_tool("pdftotext")) {
        std::string text = tool_output("pdftotext " + file + " -");
        EXPECT_NE(text.find("Pressure (hPa) & more"), std::string::npos) << text;
        EXPECT_NE(text.find("second line"), std::string::npos) << text;
    }
}

TEST_F(HardwareFonts, SvgTextElementsWithTheFontMapping) {
    open("SVG", "a.svg");
    psfont("Times-Italic");
    messag("a<b", 100, 100);
    std::string svg = finish();
    EXPECT_NE(svg.find("font-family=\"Times\" font-weight=\"normal\" font-style=\"italic\""),
              std::string::npos);
    EXPECT_EQ(count(svg, "</text>"), 3);
    EXPECT_NE(svg.find("&lt;</text>"), std::string::npos);
    if (have_tool("xmllint")) EXPECT_TOOL_OK("xmllint --noout " + file);
}
