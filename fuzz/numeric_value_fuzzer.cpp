// Any text has a numeric value: finite or infinite, never NaN. Blanks, tabs and line feeds make no
// difference wherever they stand.

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

#include "base/number_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = zelmora::NumericValue(text);
    if (std::isnan(value)) {
        std::fprintf(stderr, "NumericValue gave NaN\n");
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
    return 0;
}
