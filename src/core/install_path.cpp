// The installation directory: environment, registry stand-in, default.
#include <cstdlib>
#include <cstring>

#include "core/core.hpp"
#include "platform/platform.hpp"

namespace korval {

std::string get_install_path(const char* name) {
    if (!name) return "";
    if (const char* v = std::getenv(name)) return v;  // set but empty gives ""
    if (std::strcmp(name, "KORVAL") != 0) return "";
    std::string path;
    if (platform::registry_read("SOFTWARE\\Korval", "Path", path)) {
        if (path.size() > 131) path.resize(131);  // the registry value holds 132 bytes
        return path;
    }
    return "/usr/local/korval";
}

}  // namespace korval
