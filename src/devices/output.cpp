// Format table, driver selection, device factors and the start and finish
// of the output.
#include <algorithm>
#include <cstring>
#include <vector>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"

namespace korval {

const FormatEntry format_table[] = {
    {"CONS", 80, "   "},  {"XWIN", 72, "   "},  {"XWI1", 72, "   "},  {"XWI2", 73, "   "},
    {"XWI3", 74, "   "},  {"XWI4", 75, "   "},  {"XWI5", 76, "   "},  {"XWI6", 77, "   "},
    {"XWI7", 78, "   "},  {"XWI8", 79, "   "},  {"XWND", 80, "   "},  {"MET1", 80, "   "},
    {"MET2", 80, "   "},  {"MET3", 80, "   "},  {"MET4", 80, "   "},  {"MET5", 80, "   "},
    {"MET6", 80, "   "},  {"MET7", 80, "   "},  {"MET8", 80, "   "},  {"MET9", 80, "   "},
    {"TEKT", 151, "tek"}, {"VT34", 103, "   "}, {"LN03", 161, "ln3"}, {"VECM", 201, "met"},
    {"CGM ", 211, "cgm"}, {"WMF ", 221, "wmf"}, {"KYOC", 301, "kyo"}, {"HPGL", 401, "hpg"},
    {"HPA4", 402, "hpg"}, {"HPA3", 403, "hpg"}, {"HPA2", 404, "hpg"}, {"HPA1", 405, "hpg"},
    {"POST", 501, "psc"}, {"PSCL", 502, "psc"}, {"EPS ", 503, "eps"}, {"PS  ", 504, "ps"},
    {"PDF ", 511, "pdf"}, {"TIFF", 601, "tif"}, {"IMAG", 602, "img"}, {"VIRT", 603, "   "},
    {"PNG ", 604, "png"}, {"PPM ", 605, "ppm"}, {"BMP ", 606, "bmp"}, {"JAVA", 701, "java"},
    {"SVG ", 801, "svg"},
};
const int format_table_size = (int)(sizeof format_table / sizeof format_table[0]);

const FormatEntry* format_entry(int code) {
    for (const FormatEntry& e : format_table)
        if (e.code == code) return &e;
    return nullptr;
}

const char* format_extension(int code) {
    const FormatEntry* e = format_entry(code);
    return e ? e->extension : "   ";
}

std::string default_file_name(int code) {
    return std::string("korval.") + format_extension(code ? code : 201);
}

namespace {

struct Registered {
    int lo, hi;
    DeviceFactory factory;
};

std::vector<Registered>& registry() {
    static std::vector<Registered> r;
    return r;
}

int round_int(float v) { return (int)(v >= 0 ? v + 0.5f : v - 0.5f); }

bool is_raster(int code) { return code >= 601 && code <= 700; }

// Applies the scaling mode to a paper fit: DOWN never enlarges beyond the
// natural size `limit`, FULL takes the fit, NONE keeps the natural size.
float scaled(const OutputState& o, float fit, float limit) {
    if (o.scaling_mode == 2) return limit;
    if (o.scaling_mode == 0) return std::min(fit, limit);
    return fit;
}

// Device units per plot unit for the current format and page.
float fit_factor(const OutputState& o) {
    int code = o.format;
    float u = o.unit_factor > 0 ? o.unit_factor : 1.0f;
    float s = o.scale_factor * u;
    float nx = (float)std::max(o.nxp, 1), ny = (float)std::max(o.nyp, 1);
    float longest = std::max(nx, ny);
    bool landscape = o.nxp > o.nyp;
    if (code == 201) return 1.0f / longest;
    if (code == 211) return 2.0f * s;
    if (code == 221) return s * 5.6692915f;
    if (code >= 301 && code <= 400) {
        float fit = landscape ? 3390.0f / nx : 2362.0f / nx;
        return o.scaling_mode == 0 ? std::min(fit, s * 1.1811024f) : fit;
    }
    if (code == 401) return 4.0f * s;
    if (code >= 402 && code <= 405) {
        static const float sizes[] = {10870.0f, 15970.0f, 21360.0f, 30280.0f};
        float fit = sizes[code - 402] / longest;
        return o.scaling_mode == 0 ? std::min(fit, 4.0f * s) : fit;
    }
    if (code >= 501 && code <= 600) {
        float pw = o.hw_page ? 2.0f * (float)o.hw_page_w : 3900.0f;
        float ph = o.hw_page ? 2.0f * (float)o.hw_page_h : 5600.0f;
        if (landscape && o.page_rotation != 2) std::swap(pw, ph);
        float fit = std::min(pw / nx, ph / ny);
        if (code == 511) return scaled(o, fit * 0.14173229f, s * 0.28346458f);
        return scaled(o, fit, 2.0f * s);
    }
    // Screens, raster pictures, Java and SVG: the picture size in pixels.
    float ex = nx, ey = ny;
    if (o.page_rotation == 1) std::swap(ex, ey);
    float fit = std::min((float)(o.image_w - 1) / ex, (float)(o.image_h - 1) / ey);
    float along = (float)(std::max(o.image_w, o.image_h) - 1);
    return scaled(o, fit, s * along * 0.00033681374f);
}

// Forms the output file name (with its version) and creates the file.
void open_output_file(Device* device) {
    OutputState& o = state().out;
    if (o.file_name_state == 1) {
        o.file_name_state = 2;
    } else if (o.file_name_state == 0) {
        o.given_name = default_file_name(o.format);
    }
    o.file_name = o.given_name;
    if (o.format == 603 || o.format == 606) return;  // named (or kept) at korfin
    o.file_name = version_file_name(o.file_name);
    if (!device || is_raster(o.format)) return;  // pictures are written at korfin
    bool binary = o.format == 211 || o.format == 221 || o.format == 511;
    if (!device->open_file(o.file_name, binary)) {
        o.file_failed = true;
        warn_routine_text(36, o.file_name.c_str());
    }
}

}  // namespace

DeviceRegistration::DeviceRegistration(int lo, int hi, DeviceFactory factory) {
    registry().push_back({lo, hi, factory});
}

Device* current_device() { return state().out.device.get(); }

bool device_is_screen() { return state().out.format < 101; }

void page_extent(int& nx, int& ny) {
    const OutputState& o = state().out;
    float u = o.unit_factor > 0 ? o.unit_factor : 1.0f;
    nx = round_int(o.page_width / u);
    ny = round_int(o.page_height / u);
}

int Device::close_output() {
    if (sink_.close()) return 1;
    warn_routine_text(36, state().out.file_name.c_str());
    return 0;
}

void device_start() {
    OutputState& o = state().out;
    page_extent(o.nxp, o.nyp);
    switch (o.window_mode) {
        case 1:
        case 2:
            o.image_w = o.window_w;
            o.image_h = o.window_h;
            break;
        default:
            if (o.nxp > o.nyp) {
                o.image_w = 853;
                o.image_h = 603;
            } else {
                o.image_w = 603;
                o.image_h = 853;
            }
    }
    o.file_failed = false;
    o.file_state = 0;
    o.device.reset();
    o.fit_factor = fit_factor(o);
    o.device_factor = o.fit_factor;
    clip_to_page();
    DeviceFactory factory = nullptr;
    for (const Registered& r : registry())
        if (o.format >= r.lo && o.format <= r.hi) factory = r.factory;
    if (factory) o.device = factory();
    if (o.format >= 101) {
        if (!o.device) {
            // A format whose writer is not part of this build: nothing is
            // written and the protocol names no file.
            warn_routine_text(56, o.keyword.c_str());
            o.file_failed = true;
            return;
        }
        open_output_file(o.device.get());
    }
    if (o.device) o.device->start();
}

int device_finish() {
    OutputState& o = state().out;
    int mode = 1;
    if (o.device) {
        if (o.format >= 201 && o.format <= 300) device_line(0.0f, 0.0f, kOpMove);
        mode = o.device->finish();
        o.device.reset();
    }
    if (o.format < 101) mode = 0;
    if (o.file_failed) mode = 0;  // no file was written: the protocol names none
    o.file_state = 1;
    return mode;
}

void device_erase() {
    if (Device* d = current_device()) d->erase();
}

void device_new_page() {
    if (Device* d = current_device()) d->new_page();
}

}  // namespace korval
