// The raster picture in memory: the drawing surface of the raster formats,
// the pixel routines and the images embedded in PostScript and PDF.
//
// One byte per pixel (a colour index) or three (red, green, blue); rows are
// padded to a multiple of 4 bytes, row 0 at the top.  Lines and rectangles
// are rendered here directly into the memory: horizontal runs are filled
// with memset / a byte pattern, other lines stepped along the longer axis,
// with no call per pixel.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace korval {

class Picture {
public:
    // Allocates a w by h picture of 1 or 3 bytes per pixel, every byte set
    // to fill.  False (and an empty picture) when the size is bad or memory
    // is lacking.
    bool create(int w, int h, int bytes_per_pixel, std::uint8_t fill);
    void release();
    bool empty() const { return pixels_.empty(); }

    int width() const { return w_; }
    int height() const { return h_; }
    int bytes_per_pixel() const { return bpp_; }
    bool rgb() const { return bpp_ == 3; }
    // Bytes per row, padded to a multiple of 4.
    int stride() const { return stride_; }
    std::uint8_t* row(int y) { return pixels_.data() + (std::size_t)y * stride_; }
    const std::uint8_t* row(int y) const { return pixels_.data() + (std::size_t)y * stride_; }
    std::uint8_t* data() { return pixels_.data(); }
    const std::uint8_t* data() const { return pixels_.data(); }
    std::size_t size_bytes() const { return pixels_.size(); }

    // The clipping rectangle, inclusive, limited to the picture.
    void set_clip(int x0, int y0, int x1, int y1);
    void reset_clip();
    int clip_x0() const { return cx0_; }
    int clip_y0() const { return cy0_; }
    int clip_x1() const { return cx1_; }
    int clip_y1() const { return cy1_; }

    // The drawing value: a colour index (1 byte per pixel) or 0xRRGGBB.
    // Both ends of a line are set; pixels outside the clipping rectangle
    // are left alone.
    void line(int x0, int y0, int x1, int y1, std::uint32_t value);
    void fill_rect(int x0, int y0, int x1, int y1, std::uint32_t value);
    // One pixel inside the picture (no clipping rectangle); ignored outside.
    void set(int x, int y, std::uint32_t value);
    // The value at (x, y); 0 outside.
    std::uint32_t get(int x, int y) const;
    // Sets every pixel (clipping rectangle ignored).
    void clear(std::uint32_t value);

private:
    template <int B>
    void line_t(int x0, int y0, int x1, int y1, std::uint32_t value);
    template <int B>
    void hrun(int y, int xa, int xb, std::uint32_t value);

    int w_ = 0, h_ = 0, bpp_ = 1, stride_ = 0;
    int cx0_ = 0, cy0_ = 0, cx1_ = -1, cy1_ = -1;
    std::vector<std::uint8_t> pixels_;
};

}  // namespace korval
