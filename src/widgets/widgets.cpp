// The widget table, the widget routines, item lists and the message
// dialogs.  The routines make no level test: they work before korini.
#include "widgets/widgets.hpp"

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

#ifndef KORVAL_HAVE_GTK
bool show_dialog(bool) { return false; }
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
int add(const char* routine, int ip, int kind) {
    Toolkit& t = toolkit();
    if (!open_dialog()) {
        say(routine, ">>>> No call to WGINI before!");
        return -1;
    }
    if (ip < 1 || ip > (int)t.table.size() ||
        (t.table[ip - 1].kind != kMain && t.table[ip - 1].kind != kBase)) {
        say(routine, ">>>> Not allowed parent ID!");
        return -1;
    }
    if ((int)t.table.size() >= kMaxWidgets) {
        say(routine, ">>>> Too many widgets!");
        return -1;
    }
    Widget w;
    w.kind = kind;
    w.parent = ip - 1;
    w.level = t.depth;
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
}
}  // namespace

void swgbut(int i, int v) { set_value("swgbut", i, v, kCheck, kCheck); }
void swglis(int i, int v) { set_value("swglis", i, v, kList, kDropList); }
void swgbox(int i, int v) { set_value("swgbox", i, v, kBox, kBox); }

void swgtxt(int i, const char* s) {
    if (!between("swgtxt", false)) return;
    Widget* w = widget("swgtxt", i);
    if (w && (w->kind == kText || w->kind == kLabelText)) w->text = s ? s : "";
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
