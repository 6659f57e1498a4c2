// Rows of the run-control routines.
#include "binding/wrap.hpp"
#include "korval/korval.hpp"

namespace korval {

// Under Perl, korini first selects the windows-application mode, so that
// messages go to the error file and the protocol to a message box.  Only at
// level 0: inside an open plot korini gives its own single level warning.
static void perl_korini() {
    if (getlev() == 0) winapp("windows");
    korini();
}

}  // namespace korval

namespace {

using korval::binding::make_row;

struct Register {
    Register() {
        korval::binding::add_rows({
            make_row("korini", "Usage: Korval::korini()", &korval::perl_korini),
            KORVAL_ROW(korfin, ""),
            KORVAL_ROW(erase, ""),
            KORVAL_ROW(newpag, ""),
            KORVAL_ROW(reset, "s"),
            KORVAL_ROW(getlev, ""),
            KORVAL_ROW(endgrf, ""),
            KORVAL_ROW(errdev, "s"),
            KORVAL_ROW(errfil, "s"),
            KORVAL_ROW(errmod, "s1, s2"),
            KORVAL_ROW(nochek, ""),
            KORVAL_ROW(unit, "i"),
            KORVAL_ROW(winapp, "s"),
            KORVAL_ROW(getver, ""),
        });
    }
} reg;

}  // namespace
