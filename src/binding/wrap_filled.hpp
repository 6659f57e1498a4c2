// Wrappers of the routines that fill output arrays (spline and its kind):
// the two input arrays and the count are converted as by the generic
// wrappers, the output arrays are temporaries of a fixed capacity, and
// after the call the produced elements are stored into the caller's arrays
// (extended as needed); the number produced is the result.
#pragma once

#include "binding/wrap.hpp"

namespace korval::binding {

template <std::size_t Capacity>
struct FilledPair {
    using Fn = int (*)(const float*, const float*, int, float*, float*);

    static int run(pTHX_ const Row* row, SV** args, SV** ret, char* err, std::size_t err_size) {
        Ctx ctx;
        ctx.row = row;
        ctx.err = err;
        ctx.err_size = err_size;
        for (int i = 0; i < 32; ++i) ctx.ints[i] = 0, ctx.lens[i] = -1;
        Conv<const float*> x, y;
        Conv<int> n;
        ctx.index = 0;
        x.in(aTHX_ args[0], ctx);
        ctx.index = 1;
        y.in(aTHX_ args[1], ctx);
        ctx.index = 2;
        n.in(aTHX_ args[2], ctx);
        AV* out[2];
        for (int i = 0; i < 2; ++i) {
            ctx.index = 3 + i;
            out[i] = array_arg(aTHX_ args[3 + i], ctx);
        }
        if (err[0] || !check_sizes(ctx)) return 0;
        std::vector<float> xs(Capacity), ys(Capacity);
        Fn fn = reinterpret_cast<Fn>(row->fn);
        int count = fn(x.arg(), y.arg(), n.arg(), xs.data(), ys.data());
        if (count < 0) count = 0;
        if ((std::size_t)count > Capacity) count = (int)Capacity;
        const std::vector<float>* data[2] = {&xs, &ys};
        for (int i = 0; i < 2; ++i) {
            if (count > 0) av_extend(out[i], count - 1);
            for (int k = 0; k < count; ++k) {
                SV* e = newSVnv((double)(*data[i])[(std::size_t)k]);
                if (!av_store(out[i], k, e)) SvREFCNT_dec(e);
            }
        }
        *ret = sv_2mortal(newSViv(count));
        return 1;
    }

    static void xsub(pTHX_ CV* cv) {
        dXSARGS;
        const Row* row = static_cast<const Row*>(CvXSUBANY(cv).any_ptr);
        if (items != 5) croak("%s", row->usage);
        SV* args[5];
        for (int i = 0; i < 5; ++i) args[i] = ST(i);
        char err[1024];
        err[0] = '\0';
        SV* ret = nullptr;
        int n = run(aTHX_ row, args, &ret, err, sizeof err);
        if (err[0]) croak("%s", err);
        if (n) ST(0) = ret;
        XSRETURN(n);
    }
};

template <std::size_t Capacity>
Row make_filled_row(const char* name, const char* usage,
                    int (*fn)(const float*, const float*, int, float*, float*), const char* sizes) {
    void (*xs)(pTHX_ CV*) = &FilledPair<Capacity>::xsub;
    return Row{name, usage, reinterpret_cast<void (*)()>(fn), reinterpret_cast<Xsub>(xs), sizes, {}};
}

}  // namespace korval::binding
