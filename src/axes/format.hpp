// Number formatting shared by axis labels and the text routines.
#pragma once

#include <string>

namespace korval {

// x in fixed notation: digits >= 0 decimals, right-aligned in a field one
// wider than the integer digits, sign and decimals need; digits < 0 an
// integer (rounded half away from zero) left-aligned in |digits| columns.
std::string format_number(float x, int digits);
// Writes the same into out (size bytes, always terminated); returns the
// length.  No allocation.
int format_number(float x, int digits, char* out, int size);

// Mantissa and exponent: form 1 "m*10", EXP, k, RES (exp and res are the
// control characters); form 2 "mEk".
int format_exponent(float x, int digits, int form, char exp, char res, char* out, int size);

}  // namespace korval
