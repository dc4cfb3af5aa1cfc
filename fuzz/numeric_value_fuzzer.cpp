// Any text has a finite numeric value. Blanks, tabs and line feeds make no difference wherever they stand.
// Where the text holds a plain decimal number, the value is the C library's, which is correctly rounded,
// with 0 for a number past the largest double.

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "base/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = zelmora::NumericValue(text);
    if (!std::isfinite(value)) {
        std::fprintf(stderr, "NumericValue gave %g\n", value);
        std::abort();
    }

    std::string squeezed;
    for (const char c : text) {
        if (c != ' ' && c != '\t' && c != '\n')
            squeezed += c;
    }
    const double withoutBlanks = zelmora::NumericValue(squeezed);
    if (withoutBlanks != value || std::signbit(withoutBlanks) != std::signbit(value)) {
        std::fprintf(stderr, "with blanks %.17g, without %.17g\n", value, withoutBlanks);
        std::abort();
    }

    // strtod also reads hexadecimal numbers, "inf" and "nan", and skips other leading white space.
    size_t start = squeezed.starts_with('+') || squeezed.starts_with('-') ? 1 : 0;
    const bool plain = start < squeezed.size() && (squeezed[start] == '.' || std::isdigit(squeezed[start])) &&
                       squeezed.compare(start, 2, "0x") != 0 && squeezed.compare(start, 2, "0X") != 0;
    if (plain) {
        double expected = std::strtod(squeezed.c_str(), nullptr);
        if (std::isinf(expected) || expected == 0)
            expected = 0;
        if (std::memcmp(&expected, &value, sizeof value) != 0) {
            std::fprintf(stderr, "NumericValue %.17g, strtod %.17g\n", value, expected);
            std::abort();
        }
    }
    return 0;
}
