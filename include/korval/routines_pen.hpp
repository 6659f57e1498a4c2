// User routines of the pen in plot and user coordinates and of the base
// transformation of the vector pipeline.
#pragma once

namespace korval {

// A line between two points in user coordinates, clipped to the axis
// system as the other rl routines are.
void rline(float x1, float y1, float x2, float y2);

// Pen routines in user coordinates: rlstrt moves the pen to (x, y),
// rlconn draws from the pen to (x, y), clipped to the axis system like
// rline.  They are the 2-D counterparts of strt3d and conn3d.  Both need
// an axis system (levels 2 and 3); a non-finite point is ignored.
void rlstrt(float x, float y);
void rlconn(float x, float y);

// Pen routines in plot coordinates (levels 1 to 3), floats so that the
// pen needs no rounding:
// strtpt moves the pen to (x, y); it is the partner of connpt and, like
//   it, measures y from the page bottom under pagorg("BOTT").
// xmove / xdraw move and draw the pen in raw plot coordinates: origin at
//   the upper left corner whatever pagorg says (the coordinates the pipeline
//   itself uses, for instance positions returned by nxposn / nyposn).
// xjdraw(x, y, i) is xmove for i = 3 and xdraw for i = 2, the pen codes of
//   the device interface; any other i gives warning 2 and nothing is done.
void strtpt(float x, float y);
void xmove(float x, float y);
void xdraw(float x, float y);
void xjdraw(float x, float y, int i);

// The base transformation: an affine map applied to every point the
// pipeline draws (plot coordinates after the origin shift).  Each routine
// applies its map after the transformation already in force (the identity
// when none is); trfres switches it off.  Levels 1 to 3; the pending
// polyline is drawn before the transformation changes.
// trfrot(angle, nx, ny): rotation by angle degrees counter-clockwise as seen
//   on the page, about the plot point (nx, ny) (y through pagorg).
// trfscl(xf, yf): scaling by xf in x and yf in y about the plot origin (the
//   upper left corner of the page, moved by origin); factors must be
//   non-zero and finite (else warning 2).
// trfshf(nx, ny): shift by nx, ny plot units (ny downwards).
// trfres(): resets the base transformation to the identity and switches it
//   off.
void trfrot(float angle, int nx, int ny);
void trfscl(float xf, float yf);
void trfshf(int nx, int ny);
void trfres();

// pagfll(i): fills the whole page with colour i (0..255), as a background
// drawn at this point of the plot (later drawing lies on top); the current
// colour is kept.  Levels 1 to 3.
void pagfll(int i);

// shdcrv(x1ray, y1ray, n, x2ray, y2ray, m): shades the area between two
// curves given in user coordinates: the polygon runs along the first curve
// (n points) and back along the second (m points), and is filled with the
// current shading pattern (shdpat, mypat) and colour, without an outline,
// clipped to the axis system.  Non-finite points are left out; n or m
// below 1 give warning 2, non-positive values on a logarithmic axis
// warning 27.  Levels 2 and 3.
void shdcrv(const float* x1ray, const float* y1ray, int n, const float* x2ray, const float* y2ray, int m);

}  // namespace korval
