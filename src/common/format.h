#pragma once
// Number formatting used in every text the program shows or writes.

#include <string>

namespace qf {

// "%G" with six significant digits, as the C runtime prints it, but with an
// exponent of at least three digits ("1.5E-005", "1E+024") and always with "."
// as the decimal point, whatever the process locale. Non-finite values print
// as "INF", "-INF" and "NAN".
std::string formatG(double value);

// "%d".
std::string formatD(long long value);

}  // namespace qf
