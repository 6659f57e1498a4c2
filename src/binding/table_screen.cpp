// Rows of the screen-window routines.
#include "binding/wrap_cursor.hpp"
#include "korval/korval.hpp"

namespace {

using korval::binding::make_cursor_row;

struct Register {
    Register() {
        korval::binding::add_rows({
            KORVAL_ROW(opnwin, "i"),
            KORVAL_ROW(clswin, "i"),
            KORVAL_ROW(selwin, "i"),
            KORVAL_ROW(winid, ""),
            KORVAL_ROW(wintit, "s"),
            KORVAL_ROW(winmod, "s"),
            KORVAL_ROW(winkey, "s"),
            KORVAL_ROW(winopt, "i, s"),
            KORVAL_ROW(sendmb, ""),
            KORVAL_ROW(csrpt1, "i1, i2"),
            make_cursor_row("csrpts", "Usage: Korval::csrpts(n1ray, n2ray, nmax, n, iret)", &korval::csrpts),
            make_cursor_row("csrmov", "Usage: Korval::csrmov(n1ray, n2ray, nmax, n, iret)", &korval::csrmov),
            KORVAL_ROW(csruni, "s"),
            KORVAL_ROW(getscr, "i1, i2"),
            KORVAL_ROW(setxid, "i, s"),
            KORVAL_ROW(getxid, "s"),
        });
    }
} reg;

}  // namespace
