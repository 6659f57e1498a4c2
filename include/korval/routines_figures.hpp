// User routines of the geometric figures: circles, ellipses, arcs, pie
// slices and arrows, in plot coordinates and in user coordinates.
#pragma once

namespace korval {

void circle(int nx, int ny, int nr);
void ellips(int nx, int ny, int na, int nb);
void arcell(int nx, int ny, int na, int nb, float alpha, float beta, float theta);
void pie(int nx, int ny, int nr, float alpha, float beta);
void vector(int nx1, int ny1, int nx2, int ny2, int ivec);
void circsp(int n);
void rlcirc(float xm, float ym, float r);
void rlell(float xm, float ym, float a, float b);
void rlarc(float xm, float ym, float a, float b, float alpha, float beta, float theta);
void rlpie(float xm, float ym, float r, float alpha, float beta);
void rlvec(float x1, float y1, float x2, float y2, int ivec);

}  // namespace korval
