// The run lifecycle: korini, korfin, erase, newpag, reset, and the routines
// that route messages.
#include <cstdio>
#include <cstring>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"

namespace korval {

bool run_reset(const char* key4);

namespace {

bool uses_white_paper(int code) { return code == 511 || code == 503 || code == 504 || code == 801; }

// Opens the error file (korini step 8); falls back to standard output.
void open_error_file() {
    MessageState& m = state().msg;
    std::string name = m.error_file_given ? m.error_file : "korval.err";
    name = version_file_name(name);
    m.error_file_used = name;
    m.error_file_bytes = 0;
    m.error_stream = std::fopen(name.c_str(), "w");
}

void close_error_file(int& mode) {
    MessageState& m = state().msg;
    if (!m.error_stream) return;
    std::fclose(m.error_stream);
    if (m.stream == m.error_stream) m.stream = nullptr;
    m.error_stream = nullptr;
    if (m.error_file_bytes > 0) {
        mode += 10;
    } else {
        std::remove(m.error_file_used.c_str());
    }
    if (m.unit == 17) {
        m.unit = 6;
        m.stream = nullptr;
    }
}

}  // namespace

void korini() {
    if (check_level(0, 0, "korini")) return;
    State& st = state();
    OutputState& o = st.out;
    st.run.level = 1;
    o.background = o.screen_mode == 4 ? 0 : o.screen_mode;
    st.run.vector_count = 0;
    st.run.warning_count = 0;
    st.run.finished = false;
    if (o.format == 0) {
        o.format = 201;
        o.keyword = "VECM";
    }
    if (o.screen_mode == 4) o.background = uses_white_paper(o.format) ? 2 : 0;
    try {
        device_start();
        MessageState& m = st.msg;
        m.error_stream = nullptr;
        if (m.winapp == 1 || m.error_device == 1) open_error_file();
    } catch (...) {
        // A fatal file error: leave no half-opened plot behind.
        o.device.reset();
        st.run.level = 0;
        throw;
    }
    set_default_parameters();
    if (!st.run.first_korini_done) {
        st.run.first_korini_done = true;
        st.run.first_background = o.background;
    } else if (o.background != st.run.first_background && o.format < 201) {
        erase();
    }
}

void korfin() {
    if (check_level(1, 3, "korfin")) return;
    State& st = state();
    plot_flush();
    int mode = device_finish();
    st.run.level = 0;
    st.run.finished = true;
    st.run.in_plane_mode = false;
    close_error_file(mode);
    end_of_run_protocol(mode);
}

void erase() {
    if (check_level(1, 3, "erase")) return;
    plot_flush();
    device_erase();
}

void newpag() {
    if (check_level(1, 1, "newpag")) return;
    plot_flush();
    state().run.page_count += 1;
    device_new_page();
}

void reset(const char* s) {
    if (enter_routine("reset")) return;
    plot_flush();
    char key[5] = {0, 0, 0, 0, 0};
    copy_bounded(key, s ? s : "", 4);
    to_upper(key);
    if (!run_reset(key)) warn_routine_text(2, key);
}

int getlev() { return state().run.level; }

void endgrf() {
    State& st = state();
    st.run.routine = "endgrf";
    if (st.run.level == 0) return;
    run_endgrf_hooks();
    st.run.level = 1;
}

void errdev(const char* s) {
    if (check_level(0, 0, "errdev")) return;
    int i = match_keyword("CONS+FILE", 2, s);
    if (i) state().msg.error_device = i - 1;
}

void errfil(const char* s) {
    if (check_level(0, 0, "errfil")) return;
    char buf[257];
    copy_bounded(buf, s ? s : "", 256);
    state().msg.error_file = buf;
    state().msg.error_file_given = true;
}

void errmod(const char* s1, const char* s2) {
    enter_routine("errmod");
    int what = match_keyword("WARN+CHEC+PROT+ALL ", 4, s1);
    if (!what) return;
    int on = match_keyword("OFF +ON  ", 2, s2);
    if (!on) return;
    bool v = on == 2;
    MessageState& m = state().msg;
    if (what == 1 || what == 4) m.warnings = v;
    if (what == 2 || what == 4) m.checking = v;
    if (what == 3 || what == 4) m.protocol = v;
}

void nochek() {
    enter_routine("nochek");
    state().msg.checking = false;
}

void unit(int i) {
    enter_routine("unit");
    MessageState& m = state().msg;
    if (i == 0) {
        m.unit = 0;
    } else {
        m.unit = 6;
        m.stream = nullptr;
    }
}

void winapp(const char* s) {
    if (check_level(0, 0, "winapp")) return;
    int i = match_keyword("CONS+WIND", 2, s);
    if (i) state().msg.winapp = i - 1;
}

float getver() { return 8.1f; }

}  // namespace korval
