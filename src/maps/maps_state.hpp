// Map state: projection, base map, projection parameters and the scaling
// that grafmp derives for the current map axis system.
#pragma once

#include <string>

namespace korval {

// A user projection: replaces longitude and latitude with plane coordinates.
using MapUserProjection = void (*)(float* x, float* y);

struct MapState {
    // Settings.
    int projection = 0;                    // projct code: 0..6, 10..15, 20..23, 30..34, 100
    int base = 0;                          // mapbas: 0 KORV, 1 GSHL, 2 GSHI, 3 GSHH, 4 GSHF, 5 MAPF
    std::string user_file;                 // mapfil
    int user_type = 0;                     // 0 none, 1 GSHH, 2 MAPG
    int level = 0;                         // maplev: 0 all, 1 land, 2 lakes
    int line_mode = 1;                     // mapmod: 0 STRA, 1 INTE
    float centre_lon = 0, centre_lat = 0;  // mappol
    bool ref_set = false;                  // mapref given for the next grafmp
    float ref1 = 0, ref2 = 0;
    double sphere = 1.5707963267948966;  // mapsph, radians
    MapUserProjection user = nullptr;    // setcbk "MYPR"

    // Map labels (mpaepl, mplang, mplclr, mplpos, mplsiz).
    int label_mode = 0;     // 0 off, 1 graticule labels on maps without axes
    float label_angle = 0;  // degrees
    int label_background = -1, label_colour = -1;
    int label_dx = 0, label_dy = 0;
    int label_height = 0;  // 0: the current character height

    // Scaling of the current map axis system (set by grafmp).
    bool valid = false;
    int family = 0;  // 0 cylindrical, 1 world, 2 conical, 3 azimuthal, 4 user
    int code = 0;    // projection code the scaling was made for
    double xa = 0, xe = 0, ya = 0, ye = 0;
    double lam0 = 0;  // central longitude (cylindrical, world, conical)
    double xscale = 1, yscale = 1;
    double xc = 0, yc = 0;      // plot position of the projected origin
    bool hemisphere = false;    // whole-hemisphere azimuthal map (circular border)
    double phi0 = 0, lon0 = 0;  // centre of azimuthal maps
    double radius = 0;          // circle radius of hemisphere maps (plot units)
    // Conical constants.
    bool south = false;
    double chi1 = 0, chi2 = 0;
    bool cone_ready = false;
    double cone_n = 1, cone_f = 1, cone_y0 = 0;
};

}  // namespace korval
