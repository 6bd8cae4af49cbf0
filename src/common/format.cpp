#include "common/format.h"

#include <charconv>
#include <cmath>

namespace qf {

std::string formatG(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value < 0 ? "-INF" : "INF";

    // std::to_chars in general form with a precision is printf's %g in the C
    // locale: shorter of fixed and exponent form, trailing zeros removed.
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 6);
    std::string text(buf, res.ptr);

    const auto e = text.find('e');
    if (e == std::string::npos) return text;
    std::string mantissa = text.substr(0, e);
    const char sign = text[e + 1];
    std::string digits = text.substr(e + 2);
    while (digits.size() < 3) digits.insert(digits.begin(), '0');
    return mantissa + 'E' + sign + digits;
}

std::string formatD(long long value) {
    return std::to_string(value);
}

}  // namespace qf
