// Reading back what a test captured in a temporary file (the message
// stream pointed at std::tmpfile()).
#pragma once

#include <cstdio>
#include <string>

namespace korval {

// Everything written to f so far; f stays open, positioned at its end.
inline std::string read_all(std::FILE* f) {
    std::fflush(f);
    std::rewind(f);
    std::string s;
    char buf[512];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
    return s;
}

}  // namespace korval
