// User routines of the vector field plot and the data utilities: sorting,
// statistics, conversions, matrices, binary files, bits and strings.
#pragma once

#include "korval/types.hpp"

namespace korval {

void field(const float* x1, const float* y1, const float* x2, const float* y2, int n, int ivec);
void sortr1(float* x, int n, const char* copt);
void sortr2(float* x, float* y, int n, const char* copt);
// Distinct values of x into xh (ascending) and their counts into yh (n
// elements each at most); returns the number of distinct values.
int histog(const float* x, int n, float* xh, float* yh);
float moment(const float* x, int n, const char* copt);
// npt points of the Bezier curve of n control points into xo, yo.
void bezier(const float* xc, const float* yc, int n, float* xo, float* yo, int npt);
void trfco1(float* x, int n, const char* cfrom, const char* cto);
void trfco2(float* x, float* y, int n, const char* cfrom, const char* cto);
void trfco3(float* x, float* y, float* z, int n, const char* cfrom, const char* cto);
// zmat (nx by ny) resampled into zmat2 (nx2 by ny2).
void trfmat(const float* zmat, int nx, int ny, float* zmat2, int nx2, int ny2);
// Scattered points gridded into zmat (nx by ny).
void getmat(const float* x, const float* y, const float* z, int n, float* zmat, int nx, int ny, float zval);
void mdfmat(int ix, int iy, float p);
// Colour indices of values on the current colour scale (-1 for values that
// are no numbers).
void colray(const float* z, int* colours, int n);

// Binary files on units 0..99.
int openfl(const char* cfile, int nlu, int irw);
int closfl(int nlu);
int readfl(int nlu, unsigned char* buffer, int nbyte);
int writfl(int nlu, const unsigned char* buffer, int nbyte);
int skipfl(int nlu, int nbyte);
int posifl(int nlu, int npos);
int tellfl(int nlu);

// Bits, bytes and strings.
int bitsi2(int nbits, int mher, int iher, int mhin, int ihin);
int bitsi4(int nbits, int mher, int iher, int mhin, int ihin);
void swapi2(int* v, int n);
void swapi4(int* v, int n);
int trmlen(const char* s);
void upstr(char* s);
const char* intcha(int i);
int intlen(int i);
const char* fcha(float x, int i);
int flen(float x, int i);
// The current date "dd.mm.yyyy" and time "hh:mm:ss".
void dattim(OutString<11> date, OutString<9> time);

}  // namespace korval
