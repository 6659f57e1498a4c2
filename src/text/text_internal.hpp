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
// Runs a prepared text without drawing; returns its length.  quiet keeps a
// failing TeX formula from warning (the drawing that follows warns).
float measure_text(const char* buf, int n, int angle, int height, bool expind, bool quiet = false);
// Draws a prepared text with its upper left corner at (x, y), or from the
// pen of the last messag when cont is set.
TextRun render_text(const char* buf, int n, float x, float y, bool cont, int angle, int height, bool expind);
const char* font_name(int font);

// ---- TeX mode ---------------------------------------------------------------

// The frame a formula is laid out in: distances u along the text direction
// from the baseline point (x0, y0), offsets v upwards from the baseline.
struct TexFrame {
    float x0 = 0, y0 = 0;
    float sa = 0, ca = 1;
    int angle = 0;
    bool draw = false;
};

// What a formula came to: the pen distance at the end, the last character
// spacing, the largest distance reached less that spacing, and the extents
// above and below the baseline.
struct TexResult {
    float pen = 0;
    float last_spacing = 0;
    float length = 0;
    float above = 0, below = 0;
    bool scripts = false;
};

// Lays out (and, with f.draw, draws) a formula of base height h.  Returns 0,
// or 1 after printing the warning of the first error (unless quiet).
int render_tex(const char* buf, int n, const TexFrame& f, int height, TexResult& out, bool quiet);

// The character output of the text engine for the TeX layout: character
// code of alphabet a (1..6) with height h, its baseline point at distance u
// raised by v.  Returns the advance (width plus spacing); spacing receives
// the spacing part.
float tex_character(const TexFrame& f, int code, int alphabet, int h, float u, float v, float& spacing);
// The character spacing of the standard alphabet at height h.
float tex_spacing(int h);
// A polyline of n points in the frame (drawn only when f.draw).
void tex_polyline(const TexFrame& f, const float* u, const float* v, int n);

}  // namespace korval
