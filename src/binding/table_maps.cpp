// Rows of the map routines, and the trampoline of the user projection.
#include <cstdio>
#include <cstring>
#include <string>

#include "binding/wrap.hpp"
#include "korval/korval.hpp"

namespace korval::binding {

namespace {

// The Perl subroutine of the user projection (131 characters at most).
char projection_name[132];
// A failing callback is reported once per registration.
bool projection_failed = false;

// Calls the Perl subroutine with x and y as its two arguments (aliases it
// may assign to) and reads them back.  The call runs under G_EVAL: a
// subroutine that dies never unwinds through the library's frames; the
// coordinates then stay unchanged and the library prints a warning.
void projection_trampoline(float* x, float* y) {
    dTHX;
    // A callback that projects points itself (pos2pt inside the callback)
    // gets them unchanged instead of recursing without end.
    static bool active = false;
    if (!projection_name[0] || active) return;
    struct Active {
        Active() { active = true; }
        ~Active() { active = false; }
    };
    dSP;
    ENTER;
    SAVETMPS;
    Active guard;
    SV* sx = sv_2mortal(newSVnv((double)*x));
    SV* sy = sv_2mortal(newSVnv((double)*y));
    PUSHMARK(SP);
    XPUSHs(sx);
    XPUSHs(sy);
    PUTBACK;
    const char* routine = state().run.routine;  // the callback may call routines
    call_pv(projection_name, G_DISCARD | G_EVAL);
    SPAGAIN;
    state().run.routine = routine;
    if (SvTRUE(ERRSV)) {
        if (!projection_failed) {
            projection_failed = true;
            // The text outlives this call: the message state keeps a pointer.
            static std::string text;
            text = "Error in the projection callback ";
            text += projection_name;
            text += ": ";
            text += SvROK(ERRSV) ? "(an error object)" : SvPV_nolen(ERRSV);
            while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
            set_warning_text(text.c_str());
            warn_routine(101);
        }
    } else if (!SvROK(sx) && !SvROK(sy)) {
        // References (objects with overloaded numbers could die here) leave
        // the coordinates unchanged.
        *x = (float)SvNV(sx);
        *y = (float)SvNV(sy);
    }
    PUTBACK;
    FREETMPS;
    LEAVE;
}

}  // namespace

}  // namespace korval::binding

namespace korval {

// setcbk under Perl: s1 names the subroutine that the trampoline calls.
static void perl_setcbk(const char* s1, const char* s2) {
    copy_bounded(binding::projection_name, s1 ? s1 : "", sizeof binding::projection_name - 1);
    binding::projection_failed = false;
    setcbk(&binding::projection_trampoline, s2);
}

}  // namespace korval

namespace {

using korval::binding::make_row;

struct Register {
    Register() {
        korval::binding::add_rows({
            KORVAL_ROW(projct, "s"),
            KORVAL_ROW(mapbas, "s"),
            KORVAL_ROW(mapfil, "s1, s2"),
            KORVAL_ROW(maplev, "s"),
            KORVAL_ROW(mapmod, "s"),
            KORVAL_ROW(mappol, "x1, x2"),
            KORVAL_ROW(mapref, "x1, x2"),
            KORVAL_ROW(mapsph, "x"),
            make_row("setcbk", "Usage: Korval::setcbk(s1, s2)", &korval::perl_setcbk),
            KORVAL_ROW(mpaepl, "i"),
            KORVAL_ROW(mplang, "x"),
            KORVAL_ROW(mplclr, "i1, i2"),
            KORVAL_ROW(mplpos, "i1, i2"),
            KORVAL_ROW(mplsiz, "i"),
            KORVAL_ROW(grafmp, "xa, xe, xor, xstp, ya, ye, yor, ystp"),
            KORVAL_ROW(xaxmap, "xa, xe, xor, xstp, s, it, ny"),
            KORVAL_ROW(yaxmap, "xa, xe, xor, xstp, s, it, ny"),
            KORVAL_ROW(world, ""),
            KORVAL_ROW(shdmap, "s"),
            KORVAL_ROW_SIZES(shdeur, "n1ray, n2ray, n3ray, n", "n1ray=n n2ray=n n3ray=n"),
            KORVAL_ROW_SIZES(shdusa, "n1ray, n2ray, n3ray, n", "n1ray=n n2ray=n n3ray=n"),
            KORVAL_ROW_SIZES(curvmp, "x1ray, x2ray, n", "x1ray=n x2ray=n"),
            KORVAL_ROW(gridmp, "i1, i2"),
            KORVAL_ROW(pos2pt, "x, y, xp, yp"),
            KORVAL_ROW(x2dpos, "x, y"),
            KORVAL_ROW(y2dpos, "x, y"),
        });
    }
} reg;

}  // namespace
