// Wrappers of csrpts and csrmov: the two integer arrays are outputs sized
// by nmax.  The library fills temporaries of nmax elements; afterwards the
// caller's arrays are extended as needed and receive the n points, and n
// and iret are written to their variables.
#pragma once

#include "binding/wrap.hpp"

namespace korval::binding {

struct CursorList {
    using Fn = void (*)(int*, int*, int, int&, int&);
    // More points than any window can deliver in one wait.
    static constexpr int kLimit = 1 << 20;

    static void run(pTHX_ const Row* row, SV** args, char* err, std::size_t err_size) {
        Ctx ctx;
        ctx.row = row;
        ctx.err = err;
        ctx.err_size = err_size;
        for (int i = 0; i < 32; ++i) ctx.ints[i] = 0, ctx.lens[i] = -1;
        AV* out[2];
        for (int i = 0; i < 2; ++i) {
            ctx.index = i;
            out[i] = array_arg(aTHX_ args[i], ctx);
        }
        Conv<int> nmax;
        ctx.index = 2;
        nmax.in(aTHX_ args[2], ctx);
        Conv<int&> n, iret;
        ctx.index = 3;
        n.in(aTHX_ args[3], ctx);
        ctx.index = 4;
        iret.in(aTHX_ args[4], ctx);
        if (err[0]) return;
        int cap = nmax.arg() < 0 ? 0 : (nmax.arg() > kLimit ? kLimit : nmax.arg());
        std::vector<int> xs((std::size_t)cap + 1), ys((std::size_t)cap + 1);
        Fn fn = reinterpret_cast<Fn>(row->fn);
        fn(xs.data(), ys.data(), cap, n.arg(), iret.arg());
        int count = n.arg() < 0 ? 0 : (n.arg() > cap ? cap : n.arg());
        n.v = count;
        const std::vector<int>* data[2] = {&xs, &ys};
        for (int i = 0; i < 2; ++i) {
            if (count > 0) av_extend(out[i], count - 1);
            for (int k = 0; k < count; ++k) {
                SV* e = newSViv((IV)(*data[i])[(std::size_t)k]);
                if (!av_store(out[i], k, e)) SvREFCNT_dec(e);
            }
        }
        n.out(aTHX_ args[3]);
        iret.out(aTHX_ args[4]);
    }

    static void xsub(pTHX_ CV* cv) {
        dXSARGS;
        const Row* row = static_cast<const Row*>(CvXSUBANY(cv).any_ptr);
        if (items != 5) croak("%s", row->usage);
        SV* args[5];
        for (int i = 0; i < 5; ++i) args[i] = ST(i);
        char err[1024];
        err[0] = '\0';
        run(aTHX_ row, args, err, sizeof err);
        if (err[0]) croak("%s", err);
        XSRETURN(0);
    }
};

inline Row make_cursor_row(const char* name, const char* usage, void (*fn)(int*, int*, int, int&, int&)) {
    void (*xs)(pTHX_ CV*) = &CursorList::xsub;
    return Row{name, usage, reinterpret_cast<void (*)()>(fn), reinterpret_cast<Xsub>(xs), nullptr, {}};
}

}  // namespace korval::binding
