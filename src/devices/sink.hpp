// Output sinks: a buffered file or memory writer and the 80-character
// record writer shared by the text formats.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

namespace korval {

// Locale-independent number formatting (the output must not change with
// LC_NUMERIC).  Each writes into out and returns the number of characters.
std::size_t format_int(char* out, long v);
// "%.<prec>f"
std::size_t format_fixed(char* out, double v, int prec);
// "%<width>.<prec>f" and "%<width>d": right-aligned in width characters.
std::size_t format_fixed_w(char* out, double v, int width, int prec);
std::size_t format_int_w(char* out, long v, int width);

// A buffered byte sink writing to a file or into memory.  Writes after a
// failed open are dropped.
class Sink {
public:
    Sink() = default;
    ~Sink();
    Sink(const Sink&) = delete;
    Sink& operator=(const Sink&) = delete;

    // Opens a file for writing; false when it cannot be created.
    bool open_file(const std::string& name, bool binary = true);
    // Collects the output in memory (see data()).
    void open_memory();
    bool is_open() const { return file_ != nullptr || memory_; }

    void write(const char* data, std::size_t n) {
        if (n <= sizeof buf_ - used_) {
            for (std::size_t i = 0; i < n; ++i) buf_[used_ + i] = data[i];
            used_ += n;
        } else {
            write_slow(data, n);
        }
    }
    void write(const std::string& s) { write(s.data(), s.size()); }
    void put(char c) {
        if (used_ == sizeof buf_) drain();
        buf_[used_++] = c;
    }
    void flush();
    // Flushes and closes; true when everything was written.
    bool close();
    const std::vector<char>& data() const { return mem_; }
    std::size_t bytes_written() const { return total_; }

private:
    void write_slow(const char* data, std::size_t n);
    void drain();

    std::FILE* file_ = nullptr;
    bool memory_ = false;
    bool failed_ = false;
    std::vector<char> mem_;
    char buf_[1 << 16];
    std::size_t used_ = 0;
    std::size_t total_ = 0;
};

// The 80-character record output of the text formats: an item is never split
// across records; a record that cannot take the next item is ended first.
class RecordWriter {
public:
    explicit RecordWriter(Sink& sink, int length = 80) : sink_(sink), length_(length) {}
    // Appends n characters as one item.
    void item(const char* text, std::size_t n);
    void item(const char* text);
    // Appends a text of blank-separated words, each with its trailing blank.
    void words(const char* text);
    // Appends one word (no blanks inside) with its trailing blank.
    void word(const char* text, std::size_t n) {
        if ((int)n + 1 > length_ - fill_) {
            if (fill_ > 0) flush();
            if ((int)n + 1 > length_) {
                long_word(text, n);
                return;
            }
        }
        for (std::size_t i = 0; i < n; ++i) rec_[fill_ + (int)i] = text[i];
        fill_ += (int)n;
        rec_[fill_++] = ' ';
    }
    // An integer as one word.
    void word(long v) {
        char buf[24];
        word(buf, format_int(buf, v));
    }
    // Writes the pending record with a line end.
    void flush();
    int fill() const { return fill_; }

private:
    void long_word(const char* text, std::size_t n);
    Sink& sink_;
    int length_;
    int fill_ = 0;
    char rec_[256];
};

// The record output of the binary formats (CGM): bytes flow through records
// of a fixed length; an item that does not fit fills the rest of the record
// and continues in the next one.  The last record is padded with blanks.
class BinaryRecordWriter {
public:
    explicit BinaryRecordWriter(Sink& sink, int length = 80) : sink_(sink), length_(length) {}
    void bytes(const unsigned char* data, std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) byte(data[i]);
    }
    void byte(unsigned char b) {
        rec_[fill_++] = (char)b;
        if (fill_ == length_) {
            sink_.write(rec_, (std::size_t)length_);
            fill_ = 0;
        }
    }
    // A 16-bit word, big-endian.
    void word(unsigned v) {
        byte((unsigned char)((v >> 8) & 0xff));
        byte((unsigned char)(v & 0xff));
    }
    // Pads the pending record with blanks and writes it.
    void finish() {
        if (fill_ == 0) return;
        while (fill_ < length_) rec_[fill_++] = ' ';
        sink_.write(rec_, (std::size_t)length_);
        fill_ = 0;
    }

private:
    Sink& sink_;
    int length_;
    int fill_ = 0;
    char rec_[256];
};

}  // namespace korval
