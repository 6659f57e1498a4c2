// User routines of the screen windows: windows, titles, waits and the
// cursor input.
#pragma once

namespace korval {

void opnwin(int id);
void clswin(int id);
void selwin(int id);
int winid();
void wintit(const char* s);
void winmod(const char* s);
void winkey(const char* s);
void winopt(int n, const char* s);
void sendmb();
void csrpt1(int& ix, int& iy);
// ix and iy hold at least nmax elements.
void csrpts(int* ix, int* iy, int nmax, int& n, int& iret);
void csrmov(int* ix, int* iy, int nmax, int& n, int& iret);
void csruni(const char* s);
void setxid(int id, const char* s);
int getxid(const char* s);
void getscr(int& nw, int& nh);

}  // namespace korval
