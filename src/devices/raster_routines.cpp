// The routines of the raster picture: image settings, the pixel routines,
// images embedded in PostScript and PDF, image files, and the PDF and PNG
// buffers handed to the script.
#include <cstring>
#include <string>
#include <vector>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "devices/image_files.hpp"
#include "devices/raster_io.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

RasterState& rs() { return state().raster; }

bool is_screen(int code) { return code < 101; }
bool is_raster(int code) { return code >= 601 && code <= 700; }
bool is_embedding(int code) { return code >= 501 && code <= 600; }

// The picture of the current format, or nullptr after warning 40.
Picture* format_picture() {
    int code = state().out.format;
    Picture& pic = rs().picture;
    if (!(is_screen(code) || is_raster(code)) || pic.empty()) {
        warn_routine(40);
        return nullptr;
    }
    return &pic;
}

// The picture of the pixel routines, or nullptr after warning 55.
Picture* open_picture() {
    if (!rs().image_open || rs().picture.empty()) {
        warn_routine(55);
        return nullptr;
    }
    return &rs().picture;
}

std::uint32_t to_pixel(const Picture& pic, int v) {
    const std::uint32_t* table = state().colour.table;
    if (rs().pixel_mode == 0) return pic.rgb() ? table[v & 0xff] & 0xffffff : (std::uint32_t)(v & 0xff);
    std::uint32_t rgb = (std::uint32_t)v & 0xffffff;
    return pic.rgb() ? rgb : (std::uint32_t)nearest_index(table, rgb);
}

int from_pixel(const Picture& pic, std::uint32_t p) {
    const std::uint32_t* table = state().colour.table;
    if (rs().pixel_mode == 0) return pic.rgb() ? nearest_index(table, p) : (int)p;
    return pic.rgb() ? (int)p : (int)(table[p & 0xff] & 0xffffff);
}

bool inside(const Picture& pic, int x, int y) {
    return x >= 0 && y >= 0 && x < pic.width() && y < pic.height();
}

void raster_defaults() {
    RasterState& r = rs();
    r.pixel_mode = 0;
    r.image_w = r.image_h = 0;
    r.box_set = false;
}

struct Registration {
    Registration() { register_defaults(30, raster_defaults); }
} registration;

}  // namespace

void imgfmt(const char* s) {
    if (check_level(0, 0, "imgfmt")) return;
    int i = match_keyword("IND +RGB ", 2, s);
    if (i) rs().image_format = i - 1;
}

void clrmod(const char* s) {
    if (check_level(0, 0, "clrmod")) return;
    int i = match_keyword("NORM+FULL", 2, s);
    if (i) rs().image_format = i - 1;
}

void imgmod(const char* s) {
    check_level(0, 3, "imgmod");
    int i = match_keyword("IND +RGB ", 2, s);
    if (i) rs().pixel_mode = i - 1;
}

void pngmod(const char* s1, const char* s2) {
    if (check_level(0, 0, "pngmod")) return;
    int on = match_keyword("OFF +ON  ", 2, s1);
    if (!on) return;
    char key[5] = {0, 0, 0, 0, 0};
    copy_bounded(key, s2 ? s2 : "", 4);
    to_upper(key);
    if (std::strcmp(key, "TRAN") != 0) {
        warn_routine_text(2, key);
        return;
    }
    rs().png_transparent = on == 2;
}

void tifmod(int n, const char* s1, const char* s2) {
    if (check_level(0, 0, "tifmod")) return;
    int unit = match_keyword("INCH+CM  ", 2, s1);
    if (!unit) return;
    char key[5] = {0, 0, 0, 0, 0};
    copy_bounded(key, s2 ? s2 : "", 4);
    to_upper(key);
    if (std::strcmp(key, "RESO") != 0) {
        warn_routine_text(2, key);
        return;
    }
    if (n < 1) {
        warn_routine_value(2, n);
        return;
    }
    rs().tiff_resolution = n;
    rs().tiff_unit = unit + 1;
}

void pdfmod(const char* s1, const char* s2) {
    if (check_level(0, 0, "pdfmod")) return;
    int on = match_keyword("OFF +ON  ", 2, s1);
    if (!on) return;
    char key[5] = {0, 0, 0, 0, 0};
    copy_bounded(key, s2 ? s2 : "", 4);
    to_upper(key);
    int bit;
    if (std::strcmp(key, "COMP") == 0)
        bit = 1;
    else if (std::strcmp(key, "BUFF") == 0)
        bit = 2;
    else {
        warn_routine_text(2, key);
        return;
    }
    if (on == 2)
        rs().pdf_mode |= bit;
    else
        rs().pdf_mode &= ~bit;
}

int pdfbuf(char* buf, int n) {
    if (check_level(0, 0, "pdfbuf")) return 0;
    RasterState& r = rs();
    auto fail = [](const char* text) {
        set_warning_text(text);
        warn_routine(101);
        return 0;
    };
    if (state().out.format != 511) return fail("Output format is not PDF");
    if (!(r.pdf_mode & 2)) return fail("Buffer output is not enabled for PDF");
    if (n == 0) return r.pdf_held ? (int)r.pdf_buffer.size() : 0;
    if (r.pdf_overflow) {
        warn_routine(51);
        return 0;
    }
    if (!r.pdf_held || r.pdf_buffer.empty()) return fail("Internal PDF buffer is empty");
    if (!buf || n < (int)r.pdf_buffer.size()) return fail("Buffer too small for PDF file");
    int size = (int)r.pdf_buffer.size();
    std::memcpy(buf, r.pdf_buffer.data(), r.pdf_buffer.size());
    std::vector<char>().swap(r.pdf_buffer);
    r.pdf_held = false;
    return size;
}

void imgsiz(int nw, int nh) {
    if (enter_routine("imgsiz")) return;
    if (nw < 1 || nh < 1) {
        warn_routine_value(2, nw < nh ? nw : nh);
        return;
    }
    rs().image_w = nw;
    rs().image_h = nh;
}

void imgbox(int nx, int ny, int nw, int nh) {
    if (enter_routine("imgbox")) return;
    if (nx < 0 || ny < 0) {
        warn_routine_value(2, nx < ny ? nx : ny);
        return;
    }
    if (nw < 1 || nh < 1) {
        warn_routine_value(2, nw < nh ? nw : nh);
        return;
    }
    RasterState& r = rs();
    r.box_set = true;
    r.box_x = nx;
    r.box_y = page_y(ny);
    r.box_w = nw;
    r.box_h = nh;
}

void imgini() {
    check_level(0, 3, "imgini");
    RasterState& r = rs();
    if (r.image_open) {
        warn_routine(54);
        return;
    }
    int code = state().out.format;
    if (!(is_screen(code) || is_embedding(code) || is_raster(code))) {
        warn_routine(40);
        return;
    }
    plot_flush();
    r.embedded = false;
    if (is_embedding(code)) {
        const OutputState& o = state().out;
        int w = r.image_w > 0 ? r.image_w : o.image_w, h = r.image_h > 0 ? r.image_h : o.image_h;
        if (!create_picture(r.picture, w, h)) {
            warn_routine(53);
            return;
        }
        r.embedded = true;
    } else if (r.picture.empty()) {
        warn_routine(53);
        return;
    }
    r.image_open = true;
}

void imgfin() {
    check_level(0, 3, "imgfin");
    RasterState& r = rs();
    if (!r.image_open) {
        warn_routine(55);
        return;
    }
    r.image_open = false;
    if (!r.embedded) {
        if (Device* d = current_device()) d->sync();
        return;
    }
    r.embedded = false;
    Picture& pic = r.picture;
    Device* d = current_device();
    if (d && d->has(kCapImage) && !pic.empty()) {
        const int w = pic.width(), h = pic.height();
        std::vector<std::uint8_t> rgb;
        try {
            rgb.resize((std::size_t)w * h * 3);
        } catch (const std::bad_alloc&) {
            warn_routine(53);
            pic.release();
            return;
        }
        std::uint8_t* q = rgb.data();
        for (int y = 0; y < h; ++y) {
            const std::uint8_t* p = pic.row(y);
            if (pic.rgb()) {
                std::memcpy(q, p, (std::size_t)w * 3);
                q += (std::size_t)w * 3;
            } else {
                for (int x = 0; x < w; ++x) {
                    std::uint32_t c = state().colour.table[p[x]];
                    *q++ = (std::uint8_t)(c >> 16);
                    *q++ = (std::uint8_t)(c >> 8);
                    *q++ = (std::uint8_t)c;
                }
            }
        }
        const OutputState& o = state().out;
        float x0 = 0, yb = (float)o.nyp, bw = (float)o.nxp, bh = (float)o.nyp;
        if (r.box_set) {
            x0 = (float)r.box_x;
            yb = (float)(r.box_y + r.box_h);
            bw = (float)r.box_w;
            bh = (float)r.box_h;
        }
        plot_flush();
        d->image(rgb.data(), w, h, x0, yb, bw, bh);
    }
    pic.release();
}

void wpixel(int ix, int iy, int iclr) {
    check_level(0, 3, "wpixel");
    Picture* pic = open_picture();
    if (!pic || !inside(*pic, ix, iy)) return;
    pic->set(ix, iy, to_pixel(*pic, iclr));
}

int rpixel(int ix, int iy) {
    check_level(0, 3, "rpixel");
    Picture* pic = open_picture();
    if (!pic) return 0;
    if (!inside(*pic, ix, iy)) {
        warn_routine(58);
        return 0;
    }
    return from_pixel(*pic, pic->get(ix, iy));
}

void wpixls(const int* iray, int ix, int iy, int nw, int nh) {
    check_level(0, 3, "wpixls");
    Picture* pic = open_picture();
    if (!pic || !iray || nw < 1 || nh < 1) return;
    for (int j = 0; j < nh; ++j)
        for (int i = 0; i < nw; ++i)
            if (inside(*pic, ix + i, iy + j))
                pic->set(ix + i, iy + j, to_pixel(*pic, iray[(std::size_t)j * nw + i]));
}

void rpixls(int* iray, int ix, int iy, int nw, int nh) {
    check_level(0, 3, "rpixls");
    Picture* pic = open_picture();
    if (!pic || !iray || nw < 1 || nh < 1) return;
    bool outside = false;
    for (int j = 0; j < nh; ++j)
        for (int i = 0; i < nw; ++i) {
            int& v = iray[(std::size_t)j * nw + i];
            if (inside(*pic, ix + i, iy + j)) {
                v = from_pixel(*pic, pic->get(ix + i, iy + j));
            } else {
                v = 0;
                outside = true;
            }
        }
    if (outside) warn_routine(58);
}

void wpxrow(const int* iray, int ix, int iy, int n) { wpixls(iray, ix, iy, n, 1); }
void rpxrow(int* iray, int ix, int iy, int n) { rpixls(iray, ix, iy, n, 1); }

int rbfpng(char* buf, int n) {
    if (enter_routine("rbfpng")) return 0;
    plot_flush();
    Picture* pic = format_picture();
    if (!pic) return 0;
    return png_into_buffer(*pic, buf, n);
}

namespace {

void write_named(const char* routine, const char* s, int kind, bool own_format) {
    if (enter_routine(routine)) return;
    int code = state().out.format;
    if (own_format ? (code >= 101 && code <= 600) : !(is_screen(code) || is_raster(code))) {
        warn_routine(40);
        return;
    }
    if (rs().picture.empty()) {
        warn_routine(40);
        return;
    }
    plot_flush();
    std::string name = version_file_name(s ? s : "");
    save_picture(rs().picture, kind, name);
}

}  // namespace

void rimage(const char* s) { write_named("rimage", s, 602, true); }
void rtiff(const char* s) { write_named("rtiff", s, 601, false); }
void rpng(const char* s) { write_named("rpng", s, 604, false); }
void rppm(const char* s) { write_named("rppm", s, 605, false); }
void rbmp(const char* s) { write_named("rbmp", s, 606, false); }

void wimage(const char* s) {
    if (enter_routine("wimage")) return;
    int code = state().out.format;
    if ((code >= 101 && code <= 600) || rs().picture.empty()) {
        warn_routine(40);
        return;
    }
    plot_flush();
    std::string name = s ? s : "";
    int w = read_own_image(name, rs().picture, state().colour.table);
    if (w == 36)
        warn_routine_text(36, name.c_str());
    else if (w)
        warn_routine(w);
    if (Device* d = current_device()) d->sync();
}

}  // namespace korval
