#include "ui/fabout.h"

#include "shell/web_links.h"
#include "ui/program_texts.h"

namespace zelmora {

FAbout::FAbout(EventDispatch& dispatch, std::function<void(const std::string&)> openUrl)
    : model(dispatch), openUrl_(std::move(openUrl)) {
    model.BindFormEvent(FormEvent::Load, [this] { Form_Load(); });
    model.Named<"Command1">().Bind([this] { Command1_Click(); });
}

void FAbout::Form_Load() {
    model.SetCaption(texts::kAboutTitle);
}

void FAbout::Command1_Click() {
    openUrl_(kAuthorWeiboPage);
}

}  // namespace zelmora
