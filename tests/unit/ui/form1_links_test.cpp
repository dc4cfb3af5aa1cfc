#include <gtest/gtest.h>

#include <set>

#include "harness.h"

namespace zelmora::testing {
namespace {

struct Links : ::testing::Test {
    Harness h;
    Form1& form = h.form;
};

TEST_F(Links, EachMenuLinkOpensItsOwnPageEveryTime) {
    const Form1Menu items[] = {"Tindex", "TDown", "Tweibo", "TClassDown", "Tindex"};
    for (const Form1Menu item : items)
        form.model.ClickMenu(item);
    ASSERT_EQ(h.browser.opened.size(), 5u);
    EXPECT_EQ(h.browser.opened[0], h.browser.opened[4]) << "the same link twice opens two windows";
    std::set<std::string> distinct(h.browser.opened.begin(), h.browser.opened.end());
    EXPECT_EQ(distinct.size(), 4u);
    for (const std::string& url : distinct)
        EXPECT_EQ(url.rfind("https://www.example.com/", 0), 0u) << url;
}

TEST_F(Links, ABrowserThatCannotStartIsReportedWithTheAddress) {
    h.browser.fail = true;
    form.model.ClickMenu("TDown");
    EXPECT_EQ(h.messages.shown, std::vector<std::string>{std::string("无法打开网页：") + kProgramPage});
    EXPECT_TRUE(h.failures.empty());
}

TEST_F(Links, TheAboutWindowIsOneObjectLoadedAtEachShow) {
    h.window.whileModal = [&](FormModel& shown) {
        auto& about = static_cast<FAboutModel&>(shown);
        about.SetCaption("changed while shown");
        about.Named<"Command1">().Click();
    };
    form.model.ClickMenu("TaboutI");
    form.model.ClickMenu("TaboutI");
    EXPECT_EQ(h.window.modalCaptions, (std::vector<std::string>{"关于版本", "关于版本"}));
    EXPECT_EQ(h.browser.opened, (std::vector<std::string>{kAuthorWeiboPage, kAuthorWeiboPage}));
}

}  // namespace
}  // namespace zelmora::testing
