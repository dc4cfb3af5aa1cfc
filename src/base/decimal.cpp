#include "base/decimal.h"

#include <cstring>
#include <limits>

namespace zelmora {

namespace {

// The largest shift made in one step: nine times two to this power, with its carry, still fits 64 bits.
constexpr int kMaxShift = 60;

constexpr int kMantissaBits = 52;
constexpr int kExponentBits = 11;
constexpr int kBias = -1023;
constexpr int kInfinityExponent = (1 << kExponentBits) - 1;

double Assemble(bool negative, uint64_t mantissa, int exponent) {
    uint64_t bits =
        (mantissa & ((uint64_t{1} << kMantissaBits) - 1)) | (static_cast<uint64_t>(exponent - kBias) << kMantissaBits);
    if (negative)
        bits |= uint64_t{1} << 63;
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

double Infinity(bool negative) {
    return Assemble(negative, 0, kInfinityExponent + kBias);
}

double Zero(bool negative) {
    return Assemble(negative, 0, kBias);
}

}  // namespace

Decimal Decimal::Of(double value) {
    uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    Decimal decimal;
    decimal.negative_ = (bits >> 63) != 0;
    const int biased = static_cast<int>((bits >> kMantissaBits) & kInfinityExponent);
    uint64_t mantissa = bits & ((uint64_t{1} << kMantissaBits) - 1);
    int exponent = kBias + 1;  // of a subnormal number, 0.m times two to this power
    if (biased != 0) {
        mantissa |= uint64_t{1} << kMantissaBits;
        exponent = biased + kBias;
    }
    char reversed[20];
    int length = 0;
    for (; mantissa > 0; mantissa /= 10)
        reversed[length++] = static_cast<char>(mantissa % 10);
    while (length > 0)
        decimal.digits_[decimal.count_++] = reversed[--length];
    decimal.point_ = decimal.count_;
    decimal.Trim();
    decimal.Shift(exponent - kMantissaBits);
    return decimal;
}

Decimal Decimal::Parse(std::string_view number) {
    Decimal decimal;
    size_t i = 0;
    if (i < number.size() && (number[i] == '+' || number[i] == '-'))
        decimal.negative_ = number[i++] == '-';
    bool afterPoint = false;
    for (; i < number.size() && (IsDigit(number[i]) || number[i] == '.'); ++i) {
        const char c = number[i];
        if (c == '.') {
            afterPoint = true;
        } else if (c == '0' && decimal.count_ == 0) {
            if (afterPoint)
                --decimal.point_;  // a leading zero
        } else {
            if (!afterPoint)
                ++decimal.point_;
            if (decimal.count_ < kMaxDigits)
                decimal.digits_[decimal.count_++] = static_cast<char>(c - '0');
            else if (c != '0')
                decimal.truncated_ = true;
        }
    }
    if (i < number.size() && (number[i] == 'e' || number[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < number.size() && (number[i] == '+' || number[i] == '-'))
            negativeExponent = number[i++] == '-';
        int exponent = 0;
        for (; i < number.size() && IsDigit(number[i]); ++i) {
            if (exponent < 100000)  // far past every double either way
                exponent = exponent * 10 + (number[i] - '0');
        }
        decimal.point_ += negativeExponent ? -exponent : exponent;
    }
    decimal.Trim();
    return decimal;
}

double Decimal::ToDouble() const {
    if (count_ == 0 || point_ < -330)
        return Zero(negative_);
    if (point_ > 310)
        return Infinity(negative_);

    // Scale into [0.5, 1) by powers of two, taking about a decimal digit's worth of bits at a time.
    constexpr int kBitsForDigits[] = {1, 3, 6, 9, 13, 16, 19, 23, 26};
    constexpr int kSteps = static_cast<int>(sizeof kBitsForDigits / sizeof kBitsForDigits[0]);
    Decimal d = *this;
    int exponent = 0;
    while (d.point_ > 0) {
        const int bits = d.point_ >= kSteps ? 27 : kBitsForDigits[d.point_];
        d.Shift(-bits);
        exponent += bits;
    }
    while (d.point_ < 0 || (d.point_ == 0 && d.digits_[0] < 5)) {
        const int bits = -d.point_ >= kSteps ? 27 : kBitsForDigits[-d.point_];
        d.Shift(bits);
        exponent -= bits;
    }
    --exponent;  // into [1, 2)

    if (exponent < kBias + 1) {  // subnormal
        d.Shift(exponent - (kBias + 1));
        exponent = kBias + 1;
    }
    if (exponent - kBias >= kInfinityExponent)
        return Infinity(negative_);

    d.Shift(1 + kMantissaBits);
    uint64_t mantissa = d.RoundedInteger();
    if (mantissa == uint64_t{2} << kMantissaBits) {  // rounding carried into another bit
        mantissa >>= 1;
        if (++exponent - kBias >= kInfinityExponent)
            return Infinity(negative_);
    }
    if ((mantissa & (uint64_t{1} << kMantissaBits)) == 0)
        exponent = kBias;
    return Assemble(negative_, mantissa, exponent);
}

Decimal Decimal::Rounded(int digits) const {
    Decimal rounded = *this;
    rounded.Round(digits, ShouldRoundUp(digits));
    return rounded;
}

Decimal Decimal::Truncated(int digits) const {
    Decimal truncated = *this;
    truncated.Round(digits, false);
    return truncated;
}

std::string Decimal::Digits() const {
    std::string text(static_cast<size_t>(count_), '0');
    for (int i = 0; i < count_; ++i)
        text[static_cast<size_t>(i)] = static_cast<char>('0' + digits_[i]);
    return text;
}

void Decimal::Shift(int bits) {
    if (count_ == 0)
        return;
    for (; bits > kMaxShift; bits -= kMaxShift)
        ShiftLeft(kMaxShift);
    for (; bits < -kMaxShift; bits += kMaxShift)
        ShiftRight(kMaxShift);
    if (bits > 0)
        ShiftLeft(bits);
    else if (bits < 0)
        ShiftRight(-bits);
}

// Multiplies by two to the power given, from the last digit up, into a buffer with room for the new ones.
void Decimal::ShiftLeft(int bits) {
    char shifted[kMaxDigits + 20];
    int write = static_cast<int>(sizeof shifted);
    uint64_t carry = 0;
    for (int read = count_ - 1; read >= 0; --read) {
        carry += static_cast<uint64_t>(digits_[read]) << bits;
        shifted[--write] = static_cast<char>(carry % 10);
        carry /= 10;
    }
    for (; carry > 0; carry /= 10)
        shifted[--write] = static_cast<char>(carry % 10);

    const int total = static_cast<int>(sizeof shifted) - write;
    point_ += total - count_;
    count_ = 0;
    for (int i = write; i < static_cast<int>(sizeof shifted); ++i) {
        if (count_ < kMaxDigits)
            digits_[count_++] = shifted[i];
        else if (shifted[i] != 0)
            truncated_ = true;
    }
    Trim();
}

// Divides by two to the power given, as long division from the first digit.
void Decimal::ShiftRight(int bits) {
    int read = 0;
    int write = 0;
    uint64_t remainder = 0;
    for (; (remainder >> bits) == 0; ++read) {
        if (read >= count_) {
            while ((remainder >> bits) == 0) {
                remainder *= 10;
                ++read;
            }
            break;
        }
        remainder = remainder * 10 + static_cast<uint64_t>(digits_[read]);
    }
    point_ -= read - 1;

    const uint64_t mask = (uint64_t{1} << bits) - 1;
    for (; read < count_; ++read) {
        const char next = digits_[read];
        digits_[write++] = static_cast<char>(remainder >> bits);
        remainder = (remainder & mask) * 10 + static_cast<uint64_t>(next);
    }
    for (; remainder > 0; remainder = (remainder & mask) * 10) {
        const auto digit = static_cast<char>(remainder >> bits);
        if (write < kMaxDigits)
            digits_[write++] = digit;
        else if (digit != 0)
            truncated_ = true;
    }
    count_ = write;
    Trim();
}

void Decimal::Trim() {
    while (count_ > 0 && digits_[count_ - 1] == 0)
        --count_;
    if (count_ == 0)
        point_ = 0;
}

// Whether cutting to the given digits rounds up: past half, or exactly half and the last kept digit odd.
bool Decimal::ShouldRoundUp(int digits) const {
    if (digits < 0 || digits >= count_)
        return false;
    if (digits_[digits] == 5 && digits + 1 == count_) {
        if (truncated_)
            return true;  // a dropped digit makes it more than half
        return digits > 0 && digits_[digits - 1] % 2 == 1;
    }
    return digits_[digits] >= 5;
}

void Decimal::Round(int digits, bool up) {
    if (digits < 0 || digits >= count_)
        return;
    truncated_ = false;
    count_ = digits;
    if (!up) {
        Trim();
        return;
    }
    for (int i = digits - 1; i >= 0; --i) {
        if (digits_[i] < 9) {
            ++digits_[i];
            count_ = i + 1;
            return;
        }
    }
    digits_[0] = 1;  // all nines: one more digit
    count_ = 1;
    ++point_;
}

uint64_t Decimal::RoundedInteger() const {
    if (point_ > 20)
        return std::numeric_limits<uint64_t>::max();
    uint64_t value = 0;
    int i = 0;
    for (; i < point_ && i < count_; ++i)
        value = value * 10 + static_cast<uint64_t>(digits_[i]);
    for (; i < point_; ++i)
        value *= 10;
    if (ShouldRoundUp(point_))
        ++value;
    return value;
}

}  // namespace zelmora
