// Rows of the pipeline routines: lines, origin, clipping.
#include "binding/wrap.hpp"
#include "korval/korval.hpp"

namespace {

struct Register {
    Register() {
        korval::binding::add_rows({
            KORVAL_ROW(line, "i1, i2, i3, i4"),
            KORVAL_ROW(origin, "i1, i2"),
            KORVAL_ROW(pagorg, "s"),
            KORVAL_ROW(pagera, ""),
            KORVAL_ROW(clpwin, "i1, i2, i3, i4"),
            KORVAL_ROW(clpbor, "s"),
            KORVAL_ROW(clpmod, "s"),
            KORVAL_ROW(noclip, ""),
        });
    }
} reg;

}  // namespace
