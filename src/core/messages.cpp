// Numbered warnings, keyword matching and the common argument checks.
#include <cctype>
#include <cstdio>
#include <cstring>

#include "core/core.hpp"

namespace korval {

const char* const message_table[59] = {
    " ",
    "Negative parameter",
    "Incorrect parameter",
    "Incorrect level",
    "X coordinate out of page",
    "Y coordinate out of page",
    "Same tick number as in a call before",
    "First radius greater than second radius",
    "Start angle greater/equal end angle",
    "Step equal zero",
    "Begin and end of scaling are equal",
    "Axis length < 2",
    "Startlabel out of scaling",
    "Linear scaling must be used",
    "Linear interpolation must be used",
    "No call to legini before",
    "Too long string for legend line",
    "Not enough store for the legend buffer",
    "Incorrect character after the eushft operator",
    "The basealphabet cannot be used",
    "No metafile",
    "The routine must be called after korfin",
    "The metafile is deleted before",
    "Non positive minimum for log scaling (set to 0.1)",
    "Non positive maximum for log scaling (set to 1.0)",
    "Minimum equal maximum (added -1 and +1)",
    "Too many intersections",
    "Non positive values for log scaling",
    "Number of bars unequal number of main ticks",
    "Sum of data is zero",
    "Incorrect number of points",
    "Incorrect number of points for spline interpolation",
    "No increasing x coordinates for spline interpolation",
    "Incorrect viewpoint",
    "No call to grfini before",
    "Confusion of graf3d and graf3",
    "File error",
    "Incorrect filename",
    "Singular matrix",
    "Too many pages for CGM file (max. length 327 cm)",
    "File format and output device are incompatible",
    "Incorrect device for HPGL file",
    "More legend lines than calls to curve",
    "Instruction code: incorrect parameter",
    "Instruction code: incorrect tabulator index",
    "Instruction code: no integer value",
    "Instruction code: unknown command",
    "Blanking buffer overflow",
    "No call to psfont",
    "Fileformat is not PostScript",
    "Incorrect sign for step",
    "Non positive parameter",
    "Hiddenline overflow",
    "Not enough memory",
    "No call to imgfin",
    "No call to imgini",
    "Incorrect file format",
    "Control characters must be different",
    "Array is out of screen",
};

namespace {

bool messages_shown() {
    const MessageState& m = state().msg;
    return m.unit != 0 && m.warnings;
}

}  // namespace

void message_write(const char* text) {
    MessageState& m = state().msg;
    std::FILE* f = m.stream ? m.stream : stdout;
    std::size_t n = std::strlen(text);
    if (std::fwrite(text, 1, n, f) == n && f == m.error_stream) m.error_file_bytes += (long)n;
    std::fflush(f);
}

void select_message(int n) {
    MessageState& m = state().msg;
    state().run.warning_count += 1;
    if (m.unit == 0 || n >= 101 || !m.warnings) return;
    if (n > 0 && n < 59) {
        m.text = message_table[n];
    } else {
        std::printf("<<<< Incorrect parameter in errmes! (%4d)\n", n);
        std::fflush(stdout);
        m.text = message_table[0];
    }
}

void set_warning_text(const char* text) { state().msg.text = text ? text : " "; }

int warn_routine(int n) {
    select_message(n);
    if (messages_shown()) {
        char line[600];
        std::snprintf(line, sizeof line, " <<<< Warning %3d: %s in %s!\n", n, state().msg.text,
                      state().run.routine);
        message_write(line);
    }
    return 0;
}

int warn_routine_value(int n, int value) {
    select_message(n);
    if (messages_shown()) {
        char line[600];
        std::snprintf(line, sizeof line, " <<<< Warning %3d: %s in %s!   (%4d)\n", n,
                      state().msg.text, state().run.routine, value);
        message_write(line);
    }
    return 0;
}

int warn_routine_text(int n, const char* text) {
    select_message(n);
    if (messages_shown()) {
        std::string line = " <<<< Warning ";
        char num[16];
        std::snprintf(num, sizeof num, "%3d", n);
        line += num;
        line += ": ";
        line += state().msg.text;
        line += " in ";
        line += state().run.routine;
        line += "!   (";
        line += text ? text : "";
        line += ")\n";
        message_write(line.c_str());
    }
    return 0;
}

int match_keyword(const char* list, int k, const char* arg) {
    if (!arg) arg = "";
    char a[4] = {' ', ' ', ' ', ' '};
    for (int i = 0; i < 4 && arg[i]; ++i) a[i] = (char)std::toupper((unsigned char)arg[i]);
    std::size_t len = std::strlen(list);
    for (int i = 0; i < k; ++i) {
        std::size_t at = (std::size_t)i * 5;
        bool equal = true;
        for (int j = 0; j < 4; ++j) {
            char c = at + j < len ? (char)std::toupper((unsigned char)list[at + j]) : ' ';
            if (c != a[j]) {
                equal = false;
                break;
            }
        }
        if (equal) return i + 1;
    }
    warn_routine_text(2, arg);
    return 0;
}

template <class T>
void set_by_axes(const char* axes, T value, T& x, T& y, T& z) {
    if (!axes) return;
    for (int i = 0; i < 3 && axes[i]; ++i) {
        char c = (char)std::toupper((unsigned char)axes[i]);
        if (c == 'X') x = value;
        else if (c == 'Y') y = value;
        else if (c == 'Z') z = value;
    }
}
template void set_by_axes<int>(const char*, int, int&, int&, int&);
template void set_by_axes<float>(const char*, float, float&, float&, float&);

int check_range(int value, int lowest, int highest) {
    if (value < lowest || (lowest <= highest && value > highest)) {
        warn_routine_value(2, value);
        return 1;
    }
    return 0;
}

int check_date(int day, int month, int year) {
    if (day < 1 || day > 31) return warn_routine_value(2, day), 1;
    if (month < 1 || month > 12) return warn_routine_value(2, month), 1;
    if (year < 1000) return warn_routine_value(2, year), 1;
    if (month == 2) {
        bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
        if (day > 29 || (day == 29 && !leap)) return warn_routine_value(2, day), 1;
    }
    return 0;
}

std::size_t copy_bounded(char* dest, const char* src, std::size_t n) {
    std::size_t i = 0;
    if (src)
        for (; i < n && src[i]; ++i) dest[i] = src[i];
    dest[i] = '\0';
    return i;
}

void to_upper(char* text) {
    for (; *text; ++text)
        if (*text >= 'a' && *text <= 'z') *text = (char)(*text - 'a' + 'A');
}

std::string to_upper(const std::string& text) {
    std::string s = text;
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
    return s;
}

std::size_t remove_blanks(char* text, std::size_t n) {
    std::size_t len = std::strlen(text);
    if (n > len) n = len;
    std::size_t w = 0;
    for (std::size_t r = 0; r < n; ++r)
        if (text[r] != ' ') text[w++] = text[r];
    for (std::size_t r = n; r <= len; ++r) text[w++] = text[r];
    return std::strlen(text);
}

}  // namespace korval
