#pragma once

#include <functional>
#include <string>

#include "ui/fabout_description.h"
#include "ui/form_model.h"

namespace zelmora {

using FAboutModel = DescribedForm<kFAboutDescription>;

// The About window: the product's name, the author credit and a button to the author's Weibo profile.
class FAbout {
public:
    FAbout(EventDispatch& dispatch, std::function<void(const std::string&)> openUrl);
    FAbout(const FAbout&) = delete;
    FAbout& operator=(const FAbout&) = delete;

    FAboutModel model;

    void Form_Load();
    void Command1_Click();

private:
    std::function<void(const std::string&)> openUrl_;
};

}  // namespace zelmora
