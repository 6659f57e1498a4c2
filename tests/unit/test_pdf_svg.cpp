// The PDF and SVG writers: exact texts, structure, and the real readers
// (qpdf, pdfinfo, pdftoppm, xmllint, rsvg-convert).
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "devices/pdf_writer.hpp"
#include "devices/svg_writer.hpp"
#include "tool_helpers.hpp"

using namespace korval;

namespace {

std::string slurp(const std::string& name) {
    std::ifstream f(name, std::ios::binary);
    std::stringstream s;
    s << f.rdbuf();
    return s.str();
}

int count(const std::string& s, const std::string& what) {
    int n = 0;
    for (std::size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1)) ++n;
    return n;
}

// A small page: background, a red triangle outline, a filled polygon,
// two rectangles of one colour and two characters.
void draw_sample(PdfWriter& w) {
    w.colour(0, 0, 0, 1);
    w.fill_rect(0, 0, 842, 595);
    w.colour(255, 0, 0, 0);
    w.colour(255, 0, 0, 1);
    w.move(100, 100);
    w.draw(300, 100);
    w.draw(200, 300);
    w.draw(100, 100);
    w.colour(0, 128, 255, 1);
    w.fill_rect(400, 100, 50, 50);
    w.fill_rect(460, 100, 50, 50);
    w.character('A', 500, 400, 0, 4, "Helvetica", 24);
    w.character('(', 520, 400, 0, 4, "Helvetica", 24);
    w.move(10, 10);
    w.draw(20, 20);
    w.character(127, 540, 400, 90, 4, "Helvetica", 24);
}

}  // namespace

TEST(Pdf, UncompressedDocumentExactStructure) {
    TempDir dir;
    std::string name = dir.path("u.pdf");
    PdfWriter w;
    ASSERT_EQ(w.start(name, 842, 595, false), 0);
    draw_sample(w);
    ASSERT_TRUE(w.end("02.01.2024", "03:04:05"));
    std::string s = slurp(name);
    EXPECT_EQ(s.rfind("%PDF-1.3\n3 0 obj\n<< /Length 4 0 R >>\nstream\n0.709 w\n2 J\n2 j\n0 0 0 rg\n", 0), 0u)
        << s.substr(0, 200);
    EXPECT_NE(s.find("100.00 100.00 m\n300.00 100.00 l\n200.00 300.00 l\n100.00 100.00 l\n"),
              std::string::npos);
    EXPECT_NE(s.find("1 0 0 RG\n1 0 0 rg\n"), std::string::npos);
    EXPECT_NE(s.find("0 0.502 1 rg\n400.00 100.00 50.00 50.00 re\nf\n460.00"), std::string::npos)
        << "a repeated fill colour is written once";
    EXPECT_EQ(count(s, "0 0.502 1 rg"), 1);
    // Two characters in one font share a text object; a line closes it.
    EXPECT_NE(
        s.find("BT\n/F5 24 Tf\n1 0 0 1 500.00 400.00 Tm\n(A) Tj\n1 0 0 1 520.00 400.00 Tm\n(\\50) Tj\nET\n"),
        std::string::npos);
    EXPECT_NE(s.find("0 1 -1 0 540.00 400.00 Tm\n(\\304) Tj\n"), std::string::npos);
    EXPECT_NE(s.find("/BaseFont /Helvetica\n/Encoding /WinAnsiEncoding\n"), std::string::npos);
    EXPECT_NE(
        s.find("/MediaBox [0 0 842 595]\n/Parent 2 0 R\n/Resources << /ProcSet [/PDF /Text]\n/Font <<\n/F5 "),
        std::string::npos);
    // Every content stream has its own length object; one stream per page.
    EXPECT_NE(s.find("endstream\nendobj\n4 0 obj\n"), std::string::npos);
    EXPECT_NE(s.find("/Contents 3 0 R\n"), std::string::npos);
    EXPECT_NE(s.find("<< /CreationDate (D:20240102030405)\n/Producer (KORVAL 7.6)\n>>\n"), std::string::npos);
    EXPECT_NE(s.find("xref\n0 8\n0000000000 65535 f \n"), std::string::npos);
    EXPECT_NE(s.find("trailer\n<< /Size 8 /Root 1 0 R /Info 7 0 R\n>>\nstartxref\n"), std::string::npos);
    EXPECT_EQ(s.substr(s.size() - 6), "%%EOF\n");
    EXPECT_TOOL_OK("qpdf --check " + name);
    std::string info = tool_output("pdfinfo " + name);
    EXPECT_NE(info.find("Pages:           1"), std::string::npos) << info;
    EXPECT_NE(info.find("Producer:        KORVAL 7.6"), std::string::npos) << info;
    EXPECT_NE(info.find("842 x 595 pts"), std::string::npos) << info;
}

TEST(Pdf, CompressedPagesLargeStreamsAndImages) {
    TempDir dir;
    std::string name = dir.path("c.pdf");
    PdfWriter w;
    ASSERT_EQ(w.start(name, 595, 842, true), 0);
    draw_sample(w);
    w.new_page();
    // More than 300000 bytes of drawing: several streams in an array.
    w.colour(0, 0, 255, 0);
    w.move(0, 0);
    for (int i = 0; i < 40000; ++i) w.draw(i % 500 + 0.25, (i * 7) % 800 + 0.5);
    w.new_page();
    w.begin_image(4, 2);
    const std::uint8_t rows[24] = {255, 0, 0, 0,  255, 0,  0,  0,  255, 255, 255, 255,
                                   0,   0, 0, 10, 20,  30, 40, 50, 60,  70,  80,  90};
    w.image_bytes(rows, 24);
    w.end_image();
    w.place_image(100, 100, 200, 100, false);
    ASSERT_TRUE(w.end("31.12.1999", "23:59:59"));
    EXPECT_EQ(w.pages(), 3);
    std::string s = slurp(name);
    EXPECT_NE(s.find("/Filter /FlateDecode"), std::string::npos);
    EXPECT_NE(s.find("/Contents [\n"), std::string::npos);
    EXPECT_NE(s.find("<< /Type /XObject /Subtype /Image\n   /ColorSpace /DeviceRGB\n   /Width 4 /Height 2 "
                     "/BitsPerComponent 8\n   /Length "),
              std::string::npos);
    EXPECT_NE(s.find("/Resources << /ProcSet [/PDF /ImageC]\n/XObject <<\n/Image1 "), std::string::npos);
    EXPECT_NE(s.find("] /Count 3\n"), std::string::npos);
    EXPECT_TOOL_OK("qpdf --check " + name);
    std::string info = tool_output("pdfinfo " + name);
    EXPECT_NE(info.find("Pages:           3"), std::string::npos) << info;
    // Page 3: the image box shows the image's red corner.
    std::string png = dir.path("p3");
    EXPECT_TOOL_OK("pdftoppm -f 3 -l 3 -r 72 -png " + name + " " + png);
    EXPECT_TOOL_OK("test -s " + png + "-3.png");
}

TEST(Pdf, MemoryOutputAndStartFailure) {
    PdfWriter w;
    ASSERT_EQ(w.start("", 100, 100, true), 0);
    w.move(1, 1);
    w.draw(50, 50);
    ASSERT_TRUE(w.end("01.01.2000", "00:00:00"));
    const std::vector<char>& m = w.memory();
    std::string s(m.begin(), m.end());
    EXPECT_EQ(s.rfind("%PDF-1.3\n", 0), 0u);
    EXPECT_EQ(s.substr(s.size() - 6), "%%EOF\n");
    EXPECT_FALSE(w.overflow());
    PdfWriter bad;
    EXPECT_EQ(bad.start("/nonexistent-dir/x.pdf", 10, 10, true), -1);
}

TEST(Svg, ExactHeaderElementsAndReaders) {
    TempDir dir;
    std::string name = dir.path("a.svg");
    SvgWriter w;
    ASSERT_TRUE(w.start(name, 853, 603, true, "02.01.2024", "03:04:05"));
    w.colour(0xff0000);
    w.move(10, 10);
    w.draw(20.5, 30.25);  // one segment: a line element
    w.colour(0x00ff00);   // closes the group
    w.move(0, 0);
    for (int i = 1; i <= 60; ++i) w.draw(i * 10, i % 2 ? 100 : 200);  // 61 points: 50 + 12
    double xs[4] = {100, 200, 100, 200}, ys[4] = {100, 100, 200, 200};
    w.polygon(xs, ys, 4, 0x0000ff);
    w.character('&', 300, 300, 0, 1, 20);
    w.character('<', 310, 300, 0, 1, 20);
    w.character(128, 320, 300, 30, 1, 20);
    ASSERT_TRUE(w.end());
    std::string s = slurp(name);
    const std::string head =
        "<?xml version=\"1.0\" encoding=\"ISO-8859-1\" standalone=\"no\"?>\n"
        "<!DOCTYPE svg PUBLIC \"-//W3C//DTD SVG 20010904//EN\"\n"
        "  \"http://www.w3.org/TR/2001/REC-SVG-20010904/DTD\n"
        "/svg10.dtd\">\n"
        "<!-- Created by KORVAL\n"
        "Version:  8.1\n"
        "Date   : 02.01.2024 03:04:05\n"
        "-->\n"
        "<svg width=\"853\" height=\"603\"\n"
        "  xmlns=\"http://www.w3.org/2000/svg\"\n"
        "  xmlns:xlink=\"http://www.w3.org/1999/xlink\">\n"
        "\n"
        "<rect x=\"0.00\" y=\"0.00\" width=\"853.00\" height=\"603.00\"\n"
        " fill=\"#000000\" stroke=\"none\"/>\n";
    EXPECT_EQ(s.substr(0, head.size()), head);
    EXPECT_NE(s.find("<g fill=\"none\" stroke=\"#ff0000\" stroke-width=\"1.000\">\n"
                     "<line x1=\"10.00\" y1=\"10.00\" x2=\"20.50\" y2=\"30.25\"/>\n</g>\n"
                     "<g fill=\"none\" stroke=\"#00ff00\" stroke-width=\"1.000\">\n<polyline points=\"\n"
                     " 0.00,0.00 10.00,100.00 20.00,200.00 30.00,100.00 40.00,200.00\n 50.00,100.00"),
              std::string::npos)
        << s;
    EXPECT_EQ(count(s, "<polyline"), 2);
    // The second polyline continues from the 50th point: 12 points.
    std::size_t second = s.rfind("<polyline points=\"\n");
    EXPECT_EQ(s.substr(second + 19, 16), " 490.00,100.00 5");
    EXPECT_NE(
        s.find("<polygon fill=\"#0000ff\" fill-rule=\"evenodd\" points=\"\n 100.00,100.00 200.00,100.00 "
               "100.00,200.00 200.00,200.00\"/>\n"),
        std::string::npos);
    EXPECT_NE(s.find("<g font-family=\"Times\" font-weight=\"bold\" font-style=\"normal\"\nfont-size=\"20\" "
                     "stroke=\"none\" fill=\"#00ff00\">\n<text x=\"300.00\" y=\"300.00\">&amp;</text>\n"
                     "<text x=\"310.00\" y=\"300.00\">&lt;</text>\n"
                     "<text x=\"320.00\" y=\"300.00\" rotate=\"-30\">\xd6</text>\n</g>\n</svg>\n"),
              std::string::npos);
    EXPECT_TOOL_OK("xmllint --noout " + name);
    EXPECT_TOOL_OK("rsvg-convert -o " + dir.path("a.png") + " " + name);
    SvgWriter bad;
    EXPECT_FALSE(bad.start("/nonexistent-dir/x.svg", 10, 10, false, "", ""));
}
