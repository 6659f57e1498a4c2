// The SVG 1.0 writer: header, line and text groups, line and polyline
// elements of at most 50 points, filled rectangles and polygons, text.
//
// Coordinates are device pixels (y downwards) as floats.
#pragma once

#include <cstdint>
#include <string>

#include "devices/sink.hpp"

namespace korval {

class SvgWriter {
public:
    // Opens the file and writes the header; false when it cannot be opened.
    // An empty name writes into memory (tests).
    bool start(const std::string& name, int width, int height, bool background, const std::string& date,
               const std::string& time);
    // The same on a sink that is already open (a device's file).
    bool start(Sink* sink, int width, int height, bool background, const std::string& date,
               const std::string& time);
    bool started() const { return started_; }

    void move(double x, double y);
    void draw(double x, double y);
    // Writes the pending points, keeping the last one for continuation.
    void flush();
    void colour(std::uint32_t rgb);
    void line_width(double w);
    // A filled rectangle from (x, y), width and height already enlarged.
    void fill_rect(double x, double y, double w, double h, std::uint32_t rgb);
    void polygon(const double* xs, const double* ys, int n, std::uint32_t rgb);
    // One character of hardware font font (0..34), size in pixels.
    void character(int code, double x, double y, int angle, int font, int size);
    // The text size changed: the next character opens a new text group.
    void close_text_group();
    // Ends the document and closes the file; false on a write error.
    bool end();

    const std::vector<char>& memory() const { return sink_->data(); }

private:
    void write_points(const double* xs, const double* ys, int n);
    void close_group();
    void open_line_group();
    void out(const char* p, std::size_t n) { sink_->write(p, n); }
    void out(const char* s);

    bool started_ = false;
    Sink own_;
    Sink* sink_ = &own_;
    int group_ = 0;  // 0 none, 1 line group, 2 text group
    int group_font_ = -1, group_size_ = -1;
    std::uint32_t stroke_ = 0xffffff, fill_ = 0xffffff;
    double width_ = 1.0;
    static constexpr int kPoints = 50;
    double xs_[kPoints], ys_[kPoints];
    int count_ = 0;
    bool has_last_ = false;
    double last_x_ = 0, last_y_ = 0;
};

}  // namespace korval
