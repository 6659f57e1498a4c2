// The platform layer without a window system toolkit.
#include <spawn.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "platform/platform.hpp"

extern char** environ;

namespace korval::platform {

bool display_available() {
#ifdef KORVAL_HAVE_GTK
    const char* d = std::getenv("DISPLAY");
    const char* w = std::getenv("WAYLAND_DISPLAY");
    return (d && *d) || (w && *w);
#else
    return false;
#endif
}

void message_box(const char* title, const char* text) {
    std::fflush(stdout);
    std::fprintf(stderr, "%s\n%s\n", title ? title : "", text ? text : "");
    std::fflush(stderr);
}

static std::string trim(const std::string& s) {
    std::size_t a = s.find_first_not_of(" \t\r");
    if (a == std::string::npos) return "";
    std::size_t b = s.find_last_not_of(" \t\r");
    return s.substr(a, b - a + 1);
}

bool registry_read(const char* key, const char* name, std::string& value) {
    const char* path = std::getenv("KORVAL_REGISTRY");
    if (!path || !*path) path = "/etc/korval/registry";
    std::ifstream in(path);
    if (!in) return false;
    std::string line, section;
    while (std::getline(in, line)) {
        line = trim(line);
        if (line.empty() || line[0] == '#' || line[0] == ';') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = trim(line.substr(1, line.size() - 2));
            continue;
        }
        std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        if (section == key && trim(line.substr(0, eq)) == name) {
            value = trim(line.substr(eq + 1));
            return true;
        }
    }
    return false;
}

int run_command(const std::string& command) {
    std::fflush(nullptr);
    pid_t pid;
    const char* argv[] = {"sh", "-c", command.c_str(), nullptr};
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char* const*>(argv), environ) != 0)
        return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) < 0) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace korval::platform
