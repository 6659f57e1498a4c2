// Rows of the raster, image-file and PDF routines, with the wrappers of
// the routines that fill buffers and arrays for the script: pdfbuf and
// rbfpng (bytes into a Perl string), rpixls and rpxrow (integer arrays
// filled by the routine).
#include <cstdlib>

#include "binding/wrap.hpp"
#include "korval/korval.hpp"

namespace korval::binding {

namespace {

// The largest temporary a filling wrapper allocates (elements or bytes).
constexpr long kMaxFill = 1L << 28;

// pdfbuf(s, nmax), rbfpng(s, nmax): nmax bytes for the routine; for a
// count n > 0, s receives exactly n bytes; n is the result.
template <int (*Fn)(char*, int)>
void buffer_xsub(pTHX_ CV* cv) {
    dXSARGS;
    const Row* row = static_cast<const Row*>(CvXSUBANY(cv).any_ptr);
    if (items != 2) croak("%s", row->usage);
    SV* s = ST(0);
    long nmax = (long)SvIV(ST(1));
    if (nmax > kMaxFill) nmax = kMaxFill;
    char err[512];
    err[0] = '\0';
    int n = 0;
    {
        char* buf = nullptr;
        if (nmax > 0) buf = static_cast<char*>(std::malloc((std::size_t)nmax));
        try {
            n = Fn(buf, buf ? (int)nmax : (nmax > 0 ? -1 : 0));
        } catch (const FatalError& e) {
            std::snprintf(err, sizeof err, "%s", e.message.c_str());
        }
        if (!err[0] && n > 0 && buf) {
            sv_setpvn(s, buf, (STRLEN)n);
            SvSETMAGIC(s);
        }
        std::free(buf);
    }
    if (err[0]) croak("%s", err);
    ST(0) = sv_2mortal(newSViv(n));
    XSRETURN(1);
}

// rpixls(n1ray, i1, i2, i3, i4) and rpxrow(n1ray, i1, i2, i3): the routine
// fills count elements, which are stored into the array (extended to fit).
template <int Args>
void filled_xsub(pTHX_ CV* cv) {
    dXSARGS;
    const Row* row = static_cast<const Row*>(CvXSUBANY(cv).any_ptr);
    if (items != Args) croak("%s", row->usage);
    SV* ref = ST(0);
    if (!SvROK(ref) || SvTYPE(SvRV(ref)) != SVt_PVAV)
        croak("Korval::%s: argument 1 (n1ray) is not an array reference", row->name);
    AV* av = (AV*)SvRV(ref);
    int ix = (int)SvIV(ST(1)), iy = (int)SvIV(ST(2)), nw = (int)SvIV(ST(3));
    int nh = Args == 5 ? (int)SvIV(ST(4)) : 1;
    long count = nw > 0 && nh > 0 ? (long)nw * (long)nh : 0;
    if (count > kMaxFill) croak("Korval::%s: %ld pixels are too many", row->name, count);
    char err[512];
    err[0] = '\0';
    int* vals = count > 0 ? static_cast<int*>(std::calloc((std::size_t)count, sizeof(int))) : nullptr;
    try {
        if constexpr (Args == 5)
            korval::rpixls(vals, ix, iy, nw, nh);
        else
            korval::rpxrow(vals, ix, iy, nw);
    } catch (const FatalError& e) {
        std::snprintf(err, sizeof err, "%s", e.message.c_str());
    }
    if (!err[0] && vals) {
        av_extend(av, (SSize_t)count - 1);
        for (long i = 0; i < count; ++i) {
            SV* e = newSViv((IV)vals[i]);
            if (!av_store(av, (SSize_t)i, e)) SvREFCNT_dec(e);
        }
    }
    std::free(vals);
    if (err[0]) croak("%s", err);
    XSRETURN(0);
}

Row special(const char* name, const char* usage, void (*xs)(pTHX_ CV*)) {
    return Row{name, usage, nullptr, reinterpret_cast<Xsub>(xs), nullptr, {}};
}

struct Register {
    Register() {
        add_rows({
            KORVAL_ROW(imgfmt, "s"),
            KORVAL_ROW(imgmod, "s"),
            KORVAL_ROW(imgsiz, "i1, i2"),
            KORVAL_ROW(imgbox, "i1, i2, i3, i4"),
            KORVAL_ROW(imgini, ""),
            KORVAL_ROW(imgfin, ""),
            KORVAL_ROW(pngmod, "s1, s2"),
            KORVAL_ROW(tifmod, "i1, s1, s2"),
            KORVAL_ROW(pdfmod, "s1, s2"),
            KORVAL_ROW(wpixel, "i1, i2, i3"),
            KORVAL_ROW(rpixel, "i1, i2"),
            KORVAL_ROW_SIZES(wpixls, "n1ray, i1, i2, i3, i4", "n1ray=i3*i4"),
            KORVAL_ROW_SIZES(wpxrow, "n1ray, i1, i2, i3", "n1ray=i3"),
            KORVAL_ROW(rimage, "s"),
            KORVAL_ROW(wimage, "s"),
            KORVAL_ROW(rtiff, "s"),
            KORVAL_ROW(rpng, "s"),
            KORVAL_ROW(rppm, "s"),
            KORVAL_ROW(rbmp, "s"),
            special("pdfbuf", "Usage: Korval::pdfbuf(s, nmax)", &buffer_xsub<&korval::pdfbuf>),
            special("rbfpng", "Usage: Korval::rbfpng(s, nmax)", &buffer_xsub<&korval::rbfpng>),
            special("rpixls", "Usage: Korval::rpixls(n1ray, i1, i2, i3, i4)", &filled_xsub<5>),
            special("rpxrow", "Usage: Korval::rpxrow(n1ray, i1, i2, i3)", &filled_xsub<4>),
        });
    }
} reg;

}  // namespace

}  // namespace korval::binding
