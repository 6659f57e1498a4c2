// Benchmark: curve with a million points (linear interpolation), a hundred
// thousand symbols and a spline of ten thousand points, as PostScript.
//
//   korval_bench_curves [points] [output directory]
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "korval/korval.hpp"

using namespace korval;

namespace {

double seconds_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void open_plot(const std::string& file) {
    metafl("PS");
    setfil(file.c_str());
    filmod("DELE");
    korini();
    errmod("PROT", "OFF");
    graf(0, 1000, 0, 100, -1.5, 1.5, -1.5, 0.5);
}

}  // namespace

int main(int argc, char** argv) {
    int n = argc > 1 ? std::atoi(argv[1]) : 1000000;
    std::string dir = argc > 2 ? argv[2] : ".";
    std::vector<float> x((std::size_t)n), y((std::size_t)n);
    for (int i = 0; i < n; ++i) {
        x[(std::size_t)i] = 1000.0f * i / n;
        y[(std::size_t)i] = (float)std::sin(i * 0.001);
    }

    open_plot(dir + "/bench_curve.ps");
    auto t0 = std::chrono::steady_clock::now();
    curve(x.data(), y.data(), n);
    double t_curve = seconds_since(t0);
    korfin();

    const int ns = 100000;
    open_plot(dir + "/bench_symbols.ps");
    incmrk(-1);
    marker(15);
    t0 = std::chrono::steady_clock::now();
    curve(x.data(), y.data(), std::min(n, ns));
    double t_symbols = seconds_since(t0);
    korfin();

    // A spline of 10,000 samples through the largest point count the
    // collocation limit allows for cubic splines (142 points).
    const int np = 142;
    std::vector<float> sx(np), sy(np), out_x(10001), out_y(10001);
    for (int i = 0; i < np; ++i) {
        sx[(std::size_t)i] = (float)i;
        sy[(std::size_t)i] = (float)std::sin(i * 0.2);
    }
    metafl("PS");
    setfil((dir + "/bench_spline.ps").c_str());
    filmod("DELE");
    korini();
    errmod("PROT", "OFF");
    splmod(3, 10000);
    t0 = std::chrono::steady_clock::now();
    int count = spline(sx.data(), sy.data(), np, out_x.data(), out_y.data());
    double t_spline = seconds_since(t0);
    korfin();

    std::printf("curve, %d points, LINE:    %.3f s\n", n, t_curve);
    std::printf("curve, %d symbols:         %.3f s\n", std::min(n, ns), t_symbols);
    std::printf("spline, %d points:          %.3f ms\n", count, t_spline * 1000);
    return 0;
}
