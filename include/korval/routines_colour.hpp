// User routines of line styles, line widths and colours; area filling,
// shading patterns and blanking.
#pragma once

namespace korval {

// Line types and patterns
void solid();
void dot();
void dash();
void chndsh();
void chndot();
void dashm();
void dotl();
void dashl();
void lintyp(int i);
void myline(const int* nray, int n);

// Line width, caps, joins
void linwid(int i);
void penwid(float x);
void lncap(const char* s);
void lnjoin(const char* s);
void lnmlt(float x);
int getlin();

// Colours and colour tables
void color(const char* s);
void setclr(int i);
int getclr();
void setrgb(float xr, float xg, float xb);
void setind(int i, float xr, float xg, float xb);
void getind(int i, float& xr, float& xg, float& xb);
void getrgb(float& xr, float& xg, float& xb);
void setvlt(const char* s);
const char* getvlt();
void myvlt(const float* xr, const float* xg, const float* xb, int n);
void colran(int i1, int i2);
void lincyc(int i, int ityp);
void clrcyc(int i, int iclr);
void hsvrgb(float xh, float xs, float xv, float& xr, float& xg, float& xb);
void rgbhsv(float xr, float xg, float xb, float& xh, float& xs, float& xv);
// revscr(): exchanges black and white in the current colour table: every
// entry that is exactly black becomes white and every exactly white one
// black; other colours stay.  The colour indices (and the current colour)
// are unchanged, so a picture drawn white on black turns black on white.
// It acts on the table in force (levels 1 to 3); korini and setvlt load a
// fresh table.
void revscr();

// Shading patterns and filled areas
void shdpat(int n);
void mypat(int iang, int itype, int idens, int icross);
void areaf(const int* nxray, const int* nyray, int n);
void rlarea(const float* xray, const float* yray, int n);
void noarln();

// Blanking
void shield(const char* area, const char* mode);
void shlrec(int nx, int ny, int nw, int nh);
void shlrct(int nx, int ny, int nw, int nh, float angle);
void shlcir(int nx, int ny, int nr);
void shlell(int nx, int ny, int na, int nb, float angle);
void shlpie(int nx, int ny, int nr, float alpha, float beta);
void shlpol(const int* nxray, const int* nyray, int n);
void shldel(int id);
void shlres(int n);
void shlvis(int id, const char* s);
int shlind();
void shlsur();

}  // namespace korval
