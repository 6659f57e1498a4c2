// Rows of the quick plots, the pen routines in user coordinates, the base
// transformation and the smaller page, label and attribute routines.
#include "binding/wrap.hpp"
#include "korval/korval.hpp"

namespace {

struct Register {
    Register() {
        korval::binding::add_rows({
            KORVAL_ROW_SIZES(qplot, "x1ray, x2ray, n", "x1ray=n x2ray=n"),
            KORVAL_ROW_SIZES(qplsca, "x1ray, x2ray, n", "x1ray=n x2ray=n"),
            KORVAL_ROW_SIZES(qplbar, "x1ray, n", "x1ray=n"),
            KORVAL_ROW_SIZES(qplpie, "x1ray, n", "x1ray=n"),
            KORVAL_ROW_SIZES(qplcon, "x1ray, nx, ny, nlev", "x1ray=nx*ny"),
            KORVAL_ROW_SIZES(qplclr, "x1ray, nx, ny", "x1ray=nx*ny"),
            KORVAL_ROW_SIZES(qplsur, "x1ray, nx, ny", "x1ray=nx*ny"),
            KORVAL_ROW(rline, "x1, x2, x3, x4"),
            KORVAL_ROW(rlstrt, "x1, x2"),
            KORVAL_ROW(rlconn, "x1, x2"),
            KORVAL_ROW(strtpt, "x1, x2"),
            KORVAL_ROW(xmove, "x1, x2"),
            KORVAL_ROW(xdraw, "x1, x2"),
            KORVAL_ROW(xjdraw, "x1, x2, i"),
            KORVAL_ROW(trfrot, "x, i1, i2"),
            KORVAL_ROW(trfscl, "x1, x2"),
            KORVAL_ROW(trfshf, "i1, i2"),
            KORVAL_ROW(trfres, ""),
            KORVAL_ROW(pagfll, "i"),
            KORVAL_ROW(clrmod, "s"),
            KORVAL_ROW(revscr, ""),
            KORVAL_ROW(chnatt, ""),
            KORVAL_ROW(resatt, ""),
            KORVAL_ROW(setbas, "x"),
            KORVAL_ROW(setexp, "x"),
            KORVAL_ROW(shdcha, ""),
            KORVAL_ROW(nofill, ""),
            KORVAL_ROW(expzlb, "s"),
            KORVAL_ROW(addlab, "s1, v, i, s2"),
            KORVAL_ROW(paghdr, "s1, s2, i1, i2"),
            KORVAL_ROW(tiforg, "i1, i2"),
            KORVAL_ROW(tifwin, "i1, i2, i3, i4"),
            KORVAL_ROW(wtiff, "s"),
            KORVAL_ROW_SIZES(shdcrv, "x1ray, x2ray, n, x3ray, x4ray, m", "x1ray=n x2ray=n x3ray=m x4ray=m"),
        });
    }
} reg;

}  // namespace
