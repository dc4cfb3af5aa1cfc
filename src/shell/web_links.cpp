#include "shell/web_links.h"

#include <string_view>

#include "base/failure.h"
#include "ui/form1.h"

namespace zelmora {

namespace {

struct Link {
    std::string_view trigger;
    const char* url;
};

// Every page the program links to, in one place.
constexpr Link kLinks[] = {
    {"Tindex", "https://www.example.com/zelmora/author/"},          // the author's home page
    {"TDown", "https://www.example.com/zelmora/"},                  // the program's page, with new versions
    {"Tweibo", "https://www.example.com/weibo-desktop/"},           // the Weibo desktop client
    {"TClassDown", "https://www.example.com/downloads/veltaro/"},   // Veltaro on a download site
    {"Command1", "https://www.example.com/zelmora/author/weibo/"},  // the author's Weibo profile
};

}  // namespace

std::string WebLink(const std::string& trigger) {
    for (const Link& link : kLinks) {
        if (link.trigger == trigger)
            return link.url;
    }
    throw Failure("no link for " + trigger);
}

void Form1::OpenUrl(const std::string& url) {
    try {
        services_.browser.Open(url);
    } catch (...) {
        services_.messages.Show("无法打开网页：" + url);
    }
}

void Form1::Tindex_Click() {
    OpenUrl(WebLink("Tindex"));
}

void Form1::TDown_Click() {
    OpenUrl(WebLink("TDown"));
}

void Form1::Tweibo_Click() {
    OpenUrl(WebLink("Tweibo"));
}

void Form1::TClassDown_Click() {
    OpenUrl(WebLink("TClassDown"));
}

// One About window object for the whole run; its window is loaded anew each time it is shown.
void Form1::TaboutI_Click() {
    if (!about_)
        about_ = std::make_unique<FAbout>(dispatch_, [this](const std::string& url) { OpenUrl(url); });
    services_.window.ShowModal(about_->model);
}

void Form1::Label1_Click() {
    services_.messages.Show(std::to_string(Tm1.Interval()));
}

}  // namespace zelmora
