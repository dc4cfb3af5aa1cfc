#include "base/number_text.h"

#include <cmath>

#include "base/decimal.h"

namespace zelmora {

namespace {

bool IsSkipped(char c) {
    return c == ' ' || c == '\t' || c == '\n';
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

// A number past the largest double counts as no number, as a text without one does: 0.
double NumericValue(std::string_view text) {
    const double value = Decimal::Parse(NumberPrefix(text)).ToDouble();
    return value == 0 || std::isinf(value) ? 0.0 : value;  // no negative zero
}

std::string DecimalText(double value) {
    if (value == 0)
        return "0";
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";

    // Round to 15 significant digits, then find the fewest digits that give the same value. Near the largest
    // double the rounding would pass it: the digits are cut instead, so the text reads back as a number.
    const Decimal exact = Decimal::Of(value);
    Decimal shortest = exact.Rounded(15);
    const double rounded = shortest.ToDouble();
    if (std::isinf(rounded))
        shortest = exact.Truncated(15);
    for (int count = 1; count < 15 && !std::isinf(rounded); ++count) {
        const Decimal fewer = exact.Rounded(count);
        if (fewer.ToDouble() == rounded) {
            shortest = fewer;
            break;
        }
    }

    const std::string sign = value < 0 ? "-" : "";
    const std::string digits = shortest.Digits();
    const int exponent = shortest.Exponent();
    const int count = static_cast<int>(digits.size());
    if (exponent >= 15 || exponent < -15) {
        const std::string magnitude = DecimalText(exponent < 0 ? -exponent : exponent);
        return sign + digits.substr(0, 1) + (count > 1 ? "." + digits.substr(1) : "") + "E" +
               (exponent < 0 ? "-" : "+") + (magnitude.size() < 2 ? "0" : "") + magnitude;
    }
    if (exponent < 0)
        return sign + "0." + std::string(static_cast<size_t>(-exponent - 1), '0') + digits;
    if (count <= exponent + 1)
        return sign + digits + std::string(static_cast<size_t>(exponent + 1 - count), '0');
    return sign + digits.substr(0, static_cast<size_t>(exponent + 1)) + "." +
           digits.substr(static_cast<size_t>(exponent + 1));
}

}  // namespace zelmora
