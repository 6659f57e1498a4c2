// User routines of the output selection: format, page, scaling, file name
// and mode, screen and window settings, queries, and symfil.
#include <cstdio>
#include <cstring>
#include <string>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"
#include "platform/platform.hpp"

namespace korval {

namespace {

struct PageEntry {
    const char* key;
    int width, height;  // landscape, tenths of a millimetre
};

const PageEntry page_table[] = {
    {"DA4L", 2969, 2099},  {"DA3L", 4199, 2969}, {"DA2L", 5939, 4199}, {"DA1L", 8409, 5939},
    {"DA0L", 11889, 8409}, {"HP4L", 2716, 1899}, {"HP3L", 3989, 2716}, {"HP2L", 5339, 3359},
    {"HP1L", 7569, 5339},  {"KY4L", 2869, 1999}, {"PS4L", 2799, 1949}, {"USAL", 2789, 2159},
    {"USBL", 4319, 2789},  {"USCL", 5589, 4319}, {"USDL", 8639, 5589}, {"USEL", 11179, 8639},
};

// The first four characters of s, upper case, padded with blanks.
std::string key4(const char* s) {
    char k[5] = {' ', ' ', ' ', ' ', '\0'};
    for (int i = 0; i < 4 && s && s[i]; ++i) {
        char c = s[i];
        k[i] = (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
    }
    return k;
}

// The first four characters of s, upper case, not padded.
std::string cut4(const char* s) {
    std::string k;
    for (int i = 0; i < 4 && s && s[i]; ++i) {
        char c = s[i];
        k += (c >= 'a' && c <= 'z') ? (char)(c - 'a' + 'A') : c;
    }
    return k;
}

int round_int(float v) { return (int)(v >= 0 ? v + 0.5f : v - 0.5f); }

const char* const table_names[] = {"smal", "rain", "spec", "grey", "rrai", "rspe", "rgre", "vga", "temp"};

}  // namespace

void metafl(const char* s) {
    if (check_level(0, 0, "metafl")) return;
    std::string k = key4(s);
    for (int i = 0; i < format_table_size; ++i) {
        if (k == format_table[i].keyword) {
            OutputState& o = state().out;
            o.format = format_table[i].code;
            o.keyword = k;
            return;
        }
    }
    warn_routine_text(2, s ? s : "");
}

void setpag(const char* s) {
    if (check_level(0, 0, "setpag")) return;
    std::string k = key4(s);
    bool portrait = k[3] == 'P';
    std::string look = k;
    if (portrait) look[3] = 'L';
    for (const PageEntry& e : page_table) {
        if (look == e.key) {
            OutputState& o = state().out;
            o.page_width = (float)(portrait ? e.height : e.width);
            o.page_height = (float)(portrait ? e.width : e.height);
            o.page_name = k;
            if (o.format == 0) {
                o.format = 201;
                o.keyword = "VECM";
            }
            return;
        }
    }
    warn_routine_text(2, s ? s : "");
}

void page(int nx, int ny) {
    if (check_level(0, 0, "page")) return;
    if (nx <= 0 || ny <= 0) {
        warn_routine_value(2, nx < ny ? nx : ny);
        return;
    }
    OutputState& o = state().out;
    o.page_width = (float)(nx - 1) * o.unit_factor;
    o.page_height = (float)(ny - 1) * o.unit_factor;
    o.page_name = "PAGE";
}

void pagmod(const char* s) {
    if (check_level(0, 0, "pagmod")) return;
    int i = match_keyword("COMI+MOVI+LAND+PORT+NONE", 5, s);
    static const int rotation[] = {0, 1, 0, 1, 2};
    if (i) state().out.page_rotation = rotation[i - 1];
}

void hwpage(int nw, int nh) {
    if (check_level(0, 0, "hwpage")) return;
    if (nw <= 0 || nh <= 0) {
        warn_routine_value(2, nw < nh ? nw : nh);
        return;
    }
    OutputState& o = state().out;
    o.hw_page = true;
    o.hw_page_w = round_int((float)nw * o.unit_factor);
    o.hw_page_h = round_int((float)nh * o.unit_factor);
}

void hworig(int nx, int ny) {
    if (check_level(0, 0, "hworig")) return;
    OutputState& o = state().out;
    o.hw_origin = true;
    o.hw_origin_x = nx;
    o.hw_origin_y = ny;
}

void sclfac(float x) {
    if (check_level(0, 0, "sclfac")) return;
    if (!(x > 0.0f)) {
        warn_routine(2);
        return;
    }
    OutputState& o = state().out;
    o.scale_factor = x;
    o.scaling_mode = 0;
}

void sclmod(const char* s) {
    if (check_level(0, 0, "sclmod")) return;
    int i = match_keyword("DOWN+FULL+NONE", 3, s);
    if (i) state().out.scaling_mode = i - 1;
}

void units(const char* s) {
    if (check_level(0, 0, "units")) return;
    int i = match_keyword("CM  +INCH+POIN+TWIP", 4, s);
    static const float factor[] = {1.0f, 2.54f, 0.352778f, 0.176389f};
    if (i) state().out.unit_factor = factor[i - 1];
}

void setfil(const char* s) {
    if (check_level(0, 0, "setfil")) return;
    char buf[257];
    copy_bounded(buf, s ? s : "", 256);
    OutputState& o = state().out;
    o.given_name = buf;
    o.file_name = buf;
    o.file_name_state = 1;
}

void filmod(const char* s) {
    check_level(0, 3, "filmod");
    int i = match_keyword("COUN+DELE+BREA", 3, s);
    if (i) state().out.file_mode = i - 1;
}

void scrmod(const char* s) {
    if (check_level(0, 0, "scrmod")) return;
    int i = match_keyword("ERAS+NOER+REVE+NORE+AUTO", 5, s);
    static const int mode[] = {0, 1, 2, 0, 4};
    if (i) state().out.screen_mode = mode[i - 1];
}

void window(int nx, int ny, int nw, int nh) {
    check_level(0, 3, "window");
    if (nx < 0 || ny < 0) {
        warn_routine_value(2, nx < ny ? nx : ny);
        return;
    }
    if (nw <= 0 || nh <= 0) {
        warn_routine_value(2, nw < nh ? nw : nh);
        return;
    }
    OutputState& o = state().out;
    o.window_mode = 1;
    o.window_x = nx;
    o.window_y = ny;
    o.window_w = nw;
    o.window_h = nh;
}

void winsiz(int nw, int nh) {
    check_level(0, 3, "winsiz");
    if (nw <= 0 || nh <= 0) {
        warn_routine_value(2, nw < nh ? nw : nh);
        return;
    }
    OutputState& o = state().out;
    o.window_mode = 2;
    o.window_x = 0;
    o.window_y = 0;
    o.window_w = nw;
    o.window_h = nh;
}

const char* getfil() {
    static std::string result;
    const OutputState& o = state().out;
    if (o.file_name_state == 1)
        result = o.given_name;
    else if (!o.file_name.empty())
        result = o.file_name;
    else
        result = default_file_name(o.format);
    return result.c_str();
}

const char* getmfl() {
    static std::string result;
    result = state().out.keyword;
    return result.c_str();
}

void getpag(int& nx, int& ny) {
    page_extent(nx, ny);
    nx += 1;
    ny += 1;
}

void sendbf() {
    if (enter_routine("sendbf")) return;
    polyline_flush();
    if (Device* d = current_device()) d->sync();
}

void x11mod(const char* s) {
    if (check_level(0, 0, "x11mod")) return;
    int i = match_keyword("STOR+NOST+AUTO+PIXM", 4, s);
    if (i) state().out.x11_mode = i - 1;
}

void symfil(const char* device, const char* option) {
    if (check_level(0, 0, "symfil")) return;
    State& st = state();
    OutputState& o = st.out;
    if (o.format < 151) {
        warn_routine(20);
        return;
    }
    if (o.file_state == 0) {
        warn_routine(21);
        return;
    }
    if (o.file_state == -1) {
        warn_routine(22);
        return;
    }
    std::string dev = cut4(device);
    std::string opt = cut4(option);
    if (opt == "NODE") opt = "KEEP";
    if (opt != "KEEP" && opt != "DELE") {
        warn_routine_text(2, opt.c_str());
        opt = "KEEP";
    }
    if (dev == "NONE") {
        if (opt == "DELE") {
            std::remove(o.file_name.c_str());
            o.file_state = -1;
        }
        return;
    }
    if (dev == "KYOC") dev = "KYO1";
    const char* driver = o.format <= 600 ? "kordrv " : (o.format <= 700 ? "korhpj " : "kordot ");
    if (o.format > 800) return;  // no print driver exists for these formats
    int type = st.colour.table_type;
    std::string cmd =
        driver + o.file_name + " " + dev + " " + opt + " " + table_names[type >= 0 && type <= 8 ? type : 1];
    if (o.background == 2) cmd += " REVERS";
    if (o.format < 601) {
        cmd += " -Q";
        if (o.x11_mode == 0) cmd += " -BS";
        if (o.x11_mode == 1) cmd += " -NB";
    }
    platform::run_command(cmd);
    if (opt == "DELE") o.file_state = -1;
}

}  // namespace korval
