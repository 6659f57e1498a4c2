// Text attributes: the sub-record of the plot state owned by the text
// routines (character attributes, fonts, alphabets, control characters).
#pragma once

#include <cstdint>

namespace korval {

struct AlphabetShift {
    int alphabet = 0;  // 1..7 (7: instruction alphabet); 0: slot unused
    char start = ' ';
    char end = ' ';
};

struct TextState {
    int height = 36;  // plot units; capitals are height - 1 high
    int angle = 0;    // degrees, counter-clockwise
    float sin_a = 0.0f, cos_a = 1.0f;
    float spacing = 0.0f;       // chaspc, fraction of the height
    float width_factor = 1.0f;  // chawth
    float slant = 0.0f;         // chaang, degrees
    bool fixed = false;         // fixspc
    float fixed_factor = 1.0f;
    int font = 0;           // index into the font list (0: koralf)
    int base_alphabet = 1;  // 1..6
    AlphabetShift shifts[6];
    bool mixed = false;                         // a shift slot is defined
    bool expind = false;                        // mixalf: exponents and indices
    char ctrl[5] = {'[', ']', '$', '/', '\\'};  // EXP, IND, RES, LEG, TEX
    char national[7] = {0, 0, 0, 0, 0, 0, 0};   // GERM DANI SPAN FREN ACUT GRAV CIRC
    bool national_on = false;
    int coding = 0;   // 0 STAN, 1 ISO1
    int justify = 0;  // 0 LEFT, 1 CENT, 2 RIGH
    int frame = 0;    // frmess thickness
    float exp_shift = 0.6f, exp_height = 0.8f;  // setbas, setexp
    int outline_fill = 0;       // outline glyphs: 0 solid, 1 shdcha (pattern), 2 nofill (contours)
    float line_spacing = 1.5f;  // linesp

    // TeX mode (texmod, texopt): texts are read as formulas.
    bool tex = false;
    bool tex_limits = true;  // limits above and below big operators
    bool tex_italic = true;  // italic letters in math mode

    // Hardware fonts: 0 stroke fonts, 1 PostScript/PDF font, 2 window font.
    // While one is active the stroke font of the other alphabets is complx.
    int hw_mode = 0;
    int hw_index = -1;                  // PostScript fonts: index in the standard list
    char hw_name[61] = "";              // current font name ("Times-Roman-German")
    std::uint16_t hw_widths[155] = {};  // 1/140 of the font size, space first
    int hw_height = 0;                  // the height the device's font has

    // The pen after the last messag, for the (999, 999) continuation.
    bool pen_valid = false;
    float pen_x = 0.0f, pen_y = 0.0f;  // baseline point
    float start_x = 0.0f, start_y = 0.0f;

    // Number format of number and nlnumb (numfmt, numode).
    int number_format = 0;  // 0 FLOA, 1 EXP, 2 FEXP, 3 LOG
    char decimal_char = '.';
    char thousands_char = 0;  // 0: no grouping
    char sign_char = 0;       // 0: none, ' ' or '+'
    bool equal_width = false;
};

}  // namespace korval
