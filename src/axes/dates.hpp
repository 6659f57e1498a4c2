// Calendar arithmetic for date labels and the date routines.
#pragma once

namespace korval {

// Days since 1 January 1 of the proleptic Gregorian calendar.
long civil_days(int day, int month, int year);
void civil_date(long days, int& day, int& month, int& year);
// Day numbers relative to the base date of basdat (day 0).
int day_number_of(int day, int month, int year);
void date_of_day_number(int n, int& day, int& month, int& year);
void next_month(int& month, int& year);
int days_in_month(int month, int year);
// 1 (Monday) .. 7 (Sunday).
int weekday_of(int day, int month, int year);

}  // namespace korval
