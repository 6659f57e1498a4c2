// Small types shared by the public interface and the Perl binding.
#pragma once

#include <cstddef>

namespace korval {

// A string output argument: the routine writes a NUL-terminated text of at
// most N - 1 characters into buf.
template <std::size_t N>
struct OutString {
    char* buf;
    static constexpr std::size_t size = N;
};

}  // namespace korval
