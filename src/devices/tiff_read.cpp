// Reading a TIFF file into the raster picture (wtiff), with the placement
// set by tiforg and the part of the file chosen by tifwin.
//
// The reader takes baseline TIFF without compression: byte orders "II" and
// "MM", 8-bit samples, palette (with or without a colour map), grey and
// RGB pictures in strips, chunky planar configuration.  That covers the
// files rtiff writes and those of most image programs saved uncompressed.
// Every offset is checked against the file size before it is read.

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "devices/image_files.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

struct TiffFile {
    const std::vector<std::uint8_t>& d;
    bool big = false;  // "MM"
    bool ok(std::size_t off, std::size_t n) const { return off <= d.size() && n <= d.size() - off; }
    unsigned u16(std::size_t off) const {
        if (!ok(off, 2)) return 0;
        return big ? (unsigned)(d[off] << 8 | d[off + 1]) : (unsigned)(d[off] | d[off + 1] << 8);
    }
    std::uint32_t u32(std::size_t off) const {
        if (!ok(off, 4)) return 0;
        std::uint32_t a = d[off], b = d[off + 1], c = d[off + 2], e = d[off + 3];
        return big ? (a << 24 | b << 16 | c << 8 | e) : (e << 24 | c << 16 | b << 8 | a);
    }
};

// One directory entry: its values as unsigned integers (SHORT or LONG; the
// first value of BYTE entries).
struct Entry {
    unsigned type = 0;
    std::uint32_t count = 0;
    std::size_t offset = 0;  // where the values are
};

std::uint32_t entry_value(const TiffFile& f, const Entry& e, std::uint32_t i) {
    if (i >= e.count) return 0;
    switch (e.type) {
        case 1:
            return f.ok(e.offset + i, 1) ? f.d[e.offset + i] : 0;
        case 3:
            return f.u16(e.offset + 2 * (std::size_t)i);
        case 4:
            return f.u32(e.offset + 4 * (std::size_t)i);
        default:
            return 0;
    }
}

struct TiffImage {
    int width = 0, height = 0, samples = 1, bits = 8, photometric = 1;
    std::vector<std::uint8_t> pixels;  // samples bytes per pixel, rows top down
    std::uint32_t palette[256];
};

// 0 when the picture was read; else 36 (file) or 56 (format).
int read_tiff(const std::string& name, TiffImage& img) {
    std::vector<std::uint8_t> data;
    std::FILE* fp = std::fopen(name.c_str(), "rb");
    if (!fp) return 36;
    std::uint8_t buf[65536];
    std::size_t got;
    while ((got = std::fread(buf, 1, sizeof buf, fp)) > 0) {
        if (data.size() > ((std::size_t)1 << 30)) break;  // far beyond any picture
        data.insert(data.end(), buf, buf + got);
    }
    std::fclose(fp);
    TiffFile f{data};
    if (data.size() < 8) return 56;
    if (data[0] == 'M' && data[1] == 'M')
        f.big = true;
    else if (!(data[0] == 'I' && data[1] == 'I'))
        return 56;
    if (f.u16(2) != 42) return 56;
    std::size_t dir = f.u32(4);
    unsigned n = f.u16(dir);
    if (!f.ok(dir + 2, (std::size_t)n * 12)) return 56;
    Entry strips, counts, colours;
    unsigned compression = 1, planar = 1;
    std::uint32_t rows_per_strip = 0xffffffffu;
    int bits_count = 0;
    for (unsigned k = 0; k < n; ++k) {
        std::size_t at = dir + 2 + 12 * (std::size_t)k;
        unsigned tag = f.u16(at);
        Entry e;
        e.type = f.u16(at + 2);
        e.count = f.u32(at + 4);
        std::size_t size = e.type == 3 ? 2 : e.type == 4 ? 4 : 1;
        if (e.count > data.size()) return 56;
        e.offset = size * e.count <= 4 ? at + 8 : f.u32(at + 8);
        if (!f.ok(e.offset, size * e.count)) return 56;
        std::uint32_t v = entry_value(f, e, 0);
        switch (tag) {
            case 256:
                img.width = (int)v;
                break;
            case 257:
                img.height = (int)v;
                break;
            case 258:
                img.bits = (int)v;
                bits_count = (int)e.count;
                for (std::uint32_t i = 1; i < e.count; ++i)
                    if (entry_value(f, e, i) != v) return 56;
                break;
            case 259:
                compression = v;
                break;
            case 262:
                img.photometric = (int)v;
                break;
            case 273:
                strips = e;
                break;
            case 277:
                img.samples = (int)v;
                break;
            case 278:
                rows_per_strip = v;
                break;
            case 279:
                counts = e;
                break;
            case 284:
                planar = v;
                break;
            case 320:
                colours = e;
                break;
            default:
                break;
        }
    }
    (void)bits_count;
    if (compression != 1 || planar != 1 || img.bits != 8) return 56;
    if (img.width < 1 || img.height < 1 || img.width > 100000 || img.height > 100000) return 56;
    bool rgb = img.photometric == 2 && img.samples >= 3;
    bool palette = img.photometric == 3 && img.samples == 1;
    bool grey = (img.photometric == 0 || img.photometric == 1) && img.samples == 1;
    if (!rgb && !palette && !grey) return 56;
    if (strips.count == 0) return 56;
    if (rows_per_strip == 0 || rows_per_strip > (std::uint32_t)img.height)
        rows_per_strip = (std::uint32_t)img.height;
    const std::size_t row_bytes = (std::size_t)img.width * (std::size_t)img.samples;
    img.pixels.assign(row_bytes * (std::size_t)img.height, 0);
    for (int y = 0; y < img.height; ++y) {
        std::uint32_t s = (std::uint32_t)y / rows_per_strip;
        if (s >= strips.count) break;
        std::size_t off =
            entry_value(f, strips, s) + row_bytes * (std::size_t)((std::uint32_t)y % rows_per_strip);
        if (!f.ok(off, row_bytes)) return 56;
        std::copy(data.begin() + (std::ptrdiff_t)off, data.begin() + (std::ptrdiff_t)(off + row_bytes),
                  img.pixels.begin() + (std::ptrdiff_t)(row_bytes * (std::size_t)y));
    }
    (void)counts;
    for (int i = 0; i < 256; ++i) {
        std::uint32_t g = (std::uint32_t)(img.photometric == 0 ? 255 - i : i);
        img.palette[i] = g << 16 | g << 8 | g;
    }
    if (palette && colours.count >= 768 && colours.type == 3) {
        for (std::uint32_t i = 0; i < 256; ++i) {
            std::uint32_t r = entry_value(f, colours, i) >> 8, g = entry_value(f, colours, 256 + i) >> 8,
                          b = entry_value(f, colours, 512 + i) >> 8;
            img.palette[i] = r << 16 | g << 8 | b;
        }
    }
    return 0;
}

RasterState& rs() { return state().raster; }

}  // namespace

void tiforg(int nx, int ny) {
    check_level(0, 3, "tiforg");
    rs().tiff_x = nx;
    rs().tiff_y = ny;
}

void tifwin(int nx, int ny, int nw, int nh) {
    check_level(0, 3, "tifwin");
    if (nx < 0 || ny < 0 || nw < 0 || nh < 0) return (void)warn_routine(2);
    RasterState& r = rs();
    r.tiff_win_x = nx, r.tiff_win_y = ny, r.tiff_win_w = nw, r.tiff_win_h = nh;
}

void wtiff(const char* s) {
    if (enter_routine("wtiff")) return;
    int code = state().out.format;
    Picture& pic = rs().picture;
    if ((code >= 101 && code <= 600) || pic.empty()) return (void)warn_routine(40);
    plot_flush();
    std::string name = s ? s : "";
    TiffImage img;
    int w = read_tiff(name, img);
    if (w == 36) return (void)warn_routine_text(36, name.c_str());
    if (w) return (void)warn_routine(w);
    const RasterState& r = rs();
    // The window of the file (width or height 0: to the file's edge), placed
    // with its upper left corner at the origin in the picture.
    long x0 = r.tiff_win_x, y0 = r.tiff_win_y;
    long ww = r.tiff_win_w > 0 ? r.tiff_win_w : img.width - x0;
    long wh = r.tiff_win_h > 0 ? r.tiff_win_h : img.height - y0;
    if (x0 + ww > img.width) ww = img.width - x0;
    if (y0 + wh > img.height) wh = img.height - y0;
    const std::uint32_t* table = state().colour.table;
    int cache_key = -1, cache_index = 0;
    for (long y = 0; y < wh; ++y) {
        long py = r.tiff_y + y;
        if (py < 0 || py >= pic.height()) continue;
        const std::uint8_t* row =
            img.pixels.data() + ((std::size_t)(y0 + y) * (std::size_t)img.width) * (std::size_t)img.samples;
        for (long x = 0; x < ww; ++x) {
            long px = r.tiff_x + x;
            if (px < 0 || px >= pic.width()) continue;
            const std::uint8_t* p = row + (std::size_t)(x0 + x) * (std::size_t)img.samples;
            std::uint32_t rgb = img.samples >= 3 ? (std::uint32_t)p[0] << 16 | (std::uint32_t)p[1] << 8 | p[2]
                                                 : img.palette[p[0]];
            std::uint32_t value = rgb;
            if (!pic.rgb()) {
                // A palette file whose colours are the table's keeps its indices.
                if (img.samples == 1 && (table[p[0]] & 0xffffff) == rgb) {
                    value = p[0];
                } else {
                    if ((int)rgb != cache_key) cache_key = (int)rgb, cache_index = nearest_index(table, rgb);
                    value = (std::uint32_t)cache_index;
                }
            }
            pic.set((int)px, (int)py, value);
        }
    }
    if (Device* d = current_device()) d->sync();
}

}  // namespace korval
