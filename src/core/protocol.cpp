// The end-of-run protocol printed by korfin.
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "core/core.hpp"
#include "platform/platform.hpp"

namespace korval {

namespace {

std::string count_text(long v, const char* fmt) {
    char buf[32];
    std::snprintf(buf, sizeof buf, fmt, v);
    remove_blanks(buf, std::strlen(buf));
    return buf;
}

std::string cut48(const std::string& s) { return s.size() > 48 ? s.substr(0, 48) : s; }

std::string padded_line(const std::string& text) {
    char buf[128];
    std::snprintf(buf, sizeof buf, "\n <<  %-58s  <<", text.c_str());
    return buf;
}

const char* const kRule =
    "<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<<";  // 66

}  // namespace

std::string protocol_console_text(int mode) {
    const State& st = state();
    std::string date, time;
    current_date_time(date, time);
    std::string out;
    char buf[256];
    out += "\n ";
    out += kRule;
    std::snprintf(buf, sizeof buf, "\n <<                END OF KORVAL / VERSION %4.1f %s                <<",
                  8.1, " ");
    out += buf;
    std::snprintf(buf, sizeof buf, "\n <<  Date    : %10s  Time    : %8s  Pageformat: %4s  <<", date.c_str(),
                  time.c_str(), st.out.page_name.c_str());
    out += buf;
    std::snprintf(buf, sizeof buf, "\n <<  Vectors : %-10s  Warnings: %-8s  Fileformat: %4s  <<",
                  count_text(st.run.vector_count, "%10ld").c_str(),
                  count_text(st.run.warning_count, "%8ld").c_str(), st.out.keyword.c_str());
    out += buf;
    if (mode != 10) {
        std::string line = "Metafile: ";
        if (mode == 1 || mode == 11) line += cut48(st.out.file_name);
        out += padded_line(line);
    }
    if (mode == 10 || mode == 11) out += padded_line("Err-file: " + cut48(st.msg.error_file_used));
    out += "\n ";
    out += kRule;
    out += "\n";
    out += "\n";
    return out;
}

std::string protocol_box_text(int mode) {
    const State& st = state();
    std::string date, time;
    current_date_time(date, time);
    char buf[128];
    std::snprintf(buf, sizeof buf, "           END OF KORVAL / VERSION %4.1f %s\n ", 8.1, " ");
    std::string out = buf;
    out += "\n Date          : " + date;
    out += "\n Time          : " + time;
    out += "\n Pageformat: " + st.out.page_name;
    out += "\n Vectors      : " + count_text(st.run.vector_count, "%10ld");
    out += "\n Warnings  : " + count_text(st.run.warning_count, "%8ld");
    out += "\n Fileformat  : " + st.out.keyword;
    if (mode == 1 || mode == 11) out += "\n Metafile     : " + cut48(st.out.file_name);
    if (mode == 10 || mode == 11) out += "\n Error file    : " + cut48(st.msg.error_file_used);
    return out;
}

void end_of_run_protocol(int mode) {
    const State& st = state();
    if (st.msg.unit == 0 || !st.msg.protocol) return;
    if (st.msg.winapp == 1) {
        platform::message_box("korfin", protocol_box_text(mode).c_str());
    } else {
        message_write(protocol_console_text(mode).c_str());
    }
}

namespace {
bool g_fatal_throws = false;
}

void set_fatal_throws(bool on) { g_fatal_throws = on; }

void fatal_error(const std::string& message) {
    if (g_fatal_throws) throw FatalError{message};
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n", message.c_str());
    std::exit(1);
}

}  // namespace korval
