// The dialog widget toolkit: the widget table and the settings, shared by
// the routines and the window-system side that shows them.
#pragma once

#include <string>
#include <vector>

namespace korval::widgets {

enum Kind {
    kMain = 0,
    kBase = 1,
    kLabel = 2,
    kCheck = 3,
    kPush = 4,
    kCommand = 5,
    kList = 6,
    kDropList = 7,
    kBox = 8,
    kText = 9,
    kLabelText = 10,
    kFile = 11,
    kScale = 13,
    kOk = 14,
    kQuit = 15,
    kPopup = 16,
    kEntry = 17,
    kDraw = 18
};

// Widget states set by swgatt "STAT".
enum Attr { kActive = 0, kInactive = 1, kInvisible = 2 };

using Callback = void (*)(int id);

struct Widget {
    int kind = 0;
    int layout = 1;   // parents: 1 VERT, 0 HORI, 2 FORM
    int parent = -1;  // index of the parent
    int level = 1;
    int value = 0;      // check state, selected item (1-based)
    std::string text;   // label, initial text, typed text after OK
    std::string label;  // labelled text fields: the label
    std::vector<std::string> items;
    std::string mask;                                     // file fields: the file mask
    std::string command;                                  // command buttons: the command line
    float fvalue = 0, fmin = 0, fmax = 1, fstep = 0.01f;  // scales
    int digits = 0;                                       // scales: shown digits
    int attr = kActive;
    int just = 0;                        // labels and buttons: 0 left, 1 centre, 2 right
    int fx = 0, fy = 0, fw = 0, fh = 0;  // children of free-form parents (swgwin)
    bool placed = false;                 // fx.. were given
    Callback callback = nullptr;
    void* native = nullptr;   // the toolkit's widget while shown
    void* native2 = nullptr;  // scales: the value display
};

// Settings for the dialogs created afterwards.
struct Settings {
    int x = 0, y = 0, w = 0, h = 0;
    bool has_pos = false, has_size = false;
    int width = 20;  // main widget: >0 characters, <0 percent of the screen
    float space_x = 4.0f, space_y = 0.5f;
    int margin[4] = {0, 0, 0, 0};    // left, top, right, bottom (pixels)
    int offset_x = 0, offset_y = 0;  // free-form parents: the next child's offset
    int mode = 0;                    // swgmod: 0 AUTO, 1 XWIN, 2 ASCI
    bool menu_ok = true, menu_quit = true, menu_help = true;
    int list_type = 0;  // 0 AUTO, 1 SCRO, 2 NOSC
    int box_vertical = 1, scale_vertical = 0;
    int just_label = 0, just_button = 1;  // 0 left, 1 centre, 2 right
    bool centre = true;                   // swgopt POSI
    bool user_mask = false;               // swgopt MASK
    // Colours as 0x00bbggrr; -1 the system colour.
    long back = -1, fore = -1, scroll = -1, text_back = -1;
    std::string font;  // swgfnt; empty: the system font
    int font_size = 0;
    float step = 0;           // swgstp; <= 0: 100 positions
    float draw_ratio = 1.0f;  // swgdrw: drawing area height / width
    bool form_pos = false;    // swgwin was called: free-form children use it
};

struct Toolkit {
    int state = 0;  // 0 not started, 1 open, 2 finished
    int depth = 0;  // open dialog levels
    int level_start[9] = {0};
    std::vector<Widget> table;
    std::string title;
    std::string help;
    char separator = '|';
    bool closed_by_ok = false;
    Settings set;
};

Toolkit& toolkit();
// Splits a list of items at the current separator.
std::vector<std::string> split_items(const char* s);
// Shows the dialog of the innermost level; with run, waits until it
// closes.  Returns false when no window can be shown.
bool show_dialog(bool run);
// True while a dialog window is on the screen.
bool dialog_shown();
// Updates the shown control of widget k after a change by a routine.
void refresh_widget(int k);
// The X11 id of the shown widget's window (0 when there is none).
unsigned long widget_xid(int k);
// The scale's slider positions for its range and step.
int scale_positions(float lo, float hi, float step, bool* too_small);
// The file filter of a file field or dwgfil: pairs of name and pattern.
std::vector<std::pair<std::string, std::string>> file_filters(const std::string& mask, bool user);

// One-call dialogs on the window system; false when none can be shown
// (then the caller's default stands).
bool list_dialog(const std::string& title, const std::string& label, const std::vector<std::string>& items,
                 int& selected);
bool text_dialog(const std::string& title, const std::string& label, std::string& text);
bool file_dialog(const std::string& title, const std::string& mask, bool user_mask, std::string& name);

}  // namespace korval::widgets
