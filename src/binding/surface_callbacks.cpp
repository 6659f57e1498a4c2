// surfun and surfcp: surfaces of a Perl function.  The library calls a
// trampoline for each point; the trampoline calls the Perl subroutine
// whose name the wrapper stored.
//
// The subroutine runs under G_EVAL, so that a die inside it cannot unwind
// through the library's C++ frames.  After the first failure the
// trampoline returns NaN without calling again (the surface skips those
// points), and once the library routine has returned the wrapper croaks
// with the subroutine's message.
#include <cmath>
#include <cstring>

#include "binding/wrap.hpp"
#include "korval/korval.hpp"

namespace korval::binding {

namespace {

// The surface function name, shared by both routines (131 characters).
char function_name[132];
// The first error of the current call, empty while all is well.
char callback_error[1024];

float call_function(int count, float a, float b, int selector) {
    if (callback_error[0]) return NAN;
    dTHX;
    dSP;
    ENTER;
    SAVETMPS;
    PUSHMARK(SP);
    XPUSHs(sv_2mortal(newSVnv((double)a)));
    XPUSHs(sv_2mortal(newSVnv((double)b)));
    if (count == 3) XPUSHs(sv_2mortal(newSViv((IV)selector)));
    PUTBACK;
    int n = call_pv(function_name, G_SCALAR | G_EVAL);
    SPAGAIN;
    double r = NAN;
    if (n >= 1) {
        SV* sv = POPs;
        r = SvOK(sv) ? SvNV(sv) : NAN;
    }
    PUTBACK;
    if (SvTRUE(ERRSV)) {
        std::snprintf(callback_error, sizeof callback_error, "%s", SvPV_nolen(ERRSV));
        r = NAN;
    }
    FREETMPS;
    LEAVE;
    return (float)r;
}

float trampoline2(float x, float y) { return call_function(2, x, y, 0); }
float trampoline3(float s, float t, int iop) { return call_function(3, s, t, iop); }

void store_name(pTHX_ SV* sv) {
    const char* s = SvOK(sv) ? SvPV_nolen(sv) : "";
    copy_bounded(function_name, s, sizeof function_name - 1);
    callback_error[0] = '\0';
}

// Croaks with the callback's error once no C++ frame is left.
void finish(const Row* row) {
    if (!callback_error[0]) return;
    static char message[1200];
    std::snprintf(message, sizeof message, "Korval::%s: the function %s failed: %s", row->name, function_name,
                  callback_error);
    callback_error[0] = '\0';
    croak("%s", message);
}

void surfun_xsub(pTHX_ CV* cv) {
    dXSARGS;
    const Row* row = static_cast<const Row*>(CvXSUBANY(cv).any_ptr);
    if (items != 5) croak("%s", row->usage);
    store_name(aTHX_ ST(0));
    int ixp = (int)SvIV(ST(1)), iyp = (int)SvIV(ST(3));
    float dx = (float)SvNV(ST(2)), dy = (float)SvNV(ST(4));
    surfun(trampoline2, ixp, dx, iyp, dy);
    finish(row);
    XSRETURN(0);
}

void surfcp_xsub(pTHX_ CV* cv) {
    dXSARGS;
    const Row* row = static_cast<const Row*>(CvXSUBANY(cv).any_ptr);
    if (items != 7) croak("%s", row->usage);
    store_name(aTHX_ ST(0));
    float v[6];
    for (int i = 0; i < 6; ++i) v[i] = (float)SvNV(ST(i + 1));
    surfcp(trampoline3, v[0], v[1], v[2], v[3], v[4], v[5]);
    finish(row);
    XSRETURN(0);
}

Row special(const char* name, const char* usage, void (*xs)(pTHX_ CV*)) {
    return Row{name, usage, nullptr, reinterpret_cast<Xsub>(xs), nullptr, {}};
}

struct Register {
    Register() {
        add_rows({
            special("surfun", "Usage: Korval::surfun(s, i1, a1, i2, a2)", surfun_xsub),
            special("surfcp", "Usage: Korval::surfcp(s, a1, a2, a3, b1, b2, b3)", surfcp_xsub),
        });
    }
} reg;

}  // namespace

}  // namespace korval::binding
