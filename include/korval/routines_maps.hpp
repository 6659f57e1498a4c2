// User routines of the maps: projections, map axis systems, coastlines and
// map shading.
#pragma once

namespace korval {

// A user projection (setcbk "MYPR"): replaces longitude and latitude with
// plane coordinates.
using MapUserProjection = void (*)(float* x, float* y);

// Settings
void projct(const char* s);
void mapbas(const char* s);
void mapfil(const char* s1, const char* s2);
void maplev(const char* s);
void mapmod(const char* s);
void mappol(float x1, float x2);
void mapref(float x1, float x2);
void mapsph(float x);
void setcbk(MapUserProjection fn, const char* s);

// Map labels: on (1) or off (0) in gridmp, angle, background and text
// colours (-1: none / current), offset and height (0: current height).
void mpaepl(int i);
void mplang(float x);
void mplclr(int i1, int i2);
void mplpos(int i1, int i2);
void mplsiz(int i);

// Axis system and axes
void grafmp(float xa, float xe, float xor_, float xstp, float ya, float ye, float yor, float ystp);
void xaxmap(float xa, float xe, float xor_, float xstp, const char* s, int it, int ny);
void yaxmap(float xa, float xe, float xor_, float xstp, const char* s, int it, int ny);

// Drawing
void world();
void shdmap(const char* s);
void shdeur(const int* inray, const int* ipray, const int* icray, int n);
void shdusa(const int* inray, const int* ipray, const int* icray, int n);
void curvmp(const float* x1ray, const float* x2ray, int n);
void gridmp(int i1, int i2);

// Positions
void pos2pt(float x, float y, float& xp, float& yp);
float x2dpos(float x, float y);
float y2dpos(float x, float y);

}  // namespace korval
