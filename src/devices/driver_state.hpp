// Settings of the CGM, WMF and file-inclusion drivers.
#pragma once

#include <string>

namespace korval {

struct DriverState {
    // Level-0 settings, kept across korfin.
    int cgm_version = 1;  // cgmver: 1 (CALS) or 4 (WebCGM)
    int wmf_mode = 0;     // wmfmod: 0 STAN, 1 PLAC (placeable header)

    // CGM picture settings (any level; they apply to the next picture).
    std::string cgm_picture;                             // cgmpic; empty: "Picture n"
    int cgm_red = 255, cgm_green = 255, cgm_blue = 255;  // cgmbgd

    // incfil: the file box (plot units) and the colour mode; plot
    // parameters (reset at korini).
    bool file_box_set = false;  // filbox; else the whole page
    int file_box_x = 0, file_box_y = 0, file_box_w = 0, file_box_h = 0;
    int file_colours = 0;  // filclr: 0 ALL, 1 NONE
};

}  // namespace korval
