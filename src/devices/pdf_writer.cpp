#include "devices/pdf_writer.hpp"

#include <zlib.h>

#include <cmath>
#include <cstring>
#include <new>

#include "devices/numfmt.hpp"

namespace korval {

namespace {

// The buffer output grows in steps of this many bytes.
constexpr std::size_t kMemoryStep = 512000;

// Deflates n bytes in one call into out; false on any zlib failure.
bool deflate_once(const char* data, std::size_t n, std::vector<char>& out) {
    try {
        out.resize(std::max<std::size_t>(n + n / 100 + 13, compressBound((uLong)n)));
    } catch (const std::bad_alloc&) {
        return false;
    }
    z_stream zs{};
    if (deflateInit(&zs, Z_DEFAULT_COMPRESSION) != Z_OK) return false;
    zs.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data));
    zs.avail_in = (uInt)n;
    zs.next_out = reinterpret_cast<Bytef*>(out.data());
    zs.avail_out = (uInt)out.size();
    int rc = deflate(&zs, Z_FINISH);
    std::size_t got = zs.total_out;
    if (deflateEnd(&zs) != Z_OK || rc != Z_STREAM_END) return false;
    out.resize(got);
    return true;
}

// WinAnsiEncoding codes of the characters 127..186 of the library's German
// code vector.
const unsigned char kWinAnsi[60] = {
    196, 214, 220, 228, 246, 252, 223, 197, 216, 198, 229, 248, 230, 209, 241, 199, 231, 203, 207, 235,
    239, 193, 201, 205, 211, 218, 225, 233, 237, 243, 250, 192, 200, 204, 210, 217, 224, 232, 236, 242,
    249, 194, 202, 206, 212, 219, 226, 234, 238, 244, 251, 195, 227, 213, 245, 221, 253, 255, 161, 191,
};

}  // namespace

int winansi_code(int code) {
    if (code >= 127 && code <= 186) return kWinAnsi[code - 127];
    return code >= 32 && code < 127 ? code : '?';
}

int PdfWriter::start(const std::string& name, int width_pt, int height_pt, bool compress) {
    if (name.empty()) return start(nullptr, width_pt, height_pt, compress);
    if (!own_.open_file(name, true)) return -1;
    return start(&own_, width_pt, height_pt, compress);
}

int PdfWriter::start(Sink* sink, int width_pt, int height_pt, bool compress) {
    sink_ = sink;
    memory_mode_ = sink == nullptr;
    compress_ = compress;
    overflow_ = failed_ = false;
    pos_ = 0;
    width_ = width_pt;
    height_ = height_pt;
    objects_.assign(3, Object{});
    objects_.reserve(100);
    std::vector<char>().swap(mem_);
    if (memory_mode_) {
        try {
            mem_.reserve(kMemoryStep);
        } catch (const std::bad_alloc&) {
            return -2;
        }
    } else if (!sink_->is_open()) {
        return -1;
    }
    started_ = true;
    emit("%PDF-1.3\n");
    open_stream();
    content("0.709 w\n2 J\n2 j\n");
    return 0;
}

void PdfWriter::emit(const char* p, std::size_t n) {
    if (memory_mode_) {
        if (overflow_) return;
        if (mem_.size() + n > mem_.capacity()) {
            try {
                std::size_t grow = n > kMemoryStep ? n : kMemoryStep;
                mem_.reserve(mem_.capacity() + grow);
            } catch (const std::bad_alloc&) {
                overflow_ = true;
                return;
            }
        }
        mem_.insert(mem_.end(), p, p + n);
    } else {
        sink_->write(p, n);
    }
    pos_ += (long)n;
}

void PdfWriter::emit(const char* s) { emit(s, std::strlen(s)); }

int PdfWriter::new_object(int kind) {
    objects_.push_back(Object{0, kind});
    return (int)objects_.size() - 1;
}

void PdfWriter::begin_object(int obj) {
    objects_[(std::size_t)obj].offset = pos_;
    Line l;
    l.i(obj).s(" 0 obj\n");
    emit(l.data(), l.size());
}

void PdfWriter::content(const char* p, std::size_t n) {
    if (image_open_) {
        if (collecting_) {
            collect_.insert(collect_.end(), p, p + n);
        } else {
            emit(p, n);
        }
        image_bytes_ += n;
        return;
    }
    if (!stream_open_) open_stream();
    if (collecting_) {
        if (collect_.size() + n > kStreamBuffer && !collect_.empty()) {
            end_stream();
            open_stream();
        }
        collect_.insert(collect_.end(), p, p + n);
    } else {
        emit(p, n);
    }
}

void PdfWriter::content(const char* s) { content(s, std::strlen(s)); }

void PdfWriter::open_stream() {
    stream_obj_ = new_object(1);
    page_streams_.push_back(stream_obj_);
    begin_object(stream_obj_);
    stream_open_ = true;
    collecting_ = false;
    if (compress_) {
        try {
            collect_.clear();
            collect_.reserve(kStreamBuffer);
            collecting_ = true;
        } catch (const std::bad_alloc&) {
            collecting_ = false;
        }
    }
    if (!collecting_) {
        // The length follows in the next object.
        new_object(0);
        Line l;
        l.s("<< /Length ").i(stream_obj_ + 1).s(" 0 R >>\nstream\n");
        emit(l.data(), l.size());
        stream_start_ = pos_;
    }
}

void PdfWriter::end_stream() {
    if (!stream_open_) return;
    stream_open_ = false;
    Line l;
    if (collecting_) {
        std::vector<char> packed;
        if (deflate_once(collect_.data(), collect_.size(), packed)) {
            l.s("<< /Length ").i((long long)packed.size()).s("\n/Filter /FlateDecode\n>>\nstream\n");
            emit(l.data(), l.size());
            emit(packed.data(), packed.size());
        } else {
            l.s("<< /Length ").i((long long)collect_.size()).s(" >>\nstream\n");
            emit(l.data(), l.size());
            emit(collect_.data(), collect_.size());
        }
        emit("endstream\nendobj\n");
        collecting_ = false;
        collect_.clear();
        return;
    }
    long length = pos_ - stream_start_;
    emit("endstream\nendobj\n");
    begin_object(stream_obj_ + 1);
    l.i(length).s("\nendobj\n");
    emit(l.data(), l.size());
}

void PdfWriter::close_text() {
    if (text_open_) {
        content("ET\n");
        text_open_ = false;
    }
}

void PdfWriter::finish_path(bool keep_open) {
    close_text();
    if (path_ == 2 && !keep_open) {
        content("S\n");
        path_ = 0;
    }
}

void PdfWriter::move(double x, double y) {
    if (!started_) return;
    // A move to where the pen stands continues the path.
    if (path_ == 2 && !text_open_ && x == px_ && y == py_) return;
    finish_path(false);
    px_ = x;
    py_ = y;
    path_ = 1;
}

void PdfWriter::draw(double x, double y) {
    if (!started_) return;
    finish_path(true);
    Line l;
    if (path_ != 2) l.f(px_, 2).c(' ').f(py_, 2).s(" m\n");
    l.f(x, 2).c(' ').f(y, 2).s(" l\n");
    content(l.data(), l.size());
    px_ = x;
    py_ = y;
    path_ = 2;
}

void PdfWriter::fill_path() {
    if (!started_) return;
    finish_path(true);
    if (path_ == 2) content("h\nf*\n");
    path_ = 0;
}

void PdfWriter::line_width(double w) {
    if (!started_) return;
    finish_path(false);
    Line l;
    l.f(w, 3).s(" w\n");
    content(l.data(), l.size());
}

void PdfWriter::line_join(int j) {
    if (!started_) return;
    finish_path(false);
    Line l;
    l.i(j).s(" j\n");
    content(l.data(), l.size());
}

void PdfWriter::line_cap(int c) {
    if (!started_) return;
    finish_path(false);
    Line l;
    l.i(c).s(" J\n");
    content(l.data(), l.size());
}

void PdfWriter::miter_limit(double m) {
    if (!started_) return;
    finish_path(false);
    Line l;
    l.f(m, 3).s(" M\n");
    content(l.data(), l.size());
}

void PdfWriter::colour(int r, int g, int b, int kind) {
    if (!started_) return;
    finish_path(false);
    if (kind == 1) {
        if (r == fill_rgb_[0] && g == fill_rgb_[1] && b == fill_rgb_[2]) return;
        fill_rgb_[0] = r, fill_rgb_[1] = g, fill_rgb_[2] = b;
    }
    Line l;
    for (int c : {r, g, b}) {
        if (c <= 0)
            l.s("0 ");
        else if (c >= 255)
            l.s("1 ");
        else
            l.f(c * 0.00392156862745098, 3, 5).c(' ');
    }
    l.s(kind == 1 ? "rg\n" : "RG\n");
    content(l.data(), l.size());
}

void PdfWriter::fill_rect(double x, double y, double w, double h) {
    if (!started_) return;
    finish_path(false);
    Line l;
    l.f(x, 2).c(' ').f(y, 2).c(' ').f(w, 2).c(' ').f(h, 2).s(" re\nf\n");
    content(l.data(), l.size());
}

void PdfWriter::character(int code, double x, double y, int angle, int font, const char* font_name,
                          int size) {
    if (!started_ || font < 0 || font > 34) return;
    if (path_ == 2) {
        content("S\n");
        path_ = 0;
    }
    if (text_open_ && (font != text_font_ || size != text_size_)) close_text();
    font_used_[font] = true;
    font_name_[font] = font_name;
    page_text_ = true;
    Line l;
    if (!text_open_) {
        l.s("BT\n/F").i(font + 1).c(' ').i(size).s(" Tf\n");
        text_open_ = true;
        text_font_ = font;
        text_size_ = size;
    }
    angle %= 360;
    if (angle < 0) angle += 360;
    if (angle == 0) {
        l.s("1 0 0 1 ").f(x, 2).c(' ').f(y, 2).s(" Tm\n");
    } else if (angle == 90) {
        l.s("0 1 -1 0 ").f(x, 2).c(' ').f(y, 2).s(" Tm\n");
    } else {
        double a = angle * 3.14159265358979323846 / 180.0, c = std::cos(a), s = std::sin(a);
        l.f(c, 2).c(' ').f(s, 2).c(' ').f(-s, 2).c(' ').f(c, 2).c(' ').f(x, 2).c(' ').f(y, 2).s(" Tm\n");
    }
    code &= 0xff;
    int out = code;
    if (code >= 127 && code <= 186) out = kWinAnsi[code - 127];
    if (code > 186 || code < 32) out = ' ';
    if (out >= 127 || out == '(' || out == ')' || out == '\\') {
        char oct[8];
        int n = 0;
        oct[n++] = '\\';
        if (out >= 64) oct[n++] = (char)('0' + (out >> 6));
        if (out >= 8) oct[n++] = (char)('0' + ((out >> 3) & 7));
        oct[n++] = (char)('0' + (out & 7));
        oct[n] = '\0';
        l.c('(').s(oct).s(") Tj\n");
    } else {
        l.c('(').c((char)out).s(") Tj\n");
    }
    content(l.data(), l.size());
}

void PdfWriter::begin_image(int w, int h) {
    if (!started_ || image_open_ || w < 1 || h < 1) return;
    finish_path(false);
    end_stream();
    ++image_count_;
    int obj = new_object(100 + image_count_);
    image_objects_.push_back(obj);
    page_images_.push_back(image_count_);
    begin_object(obj);
    Line l;
    l.s("<< /Type /XObject /Subtype /Image\n   /ColorSpace /DeviceRGB\n   /Width ")
        .i(w)
        .s(" /Height ")
        .i(h)
        .s(" /BitsPerComponent 8\n");
    emit(l.data(), l.size());
    image_open_ = true;
    image_w_ = w;
    image_h_ = h;
    image_bytes_ = 0;
    collecting_ = false;
    std::size_t n = (std::size_t)w * h * 3;
    if (compress_) {
        try {
            collect_.clear();
            collect_.reserve(n);
            collecting_ = true;
        } catch (const std::bad_alloc&) {
            collecting_ = false;
        }
    }
    if (!collecting_) {
        l.clear();
        l.s("   /Length ").i((long long)n).s("\n>>\nstream\n");
        emit(l.data(), l.size());
    }
}

void PdfWriter::image_bytes(const std::uint8_t* data, std::size_t n) {
    if (!image_open_) return;
    std::size_t room = (std::size_t)image_w_ * image_h_ * 3 - image_bytes_;
    if (n > room) n = room;
    content(reinterpret_cast<const char*>(data), n);
}

void PdfWriter::end_image() {
    if (!image_open_) return;
    // Missing rows read as black, so that the length holds.
    static const char zeros[256] = {};
    std::size_t need = (std::size_t)image_w_ * image_h_ * 3;
    while (image_bytes_ < need) {
        std::size_t k = need - image_bytes_ < sizeof zeros ? need - image_bytes_ : sizeof zeros;
        content(zeros, k);
    }
    image_open_ = false;
    Line l;
    if (collecting_) {
        std::vector<char> packed;
        if (deflate_once(collect_.data(), collect_.size(), packed)) {
            l.s("   /Length ").i((long long)packed.size()).s("\n   /Filter /FlateDecode\n>>\nstream\n");
            emit(l.data(), l.size());
            emit(packed.data(), packed.size());
        } else {
            l.s("   /Length ").i((long long)collect_.size()).s(" >>\nstream\n");
            emit(l.data(), l.size());
            emit(collect_.data(), collect_.size());
        }
        collecting_ = false;
        collect_.clear();
    }
    emit("endstream\nendobj\n");
    open_stream();
    content("q\n");
}

void PdfWriter::place_image(double x, double y, double w, double h, bool turned) {
    if (!started_) return;
    Line l;
    l.s("1 0 0 1 ").f(x, 2).c(' ').f(y, 2).s(" cm\n");
    if (turned) l.s("0 1 -1 0 0 0 cm\n");
    l.f(w, 2).s(" 0 0 ").f(h, 2).s(" 0 0 cm\n/Image").i(image_count_).s(" Do\nQ\n");
    content(l.data(), l.size());
}

void PdfWriter::end_page() {
    finish_path(false);
    close_text();
    end_stream();
    Line l;
    for (int i = 0; i < 35; ++i) {
        if (!font_used_[i] || font_object_[i]) continue;
        int obj = new_object(10 + i);
        font_object_[i] = obj;
        begin_object(obj);
        l.clear();
        l.s("<< /Type /Font\n/Subtype /Type1\n/BaseFont /")
            .s(font_name_[i] ? font_name_[i] : "Times-Roman")
            .s("\n/Encoding /WinAnsiEncoding\n>>\nendobj\n");
        emit(l.data(), l.size());
    }
    int page = new_object(2);
    page_objects_.push_back(page);
    begin_object(page);
    l.clear();
    l.s("<<\n/Type /Page\n/MediaBox [0 0 ").i(width_).c(' ').i(height_).s("]\n/Parent 2 0 R\n");
    emit(l.data(), l.size());
    bool images = !page_images_.empty();
    if (!page_text_) {
        emit(images ? "/Resources << /ProcSet [/PDF /ImageC]\n" : "/Resources << /ProcSet [/PDF]\n");
    } else {
        emit(images ? "/Resources << /ProcSet [/PDF /Text /ImageC]\n"
                    : "/Resources << /ProcSet [/PDF /Text]\n");
        emit("/Font <<\n");
        for (int i = 0; i < 35; ++i) {
            if (!font_object_[i]) continue;
            l.clear();
            l.s("/F").i(i + 1).c(' ').i(font_object_[i]).s(" 0 R\n");
            emit(l.data(), l.size());
        }
        emit(">>\n");
    }
    if (images) {
        emit("/XObject <<\n");
        for (int n : page_images_) {
            l.clear();
            l.s("/Image").i(n).c(' ').i(image_objects_[(std::size_t)n - 1]).s(" 0 R\n");
            emit(l.data(), l.size());
        }
        emit(">>\n");
    }
    emit(">>\n");
    l.clear();
    if (page_streams_.size() == 1) {
        l.s("/Contents ").i(page_streams_[0]).s(" 0 R\n");
        emit(l.data(), l.size());
    } else {
        emit("/Contents [\n");
        for (int s : page_streams_) {
            l.clear();
            l.i(s).s(" 0 R\n");
            emit(l.data(), l.size());
        }
        emit("]\n");
    }
    emit(">>\nendobj\n");
    page_streams_.clear();
    page_images_.clear();
    page_text_ = false;
    fill_rgb_[0] = fill_rgb_[1] = fill_rgb_[2] = -1;
}

void PdfWriter::new_page() {
    if (!started_) return;
    if (image_open_) end_image();
    end_page();
    open_stream();
    // A new page starts with the default graphics state: set the line
    // attributes of the document start again.
    content("0.709 w\n2 J\n2 j\n");
}

bool PdfWriter::end(const std::string& date, const std::string& time) {
    if (!started_) return false;
    if (image_open_) end_image();
    end_page();
    Line l;
    begin_object(2);
    emit("<< /Type /Pages /Kids [\n");
    for (int p : page_objects_) {
        l.clear();
        l.i(p).s(" 0 R\n");
        emit(l.data(), l.size());
    }
    l.clear();
    l.s("] /Count ").i((long long)page_objects_.size()).s("\n>>\nendobj\n");
    emit(l.data(), l.size());
    begin_object(1);
    emit("<< /Type /Catalog /Pages 2 0 R\n>>\nendobj\n");
    int info = new_object(0);
    begin_object(info);
    // date "dd.mm.yyyy", time "hh:mm:ss" -> D:yyyymmddhhmmss
    char stamp[15] = "00000000000000";
    if (date.size() >= 10 && time.size() >= 8) {
        std::memcpy(stamp, date.data() + 6, 4);
        std::memcpy(stamp + 4, date.data() + 3, 2);
        std::memcpy(stamp + 6, date.data(), 2);
        std::memcpy(stamp + 8, time.data(), 2);
        std::memcpy(stamp + 10, time.data() + 3, 2);
        std::memcpy(stamp + 12, time.data() + 6, 2);
    }
    l.clear();
    l.s("<< /CreationDate (D:").s(stamp).s(")\n/Producer (KORVAL 7.6)\n>>\nendobj\n");
    emit(l.data(), l.size());
    long xref = pos_;
    const int count = (int)objects_.size();
    l.clear();
    l.s("xref\n0 ").i(count).s("\n0000000000 65535 f \n");
    emit(l.data(), l.size());
    for (int i = 1; i < count; ++i) {
        char e[21];
        long off = objects_[(std::size_t)i].offset;
        for (int k = 9; k >= 0; --k, off /= 10) e[k] = (char)('0' + off % 10);
        std::memcpy(e + 10, " 00000 n \n", 10);
        emit(e, 20);
    }
    l.clear();
    l.s("trailer\n<< /Size ")
        .i(count)
        .s(" /Root 1 0 R /Info ")
        .i(info)
        .s(" 0 R\n>>\nstartxref\n")
        .i(xref)
        .s("\n%%EOF\n");
    emit(l.data(), l.size());
    started_ = false;
    std::vector<Object>().swap(objects_);
    bool ok = true;
    if (!memory_mode_) ok = sink_->close();
    return ok && !failed_;
}

}  // namespace korval
