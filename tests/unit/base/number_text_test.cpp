#include <gtest/gtest.h>

#include <cmath>

#include "base/number_text.h"

namespace zelmora {
namespace {

TEST(NumericValue, ReadsTheNumberATextBeginsWith) {
    EXPECT_EQ(NumericValue("007"), 7);
    EXPECT_EQ(NumericValue("2.5"), 2.5);
    EXPECT_EQ(NumericValue("1e3"), 1000);
    EXPECT_EQ(NumericValue("-4"), -4);
    EXPECT_EQ(NumericValue("+.5"), 0.5);
    EXPECT_EQ(NumericValue("15 min"), 15);
    EXPECT_EQ(NumericValue("3.5.1"), 3.5);
    EXPECT_EQ(NumericValue("12abc"), 12);
}

TEST(NumericValue, SkipsBlanksTabsAndLineFeedsAnywhere) {
    EXPECT_EQ(NumericValue(" 1 5"), 15);
    EXPECT_EQ(NumericValue("\t1\n2"), 12);
    EXPECT_EQ(NumericValue(" - 2 . 5"), -2.5);
    EXPECT_EQ(NumericValue("1 e 2"), 100);
}

TEST(NumericValue, GivesZeroWithoutANumber) {
    EXPECT_EQ(NumericValue(""), 0);
    EXPECT_EQ(NumericValue("abc"), 0);
    EXPECT_EQ(NumericValue("LTime"), 0);
    EXPECT_EQ(NumericValue("-"), 0);
    EXPECT_EQ(NumericValue("."), 0);
    EXPECT_EQ(NumericValue("\r5"), 0);  // a carriage return is not skipped
    EXPECT_FALSE(std::signbit(NumericValue("-0")));
}

TEST(NumericValue, AnExponentNeedsDigits) {
    EXPECT_EQ(NumericValue("5e"), 5);
    EXPECT_EQ(NumericValue("5e+"), 5);
    EXPECT_EQ(NumericValue("2E-1"), 0.2);
    EXPECT_EQ(NumericValue("1e308"), 1e308);
    EXPECT_EQ(NumericValue("1e999"), 0) << "past the largest double: no number";
    EXPECT_EQ(NumericValue("-1e999"), 0);
}

// Cases where a conversion that is not exact gives another double.
TEST(NumericValue, IsCorrectlyRounded) {
    EXPECT_EQ(NumericValue("9007199254740993"), 9007199254740992.0) << "half way: to even";
    EXPECT_EQ(NumericValue("9007199254740993.0000000000000000000001"), 9007199254740994.0);
    EXPECT_EQ(NumericValue("2.2250738585072011e-308"), 2.225073858507201e-308);
    EXPECT_EQ(NumericValue("4.9406564584124654e-324"), 5e-324);
    EXPECT_EQ(NumericValue("2e-324"), 0);
    EXPECT_EQ(NumericValue("1.7976931348623158e308"), 1.7976931348623157e308);
    EXPECT_EQ(NumericValue("1.7976931348623159e308"), 0) << "rounds past the largest double";
    EXPECT_EQ(NumericValue("0." + std::string(400, '0') + "1e401"), 1);
    // Digits past those kept still decide a tie: 1 + 2^-53 and a little more rounds up.
    EXPECT_EQ(NumericValue("1.00000000000000011102230246251565404236316680908203125" + std::string(900, '0') + "1"),
              1.0000000000000002);
    EXPECT_EQ(NumericValue("1.00000000000000011102230246251565404236316680908203125"), 1.0);
}

TEST(DecimalText, WholeNumbersHaveNoPoint) {
    EXPECT_EQ(DecimalText(0), "0");
    EXPECT_EQ(DecimalText(10), "10");
    EXPECT_EQ(DecimalText(1800), "1800");
    EXPECT_EQ(DecimalText(-59), "-59");
    EXPECT_EQ(DecimalText(123456789012345.0), "123456789012345");
    EXPECT_EQ(DecimalText(-0.0), "0");
}

TEST(DecimalText, FractionsUseAPeriodAndAtMostFifteenDigits) {
    EXPECT_EQ(DecimalText(2.5), "2.5");
    EXPECT_EQ(DecimalText(0.5), "0.5");
    EXPECT_EQ(DecimalText(1.5), "1.5");
    EXPECT_EQ(DecimalText(0.1 + 0.2), "0.3");
    EXPECT_EQ(DecimalText(1.0 / 3), "0.333333333333333");
    EXPECT_EQ(DecimalText(0.001), "0.001");
}

TEST(DecimalText, VeryLargeOrSmallNumbersUseAnExponent) {
    EXPECT_EQ(DecimalText(1e15), "1E+15");
    EXPECT_EQ(DecimalText(1e308), "1E+308");
    EXPECT_EQ(DecimalText(1.5e-20), "1.5E-20");
}

TEST(DecimalText, RoundTripsThroughNumericValue) {
    for (double value : {0.0, 1.0, 2.5, 59.0, 1800.0, 1e-5, 123.456, -7.25, 1e14, 98765.4321})
        EXPECT_EQ(NumericValue(DecimalText(value)), value) << value;
    EXPECT_EQ(DecimalText(5e-324), "5E-324");
    EXPECT_EQ(DecimalText(1.2345678901234567e-310), "1.23456789012346E-310");
    EXPECT_EQ(DecimalText(0.000123456789012345678), "0.000123456789012346");
    EXPECT_EQ(DecimalText(999999999999999.5), "1E+15") << "rounding adds a digit";
    EXPECT_EQ(DecimalText(-1.7976931348623157e308), "-1.79769313486231E+308") << "cut, not rounded past the largest";
}

}  // namespace
}  // namespace zelmora
