// Rows of the bar graphs, pie charts and legends.
#include <cstdlib>
#include <cstring>

#include "binding/wrap.hpp"
#include "korval/korval.hpp"

namespace korval {
bool legend_init(char* cbuf, int nlin, int nmaxln);
}

namespace korval::binding {

namespace {

// legini(s, i1, i2): the legend buffer lives in the Perl string.  i1 * i2
// blanks (and a terminator) are made by legini and stored into s whole.
void legini_xsub(pTHX_ CV* cv) {
    dXSARGS;
    const Row* row = static_cast<const Row*>(CvXSUBANY(cv).any_ptr);
    if (items != 3) croak("%s", row->usage);
    SV* s = ST(0);
    if (SvREADONLY(s)) croak("Korval::legini: argument 1 (s) must be a variable: it receives a result");
    int nlin = (int)SvIV(ST(1)), nmaxln = (int)SvIV(ST(2));
    bool ok = nlin >= 1 && nlin <= 30 && nmaxln >= 1 && nmaxln <= 80;
    std::size_t size = ok ? (std::size_t)nlin * (std::size_t)nmaxln : 0;
    char* buf = static_cast<char*>(std::malloc(size + 1));
    if (buf) {
        buf[0] = '\0';
        if (legend_init(buf, nlin, nmaxln)) {
            sv_setpvn(s, buf, (STRLEN)size);
            SvSETMAGIC(s);
        }
    }
    std::free(buf);
    XSRETURN(0);
}

// leglin(s1, s2, i): leglin changes a copy of s1 in place, which is stored
// back up to its terminator.
void leglin_xsub(pTHX_ CV* cv) {
    dXSARGS;
    const Row* row = static_cast<const Row*>(CvXSUBANY(cv).any_ptr);
    if (items != 3) croak("%s", row->usage);
    SV* s = ST(0);
    if (SvREADONLY(s)) croak("Korval::leglin: argument 1 (s1) must be a variable: it receives a result");
    STRLEN len = 0;
    const char* old = SvOK(s) ? SvPV(s, len) : "";
    const char* text = SvOK(ST(1)) ? SvPV_nolen(ST(1)) : "";
    int ilin = (int)SvIV(ST(2));
    // At least the whole buffer legini made, so that a shortened string
    // cannot make leglin write beyond it.
    std::size_t need =
        (std::size_t)state().charts.legend.lines * (std::size_t)state().charts.legend.line_length;
    std::size_t size = std::max((std::size_t)len, need);
    char* buf = static_cast<char*>(std::malloc(size + 1));
    if (buf) {
        std::memset(buf, ' ', size);
        std::memcpy(buf, old, len);
        buf[size] = '\0';
        leglin(buf, text, ilin);
        sv_setpv(s, buf);
        SvSETMAGIC(s);
    }
    std::free(buf);
    XSRETURN(0);
}

Row special(const char* name, const char* usage, void (*xs)(pTHX_ CV*)) {
    return Row{name, usage, nullptr, reinterpret_cast<Xsub>(xs), nullptr, {}};
}

struct Register {
    Register() {
        add_rows({
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
            special("legini", "Usage: Korval::legini(s, i1, i2)", legini_xsub),
            special("leglin", "Usage: Korval::leglin(s1, s2, i)", leglin_xsub),
            KORVAL_ROW(legtit, "s"),
            KORVAL_ROW(legpos, "i1, i2"),
            KORVAL_ROW(legopt, "x1, x2, x3"),
            KORVAL_ROW(legpat, "i1, i2, i3, i4, i5, i6"),
            KORVAL_ROW(legclr, ""),
            KORVAL_ROW(mixleg, ""),
            KORVAL_ROW(nxlegn, "s"),
            KORVAL_ROW(nylegn, "s"),
            KORVAL_ROW(legend, "s, i"),
        });
    }
} reg;

}  // namespace

}  // namespace korval::binding
