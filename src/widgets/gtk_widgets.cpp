// The widget dialogs shown with GTK 3: the table of the innermost dialog
// level becomes a window of boxes and controls; changes write the
// widgets' values back and call their callbacks.
#include <gtk/gtk.h>

#include <cstdlib>

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
        if ((w.kind == kText || w.kind == kLabelText) && w.native)
            w.text = std::string(gtk_entry_get_text(GTK_ENTRY(w.native))).substr(0, 132);
    }
}

void close_window() {
    if (!g_shown.window) return;
    Toolkit& t = toolkit();
    for (std::size_t k = (std::size_t)g_first; k < t.table.size(); ++k) t.table[k].native = nullptr;
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

GtkWidget* box_for(int layout) {
    return gtk_box_new(layout == 0 ? GTK_ORIENTATION_HORIZONTAL : GTK_ORIENTATION_VERTICAL, 6);
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
            gtk_label_set_xalign(GTK_LABEL(g), 0.0f);
            break;
        case kCheck:
            g = gtk_check_button_new_with_label(w.text.c_str());
            gtk_toggle_button_set_active(GTK_TOGGLE_BUTTON(g), w.value != 0);
            g_signal_connect(g, "toggled", G_CALLBACK(on_toggled), data);
            break;
        case kPush:
            g = gtk_button_new_with_label(w.text.c_str());
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
            if (w.items.size() > 8) {
                g = gtk_scrolled_window_new(nullptr, nullptr);
                gtk_scrolled_window_set_min_content_height(GTK_SCROLLED_WINDOW(g), 9 * 22);
                gtk_container_add(GTK_CONTAINER(g), list);
            } else {
                g = list;
            }
            break;
        }
        case kDropList:
            g = gtk_combo_box_text_new();
            for (const std::string& item : w.items)
                gtk_combo_box_text_append_text(GTK_COMBO_BOX_TEXT(g), item.c_str());
            gtk_combo_box_set_active(GTK_COMBO_BOX(g), w.value - 1);
            g_signal_connect(g, "changed", G_CALLBACK(on_combo), data);
            break;
        case kBox: {
            g = gtk_box_new(GTK_ORIENTATION_VERTICAL, 2);
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

}  // namespace

bool show_dialog(bool run) {
    if (platform::offscreen_windows() || !platform::display_available()) return false;
    Toolkit& t = toolkit();
    if (!g_shown.window) {
        g_first = t.level_start[t.depth - 1];
        std::vector<GtkWidget*> containers(t.table.size(), nullptr);
        Widget& main = t.table[(std::size_t)g_first];
        GtkWidget* win = gtk_window_new(GTK_WINDOW_TOPLEVEL);
        gtk_window_set_title(GTK_WINDOW(win), t.title.c_str());
        gtk_window_set_position(GTK_WINDOW(win), GTK_WIN_POS_CENTER);
        gtk_container_set_border_width(GTK_CONTAINER(win), 8);
        GtkWidget* top = box_for(main.layout);
        containers[(std::size_t)g_first] = top;
        gtk_container_add(GTK_CONTAINER(win), top);
        for (std::size_t k = (std::size_t)g_first + 1; k < t.table.size(); ++k) {
            GtkWidget* g = make((int)k, containers);
            int p = t.table[k].parent;
            if (g && p >= 0 && p < (int)containers.size() && containers[(std::size_t)p])
                gtk_box_pack_start(GTK_BOX(containers[(std::size_t)p]), g, FALSE, FALSE, 0);
        }
        g_signal_connect(win, "delete-event", G_CALLBACK(on_delete), nullptr);
        g_shown.window = win;
        g_shown.closed = false;
        t.closed_by_ok = false;
        gtk_widget_show_all(win);
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

}  // namespace korval::widgets
