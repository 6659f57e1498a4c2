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
