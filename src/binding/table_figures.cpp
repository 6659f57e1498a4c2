// Rows of the geometric figures.
#include "binding/wrap.hpp"
#include "korval/korval.hpp"

namespace {

struct Register {
    Register() {
        korval::binding::add_rows({
            KORVAL_ROW(circle, "i1, i2, i3"),
            KORVAL_ROW(circsp, "i"),
            KORVAL_ROW(ellips, "i1, i2, i3, i4"),
            KORVAL_ROW(arcell, "i1, i2, i3, i4, x1, x2, x3"),
            KORVAL_ROW(pie, "i1, i2, i3, x1, x2"),
            KORVAL_ROW(vector, "i1, i2, i3, i4, i5"),
            KORVAL_ROW(rlarc, "x1, x2, x3, x4, x5, x6, x7"),
            KORVAL_ROW(rlcirc, "x1, x2, x3"),
            KORVAL_ROW(rlell, "x1, x2, x3, x4"),
            KORVAL_ROW(rlpie, "x1, x2, x3, x4, x5"),
            KORVAL_ROW(rlvec, "x1, x2, x3, x4, i"),
        });
    }
} reg;

}  // namespace
