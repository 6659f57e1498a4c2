// Binary files on numbered units (0..99) for scripts: open, close, read,
// write and position.  The units belong to the process and outlive plots.
#include <cstdio>

#include "core/core.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

constexpr int kUnits = 100;

struct Unit {
    std::FILE* stream = nullptr;
    int mode = 0;  // 0 free, otherwise the open mode + 1
};

Unit file_units[kUnits];

// The open stream of a unit; nullptr for a unit outside 0..99 or not open.
std::FILE* stream_of(int nlu) { return nlu >= 0 && nlu < kUnits ? file_units[nlu].stream : nullptr; }

}  // namespace

int openfl(const char* cfile, int nlu, int irw) {
    if (check_level(0, 3, "openfl")) return 1;
    if (nlu < 0 || nlu >= kUnits) return warn_routine_value(2, nlu), -1;
    if (irw < 0 || irw > 2) return warn_routine_value(2, irw), -1;
    Unit& u = file_units[nlu];
    if (u.mode != 0) return 2;
    static const char* const modes[3] = {"rb", "wb", "ab"};
    std::FILE* f = std::fopen(cfile ? cfile : "", modes[irw]);
    if (!f) return 1;
    u.stream = f;
    u.mode = irw + 1;
    return 0;
}

int closfl(int nlu) {
    if (check_level(0, 3, "closfl")) return 1;
    if (nlu < 0 || nlu >= kUnits) return warn_routine_value(2, nlu), -1;
    Unit& u = file_units[nlu];
    if (u.stream) std::fclose(u.stream);
    u = Unit{};
    return 0;
}

// A unit that is not open, or a negative count, gives -1 as well: there is
// no stream to transfer with.
int readfl(int nlu, unsigned char* buffer, int nbyte) {
    std::FILE* f = stream_of(nlu);
    if (!f || nbyte < 0) return -1;
    return (int)std::fread(buffer, 1, (std::size_t)nbyte, f);
}

int writfl(int nlu, const unsigned char* buffer, int nbyte) {
    std::FILE* f = stream_of(nlu);
    if (!f || nbyte < 0) return -1;
    int n = (int)std::fwrite(buffer, 1, (std::size_t)nbyte, f);
    std::fflush(f);
    return n;
}

int skipfl(int nlu, int nbyte) {
    std::FILE* f = stream_of(nlu);
    if (!f) return -1;
    return std::fseek(f, nbyte, SEEK_CUR);
}

int posifl(int nlu, int npos) {
    std::FILE* f = stream_of(nlu);
    if (!f) return -1;
    return std::fseek(f, npos, SEEK_SET);
}

int tellfl(int nlu) {
    std::FILE* f = stream_of(nlu);
    if (!f) return -1;
    return (int)std::ftell(f);
}

}  // namespace korval
