// Image files of the raster picture: PNG, TIFF, BMP, PPM and the library's
// own picture format, and the reader of the own format.
//
// The writers build the whole file in memory (the callers write it to a
// file or hand it to the script); palettes are 256 entries 0x00RRGGBB.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "devices/raster.hpp"

namespace korval {

using Bytes = std::vector<std::uint8_t>;

// Result codes of the writers.
enum ImageResult {
    kImageOk = 0,
    kImageFile = -1,      // the file cannot be opened or written (warning 36)
    kImageMemory = -2,    // no memory (warning 51)
    kImageZlibInit = -3,  // zlib initialisation, compression, end failed
    kImageZlibRun = -4,
    kImageZlibEnd = -5,
};

// PNG: ncolours palette entries for indexed pictures; transparent adds the
// tRNS chunk.
int encode_png(const Picture& pic, const std::uint32_t* palette, int ncolours, bool transparent, Bytes& out);
// TIFF with one strip per row; resolution per unit (2 inch, 3 centimetre).
int encode_tiff(const Picture& pic, const std::uint32_t* palette, int resolution, int unit, Bytes& out);
int encode_bmp(const Picture& pic, const std::uint32_t* palette, int ncolours, Bytes& out);
int encode_ppm(const Picture& pic, const std::uint32_t* palette, Bytes& out);
// The own format: "!Bitmap KORVAL VIRT", nine numbers, the picture memory.
int encode_own_image(const Picture& pic, Bytes& out);

// Writes bytes to a file; kImageOk or kImageFile.
int write_file(const std::string& name, const Bytes& data);

// The header of an own-format picture file.
struct OwnImageHeader {
    int width = 0, height = 0, row_bytes = 0, bits = 0, flag = 0, base = 0;
};
// Parses the 80-byte header; false when it is no picture of ours.
bool parse_own_header(const std::uint8_t* head, std::size_t n, OwnImageHeader& h);

// Reads an own-format file into the picture.  Pixels converted between the
// file's and the picture's kinds use palette; indexed pictures take the
// nearest table colour of an RGB pixel.  Returns 0, 36 (file), 51 (memory)
// or 56 (format): the warning to give.
int read_own_image(const std::string& name, Picture& pic, const std::uint32_t* palette);

// The nearest colour index of an RGB value in a palette.
int nearest_index(const std::uint32_t* palette, std::uint32_t rgb);

}  // namespace korval
