// User routines of the raster picture, image files and the PDF and PNG
// buffers.
#pragma once

namespace korval {

// Settings before korini
void imgfmt(const char* s);
void pngmod(const char* s1, const char* s2);
void tifmod(int n, const char* s1, const char* s2);
void pdfmod(const char* s1, const char* s2);
// The PDF document of the buffer output (after korfin); n bytes of room.
// Returns the byte count, or 0.
int pdfbuf(char* buf, int n);

// The picture and the pixel routines.  Pixel values are colour indices
// ("IND ") or 0xRRGGBB values ("RGB ") as imgmod selects.
// clrmod(s): the colour mode of the raster pictures and screen windows,
// a level-0 setting kept across korfin: "NORMAL" draws with the 256
// indices of the colour table (the default), "FULL" in full colour
// (24 bits per pixel).  The same setting as imgfmt("IND") / imgfmt("RGB").
void clrmod(const char* s);
void imgmod(const char* s);
void imgsiz(int nw, int nh);
void imgbox(int nx, int ny, int nw, int nh);
void imgini();
void imgfin();
void wpixel(int ix, int iy, int iclr);
int rpixel(int ix, int iy);
void wpixls(const int* iray, int ix, int iy, int nw, int nh);
void rpixls(int* iray, int ix, int iy, int nw, int nh);
void wpxrow(const int* iray, int ix, int iy, int n);
void rpxrow(int* iray, int ix, int iy, int n);

// Image files of the picture
int rbfpng(char* buf, int n);
void rimage(const char* s);
void wimage(const char* s);
void rtiff(const char* s);
void rpng(const char* s);
void rppm(const char* s);
void rbmp(const char* s);

// TIFF files into the picture.  rtiff writes the picture as a TIFF file;
// wtiff(s) is its counterpart in the manner of wimage: it reads the TIFF
// file s and writes its pixels into the picture of a raster or screen
// format (warning 40 for other formats, 36 when the file cannot be read,
// 56 when it is no uncompressed 8-bit palette, grey or RGB TIFF).  Indexed
// pictures take the nearest colour of the table (a palette file with the
// table's colours keeps its indices).
// tiforg(nx, ny): the picture pixel where the upper left corner of the
//   file's window goes (default 0, 0; may be negative: cut off).
// tifwin(nx, ny, nw, nh): the window of the file that wtiff takes, upper
//   left corner and size in the file's pixels; a size of 0 reaches to the
//   file's edge (default 0, 0, 0, 0: the whole file).  Negative values give
//   warning 2.
// tiforg and tifwin are kept across korfin (any level).
void tiforg(int nx, int ny);
void tifwin(int nx, int ny, int nw, int nh);
void wtiff(const char* s);

}  // namespace korval
