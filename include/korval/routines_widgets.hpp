// User routines of the dialog widgets and the one-call dialogs.
#pragma once

namespace korval {

int wgini(const char* s);
void wgfin();
int wgbas(int ip, const char* s);
int wglab(int ip, const char* s);
int wgbut(int ip, const char* s, int i);
int wgpbut(int ip, const char* s);
int wgtxt(int ip, const char* s);
int wgltxt(int ip, const char* s1, const char* s2, int i);
int wglis(int ip, const char* s, int i);
int wgdlis(int ip, const char* s, int i);
int wgbox(int ip, const char* s, int i);
int wgok(int ip);
int wgquit(int ip);
int gwgbut(int i);
int gwglis(int i);
int gwgbox(int i);
const char* gwgtxt(int i);
void swgtit(const char* s);
void swghlp(const char* s);
void swgmix(const char* c, const char* s);
void swgbut(int i, int v);
void swglis(int i, int v);
void swgbox(int i, int v);
void swgtxt(int i, const char* s);
void sendok();
// Registers a callback for widget i (the first registration stays).
void swgcbk(int i, void (*callback)(int id));
int itmcnt(const char* s);
const char* itmstr(const char* s, int n);
const char* itmcat(const char* s1, const char* s2);
void msgbox(const char* s);
void dwgmsg(const char* s);
int dwgbut(const char* s, int i);

}  // namespace korval

namespace korval {

// A scale from x1 to x2 with the value x3, showing i digits.
int wgscl(int ip, const char* s, float x1, float x2, float x3, int i);
float gwgscl(int i);
void swgscl(int i, float x);
// A file field: label s1, file name s2, mask s3 ("*.dat", or with
// swgopt("USER", "MASK") a whole filter "name+pattern+name+pattern").
int wgfil(int ip, const char* s1, const char* s2, const char* s3);
const char* gwgfil(int i);
void swgfil(int i, const char* s);
// A button that runs the command line s2 through the shell and waits for
// it ("cmd &" runs it in the background).
int wgcmd(int ip, const char* s1, const char* s2);
// A popup menu in the menu bar of the main widget ip ("&" marks the
// mnemonic), and an entry of popup ip; entries report through swgcbk.
int wgpop(int ip, const char* s);
int wgapp(int ip, const char* s);
// A white drawing area, 20 characters wide (see swgdrw for the height).
int wgdraw(int ip);
// Height of drawing areas created afterwards as a multiple of their width.
void swgdrw(float x);
// Step of scales created afterwards (positive).
void swgstp(float x);
// Shows the dialog at once without waiting; wgfin then only waits.
void reawgt();
// The X11 window id of a shown widget (0 when it has none).
int gwgxid(int i);
// "STAT": 0 active, 1 inactive, 2 invisible; "LIST": number of items.
int gwgatt(int i, const char* s);
// "STAT": s1 "ACTI", "INAC" or "INVI"; "LIST": s1 the new items of a
// list or drop-down list (selection 1 when the old one is gone).
void swgatt(int i, const char* s1, const char* s2);
// Colours of later dialogs: "BACK", "FORE", "SCRO", "LTEX"; "RESE" all system colours.
void swgclr(float xr, float xg, float xb, const char* s);
// The font of later dialogs: family s (empty: the system font) and size i
// in points (0: the system size; 0..200, else "Bad value!").
void swgfnt(const char* s, int i);
void swgjus(const char* s1, const char* s2);
// Output mode of values ("AUTO", "XWIN", "ASCI"): kept; the GTK dialogs
// show values the same way in every mode.
void swgmod(const char* s);
// Margin in pixels on one side of later dialogs (added to the border).
void swgmrg(int i, const char* s);
// Offset in pixels added to the swgwin positions of children of free-form
// ("FORM") parents created afterwards, so that a group can be moved.
void swgoff(int i1, int i2);
// "POSI": "CENT" centres later dialogs, "STAN" leaves the place to the
// window manager; "MASK": "USER" takes file masks as whole filters.
void swgopt(const char* s1, const char* s2);
void swgpop(const char* s);
// Position of later dialogs; swgsiz their size, swgwin both (and the place
// of the next children of free-form parents).
void swgpos(int i1, int i2);
void swgsiz(int i1, int i2);
void swgwin(int i1, int i2, int i3, int i4);
void swgwth(int i);
void swgspc(float x, float y);
void swgtyp(const char* s1, const char* s2);
// One-call dialogs; without a display they return the preselection, the
// initial text or the initial name at once.
int dwglis(const char* s1, const char* s2, int i);
const char* dwgtxt(const char* s1, const char* s2);
const char* dwgfil(const char* s1, const char* s2, const char* s3);

}  // namespace korval
