// User routines of the vector pipeline: lines, origin, clipping.
#pragma once

namespace korval {

void line(int nx1, int ny1, int nx2, int ny2);
void origin(int nx, int ny);
void pagorg(const char* s);
void pagera();
void clpwin(int nx, int ny, int nw, int nh);
void clpbor(const char* s);
void clpmod(const char* s);
void noclip();

}  // namespace korval
