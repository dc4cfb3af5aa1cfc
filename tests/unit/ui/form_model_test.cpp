#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "ui/form1.h"

namespace zelmora {
namespace {

// The model's control of that name, with every operation the realization uses.
Control& Raw(const Form1Model& form, Form1Control name) {
    return *form.Controls()[name.Index()];
}

struct Model : ::testing::Test {
    std::vector<std::string> failures;
    EventDispatch dispatch{[this](const std::string& failure) { failures.push_back(failure); }};
    Form1Model form{dispatch};
};

TEST_F(Model, StartsWithTheDesignTimeValues) {
    EXPECT_EQ(form.Caption(), "Form1");
    EXPECT_EQ(Raw(form, "TDel").Text(), "TDel");
    EXPECT_EQ(Raw(form, "LTime").Text(), "LTime");
    EXPECT_EQ(Raw(form, "Tx1").Text(), "Tx1\r\n");
    EXPECT_EQ(Raw(form, "CDel").Value(), CheckState::Unticked);
    EXPECT_EQ(Raw(form, "CLoad").Value(), CheckState::Unticked);
    EXPECT_FALSE(Raw(form, "Tm1").Enabled());
    EXPECT_FALSE(Raw(form, "tChangePic").Enabled());
    EXPECT_EQ(Raw(form, "Tm1").Interval(), 1000);
    EXPECT_EQ(Raw(form, "tChangePic").Interval(), 500);
    EXPECT_FALSE(Raw(form, "Frame4").Visible());
    EXPECT_FALSE(Raw(form, "picMouseEvent").Visible());
    EXPECT_FALSE(Raw(form, "List1").Visible());
    EXPECT_TRUE(Raw(form, "Frame1").Visible());
}

TEST_F(Model, DescriptionIsConsistent) {
    const FormDescription& spec = kForm1Description;
    std::set<int> ids;
    std::set<int> tabs;
    for (const ControlDescription& control : spec.controls) {
        EXPECT_TRUE(ids.insert(control.id).second) << control.name;
        if (control.tabIndex >= 0) {
            EXPECT_TRUE(tabs.insert(control.tabIndex).second) << control.name;
        }
        if (control.container) {
            EXPECT_EQ(FindControl(spec, control.container)->kind, ControlKind::Frame) << control.name;
        }
    }
    for (const MenuDescription& menu : spec.menus)
        EXPECT_TRUE(ids.insert(menu.id).second) << menu.name;
    // Both columns end 2775 twips from the top.
    const ControlDescription& frame2 = Form1Control("Frame2").Description();
    const ControlDescription& frame3 = Form1Control("Frame3").Description();
    EXPECT_EQ(frame2.top + frame2.height, 2775);
    EXPECT_EQ(frame3.top + frame3.height, 2775);
}

TEST_F(Model, AChangedValueRaisesTheHandlerInsideTheWrite) {
    std::vector<std::string> seen;
    Control& tdel = Raw(form, "TDel");
    tdel.Bind([&] { seen.push_back("change " + tdel.Text()); });
    tdel.SetText("30");
    tdel.SetText("30");  // the same value raises nothing
    EXPECT_EQ(seen, std::vector<std::string>{"change 30"});

    Control& cdel = Raw(form, "CDel");
    int clicks = 0;
    cdel.Bind([&] { ++clicks; });
    cdel.SetValue(CheckState::Ticked);
    cdel.SetValue(CheckState::Ticked);
    cdel.SetValue(CheckState::Greyed);
    EXPECT_EQ(clicks, 2);
}

TEST_F(Model, NestedWritesRunBeforeTheOuterWriteReturns) {
    Control& tkb = Raw(form, "TKB");
    std::vector<std::string> order;
    tkb.Bind([&] {
        order.push_back("enter " + tkb.Text());
        if (tkb.Text() == "2")
            tkb.SetText("1");
        order.push_back("leave " + tkb.Text());
    });
    tkb.SetText("2");
    EXPECT_EQ(order, (std::vector<std::string>{"enter 2", "enter 1", "leave 1", "leave 1"}));
}

TEST_F(Model, LabelsRaiseNothingOnTextChange) {
    int raised = 0;
    Raw(form, "Label1").Bind([&] { ++raised; });
    Raw(form, "Label1").SetText("x");
    EXPECT_EQ(raised, 0);
    Raw(form, "Label1").Click();
    EXPECT_EQ(raised, 1);
}

TEST_F(Model, TimersTickOnlyWhileEnabled) {
    Control& tm1 = Raw(form, "Tm1");
    int ticks = 0;
    tm1.Bind([&] { ++ticks; });
    tm1.Tick();
    tm1.SetEnabled(true);
    tm1.Tick();
    tm1.Tick();
    tm1.SetEnabled(false);
    tm1.Tick();
    EXPECT_EQ(ticks, 2);
}

TEST_F(Model, ListKeepsTheLatestThousandLinesOrOneMegabyte) {
    Control& list = Raw(form, "List1");
    for (int i = 0; i < 1005; ++i)
        list.AddItem(std::to_string(i));
    ASSERT_EQ(list.Items().size(), RecentLines::kMaxLines);
    EXPECT_EQ(list.Items().front(), "5");
    EXPECT_EQ(list.Items().back(), "1004");
    for (char c : {'a', 'b', 'c', 'd', 'e'})
        list.AddItem(std::string(1 << 18, c));
    ASSERT_EQ(list.Items().size(), 4u);
    EXPECT_EQ(list.Items().front()[0], 'b');
}

TEST_F(Model, AFailureIsReportedOnceByTheOutermostHandlerAndTheProgramGoesOn) {
    Control& tkb = Raw(form, "TKB");
    Control& tmb = Raw(form, "TMB");
    tmb.Bind([] { throw std::runtime_error("disk on fire"); });
    tkb.Bind([&] { tmb.SetText(tkb.Text()); });
    tkb.SetText("5");
    EXPECT_EQ(failures, std::vector<std::string>{"disk on fire"});
    tkb.SetText("6");
    EXPECT_EQ(failures.size(), 2u);
}

// A message delivered inside a loop that a handler opened (a message box) fails there, not in the handler.
TEST_F(Model, AFailureOfAMessageDeliveredInsideAHandlerStaysWithThatMessage) {
    bool handlerFinished = false;
    Raw(form, "Tm1").Bind([] { throw std::runtime_error("tick failed"); });
    Raw(form, "Ccls").Bind([&] {
        Raw(form, "Tm1").SetEnabled(true);
        dispatch.Deliver([&] { Raw(form, "Tm1").Tick(); });
        handlerFinished = true;
    });
    dispatch.Deliver([&] { Raw(form, "Ccls").Click(); });
    EXPECT_TRUE(handlerFinished);
    EXPECT_EQ(failures, std::vector<std::string>{"tick failed"});
}

TEST_F(Model, ObserversSeeEveryChange) {
    std::vector<std::string> seen;
    Raw(form, "Lb1").Observe([&](const Control& control) { seen.push_back(control.Text()); });
    Raw(form, "Lb1").SetText("a");
    Raw(form, "Lb1").SetText("a");
    Raw(form, "Lb1").SetText("");
    EXPECT_EQ(seen, (std::vector<std::string>{"a", ""}));
}

TEST_F(Model, MenusAreBoundByName) {
    int clicks = 0;
    form.BindMenu("TCls", [&] { ++clicks; });
    form.ClickMenu("TCls");
    form.ClickMenu("TExit");  // unbound: nothing
    EXPECT_EQ(clicks, 1);
    std::vector<std::string> bar;
    for (const MenuDescription& menu : kForm1Description.menus) {
        if (!menu.parent)
            bar.push_back(menu.caption);
    }
    EXPECT_EQ(bar, (std::vector<std::string>{"文件", "设置", "帮助"}));
}

}  // namespace
}  // namespace zelmora
