// Rows of the axis-system routines.
#include "binding/wrap.hpp"
#include "korval/korval.hpp"

namespace {

struct Register {
    Register() {
        korval::binding::add_rows({
            KORVAL_ROW(axspos, "i1, i2"),
            KORVAL_ROW(axslen, "nxl, nyl"),
            KORVAL_ROW(axsorg, "i1, i2"),
            KORVAL_ROW(axsscl, "s1, s2"),
            KORVAL_ROW(scale, "s1, s2"),
            KORVAL_ROW(axstyp, "s"),
            KORVAL_ROW(axsbgd, "i"),
            KORVAL_ROW(ax2grf, ""),
            KORVAL_ROW(setgrf, "s1, s2, s3, s4"),
            KORVAL_ROW(frame, "i"),
            KORVAL_ROW(grace, "i"),
            KORVAL_ROW(nograf, ""),
            KORVAL_ROW(center, ""),
            KORVAL_ROW(neglog, "x"),
            KORVAL_ROW_SIZES(setscl, "x1ray, n, s", "x1ray=n"),
            KORVAL_ROW(polmod, "s1, s2"),
            KORVAL_ROW(getgrf, "x1, x2, x3, x4, s"),
            KORVAL_ROW(getpos, "i1, i2"),
            KORVAL_ROW(getlen, "i1, i2, i3"),
            KORVAL_ROW(getscl, "i1, i2, i3"),
            KORVAL_ROW(nxposn, "x"),
            KORVAL_ROW(nyposn, "x"),
            KORVAL_ROW(xposn, "x"),
            KORVAL_ROW(yposn, "x"),
            KORVAL_ROW(xinvrs, "ix"),
            KORVAL_ROW(yinvrs, "ix"),
            KORVAL_ROW_SIZES(trfrel, "x1ray, x2ray, n", "x1ray=n x2ray=n"),
            KORVAL_ROW(basdat, "i1, i2, i3"),
            KORVAL_ROW(incdat, "i1, i2, i3"),
            KORVAL_ROW(trfdat, "i1, i2, i3, i4"),
            KORVAL_ROW(nwkday, "i1, i2, i3"),
            KORVAL_ROW(labels, "s1, s2"),
            KORVAL_ROW(labdig, "i, s"),
            KORVAL_ROW(digits, "i, s"),
            KORVAL_ROW(intax, ""),
            KORVAL_ROW(labdis, "i, s"),
            KORVAL_ROW(labtyp, "s1, s2"),
            KORVAL_ROW(labjus, "s1, s2"),
            KORVAL_ROW(labpos, "s1, s2"),
            KORVAL_ROW(labmod, "s1, s2, s3"),
            KORVAL_ROW(labclr, "i, s"),
            KORVAL_ROW(mylab, "s1, i, s2"),
            KORVAL_ROW(rgtlab, ""),
            KORVAL_ROW(ticks, "i, s"),
            KORVAL_ROW(ticlen, "i1, i2"),
            KORVAL_ROW(ticpos, "s1, s2"),
            KORVAL_ROW(ticmod, "s1, s2"),
            KORVAL_ROW(logtic, "s"),
            KORVAL_ROW(name, "s1, s2"),
            KORVAL_ROW(namdis, "i, s"),
            KORVAL_ROW(namjus, "s1, s2"),
            KORVAL_ROW(hname, "i"),
            KORVAL_ROW(rvynam, ""),
            KORVAL_ROW(noline, "s"),
            KORVAL_ROW(axends, "s1, s2"),
            KORVAL_ROW(axclrs, "i, s1, s2"),
            KORVAL_ROW(timopt, ""),
            KORVAL_ROW(gettic, "i1, i2, i3"),
            KORVAL_ROW(gettcl, "i1, i2"),
            KORVAL_ROW(getdig, "i1, i2, i3"),
        });
    }
} reg;

}  // namespace
