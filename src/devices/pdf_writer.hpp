// The PDF 1.3 writer: objects, content streams (deflated when compression
// is on), pages, base-14 fonts, RGB images, the cross-reference table.
//
// Coordinates and lengths are PDF points.  The document goes to a file or
// into a memory buffer that the script fetches afterwards.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "devices/sink.hpp"

namespace korval {

class PdfWriter {
public:
    PdfWriter() = default;
    PdfWriter(const PdfWriter&) = delete;
    PdfWriter& operator=(const PdfWriter&) = delete;

    // Starts the document: 0, -1 when the file cannot be opened, -2 when
    // memory is lacking.  An empty name writes into memory.
    int start(const std::string& name, int width_pt, int height_pt, bool compress);
    // Starts the document on a sink that is already open (a device's file);
    // a null sink writes into memory.
    int start(Sink* sink, int width_pt, int height_pt, bool compress);
    bool started() const { return started_; }

    // Path operations (device_line ops 3, 2 and 5).
    void move(double x, double y);
    void draw(double x, double y);
    void fill_path();
    // Line attributes (ops 6 to 9), values already in points.
    void line_width(double w);
    void line_join(int j);
    void line_cap(int c);
    void miter_limit(double m);
    // kind 0 stroke, 1 fill; components 0..255.
    void colour(int r, int g, int b, int kind);
    void fill_rect(double x, double y, double w, double h);
    // One character of a base-14 font (font index 0..34 of the hardware
    // font table, font_name its PostScript name).
    void character(int code, double x, double y, int angle, int font, const char* font_name, int size);

    // An RGB image of w by h pixels: begin, rows of bytes, end, then its
    // placement (ops 10 to 14).
    void begin_image(int w, int h);
    void image_bytes(const std::uint8_t* data, std::size_t n);
    void end_image();
    void place_image(double x, double y, double w, double h, bool turned);

    void new_page();
    // Ends the document; date "dd.mm.yyyy", time "hh:mm:ss".  False when
    // the file could not be written.
    bool end(const std::string& date, const std::string& time);

    // The memory document (buffer output) and whether bytes were dropped.
    std::vector<char>& memory() { return mem_; }
    bool overflow() const { return overflow_; }
    int pages() const { return (int)page_objects_.size(); }

private:
    struct Object {
        long offset = 0;
        int kind = 0;
    };
    int new_object(int kind);
    void begin_object(int obj);
    // Raw output to the file or buffer.
    void emit(const char* p, std::size_t n);
    void emit(const char* s);
    // Output into the current content stream (or image).
    void content(const char* p, std::size_t n);
    void content(const char* s);
    void open_stream();
    void end_stream();
    void end_page();
    void finish_path(bool keep_open);
    void close_text();

    bool started_ = false;
    bool memory_mode_ = false;
    bool compress_ = true;
    bool overflow_ = false;
    bool failed_ = false;
    Sink own_;
    Sink* sink_ = nullptr;
    std::vector<char> mem_;
    long pos_ = 0;
    int width_ = 0, height_ = 0;
    std::vector<Object> objects_;  // index = object number

    // The content stream now open.
    bool stream_open_ = false;
    int stream_obj_ = 0;
    long stream_start_ = 0;      // offset of the uncompressed stream's data
    std::vector<char> collect_;  // compressed streams and images collect here
    bool collecting_ = false;
    static constexpr std::size_t kStreamBuffer = 300000;

    // The image now open.
    bool image_open_ = false;
    int image_w_ = 0, image_h_ = 0;
    std::size_t image_bytes_ = 0;
    int image_count_ = 0;

    // The page.
    std::vector<int> page_streams_;
    std::vector<int> page_images_;    // image numbers
    std::vector<int> image_objects_;  // object number by image number - 1
    std::vector<int> page_objects_;
    bool page_text_ = false;
    bool font_used_[35] = {};
    int font_object_[35] = {};
    const char* font_name_[35] = {};

    // Path and text state.
    int path_ = 0;  // 0 none, 1 started, 2 open
    double px_ = 0, py_ = 0;
    bool text_open_ = false;
    int text_font_ = -1, text_size_ = -1;
    int fill_rgb_[3] = {-1, -1, -1};
};

}  // namespace korval
