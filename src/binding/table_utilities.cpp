// Rows of the vector field plot and the data utilities.
#include "binding/wrap.hpp"
#include "binding/wrap_utilities.hpp"
#include "korval/korval.hpp"

namespace {

using korval::binding::make_special_row;

struct Register {
    Register() {
        korval::binding::add_rows({
            KORVAL_ROW_SIZES(field, "x1ray, x2ray, x3ray, x4ray, n, ivec", "x1ray=n x2ray=n x3ray=n x4ray=n"),
            KORVAL_ROW_SIZES(sortr1, "x1ray, n, s", "x1ray=n"),
            KORVAL_ROW_SIZES(sortr2, "x1ray, x2ray, n, s", "x1ray=n x2ray=n"),
            make_special_row("histog", "Usage: Korval::histog(x1ray, n, x2ray, x3ray)", &korval::histog,
                             &korval::binding::histog_xsub, "x1ray=n"),
            KORVAL_ROW_SIZES(moment, "x1ray, n, s", "x1ray=n"),
            make_special_row("bezier", "Usage: Korval::bezier(x1ray, x2ray, n, x3ray, x4ray, npt)",
                             &korval::bezier, &korval::binding::bezier_xsub, "x1ray=n x2ray=n"),
            KORVAL_ROW_SIZES(trfco1, "x1ray, n, s1, s2", "x1ray=n"),
            KORVAL_ROW_SIZES(trfco2, "x1ray, x2ray, n, s1, s2", "x1ray=n x2ray=n"),
            KORVAL_ROW_SIZES(trfco3, "x1ray, x2ray, x3ray, n, s1, s2", "x1ray=n x2ray=n x3ray=n"),
            make_special_row("trfmat", "Usage: Korval::trfmat(x1ray, nx, ny, xmat, nx2, ny2)",
                             &korval::trfmat, &korval::binding::trfmat_xsub, "x1ray=nx*ny"),
            make_special_row("getmat", "Usage: Korval::getmat(x1ray, x2ray, x3ray, n, xmat, nx, ny, zval)",
                             &korval::getmat, &korval::binding::getmat_xsub, "x1ray=n x2ray=n x3ray=n"),
            KORVAL_ROW(mdfmat, "i1, i2, x"),
            KORVAL_ROW_SIZES(colray, "x1ray, n1ray, n", "x1ray=n n1ray=n"),
            KORVAL_ROW(openfl, "s, i1, i2"),
            KORVAL_ROW(closfl, "i"),
            make_special_row("readfl", "Usage: Korval::readfl(nu, n1ray, nbyte)", &korval::readfl,
                             &korval::binding::readfl_xsub),
            make_special_row("writfl", "Usage: Korval::writfl(nu, cbuf, nbyte)", &korval::writfl,
                             &korval::binding::writfl_xsub),
            KORVAL_ROW(skipfl, "i1, i2"),
            KORVAL_ROW(posifl, "i1, i2"),
            KORVAL_ROW(tellfl, "i"),
            KORVAL_ROW(bitsi2, "i1, i2, i3, i4, i5"),
            KORVAL_ROW(bitsi4, "i1, i2, i3, i4, i5"),
            KORVAL_ROW_SIZES(swapi2, "n1ray, n", "n1ray=n"),
            KORVAL_ROW_SIZES(swapi4, "n1ray, n", "n1ray=n"),
            KORVAL_ROW(trmlen, "s"),
            make_special_row("upstr", "Usage: Korval::upstr(s)", &korval::upstr,
                             &korval::binding::upstr_xsub),
            KORVAL_ROW(intcha, "i"),
            KORVAL_ROW(intlen, "i"),
            KORVAL_ROW(fcha, "x, i"),
            KORVAL_ROW(flen, "x, i"),
            KORVAL_ROW(dattim, "s1, s2"),
        });
    }
} reg;

}  // namespace
