// The window-system backend on GTK 3: message boxes and the top-level
// windows of the screen output.  Input events are queued for wait_event.
#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <gdk/gdkx.h>
#endif

#include <cstring>
#include <map>
#include <vector>

#include "platform/backend.hpp"

namespace korval::platform::gtk {

namespace {

struct Win {
    GtkWidget* window = nullptr;
    GtkWidget* area = nullptr;
    cairo_surface_t* surface = nullptr;  // the picture last shown
    int w = 0, h = 0;
    int cursor = 0;
};

std::map<int, Win> g_windows;
int g_next = 0;

Win* find(int handle) {
    auto it = g_windows.find(handle);
    return it == g_windows.end() ? nullptr : &it->second;
}

int handle_of(GtkWidget* window) {
    for (auto& [h, w] : g_windows)
        if (w.window == window) return h;
    return -1;
}

// Lets the toolkit finish what is pending (mapping, painting).
void settle() {
    while (gtk_events_pending()) gtk_main_iteration_do(FALSE);
}

gboolean on_draw(GtkWidget*, cairo_t* cr, gpointer data) {
    Win* w = find(GPOINTER_TO_INT(data));
    if (w && w->surface) {
        cairo_set_source_surface(cr, w->surface, 0, 0);
        cairo_paint(cr);
    }
    return TRUE;
}

gboolean on_button(GtkWidget*, GdkEventButton* ev, gpointer data) {
    // Double and triple clicks arrive in addition to their presses: each
    // press counts once.
    if (ev->type != GDK_BUTTON_PRESS && ev->type != GDK_BUTTON_RELEASE) return TRUE;
    Event e;
    e.type = ev->type == GDK_BUTTON_PRESS ? EventType::ButtonDown : EventType::ButtonUp;
    e.window = GPOINTER_TO_INT(data);
    e.button = (int)ev->button;
    e.x = (int)ev->x;
    e.y = (int)ev->y;
    queue_event(e);
    return TRUE;
}

gboolean on_motion(GtkWidget*, GdkEventMotion* ev, gpointer data) {
    Event e;
    e.type = EventType::Motion;
    e.window = GPOINTER_TO_INT(data);
    e.x = (int)ev->x;
    e.y = (int)ev->y;
    queue_event(e);
    return TRUE;
}

gboolean on_key(GtkWidget*, GdkEventKey* ev, gpointer data) {
    Event e;
    e.type = EventType::Key;
    e.window = GPOINTER_TO_INT(data);
    if (ev->keyval == GDK_KEY_Return || ev->keyval == GDK_KEY_KP_Enter)
        e.key = kKeyReturn;
    else if (ev->keyval == GDK_KEY_Escape)
        e.key = kKeyEscape;
    queue_event(e);
    return TRUE;
}

gboolean on_delete(GtkWidget* window, GdkEvent*, gpointer) {
    Event e;
    e.type = EventType::Close;
    e.window = handle_of(window);
    queue_event(e);
    return TRUE;  // the driver decides what closes
}

gboolean on_timeout(gpointer flag) {
    *static_cast<bool*>(flag) = true;
    return G_SOURCE_REMOVE;
}

void apply_cursor(Win& w) {
    GdkWindow* gw = w.area ? gtk_widget_get_window(w.area) : nullptr;
    if (!gw) return;
    GdkCursor* c = gdk_cursor_new_from_name(gdk_window_get_display(gw), w.cursor ? "crosshair" : "default");
    gdk_window_set_cursor(gw, c);
    if (c) g_object_unref(c);
}

}  // namespace

bool start() {
    static int state = 0;  // 0 not tried, 1 open, -1 failed
    if (state == 0) state = gtk_init_check(nullptr, nullptr) ? 1 : -1;
    return state == 1;
}

void message_box(const char* title, const char* text) {
    GtkWidget* d =
        gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_OTHER, GTK_BUTTONS_OK, "%s", text);
    gtk_window_set_title(GTK_WINDOW(d), title);
    gtk_window_set_position(GTK_WINDOW(d), GTK_WIN_POS_CENTER);
    // The protocol is laid out in columns: keep them aligned.
    GtkWidget* area = gtk_message_dialog_get_message_area(GTK_MESSAGE_DIALOG(d));
    GList* kids = gtk_container_get_children(GTK_CONTAINER(area));
    for (GList* k = kids; k; k = k->next)
        if (GTK_IS_LABEL(k->data)) gtk_label_set_selectable(GTK_LABEL(k->data), FALSE);
    g_list_free(kids);
    gtk_dialog_run(GTK_DIALOG(d));
    gtk_widget_destroy(d);
    settle();
}

int question_box(const char* title, const char* text, bool default_yes) {
    GtkWidget* d = gtk_message_dialog_new(nullptr, GTK_DIALOG_MODAL, GTK_MESSAGE_QUESTION, GTK_BUTTONS_YES_NO,
                                          "%s", text);
    gtk_window_set_title(GTK_WINDOW(d), title);
    gtk_window_set_position(GTK_WINDOW(d), GTK_WIN_POS_CENTER);
    gtk_dialog_set_default_response(GTK_DIALOG(d), default_yes ? GTK_RESPONSE_YES : GTK_RESPONSE_NO);
    GtkWidget* def =
        gtk_dialog_get_widget_for_response(GTK_DIALOG(d), default_yes ? GTK_RESPONSE_YES : GTK_RESPONSE_NO);
    if (def) gtk_widget_grab_focus(def);
    int r = gtk_dialog_run(GTK_DIALOG(d));
    gtk_widget_destroy(d);
    settle();
    return r == GTK_RESPONSE_YES ? 1 : 0;
}

ScreenInfo screen_info() {
    ScreenInfo s;
    GdkDisplay* dpy = gdk_display_get_default();
    GdkMonitor* m = dpy ? gdk_display_get_primary_monitor(dpy) : nullptr;
    if (!m && dpy) m = gdk_display_get_monitor(dpy, 0);
    if (m) {
        GdkRectangle r;
        gdk_monitor_get_geometry(m, &r);
        s.width = r.width;
        s.height = r.height;
    }
    return s;
}

int window_open(int x, int y, int w, int h, const char* title, bool white) {
    if (w < 1 || h < 1) return -1;
    int handle = g_next++;
    Win& win = g_windows[handle];
    win.w = w;
    win.h = h;
    win.surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    if (cairo_surface_status(win.surface) != CAIRO_STATUS_SUCCESS) {
        cairo_surface_destroy(win.surface);
        g_windows.erase(handle);
        return -1;
    }
    cairo_t* cr = cairo_create(win.surface);
    double v = white ? 1.0 : 0.0;
    cairo_set_source_rgb(cr, v, v, v);
    cairo_paint(cr);
    cairo_destroy(cr);

    win.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
    gtk_window_set_title(GTK_WINDOW(win.window), title);
    gtk_window_set_resizable(GTK_WINDOW(win.window), FALSE);
    win.area = gtk_drawing_area_new();
    gtk_widget_set_size_request(win.area, w, h);
    gtk_widget_set_can_focus(win.area, TRUE);
    gtk_widget_add_events(win.area, GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK |
                                        GDK_POINTER_MOTION_MASK | GDK_KEY_PRESS_MASK);
    gpointer data = GINT_TO_POINTER(handle);
    g_signal_connect(win.area, "draw", G_CALLBACK(on_draw), data);
    g_signal_connect(win.area, "button-press-event", G_CALLBACK(on_button), data);
    g_signal_connect(win.area, "button-release-event", G_CALLBACK(on_button), data);
    g_signal_connect(win.area, "motion-notify-event", G_CALLBACK(on_motion), data);
    g_signal_connect(win.window, "key-press-event", G_CALLBACK(on_key), data);
    g_signal_connect(win.window, "delete-event", G_CALLBACK(on_delete), nullptr);
    gtk_container_add(GTK_CONTAINER(win.window), win.area);
    gtk_window_move(GTK_WINDOW(win.window), x, y);
    gtk_widget_show_all(win.window);
    gtk_widget_grab_focus(win.area);
    apply_cursor(win);
    settle();
    return handle;
}

void window_title(int handle, const char* title) {
    if (Win* w = find(handle)) gtk_window_set_title(GTK_WINDOW(w->window), title);
    settle();
}

void window_show(int handle, const std::uint8_t* rgb, int stride, int w, int h) {
    Win* win = find(handle);
    if (!win || !rgb) return;
    cairo_surface_flush(win->surface);
    unsigned char* dst = cairo_image_surface_get_data(win->surface);
    int ds = cairo_image_surface_get_stride(win->surface);
    int cw = w < win->w ? w : win->w, ch = h < win->h ? h : win->h;
    for (int y = 0; y < ch; ++y) {
        const std::uint8_t* s = rgb + (std::size_t)y * stride;
        auto* d = reinterpret_cast<std::uint32_t*>(dst + (std::size_t)y * ds);
        for (int x = 0; x < cw; ++x, s += 3)
            d[x] = (std::uint32_t)s[0] << 16 | (std::uint32_t)s[1] << 8 | s[2];
    }
    cairo_surface_mark_dirty(win->surface);
    gtk_widget_queue_draw(win->area);
    settle();
}

void window_close(int handle) {
    Win* w = find(handle);
    if (!w) return;
    gtk_widget_destroy(w->window);
    cairo_surface_destroy(w->surface);
    g_windows.erase(handle);
    settle();
}

bool window_open_now(int handle) { return find(handle) != nullptr; }

void window_closable(int handle, bool on) {
    if (Win* w = find(handle)) gtk_window_set_deletable(GTK_WINDOW(w->window), on);
}

void window_cursor(int handle, int shape) {
    Win* w = find(handle);
    if (!w || w->cursor == shape) return;
    w->cursor = shape;
    apply_cursor(*w);
}

unsigned long window_xid(int handle) {
#ifdef GDK_WINDOWING_X11
    Win* w = find(handle);
    GdkWindow* gw = w ? gtk_widget_get_window(w->window) : nullptr;
    if (gw && GDK_IS_X11_WINDOW(gw)) return (unsigned long)gdk_x11_window_get_xid(gw);
#else
    (void)handle;
#endif
    return 0;
}

bool wait(int timeout_ms) {
    bool expired = false;
    guint source = 0;
    if (timeout_ms >= 0) source = g_timeout_add((guint)timeout_ms, on_timeout, &expired);
    while (!event_pending() && !expired) {
        if (timeout_ms < 0 && g_windows.empty()) break;  // nothing could ever answer
        gtk_main_iteration_do(TRUE);
    }
    if (!expired && source) g_source_remove(source);
    return event_pending();
}

void dispatch_pending() { settle(); }

}  // namespace korval::platform::gtk
