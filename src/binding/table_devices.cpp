// Rows of the output-selection routines.
#include "binding/wrap.hpp"
#include "korval/korval.hpp"

namespace {

struct Register {
    Register() {
        korval::binding::add_rows({
            KORVAL_ROW(metafl, "s"),
            KORVAL_ROW(setpag, "s"),
            KORVAL_ROW(page, "i1, i2"),
            KORVAL_ROW(pagmod, "s"),
            KORVAL_ROW(hwpage, "i1, i2"),
            KORVAL_ROW(hworig, "i1, i2"),
            KORVAL_ROW(sclfac, "x"),
            KORVAL_ROW(sclmod, "s"),
            KORVAL_ROW(units, "s"),
            KORVAL_ROW(setfil, "s"),
            KORVAL_ROW(filmod, "s"),
            KORVAL_ROW(scrmod, "s"),
            KORVAL_ROW(window, "i1, i2, i3, i4"),
            KORVAL_ROW(winsiz, "i1, i2"),
            KORVAL_ROW(getfil, ""),
            KORVAL_ROW(getmfl, ""),
            KORVAL_ROW(getpag, "i1, i2"),
            KORVAL_ROW(sendbf, ""),
            KORVAL_ROW(x11mod, "s"),
            KORVAL_ROW(symfil, "s1, s2"),
            KORVAL_ROW(cgmver, "i"),
            KORVAL_ROW(cgmpic, "s"),
            KORVAL_ROW(cgmbgd, "x1, x2, x3"),
            KORVAL_ROW(wmfmod, "s1, s2"),
            KORVAL_ROW(filbox, "i1, i2, i3, i4"),
            KORVAL_ROW(filclr, "s"),
            KORVAL_ROW(incfil, "s"),
        });
    }
} reg;

}  // namespace
