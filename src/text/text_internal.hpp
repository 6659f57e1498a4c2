// Internals shared by the sources of the text folder.
#pragma once

namespace korval {

constexpr int kTextMax = 256;  // longer texts are cut

// Where a text ran: its upper left start point, the baseline points at the
// start and after the last character, the end point (the pen less the last
// character spacing) and the measured length.
struct TextRun {
    float start_x = 0, start_y = 0;
    float base_x = 0, base_y = 0;
    float pen_x = 0, pen_y = 0;
    float end_x = 0, end_y = 0;
    float length = 0;
    bool had_expind = false;
};

// Copies text into buf (kTextMax + 1 bytes), cut at kTextMax characters,
// with the national shifts applied; returns the length.
int prepare_text(const char* text, char* buf);
int apply_national_shifts(char* buf, int n);
// Runs a prepared text without drawing; returns its length.
float measure_text(const char* buf, int n, int angle, int height, bool expind);
// Draws a prepared text with its upper left corner at (x, y), or from the
// pen of the last messag when cont is set.
TextRun render_text(const char* buf, int n, float x, float y, bool cont, int angle, int height, bool expind);
const char* font_name(int font);

}  // namespace korval
