// Benchmark (korval_bench_outputs) of the picture and document writers: a PNG of the default
// picture, and a curve of a million points written as compressed PDF, as
// SVG and as PNG.  Prints the library time of each in milliseconds.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "core/core.hpp"
#include "devices/devices.hpp"
#include "draw/draw.hpp"
#include "korval/korval.hpp"

using namespace korval;

namespace {

double ms_since(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

// One plot: korini, n points of a wavy curve across the page, korfin.
double run(const char* format, long n, const char* file) {
    metafl(format);
    setfil(file);
    filmod("DELE");
    auto t0 = std::chrono::steady_clock::now();
    korini();
    errmod("PROT", "OFF");
    for (long i = 0; i < n; ++i) {
        float x = 50.0f + 2800.0f * (float)i / (float)(n > 1 ? n - 1 : 1);
        float y = 1050.0f + 900.0f * std::sin((float)i * 0.01f) * std::cos((float)i * 0.0007f);
        if (i == 0)
            plot_move(x, y);
        else
            plot_draw(x, y);
    }
    korfin();
    return ms_since(t0);
}

}  // namespace

int main(int argc, char** argv) {
    long n = argc > 1 ? std::atol(argv[1]) : 1000000;
    std::printf("PNG 853x603, border only: %8.1f ms\n", run("PNG", 2, "bench.png"));
    std::printf("PNG, %ld points:     %8.1f ms\n", n, run("PNG", n, "bench_curve.png"));
    std::printf("PDF compressed, %ld points: %8.1f ms\n", n, run("PDF", n, "bench.pdf"));
    pdfmod("OFF", "COMP");
    std::printf("PDF uncompressed, %ld points: %8.1f ms\n", n, run("PDF", n, "bench_raw.pdf"));
    pdfmod("ON", "COMP");
    std::printf("SVG, %ld points:     %8.1f ms\n", n, run("SVG", n, "bench.svg"));
    return 0;
}
