// The depth buffer of the raster picture and its scan conversion.
#include "devices/raster_zbuffer.hpp"

#include <algorithm>
#include <cmath>
#include <new>

#include "core/core.hpp"
#include "devices/raster_io.hpp"

namespace korval {

namespace {

constexpr float kTolerance = 0.001f;

inline bool depth_test_and_set(std::vector<float>& depth, int w, int x, int y, float d) {
    float& stored = depth[(std::size_t)y * (std::size_t)w + (std::size_t)x];
    if (d > stored + kTolerance) return false;
    stored = d;
    return true;
}

}  // namespace

bool zbuffer_create() {
    RasterState& r = state().raster;
    if (r.picture.empty()) return false;
    try {
        r.depth.assign((std::size_t)r.picture.width() * (std::size_t)r.picture.height(), 2.0f);
    } catch (const std::bad_alloc&) {
        r.depth.clear();
        return false;
    }
    return true;
}

void zbuffer_release() { std::vector<float>().swap(state().raster.depth); }

bool zbuffer_exists() {
    const RasterState& r = state().raster;
    return !r.picture.empty() &&
           r.depth.size() == (std::size_t)r.picture.width() * (std::size_t)r.picture.height() &&
           !r.depth.empty();
}

void plot_to_pixel(float x, float y, float& px, float& py) {
    const OutputState& o = state().out;
    float f = o.device_factor > 0 ? o.device_factor : 1.0f;
    x += (float)state().pipeline.shift_x;
    y += (float)state().pipeline.shift_y;
    if (o.page_rotation == 1) {
        px = y * f;
        py = ((float)o.nxp - x) * f;
    } else {
        px = x * f;
        py = y * f;
    }
}

void zbuffer_triangle(const float* px, const float* py, const float* depth, const int* colour) {
    if (!zbuffer_exists()) return;
    RasterState& r = state().raster;
    Picture& pic = r.picture;
    const int w = pic.width();
    // Vertices at pixel centres (rounded positions).
    double X[3], Y[3];
    for (int i = 0; i < 3; ++i) {
        X[i] = std::floor(px[i] + 0.5f);
        Y[i] = std::floor(py[i] + 0.5f);
    }
    double area = (X[1] - X[0]) * (Y[2] - Y[0]) - (X[2] - X[0]) * (Y[1] - Y[0]);
    int x0 = (int)std::max<double>(pic.clip_x0(), std::min({X[0], X[1], X[2]}));
    int x1 = (int)std::min<double>(pic.clip_x1(), std::max({X[0], X[1], X[2]}));
    int y0 = (int)std::max<double>(pic.clip_y0(), std::min({Y[0], Y[1], Y[2]}));
    int y1 = (int)std::min<double>(pic.clip_y1(), std::max({Y[0], Y[1], Y[2]}));
    if (x0 > x1 || y0 > y1) return;
    if (std::fabs(area) < 1e-9) {
        // A degenerate triangle: its longest edge as a line.
        int k = 0;
        double best = -1;
        for (int i = 0; i < 3; ++i) {
            int j = (i + 1) % 3;
            double l = std::fabs(X[j] - X[i]) + std::fabs(Y[j] - Y[i]);
            if (l > best) best = l, k = i;
        }
        int j = (k + 1) % 3;
        zbuffer_line((float)X[k], (float)Y[k], depth[k], (float)X[j], (float)Y[j], depth[j], colour[k]);
        return;
    }
    // Barycentric weights by edge functions, evaluated at pixel centres;
    // pixels on an edge belong to the triangle (neighbours overlap by the
    // tolerance of the depth test rather than leave gaps).
    const double inv = 1.0 / area;
    for (int y = y0; y <= y1; ++y) {
        for (int x = x0; x <= x1; ++x) {
            double w0 = ((X[1] - x) * (Y[2] - y) - (X[2] - x) * (Y[1] - y)) * inv;
            double w1 = ((X[2] - x) * (Y[0] - y) - (X[0] - x) * (Y[2] - y)) * inv;
            double w2 = 1.0 - w0 - w1;
            const double eps = -1e-9;
            if (w0 < eps || w1 < eps || w2 < eps) continue;
            float d = (float)(w0 * depth[0] + w1 * depth[1] + w2 * depth[2]);
            if (!depth_test_and_set(r.depth, w, x, y, d)) continue;
            int c = (int)std::lround(w0 * colour[0] + w1 * colour[1] + w2 * colour[2]);
            pic.set(x, y, picture_value(pic, std::clamp(c, 0, 255)));
        }
    }
}

void zbuffer_line(float x0, float y0, float d0, float x1, float y1, float d1, int colour) {
    if (!zbuffer_exists()) return;
    RasterState& r = state().raster;
    Picture& pic = r.picture;
    const int w = pic.width();
    const std::uint32_t value = picture_value(pic, colour);
    int ax = (int)std::floor(x0 + 0.5f), ay = (int)std::floor(y0 + 0.5f);
    int bx = (int)std::floor(x1 + 0.5f), by = (int)std::floor(y1 + 0.5f);
    int n = std::max(std::abs(bx - ax), std::abs(by - ay));
    for (int i = 0; i <= n; ++i) {
        double t = n ? (double)i / n : 0.0;
        int x = (int)std::lround(ax + (bx - ax) * t), y = (int)std::lround(ay + (by - ay) * t);
        if (x < pic.clip_x0() || x > pic.clip_x1() || y < pic.clip_y0() || y > pic.clip_y1()) continue;
        float d = (float)(d0 + (d1 - d0) * t);
        if (depth_test_and_set(r.depth, w, x, y, d)) pic.set(x, y, value);
    }
}

}  // namespace korval
