// Rows of the bar graphs, pie charts and legends.
#include "binding/wrap.hpp"
#include "korval/korval.hpp"

namespace {

struct Register {
    Register() {
        korval::binding::add_rows({
            KORVAL_ROW_SIZES(bars, "x1ray, x2ray, x3ray, n", "x1ray=n x2ray=n x3ray=n"),
            KORVAL_ROW(barwth, "x"),
            KORVAL_ROW(barmod, "s1, s2"),
            KORVAL_ROW(bargrp, "i, x"),
            KORVAL_ROW(barpos, "s"),
            KORVAL_ROW(baropt, "x1, x2"),
            KORVAL_ROW(barclr, "i1, i2, i3"),
            KORVAL_ROW(barbor, "n"),
            KORVAL_ROW(bartyp, "s"),
            KORVAL_ROW(chnbar, "s"),
            KORVAL_ROW(patcyc, "i1, i2"),
            KORVAL_ROW_SIZES(piegrf, "s, nlin, x1ray, n", "x1ray=n"),
            KORVAL_ROW(pietyp, "s"),
            KORVAL_ROW(pieopt, "x1, x2"),
            KORVAL_ROW(piebor, "n"),
            KORVAL_ROW_SIZES(pieclr, "n1ray, n2ray, n", "n1ray=n n2ray=n"),
            KORVAL_ROW(pieexp, ""),
            KORVAL_ROW(chnpie, "s"),
            KORVAL_ROW(pielab, "s1, s2"),
            KORVAL_ROW(pievec, "i, s"),
        });
    }
} reg;

}  // namespace
