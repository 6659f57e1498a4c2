// User routines of the contour plots: contour lines of matrices and of
// triangulated scattered data, shaded contours, the triangulation itself
// and the label settings of contour lines.
#pragma once

namespace korval {

// Matrices: z(i, j) at index i * ny + j.
void contur(const float* x1ray, int nx, const float* x2ray, int ny, const float* xmat, float zlev);
void conmat(const float* x1ray, int nx, int ny, float zlev);
// Contour points without drawing: nlins lines, line k with nray[k]
// points, the points one after another in xpts/ypts; returns nlins.
int conpts(const float* x1ray, int nx, const float* x2ray, int ny, const float* xmat, float zlev, float* xpts,
           float* ypts, int maxpts, int* nray, int maxray);
void concrv(const float* x1ray, const float* x2ray, int n, float zlev);
void conshd(const float* x1ray, int nx, const float* x2ray, int ny, const float* xmat, const float* zlev,
            int nlev);
void conclr(const int* n1ray, int n);
void conlab(const char* s);
void congap(float x);
void conmod(float x1, float x2);
void connpt(float x1, float x2);

// Triangulation: x and y hold n + 3 elements (three auxiliary points are
// written behind the data); returns the number of triangles.
int triang(float* x1ray, float* x2ray, int n, int* n1ray, int* n2ray, int* n3ray, int nmax);
void circ3p(float x1, float y1, float x2, float y2, float x3, float y3, float& xm, float& ym, float& r);
void contri(const float* x1ray, const float* x2ray, const float* x3ray, int n, const int* n1ray,
            const int* n2ray, const int* n3ray, int ntri, float zlev);
void confll(const float* x1ray, const float* x2ray, const float* x3ray, int n, const int* n1ray,
            const int* n2ray, const int* n3ray, int ntri, const float* zlev, int nlev);
void crvtri(const float* x1ray, const float* x2ray, const float* x3ray, int n, const int* n1ray,
            const int* n2ray, const int* n3ray, int ntri);
int tripts(const float* x1ray, const float* x2ray, const float* x3ray, int n, const int* n1ray,
           const int* n2ray, const int* n3ray, int ntri, float zlev, float* xpts, float* ypts, int maxpts,
           int* nray, int maxray);

}  // namespace korval
