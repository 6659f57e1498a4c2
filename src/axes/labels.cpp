// Label texts: numbers, exponents, times, degrees, user labels and dates.
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "axes/axes.hpp"
#include "axes/dates.hpp"
#include "axes/text_use.hpp"

namespace korval {

namespace {

const char* const kMonthsEn[12] = {"January", "February", "March",     "April",   "May",      "June",
                                   "July",    "August",   "September", "October", "November", "December"};
const char* const kMonthsDe[12] = {"Januar", "Februar", "M!arz",     "April",   "Mai",      "Juni",
                                   "Juli",   "August",  "September", "Oktober", "November", "Dezember"};
const char* const kDaysEn[7] = {"Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday", "Sunday"};
const char* const kDaysDe[7] = {"Montag",  "Dienstag",  "Mittwoch", "Donnerstag",
                                "Freitag", "Sonnabend", "Sonntag"};

std::string upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = (char)(c - 'a' + 'A');
    return s;
}

std::string printf1(const char* fmt, int v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, fmt, v);
    return buf;
}

}  // namespace

std::string format_exponent(double x, int digits, int form) {
    double m = x;
    int k = 0;
    if (x == 0 || !std::isfinite(x)) {
        m = 0;
    } else {
        while (std::fabs(m) >= 10) m /= 10, ++k;
        while (std::fabs(m) < 1) m *= 10, --k;
    }
    std::string out = format_number((float)m, digits);
    char buf[16];
    std::snprintf(buf, sizeof buf, "%d", k);
    if (form == 1) {
        out += "*10";
        out += text_exp_char();
        out += buf;
        out += text_res_char();
    } else {
        out += "E";
        out += buf;
    }
    return out;
}

std::string format_date(int day_number, int axis) {
    const DateLabelModes& m = state().axes.axis[axis].date;
    int d, mo, y;
    date_of_day_number(day_number, d, mo, y);
    bool german = m.language == 1;
    std::string dp, mp, yp;
    int wd = weekday_of(d, mo, y);
    switch (m.day) {
        case 0: dp = std::string(german ? kDaysDe[wd - 1] : kDaysEn[wd - 1]).substr(0, german ? 2 : 3); break;
        case 1: dp = printf1(d < 10 ? "%1d" : "%2d", d); break;
        case 3: dp = german ? kDaysDe[wd - 1] : kDaysEn[wd - 1]; break;
        case 4: dp = printf1("%02d", d); break;
        default: break;
    }
    const char* month_name = german ? kMonthsDe[mo - 1] : kMonthsEn[mo - 1];
    switch (m.month) {
        case 0: {
            // "M!arz" keeps its shift operator so that three letters show.
            std::size_t n = german && mo == 3 ? 4 : 3;
            mp = std::string(month_name).substr(0, n);
            break;
        }
        case 1: mp = printf1(mo < 10 ? "%1d" : "%2d", mo); break;
        case 3: mp = month_name; break;
        case 4: mp = printf1("%02d", mo); break;
        case 5: mp = std::string(1, kMonthsEn[mo - 1][0]); break;
        default: break;
    }
    switch (m.year) {
        case 0: yp = printf1("%4d", y); break;
        case 1: yp = printf1("%02d", ((y % 100) + 100) % 100); break;
        default: break;
    }
    if (m.upper) dp = upper(dp), mp = upper(mp);
    static const char* const orders[6] = {"DMY", "DYM", "MDY", "MYD", "YDM", "YMD"};
    std::string out;
    for (const char* p = orders[m.order]; *p; ++p) {
        const std::string& part = *p == 'D' ? dp : *p == 'M' ? mp : yp;
        if (part.empty()) continue;
        if (!out.empty()) out += m.separator;
        out += part;
    }
    return out;
}

std::string format_label(double value, int index, int log, int axis) {
    const AxisSettings& s = state().axes.axis[axis];
    const AxesState& st = state().axes;
    double x = log ? std::pow(10.0, value) : value;
    switch (s.label_type) {
        case 0: return "";
        case 12:  // user labels
            if (index >= 0 && index < 20 && index < std::abs(s.user_label_count)) return s.user_labels[index];
            return "";
        case 14: return format_date((int)std::lround(value), axis);
        case 2:
        case 13:
            // expzlb("OFF"): a zero label as the plain number
            if (x == 0 && !st.exp_zero) return format_number(0.0f, s.digits);
            return format_exponent(x, s.digits, s.label_type == 2 ? 1 : 2);
        case 9:
        case 10:
        case 11: {
            long t = std::lround(x);
            t %= 86400;
            if (t < 0) t += 86400;
            long hours = t / 3600, r = t - 3600 * hours;
            char buf[32];
            if (s.label_type == 9) {
                long minutes = std::lround(r / 60.0);
                if (minutes == 60) minutes = 0, ++hours;
                std::snprintf(buf, sizeof buf, st.timopt ? "%02ld:%02ld" : "%02ld%02ld", hours % 24, minutes);
            } else if (s.label_type == 10) {
                long h = std::lround(t / 3600.0) % 24;
                std::snprintf(buf, sizeof buf, h < 10 ? "%1ld" : "%2ld", h);
            } else {
                long minutes = r / 60, seconds = r - 60 * minutes;
                std::snprintf(buf, sizeof buf, st.timopt ? "%02ld:%02ld:%02ld" : "%02ld%02ld%02ld", hours,
                              minutes, seconds);
            }
            return buf;
        }
        case 6:
        case 7:
        case 8: {
            double v = s.label_type == 7 ? x : std::fabs(x);
            std::string out = format_number((float)v, s.digits);
            out += text_exp_char();
            out += 'o';
            out += text_res_char();
            bool xaxis = axis == 0;
            if (x >= 0.001) {
                out += ' ';
                if (s.label_type == 6) out += xaxis ? 'E' : 'N';
                else if (s.label_type == 8) out += xaxis ? 'e' : 'n';
                else out.back() = ' ';
            } else if (x <= -0.001) {
                out += ' ';
                if (s.label_type == 6) out += xaxis ? 'W' : 'S';
                else if (s.label_type == 8) out += xaxis ? 'w' : 's';
                else out.back() = ' ';
            }
            return out;
        }
        default: break;
    }
    if (log && s.log_form == 1) {
        std::string out = "10";
        out += text_exp_char();
        out += format_number((float)value, s.digits);
        out += text_res_char();
        return out;
    }
    if (log && s.log_form == 3) return format_number((float)value, s.digits);
    return format_number((float)x, s.digits);
}

}  // namespace korval
