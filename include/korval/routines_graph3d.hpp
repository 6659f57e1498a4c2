// User routines of the three-dimensional graphics: the colour axis system,
// colour bars and matrices painted as coloured rectangles; the 3-D axis
// system with its camera, planes, lines and curves; the depth buffer and
// the lights; surfaces.
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
// The colour index of a z value (the colour scale of graf3 and graf3d).
int nzposn(float z);

// ---- the 3-D axis system ------------------------------------------------
void graf3d(float xa, float xe, float xor_, float xstp, float ya, float ye, float yor, float ystp, float za,
            float ze, float zor, float zstp);
void ax3len(int nxl, int nyl, int nzl);
void axis3d(float x1, float x2, float x3);
void view3d(float x1, float x2, float x3, const char* s);
void vfoc3d(float x1, float x2, float x3, const char* s);
void vang3d(float x);
void vup3d(float x);
void vclp3d(float x1, float x2);
void clip3d(const char* s);
// Label orientation of the 3-D axes: "STAN" in the planes of the box,
// "HORI" horizontal on the page, "PARA" parallel to the projected axes,
// "OTHE" parallel for X and Y, horizontal for Z.
void labl3d(const char* s1);
// Also the labels where two axes meet (off by default).
void flab3d();
void box3d();
void grid3d(int i1, int i2, const char* s);
void grfini(float x1, float y1, float z1, float x2, float y2, float z2, float x3, float y3, float z3);
void grffin();
void abs3pt(float x, float y, float z, float& xp, float& yp);
void rel3pt(float x, float y, float z, float& xp, float& yp);
void pos3pt(float x, float y, float z, float& xp, float& yp, float& zp);
float x3dabs(float x, float y, float z);
float y3dabs(float x, float y, float z);
float x3dpos(float x, float y, float z);
float y3dpos(float x, float y, float z);
float z3dpos(float x, float y, float z);
float x3drel(float x, float y, float z);
float y3drel(float x, float y, float z);
void strt3d(float x1, float x2, float x3);
void conn3d(float x1, float x2, float x3);
void curv3d(const float* x1ray, const float* x2ray, const float* x3ray, int n);
// An arrow between two points in user coordinates (arrow code as vector).
void vectr3(float x1, float x2, float x3, float x4, float x5, float x6, int i);
// A sphere: centre and radius in user coordinates, n segments around, m
// from pole to pole; shaded (lit when light is on).
void sphe3d(float x1, float x2, float x3, float x4, int i1, int i2);
void bars3d(const float* x1ray, const float* x2ray, const float* x3ray, const float* x4ray,
            const float* x5ray, const float* x6ray, const int* n1ray, int n);

// ---- depth buffer and lights ---------------------------------------------
int zbfini();
void zbffin();
void zbftri(const float* x1ray, const float* x2ray, const float* x3ray, const int* iray);
void zbflin(float x1, float y1, float z1, float x2, float y2, float z2);
void light(const char* s);
void litmod(int i, const char* s);
void litpos(int i, float x, float y, float z, const char* s);
void litopt(int i, float x, const char* s);
void matopt(float x, const char* s);
// The colour index the lights give a point with a normal (user coordinates).
int getlit(float xp, float yp, float zp, float xn, float yn, float zn);

// ---- surfaces ----------------------------------------------------------------
using SurfaceFunction = float (*)(float x, float y);
using ParametricFunction = float (*)(float s, float t, int iop);  // iop 1: x, 2: y, 3: z
void surfce(const float* x1ray, int nx, const float* x2ray, int ny, const float* xmat);
void surmat(const float* x1ray, int nx, int ny, int ixpts, int iypts);
void surfun(SurfaceFunction f, int i1, float a1, int i2, float a2);
void surfcp(ParametricFunction f, float a1, float a2, float a3, float b1, float b2, float b3);
void surshd(const float* x1ray, int nx, const float* x2ray, int ny, const float* xmat);
void surtri(const float* x1ray, const float* x2ray, const float* x3ray, int n, const int* n1ray,
            const int* n2ray, const int* n3ray, int ntri);
void suriso(const float* x1ray, int nx, const float* x2ray, int ny, const float* x3ray, int nz,
            const float* wmat, float wlev);
void survis(const char* s);
void surclr(int i1, int i2);
void suropt(const char* s);
void surmsh(const char* s);
// The colour of the grid lines of shaded surfaces (-1: the current colour).
void mshclr(int i);
// Surfaces without hidden-line removal.
void nohide();

}  // namespace korval
