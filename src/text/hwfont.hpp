// Hardware fonts: the character widths of the 35 standard PostScript fonts
// and the hand-over of characters to the device's own fonts.
#pragma once

#include <cstdint>

namespace korval {

namespace fontdata {
// 25 width sets of the codes 32..133 in 1/140 of the font size
// (data/hwfont_widths.cpp, generated).
extern const std::uint16_t hwfont_widths[25][102];
}  // namespace fontdata

// The width set (1..25) of standard font i (0..34); 0 for the Courier
// fonts, whose characters are all 84 units wide.
int hwfont_width_set(int font);

// Fills the 155 widths of the standard alphabet (space first) for standard
// font i: codes 32..133 from the width set, the national characters
// 134..186 from their base letters.
void hwfont_fill_widths(int font, std::uint16_t widths[155]);

// True when characters of the standard alphabet go to the device: a
// PostScript/PDF font is active and the text goes to the device.
bool hwfont_active();

// The advance of internal code c at height h in plot units, without the
// character spacing.
float hwfont_advance(int code, int height);

// Hands one character to the device: internal code, baseline point of the
// character's left side (plot coordinates), text angle, height and advance.
void hwfont_character(int code, float x, float y, int angle, int height, float advance);

// Selects the hardware font on the device again at a new height.
void hwfont_height(int height);

}  // namespace korval
