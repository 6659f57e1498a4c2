// User routines of the axis systems: placement, scaling, labels, dates.
#pragma once

namespace korval {

// Placement and scaling
void axspos(int i1, int i2);
void axslen(int nxl, int nyl);
void axsorg(int i1, int i2);
void axsscl(const char* s1, const char* s2);
void scale(const char* s1, const char* s2);
void axstyp(const char* s);
void axsbgd(int i);
void ax2grf();
void setgrf(const char* s1, const char* s2, const char* s3, const char* s4);
void frame(int i);
void grace(int i);
void nograf();
void center();
void neglog(float x);
void setscl(const float* x1ray, int n, const char* s);
void polmod(const char* s1, const char* s2);
void graf(float xa, float xe, float xor_, float xstp, float ya, float ye, float yor, float ystp);

// Queries and conversions
void getgrf(float& x1, float& x2, float& x3, float& x4, const char* s);
void getpos(int& i1, int& i2);
void getlen(int& i1, int& i2, int& i3);
void getscl(int& i1, int& i2, int& i3);
int nxposn(float x);
int nyposn(float x);
float xposn(float x);
float yposn(float x);
float xinvrs(int ix);
float yinvrs(int ix);
void trfrel(float* x1ray, float* x2ray, int n);

// Dates
void basdat(int i1, int i2, int i3);
int incdat(int i1, int i2, int i3);
void trfdat(int i1, int& i2, int& i3, int& i4);
int nwkday(int i1, int i2, int i3);

}  // namespace korval

namespace korval {

// Axis labels, ticks and names
void labels(const char* s1, const char* s2);
void labdig(int i, const char* s);
void digits(int i, const char* s);
void intax();
void labdis(int i, const char* s);
void labtyp(const char* s1, const char* s2);
void labjus(const char* s1, const char* s2);
void labpos(const char* s1, const char* s2);
void labmod(const char* s1, const char* s2, const char* s3);
void labclr(int i, const char* s);
void mylab(const char* s1, int i, const char* s2);
void rgtlab();
void ticks(int i, const char* s);
void ticlen(int i1, int i2);
void ticpos(const char* s1, const char* s2);
void ticmod(const char* s1, const char* s2);
void logtic(const char* s);
void name(const char* s1, const char* s2);
void namdis(int i, const char* s);
void namjus(const char* s1, const char* s2);
void hname(int i);
void rvynam();
void noline(const char* s);
void axends(const char* s1, const char* s2);
void axclrs(int i, const char* s1, const char* s2);
void timopt();
// expzlb(s): the zero label of the exponent label formats ("EXP", "TEXP"):
// "ON" (the default) writes it in exponent form like the other labels,
// "OFF" as the plain number with the label digits ("0.0").  Any level;
// korini restores "ON".
void expzlb(const char* s);
void gettic(int& i1, int& i2, int& i3);
void gettcl(int& i1, int& i2);
void getdig(int& i1, int& i2, int& i3);
void getor(int& i1, int& i2);
void xaxis(float xa, float xe, float xor_, float xstp, int nl, const char* s, int it, int nx, int ny);
void yaxis(float xa, float xe, float xor_, float xstp, int nl, const char* s, int it, int nx, int ny);
void xaxlg(float xa, float xe, float xor_, float xstp, int nl, const char* s, int it, int nx, int ny);
void yaxlg(float xa, float xe, float xor_, float xstp, int nl, const char* s, int it, int nx, int ny);

}  // namespace korval

namespace korval {

// Titles, grids, origin lines and axes, frame
void titlin(const char* s, int i);
void titjus(const char* s);
void lfttit();
void titpos(const char* s);
void htitle(int i);
void vkytit(int i);
void linesp(float x);
void frmclr(int i);
void title();
void grid(int i1, int i2);
void grdpol(int i1, int i2);
void axgit();
void xaxgit();
void yaxgit();
void cross();
void xcross();
void ycross();
void box2d();
void polar(float xe, float xor_, float xstp, float yor, float ystp);

// addlab(s1, v, itic, s2): one additional label on an axis of the current
// cartesian axis system: the text s1 at the user value v on the lower x
// axis (s2 "X", centred below the axis at the label distance) or on the
// left y axis ("Y", right-justified before it, centred on the value), in
// the current character height.  itic 0 draws the text only, 1 also a
// major tick into the axis system, 2 a grid line across it.  A value off
// the axis, a bad itic or another axis system give warning 2.  An empty
// text draws only the tick or line.  Levels 2 and 3.
void addlab(const char* s1, float v, int itic, const char* s2);

// paghdr(s1, s2, icorner, ih): a page header line "s1  dd.mm.yyyy  hh:mm:ss
// Page n  s2" (s1, s2 left out when empty) in the corner icorner of the
// page: 1 lower left, 2 lower right, 3 upper right, 4 upper left, 5 mm from
// the page edges; ih is the character height in plot units, 0 for the
// current height (at most 1000).  Date and time are those of the protocol (fixed by
// SOURCE_DATE_EPOCH); n is the page number (newpag counts).  Other values
// give warning 2.  Levels 1 to 3.
void paghdr(const char* s1, const char* s2, int i1, int i2);

}  // namespace korval
