// Generic wrappers: one XSUB template per C++ signature.
//
// The parameter types of a library routine choose the conversion of each
// Perl argument (see include/korval/korval.hpp).  The XSUB finds its table
// row, and with it the routine and the usage text, through CvXSUBANY, so one
// template instance serves every routine of the same signature.
//
// No C++ object with a destructor may be alive when Perl croaks (croak
// unwinds with longjmp): errors are collected into a plain buffer and the
// croak happens after the scope that owns the temporaries has closed.
#pragma once

#include <cstdio>
#include <cstring>
#include <string>
#include <tuple>
#include <type_traits>
#include <utility>
#include <vector>

#include "binding/table.hpp"
#include "core/core.hpp"
#include "korval/types.hpp"

#include <EXTERN.h>
#include <perl.h>
#include <XSUB.h>

namespace korval::binding {

// What a conversion may need to know about the call.
struct Ctx {
    const Row* row;
    int index = 0;               // argument being converted
    long ints[32];               // integer arguments by position
    long lens[32];               // array lengths by position (-1: no array)
    char* err;                   // error text (empty while all is well)
    std::size_t err_size;

    const char* arg_name(int i) const {
        return i < (int)row->args.size() ? row->args[i].c_str() : "?";
    }
    void fail(const char* what) {
        if (err[0]) return;
        std::snprintf(err, err_size, "Korval::%s: argument %d (%s) %s", row->name, index + 1,
                      arg_name(index), what);
    }
};

// Checks that every array holds as many elements as its count asks for.
// The row's size text is "name=expr ..." with expr a product of integer
// argument names and numbers.
bool check_sizes(Ctx& ctx);

inline AV* array_arg(pTHX_ SV* sv, Ctx& ctx) {
    if (SvROK(sv) && SvTYPE(SvRV(sv)) == SVt_PVAV) return (AV*)SvRV(sv);
    ctx.fail("is not an array reference");
    return nullptr;
}

template <class T>
struct Conv;

template <>
struct Conv<int> {
    int v = 0;
    void in(pTHX_ SV* sv, Ctx& c) {
        v = (int)SvIV(sv);
        c.ints[c.index] = v;
    }
    int arg() { return v; }
    void out(pTHX_ SV*) {}
};

template <>
struct Conv<float> {
    float v = 0;
    void in(pTHX_ SV* sv, Ctx&) { v = (float)SvNV(sv); }
    float arg() { return v; }
    void out(pTHX_ SV*) {}
};

template <>
struct Conv<const char*> {
    const char* v = "";
    void in(pTHX_ SV* sv, Ctx&) { v = SvOK(sv) ? SvPV_nolen(sv) : ""; }
    const char* arg() { return v; }
    void out(pTHX_ SV*) {}
};

inline bool writable(pTHX_ SV* sv, Ctx& c) {
    if (SvREADONLY(sv)) {
        c.fail("must be a variable: it receives a result");
        return false;
    }
    return true;
}

template <>
struct Conv<int&> {
    int v = 0;
    void in(pTHX_ SV* sv, Ctx& c) { writable(aTHX_ sv, c); }
    int& arg() { return v; }
    void out(pTHX_ SV* sv) {
        sv_setiv(sv, v);
        SvSETMAGIC(sv);
    }
};

template <>
struct Conv<float&> {
    float v = 0;
    void in(pTHX_ SV* sv, Ctx& c) { writable(aTHX_ sv, c); }
    float& arg() { return v; }
    void out(pTHX_ SV* sv) {
        sv_setnv(sv, (double)v);
        SvSETMAGIC(sv);
    }
};

template <std::size_t N>
struct Conv<OutString<N>> {
    char buf[N];
    void in(pTHX_ SV* sv, Ctx& c) {
        buf[0] = '\0';
        writable(aTHX_ sv, c);
    }
    OutString<N> arg() { return OutString<N>{buf}; }
    void out(pTHX_ SV* sv) {
        buf[N - 1] = '\0';
        sv_setpv(sv, buf);
        SvSETMAGIC(sv);
    }
};

// Arrays: copied into a temporary of the array's own length; missing
// elements read as 0.  Non-const arrays are written back element by element.
template <class E, bool WriteBack>
struct ArrayConv {
    std::vector<E> v;
    AV* av = nullptr;
    void in(pTHX_ SV* sv, Ctx& c) {
        av = array_arg(aTHX_ sv, c);
        c.lens[c.index] = 0;
        v.reserve(1);
        if (!av) return;
        SSize_t n = av_len(av) + 1;
        c.lens[c.index] = (long)n;
        v.resize((std::size_t)n);
        for (SSize_t i = 0; i < n; ++i) {
            SV** e = av_fetch(av, i, 0);
            if (!e) continue;
            if constexpr (std::is_same_v<E, float>)
                v[(std::size_t)i] = (float)SvNV(*e);
            else
                v[(std::size_t)i] = (E)SvIV(*e);
        }
    }
    void out(pTHX_ SV*) {
        if constexpr (WriteBack) {
            if (!av) return;
            for (std::size_t i = 0; i < v.size(); ++i) {
                SV* e;
                if constexpr (std::is_same_v<E, float>)
                    e = newSVnv((double)v[i]);
                else
                    e = newSViv((IV)v[i]);
                if (!av_store(av, (SSize_t)i, e)) SvREFCNT_dec(e);
            }
        }
    }
};

template <>
struct Conv<const float*> : ArrayConv<float, false> {
    const float* arg() { return v.data(); }
};
template <>
struct Conv<const int*> : ArrayConv<int, false> {
    const int* arg() { return v.data(); }
};
template <>
struct Conv<float*> : ArrayConv<float, true> {
    float* arg() { return v.data(); }
};
template <>
struct Conv<int*> : ArrayConv<int, true> {
    int* arg() { return v.data(); }
};

template <class R>
inline SV* result_sv(pTHX_ R r) {
    if constexpr (std::is_same_v<R, int>)
        return newSViv((IV)r);
    else if constexpr (std::is_same_v<R, float>)
        return newSVnv((double)r);
    else if constexpr (std::is_same_v<R, const char*>)
        return newSVpv(r ? r : "", 0);
    else
        static_assert(sizeof(R) == 0, "unsupported result type");
}

template <class R, class... A>
struct Generic {
    using Fn = R (*)(A...);

    template <std::size_t... I>
    static int run(pTHX_ const Row* row, SV** args, SV** ret, char* err, std::size_t err_size,
                   std::index_sequence<I...>) {
        Ctx ctx;
        ctx.row = row;
        ctx.err = err;
        ctx.err_size = err_size;
        for (int i = 0; i < 32; ++i) ctx.ints[i] = 0, ctx.lens[i] = -1;
        std::tuple<Conv<A>...> convs;
        ((ctx.index = (int)I, std::get<I>(convs).in(aTHX_ args[I], ctx)), ...);
        if (err[0] || !check_sizes(ctx)) return 0;
        Fn fn = reinterpret_cast<Fn>(row->fn);
        try {
            if constexpr (std::is_void_v<R>) {
                fn(std::get<I>(convs).arg()...);
                (std::get<I>(convs).out(aTHX_ args[I]), ...);
                return 0;
            } else {
                R r = fn(std::get<I>(convs).arg()...);
                (std::get<I>(convs).out(aTHX_ args[I]), ...);
                *ret = sv_2mortal(result_sv<R>(aTHX_ r));
                return 1;
            }
        } catch (const FatalError& e) {
            std::snprintf(err, err_size, "%s", e.message.c_str());
        } catch (const std::exception& e) {
            std::snprintf(err, err_size, "Korval::%s: %s", row->name, e.what());
        }
        return 0;
    }

    static void xsub(pTHX_ CV* cv) {
        dXSARGS;
        const Row* row = static_cast<const Row*>(CvXSUBANY(cv).any_ptr);
        if (items != (I32)sizeof...(A)) croak("%s", row->usage);
        SV* args[sizeof...(A) + 1];
        for (int i = 0; i < (int)sizeof...(A); ++i) args[i] = ST(i);
        char err[1024];
        err[0] = '\0';
        SV* ret = nullptr;
        int n = run(aTHX_ row, args, &ret, err, sizeof err, std::index_sequence_for<A...>{});
        if (err[0]) croak("%s", err);
        if (n) ST(0) = ret;
        XSRETURN(n);
    }
};

template <class R, class... A>
Row make_row(const char* name, const char* usage, R (*fn)(A...), const char* sizes = nullptr) {
    void (*xs)(pTHX_ CV*) = &Generic<R, A...>::xsub;
    return Row{name, usage, reinterpret_cast<void (*)()>(fn), reinterpret_cast<Xsub>(xs), sizes, {}};
}

}  // namespace korval::binding

// ROW(getpag, "i1, i2") registers korval::getpag with its usage text.
#define KORVAL_ROW(name, args) \
    ::korval::binding::make_row(#name, "Usage: Korval::" #name "(" args ")", &::korval::name)
#define KORVAL_ROW_SIZES(name, args, sizes) \
    ::korval::binding::make_row(#name, "Usage: Korval::" #name "(" args ")", &::korval::name, sizes)
