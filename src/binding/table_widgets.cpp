// Rows of the widget routines, and the widget callback trampoline that
// calls Perl subroutines by name.
#include <cstdio>
#include <cstring>

#include "binding/wrap.hpp"
#include "korval/korval.hpp"

namespace korval::binding {

namespace {

// The widget callback table: (widget id, subroutine name), for the life
// of the process.  A full table ignores further registrations.
struct CallbackEntry {
    int id;
    char name[132];
};
CallbackEntry g_callbacks[100];
int g_callback_count = 0;

// Calls the first subroutine registered for the widget.  G_EVAL keeps a
// dying callback from unwinding through the toolkit's C++ frames; its
// message is printed and the dialog goes on.
void widget_trampoline(int id) {
    const char* name = nullptr;
    for (int i = 0; i < g_callback_count; ++i)
        if (g_callbacks[i].id == id) {
            name = g_callbacks[i].name;
            break;
        }
    if (!name) return;
    dTHX;
    dSP;
    ENTER;
    SAVETMPS;
    PUSHMARK(SP);
    XPUSHs(sv_2mortal(newSViv(id)));
    PUTBACK;
    call_pv(name, G_DISCARD | G_EVAL);
    SV* err = ERRSV;
    if (SvTRUE(err)) std::fprintf(stderr, "Korval: callback %s failed: %s", name, SvPV_nolen(err));
    FREETMPS;
    LEAVE;
}

void perl_swgcbk(int i, const char* s) {
    if (g_callback_count >= 100) return;
    CallbackEntry& e = g_callbacks[g_callback_count++];
    e.id = i;
    std::snprintf(e.name, sizeof e.name, "%s", s ? s : "");
    korval::swgcbk(i, widget_trampoline);
}

struct Register {
    Register() {
        add_rows({
            KORVAL_ROW(wgini, "s"),
            KORVAL_ROW(wgfin, ""),
            KORVAL_ROW(wgbas, "ip, s"),
            KORVAL_ROW(wglab, "ip, s"),
            KORVAL_ROW(wgbut, "ip, s, i"),
            KORVAL_ROW(wgpbut, "ip, s"),
            KORVAL_ROW(wgtxt, "ip, s"),
            KORVAL_ROW(wgltxt, "ip, s1, s2, i"),
            KORVAL_ROW(wglis, "ip, s, i"),
            KORVAL_ROW(wgdlis, "ip, s, i"),
            KORVAL_ROW(wgbox, "ip, s, i"),
            KORVAL_ROW(wgok, "ip"),
            KORVAL_ROW(wgquit, "ip"),
            KORVAL_ROW(gwgbut, "i"),
            KORVAL_ROW(gwglis, "i"),
            KORVAL_ROW(gwgbox, "i"),
            KORVAL_ROW(gwgtxt, "i"),
            KORVAL_ROW(swgtit, "s"),
            KORVAL_ROW(swghlp, "s"),
            KORVAL_ROW(swgmix, "s1, s2"),
            KORVAL_ROW(swgbut, "i1, i2"),
            KORVAL_ROW(swglis, "i1, i2"),
            KORVAL_ROW(swgbox, "i1, i2"),
            KORVAL_ROW(swgtxt, "i, s"),
            KORVAL_ROW(sendok, ""),
            make_row("swgcbk", "Usage: Korval::swgcbk(i, s)", &perl_swgcbk),
            KORVAL_ROW(itmcnt, "s"),
            KORVAL_ROW(itmstr, "s, i"),
            KORVAL_ROW(itmcat, "s1, s2"),
            KORVAL_ROW(msgbox, "s"),
            KORVAL_ROW(dwgmsg, "s"),
            KORVAL_ROW(dwgbut, "s, i"),
            KORVAL_ROW(wgscl, "ip, s, x1, x2, x3, i"),
            KORVAL_ROW(gwgscl, "i"),
            KORVAL_ROW(swgscl, "i, x"),
            KORVAL_ROW(wgfil, "ip, s1, s2, s3"),
            KORVAL_ROW(gwgfil, "i"),
            KORVAL_ROW(swgfil, "i, s"),
            KORVAL_ROW(wgcmd, "ip, s1, s2"),
            KORVAL_ROW(wgpop, "ip, s"),
            KORVAL_ROW(wgapp, "ip, s"),
            KORVAL_ROW(wgdraw, "ip"),
            KORVAL_ROW(swgdrw, "x"),
            KORVAL_ROW(reawgt, ""),
            KORVAL_ROW(gwgxid, "i"),
            KORVAL_ROW(gwgatt, "i, s"),
            KORVAL_ROW(swgatt, "i, s1, s2"),
            KORVAL_ROW(swgclr, "x1, x2, x3, s"),
            KORVAL_ROW(swgfnt, "s, i"),
            KORVAL_ROW(swgjus, "s1, s2"),
            KORVAL_ROW(swgmod, "s"),
            KORVAL_ROW(swgmrg, "i, s"),
            KORVAL_ROW(swgoff, "i1, i2"),
            KORVAL_ROW(swgopt, "s1, s2"),
            KORVAL_ROW(swgpop, "s"),
            KORVAL_ROW(swgpos, "i1, i2"),
            KORVAL_ROW(swgsiz, "i1, i2"),
            KORVAL_ROW(swgspc, "x, y"),
            KORVAL_ROW(swgstp, "x"),
            KORVAL_ROW(swgtyp, "s1, s2"),
            KORVAL_ROW(swgwin, "i1, i2, i3, i4"),
            KORVAL_ROW(swgwth, "i"),
            KORVAL_ROW(dwglis, "s1, s2, i"),
            KORVAL_ROW(dwgtxt, "s1, s2"),
            KORVAL_ROW(dwgfil, "s1, s2, s3"),
        });
    }
} reg;

}  // namespace

}  // namespace korval::binding
