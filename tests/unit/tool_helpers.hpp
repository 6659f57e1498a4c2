// Helpers of the unit tests that run the real validators.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace korval {

// A fresh directory under the build tree, removed at the end of the test.
class TempDir {
public:
    TempDir() {
        char tmpl[] = "korval-test-XXXXXX";
        const char* d = mkdtemp(tmpl);
        dir_ = d ? d : ".";
    }
    ~TempDir() {
        if (dir_ != ".") std::system(("rm -rf '" + dir_ + "'").c_str());
    }
    std::string path(const std::string& name) const { return dir_ + "/" + name; }

private:
    std::string dir_;
};

inline bool have_tool(const std::string& name) {
    return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a command; its standard output.
inline std::string tool_output(const std::string& cmd) {
    std::string out;
    if (FILE* p = popen(cmd.c_str(), "r")) {
        char buf[4096];
        std::size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
        pclose(p);
    }
    return out;
}

// Runs a command and returns its exit status together with its output.
inline int tool_status(const std::string& cmd, std::string& output) {
    output.clear();
    FILE* p = popen((cmd + " 2>&1").c_str(), "r");
    if (!p) return -1;
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) output.append(buf, n);
    int st = pclose(p);
    return WIFEXITED(st) ? WEXITSTATUS(st) : -1;
}

}  // namespace korval

#define EXPECT_TOOL_OK(cmd)                                                                          \
    do {                                                                                             \
        std::string tool_out_;                                                                       \
        std::string tool_cmd_ = (cmd);                                                               \
        EXPECT_EQ(::korval::tool_status(tool_cmd_, tool_out_), 0) << tool_cmd_ << "\n" << tool_out_; \
    } while (0)
