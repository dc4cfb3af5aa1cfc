#include "shell/web_links.h"
#include "ui/form1.h"
#include "ui/program_texts.h"

namespace zelmora {

void Form1::OpenUrl(const std::string& url) {
    try {
        services_.browser.Open(url);
    } catch (...) {
        services_.messages.Show(texts::PageNotOpened(url));
    }
}

void Form1::Tindex_Click() {
    OpenUrl(kAuthorHomePage);
}

void Form1::TDown_Click() {
    OpenUrl(kProgramPage);
}

void Form1::Tweibo_Click() {
    OpenUrl(kWeiboDesktopPage);
}

void Form1::TClassDown_Click() {
    OpenUrl(kVeltaroPage);
}

// One About window object for the whole run; its window is loaded anew each time it is shown.
void Form1::TaboutI_Click() {
    if (!about_)
        about_ = std::make_unique<FAbout>(dispatch_, [this](const std::string& url) { OpenUrl(url); });
    services_.window.ShowModal(about_->model);
}

}  // namespace zelmora
