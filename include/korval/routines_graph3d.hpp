// User routines of the colour 3-D plots: the colour axis system, colour
// bars, matrices painted as coloured rectangles, and their settings.
#pragma once

namespace korval {

void graf3(float xa, float xe, float xor_, float xstp, float ya, float ye, float yor, float ystp, float za,
           float ze, float zor, float zstp);
void crvmat(const float* x1ray, int nx, int ny, int ixpts, int iypts);
void zaxis(float xa, float xe, float xor_, float xstp, int nl, const char* s, int it, int id, int nx, int ny);
void zaxlg(float xa, float xe, float xor_, float xstp, int nl, const char* s, int it, int id, int nx, int ny);
void zscale(float x1, float x2);
void setres(int i1, int i2);
void autres(int i1, int i2);
void nobar();
void nobgd();
void vkxbar(int i);
void vkybar(int i);
void widbar(int i);
void sursze(float x1, float x2, float x3, float x4);
void shdmod(const char* s1, const char* s2);

}  // namespace korval
