// Rows of the text routines.
#include "binding/wrap.hpp"
#include "korval/korval.hpp"

namespace {

struct Register {
    Register() {
        korval::binding::add_rows({
            KORVAL_ROW(messag, "cstr, nx, ny"),
            KORVAL_ROW(number, "x, i1, i2, i3"),
            KORVAL_ROW(rlmess, "s, x1, x2"),
            KORVAL_ROW(rlnumb, "x1, i, x2, x3"),
            KORVAL_ROW(nlmess, "s"),
            KORVAL_ROW(nlnumb, "x, i"),
            KORVAL_ROW(txtjus, "s"),
            KORVAL_ROW(frmess, "i"),
            KORVAL_ROW(height, "i"),
            KORVAL_ROW(angle, "ngrad"),
            KORVAL_ROW(chaspc, "x"),
            KORVAL_ROW(chawth, "x"),
            KORVAL_ROW(chaang, "x"),
            KORVAL_ROW(fixspc, "x"),
            KORVAL_ROW(koralf, ""),
            KORVAL_ROW(simplx, ""),
            KORVAL_ROW(complx, ""),
            KORVAL_ROW(duplx, ""),
            KORVAL_ROW(triplx, ""),
            KORVAL_ROW(helve, ""),
            KORVAL_ROW(helves, ""),
            KORVAL_ROW(serif, ""),
            KORVAL_ROW(psfont, "s"),
            KORVAL_ROW(winfnt, "s"),
            KORVAL_ROW(x11fnt, "s1, s2"),
            KORVAL_ROW(hwfont, ""),
            KORVAL_ROW(basalf, "s"),
            KORVAL_ROW(getalf, ""),
            KORVAL_ROW(smxalf, "s1, s2, s3, i"),
            KORVAL_ROW(gmxalf, "s1, s2, s3"),
            KORVAL_ROW(mixalf, ""),
            KORVAL_ROW(setmix, "s1, s2"),
            KORVAL_ROW(newmix, ""),
            KORVAL_ROW(getmix, "s"),
            KORVAL_ROW(eushft, "s1, s2"),
            KORVAL_ROW(chacod, "s"),
            KORVAL_ROW(texmod, "s"),
            KORVAL_ROW(texopt, "s1, s2"),
            KORVAL_ROW(numfmt, "s"),
            KORVAL_ROW(numode, "s1, s2, s3, s4"),
        });
    }
} reg;

}  // namespace
