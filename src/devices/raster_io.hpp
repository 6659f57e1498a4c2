// Shared by the raster device and the image routines: colours of the
// picture and writing it as an image file.
#pragma once

#include <cstdint>
#include <string>

#include "devices/raster.hpp"

namespace korval {

// Palette entries written for indexed pictures: 9 for the "SMALL" table,
// 16 for "VGA", 256 otherwise.
int picture_colours();
// The drawing value of a colour index in a picture of the given kind.
std::uint32_t picture_value(const Picture& pic, int index);
// Creates the picture of a raster format or an embedded image: RGB by
// imgfmt, white for an RGB picture on white paper, else colour index 0.
bool create_picture(Picture& pic, int w, int h);
// Writes the picture as format code kind (601 TIFF, 602 own format,
// 604 PNG, 605 PPM, 606 BMP) under name.  Warns (36 with the name, 51,
// 101 "ZLIB error") and returns false on failure.
bool save_picture(const Picture& pic, int kind, const std::string& name);
// The PNG file bytes of the picture into buf (n bytes); the byte count, or
// 0 after a warning.
int png_into_buffer(const Picture& pic, char* buf, int n);

}  // namespace korval
