// Run levels, the first-call initialisation and length scaling.
#include <cstdio>

#include "core/core.hpp"

namespace korval {

State& state() {
    static State s;
    return s;
}

void first_call_init() {
    State& st = state();
    st.run.first_call_done = true;
    MessageState& m = st.msg;
    m.unit = 6;
    m.stream = nullptr;
    m.warnings = true;
    m.error_device = 0;
    m.error_file_given = false;
    m.error_file = "korval.err";
    m.winapp = 0;
    OutputState& o = st.out;
    o.page_name = "DA4L";
    o.format = 0;
    o.keyword = "VECM";
    o.screen_mode = 4;
    o.page_width = 2969.0f;
    o.page_height = 2099.0f;
    o.scale_factor = 1.0f;
    o.unit_factor = 1.0f;
    o.window_mode = 0;
    o.file_mode = 0;
}

int check_level(int lowest, int highest, const char* routine) {
    State& st = state();
    if (!st.run.first_call_done) first_call_init();
    st.run.routine = routine;
    int level = st.run.level;
    if (lowest <= level && level <= highest) return 0;
    if (level == 0) {
        // A misuse before korini is always shown.
        st.msg.unit = 6;
        st.msg.stream = nullptr;
    }
    warn_routine_value(3, level);
    return 1;
}

int enter_routine(const char* routine) { return check_level(1, 3, routine); }

int scaled_length(int n) {
    float f = state().out.unit_factor;
    if (f <= 0.0f) f = 1.0f;
    double v = (double)n / (double)f;
    return (int)(v >= 0 ? v + 0.5 : v - 0.5);
}

}  // namespace korval
