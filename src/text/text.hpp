// Text output: the header other folders include.
//
// draw_text and text_length are what every label, title and legend uses;
// the text is stroked through the vector pipeline (or filled, for outline
// fonts).  TextOutput holds the entries the text engine draws through: they
// default to the pipeline and the drawing Parts plug in their own.
#pragma once

namespace korval {

struct TextOutput {
    void (*move)(float x, float y);
    void (*draw)(float x, float y);
    // Fills a polygon of n points by the even-odd rule: an outer contour of
    // an outline glyph with its holes chained in.  False when the output
    // cannot fill; the contours are then drawn as lines.
    bool (*fill)(const float* x, const float* y, int n);
    int (*get_colour)();
    void (*set_colour)(int index);
    // Symbol n of size h centred at (x, y) (instruction "S").
    void (*symbol)(int n, float x, float y, int h);
};

// The current output entries (never null).
TextOutput& text_output();
// Restores the default entries.
void reset_text_output();

// Flags of draw_text_mode.
enum : unsigned { TEXT_EXPONENTS = 1u };

// Draws text with its upper left corner at (nx, ny) in page coordinates,
// with the given angle and height for this call only.  No page-Y flip, no
// justification; (999, 999) is an ordinary point.
void draw_text(const char* text, int nx, int ny, int angle, int height);
// The same with exponents and indices switched on for this call when flags
// holds TEXT_EXPONENTS (labels with exponents).
void draw_text_mode(const char* text, int nx, int ny, int angle, int height, unsigned flags);
// The length of text in plot units, as nlmess.
int text_length(const char* text);
int text_length_mode(const char* text, unsigned flags);

// Number formatting of number and nlnumb: format_number with the number
// format and mode of numfmt and numode; sets flags to the mode the text
// needs.
void format_number_text(float x, int digits, char* out, int size, unsigned& flags);

// Font selection by index (0 koralf, 1 simplx, 2 complx, 3 duplx, 4 triplx,
// 5 helve, 6 helves, 7 serif).
void select_font(int font);

// Converts an ISO 8859-1 code to the internal character code.
int iso1_to_internal(int c);

// The size in device units of a window font for character height h (the
// WMF writer's fonts).
int window_font_size(int height);

}  // namespace korval
