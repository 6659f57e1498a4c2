// Number formatting: fixed notation and mantissa/exponent texts.
#include "axes/format.hpp"

#include <cmath>
#include <cstdio>
#include <cstring>

namespace korval {

int format_number(float x, int digits, char* out, int size) {
    if (!out || size <= 0) return 0;
    out[0] = '\0';
    double v = x;
    char body[512];
    int n;
    if (!std::isfinite(v)) {
        n = std::snprintf(body, sizeof body, "%s", std::isnan(v) ? "NaN" : (v < 0 ? "-Inf" : "Inf"));
    } else if (digits >= 0) {
        if (digits > 100) digits = 100;
        // The magnitude rounded to the decimals decides the integer digits
        // and whether a sign is written (-0.01 with one decimal is 0.0).
        char mag[512];
        std::snprintf(mag, sizeof mag, "%.*f", digits, std::fabs(v));
        int k = (int)std::strcspn(mag, ".");
        bool zero = std::strspn(mag, "0.") == std::strlen(mag);
        bool neg = v < 0 && !zero;
        int width = (neg ? 1 : 0) + k + digits + 1;
        n = std::snprintf(body, sizeof body, "%*s%s%s", width - (int)std::strlen(mag) - (neg ? 1 : 0), "",
                          neg ? "-" : "", mag);
    } else {
        double r = v < 0 ? -std::floor(-v + 0.5) : std::floor(v + 0.5);
        if (r == 0) r = 0;  // no "-0"
        int width = -digits;
        if (width > 100) width = 100;
        n = std::snprintf(body, sizeof body, "%-*.0f", width, r);
    }
    if (n < 0) n = 0;
    if (n >= size) n = size - 1;
    std::memcpy(out, body, (std::size_t)n);
    out[n] = '\0';
    return n;
}

std::string format_number(float x, int digits) {
    char buf[512];
    int n = format_number(x, digits, buf, sizeof buf);
    return std::string(buf, (std::size_t)n);
}

int format_exponent(float x, int digits, int form, char exp, char res, char* out, int size) {
    if (!out || size <= 0) return 0;
    double m = x;
    int k = 0;
    if (m != 0 && std::isfinite(m)) {
        // Repeated scaling by ten; float range bounds the loops.
        while (std::fabs(m) >= 10.0 && k < 400) m /= 10.0, ++k;
        while (std::fabs(m) < 1.0 && k > -400) m *= 10.0, --k;
    }
    char mant[512];
    format_number((float)m, digits, mant, sizeof mant);
    char body[600];
    int n;
    if (form == 1)
        n = std::snprintf(body, sizeof body, "%s*10%c%d%c", mant, exp, k, res);
    else
        n = std::snprintf(body, sizeof body, "%sE%d", mant, k);
    if (n < 0) n = 0;
    if (n >= size) n = size - 1;
    std::memcpy(out, body, (std::size_t)n);
    out[n] = '\0';
    return n;
}

}  // namespace korval
