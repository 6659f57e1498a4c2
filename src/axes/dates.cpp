// Calendar routines: the base date, day numbers and weekdays.
#include "axes/dates.hpp"

#include "core/core.hpp"
#include "korval/korval.hpp"

namespace korval {

namespace {

bool leap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

long floor_div(long a, long b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

}  // namespace

int days_in_month(int month, int year) {
    static const int len[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 30;
    return month == 2 && leap(year) ? 29 : len[month - 1];
}

long civil_days(int day, int month, int year) {
    // Shift the year to start in March so that the leap day is last.
    long y = year - (month <= 2 ? 1 : 0);
    long era = floor_div(y, 400);
    long yoe = y - era * 400;
    long mp = (month + 9) % 12;
    long doy = (153 * mp + 2) / 5 + day - 1;
    long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe;
}

void civil_date(long z, int& day, int& month, int& year) {
    long era = floor_div(z, 146097);
    long doe = z - era * 146097;
    long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    long y = yoe + era * 400;
    long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    long mp = (5 * doy + 2) / 153;
    day = (int)(doy - (153 * mp + 2) / 5 + 1);
    month = (int)(mp < 10 ? mp + 3 : mp - 9);
    year = (int)(y + (month <= 2 ? 1 : 0));
}

int day_number_of(int day, int month, int year) {
    const AxesState& a = state().axes;
    return (int)(civil_days(day, month, year) - civil_days(a.base_day, a.base_month, a.base_year));
}

void date_of_day_number(int n, int& day, int& month, int& year) {
    const AxesState& a = state().axes;
    civil_date(civil_days(a.base_day, a.base_month, a.base_year) + n, day, month, year);
}

void next_month(int& month, int& year) {
    if (++month > 12) month = 1, ++year;
}

int weekday_of(int day, int month, int year) {
    long n = civil_days(day, month, year) - civil_days(5, 7, 1999);  // a Monday
    long r = n % 7;
    if (r < 0) r += 7;
    return (int)r + 1;
}

void basdat(int i1, int i2, int i3) {
    if (check_level(0, 3, "basdat")) return;
    if (check_date(i1, i2, i3)) return;
    AxesState& a = state().axes;
    a.base_day = i1, a.base_month = i2, a.base_year = i3;
    a.base_date_set = true;
}

static bool have_base_date() {
    if (state().axes.base_date_set) return true;
    set_warning_text("no base date is defined with basdat");
    warn_routine(101);
    return false;
}

int incdat(int i1, int i2, int i3) {
    if (check_level(0, 3, "incdat")) return 0;
    if (check_date(i1, i2, i3)) return 0;
    if (!have_base_date()) return 0;
    return day_number_of(i1, i2, i3);
}

void trfdat(int i1, int& i2, int& i3, int& i4) {
    i2 = i3 = i4 = 0;
    if (check_level(0, 3, "trfdat")) return;
    if (!have_base_date()) return;
    date_of_day_number(i1, i2, i3, i4);
}

int nwkday(int i1, int i2, int i3) {
    if (check_level(0, 3, "nwkday")) return 0;
    if (check_date(i1, i2, i3)) return 0;
    return weekday_of(i1, i2, i3);
}

}  // namespace korval
