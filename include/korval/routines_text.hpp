// User routines of the text: messages and numbers, character attributes,
// fonts, alphabets, control characters and the number format.
#pragma once

#include "korval/types.hpp"

namespace korval {

// Text and numbers
void messag(const char* cstr, int nx, int ny);
void number(float x, int i1, int i2, int i3);
void rlmess(const char* s, float x1, float x2);
void rlnumb(float x1, int i, float x2, float x3);
int nlmess(const char* s);
int nlnumb(float x, int i);
void txtjus(const char* s);
void frmess(int i);

// Character attributes
void height(int i);
void angle(int ngrad);
void chaspc(float x);
void chawth(float x);
void chaang(float x);
void fixspc(float x);

// Fonts
void koralf();
void simplx();
void complx();
void duplx();
void triplx();
void helve();
void helves();
void serif();

// Hardware fonts
void psfont(const char* s);
void winfnt(const char* s);
void x11fnt(const char* s1, const char* s2);
void hwfont();

// Alphabets, control characters and national characters
void basalf(const char* s);
const char* getalf();
void smxalf(const char* s1, const char* s2, const char* s3, int i);
int gmxalf(const char* s1, OutString<2> s2, OutString<2> s3);
void mixalf();
void setmix(const char* s1, const char* s2);
void newmix();
const char* getmix(const char* s);
void eushft(const char* s1, const char* s2);
void chacod(const char* s);

// TeX mode
void texmod(const char* s);
void texopt(const char* s1, const char* s2);

// Number format of number and nlnumb
void numfmt(const char* s);
void numode(const char* s1, const char* s2, const char* s3, const char* s4);

// Exponents and indices inside a string: setbas(x) sets the baseline
// shift of an exponent (and of an index, downwards) as a factor of the
// current character height, 0 to 2, default 0.6; setexp(x) sets the height
// of exponents and indices as a factor of the current height, above 0 and
// at most 2, default 0.8.  Other values give warning 2.  Both are restored
// by korini (levels 1 to 3).
void setbas(float x);
void setexp(float x);

// The characters of the outline fonts (helve, helves, serif):
// shdcha() fills them with the current shading pattern (shdpat, mypat) and
//   draws their contours as well, so hatched characters keep their shape;
//   pattern 0 leaves the contours only, pattern 16 is the normal solid fill.
// nofill() draws only their contours, unfilled.
// The default (set again by korini) is the solid fill in the current
// colour.  Stroke fonts are not affected.
void shdcha();
void nofill();

}  // namespace korval
