// User routines of the bar graphs, pie charts and legends.
#pragma once

namespace korval {

void bars(const float* xray, const float* y1ray, const float* y2ray, int n);
void barwth(float w);
void barmod(const char* s1, const char* s2);
void bargrp(int n, float gap);
void barpos(const char* s);
void baropt(float depth, float angle);
void barclr(int ic1, int ic2, int ic3);
void barbor(int ic);
void bartyp(const char* s);
void chnbar(const char* s);
void patcyc(int index, int pattern);

void piegrf(const char* cbuf, int nlin, const float* xray, int n);
void pietyp(const char* s);
void pieopt(float thick, float angle);
void piebor(int ic);
void pieclr(const int* ic1, const int* ic2, int n);
void pieexp();
void chnpie(const char* s);
void pielab(const char* s1, const char* s2);
void pievec(int ivec, const char* s);

// The legend buffer is the caller's: legini fills nlin * nmaxln characters
// (plus the terminator) with blanks; leglin changes one line in place.
void legini(char* cbuf, int nlin, int nmaxln);
void leglin(char* cbuf, const char* cstr, int ilin);
void legtit(const char* s);
void legpos(int nx, int ny);
void legopt(float f1, float f2, float f3);
void legpat(int ltyp, int ithk, int isym, int iclr, int ipat, int ilin);
void legclr();
void mixleg();
int nxlegn(const char* cbuf);
int nylegn(const char* cbuf);
void legend(const char* cbuf, int nlen);

}  // namespace korval
