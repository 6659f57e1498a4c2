// Rows of the three-dimensional graphics routines.
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
            KORVAL_ROW(nzposn, "x"),
            KORVAL_ROW(graf3d, "xa, xe, xor, xstp, ya, ye, yor, ystp, za, ze, zor, zstp"),
            KORVAL_ROW(ax3len, "nxl, nyl, nzl"),
            KORVAL_ROW(axis3d, "x1, x2, x3"),
            KORVAL_ROW(view3d, "x1, x2, x3, s"),
            KORVAL_ROW(vfoc3d, "x1, x2, x3, s"),
            KORVAL_ROW(vang3d, "x"),
            KORVAL_ROW(vup3d, "x"),
            KORVAL_ROW(vclp3d, "x1, x2"),
            KORVAL_ROW(clip3d, "s"),
            KORVAL_ROW(labl3d, "s1"),
            KORVAL_ROW(flab3d, ""),
            KORVAL_ROW(box3d, ""),
            KORVAL_ROW(grid3d, "i1, i2, s"),
            KORVAL_ROW(grfini, "x1, y1, z1, x2, y2, z2, x3, y3, z3"),
            KORVAL_ROW(grffin, ""),
            KORVAL_ROW(abs3pt, "x, y, z, xp, yp"),
            KORVAL_ROW(rel3pt, "x, y, z, xp, yp"),
            KORVAL_ROW(pos3pt, "x, y, z, xp, yp, zp"),
            KORVAL_ROW(x3dabs, "x, y, z"),
            KORVAL_ROW(y3dabs, "x, y, z"),
            KORVAL_ROW(x3dpos, "x, y, z"),
            KORVAL_ROW(y3dpos, "x, y, z"),
            KORVAL_ROW(z3dpos, "x, y, z"),
            KORVAL_ROW(x3drel, "x, y, z"),
            KORVAL_ROW(y3drel, "x, y, z"),
            KORVAL_ROW(strt3d, "x1, x2, x3"),
            KORVAL_ROW(conn3d, "x1, x2, x3"),
            KORVAL_ROW_SIZES(curv3d, "x1ray, x2ray, x3ray, n", "x1ray=n x2ray=n x3ray=n"),
            KORVAL_ROW(vectr3, "x1, x2, x3, x4, x5, x6, i"),
            KORVAL_ROW(sphe3d, "x1, x2, x3, x4, i1, i2"),
            KORVAL_ROW_SIZES(bars3d, "x1ray, x2ray, x3ray, x4ray, x5ray, x6ray, n1ray, n",
                             "x1ray=n x2ray=n x3ray=n x4ray=n x5ray=n x6ray=n n1ray=n"),
            KORVAL_ROW(zbfini, ""),
            KORVAL_ROW(zbffin, ""),
            KORVAL_ROW_SIZES(zbftri, "x1ray, x2ray, x3ray, iray", "x1ray=3 x2ray=3 x3ray=3 iray=3"),
            KORVAL_ROW(zbflin, "x1, y1, z1, x2, y2, z2"),
            KORVAL_ROW(light, "s"),
            KORVAL_ROW(litmod, "i, s"),
            KORVAL_ROW(litpos, "i, x, y, z, s"),
            KORVAL_ROW(litopt, "i, x, s"),
            KORVAL_ROW(matopt, "x, s"),
            KORVAL_ROW(getlit, "xp, yp, zp, xn, yn, zn"),
        });
    }
} reg;

}  // namespace
