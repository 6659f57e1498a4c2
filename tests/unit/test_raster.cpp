// The raster picture and the image file writers, checked byte by byte and
// with the real validators (pngcheck, tiffinfo, ImageMagick identify).
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "devices/image_files.hpp"
#include "devices/raster.hpp"
#include "tool_helpers.hpp"

using namespace korval;

namespace {

std::uint32_t palette[256];

struct PaletteInit {
    PaletteInit() {
        for (int i = 0; i < 256; ++i) palette[i] = (std::uint32_t)(i * 0x010203u) & 0xffffff;
        palette[0] = 0x000000;
        palette[1] = 0xffffff;
        palette[2] = 0xff0000;
    }
} palette_init;

std::uint32_t be32(const Bytes& b, std::size_t at) {
    return (std::uint32_t)b[at] << 24 | (std::uint32_t)b[at + 1] << 16 | (std::uint32_t)b[at + 2] << 8 |
           b[at + 3];
}
std::uint32_t le32(const Bytes& b, std::size_t at) {
    return (std::uint32_t)b[at] | (std::uint32_t)b[at + 1] << 8 | (std::uint32_t)b[at + 2] << 16 |
           (std::uint32_t)b[at + 3] << 24;
}
unsigned le16(const Bytes& b, std::size_t at) { return b[at] | b[at + 1] << 8; }

// The chunk types of a PNG in order, with their data.
std::vector<std::pair<std::string, Bytes>> chunks(const Bytes& png) {
    std::vector<std::pair<std::string, Bytes>> out;
    std::size_t at = 8;
    while (at + 12 <= png.size()) {
        std::uint32_t n = be32(png, at);
        std::string type(png.begin() + at + 4, png.begin() + at + 8);
        Bytes data(png.begin() + at + 8, png.begin() + at + 8 + n);
        uLong crc = crc32(0, png.data() + at + 4, n + 4);
        EXPECT_EQ(crc, be32(png, at + 8 + n)) << type;
        out.push_back({type, data});
        at += 12 + n;
    }
    EXPECT_EQ(at, png.size());
    return out;
}

Picture sample(int w, int h, int bpp) {
    Picture p;
    EXPECT_TRUE(p.create(w, h, bpp, 0));
    std::uint32_t c = bpp == 1 ? 2u : 0xff0000u;
    p.line(0, 0, w - 1, h - 1, c);
    p.line(0, h / 2, w - 1, h / 2, bpp == 1 ? 1u : 0xffffffu);
    p.fill_rect(2, 2, 5, 4, bpp == 1 ? 3u : 0x00ff00u);
    return p;
}

}  // namespace

TEST(Picture, LinesRectanglesAndClipping) {
    Picture p;
    ASSERT_TRUE(p.create(10, 6, 1, 0));
    EXPECT_EQ(p.stride(), 12);
    p.line(2, 1, 7, 1, 5);  // horizontal, both ends
    for (int x = 0; x < 10; ++x) EXPECT_EQ(p.get(x, 1), (x >= 2 && x <= 7) ? 5u : 0u) << x;
    p.line(3, 5, 3, 2, 6);  // vertical, upwards
    for (int y = 0; y < 6; ++y) EXPECT_EQ(p.get(3, y), y >= 2 ? 6u : (y == 1 ? 5u : 0u)) << y;
    p.line(0, 0, 5, 5, 7);  // diagonal
    for (int i = 0; i <= 5; ++i) EXPECT_EQ(p.get(i, i), 7u);
    // Padding bytes stay untouched by a full-width run.
    p.line(-50, 4, 50, 4, 9);
    EXPECT_EQ(p.row(4)[10], 0);
    EXPECT_EQ(p.row(4)[11], 0);
    EXPECT_EQ(p.get(9, 4), 9u);

    p.clear(0);
    p.set_clip(2, 2, 5, 4);
    p.fill_rect(0, 0, 9, 5, 1);
    p.line(0, 0, 9, 5, 2);
    int inside = 0;
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 10; ++x) {
            bool in = x >= 2 && x <= 5 && y >= 2 && y <= 4;
            if (!in) {
                EXPECT_EQ(p.get(x, y), 0u) << x << "," << y;
            }
            inside += in;
        }
    EXPECT_EQ(inside, 12);
    p.reset_clip();
    // Far-away ends neither hang nor write outside.
    p.line(-2000000000, -2000000000, 2000000000, 2000000000, 3);
    p.line(5, 3, 2000000000, 3, 4);
    EXPECT_EQ(p.get(9, 3), 4u);
    EXPECT_EQ(p.row(3)[10], 0);
}

TEST(Picture, RgbPixelsAndSteepLines) {
    Picture p;
    ASSERT_TRUE(p.create(5, 20, 3, 255));
    EXPECT_EQ(p.stride(), 16);
    EXPECT_EQ(p.get(4, 19), 0xffffffu);
    p.line(0, 0, 2, 19, 0x123456);
    int set = 0;
    for (int y = 0; y < 20; ++y) {
        int in_row = 0;
        for (int x = 0; x < 5; ++x) in_row += p.get(x, y) == 0x123456u;
        EXPECT_EQ(in_row, 1) << "row " << y;  // one pixel per row on a steep line
        set += in_row;
    }
    EXPECT_EQ(set, 20);
    EXPECT_EQ(p.get(0, 0), 0x123456u);
    EXPECT_EQ(p.get(2, 19), 0x123456u);
    EXPECT_EQ(p.get(-1, 0), 0u);
    Picture bad;
    EXPECT_FALSE(bad.create(0, 10, 1, 0));
    EXPECT_FALSE(bad.create(10, 10, 2, 0));
    EXPECT_TRUE(bad.empty());
    bad.line(0, 0, 5, 5, 1);  // drawing into no picture does nothing
}

TEST(Png, IndexedChunksPaletteAndData) {
    Picture p = sample(37, 11, 1);
    Bytes png;
    ASSERT_EQ(encode_png(p, palette, 9, false, png), kImageOk);
    const std::uint8_t sig[8] = {137, 80, 78, 71, 13, 10, 26, 10};
    ASSERT_EQ(std::memcmp(png.data(), sig, 8), 0);
    auto c = chunks(png);
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(c[0].first, "IHDR");
    EXPECT_EQ(c[1].first, "PLTE");
    EXPECT_EQ(c[2].first, "IDAT");
    EXPECT_EQ(c[3].first, "IEND");
    const Bytes& ih = c[0].second;
    ASSERT_EQ(ih.size(), 13u);
    EXPECT_EQ(be32(ih, 0), 37u);
    EXPECT_EQ(be32(ih, 4), 11u);
    EXPECT_EQ(ih[8], 8);
    EXPECT_EQ(ih[9], 3);
    EXPECT_EQ(ih[10] | ih[11] | ih[12], 0);
    ASSERT_EQ(c[1].second.size(), 27u);
    EXPECT_EQ(c[1].second[6], 0xff);  // entry 2 red
    // The image data: filter byte 0 and the row.
    Bytes raw(38 * 11);
    uLongf n = raw.size();
    ASSERT_EQ(uncompress(raw.data(), &n, c[2].second.data(), c[2].second.size()), Z_OK);
    ASSERT_EQ(n, raw.size());
    for (int y = 0; y < 11; ++y) {
        EXPECT_EQ(raw[(std::size_t)y * 38], 0);
        EXPECT_EQ(std::memcmp(&raw[(std::size_t)y * 38 + 1], p.row(y), 37), 0);
    }
    // Transparency: one byte for palette entry 0, after PLTE.
    ASSERT_EQ(encode_png(p, palette, 16, true, png), kImageOk);
    c = chunks(png);
    ASSERT_EQ(c.size(), 5u);
    EXPECT_EQ(c[1].second.size(), 48u);
    EXPECT_EQ(c[2].first, "tRNS");
    EXPECT_EQ(c[2].second, Bytes{0});
    TempDir dir;
    ASSERT_EQ(write_file(dir.path("a.png"), png), kImageOk);
    EXPECT_TOOL_OK("pngcheck " + dir.path("a.png"));
}

TEST(Png, RgbHasNoPaletteAndSixByteTransparency) {
    Picture p = sample(20, 7, 3);
    Bytes png;
    ASSERT_EQ(encode_png(p, palette, 9, true, png), kImageOk);
    auto c = chunks(png);
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(c[0].first, "IHDR");
    EXPECT_EQ(c[0].second[9], 2);
    EXPECT_EQ(c[1].first, "tRNS");
    EXPECT_EQ(c[1].second, (Bytes{0, 255, 0, 255, 0, 255}));
    EXPECT_EQ(c[2].first, "IDAT");
    TempDir dir;
    ASSERT_EQ(write_file(dir.path("b.png"), png), kImageOk);
    EXPECT_TOOL_OK("pngcheck " + dir.path("b.png"));
    EXPECT_EQ(write_file("/nonexistent-dir/x.png", png), kImageFile);
}

TEST(Tiff, DirectoryOfIndexedAndRgbPictures) {
    TempDir dir;
    for (int bpp : {1, 3}) {
        Picture p = sample(33, 9, bpp);
        Bytes t;
        ASSERT_EQ(encode_tiff(p, palette, 100, 2, t), kImageOk);
        EXPECT_EQ(t[0], 'I');
        EXPECT_EQ(t[1], 'I');
        EXPECT_EQ(le16(t, 2), 42u);
        EXPECT_EQ(le32(t, 4), 8u);
        unsigned n = le16(t, 8);
        EXPECT_EQ(n, bpp == 1 ? 14u : 10u);
        const unsigned want[14] = {254, 256, 257, 258, 259, 262, 273, 277, 278, 279, 282, 283, 296, 320};
        for (unsigned i = 0; i < n; ++i) EXPECT_EQ(le16(t, 10 + 12 * i), want[i]);
        EXPECT_EQ(le32(t, 10 + 12 * n), 0u);  // no next directory
        // The last strip is the last row.
        std::size_t row = (std::size_t)33 * bpp;
        EXPECT_EQ(std::memcmp(t.data() + t.size() - row, p.row(8), row), 0);
        std::string name = dir.path(bpp == 1 ? "i.tif" : "r.tif");
        ASSERT_EQ(write_file(name, t), kImageOk);
        std::string info = tool_output("tiffinfo " + name + " 2>&1");
        EXPECT_NE(info.find("Image Width: 33 Image Length: 9"), std::string::npos) << info;
        EXPECT_EQ(info.find("rror"), std::string::npos) << info;
        EXPECT_EQ(info.find("arning"), std::string::npos) << info;
        if (bpp == 1) {
            EXPECT_NE(info.find("Resolution: 100, 100 pixels/inch"), std::string::npos) << info;
        }
    }
    // Pictures of one and two rows keep the offsets in the entries.
    for (int h : {1, 2}) {
        Picture p = sample(4, h, 1);
        Bytes t;
        ASSERT_EQ(encode_tiff(p, palette, 40, 3, t), kImageOk);
        std::string name = dir.path("s" + std::to_string(h) + ".tif");
        ASSERT_EQ(write_file(name, t), kImageOk);
        EXPECT_TOOL_OK("tiffinfo " + name);
    }
}

TEST(Bmp, HeaderPaletteAndRowPadding) {
    for (int w : {100, 101}) {
        Picture p = sample(w, 50, 1);
        Bytes b;
        ASSERT_EQ(encode_bmp(p, palette, 9, b), kImageOk);
        std::uint32_t row = w == 100 ? 100 : 104;
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        EXPECT_EQ(le32(b, 2), row * 50 + 54 + 36);
        EXPECT_EQ(b.size(), row * 50 + 54 + 36);
        EXPECT_EQ(le32(b, 10), 54u + 36u);
        EXPECT_EQ(le32(b, 14), 40u);
        EXPECT_EQ(le32(b, 18), (std::uint32_t)w);
        EXPECT_EQ(le32(b, 22), 50u);
        EXPECT_EQ(le16(b, 26), 1u);
        EXPECT_EQ(le16(b, 28), 8u);
        EXPECT_EQ(le32(b, 34), row * 50);
        EXPECT_EQ(le32(b, 38), 2500u);
        EXPECT_EQ(le32(b, 46), 9u);
        EXPECT_EQ(b[54 + 4 * 2 + 2], 0xff);  // entry 2 as blue, green, red, 0
        // The first stored row is the bottom row, padded with zeros.
        EXPECT_EQ(std::memcmp(b.data() + 90, p.row(49), (std::size_t)w), 0);
        for (std::uint32_t i = (std::uint32_t)w; i < row; ++i) EXPECT_EQ(b[90 + i], 0);
    }
    Picture p = sample(3, 2, 3);
    Bytes b;
    ASSERT_EQ(encode_bmp(p, palette, 9, b), kImageOk);
    EXPECT_EQ(le16(b, 28), 24u);
    EXPECT_EQ(le32(b, 10), 54u);
    EXPECT_EQ(b.size(), 54u + 12 * 2);
    // Blue, green, red order: the bottom row's first pixel.
    std::uint32_t c = p.get(0, 1);
    EXPECT_EQ(b[54], c & 0xff);
    EXPECT_EQ(b[56], c >> 16);
    TempDir dir;
    ASSERT_EQ(write_file(dir.path("c.bmp"), b), kImageOk);
    if (have_tool("identify")) {
        EXPECT_NE(tool_output("identify " + dir.path("c.bmp")).find("3x2"), std::string::npos);
    }
}

TEST(Ppm, HeaderAndExpandedPixels) {
    Picture p = sample(4, 3, 1);
    Bytes b;
    ASSERT_EQ(encode_ppm(p, palette, b), kImageOk);
    std::string head(b.begin(), b.begin() + 11);
    EXPECT_EQ(head, "P6\n4 3\n255\n");
    ASSERT_EQ(b.size(), 11u + 36u);
    std::uint32_t c = palette[p.get(0, 0)];
    EXPECT_EQ(b[11], c >> 16);
    EXPECT_EQ(b[12], (c >> 8) & 0xff);
}

TEST(OwnImage, HeaderRoundTripAndConversions) {
    TempDir dir;
    Picture p = sample(13, 5, 1);
    Bytes b;
    ASSERT_EQ(encode_own_image(p, b), kImageOk);
    std::string head(b.begin(), b.begin() + 80);
    EXPECT_EQ(head, "!Bitmap KORVAL VIRT    13     5     8    16     8    32     0     1     0       ");
    EXPECT_EQ(b.size(), 80u + 16 * 5);
    std::string name = dir.path("a.img");
    ASSERT_EQ(write_file(name, b), kImageOk);

    Picture q;
    ASSERT_TRUE(q.create(13, 5, 1, 0));
    EXPECT_EQ(read_own_image(name, q, palette), 0);
    EXPECT_EQ(std::memcmp(q.data(), p.data(), p.size_bytes()), 0);
    // A wider picture takes each row at its start; a shorter one the first rows.
    Picture wide;
    ASSERT_TRUE(wide.create(20, 3, 1, 0));
    EXPECT_EQ(read_own_image(name, wide, palette), 0);
    for (int y = 0; y < 3; ++y) EXPECT_EQ(std::memcmp(wide.row(y), p.row(y), 13), 0);
    // A narrower picture converts pixel by pixel.
    Picture narrow;
    ASSERT_TRUE(narrow.create(6, 8, 1, 0));
    EXPECT_EQ(read_own_image(name, narrow, palette), 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) EXPECT_EQ(narrow.get(x, y), p.get(x, y));
    // Indexed file into an RGB picture: through the palette.
    Picture rgb;
    ASSERT_TRUE(rgb.create(13, 5, 3, 0));
    EXPECT_EQ(read_own_image(name, rgb, palette), 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 13; ++x) EXPECT_EQ(rgb.get(x, y), palette[p.get(x, y)]);
    // RGB file into an indexed picture: the nearest table colour.
    ASSERT_EQ(encode_own_image(rgb, b), kImageOk);
    EXPECT_EQ(std::string(b.begin() + 44, b.begin() + 56), "   24    32 ");
    ASSERT_EQ(write_file(dir.path("rgb.img"), b), kImageOk);
    Picture back;
    ASSERT_TRUE(back.create(13, 5, 1, 0));
    EXPECT_EQ(read_own_image(dir.path("rgb.img"), back, palette), 0);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 13; ++x) EXPECT_EQ(back.get(x, y), p.get(x, y));
}

TEST(OwnImage, BadFilesWarnAndStayInside) {
    TempDir dir;
    Picture p = sample(13, 5, 1);
    Bytes b;
    ASSERT_EQ(encode_own_image(p, b), kImageOk);
    Picture q;
    ASSERT_TRUE(q.create(13, 5, 1, 0x77));
    EXPECT_EQ(read_own_image(dir.path("missing.img"), q, palette), 36);
    // Truncated data: the format warning, nothing read past the file.
    Bytes cut(b.begin(), b.end() - 30);
    ASSERT_EQ(write_file(dir.path("cut.img"), cut), kImageOk);
    EXPECT_EQ(read_own_image(dir.path("cut.img"), q, palette), 56);
    // A short header, a wrong marker, a bad bit count, a row length shorter
    // than the width, letters in a number.
    Bytes shorth(b.begin(), b.begin() + 50);
    ASSERT_EQ(write_file(dir.path("h.img"), shorth), kImageOk);
    EXPECT_EQ(read_own_image(dir.path("h.img"), q, palette), 56);
    auto patched = [&](std::size_t at, const char* text) {
        Bytes c = b;
        std::memcpy(c.data() + at, text, std::strlen(text));
        EXPECT_EQ(write_file(dir.path("p.img"), c), kImageOk);
        return read_own_image(dir.path("p.img"), q, palette);
    };
    EXPECT_EQ(patched(0, "!Bitmop"), 56);
    EXPECT_EQ(patched(44, "   16"), 56);
    EXPECT_EQ(patched(38, "    4"), 56);
    EXPECT_EQ(patched(20, "   1x"), 56);
    // A file claiming a huge picture with little data: rows up to the
    // picture's height are read, the rest of the memory is not touched.
    Bytes huge = b;
    std::memcpy(huge.data() + 20, "99999 99999     8 99999", 23);
    ASSERT_EQ(write_file(dir.path("huge.img"), huge), kImageOk);
    EXPECT_EQ(read_own_image(dir.path("huge.img"), q, palette), 56);
    // Flag 0: values spread from the base index.
    Bytes flag = b;
    std::memcpy(flag.data() + 62, "    0     1", 11);
    ASSERT_EQ(write_file(dir.path("f.img"), flag), kImageOk);
    Picture r;
    ASSERT_TRUE(r.create(13, 5, 1, 0));
    EXPECT_EQ(read_own_image(dir.path("f.img"), r, palette), 0);
    for (int x = 0; x < 13; ++x) {
        int v = (int)p.get(x, 0);
        EXPECT_EQ((int)r.get(x, 0), v == 1 ? 0 : ((v - 1) * 2 - 1) & 0xff);
    }
}

TEST(OwnImage, EveryTruncationAndHeaderMutationStaysSafe) {
    TempDir dir;
    Picture src = sample(9, 4, 3);
    Bytes b;
    ASSERT_EQ(encode_own_image(src, b), kImageOk);
    std::string name = dir.path("m.img");
    Picture q;
    // Every length of the file: a short file never reads as a picture.
    for (std::size_t n = 0; n < b.size(); n += 3) {
        ASSERT_EQ(write_file(name, Bytes(b.begin(), b.begin() + n)), kImageOk);
        ASSERT_TRUE(q.create(7, 5, 1, 0));
        int w = read_own_image(name, q, palette);
        EXPECT_TRUE(w == 56) << n;
    }
    // Digits of the header changed one at a time, into pictures of both kinds.
    unsigned seed = 12345;
    for (int k = 0; k < 400; ++k) {
        Bytes c = b;
        seed = seed * 1103515245u + 12345u;
        std::size_t at = 20 + (seed >> 8) % 53;
        c[at] = "0123456789 -x9"[(seed >> 20) % 14];
        ASSERT_EQ(write_file(name, c), kImageOk);
        ASSERT_TRUE(q.create(5 + k % 7, 3 + k % 5, k % 2 ? 3 : 1, 0));
        int w = read_own_image(name, q, palette);
        EXPECT_TRUE(w == 0 || w == 56) << k << ": " << w;
    }
}
