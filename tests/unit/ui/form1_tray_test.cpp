#include <gtest/gtest.h>

#include "harness.h"

namespace zelmora::testing {
namespace {

struct Tray : ::testing::Test {
    Harness h;
    Form1& form = h.form;
    void MouseMove(float x) { form.picMouseEvent.MouseMove(0, 0, x, 0); }
};

TEST_F(Tray, TheRecordIsFilledAndTheIconAddedAtLoad) {
    form.model.RaiseFormEvent(FormEvent::Load);
    ASSERT_EQ(h.tray.calls.size(), 1u);
    const NotifyRecord& record = h.tray.calls[0].record;
    EXPECT_EQ(h.tray.calls[0].message, NotifyRecord::kAdd);
    EXPECT_EQ(record.cbSize, 88u);
    EXPECT_EQ(record.hWnd, 0x1234u);
    EXPECT_EQ(record.hIcon, 0x5678u);
    EXPECT_EQ(record.uFlags, 3u);
    EXPECT_EQ(record.uCallbackMessage, 512u);
    EXPECT_EQ(record.uID, 1515151743u) << "the unseeded generator draws the same first value every run";
    EXPECT_EQ(record.szTip, "使用系统托盘程序") << "blanks follow it in the record's bytes";
}

TEST_F(Tray, AddModifyAndDeleteCarryTheSameIdentity) {
    EXPECT_EQ(form.SetInTaskBar(), 1);
    h.window.state = WindowState::Minimised;
    form.model.RaiseFormEvent(FormEvent::Resize);
    form.tChangePic.Tick();
    form.tChangePic.Tick();
    form.DeleteIcon();
    ASSERT_EQ(h.tray.calls.size(), 4u);
    EXPECT_EQ(h.tray.calls[1].message, NotifyRecord::kModify);
    EXPECT_EQ(h.tray.calls[1].record.uFlags, 3u);
    EXPECT_EQ(h.tray.calls[3].message, NotifyRecord::kDelete);
    EXPECT_EQ(h.tray.calls[3].record.uFlags, 2u);
    for (const auto& call : h.tray.calls) {
        EXPECT_EQ(call.record.uID, h.tray.calls[0].record.uID);
        EXPECT_EQ(call.record.hWnd, 0x1234u);
        EXPECT_EQ(call.record.hIcon, 0x5678u);
    }
}

TEST_F(Tray, AFailedStepIsRetriedOnceWithANewIdentifier) {
    h.tray.answers = {RecordingTray::kFail};
    EXPECT_EQ(form.SetInTaskBar(), 1);
    ASSERT_EQ(h.tray.calls.size(), 2u);
    EXPECT_EQ(h.tray.calls[1].record.uID, 1145519359u);

    Harness early;
    early.window.failHandles = 1;
    EXPECT_EQ(early.form.SetInTaskBar(), 1);
    ASSERT_EQ(early.tray.calls.size(), 1u);
    EXPECT_EQ(early.tray.calls[0].record.uID, 1515151743u) << "the failed pass stopped before drawing";

    Harness twice;
    twice.window.failHandles = 2;
    EXPECT_THROW(twice.form.SetInTaskBar(), std::runtime_error);
    EXPECT_TRUE(twice.tray.calls.empty());
}

TEST_F(Tray, ARefusalIsReturnedNotRetried) {
    h.tray.answers = {0};
    EXPECT_EQ(form.SetInTaskBar(), 0);
    EXPECT_EQ(h.tray.calls.size(), 1u);
}

TEST_F(Tray, OnlyTheLowByteOfTheRoundedXIsDecoded) {
    MouseMove(7725);
    EXPECT_TRUE(h.window.visible);
    EXPECT_TRUE(h.window.popups.empty());
    MouseMove(7755);
    EXPECT_EQ(h.window.popups, std::vector<std::string>{"TFile"});
    for (float x : {7680.f, 7695.f, 7710.f, 7740.f, 7770.f, 7785.f, 7800.f, 7815.f, 6180.f, 6204.f}) {
        h.window.visible = false;
        MouseMove(x);
        EXPECT_FALSE(h.window.visible) << x;
    }
    EXPECT_EQ(h.window.popups.size(), 1u);
    for (float x : {45.f, 301.f, 44.6f}) {
        h.window.visible = false;
        MouseMove(x);
        EXPECT_TRUE(h.window.visible) << x;
    }
    MouseMove(75);
    EXPECT_EQ(h.window.popups.size(), 2u);
}

TEST_F(Tray, MinimisingHidesIntoTheTrayAndADoubleClickBringsItBack) {
    h.window.state = WindowState::Maximised;
    form.model.RaiseFormEvent(FormEvent::Resize);
    EXPECT_TRUE(h.window.visible);
    EXPECT_FALSE(form.tChangePic.Enabled());

    h.window.state = WindowState::Minimised;
    form.model.RaiseFormEvent(FormEvent::Resize);
    EXPECT_FALSE(h.window.visible);
    EXPECT_TRUE(form.tChangePic.Enabled());

    MouseMove(7725);
    EXPECT_TRUE(h.window.visible);
    EXPECT_EQ(h.window.state, WindowState::Normal);
    EXPECT_FALSE(form.tChangePic.Enabled());
}

TEST_F(Tray, ALostIconIsAddedAgainWithTheSameRecord) {
    form.SetInTaskBar();
    h.tray.answers = {0};
    form.tChangePic.SetEnabled(true);
    form.tChangePic.Tick();
    form.model.RaiseFormEvent(FormEvent::TaskbarCreated);
    ASSERT_EQ(h.tray.calls.size(), 4u);
    EXPECT_EQ(h.tray.calls[1].message, NotifyRecord::kModify);
    EXPECT_EQ(h.tray.calls[2].message, NotifyRecord::kAdd);
    EXPECT_EQ(h.tray.calls[3].message, NotifyRecord::kAdd);
    EXPECT_EQ(h.tray.calls[3].record.uID, h.tray.calls[0].record.uID);
    EXPECT_EQ(h.tray.calls[3].record.uFlags, 3u);
}

TEST_F(Tray, UnloadRemovesTheIconBeforeWritingTheSettings) {
    form.model.RaiseFormEvent(FormEvent::Load);
    h.tray.calls.clear();
    h.settings.writes.clear();
    form.model.RaiseFormEvent(FormEvent::Unload);
    ASSERT_EQ(h.tray.calls.size(), 1u);
    EXPECT_EQ(h.tray.calls[0].message, NotifyRecord::kDelete);
    EXPECT_EQ(h.tray.calls[0].settingsWritten, 0u);
    EXPECT_EQ(h.settings.writes.size(), 6u);
}

}  // namespace
}  // namespace zelmora::testing
