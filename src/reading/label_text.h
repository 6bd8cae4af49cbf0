#pragma once
// The value of a tick label's text as charts print it: "-2.5", "−2.5",
// "1,000", "0,5", "50%", "1e3", "1.5E-04", "1.5×10^3", "10^-2" (an
// exponent that was raised on the chart is written after '^'; superscript
// digits are taken as raised too), and an axis's multiplier alone, "×10^4".

#include <optional>
#include <string_view>

namespace qf {

struct LabelValue {
    double value = 0;
    bool factorOnly = false;   // "×10^4": a multiplier for the axis's labels, not a label
    bool hasExponent = false;  // the text gave a power of ten ("1e3", "10^2", "2×10^3")
    friend bool operator==(const LabelValue&, const LabelValue&) = default;
};

// Empty when the text is not one number: stray characters, a sign or a
// separator in the wrong place, or a leading zero before a digit ("05",
// where recognition lost a decimal point, would read ten times too large).
std::optional<LabelValue> parseLabelText(std::string_view text);

}  // namespace qf
