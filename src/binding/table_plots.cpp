// Rows of the curve and symbol routines.
#include "binding/wrap.hpp"
#include "binding/wrap_filled.hpp"
#include "korval/korval.hpp"

namespace {

// spline produces spline_points + 1 points: at most 30001.
constexpr std::size_t kSplineCapacity = 30001;

struct Register {
    Register() {
        korval::binding::add_rows({
            KORVAL_ROW_SIZES(curve, "x1ray, x2ray, n", "x1ray=n x2ray=n"),
            KORVAL_ROW(polcrv, "s"),
            KORVAL_ROW(splmod, "i1, i2"),
            korval::binding::make_filled_row<kSplineCapacity>(
                "spline", "Usage: Korval::spline(x1ray, x2ray, n, x3ray, x4ray)", &korval::spline,
                "x1ray=n x2ray=n"),
            KORVAL_ROW(thkcrv, "i"),
            KORVAL_ROW(gapcrv, "x"),
            KORVAL_ROW(inccrv, "i"),
            KORVAL_ROW(chncrv, "s"),
            KORVAL_ROW_SIZES(errbar, "x1ray, x2ray, x3ray, x4ray, n", "x1ray=n x2ray=n x3ray=n x4ray=n"),
            KORVAL_ROW(incmrk, "i"),
            KORVAL_ROW(marker, "i"),
            KORVAL_ROW(hsymbl, "i"),
            KORVAL_ROW(symrot, "x"),
            KORVAL_ROW(symbol, "i1, i2, i3"),
            KORVAL_ROW(rlsymb, "i, x1, x2"),
            KORVAL_ROW_SIZES(mysymb, "x1ray, x2ray, n, isym, iflag", "x1ray=n x2ray=n"),
        });
    }
} reg;

}  // namespace
