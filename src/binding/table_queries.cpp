// Rows of the queries of settings owned by other subsystems.
#include "binding/wrap.hpp"
#include "korval/korval.hpp"

namespace {

struct Register {
    Register() {
        korval::binding::add_rows({
            KORVAL_ROW(getang, ""),
            KORVAL_ROW(getbpp, ""),
            KORVAL_ROW(getclp, "i1, i2, i3, i4"),
            KORVAL_ROW(getdsp, ""),
            KORVAL_ROW(gethgt, ""),
            KORVAL_ROW(getlab, "s1, s2, s3"),
            KORVAL_ROW(getpat, ""),
            KORVAL_ROW(getplv, ""),
            KORVAL_ROW(getran, "i1, i2"),
            KORVAL_ROW(getres, "i1, i2"),
            KORVAL_ROW(getshf, "s"),
            KORVAL_ROW(getsp1, "i1, i2, i3"),
            KORVAL_ROW(getsp2, "i1, i2, i3"),
            KORVAL_ROW(getsym, "i1, i2"),
            KORVAL_ROW(gettyp, ""),
            KORVAL_ROW(getuni, ""),
            KORVAL_ROW(getvk, "i1, i2, i3"),
            KORVAL_ROW(getwid, ""),
            KORVAL_ROW(getwin, "i1, i2, i3, i4"),
        });
    }
} reg;

}  // namespace
