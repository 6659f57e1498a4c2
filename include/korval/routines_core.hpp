// User routines of the run control: lifecycle, levels and messages.
#pragma once

namespace korval {

// Lifecycle and levels
void korini();
void korfin();
void erase();
void newpag();
void reset(const char* s);
int getlev();
void endgrf();

// Messages and switches
void errdev(const char* s);
void errfil(const char* s);
void errmod(const char* s1, const char* s2);
void nochek();
void unit(int i);
void winapp(const char* s);
float getver();

}  // namespace korval
