// Output selection: format, page, file and window settings.
//
// These are level-0 settings: made before korini and kept across korfin.
#pragma once

#include <memory>
#include <string>

#include "devices/device.hpp"

namespace korval {

struct OutputState {
    int format = 0;                // format code; 0: none chosen yet
    std::string keyword = "VECM";  // format keyword, 4 characters
    float page_width = 2969.0f;    // largest coordinates, tenths of mm x unit factor
    float page_height = 2099.0f;
    std::string page_name = "DA4L";
    int nxp = 2969, nyp = 2099;  // page extent in plot units (at korini)
    float unit_factor = 1.0f;
    float scale_factor = 1.0f;
    int scaling_mode = 0;   // 0 DOWN, 1 FULL, 2 NONE
    int page_rotation = 0;  // 0 LAND, 1 PORT, 2 NONE
    bool hw_page = false;
    int hw_page_w = 0, hw_page_h = 0;
    bool hw_origin = false;
    int hw_origin_x = 0, hw_origin_y = 0;
    int window_mode = 0;  // 0 none, 1 window, 2 winsiz
    int window_x = 0, window_y = 0, window_w = 0, window_h = 0;
    int image_w = 853, image_h = 603;  // window / picture size in pixels (at korini)
    std::string file_name;             // output file name (given or built)
    std::string given_name;            // name remembered from setfil
    int file_name_state = 0;           // 0 default, 1 set by setfil, 2 set and used
    int file_mode = 0;                 // 0 COUN, 1 DELE, 2 BREA
    int screen_mode = 4;               // 0 ERAS, 1 NOER, 2 REVE, 4 AUTO
    int background = 0;                // 0 erase, 1 no erase, 2 white paper
    int x11_mode = 2;                  // 0 STOR, 1 NOST, 2 AUTO, 3 PIXM
    int file_state = 0;                // 0 not finished, 1 finished, -1 deleted
    int wait_mode = 0;                 // screen wait: 0 FULL, 1 NOER, 2 NONE, 3 NOHO, 4 DELA
    float device_factor = 1.0f;        // device units per plot unit
    float fit_factor = 1.0f;           // paper fit (device units per plot unit, before the driver's own)
    bool file_failed = false;          // the output file could not be created
    std::unique_ptr<Device> device;    // the driver of this plot, korini .. korfin
};

}  // namespace korval
