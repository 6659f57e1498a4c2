// The one clock of the library: dates written into files and the protocol.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#include "core/core.hpp"

namespace korval {

namespace {

bool fixed_epoch(long long& out) {
    const char* s = std::getenv("SOURCE_DATE_EPOCH");
    if (!s || !*s) return false;
    char* end = nullptr;
    errno = 0;
    long long v = std::strtoll(s, &end, 10);
    if (errno != 0 || *end != '\0' || v < 0) return false;
    out = v;
    return true;
}

}  // namespace

long long current_epoch() {
    long long v;
    if (fixed_epoch(v)) return v;
    return (long long)std::time(nullptr);
}

void current_date_time(std::string& date, std::string& time) {
    long long v;
    std::tm tm{};
    if (fixed_epoch(v)) {
        std::time_t t = (std::time_t)v;
        gmtime_r(&t, &tm);
    } else {
        std::time_t t = std::time(nullptr);
        localtime_r(&t, &tm);
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d.%02d.%4d", tm.tm_mday, tm.tm_mon + 1, tm.tm_year + 1900);
    date = buf;
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", tm.tm_hour, tm.tm_min, tm.tm_sec);
    time = buf;
}

}  // namespace korval
