#pragma once

#include <string>
#include <string_view>

namespace zelmora {

// The decimal number a text begins with, in double precision. Blanks, tabs and line feeds are skipped
// wherever they stand; reading stops at the first character that cannot continue the number
// (optional sign, digits, one period, optional exponent). A text that begins with no number gives 0, and
// so does one whose number is past the largest double: the result is always finite. Correctly rounded.
double NumericValue(std::string_view text);

// Shortest general decimal form with at most 15 significant digits, period as separator;
// whole numbers have no point ("10", "1800"), others have one ("2.5").
std::string DecimalText(double value);

}  // namespace zelmora
