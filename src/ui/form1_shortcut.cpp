#include "settings/startup_link.h"
#include "ui/form1.h"
#include "ui/program_texts.h"

namespace zelmora {

void Form1::CLoad_Click() {
    const bool wanted = CLoad.Value() == CheckState::Ticked;
    try {
        MakeStartupLink(wanted ? LinkMode::Make : LinkMode::del);
    } catch (...) {
        Lb1.SetText(wanted ? texts::kShortcutNotWritten : texts::kShortcutNotDeleted);
    }
}

void Form1::MakeStartupLink(LinkMode mode) {
    const std::string path = StartupLinkPath(services_.shortcuts, userFolders_.fixedProfile);
    if (mode == LinkMode::del)
        RemoveShortcut(services_.shortcuts, path);
    else
        MakeShortcut(services_.shortcuts, path, services_.system.ProgramDirectory());
}

}  // namespace zelmora
