// Run control: the header other folders include.
//
// Levels, warnings, keyword matching, argument checks, defaults and the
// small text helpers used by every routine.
#pragma once

#include <cstddef>
#include <string>

#include "core/state.hpp"

namespace korval {

// ---- levels --------------------------------------------------------------

// Records the routine name and tests lowest <= level <= highest.  Returns 0
// when the level fits, else warns 3 with the level and returns 1.
int check_level(int lowest, int highest, const char* routine);
// check_level(1, 3, routine)
int enter_routine(const char* routine);
// A length in tenths of a millimetre as plot units, rounded to nearest.
int scaled_length(int n);
// The once-per-process initialisation of the level-0 settings.
void first_call_init();

// ---- defaults and reset --------------------------------------------------

// Applies the defaults of every subsystem (run at korini and reset("ALL")).
void set_default_parameters();

// A subsystem's part of the defaults and of reset: apply_defaults sets every
// parameter it owns; reset handlers restore the parameters of one routine.
using DefaultsFn = void (*)();
// Subsystems register their defaults here (called once, from a static
// registration object in the subsystem's own source).
void register_defaults(int order, DefaultsFn fn);
// Registers what reset(key) restores for one of the 129 keys.
void register_reset(const char* key, DefaultsFn fn);
// Registers what endgrf resets besides the level (per-axis-system counters).
void register_endgrf(DefaultsFn fn);
void run_endgrf_hooks();
// The 129 keys of reset in table order.
extern const char* const reset_keys[129];

// ---- messages ------------------------------------------------------------

extern const char* const message_table[59];

void select_message(int n);
void set_warning_text(const char* text);
int warn_routine(int n);
int warn_routine_value(int n, int value);
int warn_routine_text(int n, const char* text);
// Writes text to the message stream (counted when it is the error file).
void message_write(const char* text);

// Matches a keyword against "KEY1+KEY2+..." of k keys; 1-based index or 0
// after warning 2.
int match_keyword(const char* list, int k, const char* arg);
// Applies value to each of x, y, z whose letter occurs in the first three
// characters of axes.
template <class T>
void set_by_axes(const char* axes, T value, T& x, T& y, T& z);
template <class T>
void set_by_axes(const char* axes, T value, T* xyz) {
    set_by_axes(axes, value, xyz[0], xyz[1], xyz[2]);
}
int check_range(int value, int lowest, int highest);
int check_date(int day, int month, int year);

std::size_t copy_bounded(char* dest, const char* src, std::size_t n);
void to_upper(char* text);
std::string to_upper(const std::string& text);
std::size_t remove_blanks(char* text, std::size_t n);

// ---- end of run ----------------------------------------------------------

// The end-of-run protocol as printed by korfin (mode 0, 1, 10 or 11).
void end_of_run_protocol(int mode);
// The protocol texts, for the console and the message box.
std::string protocol_console_text(int mode);
std::string protocol_box_text(int mode);

// A fatal file error (an existing file under file mode BREA, too many
// versions).  The routine's effects are undone and FatalError is thrown when
// the caller asked for it (the Perl binding croaks with the message); a C++
// program otherwise gets the message on standard error and exit status 1,
// never a success status.
struct FatalError {
    std::string message;
};
[[noreturn]] void fatal_error(const std::string& message);
void set_fatal_throws(bool on);

// The current date and time ("dd.mm.yyyy", "hh:mm:ss"); SOURCE_DATE_EPOCH
// fixes them (in UTC) for reproducible output.
void current_date_time(std::string& date, std::string& time);
// Seconds since the epoch used for every date written into files.
long long current_epoch();

// The installation directory (environment variable, registry, default).
std::string get_install_path(const char* name);

}  // namespace korval
