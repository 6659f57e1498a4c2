#include "devices/raster.hpp"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>

namespace korval {

namespace {

// Larger pictures than this are refused: the own picture format keeps each
// size in five digits.
constexpr int kMaxSide = 99999;

}  // namespace

bool Picture::create(int w, int h, int bytes_per_pixel, std::uint8_t fill) {
    release();
    if (w < 1 || h < 1 || w > kMaxSide || h > kMaxSide) return false;
    if (bytes_per_pixel != 1 && bytes_per_pixel != 3) return false;
    std::size_t stride = ((std::size_t)w * bytes_per_pixel + 3) / 4 * 4;
    try {
        pixels_.assign(stride * (std::size_t)h, fill);
    } catch (const std::bad_alloc&) {
        pixels_.clear();
        return false;
    }
    w_ = w;
    h_ = h;
    bpp_ = bytes_per_pixel;
    stride_ = (int)stride;
    reset_clip();
    return true;
}

void Picture::release() {
    std::vector<std::uint8_t>().swap(pixels_);
    w_ = h_ = stride_ = 0;
    cx0_ = cy0_ = 0;
    cx1_ = cy1_ = -1;
}

void Picture::reset_clip() {
    cx0_ = 0;
    cy0_ = 0;
    cx1_ = w_ - 1;
    cy1_ = h_ - 1;
}

void Picture::set_clip(int x0, int y0, int x1, int y1) {
    if (x0 > x1) std::swap(x0, x1);
    if (y0 > y1) std::swap(y0, y1);
    cx0_ = std::max(x0, 0);
    cy0_ = std::max(y0, 0);
    cx1_ = std::min(x1, w_ - 1);
    cy1_ = std::min(y1, h_ - 1);
}

template <int B>
void Picture::hrun(int y, int xa, int xb, std::uint32_t value) {
    if (xa > xb) std::swap(xa, xb);
    if (y < cy0_ || y > cy1_) return;
    xa = std::max(xa, cx0_);
    xb = std::min(xb, cx1_);
    if (xa > xb) return;
    std::uint8_t* p = row(y) + (std::size_t)xa * B;
    if constexpr (B == 1) {
        std::memset(p, (int)(value & 0xff), (std::size_t)(xb - xa + 1));
    } else {
        const std::uint8_t r = (std::uint8_t)(value >> 16), g = (std::uint8_t)(value >> 8),
                           b = (std::uint8_t)value;
        for (int x = xa; x <= xb; ++x, p += 3) p[0] = r, p[1] = g, p[2] = b;
    }
}

template <int B>
void Picture::line_t(int x0, int y0, int x1, int y1, std::uint32_t value) {
    if (y0 == y1) {
        hrun<B>(y0, x0, x1, value);
        return;
    }
    // Trivial rejection against the clipping rectangle.
    if ((x0 < cx0_ && x1 < cx0_) || (x0 > cx1_ && x1 > cx1_) || (y0 < cy0_ && y1 < cy0_) ||
        (y0 > cy1_ && y1 > cy1_))
        return;
    const std::uint8_t v0 = (std::uint8_t)(B == 1 ? value : value >> 16);
    const std::uint8_t v1 = (std::uint8_t)(value >> 8), v2 = (std::uint8_t)value;
    long dx = std::labs((long)x1 - x0), dy = std::labs((long)y1 - y0);
    int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
    const long stride = stride_;
    auto put = [&](int x, int y) {
        if (x < cx0_ || x > cx1_ || y < cy0_ || y > cy1_) return;
        std::uint8_t* p = pixels_.data() + (std::size_t)y * stride + (std::size_t)x * B;
        p[0] = v0;
        if constexpr (B == 3) p[1] = v1, p[2] = v2;
    };
    if (dx == 0) {
        // Vertical: step the row pointer.
        int ya = std::max(std::min(y0, y1), cy0_), yb = std::min(std::max(y0, y1), cy1_);
        if (x0 < cx0_ || x0 > cx1_) return;
        std::uint8_t* p = pixels_.data() + (std::size_t)ya * stride + (std::size_t)x0 * B;
        for (int y = ya; y <= yb; ++y, p += stride) {
            p[0] = v0;
            if constexpr (B == 3) p[1] = v1, p[2] = v2;
        }
        return;
    }
    if (dx >= dy) {
        // x-major: collect the pixels of one row into a run.
        long err = dx / 2;
        int x = x0, y = y0, run_start = x0;
        for (long i = 0; i < dx; ++i) {
            err -= dy;
            if (err < 0) {
                hrun<B>(y, run_start, x, value);
                y += sy;
                err += dx;
                run_start = x + sx;
            }
            x += sx;
        }
        hrun<B>(y, run_start, x, value);
    } else {
        long err = dy / 2;
        int x = x0, y = y0;
        for (long i = 0; i <= dy; ++i) {
            put(x, y);
            err -= dx;
            if (err < 0) {
                x += sx;
                err += dy;
            }
            y += sy;
        }
    }
}

void Picture::line(int x0, int y0, int x1, int y1, std::uint32_t value) {
    if (pixels_.empty()) return;
    // Far-away ends (a bad mapping, a huge value) are first cut to a box
    // around the picture so that the stepping loop stays short.
    constexpr int kFar = 1 << 17;
    if (std::abs(x0) > kFar || std::abs(x1) > kFar || std::abs(y0) > kFar || std::abs(y1) > kFar) {
        double ax = x0, ay = y0, bx = x1, by = y1;
        double t0 = 0, t1 = 1;
        const double lo[2] = {-2.0, -2.0}, hi[2] = {w_ + 1.0, h_ + 1.0};
        const double p0[2] = {ax, ay}, d[2] = {bx - ax, by - ay};
        for (int k = 0; k < 2; ++k) {
            if (d[k] == 0) {
                if (p0[k] < lo[k] || p0[k] > hi[k]) return;
                continue;
            }
            double ta = (lo[k] - p0[k]) / d[k], tb = (hi[k] - p0[k]) / d[k];
            if (ta > tb) std::swap(ta, tb);
            t0 = std::max(t0, ta);
            t1 = std::min(t1, tb);
        }
        if (t0 > t1) return;
        x0 = (int)std::lround(ax + t0 * d[0]);
        y0 = (int)std::lround(ay + t0 * d[1]);
        x1 = (int)std::lround(ax + t1 * d[0]);
        y1 = (int)std::lround(ay + t1 * d[1]);
    }
    if (bpp_ == 1)
        line_t<1>(x0, y0, x1, y1, value);
    else
        line_t<3>(x0, y0, x1, y1, value);
}

void Picture::fill_rect(int x0, int y0, int x1, int y1, std::uint32_t value) {
    if (pixels_.empty()) return;
    if (y0 > y1) std::swap(y0, y1);
    y0 = std::max(y0, cy0_);
    y1 = std::min(y1, cy1_);
    for (int y = y0; y <= y1; ++y) {
        if (bpp_ == 1)
            hrun<1>(y, x0, x1, value);
        else
            hrun<3>(y, x0, x1, value);
    }
}

void Picture::set(int x, int y, std::uint32_t value) {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
    std::uint8_t* p = row(y) + (std::size_t)x * bpp_;
    if (bpp_ == 1) {
        p[0] = (std::uint8_t)value;
    } else {
        p[0] = (std::uint8_t)(value >> 16);
        p[1] = (std::uint8_t)(value >> 8);
        p[2] = (std::uint8_t)value;
    }
}

std::uint32_t Picture::get(int x, int y) const {
    if (x < 0 || y < 0 || x >= w_ || y >= h_) return 0;
    const std::uint8_t* p = row(y) + (std::size_t)x * bpp_;
    if (bpp_ == 1) return p[0];
    return (std::uint32_t)p[0] << 16 | (std::uint32_t)p[1] << 8 | p[2];
}

void Picture::clear(std::uint32_t value) {
    if (pixels_.empty()) return;
    if (bpp_ == 1 || ((value & 0xff) == ((value >> 8) & 0xff) && (value & 0xff) == ((value >> 16) & 0xff))) {
        std::memset(pixels_.data(), (int)(value & 0xff), pixels_.size());
        return;
    }
    int save[4] = {cx0_, cy0_, cx1_, cy1_};
    reset_clip();
    fill_rect(0, 0, w_ - 1, h_ - 1, value);
    cx0_ = save[0], cy0_ = save[1], cx1_ = save[2], cy1_ = save[3];
}

}  // namespace korval
