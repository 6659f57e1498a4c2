// Maps: the header other folders include.
//
// The map forward projection and the drawing helpers that the map routines
// share.  Longitudes and latitudes are in degrees.
#pragma once

#include <string>

#include "core/core.hpp"

namespace korval {

// Projection families.
enum MapFamily { MAP_CYLINDRICAL = 0, MAP_WORLD = 1, MAP_CONICAL = 2, MAP_AZIMUTHAL = 3, MAP_USER = 4 };

// The family of a projection code.
int map_family(int code);

// Plane coordinates of the projection before scaling (radians for the
// built-in projections): for azimuthal projections (x, y) = r (cos A, sin A).
// False when the point has no image (for example beyond the horizon of the
// gnomonic projection); x and y are then far outside every map.
bool map_plane(double lon, double lat, double& x, double& y);
// Plot coordinates of a map point under the current map scaling.
void map_project(double lon, double lat, double& xp, double& yp);
// Whether a map point lies on the visible disc of a hemisphere map.
bool map_on_disc(double lon, double lat);
// Sets up the scaling of a map axis system for the given ranges; false
// (nothing changed) when the projection cannot show them.
//
// The y scale is (y-axis length - 1) over the projected height of the
// latitude range on the central meridian.  The x scale is (x-axis length -
// 1) over the projected width of the longitude range: along the equator for
// cylindrical and world projections, along the middle parallel for conical
// ones (its whole extent in x), and for azimuthal maps of a range the sum of
// the distances of its side meridians from the centre on the middle
// parallel.  Hemisphere maps (latitude range over 90 degrees) use one scale
// s for both axes, chosen so that the horizon fills the circle of half the
// shorter axis; a user projection is fitted to the axis rectangle.
bool map_setup(double xa, double xe, double ya, double ye);

// The path of the installation's map file `name` ("map1.dat", "gshhs_l.b").
std::string map_file_path(const char* name);

// Draws the line between two map points in the current line mode ("INTE"
// follows longitude and latitude); the pen must stand on the first point.
// Lifts the pen across the seam of world and conical maps.
void map_line_to(double lon0, double lat0, double lon1, double lat1);
// Moves the pen to a map point.
void map_move_to(double lon, double lat);

}  // namespace korval
