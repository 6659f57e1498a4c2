// The raster, PDF and SVG devices behind the pipeline: device entries that
// no Perl routine reaches yet (fills, line attributes, hardware text,
// clipping rectangle), checked in the written files.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"
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

// Opens a plot of format fmt writing to name.
void open_plot(const char* fmt, const std::string& name) {
    metafl(fmt);
    setfil(name.c_str());
    filmod("DELE");
    korini();
    errmod("PROT", "OFF");
}

}  // namespace

TEST(RasterDevice, FillsClippingAndColours) {
    TempDir dir;
    std::string name = dir.path("d.png");
    open_plot("PNG", name);
    const Picture& pic = state().raster.picture;
    ASSERT_EQ(pic.width(), 853);
    ASSERT_EQ(pic.height(), 603);
    float f = state().out.device_factor;
    EXPECT_NEAR(f, 602.0f / 2099.0f, 1e-6);
    device_fill_rect(100, 100, 300, 200, 7);
    int x = (int)(200 * f + 0.5f), y = (int)(150 * f + 0.5f);
    EXPECT_EQ(pic.get(x, y), 7u);
    EXPECT_EQ(pic.get((int)(310 * f + 0.5f), y), 0u);
    // The clipping rectangle of the device keeps lines inside it.
    current_device()->clip_rect(1000, 1000, 1500, 1500);
    device_colour(9);
    device_line(0, 1200, kOpMove);
    device_line(2900, 1200, kOpDraw);
    int row = (int)(1200 * f + 0.5f);
    EXPECT_EQ(pic.get((int)(1200 * f + 0.5f), row), 9u);
    EXPECT_EQ(pic.get((int)(900 * f + 0.5f), row), 0u);
    EXPECT_EQ(pic.get((int)(1600 * f + 0.5f), row), 0u);
    korfin();
    EXPECT_TRUE(pic.empty()) << "the picture is released after the file is written";
    EXPECT_TOOL_OK("pngcheck " + name);
}

TEST(RasterDevice, VirtKeepsThePictureAndRgbUsesTheTable) {
    imgfmt("RGB");
    metafl("VIRT");
    korini();
    errmod("PROT", "OFF");
    state().colour.table[12] = 0x123456;
    device_fill_rect(0, 0, 100, 100, 12);
    korfin();
    imgfmt("IND");
    const Picture& pic = state().raster.picture;
    ASSERT_FALSE(pic.empty());
    EXPECT_TRUE(pic.rgb());
    EXPECT_EQ(pic.get(10, 10), 0x123456u);
}

TEST(PdfDevice, LineAttributesPolygonsAndText) {
    TempDir dir;
    std::string name = dir.path("d.pdf");
    pdfmod("OFF", "COMP");
    open_plot("PDF", name);
    Device* d = current_device();
    ASSERT_NE(d, nullptr);
    EXPECT_TRUE(d->has(kCapFillPolygon));
    d->line_width(3);
    d->line_cap(1);
    d->line_join(0);
    d->miter_limit(2.0f);
    float xs[4] = {100, 600, 100, 600}, ys[4] = {100, 100, 600, 600};
    EXPECT_TRUE(device_fill_polygon(xs, ys, 4));
    d->hardware_font("Helvetica-Bold", 30.0f);
    d->character('K', 500, 500, 0);
    d->character('(', 530, 500, 0);
    device_line(0, 0, kOpMove);
    device_line(10, 10, kOpDraw);
    korfin();
    pdfmod("ON", "COMP");
    std::string s = slurp(name);
    EXPECT_NE(s.find("0.850 w\n1 J\n0 j\n"), std::string::npos) << "6 units of 0.05 mm in points";
    EXPECT_NE(s.find(" M\n"), std::string::npos);
    EXPECT_NE(s.find(" l\nh\nf*\n"), std::string::npos);
    EXPECT_NE(s.find("BT\n/F6 13 Tf\n0 1 -1 0 "), std::string::npos) << "turned page: angle 90";
    EXPECT_NE(s.find(" Tm\n(\\50) Tj\nET\n"), std::string::npos);
    EXPECT_NE(s.find("/BaseFont /Helvetica-Bold\n"), std::string::npos);
    EXPECT_TOOL_OK("qpdf --check " + name);
}

TEST(SvgDevice, RectanglesPolygonsWidthsAndText) {
    TempDir dir;
    std::string name = dir.path("d.svg");
    open_plot("SVG", name);
    Device* d = current_device();
    ASSERT_NE(d, nullptr);
    float f = state().out.device_factor;
    device_fill_rect(0, 0, 99, 49, 3);
    float xs[3] = {100, 600, 100}, ys[3] = {100, 100, 600};
    EXPECT_TRUE(device_fill_polygon(xs, ys, 3));
    d->line_width(4);
    device_line(0, 0, kOpMove);
    device_line(100, 100, kOpDraw);
    d->hardware_font("Courier-Oblique", 40.0f);
    d->character('>', 700, 700, 45);
    korfin();
    std::string s = slurp(name);
    char want[128];
    std::snprintf(want, sizeof want, "width=\"%.2f\" height=\"%.2f\"", 99 * f + 1, 49 * f + 1);
    EXPECT_NE(s.find(want), std::string::npos) << want;
    EXPECT_NE(s.find("fill-rule=\"evenodd\""), std::string::npos);
    std::snprintf(want, sizeof want, "stroke-width=\"%.3f\"", 4 * f);
    EXPECT_NE(s.find(want), std::string::npos) << want;
    std::snprintf(want, sizeof want, "font-size=\"%d\"", (int)(40 * f * 1.4666667f + 0.5f));
    EXPECT_NE(s.find(want), std::string::npos) << want;
    EXPECT_NE(s.find("font-family=\"Courier\" font-weight=\"normal\" font-style=\"oblique\""),
              std::string::npos);
    EXPECT_NE(s.find(" rotate=\"-45\">&gt;</text>\n"), std::string::npos);
    EXPECT_TOOL_OK("xmllint --noout " + name);
}
