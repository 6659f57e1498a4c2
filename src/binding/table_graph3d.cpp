// Rows of the colour 3-D plot routines.
#include "binding/wrap.hpp"
#include "korval/korval.hpp"

namespace {

struct Register {
    Register() {
        korval::binding::add_rows({
            KORVAL_ROW(graf3, "xa, xe, xor, xstp, ya, ye, yor, ystp, za, ze, zor, zstp"),
            KORVAL_ROW_SIZES(crvmat, "x1ray, nx, ny, ixpts, iypts", "x1ray=nx*ny"),
            KORVAL_ROW(zaxis, "xa, xe, xor, xstp, nl, s, it, id, nx, ny"),
            KORVAL_ROW(zaxlg, "xa, xe, xor, xstp, nl, s, it, id, nx, ny"),
            KORVAL_ROW(zscale, "x1, x2"),
            KORVAL_ROW(setres, "i1, i2"),
            KORVAL_ROW(autres, "i1, i2"),
            KORVAL_ROW(nobar, ""),
            KORVAL_ROW(nobgd, ""),
            KORVAL_ROW(vkxbar, "i"),
            KORVAL_ROW(vkybar, "i"),
            KORVAL_ROW(widbar, "i"),
            KORVAL_ROW(sursze, "x1, x2, x3, x4"),
            KORVAL_ROW(shdmod, "s1, s2"),
            KORVAL_ROW_SIZES(curve3, "x1ray, x2ray, x3ray, n", "x1ray=n x2ray=n x3ray=n"),
            KORVAL_ROW_SIZES(curvx3, "x1ray, y, x2ray, n", "x1ray=n x2ray=n"),
            KORVAL_ROW_SIZES(curvy3, "x, x1ray, x2ray, n", "x1ray=n x2ray=n"),
        });
    }
} reg;

}  // namespace
