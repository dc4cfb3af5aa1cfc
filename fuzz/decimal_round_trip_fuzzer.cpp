// DecimalText(x) reads back as x rounded to 15 significant digits, so exactly as x whenever that rounding
// is x, and the value read back is written as the same text. Where that rounding passes the largest double,
// the text is x cut to 15 digits. An input of eight bytes is the bits of x; any other input is a text whose
// numeric value is x.

#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "base/number_text.h"

namespace {

double RoundedTo15Digits(double x) {
    char text[40];
    std::snprintf(text, sizeof text, "%.14e", x);
    const double rounded = std::strtod(text, nullptr);
    if (!std::isinf(rounded))
        return rounded;
    std::fesetround(FE_TOWARDZERO);
    std::snprintf(text, sizeof text, "%.14e", x);
    std::fesetround(FE_TONEAREST);
    return std::strtod(text, nullptr);
}

[[noreturn]] void Fail(const char* what, double x, const std::string& text, double back) {
    std::fprintf(stderr, "%s: x %.17g, text \"%s\", read back %.17g\n", what, x, text.c_str(), back);
    std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    double x = 0;
    if (size == sizeof x)
        std::memcpy(&x, data, sizeof x);
    else
        x = zelmora::NumericValue(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!std::isfinite(x))
        return 0;

    const double rounded = RoundedTo15Digits(x);
    const std::string text = zelmora::DecimalText(x);
    const double back = zelmora::NumericValue(text);
    if (back != rounded)
        Fail("not the value rounded to 15 digits", x, text, back);
    if (zelmora::DecimalText(back) != text)
        Fail("the value read back has another text", x, text, back);
    return 0;
}
