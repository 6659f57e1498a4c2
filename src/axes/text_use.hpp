// How the axis drawing uses the text engine: heights, control characters
// and the per-call text modes of labels.
#pragma once

#include "axes/format.hpp"
#include "core/core.hpp"
#include "text/text.hpp"

namespace korval {

inline int text_height() { return state().text.height; }
inline char text_exp_char() { return state().text.ctrl[0]; }
inline char text_res_char() { return state().text.ctrl[2]; }

// The length of a text drawn with height h.
inline int text_length_at(const char* text, int h) {
    int keep = state().text.height;
    state().text.height = h;
    int w = text_length(text);
    state().text.height = keep;
    return w;
}

// Switches the exponent/index mode (labels with exponents) and the German
// shift operator "!" (German date labels) on for the lifetime of the guard.
class TextModeGuard {
public:
    TextModeGuard(bool exponents, bool german) : t_(state().text), keep_expind_(t_.expind) {
        for (int i = 0; i < 7; ++i) keep_national_[i] = t_.national[i];
        keep_national_on_ = t_.national_on;
        if (exponents) t_.expind = true;
        if (german) {
            t_.national[0] = '!';
            t_.national_on = true;
        }
    }
    ~TextModeGuard() {
        t_.expind = keep_expind_;
        for (int i = 0; i < 7; ++i) t_.national[i] = keep_national_[i];
        t_.national_on = keep_national_on_;
    }
    TextModeGuard(const TextModeGuard&) = delete;
    TextModeGuard& operator=(const TextModeGuard&) = delete;

private:
    TextState& t_;
    bool keep_expind_;
    char keep_national_[7];
    bool keep_national_on_;
};

}  // namespace korval
