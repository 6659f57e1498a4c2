// The widget table, the widget routines, item lists and the message
// dialogs.  The routines make no level test: they work before korini.
#include "widgets/widgets.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/core.hpp"
#include "korval/korval.hpp"
#include "platform/platform.hpp"

namespace korval {

namespace widgets {

Toolkit& toolkit() {
    static Toolkit t;
    return t;
}

std::vector<std::string> split_items(const char* s) {
    std::vector<std::string> out(1);
    char sep = toolkit().separator;
    for (const char* p = s ? s : ""; *p; ++p) {
        if (*p == sep)
            out.emplace_back();
        else
            out.back() += *p;
    }
    return out;
}

int scale_positions(float lo, float hi, float step, bool* too_small) {
    if (too_small) *too_small = false;
    if (!(step > 0)) return 100;
    // In double: a range of 1 with a step of 0.1 is 10 positions, not 9.
    double n = std::floor(std::fabs((double)hi - (double)lo) / (double)step + 1e-6);
    if (n > 10000) {
        if (too_small) *too_small = true;
        return 100;
    }
    return n < 1 ? 1 : (int)n;
}

std::vector<std::pair<std::string, std::string>> file_filters(const std::string& mask, bool user) {
    // The filter list as the system dialog takes it: "name+pattern+..."
    // with the pairs separated by "+".
    std::string spec = user ? mask : (mask.empty() ? std::string() : "Mask (" + mask + ")+" + mask + "+");
    if (!user) spec += "All Files (*.*)+*.*";
    std::vector<std::string> parts(1);
    for (char c : spec) {
        if (c == '+')
            parts.emplace_back();
        else
            parts.back() += c;
    }
    std::vector<std::pair<std::string, std::string>> out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        // "*.*" means every file; as a pattern here it would need a dot.
        std::string pattern, piece;
        std::string src = parts[i + 1] + ";";
        for (char c : src) {
            if (c != ';') {
                piece += c;
                continue;
            }
            if (piece == "*.*") piece = "*";
            if (!piece.empty()) pattern += (pattern.empty() ? "" : ";") + piece;
            piece.clear();
        }
        if (pattern.empty()) continue;
        out.emplace_back(parts[i].empty() ? pattern : parts[i], pattern);
    }
    return out;
}

#ifndef KORVAL_HAVE_GTK
bool show_dialog(bool) { return false; }
bool dialog_shown() { return false; }
void refresh_widget(int) {}
unsigned long widget_xid(int) { return 0; }
bool list_dialog(const std::string&, const std::string&, const std::vector<std::string>&, int&) {
    return false;
}
bool text_dialog(const std::string&, const std::string&, std::string&) { return false; }
bool file_dialog(const std::string&, const std::string&, bool, std::string&) { return false; }
#endif

}  // namespace widgets

namespace {

using namespace widgets;

constexpr int kMaxWidgets = 200;

// A toolkit message: a modal box titled with the routine's name.
void say(const char* routine, const char* text) {
    platform::message_box(to_upper(std::string(routine)).c_str(), text);
}

// The message texts turn the separator into line breaks.
std::string lines(const char* s) {
    std::string t = s ? s : "";
    for (char& c : t)
        if (c == toolkit().separator) c = '\n';
    return t;
}

bool open_dialog() { return toolkit().state == 1 && toolkit().depth > 0; }

// Checks the parent and room in the table; returns the new widget's index
// or -1 after a message.
// The checks every creator makes: an open dialog, a parent for which
// parent_ok holds, room in the table.  Returns a widget of the kind with
// its parent and level set, or kind -1 after a message.
template <class ParentOk>
Widget new_widget(const char* routine, int ip, int kind, ParentOk parent_ok) {
    Toolkit& t = toolkit();
    Widget w;
    w.kind = -1;
    if (!open_dialog()) {
        say(routine, ">>>> No call to WGINI before!");
        return w;
    }
    if (ip < 1 || ip > (int)t.table.size() || !parent_ok(t.table[ip - 1].kind)) {
        say(routine, ">>>> Not allowed parent ID!");
        return w;
    }
    if ((int)t.table.size() >= kMaxWidgets) {
        say(routine, ">>>> Too many widgets!");
        return w;
    }
    w.kind = kind;
    w.parent = ip - 1;
    w.level = t.depth;
    return w;
}

int add(const char* routine, int ip, int kind) {
    Toolkit& t = toolkit();
    Widget w = new_widget(routine, ip, kind, [](int k) { return k == kMain || k == kBase; });
    if (w.kind < 0) return -1;
    w.just = kind == kLabel || kind == kScale ? t.set.just_label : t.set.just_button;
    // Children of free-form parents take the place given by swgwin.
    if (t.table[(std::size_t)ip - 1].layout == 2 && t.set.form_pos) {
        w.fx = t.set.x + t.set.offset_x;
        w.fy = t.set.y + t.set.offset_y;
        w.fw = t.set.w;
        w.fh = t.set.h;
        w.placed = true;
    }
    t.table.push_back(w);
    return (int)t.table.size() - 1;
}

int layout_of(const char* s) {
    std::string k = to_upper(std::string(s ? s : "").substr(0, 4));
    if (k == "HORI") return 0;
    if (k == "FORM") return 2;
    return 1;
}

Widget* widget(const char* routine, int i, const char* message = "<<<< Not allowed ID") {
    Toolkit& t = toolkit();
    if (i < 1 || i > (int)t.table.size()) {
        say(routine, message);
        return nullptr;
    }
    return &t.table[i - 1];
}

int list_widget(const char* routine, int ip, int kind, const char* s, int i) {
    int k = add(routine, ip, kind);
    if (k < 0) return -1;
    Widget& w = toolkit().table[k];
    w.items = split_items(s);
    if (i < 1 || i > (int)w.items.size()) {
        say(routine, "<<<< Selected list element out of range");
        i = 1;
    }
    w.value = i;
    // Lists keep their type (AUTO, SCRO, NOSC), boxes their orientation.
    w.layout = kind == kBox ? toolkit().set.box_vertical : toolkit().set.list_type;
    return k + 1;
}

bool between(const char* routine, bool bang) {
    if (open_dialog()) return true;
    std::string text = ">>>> " + to_upper(std::string(routine)) + " must be used between WGINI and WGFIN";
    if (bang) text += "!";
    say(routine, text.c_str());
    return false;
}

bool refused(const char* routine) {
    if (!open_dialog()) return false;
    std::string r = to_upper(std::string(routine));
    say(routine, (">>>> " + r + " cannot be used between WGINI and WGFIN").c_str());
    return true;
}

}  // namespace

int wgini(const char* s) {
    Toolkit& t = toolkit();
    if (t.state == 1 && t.depth >= 8) {
        say("wgini", ">>>> Too many nested widgets");
        return -1;
    }
    if (t.state != 1) {
        // The first level reuses the table: earlier values are gone.
        t.table.clear();
        t.depth = 0;
        t.closed_by_ok = false;
    }
    t.state = 1;
    t.level_start[t.depth] = (int)t.table.size();
    t.depth += 1;
    if ((int)t.table.size() >= kMaxWidgets) {
        say("wgini", ">>>> Too many widgets!");
        t.depth -= 1;
        if (t.depth == 0) t.state = 2;
        return -1;
    }
    Widget w;
    w.kind = kMain;
    w.layout = layout_of(s);
    w.level = t.depth;
    t.table.push_back(w);
    return (int)t.table.size();
}

void wgfin() {
    Toolkit& t = toolkit();
    if (!open_dialog()) {
        say("wgfin", ">>>> No call to WGINI");
        return;
    }
    show_dialog(true);
    t.depth -= 1;
    if (t.depth == 0) t.state = 2;
}

void sendok() {
    // The shown dialog copies its fields and closes (the window side
    // watches this flag); without a window there is nothing to close.
    toolkit().closed_by_ok = true;
}

int wgbas(int ip, const char* s) {
    int k = add("wgbas", ip, kBase);
    if (k < 0) return -1;
    toolkit().table[k].layout = layout_of(s);
    return k + 1;
}

int wglab(int ip, const char* s) {
    int k = add("wglab", ip, kLabel);
    if (k < 0) return -1;
    toolkit().table[k].text = s ? s : "";
    return k + 1;
}

int wgbut(int ip, const char* s, int i) {
    int k = add("wgbut", ip, kCheck);
    if (k < 0) return -1;
    toolkit().table[k].text = s ? s : "";
    toolkit().table[k].value = i != 0 ? 1 : 0;
    return k + 1;
}

int wgpbut(int ip, const char* s) {
    int k = add("wgpbut", ip, kPush);
    if (k < 0) return -1;
    toolkit().table[k].text = s ? s : "";
    return k + 1;
}

int wgtxt(int ip, const char* s) {
    int k = add("wgtxt", ip, kText);
    if (k < 0) return -1;
    toolkit().table[k].text = s ? s : "";
    return k + 1;
}

int wgltxt(int ip, const char* s1, const char* s2, int i) {
    int k = add("wgltxt", ip, kLabelText);
    if (k < 0) return -1;
    Widget& w = toolkit().table[k];
    w.label = s1 ? s1 : "";
    w.text = s2 ? s2 : "";
    w.value = i;
    return k + 1;
}

int wglis(int ip, const char* s, int i) { return list_widget("wglis", ip, kList, s, i); }
int wgdlis(int ip, const char* s, int i) { return list_widget("wgdlis", ip, kDropList, s, i); }
int wgbox(int ip, const char* s, int i) { return list_widget("wgbox", ip, kBox, s, i); }

int wgok(int ip) {
    int k = add("wgok", ip, kOk);
    return k < 0 ? -1 : k + 1;
}

int wgquit(int ip) {
    int k = add("wgquit", ip, kQuit);
    return k < 0 ? -1 : k + 1;
}

int gwgbut(int i) {
    Widget* w = widget("gwgbut", i);
    return w ? w->value : 0;
}

int gwglis(int i) {
    Widget* w = widget("gwglis", i);
    return w ? w->value : 0;
}

int gwgbox(int i) {
    Widget* w = widget("gwgbox", i);
    return w ? w->value : 0;
}

const char* gwgtxt(int i) {
    static char buf[512];
    buf[0] = '\0';
    if (Widget* w = widget("gwgtxt", i)) copy_bounded(buf, w->text.c_str(), sizeof buf - 1);
    return buf;
}

void swgtit(const char* s) { toolkit().title = s ? s : ""; }
void swghlp(const char* s) { toolkit().help = s ? s : ""; }

void swgmix(const char* c, const char* s) {
    std::string k = to_upper(std::string(s ? s : "").substr(0, 3));
    if (k != "SEP") {
        say("swgmix", (">>>> Not allowed parameter " + std::string(s ? s : "")).c_str());
        return;
    }
    if (c && *c) toolkit().separator = *c;
}

namespace {
void set_value(const char* routine, int i, int v, int kind_a, int kind_b) {
    if (!between(routine, true)) return;
    Widget* w = widget(routine, i);
    if (!w || (w->kind != kind_a && w->kind != kind_b)) return;
    if (kind_a != kCheck && (v < 1 || v > (int)w->items.size())) return;
    w->value = kind_a == kCheck ? (v != 0) : v;
    refresh_widget(i - 1);
}
}  // namespace

void swgbut(int i, int v) { set_value("swgbut", i, v, kCheck, kCheck); }
void swglis(int i, int v) { set_value("swglis", i, v, kList, kDropList); }
void swgbox(int i, int v) { set_value("swgbox", i, v, kBox, kBox); }

void swgtxt(int i, const char* s) {
    if (!between("swgtxt", false)) return;
    Widget* w = widget("swgtxt", i);
    if (w && (w->kind == kText || w->kind == kLabelText)) {
        w->text = s ? s : "";
        refresh_widget(i - 1);
    }
}

void swgcbk(int i, void (*callback)(int id)) {
    if (!open_dialog()) {
        say("swgcbk", ">>>> No call to WGINI!");
        return;
    }
    Widget* w = widget("swgcbk", i, ">>>> Not allowed ID!");
    if (!w) return;
    if (w->kind == kMain || w->kind == kBase) {
        say("swgcbk", ">>>> Callbacks cannot be defined for Parent widgets!");
        return;
    }
    if (w->kind == kLabel) {
        say("swgcbk", ">>>> Callbacks cannot be defined for Label widgets!");
        return;
    }
    if (!w->callback) w->callback = callback;
}

int itmcnt(const char* s) { return (int)split_items(s).size(); }

const char* itmstr(const char* s, int n) {
    static char buf[102];
    std::vector<std::string> items = split_items(s);
    if (n < 1 || n > (int)items.size()) {
        say("itmstr", "<<<< Not allowed index");
        n = (int)items.size();  // the item collected last
    }
    copy_bounded(buf, items[(std::size_t)n - 1].c_str(), 101);
    return buf;
}

const char* itmcat(const char* s1, const char* s2) {
    static std::string out;
    auto trim = [](const char* s) {
        std::string t = s ? s : "";
        while (!t.empty() && t.back() == ' ') t.pop_back();
        return t;
    };
    out = trim(s1);
    std::string add = trim(s2);
    if (!out.empty()) out += toolkit().separator;
    out += add;
    return out.c_str();
}

void msgbox(const char* s) { platform::message_box(toolkit().title.c_str(), lines(s).c_str()); }

void dwgmsg(const char* s) {
    if (refused("dwgmsg")) return;
    msgbox(s);
}

int dwgbut(const char* s, int i) {
    if (refused("dwgbut")) return -1;
    return platform::question_box(toolkit().title.c_str(), lines(s).c_str(), i != 0);
}

}  // namespace korval

// ---- scales, file fields, command buttons, menus, drawing areas -----------

namespace korval {

namespace {

using namespace widgets;

// Matches a keyword like the option keywords (first four characters, case
// ignored) against "KEY1+KEY2+..."; 0-based index, or -1 after the
// toolkit's message.
int keyword(const char* routine, const char* list, const char* arg) {
    std::string a = to_upper(std::string(arg ? arg : ""));
    while (!a.empty() && a.back() == ' ') a.pop_back();
    a = a.substr(0, 4);
    std::string l = list;
    int k = 0;
    for (std::size_t start = 0; start <= l.size(); ++k) {
        std::size_t end = l.find('+', start);
        if (end == std::string::npos) end = l.size();
        std::string key = l.substr(start, end - start);
        while (!key.empty() && key.back() == ' ') key.pop_back();
        if (!a.empty() && key == a) return k;
        start = end + 1;
    }
    say(routine, (">>>> Not allowed parameter " + std::string(arg ? arg : "")).c_str());
    return -1;
}

// Like add(), for a parent of one given kind (menus).
int add_child_of(const char* routine, int ip, int kind, int parent_kind) {
    Toolkit& t = toolkit();
    Widget w = new_widget(routine, ip, kind, [parent_kind](int k) { return k == parent_kind; });
    if (w.kind < 0) return -1;
    t.table.push_back(w);
    return (int)t.table.size() - 1;
}

// A widget with its text.
int make_widget(const char* routine, int ip, int kind, const char* text) {
    int k = add(routine, ip, kind);
    if (k < 0) return -1;
    toolkit().table[(std::size_t)k].text = text ? text : "";
    return k;
}

std::string bounded(const char* s, std::size_t n) {
    std::string t = s ? s : "";
    return t.size() > n ? t.substr(0, n) : t;
}

bool in_range(float lo, float hi, float x) {
    float a = lo < hi ? lo : hi, b = lo < hi ? hi : lo;
    return x >= a && x <= b;
}

}  // namespace

int wgscl(int ip, const char* s, float x1, float x2, float x3, int i) {
    int k = make_widget("wgscl", ip, kScale, s);
    if (k < 0) return -1;
    Toolkit& t = toolkit();
    Widget& w = t.table[(std::size_t)k];
    if (!in_range(x1, x2, x3)) {
        say("wgscl", ">>>> Value is out of range!");
        x3 = x1;
    }
    bool too_small = false;
    int n = scale_positions(x1, x2, t.set.step, &too_small);
    if (too_small) say("wgscl", ">>>> Too small step size!");
    w.fmin = x1;
    w.fmax = x2;
    w.fvalue = x3;
    w.fstep = x1 == x2 ? 1.0f : (x2 - x1) / (float)n;
    w.digits = i < 0 ? 0 : (i > 8 ? 8 : i);
    w.layout = t.set.scale_vertical;
    return k + 1;
}

float gwgscl(int i) {
    Widget* w = widget("gwgscl", i);
    return w && w->kind == kScale ? w->fvalue : 0.0f;
}

void swgscl(int i, float x) {
    if (!between("swgscl", false)) return;
    Widget* w = widget("swgscl", i);
    if (!w || w->kind != kScale) return;
    if (!in_range(w->fmin, w->fmax, x)) {
        say("swgscl", ">>>> Value is out of range!");
        return;
    }
    w->fvalue = x;
    refresh_widget(i - 1);
}

int wgfil(int ip, const char* s1, const char* s2, const char* s3) {
    int k = make_widget("wgfil", ip, kFile, s2);
    if (k < 0) return -1;
    Widget& w = toolkit().table[(std::size_t)k];
    w.label = s1 ? s1 : "";
    w.text = bounded(s2, 132);
    w.mask = s3 ? s3 : "";
    return k + 1;
}

const char* gwgfil(int i) {
    static char buf[132];
    buf[0] = '\0';
    if (Widget* w = widget("gwgfil", i))
        if (w->kind == kFile) copy_bounded(buf, w->text.c_str(), sizeof buf - 1);
    return buf;
}

void swgfil(int i, const char* s) {
    if (!between("swgfil", false)) return;
    Widget* w = widget("swgfil", i);
    if (!w || w->kind != kFile) return;
    w->text = bounded(s, 132);
    refresh_widget(i - 1);
}

int wgcmd(int ip, const char* s1, const char* s2) {
    int k = make_widget("wgcmd", ip, kCommand, s1);
    if (k < 0) return -1;
    toolkit().table[(std::size_t)k].command = s2 ? s2 : "";
    return k + 1;
}

int wgpop(int ip, const char* s) {
    int k = add_child_of("wgpop", ip, kPopup, kMain);
    if (k < 0) return -1;
    toolkit().table[(std::size_t)k].text = s ? s : "";
    return k + 1;
}

int wgapp(int ip, const char* s) {
    int k = add_child_of("wgapp", ip, kEntry, kPopup);
    if (k < 0) return -1;
    toolkit().table[(std::size_t)k].text = s ? s : "";
    return k + 1;
}

int wgdraw(int ip) {
    int k = make_widget("wgdraw", ip, kDraw, "");
    if (k < 0) return -1;
    toolkit().table[(std::size_t)k].fvalue = toolkit().set.draw_ratio;
    return k + 1;
}

void swgdrw(float x) {
    if (!(x > 0)) {
        say("swgdrw", ">>>> Non positive paramter!");
        return;
    }
    toolkit().set.draw_ratio = x;
}

void swgstp(float x) {
    if (!(x > 0)) {
        say("swgstp", ">>>> Non positive paramter!");
        return;
    }
    toolkit().set.step = x;
}

void reawgt() {
    if (!open_dialog()) {
        say("reawgt", ">>>> No call to WGINI before!");
        return;
    }
    show_dialog(false);
}

int gwgxid(int i) {
    Widget* w = widget("gwgxid", i);
    if (!w) return 0;
    return (int)widget_xid(i - 1);
}

int gwgatt(int i, const char* s) {
    Widget* w = widget("gwgatt", i);
    if (!w) return -1;
    int k = keyword("gwgatt", "STAT+LIST", s);
    if (k == 0) return w->attr;
    if (k == 1) return (int)w->items.size();
    return -1;
}

void swgatt(int i, const char* s1, const char* s2) {
    if (!between("swgatt", false)) return;
    Widget* w = widget("swgatt", i);
    if (!w) return;
    int what = keyword("swgatt", "STAT+LIST", s2);
    if (what == 0) {
        int a = keyword("swgatt", "ACTI+INAC+INVI", s1);
        if (a < 0) return;
        w->attr = a;
    } else if (what == 1) {
        if (w->kind != kList && w->kind != kDropList) return;
        w->items = split_items(s1);
        if (w->value < 1 || w->value > (int)w->items.size()) w->value = 1;
    } else {
        return;
    }
    refresh_widget(i - 1);
}

void swgclr(float xr, float xg, float xb, const char* s) {
    int k = keyword("swgclr", "BACK+FORE+SCRO+LTEX+RESE", s);
    if (k < 0) return;
    Settings& set = toolkit().set;
    if (k == 4) {
        set.back = set.fore = set.scroll = set.text_back = -1;
        return;
    }
    const float eps = 0.00001f;
    for (float c : {xr, xg, xb})
        if (!(c >= -eps && c <= 1 + eps)) {
            say("swgclr", ">>>> Not allowed parameter");
            return;
        }
    auto byte = [](float c) { return (long)std::lround(std::min(1.0f, std::max(0.0f, c)) * 255.0f); };
    long v = byte(xr) | (byte(xg) << 8) | (byte(xb) << 16);
    long* slot[] = {&set.back, &set.fore, &set.scroll, &set.text_back};
    *slot[k] = v;
}

void swgfnt(const char* s, int i) {
    if (i < 0 || i > 200) {
        say("swgfnt", ">>>> Bad value!");
        return;
    }
    toolkit().set.font = s ? s : "";
    toolkit().set.font_size = i;
}

void swgjus(const char* s1, const char* s2) {
    std::string c = to_upper(std::string(s2 ? s2 : "").substr(0, 3));
    if (c != "LAB" && c != "BUT") {
        say("swgjus", (">>>> Not allowed parameter " + std::string(s2 ? s2 : "")).c_str());
        return;
    }
    int k = keyword("swgjus", "LEFT+CENT+RIGH", s1);
    if (k < 0) return;
    (c == "LAB" ? toolkit().set.just_label : toolkit().set.just_button) = k;
}

void swgmod(const char* s) {
    int k = keyword("swgmod", "AUTO+XWIN+ASCI", s);
    if (k >= 0) toolkit().set.mode = k;
}

void swgmrg(int i, const char* s) {
    int k = keyword("swgmrg", "LEFT+TOP +RIGH+BOTT", s);
    if (k < 0) return;
    if (i < 0) {
        say("swgmrg", ">>>> Bad value!");
        return;
    }
    toolkit().set.margin[k] = i;
}

void swgoff(int i1, int i2) {
    toolkit().set.offset_x = i1;
    toolkit().set.offset_y = i2;
}

void swgopt(const char* s1, const char* s2) {
    int what = keyword("swgopt", "POSI+MASK", s2);
    if (what == 0) {
        int k = keyword("swgopt", "STAN+CENT", s1);
        if (k >= 0) toolkit().set.centre = k == 1;
    } else if (what == 1) {
        int k = keyword("swgopt", "STAN+USER", s1);
        if (k >= 0) toolkit().set.user_mask = k == 1;
    }
}

void swgpop(const char* s) {
    int k = keyword("swgpop", "NOOK+NOQU+NOHE+OK  +QUIT+HELP", s);
    if (k < 0) return;
    Settings& set = toolkit().set;
    bool* flag[] = {&set.menu_ok, &set.menu_quit, &set.menu_help};
    *flag[k % 3] = k >= 3;
}

void swgpos(int i1, int i2) {
    Settings& set = toolkit().set;
    set.x = i1;
    set.y = i2;
    set.has_pos = true;
    set.form_pos = false;
}

void swgsiz(int i1, int i2) {
    Settings& set = toolkit().set;
    if (i1 < 1 || i2 < 1) {
        say("swgsiz", ">>>> Bad value!");
        return;
    }
    set.w = i1;
    set.h = i2;
    set.has_size = true;
}

void swgwin(int i1, int i2, int i3, int i4) {
    Settings& set = toolkit().set;
    if (i3 < 1 || i4 < 1) {
        say("swgwin", ">>>> Bad value!");
        return;
    }
    set.x = i1;
    set.y = i2;
    set.w = i3;
    set.h = i4;
    set.has_pos = set.has_size = true;
    set.form_pos = true;
}

void swgwth(int i) {
    if (i == 0 || i < -100) {
        say("swgwth", ">>>> Bad value!");
        return;
    }
    toolkit().set.width = i;
}

void swgspc(float x, float y) {
    if (x < -100 || y < -100) {
        say("swgspc", ">>>> Bad value!");
        return;
    }
    toolkit().set.space_x = x;
    toolkit().set.space_y = y;
}

void swgtyp(const char* s1, const char* s2) {
    std::string c = to_upper(std::string(s2 ? s2 : "").substr(0, 3));
    Settings& set = toolkit().set;
    if (c == "LIS") {
        int k = keyword("swgtyp", "AUTO+SCRO+NOSC", s1);
        if (k >= 0) set.list_type = k;
    } else if (c == "BOX" || c == "SCA") {
        int k = keyword("swgtyp", "VERT+HORI", s1);
        if (k >= 0) (c == "BOX" ? set.box_vertical : set.scale_vertical) = k == 0;
    } else {
        say("swgtyp", (">>>> Not allowed parameter " + std::string(s2 ? s2 : "")).c_str());
    }
}

// ---- one-call dialogs ------------------------------------------------------

int dwglis(const char* s1, const char* s2, int i) {
    if (refused("dwglis")) return 0;
    std::vector<std::string> items = split_items(s2);
    if (i < 1 || i > (int)items.size()) {
        say("dwglis", ">>>> Selected list element out of range");
        i = 1;
    }
    list_dialog(toolkit().title, lines(s1), items, i);
    return i;
}

const char* dwgtxt(const char* s1, const char* s2) {
    static char buf[133];
    buf[0] = '\0';
    if (refused("dwgtxt")) return buf;
    std::string text = bounded(s2, 132);
    text_dialog(toolkit().title, lines(s1), text);
    copy_bounded(buf, text.c_str(), 132);
    return buf;
}

const char* dwgfil(const char* s1, const char* s2, const char* s3) {
    static char buf[133];
    buf[0] = '\0';
    if (refused("dwgfil")) return buf;
    std::string name = bounded(s2, 132);
    file_dialog(s1 ? s1 : "", s3 ? s3 : "", toolkit().set.user_mask, name);
    copy_bounded(buf, name.c_str(), 132);
    return buf;
}

}  // namespace korval
