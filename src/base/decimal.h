#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zelmora {

// A digit of a number text: '0' to '9', whatever the locale.
inline bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// A decimal number held as its digits, for conversions between decimal text and doubles that are correctly
// rounded and the same on every platform, without the C library's. Multiplying and dividing by powers of two
// is done on the digits, as Go's strconv package does in its exact conversions.
class Decimal {
public:
    // More than the 767 significant digits of the longest double; digits past this are dropped, and only
    // whether any of them was non-zero is kept.
    static constexpr int kMaxDigits = 800;

    // The exact value of a finite double.
    static Decimal Of(double value);
    // A number text of the form [+|-]digits[.digits][e[+|-]digits], as NumericValue collects it.
    static Decimal Parse(std::string_view number);

    // The nearest double, ties to even; out of range gives infinity or zero.
    double ToDouble() const;
    // Rounded to the given number of significant digits, ties to even; or cut to them.
    Decimal Rounded(int digits) const;
    Decimal Truncated(int digits) const;

    // The significant digits, without trailing zeros ("" for zero), and the power of ten of the first one.
    std::string Digits() const;
    int Exponent() const { return point_ - 1; }

private:
    void Shift(int bits);
    void ShiftLeft(int bits);
    void ShiftRight(int bits);
    void Trim();
    bool ShouldRoundUp(int digits) const;
    void Round(int digits, bool up);
    uint64_t RoundedInteger() const;

    char digits_[kMaxDigits] = {};  // digit values 0 to 9, most significant first
    int count_ = 0;                 // digits in use
    int point_ = 0;                 // the value is 0.d1d2d3... times ten to this power
    bool negative_ = false;
    bool truncated_ = false;  // non-zero digits were dropped past kMaxDigits
};

}  // namespace zelmora
