#include <gtest/gtest.h>

#include "harness.h"

namespace zelmora::testing {
namespace {

struct Totals : ::testing::Test {
    Harness h;
    Form1& form = h.form;

    void SetTotals(const char* gb, const char* mb, const char* kb) {
        form.TGB.SetText(gb);
        form.TMB.SetText(mb);
        form.TKB.SetText(kb);
        h.settings.writes.clear();
        h.settings.saves.clear();
    }
    size_t Saves() const { return h.settings.saves.size(); }
};

TEST_F(Totals, BelowAUnitNothingHappens) {
    SetTotals("0", "0", "0");
    form.TKB.SetText("1023");
    EXPECT_EQ(form.TMB.Text(), "0");
    EXPECT_EQ(Saves(), 0u);
}

TEST_F(Totals, AFullUnitCarriesAndSavesOnce) {
    SetTotals("0", "0", "0");
    form.TKB.SetText("1024");
    EXPECT_EQ(form.TKB.Text(), "0");
    EXPECT_EQ(form.TMB.Text(), "1");
    EXPECT_EQ(h.settings.writes, (std::vector<std::string>{"Cls/TGB=0", "Cls/TMB=1", "Cls/TKB=0"}));
}

// The nested carries save once, as the outermost ends: no state between them is ever stored.
TEST_F(Totals, SeveralUnitsCarryOneAtATimeAndSaveOnceTheFinalState) {
    SetTotals("0", "2", "0");
    form.TKB.SetText("5000");
    EXPECT_EQ(form.TKB.Text(), "904");
    EXPECT_EQ(form.TMB.Text(), "6");
    EXPECT_EQ(h.settings.saves, (std::vector<std::vector<std::string>>{{"Cls/TGB=0", "Cls/TMB=6", "Cls/TKB=904"}}));
}

TEST_F(Totals, CarriesRunThroughToGigabytes) {
    SetTotals("4", "1023", "0");
    form.TKB.SetText("1024");
    EXPECT_EQ(form.TKB.Text(), "0");
    EXPECT_EQ(form.TMB.Text(), "0");
    EXPECT_EQ(form.TGB.Text(), "5");
    EXPECT_EQ(Saves(), 1u);
    EXPECT_EQ(h.settings.values["Cls/TGB"], "5");
    EXPECT_EQ(h.settings.values["Cls/TKB"], "0");
}

TEST_F(Totals, NegativeAndNonNumericTotalsAreNotCarried) {
    SetTotals("0", "0", "0");
    form.TKB.SetText("-5000");
    form.TMB.SetText("lots");
    EXPECT_EQ(form.TKB.Text(), "-5000");
    EXPECT_EQ(form.TGB.Text(), "0");
    EXPECT_EQ(Saves(), 0u);
}

TEST_F(Totals, AHugeHandEditedTotalCarriesInOneStep) {
    SetTotals("0", "0", "0");
    form.TKB.SetText("1e12");
    EXPECT_EQ(form.TKB.Text(), "0");
    EXPECT_EQ(form.TMB.Text(), "324");
    EXPECT_EQ(form.TGB.Text(), "953674");
    EXPECT_EQ(Saves(), 1u);
}

// Nothing ever shows or stores NaN or Infinity: a total past the largest double counts as no number, and a
// carry that would pass it is not made.
TEST_F(Totals, NoTotalBecomesANumberPastTheLargest) {
    SetTotals("0", "7", "1e999");
    EXPECT_EQ(form.TKB.Text(), "1e999");
    EXPECT_EQ(form.TMB.Text(), "7");
    SetTotals("1.7976931348623157e308", "1e308", "0");
    EXPECT_EQ(form.TMB.Text(), "1e308");
    EXPECT_EQ(form.TGB.Text(), "1.7976931348623157e308");
    EXPECT_EQ(Saves(), 0u);
}

TEST_F(Totals, ClearingResetsAndStoresZero) {
    SetTotals("3", "17", "900");
    form.model.ClickMenu("TCls");
    EXPECT_EQ(form.TGB.Text(), "0");
    EXPECT_EQ(form.TMB.Text(), "0");
    EXPECT_EQ(form.TKB.Text(), "0");
    EXPECT_EQ(h.settings.writes, (std::vector<std::string>{"Cls/TGB=0", "Cls/TMB=0", "Cls/TKB=0"}));
}

}  // namespace
}  // namespace zelmora::testing
