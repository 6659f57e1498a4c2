// Parameter defaults: applied at korini and by reset.
#include <algorithm>
#include <cstring>
#include <vector>

#include "core/core.hpp"

namespace korval {

const char* const reset_keys[129] = {
    "ALL",  "ANGL", "AUTR", "AX3L", "AXCL", "AXEN", "AXIS", "AXSL", "AXSP", "BARD", "BARG", "BARP",
    "BART", "BARW", "BASA", "CENT", "CHAA", "CHAB", "CHAS", "CHAW", "CHNC", "CHNP", "CIRC", "CLPB",
    "CLPM", "CLPW", "CLRC", "COLM", "COLO", "COLR", "CONC", "CONG", "CONM", "DIGI", "EUSH", "EXPZ",
    "FILB", "FILC", "FIXS", "FLAB", "FRAM", "FRME", "GAPC", "GRAC", "HEIG", "HNAM", "HTIT", "IANG",
    "INTA", "LABC", "LABD", "LABE", "LABJ", "LABP", "LABT", "LEGC", "LFTT", "LINC", "LINS", "LOGT",
    "MAPM", "MAPP", "MAPR", "MAPS", "MDFM", "MIXA", "MIXL", "MPLA", "MPLC", "MPLS", "MYLA", "NAMD",
    "NAME", "NEGL", "NEWM", "NOAR", "NOBA", "NOBG", "NOCH", "NOCL", "NOFI", "NOGR", "NOHI", "NOLI",
    "NUMF", "NUMO", "ORIG", "PATC", "PIEE", "PIEL", "PIEV", "POLC", "PROJ", "RGTL", "RVYN", "SCAL",
    "SETB", "SETC", "SETE", "SETG", "SETM", "SETR", "SETS", "SHDC", "SHDP", "SHIE", "SHLS", "SMXA",
    "SPLM", "SURC", "SURS", "SURV", "SYMR", "THKC", "TICK", "TICL", "TICP", "TIMO", "TITL", "UNIT",
    "VIEW", "VKXB", "VKYB", "VKYT", "WIDB", "WIND", "WINM", "WINS", "ZSCA",
};

namespace {

struct DefaultsEntry {
    int order;
    DefaultsFn fn;
};

std::vector<DefaultsEntry>& defaults_list() {
    static std::vector<DefaultsEntry> v;
    return v;
}

std::vector<DefaultsFn>& reset_list(int key) {
    static std::vector<DefaultsFn> v[129];
    return v[key];
}

int reset_index(const char* key) {
    for (int i = 0; i < 129; ++i)
        if (std::strcmp(reset_keys[i], key) == 0) return i;
    return -1;
}

// The run control's own parameters.
void run_defaults() {
    MessageState& m = state().msg;
    m.stream = m.error_stream;
    m.unit = m.error_stream ? 17 : 6;
    m.checking = true;
    m.protocol = true;
}

void reset_noch() { state().msg.checking = true; }

void reset_unit() {
    MessageState& m = state().msg;
    m.stream = m.error_stream;
    m.unit = m.error_stream ? 17 : 6;
}

void reset_window() { state().out.window_mode = 0; }
void reset_winmod() { state().out.wait_mode = 0; }

struct CoreRegistration {
    CoreRegistration() {
        register_defaults(0, run_defaults);
        register_reset("NOCH", reset_noch);
        register_reset("UNIT", reset_unit);
        register_reset("WIND", reset_window);
        register_reset("WINS", reset_window);
        register_reset("WINM", reset_winmod);
    }
} core_registration;

}  // namespace

void register_defaults(int order, DefaultsFn fn) {
    auto& v = defaults_list();
    v.push_back({order, fn});
    std::stable_sort(v.begin(), v.end(),
                     [](const DefaultsEntry& a, const DefaultsEntry& b) { return a.order < b.order; });
}

void register_reset(const char* key, DefaultsFn fn) {
    int i = reset_index(key);
    if (i >= 0) reset_list(i).push_back(fn);
}

namespace {
std::vector<DefaultsFn>& endgrf_list() {
    static std::vector<DefaultsFn> v;
    return v;
}
}  // namespace

void register_endgrf(DefaultsFn fn) { endgrf_list().push_back(fn); }

void run_endgrf_hooks() {
    for (DefaultsFn fn : endgrf_list()) fn();
}

void set_default_parameters() {
    for (const DefaultsEntry& e : defaults_list()) e.fn();
}

// Runs the handlers of one reset key; false when the key is unknown.
bool run_reset(const char* key4) {
    int i = reset_index(key4);
    if (i < 0) return false;
    if (i == 0) {
        set_default_parameters();
        return true;
    }
    for (DefaultsFn fn : reset_list(i)) fn();
    return true;
}

}  // namespace korval
