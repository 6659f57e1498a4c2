// Rows of the rectangles, sectors and wind barbs.
#include "binding/wrap.hpp"
#include "korval/korval.hpp"

namespace {

struct Register {
    Register() {
        korval::binding::add_rows({
            KORVAL_ROW(point, "i1, i2, i3, i4, i5"),
            KORVAL_ROW(recfll, "i1, i2, i3, i4, i5"),
            KORVAL_ROW(rectan, "i1, i2, i3, i4"),
            KORVAL_ROW(rlpoin, "x1, x2, i1, i2, i3"),
            KORVAL_ROW(rlrec, "x1, x2, x3, x4"),
            KORVAL_ROW(rlrnd, "x1, x2, x3, x4, i"),
            KORVAL_ROW(rlsec, "x1, x2, x3, x4, x5, x6, i"),
            KORVAL_ROW(rlwind, "x1, x2, x3, i1, x4"),
            KORVAL_ROW(rndrec, "i1, i2, i3, i4, i5"),
            KORVAL_ROW(sector, "i1, i2, i3, i4, x1, x2, i5"),
            KORVAL_ROW(windbr, "x1, i1, i2, i3, x2"),
        });
    }
} reg;

}  // namespace
