// Settings and data of the raster picture, the pixel routines, the image
// files and the PDF buffer output.
#pragma once

#include <vector>

#include "devices/raster.hpp"

namespace korval {

struct RasterState {
    // Level-0 settings, kept across korfin.
    int image_format = 0;          // imgfmt: 0 IND, 1 RGB
    bool png_transparent = false;  // pngmod "TRAN"
    int tiff_resolution = 100;     // tifmod: per inch (unit 2) or centimetre (3)
    int tiff_unit = 2;
    // tiforg / tifwin: where wtiff places a file and which part it takes
    // (width or height 0: to the file's edge).
    int tiff_x = 0, tiff_y = 0;
    int tiff_win_x = 0, tiff_win_y = 0, tiff_win_w = 0, tiff_win_h = 0;
    int pdf_mode = 1;  // pdfmod: bit 0 compression, bit 1 buffer output

    // Plot parameters (defaults at korini).
    int pixel_mode = 0;            // imgmod: 0 IND, 1 RGB
    int image_w = 0, image_h = 0;  // imgsiz; 0: the picture size of the format
    bool box_set = false;          // imgbox; else the whole page
    int box_x = 0, box_y = 0, box_w = 0, box_h = 0;

    // The picture: drawn by the raster formats, kept for "VIRT" after
    // korfin, built between imgini and imgfin for PostScript and PDF.
    Picture picture;
    bool image_open = false;  // between imgini and imgfin
    bool embedded = false;    // the open picture is embedded at imgfin
    // The depth buffer of the 3-D routines: one value per pixel of the
    // picture, between zbfini and zbffin.
    std::vector<float> depth;

    // The PDF document of the buffer output, held for pdfbuf.
    std::vector<char> pdf_buffer;
    bool pdf_held = false;
    bool pdf_overflow = false;
};

}  // namespace korval
