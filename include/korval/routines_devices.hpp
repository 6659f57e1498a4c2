// User routines of the output selection: formats, pages, files.
#pragma once

namespace korval {

void metafl(const char* s);
void setpag(const char* s);
void page(int nx, int ny);
void pagmod(const char* s);
void hwpage(int nw, int nh);
void hworig(int nx, int ny);
void sclfac(float x);
void sclmod(const char* s);
void units(const char* s);
void setfil(const char* s);
void filmod(const char* s);
void scrmod(const char* s);
void window(int nx, int ny, int nw, int nh);
void winsiz(int nw, int nh);
const char* getfil();
const char* getmfl();
void getpag(int& nx, int& ny);
void sendbf();
void x11mod(const char* s);
void symfil(const char* device, const char* option);

// CGM, WMF and file inclusion.
void cgmver(int n);
void cgmpic(const char* s);
void cgmbgd(float r, float g, float b);
void wmfmod(const char* mode, const char* key);
void filbox(int nx, int ny, int nw, int nh);
void filclr(const char* s);
void incfil(const char* name);

}  // namespace korval
