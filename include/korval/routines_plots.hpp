// User routines of the two-dimensional plot types: curves, interpolation,
// symbols and error bars.
#pragma once

namespace korval {

// Curves
void curve(const float* x1ray, const float* x2ray, int n);
void polcrv(const char* s);
void splmod(int i1, int i2);
// Fills x3ray and x4ray with the interpolated points (spline_points + 1
// values each) and returns their number, 0 after an error.
int spline(const float* x1ray, const float* x2ray, int n, float* x3ray, float* x4ray);
void thkcrv(int i);
void gapcrv(float x);
void inccrv(int i);
void chncrv(const char* s);
// The curve attribute cycle outside curve:
// chnatt() advances the cycle by one entry (30 wraps to 1), as a curve
//   does at its end but without the change interval of inccrv, and makes
//   the new entry's colour and line type the current ones as chncrv
//   selects; under chncrv("NONE") (the default) it changes both, so that
//   lines, areas and texts drawn next show the new attributes.
// resatt() sets the cycle back to its first entry and restores the colour
//   and line type in force before the first chnatt.
// Both need korini (levels 1 to 3).
void chnatt();
void resatt();
void errbar(const float* x1ray, const float* x2ray, const float* x3ray, const float* x4ray, int n);

// Symbols
void incmrk(int i);
void marker(int i);
void hsymbl(int i);
void symrot(float x);
void symbol(int i1, int i2, int i3);
void rlsymb(int i, float x1, float x2);
void mysymb(const float* x1ray, const float* x2ray, int n, int isym, int iflag);

// Coloured points of the colour axis system
void curve3(const float* x1ray, const float* x2ray, const float* x3ray, int n);
void curvx3(const float* x1ray, float y, const float* x2ray, int n);
void curvy3(float x, const float* x1ray, const float* x2ray, int n);

}  // namespace korval
