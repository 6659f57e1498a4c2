// User routines of rectangles, filled points, annular sectors and wind
// barbs, in plot coordinates and in user coordinates.
#pragma once

namespace korval {

void rectan(int nx, int ny, int nw, int nh);
void recfll(int nx, int ny, int nw, int nh, int ncol);
void rndrec(int nx, int ny, int nw, int nh, int iopt);
void point(int nx, int ny, int nb, int nh, int ncol);
void sector(int nx, int ny, int nr1, int nr2, float alpha, float beta, int ncol);
void windbr(float vel, int nx, int ny, int nl, float angle);
void rlrec(float x, float y, float w, float h);
void rlrnd(float x, float y, float w, float h, int iopt);
void rlpoin(float x, float y, int nb, int nh, int ncol);
void rlsec(float xm, float ym, float r1, float r2, float alpha, float beta, int ncol);
void rlwind(float vel, float x, float y, int nl, float angle);

}  // namespace korval
