// File names with version numbers.
#include <cstdio>
#include <string>

#include "core/core.hpp"
#include "devices/devices.hpp"

namespace korval {

namespace {

bool can_open(const std::string& name) {
    std::FILE* f = std::fopen(name.c_str(), "r");
    if (!f) return false;
    std::fclose(f);
    return true;
}

}  // namespace

std::string versioned_candidate(const std::string& name, int n) {
    // The base name starts after the last path separator; the extension at
    // the last dot after it.  Without a dot, trailing blanks are dropped.
    std::size_t sep = name.find_last_of("/\\");
    std::size_t base_at = sep == std::string::npos ? 0 : sep + 1;
    std::string dir = name.substr(0, base_at);
    std::string rest = name.substr(base_at);
    std::string base, ext;
    std::size_t dot = rest.find_last_of('.');
    if (dot == std::string::npos) {
        base = rest;
        while (!base.empty() && base.back() == ' ') base.pop_back();
    } else {
        base = rest.substr(0, dot);
        ext = rest.substr(dot);
    }
    std::string suffix = "_" + std::to_string(n);
    std::size_t keep = suffix.size() < 8 ? 8 - suffix.size() : 0;
    if (base.size() > keep) base.resize(keep);
    return dir + base + suffix + ext;
}

std::string version_file_name(const std::string& name) {
    if (!can_open(name)) return name;
    switch (state().out.file_mode) {
        case 1:
            std::remove(name.c_str());
            return name;
        case 2:
            fatal_error("File " + name + " does exist");
        default:
            break;
    }
    for (int n = 1; n <= 9999; ++n) {
        std::string candidate = versioned_candidate(name, n);
        if (!can_open(candidate)) return candidate;
    }
    fatal_error("More than 9999 file versions!");
}

}  // namespace korval
