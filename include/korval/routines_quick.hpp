// User routines of the quick plots: one call draws a complete standard plot
// (korini if needed, automatic scaling, the plot, the title, korfin).
#pragma once

namespace korval {

void qplot(const float* x1ray, const float* x2ray, int n);
void qplsca(const float* x1ray, const float* x2ray, int n);
void qplbar(const float* x1ray, int n);
void qplpie(const float* x1ray, int n);
void qplcon(const float* x1ray, int nx, int ny, int nlev);
void qplclr(const float* x1ray, int nx, int ny);
void qplsur(const float* x1ray, int nx, int ny);

}  // namespace korval
