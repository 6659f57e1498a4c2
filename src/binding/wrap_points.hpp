// Wrappers of the routines that fill arrays of contour points and
// triangles (conpts, tripts, triang): the input arrays and scalars are
// converted as by the generic wrappers, each output array is a temporary
// of the size its count argument gives, and after the call the produced
// elements are stored into the caller's arrays (extended as needed).  The
// number of lines or triangles is the result.
#pragma once

#include <algorithm>
#include <vector>

#include "binding/wrap.hpp"
#include "korval/korval.hpp"

namespace korval::binding {

// The largest output temporary (elements) a count may ask for; larger
// counts are taken as this many.
constexpr long kMaxPoints = 1L << 24;

inline int clamp_count(int n) { return n < 0 ? 0 : (long)n > kMaxPoints ? (int)kMaxPoints : n; }

template <class E>
void store_elements(pTHX_ AV* av, const E* v, long n) {
    if (!av || n <= 0) return;
    av_extend(av, (SSize_t)n - 1);
    for (long i = 0; i < n; ++i) {
        SV* e;
        if constexpr (std::is_same_v<E, float>)
            e = newSVnv((double)v[i]);
        else
            e = newSViv((IV)v[i]);
        if (!av_store(av, (SSize_t)i, e)) SvREFCNT_dec(e);
    }
}

struct CallCtx {
    Ctx ctx;
    explicit CallCtx(const Row* row, char* err, std::size_t size) {
        ctx.row = row;
        ctx.err = err;
        ctx.err_size = size;
        for (int i = 0; i < 32; ++i) ctx.ints[i] = 0, ctx.lens[i] = -1;
    }
    template <class C>
    void in(pTHX_ C& conv, SV* sv, int index) {
        ctx.index = index;
        conv.in(aTHX_ sv, ctx);
    }
    AV* out(pTHX_ SV* sv, int index) {
        ctx.index = index;
        return array_arg(aTHX_ sv, ctx);
    }
};

// Output arrays of points and line counts: xpts, ypts, nray.
struct PointArrays {
    AV *xo = nullptr, *yo = nullptr, *no = nullptr;
    std::vector<float> x, y;
    std::vector<int> counts;
    int maxpts = 0, maxray = 0;
    bool alloc(int mp, int mr, Ctx& ctx) {
        maxpts = clamp_count(mp), maxray = clamp_count(mr);
        try {
            x.resize((std::size_t)maxpts + 1);
            y.resize((std::size_t)maxpts + 1);
            counts.resize((std::size_t)maxray + 1);
        } catch (const std::exception&) {
            ctx.fail("asks for more memory than there is");
            return false;
        }
        return true;
    }
    void store(pTHX_ int lines) {
        lines = std::clamp(lines, 0, maxray);
        long total = 0;
        for (int k = 0; k < lines; ++k) total += counts[(std::size_t)k];
        total = std::min<long>(total, maxpts);
        store_elements(aTHX_ no, counts.data(), lines);
        store_elements(aTHX_ xo, x.data(), total);
        store_elements(aTHX_ yo, y.data(), total);
    }
};

template <class F>
void run_guarded(char* err, std::size_t size, F&& f) {
    try {
        f();
    } catch (const FatalError& e) {
        std::snprintf(err, size, "%s", e.message.c_str());
    } catch (const std::exception& e) {
        std::snprintf(err, size, "%s", e.what());
    }
}

// conpts(x1ray, nx, x2ray, ny, xmat, zlev, xpts, ypts, maxpts, nray, maxray)
inline void conpts_xsub(pTHX_ CV* cv) {
    dXSARGS;
    const Row* row = static_cast<const Row*>(CvXSUBANY(cv).any_ptr);
    if (items != 11) croak("%s", row->usage);
    char err[1024];
    err[0] = '\0';
    int result = 0;
    {
        CallCtx c(row, err, sizeof err);
        Conv<const float*> x, y, z;
        Conv<int> nx, ny, maxpts, maxray;
        Conv<float> zlev;
        PointArrays out;
        c.in(aTHX_ x, ST(0), 0);
        c.in(aTHX_ nx, ST(1), 1);
        c.in(aTHX_ y, ST(2), 2);
        c.in(aTHX_ ny, ST(3), 3);
        c.in(aTHX_ z, ST(4), 4);
        c.in(aTHX_ zlev, ST(5), 5);
        out.xo = c.out(aTHX_ ST(6), 6);
        out.yo = c.out(aTHX_ ST(7), 7);
        c.in(aTHX_ maxpts, ST(8), 8);
        out.no = c.out(aTHX_ ST(9), 9);
        c.in(aTHX_ maxray, ST(10), 10);
        if (!err[0] && check_sizes(c.ctx) && out.alloc(maxpts.arg(), maxray.arg(), c.ctx)) {
            run_guarded(err, sizeof err, [&] {
                result =
                    korval::conpts(x.arg(), nx.arg(), y.arg(), ny.arg(), z.arg(), zlev.arg(), out.x.data(),
                                   out.y.data(), out.maxpts, out.counts.data(), out.maxray);
            });
            if (!err[0]) out.store(aTHX_ result);
        }
    }
    if (err[0]) croak("%s", err);
    ST(0) = sv_2mortal(newSViv(result));
    XSRETURN(1);
}

// tripts(x1ray, x2ray, x3ray, n, n1ray, n2ray, n3ray, ntri, zlev, xpts,
//        ypts, maxpts, nray, maxray)
inline void tripts_xsub(pTHX_ CV* cv) {
    dXSARGS;
    const Row* row = static_cast<const Row*>(CvXSUBANY(cv).any_ptr);
    if (items != 14) croak("%s", row->usage);
    char err[1024];
    err[0] = '\0';
    int result = 0;
    {
        CallCtx c(row, err, sizeof err);
        Conv<const float*> x, y, z;
        Conv<const int*> i1, i2, i3;
        Conv<int> n, ntri, maxpts, maxray;
        Conv<float> zlev;
        PointArrays out;
        c.in(aTHX_ x, ST(0), 0);
        c.in(aTHX_ y, ST(1), 1);
        c.in(aTHX_ z, ST(2), 2);
        c.in(aTHX_ n, ST(3), 3);
        c.in(aTHX_ i1, ST(4), 4);
        c.in(aTHX_ i2, ST(5), 5);
        c.in(aTHX_ i3, ST(6), 6);
        c.in(aTHX_ ntri, ST(7), 7);
        c.in(aTHX_ zlev, ST(8), 8);
        out.xo = c.out(aTHX_ ST(9), 9);
        out.yo = c.out(aTHX_ ST(10), 10);
        c.in(aTHX_ maxpts, ST(11), 11);
        out.no = c.out(aTHX_ ST(12), 12);
        c.in(aTHX_ maxray, ST(13), 13);
        if (!err[0] && check_sizes(c.ctx) && out.alloc(maxpts.arg(), maxray.arg(), c.ctx)) {
            run_guarded(err, sizeof err, [&] {
                result = korval::tripts(x.arg(), y.arg(), z.arg(), n.arg(), i1.arg(), i2.arg(), i3.arg(),
                                        ntri.arg(), zlev.arg(), out.x.data(), out.y.data(), out.maxpts,
                                        out.counts.data(), out.maxray);
            });
            if (!err[0]) out.store(aTHX_ result);
        }
    }
    if (err[0]) croak("%s", err);
    ST(0) = sv_2mortal(newSViv(result));
    XSRETURN(1);
}

// triang(x1ray, x2ray, n, n1ray, n2ray, n3ray, nmax): the point arrays are
// copied into temporaries with room for the three auxiliary points the
// routine writes behind the data (the caller's arrays are not changed).
inline void triang_xsub(pTHX_ CV* cv) {
    dXSARGS;
    const Row* row = static_cast<const Row*>(CvXSUBANY(cv).any_ptr);
    if (items != 7) croak("%s", row->usage);
    char err[1024];
    err[0] = '\0';
    int result = 0;
    {
        CallCtx c(row, err, sizeof err);
        Conv<const float*> x, y;
        Conv<int> n, nmax;
        AV* out[3];
        c.in(aTHX_ x, ST(0), 0);
        c.in(aTHX_ y, ST(1), 1);
        c.in(aTHX_ n, ST(2), 2);
        for (int k = 0; k < 3; ++k) out[k] = c.out(aTHX_ ST(3 + k), 3 + k);
        c.in(aTHX_ nmax, ST(6), 6);
        if (!err[0] && check_sizes(c.ctx)) {
            int count = std::max(0, n.arg());
            int cap = clamp_count(nmax.arg());
            std::vector<float> xs, ys;
            std::vector<int> tri[3];
            try {
                xs.assign(x.v.begin(), x.v.end());
                ys.assign(y.v.begin(), y.v.end());
                std::size_t need = (std::size_t)count + 3;
                if (xs.size() < need) xs.resize(need);
                if (ys.size() < need) ys.resize(need);
                for (auto& t : tri) t.resize((std::size_t)cap + 1);
            } catch (const std::exception&) {
                c.ctx.fail("asks for more memory than there is");
            }
            if (!err[0]) {
                run_guarded(err, sizeof err, [&] {
                    result = korval::triang(xs.data(), ys.data(), n.arg(), tri[0].data(), tri[1].data(),
                                            tri[2].data(), nmax.arg() > cap ? cap : nmax.arg());
                });
                if (!err[0]) {
                    result = std::clamp(result, 0, cap);
                    for (int k = 0; k < 3; ++k) store_elements(aTHX_ out[k], tri[k].data(), result);
                }
            }
        }
    }
    if (err[0]) croak("%s", err);
    ST(0) = sv_2mortal(newSViv(result));
    XSRETURN(1);
}

}  // namespace korval::binding
