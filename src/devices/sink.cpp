#include "devices/sink.hpp"

#include <cstring>

namespace korval {

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
        std::size_t n = (std::size_t)(p - start);
        if (fill_ > 0 && (int)n + 1 > length_ - fill_) flush();
        if ((int)n + 1 > length_) {
            sink_.write(start, n);
            sink_.put('\n');
            continue;
        }
        std::memcpy(rec_ + fill_, start, n);
        fill_ += (int)n;
        rec_[fill_++] = ' ';
    }
}

void RecordWriter::flush() {
    if (fill_ == 0) return;
    sink_.write(rec_, (std::size_t)fill_);
    sink_.put('\n');
    fill_ = 0;
}

}  // namespace korval
