// The module's entry point: version check and registration of the table.
#include <cctype>
#include <cstdlib>
#include <cstring>
#include <deque>

#include "binding/wrap.hpp"

namespace korval::binding {

namespace {

std::vector<Row>& table() {
    static std::vector<Row> t;
    return t;
}

std::vector<std::string> parse_args(const char* usage) {
    std::vector<std::string> out;
    const char* p = std::strchr(usage, '(');
    if (!p) return out;
    ++p;
    std::string cur;
    for (; *p && *p != ')'; ++p) {
        if (*p == ',') {
            out.push_back(cur);
            cur.clear();
        } else if (*p != ' ') {
            cur += *p;
        }
    }
    if (!cur.empty()) out.push_back(cur);
    return out;
}

}  // namespace

void add_rows(std::vector<Row> rows) {
    for (Row& r : rows) {
        r.args = parse_args(r.usage);
        table().push_back(std::move(r));
    }
}

const std::vector<Row>& rows() { return table(); }

bool check_sizes(Ctx& ctx) {
    const Row& row = *ctx.row;
    if (!row.sizes) return true;
    const char* p = row.sizes;
    while (*p) {
        while (*p == ' ') ++p;
        if (!*p) break;
        const char* eq = std::strchr(p, '=');
        if (!eq) break;
        std::string array(p, (std::size_t)(eq - p));
        const char* q = eq + 1;
        const char* end = q;
        while (*end && *end != ' ') ++end;
        std::string expr(q, (std::size_t)(end - q));
        p = end;
        int ai = -1;
        for (std::size_t i = 0; i < row.args.size(); ++i)
            if (row.args[i] == array) ai = (int)i;
        if (ai < 0 || ctx.lens[ai] < 0) continue;
        long need = 1;
        std::size_t s = 0;
        while (s <= expr.size()) {
            std::size_t star = expr.find('*', s);
            if (star == std::string::npos) star = expr.size();
            std::string term = expr.substr(s, star - s);
            long v = 0;
            if (!term.empty() && std::isdigit((unsigned char)term[0])) {
                v = std::atol(term.c_str());
            } else {
                for (std::size_t i = 0; i < row.args.size(); ++i)
                    if (row.args[i] == term) v = ctx.ints[i];
            }
            if (v <= 0) {
                need = 0;  // a count the routine itself rejects
                break;
            }
            need *= v;
            if (need > (1L << 40)) break;
            s = star + 1;
        }
        if (need > ctx.lens[ai]) {
            std::snprintf(ctx.err, ctx.err_size,
                          "Korval::%s: array %s has %ld elements, but the call needs %ld", row.name,
                          array.c_str(), ctx.lens[ai], need);
            return false;
        }
    }
    return true;
}

}  // namespace korval::binding

using korval::binding::Row;

extern "C" {
XS_EXTERNAL(boot_Korval);
}

XS_EXTERNAL(boot_Korval) {
    dXSARGS;
    const char* module = items > 0 ? SvPV_nolen(ST(0)) : "Korval";
    SV* version = nullptr;
    const char* var = nullptr;
    if (items >= 2) {
        version = ST(1);
    } else {
        var = "XS_VERSION";
        version = get_sv(form("%s::%s", module, var), 0);
        if (!version) {
            var = "VERSION";
            version = get_sv(form("%s::%s", module, var), 0);
        }
    }
    if (version && (!SvOK(version) || std::strcmp(SvPV_nolen(version), "8.1") != 0)) {
        SV* text = sv_2mortal(SvOK(version) ? newSVsv(version) : newSVpvs(""));
        croak("%s object version %s does not match %s%s%s%s %" SVf, module, "8.1", var ? "$" : "",
              var ? module : "", var ? "::" : "", var ? var : "bootstrap parameter", SVfARG(text));
    }
    korval::set_fatal_throws(true);
    for (const Row& r : korval::binding::rows()) {
        std::string full = std::string("Korval::") + r.name;
        CV* cv = newXS(full.c_str(), reinterpret_cast<XSUBADDR_t>(r.xsub), "Korval");
        CvXSUBANY(cv).any_ptr = const_cast<Row*>(&r);
    }
    XSRETURN_YES;
}
