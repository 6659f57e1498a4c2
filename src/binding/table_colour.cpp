// Rows of the line-style, colour, fill and blanking routines.
#include "binding/wrap.hpp"
#include "korval/korval.hpp"

namespace {

struct Register {
    Register() {
        korval::binding::add_rows({
            KORVAL_ROW(solid, ""),
            KORVAL_ROW(dot, ""),
            KORVAL_ROW(dash, ""),
            KORVAL_ROW(chndot, ""),
            KORVAL_ROW(chndsh, ""),
            KORVAL_ROW(dashl, ""),
            KORVAL_ROW(dashm, ""),
            KORVAL_ROW(dotl, ""),
            KORVAL_ROW(lintyp, "i"),
            KORVAL_ROW_SIZES(myline, "n1ray, n", "n1ray=n"),
            KORVAL_ROW(linwid, "i"),
            KORVAL_ROW(penwid, "x"),
            KORVAL_ROW(lncap, "s"),
            KORVAL_ROW(lnjoin, "s"),
            KORVAL_ROW(lnmlt, "x"),
            KORVAL_ROW(getlin, ""),
            KORVAL_ROW(color, "s"),
            KORVAL_ROW(setclr, "i"),
            KORVAL_ROW(getclr, ""),
            KORVAL_ROW(setrgb, "xr, xg, xb"),
            KORVAL_ROW(setind, "i, x1, x2, x3"),
            KORVAL_ROW(getind, "i, x1, x2, x3"),
            KORVAL_ROW(getrgb, "xr, xg, xb"),
            KORVAL_ROW(setvlt, "s"),
            KORVAL_ROW(getvlt, ""),
            KORVAL_ROW_SIZES(myvlt, "x1ray, x2ray, x3ray, n", "x1ray=n x2ray=n x3ray=n"),
            KORVAL_ROW(colran, "i1, i2"),
            KORVAL_ROW(lincyc, "i1, i2"),
            KORVAL_ROW(clrcyc, "i1, i2"),
            KORVAL_ROW(hsvrgb, "x, y, z, xp, yp, zp"),
            KORVAL_ROW(rgbhsv, "x, y, z, xp, yp, zp"),
            KORVAL_ROW(shdpat, "i"),
            KORVAL_ROW(mypat, "i1, i2, i3, i4"),
            KORVAL_ROW_SIZES(areaf, "n1ray, n2ray, n", "n1ray=n n2ray=n"),
            KORVAL_ROW_SIZES(rlarea, "x1ray, x2ray, n", "x1ray=n x2ray=n"),
            KORVAL_ROW(noarln, ""),
            KORVAL_ROW(shield, "s1, s2"),
            KORVAL_ROW(shlrec, "i1, i2, i3, i4"),
            KORVAL_ROW(shlrct, "i1, i2, i3, i4, x"),
            KORVAL_ROW(shlcir, "i1, i2, i3"),
            KORVAL_ROW(shlell, "i1, i2, i3, i4, x"),
            KORVAL_ROW(shlpie, "i1, i2, i3, x1, x2"),
            KORVAL_ROW_SIZES(shlpol, "n1ray, n2ray, n", "n1ray=n n2ray=n"),
            KORVAL_ROW(shldel, "i"),
            KORVAL_ROW(shlres, "i"),
            KORVAL_ROW(shlvis, "i, s"),
            KORVAL_ROW(shlind, ""),
            KORVAL_ROW(shlsur, ""),
        });
    }
} reg;

}  // namespace
