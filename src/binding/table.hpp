// The routine table: one row per user routine.
#pragma once

#include <string>
#include <vector>

namespace korval::binding {

using Xsub = void (*)();  // the XSUB, type-erased (see wrap.hpp)

struct Row {
    const char* name;   // routine name, e.g. "getpag"
    const char* usage;  // "Usage: Korval::getpag(i1, i2)"
    void (*fn)();       // the library routine, type-erased
    Xsub xsub;          // the wrapper that converts for fn's signature
    const char* sizes;  // array sizes, e.g. "x1ray=n x2ray=n" (arrays only)
    std::vector<std::string> args;  // argument names parsed from the usage
};

// Adds rows to the table (called by static registration objects).
void add_rows(std::vector<Row> rows);
// All rows registered so far.
const std::vector<Row>& rows();

}  // namespace korval::binding
