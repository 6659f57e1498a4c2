// The window-system backend on GTK 3: message boxes and the top-level
// windows of the screen output.  Input events are queued for wait_event.
#include <gtk/gtk.h>
#ifdef GDK_WINDOWING_X11
#include <cairo-xlib.h>
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
    // A window of the caller (window_attach): its id, GDK's handle of it,
    // and the widget that owns it when it belongs to this program.
    unsigned long xid = 0;
    GdkWindow* attached = nullptr;
    GtkWidget* owner = nullptr;  // weak: cleared when the widget goes
    gulong draw_id = 0;
    bool foreign = false;  // selected for its expose events by us
    bool gone = false;     // destroyed by its owner
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

#ifdef GDK_WINDOWING_X11
// Paints the picture into a caller's window straight through Xlib; the
// window may vanish at any moment, so errors are trapped.
void paint_attached(Win& w) {
    if (!w.attached || w.gone) return;
    GdkDisplay* gd = gdk_window_get_display(w.attached);
    Display* dpy = GDK_DISPLAY_XDISPLAY(gd);
    gdk_x11_display_error_trap_push(gd);
    XWindowAttributes a;
    if (XGetWindowAttributes(dpy, (Window)w.xid, &a) && a.c_class == InputOutput) {
        cairo_surface_t* s = cairo_xlib_surface_create(dpy, (Drawable)w.xid, a.visual, a.width, a.height);
        cairo_t* cr = cairo_create(s);
        cairo_set_source_surface(cr, w.surface, 0, 0);
        cairo_paint(cr);
        cairo_destroy(cr);
        cairo_surface_flush(s);
        cairo_surface_destroy(s);
    }
    XFlush(dpy);
    gdk_x11_display_error_trap_pop_ignored(gd);
}

// Expose and destruction of the caller's windows that belong to other
// programs (or to no widget of this one).
GdkFilterReturn on_x_event(GdkXEvent* xev, GdkEvent*, gpointer) {
    const XEvent* x = static_cast<const XEvent*>(xev);
    if (x->type != Expose && x->type != DestroyNotify) return GDK_FILTER_CONTINUE;
    Window id = x->type == Expose ? x->xexpose.window : x->xdestroywindow.window;
    for (auto& [h, w] : g_windows) {
        if (!w.foreign || w.xid != (unsigned long)id) continue;
        if (x->type == DestroyNotify)
            w.gone = true;
        else if (x->xexpose.count == 0)
            paint_attached(w);
    }
    return GDK_FILTER_CONTINUE;
}

// A widget of this program whose window was handed over: the picture goes
// on top of what the widget draws.
gboolean on_owner_draw(GtkWidget*, cairo_t* cr, gpointer data) {
    Win* w = find(GPOINTER_TO_INT(data));
    if (w && w->surface) {
        cairo_set_source_surface(cr, w->surface, 0, 0);
        cairo_paint(cr);
    }
    return FALSE;
}
#endif

bool own_windows() {
    for (auto& [h, w] : g_windows)
        if (w.window) return true;
    return false;
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

bool x11_windows() {
#ifdef GDK_WINDOWING_X11
    GdkDisplay* d = gdk_display_get_default();
    return d && GDK_IS_X11_DISPLAY(d);
#else
    return false;
#endif
}

int window_attach(unsigned long xid, bool white, int& w, int& h) {
    w = h = 0;
#ifdef GDK_WINDOWING_X11
    GdkDisplay* gd = gdk_display_get_default();
    if (!xid || !gd || !GDK_IS_X11_DISPLAY(gd)) return -1;
    Display* dpy = GDK_DISPLAY_XDISPLAY(gd);
    XWindowAttributes a;
    gdk_x11_display_error_trap_push(gd);
    Status ok = XGetWindowAttributes(dpy, (Window)xid, &a);
    gdk_x11_display_error_trap_pop_ignored(gd);
    if (!ok || a.c_class != InputOutput || a.width < 1 || a.height < 1) return -1;
    // GDK hands back its own window when the id is one of this program's.
    GdkWindow* gw = gdk_x11_window_foreign_new_for_display(gd, (Window)xid);
    if (!gw) return -1;
    int handle = g_next++;
    Win& win = g_windows[handle];
    win.w = w = a.width;
    win.h = h = a.height;
    win.xid = xid;
    win.attached = gw;
    win.surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, w, h);
    cairo_t* cr = cairo_create(win.surface);
    double v = white ? 1.0 : 0.0;
    cairo_set_source_rgb(cr, v, v, v);
    cairo_paint(cr);
    cairo_destroy(cr);
    gpointer owner = nullptr;
    if (gdk_window_get_window_type(gw) != GDK_WINDOW_FOREIGN) gdk_window_get_user_data(gw, &owner);
    if (owner && GTK_IS_WIDGET(owner)) {
        // The widget repaints its window itself; the picture follows.
        win.owner = GTK_WIDGET(owner);
        g_object_add_weak_pointer(G_OBJECT(win.owner), reinterpret_cast<gpointer*>(&win.owner));
        win.draw_id =
            g_signal_connect_after(win.owner, "draw", G_CALLBACK(on_owner_draw), GINT_TO_POINTER(handle));
    } else if (gdk_window_get_window_type(gw) == GDK_WINDOW_FOREIGN) {
        static bool filter = false;
        if (!filter) gdk_window_add_filter(nullptr, on_x_event, nullptr);
        filter = true;
        win.foreign = true;
        // Our own selection on another program's window: its owner keeps
        // its own.
        gdk_x11_display_error_trap_push(gd);
        XSelectInput(dpy, (Window)xid, ExposureMask | StructureNotifyMask);
        gdk_x11_display_error_trap_pop_ignored(gd);
    }
    paint_attached(win);
    return handle;
#else
    (void)xid, (void)white;
    return -1;
#endif
}

void window_title(int handle, const char* title) {
    if (Win* w = find(handle); w && w->window) gtk_window_set_title(GTK_WINDOW(w->window), title);
    settle();
}

void window_show(int handle, const std::uint8_t* rgb, int stride, int w, int h) {
    Win* win = find(handle);
    if (!win || !rgb || !win->surface) return;
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
#ifdef GDK_WINDOWING_X11
    if (win->attached) paint_attached(*win);
#endif
    if (win->area) gtk_widget_queue_draw(win->area);
    settle();
}

void window_close(int handle) {
    Win* w = find(handle);
    if (!w) return;
    if (w->window) gtk_widget_destroy(w->window);
    if (w->owner) {
        g_signal_handler_disconnect(w->owner, w->draw_id);
        g_object_remove_weak_pointer(G_OBJECT(w->owner), reinterpret_cast<gpointer*>(&w->owner));
    }
#ifdef GDK_WINDOWING_X11
    if (w->foreign && !w->gone) {
        GdkDisplay* gd = gdk_window_get_display(w->attached);
        gdk_x11_display_error_trap_push(gd);
        XSelectInput(GDK_DISPLAY_XDISPLAY(gd), (Window)w->xid, NoEventMask);
        gdk_x11_display_error_trap_pop_ignored(gd);
    }
#endif
    if (w->attached) g_object_unref(w->attached);
    cairo_surface_destroy(w->surface);
    g_windows.erase(handle);
    settle();
}

bool window_open_now(int handle) { return find(handle) != nullptr; }

void window_closable(int handle, bool on) {
    if (Win* w = find(handle); w && w->window) gtk_window_set_deletable(GTK_WINDOW(w->window), on);
}

void window_cursor(int handle, int shape) {
    Win* w = find(handle);
    if (!w || !w->window || w->cursor == shape) return;
    w->cursor = shape;
    apply_cursor(*w);
}

unsigned long window_xid(int handle) {
#ifdef GDK_WINDOWING_X11
    Win* w = find(handle);
    if (w && w->attached) return w->xid;
    GdkWindow* gw = w && w->window ? gtk_widget_get_window(w->window) : nullptr;
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
        if (timeout_ms < 0 && !own_windows()) break;  // nothing could ever answer
        gtk_main_iteration_do(TRUE);
    }
    if (!expired && source) g_source_remove(source);
    return event_pending();
}

void dispatch_pending() { settle(); }

}  // namespace korval::platform::gtk
