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
    kOk = 14,
    kQuit = 15
};

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
    Callback callback = nullptr;
    void* native = nullptr;  // the toolkit's widget while shown
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
};

Toolkit& toolkit();
// Splits a list of items at the current separator.
std::vector<std::string> split_items(const char* s);
// Shows the dialog of the innermost level; with run, waits until it
// closes.  Returns false when no window can be shown.
bool show_dialog(bool run);

}  // namespace korval::widgets
