// Per-axis settings of labels, ticks and names.
#include <algorithm>
#include <cmath>
#include <cctype>
#include <cstring>

#include "axes/axes.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

AxesState& ax() { return state().axes; }

const char* const kLabelTypes =
    "NONE+FLOA+EXP +LOG +CLOG+ELOG+MAP +DMAP+LMAP+TIME+HOUR+SECO+MYLA+FEXP+DATE";

// True when the first three characters of s (upper case) are prefix.
bool starts(const char* s, const char* prefix) {
    if (!s) return false;
    for (int i = 0; prefix[i]; ++i)
        if (!s[i] || std::toupper((unsigned char)s[i]) != prefix[i]) return false;
    return true;
}

template <class F>
void for_axes(const char* s, F f) {
    int sel[3] = {0, 0, 0};
    set_by_axes(s, 1, sel);
    for (int i = 0; i < 3; ++i)
        if (sel[i]) f(ax().axis[i]);
}

void apply_label_type(AxisSettings& a, int type) {
    a.label_type = type;
    a.label_class = type >= 9 && type <= 11 ? 1 : type >= 6 && type <= 8 ? 2 : type == 14 ? 3 : 0;
    a.log_form = type == 3 || type == 4 ? 1 : type == 5 ? 3 : 2;
    a.exp_flag = type == 2 || type == 4 ? 1 : 0;
}

void axis_defaults(AxisSettings& a) {
    apply_label_type(a, 1);
    a.digits = 1;
    a.ticks = 2;
    a.tick_pos = 0;
    a.line = 1;
    a.label_dist = scaled_length(24);
    a.name_dist = scaled_length(30);
    a.name.clear();
    a.name_just = 0;
    a.label_orient = 0;
    a.label_just = 0;
    a.label_pos = 0;
    a.ends = 0;
    for (auto& t : a.user_labels) t.clear();
    a.user_label_count = 0;
    for (int& c : a.colours) c = -1;
    a.date = DateLabelModes{};
    a.date.day = 1;  // SHOR
    a.tick_mode = 0;
    a.monthly_mode = 0;
}

void settings_defaults() {
    AxesState& s = ax();
    for (AxisSettings& a : s.axis) axis_defaults(a);
    s.tick_major = scaled_length(24);
    s.tick_minor = scaled_length(16);
    s.name_height = scaled_length(36);
    s.rvynam = 0;
    s.logtic = 0;
    s.timopt = 0;
    s.exp_zero = true;
    s.rgtlab = 0;
    for (int& c : s.label_colour) c = -1;
    s.bar_label_mode = s.pie_label_mode = s.contour_label_mode = 0;
    s.bar_digits = s.contour_digits = s.pie_data_digits = s.pie_percent_digits = 1;
    s.bar_label_pos = s.pie_label_pos = s.pie_label_type = 0;
    // 500 plot units between contour labels, divided by the scale factor.
    const float sf = state().out.scale_factor > 0 ? state().out.scale_factor : 1.0f;
    s.contour_label_dist = std::max(1, (int)std::lround(500.0f / sf));
}

template <class F>
void each_axis(F f) {
    for (AxisSettings& a : ax().axis) f(a);
}

struct Registration {
    Registration() {
        register_defaults(21, settings_defaults);
        register_reset("LABE", [] {
            each_axis([](AxisSettings& a) { apply_label_type(a, 1); });
        });
        register_reset("LABD", [] {
            each_axis([](AxisSettings& a) { a.digits = 1; });
        });
        register_reset("DIGI", [] {
            each_axis([](AxisSettings& a) { a.digits = 1; });
        });
        register_reset("INTA", [] {
            each_axis([](AxisSettings& a) { a.digits = 1; });
        });
        register_reset("LABJ", [] {
            each_axis([](AxisSettings& a) { a.label_just = 0; });
        });
        register_reset("LABP", [] {
            each_axis([](AxisSettings& a) { a.label_pos = 0; });
        });
        register_reset("LABT", [] {
            each_axis([](AxisSettings& a) { a.label_orient = 0; });
        });
        register_reset("LABC", [] {
            for (int& c : ax().label_colour) c = -1;
        });
        register_reset("MYLA", [] {
            each_axis([](AxisSettings& a) {
                for (auto& t : a.user_labels) t.clear();
                a.user_label_count = 0;
            });
        });
        register_reset("NAMD", [] {
            each_axis([](AxisSettings& a) { a.name_dist = scaled_length(30); });
        });
        register_reset("NAME", [] {
            each_axis([](AxisSettings& a) { a.name.clear(); });
        });
        register_reset("NOLI", [] {
            each_axis([](AxisSettings& a) { a.line = 1; });
        });
        register_reset("TICK", [] {
            each_axis([](AxisSettings& a) { a.ticks = 2; });
        });
        register_reset("TICL", [] {
            ax().tick_major = scaled_length(24);
            ax().tick_minor = scaled_length(16);
        });
        register_reset("TICP", [] {
            each_axis([](AxisSettings& a) { a.tick_pos = 0; });
        });
        register_reset("TIMO", [] { ax().timopt = 0; });
        register_reset("EXPZ", [] { ax().exp_zero = true; });
        register_reset("LOGT", [] { ax().logtic = 0; });
        register_reset("HNAM", [] { ax().name_height = scaled_length(36); });
        register_reset("RVYN", [] { ax().rvynam = 0; });
        register_reset("RGTL", [] { ax().rgtlab = 0; });
        register_reset("AXCL", [] {
            each_axis([](AxisSettings& a) {
                for (int& c : a.colours) c = -1;
            });
        });
        register_reset("AXEN", [] {
            each_axis([](AxisSettings& a) { a.ends = 0; });
        });
    }
} registration;

}  // namespace

void labels(const char* s1, const char* s2) {
    enter_routine("labels");
    AxesState& s = ax();
    if (starts(s2, "BAR")) {
        int i = match_keyword("NONE+SECO+FIRS+MAXI+MINI+DELT+POSI", 7, s1);
        if (i) s.bar_label_mode = i - 1;
        return;
    }
    if (starts(s2, "PIE")) {
        int i = match_keyword("NONE+PERC+DATA+BOTH", 4, s1);
        if (i) s.pie_label_mode = i - 1;
        return;
    }
    if (starts(s2, "CON")) {
        int i = match_keyword("NONE+FLOA+CONL", 3, s1);
        if (i) s.contour_label_mode = i - 1;
        return;
    }
    int i = match_keyword(kLabelTypes, 15, s1);
    if (!i) return;
    for_axes(s2, [&](AxisSettings& a) { apply_label_type(a, i - 1); });
}

static void set_digits(const char* routine, int i, const char* s) {
    enter_routine(routine);
    if (check_range(i, -1, 100)) return;
    AxesState& st = ax();
    if (starts(s, "BAR")) return void(st.bar_digits = i);
    if (starts(s, "CON")) return void(st.contour_digits = i);
    if (starts(s, "PIE")) return void(st.pie_data_digits = st.pie_percent_digits = i);
    if (starts(s, "DAT")) return void(st.pie_data_digits = i);
    if (starts(s, "PER")) return void(st.pie_percent_digits = i);
    for_axes(s, [&](AxisSettings& a) { a.digits = i; });
}

void labdig(int i, const char* s) { set_digits("labdig", i, s); }
void digits(int i, const char* s) { set_digits("digits", i, s); }

void intax() {
    enter_routine("intax");
    each_axis([](AxisSettings& a) { a.digits = -1; });
}

void labdis(int i, const char* s) {
    enter_routine("labdis");
    if (starts(s, "CON")) {
        if (check_range(i, 1, 10000)) return;
        ax().contour_label_dist = i;
        return;
    }
    for_axes(s, [&](AxisSettings& a) { a.label_dist = i; });
}

void labtyp(const char* s1, const char* s2) {
    enter_routine("labtyp");
    if (starts(s2, "PIE")) {
        int i = match_keyword("CENT+LEFT+RIGH+TYPS+OUTW+INWA", 6, s1);
        if (i) ax().pie_label_type = i - 1;
        return;
    }
    int i = match_keyword("HORI+VERT", 2, s1);
    if (i) for_axes(s2, [&](AxisSettings& a) { a.label_orient = i - 1; });
}

void labjus(const char* s1, const char* s2) {
    enter_routine("labjus");
    int i = match_keyword("AUTO+LEFT+RIGH+OUTW+INWA", 5, s1);
    if (i) for_axes(s2, [&](AxisSettings& a) { a.label_just = i - 1; });
}

void labpos(const char* s1, const char* s2) {
    enter_routine("labpos");
    if (starts(s2, "BAR")) {
        int i = match_keyword("AUTO+INSI+OUTS+LEFT+ABOV+RIGH+BELO+CENT", 8, s1);
        if (i) ax().bar_label_pos = i - 1;
        return;
    }
    if (starts(s2, "PIE")) {
        int i = match_keyword("INTE+EXTE+ALIG", 3, s1);
        if (i) ax().pie_label_pos = i - 1;
        return;
    }
    int i = match_keyword("TICK+CENT+SHIF", 3, s1);
    if (i) for_axes(s2, [&](AxisSettings& a) { a.label_pos = i - 1; });
}

void labmod(const char* s1, const char* s2, const char* s3) {
    enter_routine("labmod");
    char key[4] = {0, 0, 0, 0};
    for (int i = 0; i < 3 && s1 && s1[i]; ++i) key[i] = (char)std::toupper((unsigned char)s1[i]);
    int v = 0;
    if (!std::strcmp(key, "YEA")) {
        if (!(v = match_keyword("FULL+SHOR+NONE", 3, s2))) return;
        for_axes(s3, [&](AxisSettings& a) { a.date.year = v - 1; });
    } else if (!std::strcmp(key, "DAY")) {
        if (!(v = match_keyword("NAME+SHOR+NONE+FULL+LONG", 5, s2))) return;
        for_axes(s3, [&](AxisSettings& a) { a.date.day = v - 1; });
    } else if (!std::strcmp(key, "MON")) {
        if (!(v = match_keyword("NAME+SHOR+NONE+FULL+LONG+TINY", 6, s2))) return;
        for_axes(s3, [&](AxisSettings& a) { a.date.month = v - 1; });
    } else if (!std::strcmp(key, "LAN")) {
        if (!(v = match_keyword("ENGL+GERM", 2, s2))) return;
        for_axes(s3, [&](AxisSettings& a) { a.date.language = v - 1; });
    } else if (!std::strcmp(key, "FOR")) {
        if (!(v = match_keyword("DMY +DYM +MDY +MYD +YDM +YMD ", 6, s2))) return;
        for_axes(s3, [&](AxisSettings& a) { a.date.order = v - 1; });
    } else if (!std::strcmp(key, "SEP")) {
        char c = s2 && s2[0] ? s2[0] : ' ';
        for_axes(s3, [&](AxisSettings& a) { a.date.separator = c; });
    } else if (!std::strcmp(key, "CAS")) {
        if (!(v = match_keyword("NONE+UPPE", 2, s2))) return;
        for_axes(s3, [&](AxisSettings& a) { a.date.upper = v - 1; });
    } else if (!std::strcmp(key, "STE")) {
        if (!(v = match_keyword("DAYS+MONT+QUAR+HALF+YEAR+DMON", 6, s2))) return;
        static const int months[6] = {0, 1, 3, 6, 12, 2};
        for_axes(s3, [&](AxisSettings& a) {
            a.date.step = v - 1;
            a.monthly_mode = months[v - 1];
        });
    } else {
        warn_routine_text(2, s1 ? s1 : "");
    }
}

void labclr(int i, const char* s) {
    enter_routine("labclr");
    if (check_range(i, -1, 255)) return;
    int k = match_keyword("BAR +PIE +CON ", 3, s);
    if (k) ax().label_colour[k - 1] = i;
}

void mylab(const char* s1, int i, const char* s2) {
    enter_routine("mylab");
    if (check_range(i, 1, 20)) return;
    std::string text = s1 ? s1 : "";
    if (text.size() > 32) text.resize(32);
    bool warned = false;
    for_axes(s2, [&](AxisSettings& a) {
        if (!a.user_labels[i - 1].empty() && !warned) {
            warn_routine_value(6, i);
            warned = true;
        }
        a.user_labels[i - 1] = text;
        if (a.user_label_count < i) a.user_label_count = i;
    });
}

void rgtlab() {
    enter_routine("rgtlab");
    ax().rgtlab = 1;
}

void ticks(int i, const char* s) {
    enter_routine("ticks");
    if (check_range(i, 0, 1000)) return;
    for_axes(s, [&](AxisSettings& a) { a.ticks = i; });
}

void ticlen(int i1, int i2) {
    enter_routine("ticlen");
    if (check_range(i1, 1, 10000) || check_range(i2, 1, 10000)) return;
    ax().tick_major = i1;
    ax().tick_minor = i2;
}

void ticpos(const char* s1, const char* s2) {
    enter_routine("ticpos");
    int i = match_keyword("LABE+REVE+CENT", 3, s1);
    if (i) for_axes(s2, [&](AxisSettings& a) { a.tick_pos = i - 1; });
}

void ticmod(const char* s1, const char* s2) {
    enter_routine("ticmod");
    int i = match_keyword("NONE+DAYS+MONT+QUAR+HALF+YEAR+DMON", 7, s1);
    if (i) for_axes(s2, [&](AxisSettings& a) { a.tick_mode = i - 1; });
}

void logtic(const char* s) {
    enter_routine("logtic");
    int i = match_keyword("AUTO+FULL", 2, s);
    if (i) ax().logtic = i - 1;
}

void name(const char* s1, const char* s2) {
    enter_routine("name");
    std::string text = s1 ? s1 : "";
    if (text.size() > 132) text.resize(132);
    for_axes(s2, [&](AxisSettings& a) { a.name = text; });
}

void namdis(int i, const char* s) {
    enter_routine("namdis");
    for_axes(s, [&](AxisSettings& a) { a.name_dist = i; });
}

void namjus(const char* s1, const char* s2) {
    enter_routine("namjus");
    int i = match_keyword("CENT+LEFT+RIGH", 3, s1);
    if (i) for_axes(s2, [&](AxisSettings& a) { a.name_just = i - 1; });
}

void hname(int i) {
    enter_routine("hname");
    if (check_range(i, 1, 10000)) return;
    ax().name_height = i;
}

void rvynam() {
    enter_routine("rvynam");
    ax().rvynam = 1;
}

void noline(const char* s) {
    enter_routine("noline");
    for_axes(s, [](AxisSettings& a) { a.line = 0; });
}

void axends(const char* s1, const char* s2) {
    enter_routine("axends");
    int i = match_keyword("NONE+NOFI+NOLA+NOEN+ENDS+FIRS+LAST", 7, s1);
    if (i) for_axes(s2, [&](AxisSettings& a) { a.ends = i - 1; });
}

void axclrs(int i, const char* s1, const char* s2) {
    enter_routine("axclrs");
    if (check_range(i, -1, 255)) return;
    int k = match_keyword("LINE+TICK+LABE+NAME+ALL ", 5, s1);
    if (!k) return;
    for_axes(s2, [&](AxisSettings& a) {
        if (k == 5) {
            for (int& c : a.colours) c = i;
        } else {
            a.colours[k - 1] = i;
        }
    });
}

void timopt() {
    enter_routine("timopt");
    ax().timopt = 1;
}

void gettic(int& i1, int& i2, int& i3) {
    enter_routine("gettic");
    i1 = ax().axis[0].ticks, i2 = ax().axis[1].ticks, i3 = ax().axis[2].ticks;
}

void gettcl(int& i1, int& i2) {
    enter_routine("gettcl");
    i1 = ax().tick_major, i2 = ax().tick_minor;
}

void getdig(int& i1, int& i2, int& i3) {
    enter_routine("getdig");
    i1 = ax().axis[0].digits, i2 = ax().axis[1].digits, i3 = ax().axis[2].digits;
}

void expzlb(const char* s) {
    check_level(0, 3, "expzlb");
    int i = match_keyword("ON  +OFF ", 2, s);
    if (i) ax().exp_zero = i == 1;
}

}  // namespace korval
