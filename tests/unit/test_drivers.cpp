// The CGM, HPGL, Prescribe, Java applet and WMF drivers: the written files
// walked element by element and record by record, and the third-party
// readers (hp2xx, javac, wmf2svg) where they are installed.
#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"
#include "text/text.hpp"
#include "tool_helpers.hpp"

using namespace korval;

namespace {

std::string slurp(const std::string& name) {
    std::ifstream f(name, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

void open_plot(const char* fmt, const std::string& name, const char* page = "DA4L") {
    metafl(fmt);
    setpag(page);
    setfil(name.c_str());
    filmod("DELE");
    korini();
    errmod("PROT", "OFF");
}

// A polyline of n points through the pipeline.
void zigzag(int n, float x0 = 100, float y0 = 1000) {
    plot_move(x0, y0);
    for (int i = 1; i < n; ++i) plot_draw(x0 + 10.0f * i, y0 + (i % 2 ? 40.0f : 0.0f));
    plot_flush();
}

// ---- a CGM reader: every element with its class, id and parameters --------

struct CgmElement {
    int cls, id;
    std::string data;
};

unsigned w16(const std::string& s, std::size_t at) {
    return ((unsigned)(unsigned char)s[at] << 8) | (unsigned char)s[at + 1];
}

// Walks the elements up to END METAFILE; false when an element runs past
// the end of the file or the file does not end there.
bool parse_cgm(const std::string& file, std::vector<CgmElement>& out, std::size_t& end) {
    std::size_t at = 0;
    while (at + 2 <= file.size()) {
        unsigned head = w16(file, at);
        at += 2;
        std::size_t len = head & 31;
        if (len == 31) {
            if (at + 2 > file.size()) return false;
            len = w16(file, at) & 0x7fff;
            at += 2;
        }
        if (at + len > file.size()) return false;
        out.push_back({(int)(head >> 12), (int)((head >> 5) & 127), file.substr(at, len)});
        at += len + (len % 2);
        if (head >> 12 == 0 && ((head >> 5) & 127) == 2) {
            end = at;
            return true;
        }
    }
    return false;
}

std::string cgm_string(const CgmElement& e) {
    if (e.data.empty()) return "";
    std::size_t n = (unsigned char)e.data[0];
    return e.data.substr(1, n);
}

// "c/i" names of the elements, blank-separated.
std::string sequence(const std::vector<CgmElement>& els) {
    std::string s;
    for (const CgmElement& e : els)
        s += (s.empty() ? "" : " ") + std::to_string(e.cls) + "/" + std::to_string(e.id);
    return s;
}

}  // namespace

TEST(Cgm, ElementSequenceRecordsAndPolylineGroups) {
    TempDir dir;
    std::string name = dir.path("a.cgm");
    cgmver(1);
    cgmpic("");
    cgmbgd(0.0f, 0.5f, 1.0f);
    open_plot("CGM", name);
    EXPECT_FLOAT_EQ(state().out.device_factor, 2.0f);
    setclr(30);
    zigzag(120);
    korfin();
    cgmbgd(1.0f, 1.0f, 1.0f);
    std::string f = slurp(name);
    ASSERT_GE(f.size(), 4u);
    EXPECT_EQ(f.size() % 80, 0u);
    EXPECT_EQ((unsigned char)f[0], 0x00);
    EXPECT_EQ((unsigned char)f[1], 0x3F);
    EXPECT_EQ(w16(f, 2), 1 + name.size());  // the length word of the file-name string
    std::vector<CgmElement> els;
    std::size_t end = 0;
    ASSERT_TRUE(parse_cgm(f, els, end));
    EXPECT_EQ(f.find_first_not_of(' ', end), std::string::npos) << "blank padding after END METAFILE";
    ASSERT_GE(els.size(), 12u);
    // Metafile descriptor, picture descriptor, body, end.
    EXPECT_EQ(sequence(els).substr(0, 40), "0/1 1/1 1/2 1/11 0/3 2/2 2/6 2/7 0/4 5/4");
    EXPECT_EQ(cgm_string(els[0]), name);
    EXPECT_EQ(w16(els[1].data, 0), 1u);
    std::string desc = cgm_string(els[2]);
    EXPECT_EQ(desc.substr(0, 60), "\"ProfileId:CALS\",\"ProfileEd:1.0\",\"Source:KORVAL  8.1\",\"Date:");
    EXPECT_EQ(desc.substr(desc.size() - 22), "\",\"ColourClass:colour\"");
    EXPECT_EQ(cgm_string(els[4]), "Picture 1");
    EXPECT_EQ(w16(els[6].data, 4), 5938u);  // VDC extent: page × 2
    EXPECT_EQ(w16(els[6].data, 6), 4198u);
    EXPECT_EQ(els[7].data, std::string("\x00\x80\xff\x00", 4));
    // The 120 points: 50, 50 and 22, each group from the previous end.
    std::vector<const CgmElement*> lines;
    for (const CgmElement& e : els)
        if (e.cls == 4 && e.id == 1) lines.push_back(&e);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0]->data.size(), 4u * 50);
    EXPECT_EQ(lines[1]->data.size(), 4u * 50);
    EXPECT_EQ(lines[2]->data.size(), 4u * 22);
    EXPECT_EQ(lines[0]->data.substr(49 * 4, 4), lines[1]->data.substr(0, 4));
    EXPECT_EQ(lines[1]->data.substr(49 * 4, 4), lines[2]->data.substr(0, 4));
    EXPECT_EQ(w16(lines[0]->data, 0), 200u);                // x = 100 plot units
    EXPECT_EQ(w16(lines[0]->data, 2), 2 * (2099u - 1000));  // y from the bottom
    EXPECT_EQ(sequence(els).substr(sequence(els).size() - 7), "0/5 0/2");
}

TEST(Cgm, VersionFourPagesColoursAndSettings) {
    TempDir dir;
    std::string name = dir.path("b.cgm");
    long before = state().run.warning_count;
    cgmver(3);  // warning 2, nothing changes
    cgmbgd(1.5f, 0, 0);
    EXPECT_EQ(state().run.warning_count, before + 2);
    cgmver(4);
    cgmpic("Flow");
    open_plot("CGM", name, "DA4P");
    setclr(30);
    setclr(30);  // unchanged: no second LINE COLOUR
    zigzag(5);
    newpag();
    zigzag(3);
    korfin();
    cgmver(1);
    cgmpic("");
    std::string f = slurp(name);
    EXPECT_EQ(f.size() % 80, 0u);
    std::vector<CgmElement> els;
    std::size_t end = 0;
    ASSERT_TRUE(parse_cgm(f, els, end));
    EXPECT_EQ(w16(els[1].data, 0), 4u);
    EXPECT_NE(cgm_string(els[2]).find("\"ProfileId:WebCGM\""), std::string::npos);
    std::string seq = sequence(els);
    // Two pictures, each with the scaling mode and the colour set again.
    EXPECT_NE(seq.find("0/3 2/1 2/2 2/6 2/7 0/4"), std::string::npos);
    EXPECT_NE(seq.find("0/5 0/3 2/1 2/2 2/6 2/7 0/4 5/4 4/1 0/5 0/2"), std::string::npos) << seq;
    int pictures = 0, colours = 0;
    for (const CgmElement& e : els) {
        if (e.cls == 0 && e.id == 3) {
            ++pictures;
            EXPECT_EQ(cgm_string(e), "Flow");
        }
        if (e.cls == 2 && e.id == 1) {
            EXPECT_EQ(e.data, std::string("\x00\x01\x3D\x4C\xCC\xC8", 6));
        }
        if (e.cls == 5 && e.id == 4) ++colours;
        if (e.cls == 2 && e.id == 6) {
            EXPECT_EQ(w16(e.data, 4), 4198u);  // portrait page, not turned
        }
    }
    EXPECT_EQ(pictures, 2);
    EXPECT_EQ(colours, 3);  // korini's colour, setclr(30), the second picture
}

TEST(Cgm, NewColourTableGivesTheCurrentIndexItsNewColour) {
    TempDir dir;
    std::string name = dir.path("t.cgm");
    open_plot("CGM", name);
    setclr(30);
    zigzag(3);
    setvlt("GREY");
    zigzag(3);
    korfin();
    std::vector<CgmElement> els;
    std::size_t end = 0;
    ASSERT_TRUE(parse_cgm(slurp(name), els, end));
    std::vector<std::string> colours;
    for (const CgmElement& e : els)
        if (e.cls == 5 && e.id == 4) colours.push_back(e.data.substr(0, 3));
    ASSERT_GE(colours.size(), 3u);
    const std::string& grey = colours.back();
    EXPECT_EQ(grey[0], grey[1]);
    EXPECT_EQ(grey[1], grey[2]);
    EXPECT_NE(colours[colours.size() - 2], grey);
}

TEST(Cgm, OversizedPageWarnsAndStaysInSixteenBits) {
    TempDir dir;
    std::string name = dir.path("c.cgm");
    sclmod("FULL");
    metafl("CGM");
    setpag("DA0L");
    sclfac(2.0f);  // 47556 VDC units across
    setfil(name.c_str());
    filmod("DELE");
    long before = state().run.warning_count;
    korini();
    errmod("PROT", "OFF");
    EXPECT_EQ(state().run.warning_count, before + 1);
    pagera();
    korfin();
    sclfac(1.0f);
    sclmod("DOWN");
    std::vector<CgmElement> els;
    std::size_t end = 0;
    ASSERT_TRUE(parse_cgm(slurp(name), els, end));
    EXPECT_EQ(w16(els[6].data, 4), 32767u);
    for (const CgmElement& e : els)
        if (e.cls == 4 && e.id == 1) {
            for (std::size_t i = 0; i + 1 < e.data.size(); i += 2) EXPECT_LE(w16(e.data, i), 32767u);
        }
}

// ---- HPGL ---------------------------------------------------------------------

TEST(Hpgl, CommandsPensAndTheReader) {
    TempDir dir;
    std::string name = dir.path("a.hpg");
    open_plot("HPGL", name);
    EXPECT_FLOAT_EQ(state().out.device_factor, 4.0f);
    setclr(3);
    setclr(3);
    device_line(3.0f, 2099 - 86.25f, kOpMove);  // (12, 345) plotter units
    device_line(308.5f, 2099 - 141.75f, kOpDraw);
    pagera();
    device_fill_rect(500, 500, 510, 503, 4);
    long vectors = state().run.vector_count;
    korfin();
    EXPECT_EQ(state().run.vector_count, vectors);  // "PU0,0;" is not a vector
    std::string f = slurp(name);
    EXPECT_EQ(f.substr(0, 6), " SP1;\n");
    EXPECT_NE(f.find("SP3;PU12,345;PD1234,567;"), std::string::npos) << f.substr(0, 200);
    EXPECT_EQ(f.find("SP3;", f.find("SP3;") + 1), std::string::npos) << "one pen selection";
    // The filled rectangle: strokes 1.4 plot units apart in pen 4.
    EXPECT_NE(f.find("SP4;PU2000,6396;PD2040,6396;PD2040,6390;PD2000,6390;PD2000,6385;PD2040,6385;"),
              std::string::npos);
    EXPECT_EQ(f.substr(f.size() - 7), "PU0,0;\n");
    std::istringstream lines(f);
    for (std::string l; std::getline(lines, l);) {
        EXPECT_LE(l.size(), 80u);
        EXPECT_EQ(l.find(' '), l == " SP1;" ? 0u : std::string::npos);
    }
    if (have_tool("hp2xx")) {
        std::string out;
        EXPECT_EQ(tool_status("hp2xx -q -m png -f " + dir.path("a.png") + " " + name, out), 0) << out;
        EXPECT_EQ(slurp(dir.path("a.png")).substr(1, 3), "PNG");
    }
}

TEST(Hpgl, PaperVariantsTurnPortraitPagesAndBigPagesWarn) {
    TempDir dir;
    std::string name = dir.path("b.hpg");
    open_plot("HPA4", name, "DA4P");
    EXPECT_FLOAT_EQ(state().out.device_factor, std::min(10870.0f / 2969, 4.0f));
    device_line(0, 0, kOpMove);
    device_line(100, 0, kOpDraw);
    float f = state().out.device_factor;
    korfin();
    std::string s = slurp(name);
    char expect[64];
    std::snprintf(expect, sizeof expect, "PU%d,%d;PD%d,%d;", (int)(2969 * f + 0.5f), (int)(2099 * f + 0.5f),
                  (int)(2969 * f + 0.5f), (int)(1999 * f + 0.5f));
    EXPECT_NE(s.find(expect), std::string::npos) << s.substr(0, 120);
    // The default factor makes an A0 page 47556 plotter units long.
    long before = state().run.warning_count;
    open_plot("HPGL", dir.path("c.hpg"), "DA0L");
    EXPECT_EQ(state().run.warning_count, before + 1);
    korfin();
}

// ---- Prescribe ----------------------------------------------------------------

TEST(Prescribe, HeaderDrawsBlocksAndPages) {
    TempDir dir;
    std::string name = dir.path("a.kyo");
    open_plot("KYOC", name);
    float f = state().out.device_factor;
    EXPECT_FLOAT_EQ(f, std::min(3390.0f / 2969, 1.1811024f));
    device_line(100, 200, kOpMove);
    device_line(1000, 200, kOpDraw);
    device_fill_rect(100, 100, 199, 149, 20);  // pattern 0: nothing
    device_fill_rect(100, 100, 199, 149, 13);  // pattern 3
    newpag();
    korfin();
    std::string s = slurp(name);
    EXPECT_EQ(s.substr(0, 52), "!R! UNIT C;SPO L;SLM 0;SRM 28.7;STM 0;SBM 20;UNIT D;");
    auto d = [&](float v) { return std::to_string((int)(v * f + 0.5f)); };
    EXPECT_NE(s.find("MAP  " + d(100) + ", " + d(200) + ";DAP " + d(1000) + ", " + d(200) + ";"),
              std::string::npos)
        << s;
    EXPECT_EQ(s.find("FPAT"), s.rfind("FPAT"));
    EXPECT_NE(s.find("MAP  " + d(100) + ", " + d(100) + "; FPAT 128,  0,  0, 32,  0,  0,  4,  0; BLK  " +
                     d(100) + ",  " + d(50) + ";"),
              std::string::npos)
        << s;
    EXPECT_NE(s.find("BLK  " + d(100) + ",  " + d(50) + ";PAGE;"), std::string::npos) << s;
    EXPECT_EQ(s.substr(s.size() - 10), "RES;EXIT;\n");
}

// ---- Java applet --------------------------------------------------------------

TEST(Java, ClassNameSourceAndCompiler) {
    EXPECT_EQ(java_class_name("plot.java"), "plot");
    EXPECT_EQ(java_class_name("c:\\x.y\\pl.ot.java"), "pl");
    EXPECT_EQ(java_class_name("dir/my-plot.java"), "my_plot");
    EXPECT_EQ(java_class_name("/tmp/3d.java"), "_3d");
    TempDir dir;
    std::string name = dir.path("plot.java");
    setenv("SOURCE_DATE_EPOCH", "0", 1);
    open_plot("JAVA", name);
    setclr(40);
    device_line(0, 0, kOpMove);
    device_line(2969, 2099, kOpDraw);
    device_fill_rect(0, 0, 2969, 2099, 2);
    device_line(0, 2099, kOpDraw);
    korfin();
    unsetenv("SOURCE_DATE_EPOCH");
    std::string s = slurp(name);
    std::string head =
        "// KORVAL Java Metafile\n// Creator: KORVAL  8.1\n// Date   : 01.01.1970, 00:00:00\n"
        "// Size   : 853 603\n\nimport java.applet.*;\nimport java.awt.*;\n\npublic class plot extends "
        "Applet {\npublic void paint(Graphics g) {\n";
    EXPECT_EQ(s.substr(0, head.size()), head);
    EXPECT_NE(s.find("  g.drawLine (0,0,852,602);\n"), std::string::npos);
    // The rectangle in its colour, then the line colour again.
    int r, g, b;
    colour_rgb(2, r, g, b);
    std::string fill = "  g.setColor (new Color (" + std::to_string(r) + "," + std::to_string(g) + "," +
                       std::to_string(b) + "));\n  g.fillRect (0,0,853,603);\n";
    EXPECT_NE(s.find(fill + "  g.setColor ("), std::string::npos) << s;
    EXPECT_EQ(s.substr(s.size() - 4), "}\n}\n");
    // 9000 lines: more than one method can hold.
    std::string big = dir.path("big.java");
    open_plot("JAVA", big);
    plot_move(0, 0);
    for (int i = 1; i <= 9000; ++i) plot_draw((float)(i % 2900), (float)(i % 2000));
    korfin();
    std::string text = slurp(big);
    EXPECT_NE(text.find("  part4 (g);\n}\nprivate void part4(Graphics g) {\n"), std::string::npos);
    EXPECT_EQ(text.find("part5"), std::string::npos);
    if (have_tool("javac")) {
        std::string out;
        EXPECT_EQ(tool_status("cd " + dir.path("") + " && javac -nowarn plot.java big.java", out), 0) << out;
    }
}

// ---- WMF ----------------------------------------------------------------------

namespace {

unsigned l16(const std::string& s, std::size_t at) {
    return (unsigned char)s[at] | ((unsigned)(unsigned char)s[at + 1] << 8);
}

struct WmfRecord {
    unsigned function;
    std::vector<int> params;
};

// Walks the records after the header; false when a size runs past the file
// or the file does not end with the end record.
bool parse_wmf(const std::string& f, std::size_t start, std::vector<WmfRecord>& out) {
    if (f.size() < start + 18) return false;
    std::size_t size_words = l16(f, start + 6) | (l16(f, start + 8) << 16);
    if (size_words * 2 != f.size() - start) return false;
    std::size_t at = start + 18;
    while (at + 6 <= f.size()) {
        std::size_t words = l16(f, at) | (l16(f, at + 2) << 16);
        if (words < 3 || at + words * 2 > f.size()) return false;
        WmfRecord r{l16(f, at + 4), {}};
        for (std::size_t i = 3; i < words; ++i) r.params.push_back((int16_t)l16(f, at + 2 * i));
        out.push_back(r);
        at += words * 2;
        if (r.function == 0) return at == f.size();
    }
    return false;
}

}  // namespace

TEST(Wmf, PlaceableHeaderRecordsAndReader) {
    TempDir dir;
    std::string name = dir.path("a.wmf");
    long before = state().run.warning_count;
    wmfmod("PLAC", "SIZE");  // another key: warning 2
    EXPECT_EQ(state().run.warning_count, before + 1);
    wmfmod("PLAC", "FORM");
    open_plot("WMF", name);
    float f = state().out.device_factor;
    EXPECT_FLOAT_EQ(f, 5.6692915f);
    setclr(50);
    device_line(100, 100, kOpMove);
    device_line(200, 100, kOpDraw);
    device_line(200, 300, kOpDraw);
    device_fill_rect(10, 20, 19, 29, 9);
    device_line(300, 300, kOpDraw);
    shdpat(16);
    float px[] = {500, 700, 600}, py[] = {500, 500, 700};
    EXPECT_TRUE(device_fill_polygon(px, py, 3));
    korfin();
    wmfmod("STAN", "FORM");
    std::string s = slurp(name);
    ASSERT_GT(s.size(), 40u);
    EXPECT_EQ(s.substr(0, 4), "\xD7\xCD\xC6\x9A");
    unsigned W = (unsigned)(2969 * f + 0.5f), H = (unsigned)(2099 * f + 0.5f);
    EXPECT_EQ(l16(s, 10), W);
    EXPECT_EQ(l16(s, 12), H);
    EXPECT_EQ(l16(s, 14), 1440u);
    unsigned sum = 0;
    for (int i = 0; i < 10; ++i) sum ^= l16(s, 2 * i);
    EXPECT_EQ(l16(s, 20), sum);
    EXPECT_EQ(sum, 0xCDD7u ^ 0x9AC6u ^ W ^ H ^ 1440u);
    std::vector<WmfRecord> recs;
    ASSERT_TRUE(parse_wmf(s, 22, recs));
    ASSERT_GE(recs.size(), 4u);
    EXPECT_EQ(recs[0].function, 0x0103u);
    EXPECT_EQ(recs[0].params, std::vector<int>{8});
    EXPECT_EQ(recs[2].function, 0x020Cu);
    EXPECT_EQ(recs[2].params, (std::vector<int>{(int)H + 20, (int)W + 20}));
    auto at = [&](int x) { return (int)(x * f + 0.5f); };
    std::string seq;
    for (const WmfRecord& r : recs) {
        char buf[8];
        std::snprintf(buf, sizeof buf, "%04X ", r.function);
        seq += buf;
        if (r.function == 0x0214) {
            EXPECT_EQ(r.params, (std::vector<int>{at(100), at(100)}));
        }
        if (r.function == 0x041B) {  // bottom, right, top, left: 10 × 10 plot units
            EXPECT_EQ(r.params, (std::vector<int>{at(29) + 1, at(19) + 1, at(20), at(10)}));
        }
        if (r.function == 0x0324) {
            ASSERT_EQ(r.params.size(), 7u);
            EXPECT_EQ(r.params[0], 3);
            EXPECT_EQ(r.params[5], at(600));
        }
    }
    // Pen for the colour; one move, two lines; the rectangle's brush and
    // pen; the line pen again before the next line; the polygon's brush.
    EXPECT_NE(seq.find("02FA 012D 01F0 0209 0214 0213 0213 02FC 012D 02FA 012D 01F0 041B 02FA 012D 01F0 0213 "
                       "02FC 012D 01F0 0324 "),
              std::string::npos)
        << seq;
    EXPECT_EQ(seq.substr(seq.size() - 5), "0000 ");
    if (have_tool("wmf2svg")) {
        std::string out;
        std::string svg = dir.path("a.svg");
        EXPECT_EQ(tool_status("wmf2svg -o " + svg + " " + name, out), 0) << out;
        std::string text = slurp(svg);
        EXPECT_NE(text.find("<svg"), std::string::npos);
        EXPECT_NE(text.find("<line"), std::string::npos);
        EXPECT_NE(text.find("<polygon"), std::string::npos);
    }
}

TEST(Wmf, LargePagesKeepSixteenBitsAndTheirSize) {
    TempDir dir;
    std::string name = dir.path("b.wmf");
    wmfmod("PLAC", "FORM");
    open_plot("WMF", name, "DA2L");  // 33670 twips across
    pagera();
    korfin();
    wmfmod("STAN", "FORM");
    std::string s = slurp(name);
    ASSERT_GT(s.size(), 40u);
    unsigned W = l16(s, 10), inch = l16(s, 14);
    EXPECT_LE(W + 20, 32767u);
    // The page is still 593.9 mm wide.
    EXPECT_NEAR(W / (double)inch * 25.4, 593.9, 0.5);
    std::vector<WmfRecord> recs;
    ASSERT_TRUE(parse_wmf(s, 22, recs));
    // A plain metafile has no placeable header.
    open_plot("WMF", dir.path("c.wmf"));
    korfin();
    std::string plain = slurp(dir.path("c.wmf"));
    EXPECT_EQ(l16(plain, 0), 1u);
    EXPECT_EQ(l16(plain, 2), 9u);
    recs.clear();
    EXPECT_TRUE(parse_wmf(plain, 0, recs));
}

// ---- all formats: the protocol and unwritable files --------------------------

TEST(Drivers, ProtocolFieldsAndFileErrors) {
    TempDir dir;
    const char* formats[] = {"CGM", "WMF", "KYOC", "HPGL", "HPA2", "JAVA"};
    const char* keys[] = {"CGM ", "WMF ", "KYOC", "HPGL", "HPA2", "JAVA"};
    for (int i = 0; i < 6; ++i) {
        std::string name = dir.path(std::string("p") + std::to_string(i));
        open_plot(formats[i], name);
        long v0 = state().run.vector_count;
        pagera();
        plot_flush();
        EXPECT_EQ(state().run.vector_count, v0 + 5) << formats[i];
        std::string t = protocol_console_text(1);
        EXPECT_NE(t.find(std::string("Fileformat: ") + keys[i]), std::string::npos) << t;
        korfin();
        EXPECT_GT(slurp(name).size(), 0u) << formats[i];
        // A file that cannot be created: warning 36, nothing written.
        long before = state().run.warning_count;
        open_plot(formats[i], dir.path("missing/x"));
        EXPECT_EQ(state().run.warning_count, before + 1) << formats[i];
        pagera();
        korfin();
    }
}

TEST(Wmf, WindowFontsWriteFontAndTextRecords) {
    TempDir dir;
    std::string name = dir.path("t.wmf");
    open_plot("WMF", name);
    height(36);
    winfnt("Arial");
    EXPECT_EQ(state().text.hw_mode, 2);
    // Advance of "A" in plot units: Helvetica's width in 1/140 of the size.
    int size = window_font_size(36);
    EXPECT_EQ(size, (int)(0.5f + 13 * 36 * state().out.device_factor * 0.125f));
    messag("A\x84", 100, 200);  // internal code 132 is "ü"
    angle(90);
    messag("B", 100, 200);
    korfin();
    std::string s = slurp(name);
    std::vector<WmfRecord> recs;
    ASSERT_TRUE(parse_wmf(s, 0, recs));
    std::vector<int> chars, escapements;
    for (const WmfRecord& r : recs) {
        if (r.function == 0x02FB) {
            ASSERT_EQ(r.params.size(), 25u);
            EXPECT_EQ(r.params[0], -size);
            escapements.push_back(r.params[2]);
            EXPECT_EQ(r.params[9], 'A' | ('r' << 8));  // face name "Arial"
        }
        if (r.function == 0x0521) {
            ASSERT_EQ(r.params.size(), 4u);
            EXPECT_EQ(r.params[0], 1);
            chars.push_back(r.params[1]);
        }
    }
    EXPECT_EQ(chars, (std::vector<int>{'A', 0xFC, 'B'}));
    EXPECT_EQ(escapements, (std::vector<int>{0, 900}));
    // Other formats have no window fonts.
    open_plot("CGM", dir.path("t.cgm"));
    long before = state().run.warning_count;
    winfnt("Arial");
    EXPECT_EQ(state().run.warning_count, before + 1);
    EXPECT_EQ(state().text.hw_mode, 0);
    korfin();
}

// ---- incfil ------------------------------------------------------------------

namespace {

void write_file(const std::string& name, const std::string& data) {
    std::ofstream(name, std::ios::binary) << data;
}

// The coordinate fields of a VECM file (pairs after the header line).
std::vector<double> vecm_numbers(const std::string& s) {
    std::vector<double> v;
    std::istringstream in(s.substr(s.find('\n') + 1));
    for (std::string line; std::getline(in, line);)
        for (std::size_t i = 0; i + 10 <= line.size(); i += 10) v.push_back(std::stod(line.substr(i, 10)));
    return v;
}

}  // namespace

TEST(Incfil, VecmAndCgmPlayBackWhereTheyWereDrawn) {
    TempDir dir;
    for (const char* fmt : {"VECM", "CGM"}) {
        std::string src = dir.path(std::string("src.") + fmt);
        open_plot(fmt, src);
        setclr(77);
        line(100, 200, 2900, 2000);
        korfin();
        std::string out = dir.path(std::string("out.") + fmt + ".met");
        open_plot("VECM", out);
        filclr("ALL");
        long v0 = state().run.vector_count;
        incfil(src.c_str());
        EXPECT_GE(state().run.vector_count, v0 + 2) << fmt;
        korfin();
        std::vector<double> n = vecm_numbers(slurp(out));
        // The included segment: a move and a draw at the original points (the
        // file sizes, 29.7 cm and 5938 VDC units, differ from the page by a
        // unit: 0.04 %).
        double f = 1.0 / 2969;
        auto near = [](double a, double b) { return std::abs(a - b) < 5e-4; };
        bool found = false;
        for (std::size_t i = 0; i + 5 < n.size(); ++i)
            if (n[i] == 3 && near(n[i + 1], 100 * f) && near(n[i + 2], (2099 - 200) * f) && n[i + 3] == 2 &&
                near(n[i + 4], 2900 * f) && near(n[i + 5], 99 * f))
                found = true;
        EXPECT_TRUE(found) << fmt;
    }
}

TEST(Incfil, FileColoursBoxAndBadFiles) {
    TempDir dir;
    std::string src = dir.path("a.met");
    open_plot("VECM", src);
    setclr(200);
    line(0, 0, 2969, 2099);
    korfin();
    std::string out = dir.path("b.met");
    open_plot("VECM", out);
    long before = state().run.warning_count;
    filbox(0, 0, 3000, 100);  // wider than the page
    filbox(-1, 0, 10, 10);
    EXPECT_EQ(state().run.warning_count, before + 2);
    filbox(0, 0, 1485, 1050);  // the upper left quarter
    setclr(5);
    filclr("NONE");
    incfil(src.c_str());
    filclr("ALL");
    EXPECT_EQ(state().colour.current, 5);
    incfil(src.c_str());
    EXPECT_EQ(state().colour.current, 5) << "the colour is restored";
    EXPECT_EQ(state().run.warning_count, before + 2);
    // An HPGL file, a truncated metafile, a truncated CGM, a missing file.
    write_file(dir.path("h.hpg"), " SP1;\nPU0,0;\n");
    write_file(dir.path("t.met"), "      29.7      21.0\n 3.0000000 0.1000000 0.1000000 2.0000000 0.2000000");
    std::string cgm = std::string("\x00\x3F\x00\x02\x01x\x20\xC8\x00\x00", 10);
    write_file(dir.path("t.cgm"), cgm);
    incfil(dir.path("h.hpg").c_str());
    incfil(dir.path("t.met").c_str());
    incfil(dir.path("t.cgm").c_str());
    incfil(dir.path("none").c_str());
    EXPECT_TRUE(state().drivers.file_box_set);
    reset("FILB");
    EXPECT_FALSE(state().drivers.file_box_set);
    filclr("NONE");
    reset("FILC");
    EXPECT_EQ(state().drivers.file_colours, 0);
    korfin();
    EXPECT_EQ(state().run.warning_count, before + 6);
    std::vector<double> n = vecm_numbers(slurp(out));
    // "NONE": no colour records from the file; the box halves the drawing.
    int colours = 0;
    bool half = false;
    for (std::size_t i = 0; i < n.size(); ++i) {
        if (n[i] >= 10 && n[i] < 99) ++colours;
        // The page diagonal ends at (1485, 1050) in the quarter box.
        if (i + 1 < n.size() && std::abs(n[i] - 1485.0 / 2969) < 5e-4 &&
            std::abs(n[i + 1] - 1049.0 / 2969) < 5e-4)
            half = true;
    }
    EXPECT_TRUE(half);
    EXPECT_GE(colours, 3);  // setclr(5), the file's 200, and 5 restored
}

TEST(Incfil, BmpImagesIntoThePicture) {
    TempDir dir;
    // A 4 x 2 RLE8 picture: bottom row red, red, blue, blue; top row green.
    std::string pal;
    for (std::uint32_t c : {0xFF0000u, 0x0000FFu, 0x00FF00u})
        pal += std::string(1, (char)(c & 0xff)) + (char)((c >> 8) & 0xff) + (char)(c >> 16) + '\0';
    std::string rle = std::string("\x02\x00\x02\x01\x00\x00\x04\x02\x00\x01", 10);
    auto le32 = [](std::uint32_t v) {
        return std::string{(char)v, (char)(v >> 8), (char)(v >> 16), (char)(v >> 24)};
    };
    std::string head = "BM" + le32(54 + 12 + (std::uint32_t)rle.size()) + le32(0) + le32(54 + 12) + le32(40) +
                       le32(4) + le32(2) + std::string("\x01\x00\x08\x00", 4) + le32(1) +
                       le32((std::uint32_t)rle.size()) + le32(0) + le32(0) + le32(3) + le32(0);
    write_file(dir.path("a.bmp"), head + pal + rle);
    std::string bad = head;
    bad[30] = 2;  // RLE4 with 8 bits
    write_file(dir.path("b.bmp"), bad + pal + rle);
    write_file(dir.path("c.bmp"), head.substr(0, 40));
    imgfmt("RGB");
    metafl("VIRT");
    korini();
    errmod("PROT", "OFF");
    long before = state().run.warning_count;
    incfil(dir.path("a.bmp").c_str());
    EXPECT_EQ(state().run.warning_count, before);
    const Picture& pic = state().raster.picture;
    // The picture (2:1) fills the width of the page and 426 of its 603 rows.
    int w = pic.width();
    EXPECT_EQ(pic.get(w / 8, 100), 0x00FF00u);  // upper row
    EXPECT_EQ(pic.get(w / 8, 300), 0xFF0000u);  // lower row, left
    EXPECT_EQ(pic.get(w - w / 8, 300), 0x0000FFu);
    EXPECT_EQ(pic.get(w / 2, 500), 0u);
    incfil(dir.path("b.bmp").c_str());
    incfil(dir.path("c.bmp").c_str());
    EXPECT_EQ(state().run.warning_count, before + 2);
    korfin();
    imgfmt("IND");
    // The library's own picture: a red rectangle on colour 0.
    std::string own = dir.path("own.img");
    open_plot("IMAG", own);
    device_fill_rect(0, 0, 1484, 2099, 100);
    korfin();
    std::uint32_t red = state().colour.table[100] & 0xffffff;
    imgfmt("RGB");
    metafl("VIRT");
    korini();
    errmod("PROT", "OFF");
    incfil(own.c_str());
    EXPECT_EQ(state().raster.picture.get(100, 300), red);
    EXPECT_EQ(state().raster.picture.get(700, 300), state().colour.table[0] & 0xffffff);
    korfin();
    imgfmt("IND");
    // Formats without a picture.
    open_plot("HPGL", dir.path("x.hpg"));
    before = state().run.warning_count;
    incfil(dir.path("a.bmp").c_str());
    EXPECT_EQ(state().run.warning_count, before + 1);
    korfin();
}

TEST(Incfil, DamagedFilesNeverReadOutside) {
    TempDir dir;
    // Sources: a CGM, a VECM and a BMP of this library.
    const char* fmts[] = {"CGM", "VECM", "BMP"};
    std::vector<std::string> sources;
    for (const char* fmt : fmts) {
        std::string name = dir.path(std::string("s.") + fmt);
        open_plot(fmt, name);
        setclr(90);
        line(0, 0, 2969, 2099);
        korfin();
        sources.push_back(slurp(name));
    }
    imgfmt("IND");
    metafl("VIRT");
    korini();
    errmod("PROT", "OFF");
    std::string bad = dir.path("bad");
    unsigned seed = 12345;
    for (const std::string& src : sources) {
        ASSERT_GT(src.size(), 100u);
        for (int k = 0; k < 40; ++k) {
            std::string damaged = src.substr(0, (std::size_t)(src.size() * k / 40));
            for (int j = 0; j < 8 && !damaged.empty(); ++j) {
                seed = seed * 1103515245u + 12345u;
                damaged[(seed >> 8) % damaged.size()] = (char)(seed >> 20);
            }
            write_file(bad, damaged);
            incfil(bad.c_str());
        }
    }
    EXPECT_EQ(getlev(), 1);
    korfin();
}
