// Including files into the current page (incfil): VECM metafiles and CGM
// files of this library are played back as vectors, BMP images and the
// library's own pictures are copied into the output picture, each scaled
// into the file box (filbox) with or without their colours (filclr).
#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "devices/image_files.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

bool read_file(const char* name, std::vector<unsigned char>& data) {
    std::FILE* f = std::fopen(name, "rb");
    if (!f) return false;
    unsigned char buf[1 << 15];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.insert(data.end(), buf, buf + n);
    std::fclose(f);
    return true;
}

bool starts_with(const std::vector<unsigned char>& d, const char* s) {
    std::size_t n = std::strlen(s);
    return d.size() >= n && std::memcmp(d.data(), s, n) == 0;
}

// The file box in plot units: x, y of the upper left corner, width, height.
struct Box {
    float x, y, w, h;
};

Box file_box() {
    const DriverState& d = state().drivers;
    if (d.file_box_set)
        return {(float)d.file_box_x, (float)d.file_box_y, (float)d.file_box_w, (float)d.file_box_h};
    const OutputState& o = state().out;
    return {0.0f, 0.0f, (float)(o.nxp + 1), (float)(o.nyp + 1)};
}

// Colours of the file go through the user routines; the warnings that
// follow are still incfil's.
void file_colour(int index) {
    if (state().drivers.file_colours == 1) return;
    setclr(index);
    state().run.routine = "incfil";
}

void file_rgb(int r, int g, int b) {
    if (state().drivers.file_colours == 1) return;
    if (r == 0 && g == 0 && b == 0)
        color("FORE");
    else if (r == 255 && g == 255 && b == 255)
        color("BACK");
    else
        setrgb((float)r / 255.0f, (float)g / 255.0f, (float)b / 255.0f);
    state().run.routine = "incfil";
}

// ---- VECM ---------------------------------------------------------------------

// Plays a VECM metafile: a header line with the page size in centimetres,
// then records of eight 10-character fields.
void play_vecm(const std::vector<unsigned char>& d) {
    std::size_t eol = 0;
    while (eol < d.size() && d[eol] != '\n') ++eol;
    std::string head(d.begin(), d.begin() + (long)eol);
    double size[2] = {0, 0};
    const char* p = head.c_str();
    const char* end = p + head.size();
    for (double& v : size) {
        while (p < end && *p == ' ') ++p;
        auto r = std::from_chars(p, end, v);
        if (r.ec != std::errc()) {
            warn_routine(56);
            return;
        }
        p = r.ptr;
    }
    double fw = size[0] * 100.0, fh = size[1] * 100.0;
    if (!(fw > 0 && fh > 0 && fw < 1e9 && fh < 1e9)) {
        warn_routine(56);
        return;
    }
    Box box = file_box();
    double ratio = std::min(box.w / fw, box.h / fh);
    double scale = ratio * std::max(fw, fh);
    double bottom = box.y + ratio * fh;
    int op = kOpMove, escapes = 0;
    bool have_x = false, ended = false;
    double px = 0;
    std::size_t at = eol + 1;
    while (at < d.size() && !ended) {
        // The fields of one line.
        std::size_t line_end = at;
        while (line_end < d.size() && d[line_end] != '\n') ++line_end;
        for (std::size_t f = at; f + 10 <= line_end && !ended; f += 10) {
            const char* s = reinterpret_cast<const char*>(d.data() + f);
            const char* e = s + 10;
            while (s < e && *s == ' ') ++s;
            double v;
            auto r = std::from_chars(s, e, v);
            if (r.ec != std::errc() || !(v > -1.0 && v < 1e6)) continue;
            int whole = (int)v;
            if (whole == 0 || whole == 1) {
                if (!have_x) {
                    px = v;
                    have_x = true;
                    continue;
                }
                have_x = false;
                device_line((float)(box.x + px * scale), (float)(bottom - v * scale), op);
            } else if (whole == 2) {
                op = kOpDraw;
            } else if (whole == 3) {
                op = kOpMove;
            } else if (whole == 9) {
                ended = true;
            } else if (whole == 99) {
                escapes = std::min(escapes + 89, 1024);
            } else if (whole >= 10 && escapes + whole - 9 <= 256) {
                int c = whole - 9 + escapes;
                escapes = 0;
                file_colour(c == 256 ? 0 : c);
            }
        }
        at = line_end + 1;
    }
    if (!ended) {
        set_warning_text("The VECMET file is not complete!");
        warn_routine(101);
    }
}

// ---- CGM ----------------------------------------------------------------------

struct CgmReader {
    const std::vector<unsigned char>& d;
    std::size_t at = 0;
    unsigned word(std::size_t i) const { return ((unsigned)d[i] << 8) | d[i + 1]; }
    // The next element: class, id, parameter offset and length.  False at
    // the end of the data or when an element runs past it.
    bool next(int& cls, int& id, std::size_t& p, std::size_t& len, bool& truncated) {
        truncated = false;
        if (at + 2 > d.size()) return false;
        unsigned head = word(at);
        at += 2;
        len = head & 31;
        if (len == 31) {
            if (at + 2 > d.size()) return (truncated = true), false;
            len = word(at) & 0x7fff;
            at += 2;
        }
        if (at + len > d.size()) return (truncated = true), false;
        cls = (int)(head >> 12);
        id = (int)((head >> 5) & 127);
        p = at;
        at += len + (len & 1);
        return true;
    }
};

bool is_cgm(const std::vector<unsigned char>& d) {
    return d.size() >= 2 && d[0] == 0x00 && (d[1] & 0xE0) == 0x20;
}

// Plays the POLYLINE and LINE COLOUR elements of a CGM file of this library;
// a first pass finds the VDC extent.
void play_cgm(const std::vector<unsigned char>& d) {
    int cls, id;
    std::size_t p, len;
    bool truncated = false;
    double W = 0, H = 0;
    {
        CgmReader r{d};
        while (r.next(cls, id, p, len, truncated)) {
            if (cls == 2 && id == 6 && len >= 8) {
                W = std::abs((double)(int16_t)r.word(p + 4) - (int16_t)r.word(p));
                H = std::abs((double)(int16_t)r.word(p + 6) - (int16_t)r.word(p + 2));
                break;
            }
            if (cls == 0 && id == 2) break;
        }
    }
    if (!(W > 0 && H > 0)) {
        warn_routine(56);
        return;
    }
    Box box = file_box();
    double ratio = std::min(box.w / W, box.h / H);
    double bottom = box.y + ratio * H;
    CgmReader r{d};
    while (r.next(cls, id, p, len, truncated)) {
        if (cls == 0 && id == 2) return;  // END METAFILE
        if (cls == 4 && id == 1) {
            for (std::size_t k = 0; k + 4 <= len; k += 4) {
                double x = (int16_t)r.word(p + k), y = (int16_t)r.word(p + k + 2);
                device_line((float)(box.x + x * ratio), (float)(bottom - y * ratio),
                            k == 0 ? kOpMove : kOpDraw);
            }
        } else if (cls == 5 && id == 4 && len >= 3) {
            file_rgb(d[p], d[p + 1], d[p + 2]);
        }
    }
    // A file that ends before END METAFILE: what was read stays drawn.
    set_warning_text("Unexpected end of CGM file");
    warn_routine(101);
}

// ---- pictures -----------------------------------------------------------------

unsigned le16(const std::vector<unsigned char>& d, std::size_t i) { return d[i] | ((unsigned)d[i + 1] << 8); }
std::uint32_t le32(const std::vector<unsigned char>& d, std::size_t i) {
    return le16(d, i) | (le16(d, i + 2) << 16);
}

// Decodes a BMP file (1, 4, 8 or 24 bits, RLE8 and RLE4) into an RGB
// picture; 0 or the warning text.
const char* decode_bmp(const std::vector<unsigned char>& d, Picture& pic) {
    const char* short_file = "Unexspected end of BMP file";
    if (d.size() < 54) return short_file;
    std::uint32_t offset = le32(d, 10), header = le32(d, 14);
    long w = (std::int32_t)le32(d, 18), h = (std::int32_t)le32(d, 22);
    unsigned bits = le16(d, 28);
    std::uint32_t compression = le32(d, 30), colours = le32(d, 46);
    bool top_down = h < 0;
    if (top_down) h = -h;
    if (w <= 0 || h <= 0 || w > 32767 || h > 32767 || (bits != 1 && bits != 4 && bits != 8 && bits != 24))
        return "Bad BMP header";
    if ((compression == 1 && bits != 8) || (compression == 2 && bits != 4) || compression > 2)
        return "Bad compression modus";
    std::uint32_t palette[256] = {};
    if (bits <= 8) {
        std::uint32_t n = colours ? std::min<std::uint32_t>(colours, 256) : (1u << bits);
        std::size_t at = 14 + (std::size_t)header;
        if (header > 1024 || at + 4 * (std::size_t)n > d.size()) return short_file;
        for (std::uint32_t i = 0; i < n; ++i)
            palette[i] = ((std::uint32_t)d[at + 4 * i + 2] << 16) | ((std::uint32_t)d[at + 4 * i + 1] << 8) |
                         d[at + 4 * i];
    }
    // The pixels must be in the file before memory is taken for them (a
    // run of two bytes gives at most 255 pixels).
    std::size_t stride = (((std::size_t)w * bits + 31) / 32) * 4;
    std::size_t data = offset < d.size() ? d.size() - offset : 0;
    if (compression == 0 ? stride * (std::size_t)h > data
                         : (std::size_t)w * (std::size_t)h > 128 * data + 255)
        return short_file;
    if (!pic.create((int)w, (int)h, 3, 0)) return "Not enough memory";
    auto put = [&](long x, long row, std::uint32_t rgb) {
        if (x < 0 || x >= w || row < 0 || row >= h) return;
        pic.set((int)x, (int)(top_down ? row : h - 1 - row), rgb);
    };
    if (offset >= d.size()) return short_file;
    std::size_t at = offset;
    if (compression == 0) {
        for (long row = 0; row < h; ++row, at += stride) {
            if (at + stride > d.size()) return short_file;
            for (long x = 0; x < w; ++x) {
                std::uint32_t rgb;
                if (bits == 24) {
                    const unsigned char* q = &d[at + 3 * (std::size_t)x];
                    rgb = ((std::uint32_t)q[2] << 16) | ((std::uint32_t)q[1] << 8) | q[0];
                } else {
                    std::size_t bit = (std::size_t)x * bits;
                    unsigned byte = d[at + bit / 8];
                    unsigned v = (byte >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
                    rgb = palette[v];
                }
                put(x, row, rgb);
            }
        }
        return nullptr;
    }
    // Run-length encoded rows from the bottom: pairs of count and value,
    // escapes 0 (end of line), 1 (end of picture), 2 (delta) and absolute
    // runs padded to words.
    long x = 0, row = 0;
    bool rle4 = compression == 2;
    auto value = [&](unsigned byte, long i) { return rle4 ? (i % 2 ? byte & 15 : byte >> 4) : byte; };
    while (at + 2 <= d.size()) {
        unsigned n = d[at], v = d[at + 1];
        at += 2;
        if (n > 0) {
            for (unsigned i = 0; i < n; ++i) put(x++, row, palette[value(v, i)]);
        } else if (v == 0) {
            x = 0;
            ++row;
        } else if (v == 1) {
            return nullptr;
        } else if (v == 2) {
            if (at + 2 > d.size()) return short_file;
            x += d[at];
            row += d[at + 1];
            at += 2;
        } else {
            std::size_t bytes = rle4 ? (v + 1) / 2 : v;
            if (at + bytes > d.size()) return short_file;
            for (unsigned i = 0; i < v; ++i) put(x++, row, palette[value(d[at + (rle4 ? i / 2 : i)], i)]);
            at += bytes + (bytes & 1);
        }
    }
    return short_file;
}

// Copies an RGB picture into the output picture, scaled into the file box
// with its proportions kept.  PostScript and PDF embed a picture of the
// image's own size placed on the drawn area.
void copy_picture(const Picture& src) {
    RasterState& r = state().raster;
    const OutputState& o = state().out;
    Box box = file_box();
    double ratio = std::min((double)box.w / src.width(), (double)box.h / src.height());
    float dw = (float)(src.width() * ratio), dh = (float)(src.height() * ratio);
    bool opened = false, changed = false;
    struct {
        bool box_set;
        int box_x, box_y, box_w, box_h, image_w, image_h;
    } saved = {r.box_set, r.box_x, r.box_y, r.box_w, r.box_h, r.image_w, r.image_h};
    if (!r.image_open) {
        if (o.format >= 501 && o.format <= 600) {
            // Embedded: a picture of at most 2000 pixels a side on the area.
            changed = true;
            double k = std::min(1.0, 2000.0 / std::max(src.width(), src.height()));
            r.image_w = std::max(1, (int)(src.width() * k));
            r.image_h = std::max(1, (int)(src.height() * k));
            r.box_set = true;
            r.box_x = (int)box.x, r.box_y = (int)box.y;
            r.box_w = std::max(1, (int)(dw + 0.5f)), r.box_h = std::max(1, (int)(dh + 0.5f));
        }
        imgini();
        state().run.routine = "incfil";
        opened = r.image_open;
    }
    if (r.image_open) {
        Picture& pic = r.picture;
        // Picture pixels to plot coordinates: raster formats map the page
        // with the device factor (turned for PORT), embedded pictures span
        // the image box.
        bool turned = !r.embedded && o.page_rotation == 1;
        float x0 = 0, y0 = 0, sx = o.device_factor, sy = o.device_factor;
        if (r.embedded) {
            float bw = (float)o.nxp, bh = (float)o.nyp;
            if (r.box_set) x0 = (float)r.box_x, y0 = (float)r.box_y, bw = (float)r.box_w, bh = (float)r.box_h;
            sx = (float)pic.width() / bw;
            sy = (float)pic.height() / bh;
        }
        const bool files_colours = state().drivers.file_colours == 0;
        const std::uint32_t* table = state().colour.table;
        std::uint32_t current = table[state().colour.current & 0xff] & 0xffffff;
        int last_rgb = -1, last_index = 0;
        for (int Y = 0; Y < pic.height(); ++Y) {
            for (int X = 0; X < pic.width(); ++X) {
                float px, py;
                if (turned) {
                    py = ((float)X + 0.5f) / sy + y0;
                    px = (float)o.nxp - ((float)Y + 0.5f) / sx + x0;
                } else {
                    px = ((float)X + 0.5f) / sx + x0;
                    py = ((float)Y + 0.5f) / sy + y0;
                }
                float u = px - box.x, v = py - box.y;
                if (!(u >= 0 && v >= 0 && u < dw && v < dh)) continue;
                int i = std::min(src.width() - 1, (int)(u / ratio)),
                    j = std::min(src.height() - 1, (int)(v / ratio));
                std::uint32_t rgb = files_colours ? src.get(i, j) : current;
                if (pic.rgb()) {
                    pic.set(X, Y, rgb);
                    continue;
                }
                if ((int)rgb != last_rgb) {
                    last_rgb = (int)rgb;
                    last_index = nearest_index(table, rgb);
                }
                pic.set(X, Y, (std::uint32_t)last_index);
            }
        }
    }
    if (opened) {
        imgfin();
        state().run.routine = "incfil";
    }
    if (changed) {
        r.box_set = saved.box_set;
        r.box_x = saved.box_x, r.box_y = saved.box_y, r.box_w = saved.box_w, r.box_h = saved.box_h;
        r.image_w = saved.image_w, r.image_h = saved.image_h;
    }
}

// Plot parameters: the whole page and the file's colours, at korini and by
// reset("FILB") and reset("FILC").
void reset_file_box() { state().drivers.file_box_set = false; }
void reset_file_colours() { state().drivers.file_colours = 0; }
void include_defaults() {
    reset_file_box();
    reset_file_colours();
}

struct Registration {
    Registration() {
        register_defaults(31, include_defaults);
        register_reset("FILB", reset_file_box);
        register_reset("FILC", reset_file_colours);
    }
} registration;

bool picture_format(int code) { return code < 101 || (code >= 501 && code <= 700); }

}  // namespace

void filbox(int nx, int ny, int nw, int nh) {
    if (check_level(0, 3, "filbox")) return;
    int nxp, nyp;
    page_extent(nxp, nyp);
    int y = page_y(ny);
    if (nx < 0 || ny < 0 || nw < 1 || nh < 1 || (long)nx + nw > (long)nxp + 1 ||
        (long)y + nh > (long)nyp + 1) {
        warn_routine(2);
        return;
    }
    DriverState& d = state().drivers;
    d.file_box_set = true;
    d.file_box_x = nx;
    d.file_box_y = y;
    d.file_box_w = nw;
    d.file_box_h = nh;
}

void filclr(const char* s) {
    if (check_level(0, 3, "filclr")) return;
    int i = match_keyword("ALL +NONE", 2, s);
    if (i) state().drivers.file_colours = i - 1;
}

void incfil(const char* name) {
    if (enter_routine("incfil")) return;
    std::vector<unsigned char> data;
    if (!name || !read_file(name, data)) {
        warn_routine_text(36, name ? name : "");
        return;
    }
    plot_flush();
    int saved = state().colour.current;
    int code = state().out.format;
    OwnImageHeader own;
    if (starts_with(data, "BM") || (data.size() >= 80 && parse_own_header(data.data(), 80, own))) {
        if (!picture_format(code)) {
            warn_routine(40);
            return;
        }
        Picture src;
        if (data[0] == 'B') {
            if (const char* problem = decode_bmp(data, src)) {
                set_warning_text(problem);
                warn_routine(101);
                return;
            }
        } else {
            // Read into an RGB picture of the file's size: indexed pixels
            // take their colours from the colour table.
            if (!src.create(own.width, own.height, 3, 0)) return (void)warn_routine(51);
            if (int w = read_own_image(name, src, state().colour.table))
                return (void)warn_routine_text(w, name);
        }
        copy_picture(src);
        return;
    }
    if (is_cgm(data) && ((data[1] >> 5) & 7) == 1) {
        play_cgm(data);
    } else if (starts_with(data, "!R!") || starts_with(data, " SP1") || starts_with(data, "%!PS-Adobe")) {
        warn_routine(56);
        return;
    } else {
        play_vecm(data);
    }
    plot_flush();
    if (state().colour.current != saved) select_colour(saved);
}

}  // namespace korval
