// Format table, driver selection and the start and finish of the output.
#include <cstring>
#include <vector>

#include "core/core.hpp"
#include "devices/devices.hpp"

namespace korval {

const FormatEntry format_table[] = {
    {"CONS", 80, "   "}, {"XWIN", 72, "   "}, {"XWI1", 72, "   "}, {"XWI2", 73, "   "},
    {"XWI3", 74, "   "}, {"XWI4", 75, "   "}, {"XWI5", 76, "   "}, {"XWI6", 77, "   "},
    {"XWI7", 78, "   "}, {"XWI8", 79, "   "}, {"XWND", 80, "   "}, {"MET1", 80, "   "},
    {"MET2", 80, "   "}, {"MET3", 80, "   "}, {"MET4", 80, "   "}, {"MET5", 80, "   "},
    {"MET6", 80, "   "}, {"MET7", 80, "   "}, {"MET8", 80, "   "}, {"MET9", 80, "   "},
    {"TEKT", 151, "tek"}, {"VT34", 103, "   "}, {"LN03", 161, "ln3"}, {"VECM", 201, "met"},
    {"CGM ", 211, "cgm"}, {"WMF ", 221, "wmf"}, {"KYOC", 301, "kyo"}, {"HPGL", 401, "hpg"},
    {"HPA4", 402, "hpg"}, {"HPA3", 403, "hpg"}, {"HPA2", 404, "hpg"}, {"HPA1", 405, "hpg"},
    {"POST", 501, "psc"}, {"PSCL", 502, "psc"}, {"EPS ", 503, "eps"}, {"PS  ", 504, "ps"},
    {"PDF ", 511, "pdf"}, {"TIFF", 601, "tif"}, {"IMAG", 602, "img"}, {"VIRT", 603, ""},
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

// Forms the output file name and opens it for the file formats.
void open_output_file(Device&) {
    OutputState& o = state().out;
    if (o.file_name_state == 1) {
        o.file_name_state = 2;
    } else if (o.file_name_state == 0) {
        o.given_name = std::string("korval.") + format_extension(o.format);
    }
    o.file_name = o.given_name;
    if (is_raster(o.format)) {
        if (o.format == 603 || o.format == 606) return;  // written (or kept) at korfin
    }
    o.file_name = version_file_name(o.file_name);
}

}  // namespace

DeviceRegistration::DeviceRegistration(int lo, int hi, DeviceFactory factory) {
    registry().push_back({lo, hi, factory});
}

Device* current_device() { return state().out.device.get(); }

bool device_is_screen() { return state().out.format < 101; }

void device_start() {
    OutputState& o = state().out;
    float u = o.unit_factor > 0 ? o.unit_factor : 1.0f;
    o.nxp = round_int(o.page_width / u);
    o.nyp = round_int(o.page_height / u);
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
    o.device.reset();
    DeviceFactory factory = nullptr;
    for (const Registered& r : registry())
        if (o.format >= r.lo && o.format <= r.hi) factory = r.factory;
    if (!factory) return;
    o.device = factory();
    if (o.format >= 101) open_output_file(*o.device);
    o.device->start();
}

int device_finish() {
    OutputState& o = state().out;
    int mode = 1;
    if (o.device) {
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
