// Line types and dash patterns, line widths, caps, joins and the miter
// limit, and the curve line-type cycle.
#include <cmath>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "devices/sink.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

// The built-in patterns in tenths of a millimetre: drawn, skipped, ...
struct BuiltinPattern {
    int n;
    int len[4];
};
const BuiltinPattern kPatterns[8] = {
    {1, {1}},               // solid
    {2, {1, 10}},           // dot
    {2, {10, 10}},          // dash
    {4, {30, 15, 10, 15}},  // chndsh
    {4, {1, 15, 15, 15}},   // chndot
    {2, {20, 15}},          // dashm
    {2, {1, 20}},           // dotl
    {2, {30, 20}},          // dashl
};

inline int format_code() { return state().out.format; }
// The PostScript family with PDF: the device draws widths itself.
inline bool postscript_family(int code) { return code >= 501 && code <= 600; }
constexpr int kSvg = 801;
// Devices that take the line attributes themselves.
inline Device* attribute_device() {
    int code = format_code();
    if (!postscript_family(code) && code != kSvg) return nullptr;
    return state().out.device.get();
}

void line_type(const char* name, int type) {
    if (enter_routine(name)) return;
    set_line_type(type);
}

void warn_real(float v) {
    char buf[48];
    buf[format_fixed(buf, (double)v, 4)] = '\0';
    warn_routine_text(2, buf);
}

}  // namespace

void set_dash_pattern(const int* lengths, int n) {
    PipelineState& p = state().pipeline;
    if (n < 1 || n > 10) return;
    polyline_flush();
    p.dash_count = n;
    for (int i = 0; i < n; ++i) p.dash[i] = lengths[i] < 1 ? 1 : lengths[i];
    dash_reset();
}

void set_line_type(int type) {
    if (type < 0 || type > 7) return;
    const BuiltinPattern& b = kPatterns[type];
    int len[4];
    for (int i = 0; i < b.n; ++i) {
        int v = scaled_length(b.len[i]);
        len[i] = v < 1 ? 1 : v;
    }
    state().style.line_type = type;
    set_dash_pattern(len, b.n);
}

void solid() { line_type("solid", 0); }
void dot() { line_type("dot", 1); }
void dash() { line_type("dash", 2); }
void chndsh() { line_type("chndsh", 3); }
void chndot() { line_type("chndot", 4); }
void dashm() { line_type("dashm", 5); }
void dotl() { line_type("dotl", 6); }
void dashl() { line_type("dashl", 7); }

void lintyp(int i) {
    if (enter_routine("lintyp")) return;
    if (i < 0 || i > 7) {
        warn_routine_value(2, i);
        return;
    }
    set_line_type(i);
}

void myline(const int* nray, int n) {
    if (enter_routine("myline")) return;
    if (n < 1 || n > 10) {
        warn_routine_value(2, n);
        return;
    }
    for (int i = 0; i < n; ++i) {
        if (nray[i] < 1) {
            warn_routine_value(2, nray[i]);
            return;
        }
    }
    set_dash_pattern(nray, n);
}

void linwid(int i) {
    if (enter_routine("linwid")) return;
    if (i < 1 || i > 32000) {
        warn_routine_value(2, i);
        return;
    }
    polyline_flush();
    PipelineState& p = state().pipeline;
    int code = format_code();
    if (postscript_family(code) || code == kSvg) {
        p.line_width = -i;
        if (Device* d = attribute_device()) d->line_width(i);
    } else {
        p.line_width = i;
    }
}

void penwid(float x) {
    if (enter_routine("penwid")) return;
    if (!(x > 0.0f && x <= 32000.0f)) {
        warn_real(x);
        return;
    }
    polyline_flush();
    PipelineState& p = state().pipeline;
    int code = format_code();
    int n = round_nearest(x);
    if (n < 1) n = 1;
    if (postscript_family(code) || code == kSvg) {
        p.line_width = -n;
        if (Device* d = attribute_device()) d->pen_width(x);
    } else {
        p.line_width = n;
    }
}

void lncap(const char* s) {
    if (enter_routine("lncap")) return;
    int k = match_keyword("CUT +ROUN+LONG", 3, s);
    if (k == 0) return;
    polyline_flush();
    state().pipeline.line_cap = k - 1;
    if (Device* d = attribute_device()) d->line_cap(k - 1);
}

void lnjoin(const char* s) {
    if (enter_routine("lnjoin")) return;
    int k = match_keyword("SHAR+ROUN+TRUN", 3, s);
    if (k == 0) return;
    polyline_flush();
    state().pipeline.line_join = k - 1;
    // The device sends the miter limit again after "SHAR".
    if (Device* d = attribute_device()) d->line_join(k - 1);
}

void lnmlt(float x) {
    if (enter_routine("lnmlt")) return;
    if (!(x >= 1.0f)) {
        warn_real(x);
        return;
    }
    polyline_flush();
    state().pipeline.miter_limit = x;
    if (Device* d = attribute_device()) d->miter_limit(x);
}

int getlin() {
    enter_routine("getlin");
    return state().pipeline.line_width;
}

void lincyc(int i, int ityp) {
    if (enter_routine("lincyc")) return;
    if (i < 1 || i > 30) {
        warn_routine_value(2, i);
        return;
    }
    if (ityp < 0 || ityp > 7) {
        warn_routine_value(2, ityp);
        return;
    }
    state().style.cycle_type[i - 1] = ityp;
}

namespace {

void reset_cycle_types() {
    for (int k = 0; k < 30; ++k) state().style.cycle_type[k] = k % 8;
}

void style_defaults() {
    state().style.line_type = 0;
    reset_cycle_types();
}

struct Registration {
    Registration() {
        register_defaults(12, style_defaults);
        register_reset("LINC", reset_cycle_types);
    }
} registration;

}  // namespace

}  // namespace korval
