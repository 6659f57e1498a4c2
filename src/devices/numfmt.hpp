// Locale-independent number formatting for the writers: the printf forms
// "%d", "%.Nf" and "%W.Nf" built with std::to_chars into a small buffer.
#pragma once

#include <charconv>
#include <cstddef>
#include <string>

namespace korval {

// Appends "%d" of v.  Returns the number of characters written.
inline int put_int(char* out, long long v) {
    auto r = std::to_chars(out, out + 24, v);
    return (int)(r.ptr - out);
}

// Appends "%.<prec>f" of v, right-aligned in at least width characters.
inline int put_fixed(char* out, double v, int prec, int width = 0) {
    char tmp[352];
    auto r = std::to_chars(tmp, tmp + sizeof tmp, v, std::chars_format::fixed, prec);
    int n = (int)(r.ptr - tmp);
    int pad = width > n ? width - n : 0;
    for (int i = 0; i < pad; ++i) out[i] = ' ';
    for (int i = 0; i < n; ++i) out[pad + i] = tmp[i];
    return pad + n;
}

// A small text builder over a fixed buffer, for one output item at a time.
class Line {
public:
    Line& s(const char* t) {
        while (*t && n_ < kSize - 1) buf_[n_++] = *t++;
        return *this;
    }
    Line& c(char ch) {
        if (n_ < kSize - 1) buf_[n_++] = ch;
        return *this;
    }
    Line& i(long long v) {
        if (n_ < kSize - 32) n_ += put_int(buf_ + n_, v);
        return *this;
    }
    Line& f(double v, int prec, int width = 0) {
        if (n_ < kSize - 400) n_ += put_fixed(buf_ + n_, v, prec, width);
        return *this;
    }
    const char* data() const { return buf_; }
    std::size_t size() const { return (std::size_t)n_; }
    std::string str() const { return std::string(buf_, (std::size_t)n_); }
    void clear() { n_ = 0; }

private:
    static constexpr int kSize = 1024;
    char buf_[kSize];
    int n_ = 0;
};

}  // namespace korval
