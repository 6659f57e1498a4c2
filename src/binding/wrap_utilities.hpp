// Special wrappers of the data utilities: routines that fill output arrays
// sized by a count (histog, bezier, trfmat, getmat, readfl), write a Perl
// string's bytes (writfl) or change a string in place (upstr).
//
// Output arrays are temporaries the wrapper allocates; after the call the
// produced elements are stored into the caller's array (extended as
// needed).  bezier, trfmat and getmat warn exactly when they refuse their
// arguments; the wrapper then stores nothing, so the caller's arrays keep
// their values.  Temporaries larger than kMaxElements are refused with
// warning 53 ("Not enough memory") instead of being allocated.
#pragma once

#include "binding/wrap.hpp"
#include "korval/korval.hpp"

namespace korval::binding {

constexpr long long kMaxElements = 1LL << 26;

inline void store_floats(pTHX_ AV* av, const float* v, long long n) {
    if (!av || n <= 0) return;
    av_extend(av, (SSize_t)(n - 1));
    for (long long k = 0; k < n; ++k) {
        SV* e = newSVnv((double)v[k]);
        if (!av_store(av, (SSize_t)k, e)) SvREFCNT_dec(e);
    }
}

inline void store_ints(pTHX_ AV* av, const int* v, long long n) {
    if (!av || n <= 0) return;
    av_extend(av, (SSize_t)(n - 1));
    for (long long k = 0; k < n; ++k) {
        SV* e = newSViv((IV)v[k]);
        if (!av_store(av, (SSize_t)k, e)) SvREFCNT_dec(e);
    }
}

inline void init_ctx(Ctx& ctx, const Row* row, char* err, std::size_t size) {
    ctx.row = row;
    ctx.err = err;
    ctx.err_size = size;
    for (int i = 0; i < 32; ++i) ctx.ints[i] = 0, ctx.lens[i] = -1;
}

// Warning 53 under the routine's name, for a temporary that is too large.
inline void refuse_memory(const char* name) {
    state().run.routine = name;
    warn_routine(53);
}

// The argument kinds of one special wrapper: the conversions of its
// positions, and the body that calls the routine and stores the outputs.
template <int N, class Body>
void special_xsub(pTHX_ CV* cv, Body body) {
    dXSARGS;
    const Row* row = static_cast<const Row*>(CvXSUBANY(cv).any_ptr);
    if (items != N) croak("%s", row->usage);
    SV* args[N];
    for (int i = 0; i < N; ++i) args[i] = ST(i);
    char err[1024];
    err[0] = '\0';
    SV* ret = nullptr;
    {
        Ctx ctx;
        init_ctx(ctx, row, err, sizeof err);
        body(aTHX_ args, ctx, ret);
    }
    if (err[0]) croak("%s", err);
    if (ret) {
        ST(0) = ret;
        XSRETURN(1);
    }
    XSRETURN(0);
}

// histog(x1ray, n, x2ray, x3ray): the classes into x2ray and x3ray.
inline void histog_xsub(pTHX_ CV* cv) {
    special_xsub<4>(aTHX_ cv, [](pTHX_ SV** args, Ctx& ctx, SV*& ret) {
        Conv<const float*> x;
        Conv<int> n;
        ctx.index = 0, x.in(aTHX_ args[0], ctx);
        ctx.index = 1, n.in(aTHX_ args[1], ctx);
        ctx.index = 2;
        AV* xh = array_arg(aTHX_ args[2], ctx);
        ctx.index = 3;
        AV* yh = array_arg(aTHX_ args[3], ctx);
        if (ctx.err[0] || !check_sizes(ctx)) return;
        std::size_t size = n.arg() > 0 ? (std::size_t)n.arg() : 1;
        std::vector<float> a(size), b(size);
        int nh = histog(x.arg(), n.arg(), a.data(), b.data());
        if (nh < 0) nh = 0;
        if ((std::size_t)nh > size) nh = (int)size;
        store_floats(aTHX_ xh, a.data(), nh);
        store_floats(aTHX_ yh, b.data(), nh);
        ret = sv_2mortal(newSViv(nh));
    });
}

// bezier(x1ray, x2ray, n, x3ray, x4ray, npt): npt points into x3ray, x4ray.
inline void bezier_xsub(pTHX_ CV* cv) {
    special_xsub<6>(aTHX_ cv, [](pTHX_ SV** args, Ctx& ctx, SV*&) {
        Conv<const float*> xc, yc;
        Conv<int> n, npt;
        ctx.index = 0, xc.in(aTHX_ args[0], ctx);
        ctx.index = 1, yc.in(aTHX_ args[1], ctx);
        ctx.index = 2, n.in(aTHX_ args[2], ctx);
        ctx.index = 3;
        AV* xo = array_arg(aTHX_ args[3], ctx);
        ctx.index = 4;
        AV* yo = array_arg(aTHX_ args[4], ctx);
        ctx.index = 5, npt.in(aTHX_ args[5], ctx);
        if (ctx.err[0] || !check_sizes(ctx)) return;
        int m = npt.arg();
        std::size_t size = m >= 1 && m <= 32000 ? (std::size_t)m : 1;
        std::vector<float> a(size), b(size);
        long before = state().run.warning_count;
        bezier(xc.arg(), yc.arg(), n.arg(), a.data(), b.data(), m);
        if (state().run.warning_count != before) return;
        store_floats(aTHX_ xo, a.data(), (long long)size);
        store_floats(aTHX_ yo, b.data(), (long long)size);
    });
}

// trfmat(x1ray, nx, ny, xmat, nx2, ny2): nx2 * ny2 values into xmat.
inline void trfmat_xsub(pTHX_ CV* cv) {
    special_xsub<6>(aTHX_ cv, [](pTHX_ SV** args, Ctx& ctx, SV*&) {
        Conv<const float*> z;
        Conv<int> nx, ny, nx2, ny2;
        ctx.index = 0, z.in(aTHX_ args[0], ctx);
        ctx.index = 1, nx.in(aTHX_ args[1], ctx);
        ctx.index = 2, ny.in(aTHX_ args[2], ctx);
        ctx.index = 3;
        AV* out = array_arg(aTHX_ args[3], ctx);
        ctx.index = 4, nx2.in(aTHX_ args[4], ctx);
        ctx.index = 5, ny2.in(aTHX_ args[5], ctx);
        if (ctx.err[0] || !check_sizes(ctx)) return;
        long long size = (long long)nx2.arg() * (long long)ny2.arg();
        if (nx2.arg() >= 2 && ny2.arg() >= 2 && size > kMaxElements) return refuse_memory("trfmat");
        std::vector<float> v(size > 0 && size <= kMaxElements ? (std::size_t)size : 1);
        long before = state().run.warning_count;
        trfmat(z.arg(), nx.arg(), ny.arg(), v.data(), nx2.arg(), ny2.arg());
        if (state().run.warning_count != before) return;
        store_floats(aTHX_ out, v.data(), size);
    });
}

// getmat(x1ray, x2ray, x3ray, n, xmat, nx, ny, zval): nx * ny values.
inline void getmat_xsub(pTHX_ CV* cv) {
    special_xsub<8>(aTHX_ cv, [](pTHX_ SV** args, Ctx& ctx, SV*&) {
        Conv<const float*> x, y, z;
        Conv<int> n, nx, ny;
        Conv<float> zval;
        ctx.index = 0, x.in(aTHX_ args[0], ctx);
        ctx.index = 1, y.in(aTHX_ args[1], ctx);
        ctx.index = 2, z.in(aTHX_ args[2], ctx);
        ctx.index = 3, n.in(aTHX_ args[3], ctx);
        ctx.index = 4;
        AV* out = array_arg(aTHX_ args[4], ctx);
        ctx.index = 5, nx.in(aTHX_ args[5], ctx);
        ctx.index = 6, ny.in(aTHX_ args[6], ctx);
        ctx.index = 7, zval.in(aTHX_ args[7], ctx);
        if (ctx.err[0] || !check_sizes(ctx)) return;
        long long size = (long long)nx.arg() * (long long)ny.arg();
        // Twice the size again in work matrices.
        if (nx.arg() >= 2 && ny.arg() >= 2 && size * 3 > kMaxElements) return refuse_memory("getmat");
        std::vector<float> v(size > 0 && size <= kMaxElements ? (std::size_t)size : 1);
        long before = state().run.warning_count;
        getmat(x.arg(), y.arg(), z.arg(), n.arg(), v.data(), nx.arg(), ny.arg(), zval.arg());
        if (state().run.warning_count != before) return;
        store_floats(aTHX_ out, v.data(), size);
    });
}

// readfl(nu, n1ray, nbyte): the bytes read, as signed values -128..127.
inline void readfl_xsub(pTHX_ CV* cv) {
    special_xsub<3>(aTHX_ cv, [](pTHX_ SV** args, Ctx& ctx, SV*& ret) {
        Conv<int> nu, nbyte;
        ctx.index = 0, nu.in(aTHX_ args[0], ctx);
        ctx.index = 1;
        AV* out = array_arg(aTHX_ args[1], ctx);
        ctx.index = 2, nbyte.in(aTHX_ args[2], ctx);
        if (ctx.err[0]) return;
        // Reads of more than the temporary's size return fewer bytes.
        int want = nbyte.arg();
        if (want > kMaxElements) want = (int)kMaxElements;
        std::vector<unsigned char> buf(want > 0 ? (std::size_t)want : 1);
        int got = readfl(nu.arg(), buf.data(), want);
        std::vector<int> v(got > 0 ? (std::size_t)got : 0);
        for (int k = 0; k < got; ++k) v[(std::size_t)k] = (signed char)buf[(std::size_t)k];
        store_ints(aTHX_ out, v.data(), got);
        ret = sv_2mortal(newSViv(got));
    });
}

// writfl(nu, cbuf, nbyte): at most the string's own bytes are written.
inline void writfl_xsub(pTHX_ CV* cv) {
    special_xsub<3>(aTHX_ cv, [](pTHX_ SV** args, Ctx& ctx, SV*& ret) {
        Conv<int> nu, nbyte;
        ctx.index = 0, nu.in(aTHX_ args[0], ctx);
        ctx.index = 2, nbyte.in(aTHX_ args[2], ctx);
        STRLEN len = 0;
        const char* p = SvOK(args[1]) ? SvPV(args[1], len) : "";
        int n = nbyte.arg();
        if (n > 0 && (STRLEN)n > len) n = (int)len;
        ret = sv_2mortal(newSViv(writfl(nu.arg(), reinterpret_cast<const unsigned char*>(p), n)));
    });
}

// upstr(s): the string converted in place and stored back.
inline void upstr_xsub(pTHX_ CV* cv) {
    special_xsub<1>(aTHX_ cv, [](pTHX_ SV** args, Ctx& ctx, SV*&) {
        ctx.index = 0;
        if (!writable(aTHX_ args[0], ctx)) return;
        STRLEN len = 0;
        const char* p = SvOK(args[0]) ? SvPV(args[0], len) : "";
        std::string s(p, len);
        upstr(&s[0]);
        sv_setpvn(args[0], s.data(), s.size());
        SvSETMAGIC(args[0]);
    });
}

template <class Fn>
Row make_special_row(const char* name, const char* usage, Fn* fn, void (*xs)(pTHX_ CV*),
                     const char* sizes = nullptr) {
    return Row{name, usage, reinterpret_cast<void (*)()>(fn), reinterpret_cast<Xsub>(xs), sizes, {}};
}

}  // namespace korval::binding
