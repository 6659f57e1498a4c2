// Colour tables and colour selection: the nine built-in tables, named
// colours, the colour roles per format, user tables and the HSV
// conversions.
#include <cmath>
#include <cstdint>
#include <utility>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "devices/sink.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

// The stored rainbow table.
const std::uint32_t kRainTable[256] = {
    0x000000, 0x220044, 0x26004D, 0x2B0055, 0x2F005E, 0x330066, 0x33006F, 0x330077, 0x330080, 0x330088,
    0x330091, 0x330099, 0x3300A2, 0x3300AA, 0x3000B1, 0x2C00B8, 0x2900BE, 0x2500C5, 0x2200CC, 0x2200D5,
    0x2200DD, 0x2200E6, 0x2200EE, 0x1E00F2, 0x1900F7, 0x1500FB, 0x1100FF, 0x0D00FF, 0x0800FF, 0x0400FF,
    0x0000FF, 0x0004FF, 0x0008FF, 0x000CFF, 0x0010FF, 0x0014FF, 0x0018FF, 0x001CFF, 0x0020FF, 0x0024FF,
    0x0028FF, 0x002CFF, 0x0030FF, 0x0033FF, 0x0036FF, 0x003AFF, 0x003DFF, 0x0040FF, 0x0044FF, 0x0048FF,
    0x004CFF, 0x0050FF, 0x0054FF, 0x0058FF, 0x005CFF, 0x0060FF, 0x0064FF, 0x0068FF, 0x006CFF, 0x0070FF,
    0x0074FF, 0x0078FF, 0x007CFF, 0x0080FF, 0x0084FF, 0x0088FF, 0x008CFF, 0x0090FF, 0x0093FF, 0x0096FF,
    0x009AFF, 0x009DFF, 0x00A0FF, 0x00A4FF, 0x00A8FF, 0x00ACFF, 0x00B0FF, 0x00B4FF, 0x00B8FF, 0x00BCFF,
    0x00C0FF, 0x00C4FF, 0x00C8FF, 0x00CCFF, 0x00D0FF, 0x00D4FF, 0x00D8FF, 0x00DCFF, 0x00E0FF, 0x00E4FF,
    0x00E8FF, 0x00ECFF, 0x00F0FF, 0x00F4FF, 0x00F8FF, 0x00FBFF, 0x00FFFF, 0x00FFFC, 0x00FFF8, 0x00FFF5,
    0x00FFF1, 0x00FFEE, 0x00FFEA, 0x00FFE5, 0x00FFE1, 0x00FFDD, 0x00FFD9, 0x00FFD4, 0x00FFD0, 0x00FFCC,
    0x00FFC8, 0x00FFC3, 0x00FFBF, 0x00FFBB, 0x00FFB7, 0x00FFB2, 0x00FFAE, 0x00FFAA, 0x00FFA1, 0x00FF99,
    0x00FF90, 0x00FF88, 0x00FF7F, 0x00FF77, 0x00FF6E, 0x00FF66, 0x00FF5F, 0x00FF58, 0x00FF52, 0x00FF4B,
    0x00FF44, 0x00FF3B, 0x00FF33, 0x00FF2A, 0x00FF22, 0x00FF19, 0x00FF11, 0x00FF08, 0x00FF00, 0x09FF00,
    0x11FF00, 0x1AFF00, 0x22FF00, 0x2BFF00, 0x33FF00, 0x3CFF00, 0x44FF00, 0x48FF00, 0x4DFF00, 0x51FF00,
    0x55FF00, 0x59FF00, 0x5EFF00, 0x62FF00, 0x66FF00, 0x69FF00, 0x6DFF00, 0x70FF00, 0x74FF00, 0x77FF00,
    0x7BFF00, 0x80FF00, 0x84FF00, 0x88FF00, 0x8CFF00, 0x91FF00, 0x95FF00, 0x99FF00, 0x9DFF00, 0xA2FF00,
    0xA6FF00, 0xAAFF00, 0xAEFF00, 0xB3FF00, 0xB7FF00, 0xBBFF00, 0xBFFF00, 0xC4FF00, 0xC8FF00, 0xCCFF00,
    0xD0FF00, 0xD5FF00, 0xD9FF00, 0xDDFF00, 0xE0FF00, 0xE4FF00, 0xE7FF00, 0xEBFF00, 0xEEFF00, 0xF2FF00,
    0xF7FF00, 0xFBFF00, 0xFFFF00, 0xFFFB00, 0xFFF600, 0xFFF200, 0xFFEE00, 0xFFEA00, 0xFFE500, 0xFFE100,
    0xFFDD00, 0xFFD900, 0xFFD400, 0xFFD000, 0xFFCC00, 0xFFC800, 0xFFC300, 0xFFBF00, 0xFFBB00, 0xFFB800,
    0xFFB400, 0xFFB100, 0xFFAD00, 0xFFAA00, 0xFFA600, 0xFFA100, 0xFF9D00, 0xFF9900, 0xFF9500, 0xFF9000,
    0xFF8C00, 0xFF8800, 0xFF8400, 0xFF7F00, 0xFF7B00, 0xFF7700, 0xFF7300, 0xFF6E00, 0xFF6A00, 0xFF6600,
    0xFF6200, 0xFF5D00, 0xFF5900, 0xFF5500, 0xFF5100, 0xFF4C00, 0xFF4800, 0xFF4400, 0xFF4100, 0xFF3D00,
    0xFF3A00, 0xFF3600, 0xFF3300, 0xFF2F00, 0xFF2A00, 0xFF2600, 0xFF2200, 0xFF1E00, 0xFF1900, 0xFF1500,
    0xFF1100, 0xFF0D00, 0xFF0800, 0xFF0400, 0xFF0000, 0xFFFFFF,
};

// The stored spectrum table.
const std::uint32_t kSpecTable[256] = {
    0x000000, 0xFF00FF, 0xFA00FF, 0xF500FF, 0xF000FF, 0xEB00FF, 0xE600FF, 0xE100FF, 0xDC00FF, 0xD700FF,
    0xD200FF, 0xCD00FF, 0xC800FF, 0xC300FF, 0xBD00FF, 0xB800FF, 0xB300FF, 0xAE00FF, 0xA900FF, 0xA400FF,
    0x9F00FF, 0x9A00FF, 0x9500FF, 0x9000FF, 0x8B00FF, 0x8600FF, 0x8100FF, 0x7C00FF, 0x7700FF, 0x7200FF,
    0x6D00FF, 0x6800FF, 0x6300FF, 0x5E00FF, 0x5900FF, 0x5400FF, 0x4F00FF, 0x4A00FF, 0x4500FF, 0x3F00FF,
    0x3A00FF, 0x3500FF, 0x3000FF, 0x2B00FF, 0x2600FF, 0x2100FF, 0x1C00FF, 0x1700FF, 0x1200FF, 0x0D00FF,
    0x0800FF, 0x0300FF, 0x0000FF, 0x0007FF, 0x000CFF, 0x0011FF, 0x0016FF, 0x001BFF, 0x0020FF, 0x0025FF,
    0x002AFF, 0x002FFF, 0x0034FF, 0x0039FF, 0x003EFF, 0x0044FF, 0x0049FF, 0x004EFF, 0x0053FF, 0x0058FF,
    0x005DFF, 0x0062FF, 0x0067FF, 0x006CFF, 0x0071FF, 0x0076FF, 0x007BFF, 0x0080FF, 0x0085FF, 0x008AFF,
    0x008FFF, 0x0094FF, 0x0099FF, 0x009EFF, 0x00A3FF, 0x00A8FF, 0x00ADFF, 0x00B2FF, 0x00B7FF, 0x00BCFF,
    0x00C2FF, 0x00C7FF, 0x00CCFF, 0x00D1FF, 0x00D6FF, 0x00DBFF, 0x00E0FF, 0x00E5FF, 0x00EAFF, 0x00EFFF,
    0x00F4FF, 0x00F9FF, 0x00FFFF, 0x00FFFB, 0x00FFF6, 0x00FFF1, 0x00FFEC, 0x00FFE7, 0x00FFE2, 0x00FFDD,
    0x00FFD8, 0x00FFD3, 0x00FFCE, 0x00FFC9, 0x00FFC4, 0x00FFBE, 0x00FFB9, 0x00FFB4, 0x00FFAF, 0x00FFAA,
    0x00FFA5, 0x00FFA0, 0x00FF9B, 0x00FF96, 0x00FF91, 0x00FF8C, 0x00FF87, 0x00FF82, 0x00FF7D, 0x00FF78,
    0x00FF73, 0x00FF6E, 0x00FF69, 0x00FF64, 0x00FF5F, 0x00FF5A, 0x00FF55, 0x00FF50, 0x00FF4B, 0x00FF46,
    0x00FF41, 0x00FF3B, 0x00FF36, 0x00FF31, 0x00FF2C, 0x00FF27, 0x00FF22, 0x00FF1D, 0x00FF18, 0x00FF13,
    0x00FF0E, 0x00FF09, 0x00FF04, 0x00FF00, 0x06FF00, 0x0BFF00, 0x10FF00, 0x15FF00, 0x1AFF00, 0x1FFF00,
    0x24FF00, 0x29FF00, 0x2EFF00, 0x33FF00, 0x38FF00, 0x3DFF00, 0x43FF00, 0x48FF00, 0x4DFF00, 0x52FF00,
    0x57FF00, 0x5CFF00, 0x61FF00, 0x66FF00, 0x6BFF00, 0x70FF00, 0x75FF00, 0x7AFF00, 0x7FFF00, 0x84FF00,
    0x89FF00, 0x8EFF00, 0x93FF00, 0x98FF00, 0x9DFF00, 0xA2FF00, 0xA7FF00, 0xACFF00, 0xB1FF00, 0xB6FF00,
    0xBBFF00, 0xC1FF00, 0xC6FF00, 0xCBFF00, 0xD0FF00, 0xD5FF00, 0xDAFF00, 0xDFFF00, 0xE4FF00, 0xE9FF00,
    0xEEFF00, 0xF3FF00, 0xF8FF00, 0xFDFF00, 0xFFFF00, 0xFFF700, 0xFFF200, 0xFFED00, 0xFFE800, 0xFFE300,
    0xFFDE00, 0xFFD900, 0xFFD400, 0xFFCF00, 0xFFCA00, 0xFFC500, 0xFFC000, 0xFFBA00, 0xFFB500, 0xFFB000,
    0xFFAB00, 0xFFA600, 0xFFA100, 0xFF9C00, 0xFF9700, 0xFF9200, 0xFF8D00, 0xFF8800, 0xFF8300, 0xFF7E00,
    0xFF7900, 0xFF7400, 0xFF6F00, 0xFF6A00, 0xFF6500, 0xFF6000, 0xFF5B00, 0xFF5600, 0xFF5100, 0xFF4C00,
    0xFF4700, 0xFF4200, 0xFF3C00, 0xFF3700, 0xFF3200, 0xFF2D00, 0xFF2800, 0xFF2300, 0xFF1E00, 0xFF1900,
    0xFF1400, 0xFF0F00, 0xFF0A00, 0xFF0500, 0xFF0000, 0xFFFFFF,
};

enum TableType {
    kSmal = 0,
    kRain = 1,
    kSpec = 2,
    kGrey = 3,
    kRRai = 4,
    kRSpe = 5,
    kRGre = 6,
    kVga = 7,
    kTemp = 8
};

const char* const kTableKeys = "SMAL+RAIN+SPEC+GREY+RRAI+RSPE+RGRE+VGA +TEMP";
const char* const kTableNames[9] = {"SMALL", "RAIN",  "SPEC", "GREY", "RRAIN",
                                    "RSPEC", "RGREY", "VGA",  "TEMP"};

// Named colours per table family: WHIT RED GREE YELL BLUE ORAN CYAN MAGE BLAC.
const int kNamed[5][9] = {
    {1, 2, 3, 5, 4, 6, 7, 8, 1},                   // SMAL
    {255, 254, 138, 192, 30, 223, 96, 13, 0},      // RAIN, RRAI, TEMP
    {255, 254, 154, 205, 53, 235, 103, 1, 0},      // SPEC, RSPE
    {255, 230, 185, 150, 95, 215, 175, 110, 255},  // GREY, RGRE
    {15, 4, 2, 14, 1, 12, 3, 5, 0},                // VGA
};

const std::uint32_t kSmall[9] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF,
                                 0xFFFF00, 0xFF5500, 0x00FFFF, 0xFF00FF};
const std::uint32_t kVgaColours[16] = {0x000000, 0x0000AA, 0x00AA00, 0x00AAAA, 0xAA0000, 0xAA00AA,
                                       0xAA5500, 0xAAAAAA, 0x555555, 0x5555FF, 0x55FF55, 0x55FFFF,
                                       0xFF5555, 0xFF55FF, 0xFFFF55, 0xFFFFFF};

// Format codes with their own colour rules.
constexpr int kPost = 501, kPscl = 502, kEps = 503, kPs = 504, kPdf = 511;
constexpr int kCgm = 211, kWmf = 221, kJava = 701;

inline bool reversed_type(int t) { return t == kRRai || t == kRSpe || t == kRGre; }
// RAIN, SPEC or GREY themselves (not their reversed forms).
inline bool plain_rsg(int t) { return t == kRain || t == kSpec || t == kGrey; }

inline int format_code() { return state().out.format; }

// Formats whose page is white in reversed background mode.
bool reverses_background(int code) {
    return code < 201 || code == kPscl || code == kPdf || code == kEps || code == kPs || code > 600;
}

inline int round_half_up(double v) { return (int)(v + 0.5); }

// A component 0..1 as a byte, halves away from zero.
inline std::uint32_t byte_of(float v) {
    int b = round_nearest(255.0f * v);
    return (std::uint32_t)(b < 0 ? 0 : (b > 255 ? 255 : b));
}

inline std::uint32_t pack(float r, float g, float b) {
    return (byte_of(r) << 16) | (byte_of(g) << 8) | byte_of(b);
}

// Warning 2 with a real value as its text.
void warn_real(float v) {
    char buf[48];
    buf[format_fixed(buf, (double)v, 4)] = '\0';
    warn_routine_text(2, buf);
}

bool in_range(float v, float lo, float hi) { return v >= lo && v <= hi; }

void send_table() {
    if (Device* d = state().out.device.get()) d->colour_table();
}

void refresh_cycle(ColourState& c) {
    for (int k = 0; k < 30; ++k) c.cycle[k] = c.named[k % 8];
}

void set_named(ColourState& c, int type, int code) {
    int row = 1;
    switch (type) {
        case kSmal:
            row = 0;
            break;
        case kSpec:
        case kRSpe:
            row = 2;
            break;
        case kGrey:
        case kRGre:
            row = 3;
            break;
        case kVga:
            row = 4;
            break;
        default:
            row = 1;
            break;
    }
    for (int k = 0; k < 9; ++k) c.named[k] = kNamed[row][k];
    if (reversed_type(type))
        for (int k = 1; k <= 7; ++k) c.named[k] = 255 - c.named[k];
    if ((code == kCgm || code == kWmf) && plain_rsg(type)) c.named[0] = 0;
}

void fill_table(ColourState& c, int type, int code) {
    std::uint32_t* t = c.table;
    switch (type) {
        case kSmal:
            for (int i = 0; i < 9; ++i) t[i] = kSmall[i];
            if (code == kPost || code == kWmf) std::swap(t[0], t[1]);
            break;
        case kRain:
        case kRRai:
            for (int i = 0; i < 256; ++i) t[i] = kRainTable[i];
            break;
        case kSpec:
        case kRSpe:
            for (int i = 0; i < 256; ++i) t[i] = kSpecTable[i];
            break;
        case kGrey:
        case kRGre:
            for (std::uint32_t i = 0; i < 256; ++i) t[i] = (i << 16) | (i << 8) | i;
            break;
        case kVga:
            for (int i = 0; i < 16; ++i) t[i] = kVgaColours[i];
            if (code == kPost || code == kWmf) std::swap(t[0], t[15]);
            break;
        case kTemp:
            for (int i = 0; i < 256; ++i) {
                std::uint32_t r = i < 150 ? (std::uint32_t)round_half_up(1.7 * i) : 255;
                std::uint32_t g = i >= 120 ? (std::uint32_t)round_half_up(1.8888888888888888 * (i - 120)) : 0;
                std::uint32_t b = i >= 190 ? (std::uint32_t)round_half_up(3.923076923076923 * (i - 190)) : 0;
                t[i] = (r << 16) | (g << 8) | b;
            }
            break;
        default:
            break;
    }
    if (reversed_type(type))
        for (int i = 0; i < 128; ++i) std::swap(t[i], t[255 - i]);
    c.loaded = true;
}

}  // namespace

// ---- internal operations -----------------------------------------------------------

void select_colour(int index) { device_colour(index); }

int named_colour(int k) { return k >= 0 && k < 9 ? state().colour.named[k] : state().colour.current; }

void load_colour_table(int type) {
    State& st = state();
    ColourState& c = st.colour;
    int code = st.out.format;
    if (code >= 301 && code <= 399) type = kSmal;
    c.table_type = type;
    set_named(c, type, code);
    if (c.user_table) {
        // The table that myvlt loaded before korini stays.
        c.user_table = false;
    } else {
        // SMAL and VGA keep the entries they do not define.
        if (!c.loaded && (type == kSmal || type == kVga)) fill_table(c, kRain, code);
        fill_table(c, type, code);
    }
    refresh_cycle(c);

    // Colour roles.
    c.background = 0;
    c.over = 255;
    c.under = 0;
    c.start = 255;
    bool paper = code == kPost || code == kWmf || code == kCgm;
    if ((paper || code == kJava) && plain_rsg(type)) {
        c.background = 255;
        c.start = 0;
    } else if (type == kSmal) {
        c.over = 9;
        c.start = 1;
    } else if (type == kVga) {
        c.over = 15;
        c.start = 15;
    }
    c.range_lo = c.default_lo = 1;
    c.range_hi = c.default_hi = c.over - 1;

    // Reversed background mode: a white page.
    if (st.out.background == 2 && reverses_background(code)) {
        int other = type == kSmal ? 1 : (type == kVga ? 15 : 255);
        std::swap(c.table[0], c.table[other]);
        c.under = c.over;
        c.over = 0;
    }
    send_table();
    c.current = -1;
    select_colour(c.start);
}

// ---- user routines --------------------------------------------------------------

void setclr(int i) {
    if (enter_routine("setclr")) return;
    if (i < 0 || i > 255) {
        warn_routine_value(2, i);
        return;
    }
    select_colour(i);
}

int getclr() {
    if (enter_routine("getclr")) return state().colour.current;
    return state().colour.current;
}

int foreground_colour() {
    const ColourState& c = state().colour;
    int code = format_code();
    if (c.table_type == kVga) return 15;
    if (c.table_type == kSmal) return 1;
    if ((code == kPost || code == kWmf || code == kCgm || code == kJava) && plain_rsg(c.table_type)) return 0;
    return 255;
}

void color(const char* s) {
    if (enter_routine("color")) return;
    int k = match_keyword("WHIT+RED +GREE+YELL+BLUE+ORAN+CYAN+MAGE+BLAC+FORE+BACK", 11, s);
    if (k == 0) return;
    const ColourState& c = state().colour;
    int index;
    if (k <= 9) {
        index = c.named[k - 1];
    } else if (k == 11) {
        index = c.background;
    } else {
        index = foreground_colour();
    }
    select_colour(index);
}

void setrgb(float xr, float xg, float xb) {
    if (enter_routine("setrgb")) return;
    const float v[3] = {xr, xg, xb};
    for (float x : v) {
        if (!in_range(x, -0.001f, 1.001f)) {
            warn_real(x);
            return;
        }
    }
    const ColourState& c = state().colour;
    int r = round_nearest(255.0f * xr), g = round_nearest(255.0f * xg), b = round_nearest(255.0f * xb);
    int n = c.table_type == kSmal ? 9 : (c.table_type == kVga ? 16 : 256);
    int best = 0, best_d = 1 << 30;
    for (int i = 0; i < n; ++i) {
        std::uint32_t e = c.table[i];
        int d = std::abs((int)((e >> 16) & 0xff) - r) + std::abs((int)((e >> 8) & 0xff) - g) +
                std::abs((int)(e & 0xff) - b);
        if (d < best_d) {
            best_d = d;
            best = i;
        }
    }
    select_colour(best);
}

void setind(int i, float xr, float xg, float xb) {
    if (enter_routine("setind")) return;
    if (i < 0 || i > 255) {
        warn_routine_value(2, i);
        return;
    }
    const float v[3] = {xr, xg, xb};
    for (float x : v) {
        if (!in_range(x, 0.0f, 1.0f)) {
            warn_real(x);
            return;
        }
    }
    polyline_flush();
    state().colour.table[i] = pack(xr, xg, xb);
    send_table();
}

void getind(int i, float& xr, float& xg, float& xb) {
    xr = xg = xb = 0;
    if (enter_routine("getind")) return;
    if (i < 0 || i > 255) {
        warn_routine_value(2, i);
        return;
    }
    std::uint32_t e = state().colour.table[i];
    xr = (float)((e >> 16) & 0xff) / 255.0f;
    xg = (float)((e >> 8) & 0xff) / 255.0f;
    xb = (float)(e & 0xff) / 255.0f;
}

void getrgb(float& xr, float& xg, float& xb) {
    xr = xg = xb = 0;
    if (enter_routine("getrgb")) return;
    // Entry 0 of the table, not the current colour.
    std::uint32_t e = state().colour.table[0];
    xr = (float)((e >> 16) & 0xff) / 255.0f;
    xg = (float)((e >> 8) & 0xff) / 255.0f;
    xb = (float)(e & 0xff) / 255.0f;
}

void setvlt(const char* s) {
    if (enter_routine("setvlt")) return;
    int k = match_keyword(kTableKeys, 9, s);
    if (k == 0) return;
    load_colour_table(k - 1);
}

const char* getvlt() {
    if (enter_routine("getvlt")) return "";
    int t = state().colour.table_type;
    return kTableNames[t >= 0 && t <= 8 ? t : 1];
}

void myvlt(const float* xr, const float* xg, const float* xb, int n) {
    if (check_level(0, 3, "myvlt")) return;
    if (n < 1 || n > 256) {
        warn_routine_value(2, n);
        return;
    }
    const float* arrays[3] = {xr, xg, xb};
    for (const float* a : arrays) {
        for (int i = 0; i < n; ++i) {
            if (!in_range(a[i], 0.0f, 1.0f)) {
                warn_real(a[i]);
                return;
            }
        }
    }
    State& st = state();
    ColourState& c = st.colour;
    polyline_flush();
    // Entries beyond n keep their values: the default table when none was loaded yet.
    if (!c.loaded) fill_table(c, kRain, st.out.format);
    for (int i = 0; i < n; ++i) c.table[i] = pack(xr[i], xg[i], xb[i]);
    if (st.run.level == 0) {
        c.user_table = true;
    } else {
        send_table();
    }
}

void colran(int i1, int i2) {
    if (enter_routine("colran")) return;
    if (i1 < 0 || i1 > 255 || i2 < 0 || i2 > 255) {
        warn_routine_value(2, (i1 < 0 || i1 > 255) ? i1 : i2);
        return;
    }
    state().colour.range_lo = i1;
    state().colour.range_hi = i2;
}

void clrcyc(int i, int iclr) {
    if (enter_routine("clrcyc")) return;
    if (i < 1 || i > 30) {
        warn_routine_value(2, i);
        return;
    }
    if (iclr < 0 || iclr > 255) {
        warn_routine_value(2, iclr);
        return;
    }
    state().colour.cycle[i - 1] = iclr;
}

void hsvrgb(float xh, float xs, float xv, float& xr, float& xg, float& xb) {
    xr = xg = xb = 0;
    check_level(0, 3, "hsvrgb");
    if (!in_range(xh, -0.0001f, 360.0001f)) return (void)warn_real(xh);
    if (!in_range(xs, -0.0001f, 1.0001f)) return (void)warn_real(xs);
    if (!in_range(xv, -0.0001f, 1.0001f)) return (void)warn_real(xv);
    float h = xh / 60.0f;
    int k = (int)h;
    float f = h - (float)k;
    if (k >= 6) k = 0;
    if (k < 0) k = 0;
    float p = xv * (1.0f - xs), q = xv * (1.0f - f * xs), t = xv * (1.0f - (1.0f - f) * xs);
    switch (k) {
        case 0:
            xr = xv, xg = t, xb = p;
            break;
        case 1:
            xr = q, xg = xv, xb = p;
            break;
        case 2:
            xr = p, xg = xv, xb = t;
            break;
        case 3:
            xr = p, xg = q, xb = xv;
            break;
        case 4:
            xr = t, xg = p, xb = xv;
            break;
        default:
            xr = xv, xg = p, xb = q;
            break;
    }
}

void rgbhsv(float xr, float xg, float xb, float& xh, float& xs, float& xv) {
    xh = xs = xv = 0;
    check_level(0, 3, "rgbhsv");
    const float in[3] = {xr, xg, xb};
    for (float x : in)
        if (!in_range(x, -0.0001f, 1.0001f)) return (void)warn_real(x);
    float v = std::fmax(xr, std::fmax(xg, xb));
    float m = std::fmin(xr, std::fmin(xg, xb));
    float s = v != 0.0f ? (v - m) / v : 0.0f;
    xv = v;
    xs = s;
    if (s == 0.0f) return;
    float d = v - m;
    float r1 = (v - xr) / d, g1 = (v - xg) / d, b1 = (v - xb) / d;
    float h;
    if (xr == v)
        h = xg == m ? 5.0f + b1 : 1.0f - g1;
    else if (xg == v)
        h = xb == m ? 1.0f + r1 : 3.0f - b1;
    else
        h = xr == m ? 3.0f + g1 : 5.0f - r1;
    xh = 60.0f * h;
}

// ---- defaults and reset ------------------------------------------------------------

namespace {

void colour_defaults() {
    const OutputState& o = state().out;
    load_colour_table(o.format == kPost ? kRGre : kRain);
}

void reset_color() { select_colour(state().colour.start); }

void reset_colran() {
    ColourState& c = state().colour;
    c.range_lo = c.default_lo;
    c.range_hi = c.default_hi;
}

void reset_clrcyc() { refresh_cycle(state().colour); }

struct Registration {
    Registration() {
        register_defaults(11, colour_defaults);
        register_reset("COLO", reset_color);
        register_reset("COLR", reset_colran);
        register_reset("CLRC", reset_clrcyc);
    }
} registration;

}  // namespace

void revscr() {
    if (enter_routine("revscr")) return;
    polyline_flush();
    ColourState& c = state().colour;
    for (std::uint32_t& e : c.table) {
        if (e == 0x000000u)
            e = 0xFFFFFFu;
        else if (e == 0xFFFFFFu)
            e = 0x000000u;
    }
    send_table();
    // A full-colour picture holds colours, not indices: its black and white
    // pixels follow the table (indexed pictures take the table when written).
    Picture& pic = state().raster.picture;
    if (!pic.empty() && pic.rgb()) {
        for (int y = 0; y < pic.height(); ++y) {
            std::uint8_t* row = pic.row(y);
            for (int x = 0; x < pic.width(); ++x) {
                std::uint8_t* p = row + 3 * x;
                bool black = !p[0] && !p[1] && !p[2], white = p[0] == 255 && p[1] == 255 && p[2] == 255;
                if (black)
                    p[0] = p[1] = p[2] = 255;
                else if (white)
                    p[0] = p[1] = p[2] = 0;
            }
        }
        if (Device* d = state().out.device.get()) d->sync();
    }
    device_colour(c.current);  // the drawing colour shows its new value
}

}  // namespace korval
