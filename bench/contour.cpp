// Benchmark: contour lines of a 500 x 500 matrix at 20 levels (with and
// without labels), shaded contours of the same matrix, and the Delaunay
// triangulation of 10,000 random points, as PostScript.
//
//   korval_bench_contour [grid size] [output directory]
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
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
    graf(-3, 3, -3, 1, -3, 3, -3, 1);
}

}  // namespace

int main(int argc, char** argv) {
    int n = argc > 1 ? std::atoi(argv[1]) : 500;
    if (n < 2) n = 2;
    std::string dir = argc > 2 ? argv[2] : ".";
    std::vector<float> x((std::size_t)n), y((std::size_t)n), z((std::size_t)n * n);
    for (int i = 0; i < n; ++i) x[(std::size_t)i] = y[(std::size_t)i] = -3.0f + 6.0f * i / (n - 1);
    float zmin = 1e30f, zmax = -1e30f;
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            double a = x[(std::size_t)i], b = y[(std::size_t)j];
            float v =
                (float)(std::sin(2 * a) * std::cos(1.5 * b) + 0.5 * std::exp(-(a * a + b * b)) + 0.1 * a);
            z[(std::size_t)i * n + j] = v;
            zmin = std::min(zmin, v), zmax = std::max(zmax, v);
        }
    const int nlev = 20;
    std::vector<float> lev(nlev);
    for (int k = 0; k < nlev; ++k) lev[(std::size_t)k] = zmin + (zmax - zmin) * (k + 0.5f) / nlev;

    auto t0 = std::chrono::steady_clock::now();
    open_plot(dir + "/bench_contour.ps");
    for (float v : lev) contur(x.data(), n, y.data(), n, z.data(), v);
    korfin();
    double t_plain = seconds_since(t0);

    t0 = std::chrono::steady_clock::now();
    open_plot(dir + "/bench_contour_labels.ps");
    labels("FLOA", "CONT");
    for (float v : lev) contur(x.data(), n, y.data(), n, z.data(), v);
    korfin();
    double t_labels = seconds_since(t0);

    t0 = std::chrono::steady_clock::now();
    open_plot(dir + "/bench_conshd.ps");
    conshd(x.data(), n, y.data(), n, z.data(), lev.data(), nlev);
    korfin();
    double t_shade = seconds_since(t0);

    const int np = 10000;
    std::mt19937 rng(1);
    std::uniform_real_distribution<float> u(-3, 3);
    std::vector<float> px(np + 3), py(np + 3);
    for (int i = 0; i < np; ++i) px[(std::size_t)i] = u(rng), py[(std::size_t)i] = u(rng);
    std::vector<int> i1(2 * np + 1), i2(2 * np + 1), i3(2 * np + 1);
    t0 = std::chrono::steady_clock::now();
    int ntri = triang(px.data(), py.data(), np, i1.data(), i2.data(), i3.data(), 2 * np + 1);
    double t_tri = seconds_since(t0);

    std::printf("contur, %dx%d, %d levels, PostScript:          %.3f s\n", n, n, nlev, t_plain);
    std::printf("contur, %dx%d, %d levels, labels, PostScript:  %.3f s\n", n, n, nlev, t_labels);
    std::printf("conshd, %dx%d, %d levels, PostScript:          %.3f s\n", n, n, nlev, t_shade);
    std::printf("triang, %d points (%d triangles):             %.3f s\n", np, ntri, t_tri);
    return 0;
}
