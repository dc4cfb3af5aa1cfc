#include <gtest/gtest.h>

#include <utility>

#include "harness.h"

namespace zelmora::testing {
namespace {

struct Clearing : ::testing::Test {
    Harness h;
    Form1& form = h.form;
};

TEST_F(Clearing, CleanNowAndAutoClear) {
    form.LTime.SetText("500");
    form.Ccls.Click();
    EXPECT_EQ(form.LTime.Text(), "0");

    form.CDel.SetValue(CheckState::Ticked);
    EXPECT_TRUE(form.Tm1.Enabled());
    form.CDel.SetValue(CheckState::Greyed);
    EXPECT_FALSE(form.Tm1.Enabled());
    form.CDel.SetValue(CheckState::Ticked);
    form.CDel.SetValue(CheckState::Unticked);
    EXPECT_FALSE(form.Tm1.Enabled());
    EXPECT_EQ(form.LTime.Text(), "0") << "switching does not touch the countdown";
}

TEST_F(Clearing, EditingTheIntervalRestartsTheCountdown) {
    form.LTime.SetText("7");
    for (auto [typed, countdown] : std::vector<std::pair<const char*, const char*>>{
             {"3", "180"}, {"30", "1800"}, {"2.5", "150"}, {"0", "150"}, {"", "150"}, {"x", "150"}, {"1e308", "150"}}) {
        form.TDel.SetText(typed);
        EXPECT_EQ(form.LTime.Text(), countdown) << typed;
    }
}

TEST_F(Clearing, TheIntervalLabelShowsTheTimersInterval) {
    form.model.Named<"Label1">().Click();
    form.CDel.SetValue(CheckState::Ticked);
    form.model.Named<"Label1">().Click();
    form.model.Named<"Label2">().Click();
    EXPECT_EQ(h.messages.shown, (std::vector<std::string>{"1000", "1000"}));
}

}  // namespace
}  // namespace zelmora::testing
