#include "base/number_text.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace zelmora {

namespace {

bool IsSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// Collects the characters that form the number, dropping skipped characters, in the C locale's syntax.
std::string NumberPrefix(std::string_view text) {
    std::string number;
    size_t i = 0;
    auto skip = [&] {
        while (i < text.size() && IsSkipped(text[i]))
            ++i;
    };
    auto digits = [&] {
        size_t count = 0;
        for (skip(); i < text.size() && IsDigit(text[i]); skip()) {
            number += text[i++];
            ++count;
        }
        return count;
    };

    skip();
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        number += text[i++];
    size_t mantissaDigits = digits();
    if (i < text.size() && text[i] == '.') {
        number += text[i++];
        mantissaDigits += digits();
    }
    if (mantissaDigits == 0)
        return {};

    // An exponent counts only when at least one digit follows the marker.
    size_t beforeExponent = i;
    std::string withoutExponent = number;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        number += 'e';
        ++i;
        skip();
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            number += text[i++];
        if (digits() == 0) {
            i = beforeExponent;
            number = withoutExponent;
        }
    }
    return number;
}

}  // namespace

double NumericValue(std::string_view text) {
    std::string number = NumberPrefix(text);
    if (number.empty())
        return 0;
    double value = std::strtod(number.c_str(), nullptr);
    return value == 0 ? 0.0 : value;  // no negative zero
}

std::string DecimalText(double value) {
    if (value == 0)
        return "0";
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";

    // Round to 15 significant digits, then find the fewest digits that give the same value.
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.14e", value);
    const double rounded = std::strtod(buffer, nullptr);
    for (int decimals = 0; decimals <= 14; ++decimals) {
        std::snprintf(buffer, sizeof buffer, "%.*e", decimals, value);
        if (std::strtod(buffer, nullptr) == rounded)
            break;
    }

    // buffer is "-d.ddde+XX": split into sign, digits and exponent.
    std::string scientific = buffer;
    const size_t e = scientific.find('e');
    const int exponent = std::atoi(scientific.c_str() + e + 1);
    std::string sign = scientific[0] == '-' ? "-" : "";
    std::string digits;
    for (size_t i = sign.size(); i < e; ++i) {
        if (IsDigit(scientific[i]))
            digits += scientific[i];
    }

    const int count = static_cast<int>(digits.size());
    if (exponent >= 15 || exponent < -15) {
        std::string mantissa = digits.substr(0, 1) + (count > 1 ? "." + digits.substr(1) : "");
        char exponentText[16];
        std::snprintf(exponentText, sizeof exponentText, "E%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
        return sign + mantissa + exponentText;
    }
    if (exponent < 0)
        return sign + "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    if (count <= exponent + 1)
        return sign + digits + std::string(static_cast<size_t>(exponent + 1 - count), '0');
    return sign + digits.substr(0, static_cast<size_t>(exponent + 1)) + "." +
           digits.substr(static_cast<size_t>(exponent + 1));
}

}  // namespace zelmora
