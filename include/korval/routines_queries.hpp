// Queries of settings made by other routines.
//
// Each query reads back what its setter stored, in the setter's own units
// and conventions, so that its values can be passed to the setter again
// (save, change, restore).  Queries never change the state.
//
// Levels: a query of a plot parameter (one that korini sets to its default)
// follows its setter: where the setter needs a plot (levels 1 to 3) the
// query warns 3 before korini, like getlin and getclr, and still returns the
// stored value.  Queries of settings that may be made at any level (window,
// symbols, patterns, colour bar, message unit, display) work at any level
// without a warning.
#pragma once

#include "korval/types.hpp"

namespace korval {

// Text

// The character height set by height, in plot units.  Levels 1 to 3.
int gethgt();
// The text angle set by angle, in degrees counter-clockwise.  Levels 1 to 3.
int getang();
// The operator character that eushft set for the language s ("GERM",
// "DANI", "SPAN", "FREN", "ACUT", "GRAV", "CIRC"), as a one-character
// string; a blank when the language has no operator yet, and a blank after
// warning 2 for an unknown language (as getmix does for its keys).
// Levels 1 to 3.
const char* getshf(const char* s);

// Lines, colours, patterns

// The line type set by lintyp, solid, dot, dash ... (0 to 7).  myline
// patterns have no number: the last numbered type stays.  Levels 1 to 3.
int gettyp();
// The colour range set by colran: first and last colour index of colour
// scales.  Levels 1 to 3.
void getran(int& i1, int& i2);
// The shading pattern set by shdpat (its number 0, 1, 2 ...) or by mypat
// (its code angle * 1000 + type * 100 + density * 10 + cross).  Any level.
int getpat();
// The clipping window as clpwin takes it: upper left corner (the y
// measured as pagorg says), width and height in plot units.  This is the
// region in force, whoever set it: the whole page by default, a clpwin
// window, or the axis system after clpbor("AXIS").  Levels 1 to 3.
void getclp(int& i1, int& i2, int& i3, int& i4);

// Symbols

// The symbol number (marker) and symbol height (hsymbl, plot units).
// Any level.
void getsym(int& i1, int& i2);

// Axes

// The label types of the X, Y and Z axes as the 4-character keywords of
// labels: "NONE", "FLOA", "EXP ", "LOG ", "CLOG", "ELOG", "MAP ", "DMAP",
// "LMAP", "TIME", "HOUR", "SECO", "MYLA", "FEXP", "DATE".  Levels 1 to 3.
void getlab(OutString<5> s1, OutString<5> s2, OutString<5> s3);
// The label distances of the X, Y and Z axes (labdis), plot units.
// Levels 1 to 3.
void getsp1(int& i1, int& i2, int& i3);
// The name distances of the X, Y and Z axes (namdis), plot units.
// Levels 1 to 3.
void getsp2(int& i1, int& i2, int& i3);

// Colour plots

// The point size of the colour plots (setres, or computed by autres for
// the last graf3 or crvmat), plot units wide and high.  Any level.
void getres(int& i1, int& i2);
// The shifts of the colour bar and its title, in the order the setters are
// usually listed: i1 horizontal bar shift (vkxbar), i2 vertical bar shift
// (vkybar), i3 title shift (vkytit).  Any level.
void getvk(int& i1, int& i2, int& i3);
// The width of the colour bar set by widbar, plot units.  (The line width
// of linwid is reported by getlin.)  Any level.
int getwid();

// Output, messages, system

// The message unit: 0 after unit(0) (no warnings, no protocol), 6 for
// standard output, 17 while messages go to the error file.  Any level.
int getuni();
// The screen window: position of its upper left corner on the screen and
// its size, in pixels.  While a screen window is open, its actual place
// and size; otherwise what window or winsiz set (position 0, 0 after
// winsiz), or position 0, 0 and the default size 853 x 603 (603 x 853 for
// portrait pages).  Any level.
void getwin(int& i1, int& i2, int& i3, int& i4);
// The kind of display: "NONE" when no window system can be reached, "X11 "
// for an X server, "WAYL" for a Wayland compositor.  Any level.
const char* getdsp();
// Bits per pixel: of the raster picture while one exists (8 for a picture
// of colour indices, 24 for red, green, blue), of the picture a raster
// format will draw (after imgfmt), else of the display: 24 when there is
// one (screen windows are drawn in red, green and blue), 0 when there is
// none.  Any level.
int getbpp();
// The patch level of the library version 8.1 (getver): 0, this being the
// first release of 8.1.  Any level, no check.
int getplv();

}  // namespace korval
