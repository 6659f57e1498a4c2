// Benchmark: a polyline of one million points drawn with `line` (one call
// per segment, as scripts draw) and with plot_draw, written as PostScript.
//
//   korval_bench [points] [output directory]
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/core.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"

using namespace korval;

static double run(const std::string& file, int n, bool per_segment) {
    metafl("PS");
    setfil(file.c_str());
    filmod("DELE");
    auto t0 = std::chrono::steady_clock::now();
    korini();
    errmod("PROT", "OFF");
    auto px = [](int i) { return 100 + (i % 2700); };
    auto py = [](int i) { return 1000 + (int)(800 * std::sin(i * 0.001)); };
    if (per_segment) {
        for (int i = 1; i < n; ++i) line(px(i - 1), py(i - 1), px(i), py(i));
    } else {
        plot_move((float)px(0), (float)py(0));
        for (int i = 1; i < n; ++i) plot_draw((float)px(i), (float)py(i));
    }
    korfin();
    auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double>(t1 - t0).count();
}

int main(int argc, char** argv) {
    int n = argc > 1 ? std::atoi(argv[1]) : 1000000;
    std::string dir = argc > 2 ? argv[2] : ".";
    double a = run(dir + "/bench_line.ps", n, true);
    double b = run(dir + "/bench_draw.ps", n, false);
    std::printf("%d points with line:      %.3f s\n", n, a);
    std::printf("%d points with plot_draw: %.3f s\n", n, b);
    return 0;
}
