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

}  // namespace korval
