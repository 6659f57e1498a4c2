// The widget dialogs shown with GTK 3: the table of the innermost dialog
// level becomes a window of boxes and controls; changes write the
// widgets' values back and call their callbacks.
#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/platform.hpp"
#include "widgets/widgets.hpp"

namespace korval::widgets {

namespace {

struct Shown {
    GtkWidget* window = nullptr;
    bool closed = false;
};

Shown g_shown;
int g_first = 0;  // table index of the shown dialog's main widget

Widget* at(gpointer data) {
    int k = GPOINTER_TO_INT(data);
    Toolkit& t = toolkit();
    return k >= 0 && k < (int)t.table.size() ? &t.table[(std::size_t)k] : nullptr;
}

void fire(int k) {
    Toolkit& t = toolkit();
    if (k < 0 || k >= (int)t.table.size()) return;
    Callback cb = t.table[(std::size_t)k].callback;
    // A box's callback serves its radio buttons too.
    if (cb) cb(k + 1);
}

// Copies the text fields into their buffers (at most 132 characters).
void copy_texts() {
    Toolkit& t = toolkit();
    for (std::size_t k = (std::size_t)g_first; k < t.table.size(); ++k) {
        Widget& w = t.table[k];
        if ((w.kind == kText || w.kind == kLabelText || w.kind == kFile) && w.native)
            w.text = std::string(gtk_entry_get_text(GTK_ENTRY(w.native))).substr(0, 132);
    }
}

void close_window() {
    if (!g_shown.window) return;
    Toolkit& t = toolkit();
    for (std::size_t k = (std::size_t)g_first; k < t.table.size(); ++k)
        t.table[k].native = t.table[k].native2 = nullptr;
    GtkWidget* w = g_shown.window;
    g_shown.window = nullptr;
    g_shown.closed = true;
    gtk_widget_destroy(w);
}

void on_ok(GtkButton*, gpointer) {
    copy_texts();
    close_window();
}

void on_quit(GtkButton*, gpointer) {
    close_window();
    std::exit(0);
}

void on_toggled(GtkToggleButton* b, gpointer data) {
    if (Widget* w = at(data)) w->value = gtk_toggle_button_get_active(b) ? 1 : 0;
    fire(GPOINTER_TO_INT(data));
}

void on_clicked(GtkButton*, gpointer data) { fire(GPOINTER_TO_INT(data)); }

void on_radio(GtkToggleButton* b, gpointer data) {
    if (!gtk_toggle_button_get_active(b)) return;
    int k = GPOINTER_TO_INT(data);
    Widget* w = at(data);
    if (!w) return;
    int pos = GPOINTER_TO_INT(g_object_get_data(G_OBJECT(b), "korval-item"));
    w->value = pos;
    fire(k);
}

void on_row(GtkListBox*, GtkListBoxRow* row, gpointer data) {
    Widget* w = at(data);
    if (!w || !row) return;
    w->value = gtk_list_box_row_get_index(row) + 1;
    fire(GPOINTER_TO_INT(data));
}

void on_combo(GtkComboBox* c, gpointer data) {
    Widget* w = at(data);
    if (!w) return;
    w->value = gtk_combo_box_get_active(c) + 1;
    fire(GPOINTER_TO_INT(data));
}

gboolean on_delete(GtkWidget*, GdkEvent*, gpointer) {
    close_window();  // closing without OK keeps the initial texts
    return TRUE;
}

void on_scale(GtkRange* r, gpointer data) {
    Widget* w = at(data);
    if (!w) return;
    w->fvalue = (float)gtk_range_get_value(r);
    fire(GPOINTER_TO_INT(data));
}

// The command runs on the calling thread; "cmd &" starts it in the
// background.  A shell that cannot start it, or cannot find it (127),
// counts as a failure.
void on_command(GtkButton*, gpointer data) {
    Widget* w = at(data);
    if (!w) return;
    int status = platform::run_command(w->command);
    if (status == -1 || status == 127) {
        std::string text = "Command '" + w->command + "' failed!";
        platform::message_box("WGCMD", text.c_str());
    }
    fire(GPOINTER_TO_INT(data));
}

void on_entry(GtkMenuItem*, gpointer data) { fire(GPOINTER_TO_INT(data)); }

void on_menu_ok(GtkMenuItem*, gpointer) {
    copy_texts();
    close_window();
}

void on_menu_quit(GtkMenuItem*, gpointer) {
    close_window();
    std::exit(0);
}

void on_menu_help(GtkMenuItem*, gpointer) {
    Toolkit& t = toolkit();
    if (t.help.empty()) return;
    std::string text = t.help;
    for (char& c : text)
        if (c == t.separator) c = '\n';
    platform::message_box(t.title.c_str(), text.c_str());
}

void add_filters(GtkFileChooser* chooser, const std::string& mask, bool user) {
    for (const auto& [name, pattern] : file_filters(mask, user)) {
        GtkFileFilter* f = gtk_file_filter_new();
        gtk_file_filter_set_name(f, name.c_str());
        std::string piece;
        for (char c : pattern + ";") {
            if (c != ';') {
                piece += c;
            } else if (!piece.empty()) {
                gtk_file_filter_add_pattern(f, piece.c_str());
                piece.clear();
            }
        }
        gtk_file_chooser_add_filter(chooser, f);
    }
}

// Runs the system's file chooser; true with the chosen name.
bool choose_file(GtkWindow* parent, const std::string& title, const std::string& mask, bool user,
                 std::string& name) {
    GtkWidget* d = gtk_file_chooser_dialog_new(title.c_str(), parent, GTK_FILE_CHOOSER_ACTION_OPEN, "_Cancel",
                                               GTK_RESPONSE_CANCEL, "_Open", GTK_RESPONSE_ACCEPT, nullptr);
    add_filters(GTK_FILE_CHOOSER(d), mask, user);
    if (!name.empty()) {
        if (name.find('/') != std::string::npos)
            gtk_file_chooser_set_filename(GTK_FILE_CHOOSER(d), name.c_str());
        else
            gtk_file_chooser_set_current_name(GTK_FILE_CHOOSER(d), name.c_str());
    }
    bool ok = false;
    if (gtk_dialog_run(GTK_DIALOG(d)) == GTK_RESPONSE_ACCEPT) {
        if (char* f = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(d))) {
            name = std::string(f).substr(0, 132);
            g_free(f);
            ok = true;
        }
    }
    gtk_widget_destroy(d);
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    return ok;
}

void on_browse(GtkButton*, gpointer data) {
    int k = GPOINTER_TO_INT(data);
    Widget* w = at(data);
    if (!w || !w->native) return;
    std::string name = gtk_entry_get_text(GTK_ENTRY(w->native));
    GtkWidget* entry = GTK_WIDGET(w->native);
    if (choose_file(GTK_WINDOW(g_shown.window), w->label.empty() ? "Open" : w->label, w->mask,
                    toolkit().set.user_mask, name)) {
        // The table may not move while the dialog runs, but the window may
        // have closed: look the widget up again.
        Widget* again = at(GINT_TO_POINTER(k));
        if (again && again->native == entry) {
            gtk_entry_set_text(GTK_ENTRY(entry), name.c_str());
            again->text = name;
            fire(k);
        }
    }
}

gboolean on_draw_white(GtkWidget*, cairo_t* cr, gpointer) {
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_paint(cr);
    return FALSE;
}

// Character width and line height of the dialog font, for the layout.
int g_char_w = 8, g_line_h = 18;

void measure(GtkWidget* win) {
    PangoLayout* l =
        gtk_widget_create_pango_layout(win, "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ");
    int w = 0, h = 0;
    pango_layout_get_pixel_size(l, &w, &h);
    g_object_unref(l);
    if (w > 0) g_char_w = (w + 51) / 52;
    if (h > 0) g_line_h = h;
}

int spacing(float v, bool horizontal) {
    int sw = platform::screen_info().width;
    if (horizontal) return v < 0 ? (int)(-v * sw / 100.0f) : (int)(v * g_char_w);
    return v < 0 ? (int)(-v * platform::screen_info().height / 100.0f) : (int)(v * g_line_h);
}

GtkWidget* box_for(int layout) {
    const Settings& set = toolkit().set;
    if (layout == 2) return gtk_fixed_new();
    bool hori = layout == 0;
    return gtk_box_new(hori ? GTK_ORIENTATION_HORIZONTAL : GTK_ORIENTATION_VERTICAL,
                       spacing(hori ? set.space_x : set.space_y, hori));
}

float xalign(int just) { return just == 0 ? 0.0f : (just == 1 ? 0.5f : 1.0f); }

void set_button_just(GtkWidget* b, int just) {
    GtkWidget* child = gtk_bin_get_child(GTK_BIN(b));
    if (child && GTK_IS_LABEL(child)) gtk_label_set_xalign(GTK_LABEL(child), xalign(just));
}

void apply_attr(Widget& w) {
    GtkWidget* g = GTK_WIDGET(w.native2 ? w.native2 : w.native);
    if (!g) return;
    // The outer widget (label and field, list in its scroller) goes too.
    while (GtkWidget* p = GTK_WIDGET(g_object_get_data(G_OBJECT(g), "korval-outer"))) g = p;
    gtk_widget_set_sensitive(g, w.attr == kActive);
    gtk_widget_set_visible(g, w.attr != kInvisible);
    if (w.attr != kInvisible) gtk_widget_show_all(g);
}

std::string css_colour(long c) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "#%02lx%02lx%02lx", c & 0xff, (c >> 8) & 0xff, (c >> 16) & 0xff);
    return buf;
}

void apply_style(GtkWidget* win) {
    const Settings& set = toolkit().set;
    std::string css;
    if (set.back >= 0) css += "window, window * { background-color: " + css_colour(set.back) + "; }\n";
    if (set.fore >= 0) css += "window * { color: " + css_colour(set.fore) + "; }\n";
    if (set.text_back >= 0) css += "entry { background-color: " + css_colour(set.text_back) + "; }\n";
    if (set.scroll >= 0)
        css += "scrollbar, scale trough { background-color: " + css_colour(set.scroll) + "; }\n";
    if (!set.font.empty() || set.font_size > 0) {
        css += "window * {";
        if (!set.font.empty()) css += " font-family: \"" + set.font + "\";";
        if (set.font_size > 0) css += " font-size: " + std::to_string(set.font_size) + "pt;";
        css += " }\n";
    }
    if (css.empty()) return;
    GtkCssProvider* p = gtk_css_provider_new();
    if (gtk_css_provider_load_from_data(p, css.c_str(), -1, nullptr))
        gtk_style_context_add_provider_for_screen(gtk_widget_get_screen(win), GTK_STYLE_PROVIDER(p),
                                                  GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
    g_object_unref(p);
}

GtkWidget* make(int k, std::vector<GtkWidget*>& containers) {
    Widget& w = toolkit().table[(std::size_t)k];
    gpointer data = GINT_TO_POINTER(k);
    GtkWidget* g = nullptr;
    switch (w.kind) {
        case kBase:
            g = box_for(w.layout);
            containers[(std::size_t)k] = g;
            break;
        case kLabel:
            g = gtk_label_new(w.text.c_str());
            gtk_label_set_xalign(GTK_LABEL(g), xalign(w.just));
            break;
        case kCheck:
            g = gtk_check_button_new_with_label(w.text.c_str());
            gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(g), w.value != 0);
            g_signal_connect(g, "toggled", G_CALLBACK(on_toggled), data);
            break;
        case kPush:
            g = gtk_button_new_with_label(w.text.c_str());
            set_button_just(g, w.just);
            g_signal_connect(g, "clicked", G_CALLBACK(on_clicked), data);
            break;
        case kText:
        case kLabelText: {
            GtkWidget* entry = gtk_entry_new();
            gtk_entry_set_text(GTK_ENTRY(entry), w.text.c_str());
            gtk_entry_set_max_length(GTK_ENTRY(entry), 132);
            w.native = entry;
            if (w.kind == kText) {
                g = entry;
            } else {
                g = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 6);
                gtk_box_pack_start(GTK_BOX(g), gtk_label_new(w.label.c_str()), FALSE, FALSE, 0);
                gtk_box_pack_start(GTK_BOX(g), entry, TRUE, TRUE, 0);
                g_object_set_data(G_OBJECT(entry), "korval-outer", g);
            }
            return g;
        }
        case kList: {
            GtkWidget* list = gtk_list_box_new();
            for (const std::string& item : w.items) {
                GtkWidget* l = gtk_label_new(item.c_str());
                gtk_label_set_xalign(GTK_LABEL(l), 0.0f);
                gtk_list_box_insert(GTK_LIST_BOX(list), l, -1);
            }
            GtkListBoxRow* row = gtk_list_box_get_row_at_index(GTK_LIST_BOX(list), w.value - 1);
            if (row) gtk_list_box_select_row(GTK_LIST_BOX(list), row);
            g_signal_connect(list, "row-selected", G_CALLBACK(on_row), data);
            // AUTO: a scroll bar beyond 8 items; SCRO: always 9 lines; NOSC: all.
            if ((w.layout == 0 && w.items.size() > 8) || w.layout == 1) {
                g = gtk_scrolled_window_new(nullptr, nullptr);
                gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(g), GTK_POLICY_NEVER,
                                               w.layout == 1 ? GTK_POLICY_ALWAYS : GTK_POLICY_AUTOMATIC);
                gtk_scrolled_window_set_min_content_height(GTK_SCROLLED_WINDOW(g), 9 * 22);
                gtk_container_add(GTK_CONTAINER(g), list);
                g_object_set_data(G_OBJECT(list), "korval-outer", g);
            } else {
                g = list;
            }
            w.native = list;
            return g;
        }
        case kDropList:
            g = gtk_combo_box_text_new();
            for (const std::string& item : w.items)
                gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(g), item.c_str());
            gtk_combo_box_set_active(GTK_COMBO_BOX(g), w.value - 1);
            g_signal_connect(g, "changed", G_CALLBACK(on_combo), data);
            break;
        case kBox: {
            g = gtk_box_new(w.layout != 0 ? GTK_ORIENTATION_VERTICAL : GTK_ORIENTATION_HORIZONTAL, 2);
            GtkWidget* first = nullptr;
            int pos = 1;
            for (const std::string& item : w.items) {
                GtkWidget* r =
                    first ? gtk_radio_button_new_with_label_from_widget(GTK_RADIO_BUTTON(first), item.c_str())
                          : gtk_radio_button_new_with_label(nullptr, item.c_str());
                if (!first) first = r;
                g_object_set_data(G_OBJECT(r), "korval-item", GINT_TO_POINTER(pos));
                if (pos == w.value) gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(r), TRUE);
                g_signal_connect(r, "toggled", G_CALLBACK(on_radio), data);
                gtk_box_pack_start(GTK_BOX(g), r, FALSE, FALSE, 0);
                ++pos;
            }
            break;
        }
        case kScale: {
            bool vert = w.layout != 0;
            GtkWidget* scale = gtk_scale_new_with_range(
                vert ? GTK_ORIENTATION_VERTICAL : GTK_ORIENTATION_HORIZONTAL,
                w.fmin < w.fmax ? w.fmin : w.fmax, w.fmin < w.fmax ? w.fmax : w.fmin + 1, w.fstep);
            gtk_scale_set_digits(GTK_SCALE(scale), w.digits);
            gtk_range_set_increments(GTK_RANGE(scale), w.fstep, w.fstep * 10);
            gtk_range_set_value(GTK_RANGE(scale), w.fvalue);
            if (vert) {
                gtk_range_set_inverted(GTK_RANGE(scale), TRUE);
                gtk_widget_set_size_request(scale, -1, 8 * g_line_h);
            }
            g_signal_connect(scale, "value-changed", G_CALLBACK(on_scale), data);
            g = gtk_box_new(GTK_ORIENTATION_VERTICAL, 2);
            GtkWidget* l = gtk_label_new(w.text.c_str());
            gtk_label_set_xalign(GTK_LABEL(l), xalign(w.just));
            gtk_box_pack_start(GTK_BOX(g), l, FALSE, FALSE, 0);
            gtk_box_pack_start(GTK_BOX(g), scale, TRUE, TRUE, 0);
            w.native = scale;
            g_object_set_data(G_OBJECT(scale), "korval-outer", g);
            return g;
        }
        case kFile: {
            GtkWidget* entry = gtk_entry_new();
            gtk_entry_set_text(GTK_ENTRY(entry), w.text.c_str());
            gtk_entry_set_max_length(GTK_ENTRY(entry), 132);
            GtkWidget* browse = gtk_button_new_with_label("...");
            g_signal_connect(browse, "clicked", G_CALLBACK(on_browse), data);
            g = gtk_box_new(GTK_ORIENTATION_HORIZONTAL, 4);
            if (!w.label.empty())
                gtk_box_pack_start(GTK_BOX(g), gtk_label_new(w.label.c_str()), FALSE, FALSE, 0);
            gtk_box_pack_start(GTK_BOX(g), entry, TRUE, TRUE, 0);
            gtk_box_pack_start(GTK_BOX(g), browse, FALSE, FALSE, 0);
            w.native = entry;
            g_object_set_data(G_OBJECT(entry), "korval-outer", g);
            return g;
        }
        case kCommand:
            g = gtk_button_new_with_label(w.text.c_str());
            set_button_just(g, w.just);
            g_signal_connect(g, "clicked", G_CALLBACK(on_command), data);
            break;
        case kDraw: {
            g = gtk_drawing_area_new();
            int width = g_char_w * 20;
            gtk_widget_set_size_request(g, width, (int)(width * w.fvalue));
            g_signal_connect(g, "draw", G_CALLBACK(on_draw_white), nullptr);
            break;
        }
        case kOk:
            g = gtk_button_new_with_label("OK");
            g_signal_connect(g, "clicked", G_CALLBACK(on_ok), nullptr);
            break;
        case kQuit:
            g = gtk_button_new_with_label("Quit");
            g_signal_connect(g, "clicked", G_CALLBACK(on_quit), nullptr);
            break;
        default:
            break;
    }
    w.native = g;
    return g;
}

gboolean on_tick(gpointer) {
    if (toolkit().closed_by_ok && g_shown.window) {
        toolkit().closed_by_ok = false;
        copy_texts();
        close_window();
    }
    return G_SOURCE_CONTINUE;
}

// The menu bar: "&Exit" with "&OK" and "&Quit", the script's popups, and
// "&Help", as far as swgpop leaves them.
GtkWidget* menu_bar() {
    Toolkit& t = toolkit();
    const Settings& set = t.set;
    GtkWidget* bar = gtk_menu_bar_new();
    bool any = false;
    if (set.menu_ok || set.menu_quit) {
        GtkWidget* exit = gtk_menu_item_new_with_mnemonic("_Exit");
        GtkWidget* menu = gtk_menu_new();
        if (set.menu_ok) {
            GtkWidget* ok = gtk_menu_item_new_with_mnemonic("_OK");
            g_signal_connect(ok, "activate", G_CALLBACK(on_menu_ok), nullptr);
            gtk_menu_shell_append(GTK_MENU_SHELL(menu), ok);
        }
        if (set.menu_quit) {
            GtkWidget* quit = gtk_menu_item_new_with_mnemonic("_Quit");
            g_signal_connect(quit, "activate", G_CALLBACK(on_menu_quit), nullptr);
            gtk_menu_shell_append(GTK_MENU_SHELL(menu), quit);
        }
        gtk_menu_item_set_submenu(GTK_MENU_ITEM(exit), menu);
        gtk_menu_shell_append(GTK_MENU_SHELL(bar), exit);
        any = true;
    }
    for (std::size_t k = (std::size_t)g_first + 1; k < t.table.size(); ++k) {
        Widget& w = t.table[k];
        if (w.kind != kPopup) continue;
        std::string label = w.text;
        for (char& c : label)
            if (c == '&') c = '_';
        GtkWidget* item = gtk_menu_item_new_with_mnemonic(label.c_str());
        GtkWidget* menu = gtk_menu_new();
        for (std::size_t e = k + 1; e < t.table.size(); ++e) {
            Widget& entry = t.table[e];
            if (entry.kind != kEntry || entry.parent != (int)k) continue;
            GtkWidget* mi = gtk_menu_item_new_with_label(entry.text.c_str());
            g_signal_connect(mi, "activate", G_CALLBACK(on_entry), GINT_TO_POINTER((int)e));
            gtk_menu_shell_append(GTK_MENU_SHELL(menu), mi);
            entry.native = mi;
        }
        gtk_menu_item_set_submenu(GTK_MENU_ITEM(item), menu);
        gtk_menu_shell_append(GTK_MENU_SHELL(bar), item);
        w.native = item;
        any = true;
    }
    if (set.menu_help) {
        GtkWidget* help = gtk_menu_item_new_with_mnemonic("_Help");
        g_signal_connect(help, "activate", G_CALLBACK(on_menu_help), nullptr);
        gtk_menu_shell_append(GTK_MENU_SHELL(bar), help);
        any = true;
    }
    if (!any) {
        gtk_widget_destroy(bar);
        return nullptr;
    }
    return bar;
}

void put(GtkWidget* parent, GtkWidget* g, const Widget& w) {
    if (GTK_IS_FIXED(parent)) {
        gtk_fixed_put(GTK_FIXED(parent), g, w.placed ? w.fx : 0, w.placed ? w.fy : 0);
        if (w.placed && w.fw > 0 && w.fh > 0) gtk_widget_set_size_request(g, w.fw, w.fh);
    } else {
        gtk_box_pack_start(GTK_BOX(parent), g, FALSE, FALSE, 0);
    }
}

}  // namespace

bool dialog_shown() { return g_shown.window != nullptr; }

bool show_dialog(bool run) {
    if (platform::offscreen_windows() || !platform::display_available()) return false;
    Toolkit& t = toolkit();
    if (!g_shown.window) {
        g_first = t.level_start[t.depth - 1];
        const Settings& set = t.set;
        std::vector<GtkWidget*> containers(t.table.size(), nullptr);
        Widget& main = t.table[(std::size_t)g_first];
        GtkWidget* win = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        measure(win);
        apply_style(win);
        gtk_window_set_title(GTK_WINDOW(win), t.title.c_str());
        if (set.centre) gtk_window_set_position(GTK_WINDOW(win), GTK_WIN_POS_CENTER);
        GtkWidget* outer = gtk_box_new(GTK_ORIENTATION_VERTICAL, 0);
        gtk_container_add(GTK_CONTAINER(win), outer);
        if (GtkWidget* bar = menu_bar()) gtk_box_pack_start(GTK_BOX(outer), bar, FALSE, FALSE, 0);
        GtkWidget* top = box_for(main.layout);
        gtk_widget_set_margin_start(top, 8 + set.margin[0]);
        gtk_widget_set_margin_top(top, 8 + set.margin[1]);
        gtk_widget_set_margin_end(top, 8 + set.margin[2]);
        gtk_widget_set_margin_bottom(top, 8 + set.margin[3]);
        int width = set.width > 0 ? set.width * g_char_w : -set.width * platform::screen_info().width / 100;
        gtk_widget_set_size_request(top, width, -1);
        containers[(std::size_t)g_first] = top;
        gtk_box_pack_start(GTK_BOX(outer), top, TRUE, TRUE, 0);
        for (std::size_t k = (std::size_t)g_first + 1; k < t.table.size(); ++k) {
            if (t.table[k].kind == kPopup || t.table[k].kind == kEntry) continue;
            GtkWidget* g = make((int)k, containers);
            int p = t.table[k].parent;
            if (g && p >= 0 && p < (int)containers.size() && containers[(std::size_t)p])
                put(containers[(std::size_t)p], g, t.table[k]);
        }
        if (set.has_size) gtk_window_set_default_size(GTK_WINDOW(win), set.w, set.h);
        if (set.has_pos) gtk_window_move(GTK_WINDOW(win), set.x, set.y);
        g_signal_connect(win, "delete-event", G_CALLBACK(on_delete), nullptr);
        g_shown.window = win;
        g_shown.closed = false;
        t.closed_by_ok = false;
        gtk_widget_show_all(win);
        for (std::size_t k = (std::size_t)g_first + 1; k < t.table.size(); ++k)
            if (t.table[k].attr != kActive) apply_attr(t.table[k]);
    }
    if (!run) {
        while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
        return true;
    }
    guint tick = g_timeout_add(50, on_tick, nullptr);
    while (g_shown.window) gtk_main_iteration_do(TRUE);
    g_source_remove(tick);
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    return true;
}

void refresh_widget(int k) {
    Toolkit& t = toolkit();
    if (!g_shown.window || k < g_first || k >= (int)t.table.size()) return;
    Widget& w = t.table[(std::size_t)k];
    if (!w.native) return;
    GtkWidget* g = GTK_WIDGET(w.native);
    // Changes made by the script do not call the callbacks.
    g_signal_handlers_block_matched(g, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, GINT_TO_POINTER(k));
    switch (w.kind) {
        case kCheck:
            gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(g), w.value != 0);
            break;
        case kText:
        case kLabelText:
        case kFile:
            gtk_entry_set_text(GTK_ENTRY(g), w.text.c_str());
            break;
        case kScale:
            gtk_range_set_value(GTK_RANGE(g), w.fvalue);
            break;
        case kDropList:
            gtk_combo_box_text_remove_all(GTK_COMBO_BOX_TEXT(g));
            for (const std::string& item : w.items)
                gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(g), item.c_str());
            gtk_combo_box_set_active(GTK_COMBO_BOX(g), w.value - 1);
            break;
        case kList: {
            GList* rows = gtk_container_get_children(GTK_CONTAINER(g));
            if ((int)g_list_length(rows) != (int)w.items.size()) {
                for (GList* r = rows; r; r = r->next) gtk_widget_destroy(GTK_WIDGET(r->data));
                for (const std::string& item : w.items) {
                    GtkWidget* l = gtk_label_new(item.c_str());
                    gtk_label_set_xalign(GTK_LABEL(l), 0.0f);
                    gtk_list_box_insert(GTK_LIST_BOX(g), l, -1);
                }
                gtk_widget_show_all(g);
            } else {
                int i = 0;
                for (GList* r = rows; r; r = r->next, ++i) {
                    GtkWidget* l = gtk_bin_get_child(GTK_BIN(r->data));
                    if (l && GTK_IS_LABEL(l))
                        gtk_label_set_text(GTK_LABEL(l), w.items[(std::size_t)i].c_str());
                }
            }
            g_list_free(rows);
            GtkListBoxRow* row = gtk_list_box_get_row_at_index(GTK_LIST_BOX(g), w.value - 1);
            if (row) gtk_list_box_select_row(GTK_LIST_BOX(g), row);
            break;
        }
        case kBox: {
            GList* radios = gtk_container_get_children(GTK_CONTAINER(g));
            int i = 1;
            for (GList* r = radios; r; r = r->next, ++i) {
                g_signal_handlers_block_matched(r->data, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr,
                                                GINT_TO_POINTER(k));
                if (i == w.value) gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(r->data), TRUE);
                g_signal_handlers_unblock_matched(r->data, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr,
                                                  GINT_TO_POINTER(k));
            }
            g_list_free(radios);
            break;
        }
        default:
            break;
    }
    g_signal_handlers_unblock_matched(g, G_SIGNAL_MATCH_DATA, 0, 0, nullptr, nullptr, GINT_TO_POINTER(k));
    apply_attr(w);
}

unsigned long widget_xid(int k) {
    Toolkit& t = toolkit();
    if (!g_shown.window || k < g_first || k >= (int)t.table.size()) return 0;
    Widget& w = t.table[(std::size_t)k];
    GtkWidget* g = w.kind == kMain ? g_shown.window : GTK_WIDGET(w.native);
    if (!g) return 0;
    GdkWindow* gw = gtk_widget_get_window(g);
#ifdef GDK_WINDOWING_X11
    if (gw && GDK_IS_X11_WINDOW(gw)) {
        // A drawing area gets a window of its own to hand out.
        if (w.kind == kDraw && !gdk_window_ensure_native(gw)) return 0;
        return (unsigned long)gdk_x11_window_get_xid(gw);
    }
#endif
    (void)gw;
    return 0;
}

// ---- one-call dialogs ------------------------------------------------------

namespace {

// A modal window with the label lines, one control and an OK button; runs
// until it closes.  Returns true when OK ended it.
bool run_modal(const std::string& title, const std::string& label, GtkWidget* control, GtkWidget* focus) {
    GtkWidget* win = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(win), title.c_str());
    gtk_window_set_position(GTK_WINDOW(win), GTK_WIN_POS_CENTER);
    gtk_window_set_modal(GTK_WINDOW(win), TRUE);
    gtk_container_set_border_width(GTK_CONTAINER(win), 10);
    GtkWidget* box = gtk_box_new(GTK_ORIENTATION_VERTICAL, 6);
    gtk_container_add(GTK_CONTAINER(win), box);
    std::string line;
    for (char c : label + "\n") {
        if (c != '\n') {
            line += c;
            continue;
        }
        GtkWidget* l = gtk_label_new(line.c_str());
        gtk_label_set_xalign(GTK_LABEL(l), 0.0f);
        gtk_box_pack_start(GTK_BOX(box), l, FALSE, FALSE, 0);
        line.clear();
    }
    gtk_box_pack_start(GTK_BOX(box), control, TRUE, TRUE, 0);
    GtkWidget* ok = gtk_button_new_with_label("OK");
    gtk_box_pack_start(GTK_BOX(box), ok, FALSE, FALSE, 0);
    struct Run {
        bool done = false, ok = false;
    } run;
    g_signal_connect(ok, "clicked", G_CALLBACK(+[](GtkButton*, gpointer d) {
                         static_cast<Run*>(d)->ok = true;
                         static_cast<Run*>(d)->done = true;
                     }),
                     &run);
    g_signal_connect(win, "delete-event", G_CALLBACK(+[](GtkWidget*, GdkEvent*, gpointer d) -> gboolean {
                         static_cast<Run*>(d)->done = true;
                         return TRUE;
                     }),
                     &run);
    if (GTK_IS_ENTRY(focus)) g_signal_connect_swapped(focus, "activate", G_CALLBACK(gtk_button_clicked), ok);
    gtk_widget_show_all(win);
    gtk_widget_grab_focus(focus);
    while (!run.done) gtk_main_iteration_do(TRUE);
    bool result = run.ok;
    // The caller reads the control after the window has gone.
    g_object_ref(control);
    gtk_container_remove(GTK_CONTAINER(box), control);
    gtk_widget_destroy(win);
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
    return result;
}

}  // namespace

bool list_dialog(const std::string& title, const std::string& label, const std::vector<std::string>& items,
                 int& selected) {
    if (platform::offscreen_windows() || !platform::display_available()) return false;
    GtkWidget* list = gtk_list_box_new();
    for (const std::string& item : items) {
        GtkWidget* l = gtk_label_new(item.c_str());
        gtk_label_set_xalign(GTK_LABEL(l), 0.0f);
        gtk_list_box_insert(GTK_LIST_BOX(list), l, -1);
    }
    if (GtkListBoxRow* row = gtk_list_box_get_row_at_index(GTK_LIST_BOX(list), selected - 1))
        gtk_list_box_select_row(GTK_LIST_BOX(list), row);
    GtkWidget* scroll = gtk_scrolled_window_new(nullptr, nullptr);
    gtk_scrolled_window_set_policy(GTK_SCROLLED_WINDOW(scroll), GTK_POLICY_NEVER, GTK_POLICY_AUTOMATIC);
    gtk_scrolled_window_set_min_content_height(GTK_SCROLLED_WINDOW(scroll), 9 * 22);
    gtk_container_add(GTK_CONTAINER(scroll), list);
    GtkWidget* focus = list;
    if (GtkListBoxRow* row = gtk_list_box_get_selected_row(GTK_LIST_BOX(list))) focus = GTK_WIDGET(row);
    g_object_ref(list);
    run_modal(title, label, scroll, focus);
    // The item selected when the window closed counts, OK or not.
    if (GtkListBoxRow* row = gtk_list_box_get_selected_row(GTK_LIST_BOX(list)))
        selected = gtk_list_box_row_get_index(row) + 1;
    g_object_unref(list);
    g_object_unref(scroll);
    return true;
}

bool text_dialog(const std::string& title, const std::string& label, std::string& text) {
    if (platform::offscreen_windows() || !platform::display_available()) return false;
    GtkWidget* entry = gtk_entry_new();
    gtk_entry_set_max_length(GTK_ENTRY(entry), 132);
    gtk_entry_set_text(GTK_ENTRY(entry), text.c_str());
    gtk_entry_set_width_chars(GTK_ENTRY(entry), 40);
    if (run_modal(title, label, entry, entry))
        text = std::string(gtk_entry_get_text(GTK_ENTRY(entry))).substr(0, 132);
    g_object_unref(entry);
    return true;
}

bool file_dialog(const std::string& title, const std::string& mask, bool user_mask, std::string& name) {
    if (platform::offscreen_windows() || !platform::display_available()) return false;
    choose_file(nullptr, title, mask, user_mask, name);
    return true;
}

}  // namespace korval::widgets
