// Hardware fonts: psfont, winfnt, x11fnt and hwfont, the width table of the
// selected PostScript font, and the characters handed to the device.
#include "text/hwfont.hpp"

#include <cstdio>
#include <cstring>
#include <string>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"
#include "text/text.hpp"

namespace korval {

namespace {

// Width set of each standard font in list order (0: Courier).
const unsigned char kWidthSet[35] = {1, 2, 3, 4, 5,  6,  5,  6,  7,  8,  7,  8,  9,  10, 11, 12, 13, 14,
                                     0, 0, 0, 0, 15, 16, 15, 16, 22, 23, 24, 25, 17, 18, 19, 20, 21};

constexpr int kCourierWidth = 84;
constexpr int kComplx = 2;  // the stroke font of the other alphabets

// Base letters of the national characters 134..186.
const char kNationalBase[] = "AOAaoaNnCcEIeiAEIOUaeiouAEIOUaeiouAEIOUaeiouAaOoYyy!?";

bool postscript_family(int format) { return format >= 501 && format <= 600; }

// Formats that take PostScript fonts: the PostScript family, PDF and SVG.
bool takes_postscript_fonts(int format) { return postscript_family(format) || format == 801; }

// Makes PostScript font i (0..34) the current hardware font and tells the
// device.
void select_postscript_font(int i) {
    TextState& t = state().text;
    select_font(kComplx);
    t.hw_mode = 1;
    t.hw_index = i;
    std::snprintf(t.hw_name, sizeof t.hw_name, "%s-German", standard_fonts[i]);
    hwfont_fill_widths(i, t.hw_widths);
    t.hw_height = t.height;
    polyline_flush();
    if (Device* d = current_device()) d->hardware_font(standard_fonts[i], (float)t.height);
}

// The standard font whose widths stand for a window font: the metrics of
// the window system's fonts are not at hand, so the PostScript font of the
// same design is used.
int window_font_widths(const char* name) {
    std::string n = to_upper(std::string(name));
    bool bold = n.find("BOLD") != std::string::npos;
    if (n.find("COURIER") != std::string::npos || n.find("MONO") != std::string::npos) return bold ? 19 : 18;
    if (n.find("ARIAL") != std::string::npos || n.find("HELV") != std::string::npos ||
        n.find("SANS") != std::string::npos || n.find("VERDANA") != std::string::npos)
        return bold ? 5 : 4;
    return bold ? 1 : 0;
}

// Makes a window font the current hardware font (WMF) and tells the device.
void select_window_font(const char* name) {
    TextState& t = state().text;
    select_font(kComplx);
    t.hw_mode = 2;
    t.hw_index = -1;
    copy_bounded(t.hw_name, name, 31);
    hwfont_fill_widths(window_font_widths(t.hw_name), t.hw_widths);
    t.hw_height = t.height;
    polyline_flush();
    if (Device* d = current_device()) d->hardware_font(t.hw_name, (float)t.height);
}

}  // namespace

int window_font_size(int height) {
    float f = state().out.device_factor;
    int s = (height >= 30 && f >= 0.25f) ? 13 * height : 16 * height;
    return (int)(0.5f + (float)s * f * 0.125f);
}

int hwfont_width_set(int font) { return font >= 0 && font < 35 ? kWidthSet[font] : 1; }

void hwfont_fill_widths(int font, std::uint16_t widths[155]) {
    int set = hwfont_width_set(font);
    if (set == 0) {
        for (int i = 0; i < 155; ++i) widths[i] = kCourierWidth;
        return;
    }
    const std::uint16_t* w = fontdata::hwfont_widths[set - 1];
    for (int i = 0; i < 102; ++i) widths[i] = w[i];
    for (int c = 134; c <= 186; ++c) {
        int base = (unsigned char)kNationalBase[c - 134];
        widths[c - 32] = w[base - 32];
    }
    // Æ and æ are wider than their base letters.
    widths[136 - 32] = (std::uint16_t)((w['A' - 32] + 1) / 2 + w['E' - 32]);
    widths[139 - 32] = (std::uint16_t)((2 * w['a' - 32] + 1) / 3 + w['e' - 32]);
}

bool hwfont_active() {
    const State& st = state();
    if ((st.text.hw_mode != 1 && st.text.hw_mode != 2) || st.run.in_plane_mode) return false;
    // Only text that goes down the pipeline reaches the device; text that
    // another Part takes over (its own output entries) stays stroked.
    return text_output().move == plot_move && current_device() != nullptr;
}

float hwfont_advance(int code, int height) {
    const State& st = state();
    int index = code - 32;
    if (index < 0 || index >= 155) index = 0;
    float w = (float)st.text.hw_widths[index];
    if (st.text.hw_mode == 2) {
        // Window fonts: widths in 1/140 of the font size in device units.
        float f = st.out.device_factor > 0 ? st.out.device_factor : 1.0f;
        return w / 140.0f * (float)window_font_size(height) / f;
    }
    if (postscript_family(st.out.format) && st.out.format != 511) {
        float u = st.out.unit_factor > 0 ? st.out.unit_factor : 1.0f;
        return (float)(int)((float)height * st.out.device_factor * 0.25f) * w * 0.025f / u;
    }
    return (float)(int)(0.46428575f * (float)height) * w * 0.025f;
}

void hwfont_height(int height) {
    TextState& t = state().text;
    if (t.hw_mode != 1 && t.hw_mode != 2) return;
    t.hw_height = height;
    polyline_flush();
    if (Device* d = current_device()) d->hardware_font(nullptr, (float)height);
}

void hwfont_character(int code, float x, float y, int angle, int height, float advance) {
    if (height != state().text.hw_height) hwfont_height(height);
    Device* d = current_device();
    if (!d) return;
    polyline_flush();
    const PipelineState& p = state().pipeline;
    if (code < 32 || code > 186) code = 32;
    d->character(code, x + (float)p.shift_x, y + (float)p.shift_y, angle, advance);
}

// ---- routines ----------------------------------------------------------------

void psfont(const char* s) {
    if (enter_routine("psfont")) return;
    if (!takes_postscript_fonts(state().out.format)) return (void)warn_routine(49);
    char name[31];
    copy_bounded(name, s ? s : "", 30);
    int index = 0;
    if (const char* match = standard_font_name(name)) {
        for (int i = 0; i < 35; ++i)
            if (standard_fonts[i] == match) index = i;
    } else {
        state().run.warning_count += 1;
        const MessageState& m = state().msg;
        if (m.unit != 0 && m.warnings) {
            char line[128];
            std::snprintf(line, sizeof line, " <<<< Warning: %s is not a standard font!\n", s ? s : "");
            message_write(line);
        }
    }
    select_postscript_font(index);
}

void winfnt(const char* s) {
    if (enter_routine("winfnt")) return;
    // The WMF writer records window fonts itself; the screen window of this
    // platform has none.
    if (state().out.format != 221 || !current_device()) {
        set_warning_text("Window fonts cannot be used");
        warn_routine(101);
        return;
    }
    select_window_font(s ? s : "");
}

void x11fnt(const char* s1, const char* s2) {
    (void)s1, (void)s2;
    if (enter_routine("x11fnt")) return;
    set_warning_text("X11 fonts cannot be used");
    warn_routine(101);
}

void hwfont() {
    if (enter_routine("hwfont")) return;
    int format = state().out.format;
    if (postscript_family(format))
        select_postscript_font(0);  // Times-Roman
    else if (format == 221 && current_device())
        select_window_font("Times New Roman");
    else
        select_font(kComplx);  // also the screen and metafile, without window fonts
}

}  // namespace korval
