#include "devices/sink.hpp"

#include <charconv>
#include <cstring>

namespace korval {

std::size_t format_int(char* out, long v) {
    auto r = std::to_chars(out, out + 22, v);
    return (std::size_t)(r.ptr - out);
}

std::size_t format_fixed(char* out, double v, int prec) {
    if (!(v == v)) v = 0;  // NaN
    if (v > 1e15) v = 1e15;
    if (v < -1e15) v = -1e15;
    auto r = std::to_chars(out, out + 40, v, std::chars_format::fixed, prec);
    std::size_t n = (std::size_t)(r.ptr - out);
    // printf writes a negative zero as "-0.000"; so does to_chars.
    return n;
}

namespace {

std::size_t right_align(char* out, const char* tmp, std::size_t n, int width) {
    std::size_t pad = (int)n < width ? (std::size_t)width - n : 0;
    for (std::size_t i = 0; i < pad; ++i) out[i] = ' ';
    std::memcpy(out + pad, tmp, n);
    return pad + n;
}

}  // namespace

std::size_t format_fixed_w(char* out, double v, int width, int prec) {
    char tmp[48];
    return right_align(out, tmp, format_fixed(tmp, v, prec), width);
}

std::size_t format_int_w(char* out, long v, int width) {
    char tmp[24];
    return right_align(out, tmp, format_int(tmp, v), width);
}

Sink::~Sink() { close(); }

bool Sink::open_file(const std::string& name, bool binary) {
    close();
    failed_ = false;
    total_ = 0;
    file_ = std::fopen(name.c_str(), binary ? "wb" : "w");
    return file_ != nullptr;
}

void Sink::open_memory() {
    close();
    memory_ = true;
    failed_ = false;
    total_ = 0;
    mem_.clear();
}

void Sink::drain() {
    if (used_ == 0) return;
    if (file_) {
        if (std::fwrite(buf_, 1, used_, file_) != used_) failed_ = true;
    } else if (memory_) {
        mem_.insert(mem_.end(), buf_, buf_ + used_);
    }
    total_ += used_;
    used_ = 0;
}

void Sink::write_slow(const char* data, std::size_t n) {
    drain();
    if (n >= sizeof buf_) {
        if (file_) {
            if (std::fwrite(data, 1, n, file_) != n) failed_ = true;
        } else if (memory_) {
            mem_.insert(mem_.end(), data, data + n);
        }
        total_ += n;
        return;
    }
    std::memcpy(buf_, data, n);
    used_ = n;
}

void Sink::flush() {
    drain();
    if (file_) std::fflush(file_);
}

bool Sink::close() {
    drain();
    bool ok = !failed_;
    if (file_) {
        if (std::fclose(file_) != 0) ok = false;
        file_ = nullptr;
    }
    memory_ = false;
    return ok;
}

void RecordWriter::item(const char* text, std::size_t n) {
    if (fill_ > 0 && (int)n > length_ - fill_) flush();
    if ((int)n > length_) {  // longer than a record: written on a line of its own
        sink_.write(text, n);
        sink_.put('\n');
        return;
    }
    std::memcpy(rec_ + fill_, text, n);
    fill_ += (int)n;
}

void RecordWriter::item(const char* text) { item(text, std::strlen(text)); }

void RecordWriter::words(const char* text) {
    const char* p = text;
    while (*p) {
        while (*p == ' ') ++p;
        if (!*p) break;
        const char* start = p;
        while (*p && *p != ' ') ++p;
        word(start, (std::size_t)(p - start));
    }
}

void RecordWriter::long_word(const char* text, std::size_t n) {
    // Longer than a record: on a line of its own.
    sink_.write(text, n);
    sink_.put(' ');
    sink_.put('\n');
}

void RecordWriter::flush() {
    if (fill_ == 0) return;
    sink_.write(rec_, (std::size_t)fill_);
    sink_.put('\n');
    fill_ = 0;
}

}  // namespace korval
