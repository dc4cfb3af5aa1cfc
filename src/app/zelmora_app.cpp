#include "app/zelmora_app.h"

#include <commctrl.h>

#include "app/single_instance.h"
#include "base/win32_system.h"
#include "engine/win32_file_system.h"
#include "engine/win32_worker.h"
#include "settings/win32_profile_store.h"
#include "settings/win32_shortcuts.h"
#include "shell/win32_browser.h"
#include "shell/win32_tray_shell.h"
#include "ui/form1.h"
#include "ui/program_texts.h"
#include "ui/win32/form_window.h"
#include "ui/win32/win32_message_boxes.h"

namespace zelmora {
namespace {

ScopedIcon LoadProgramIcon(HINSTANCE instance, int sizeMetric) {
    const int size = GetSystemMetrics(sizeMetric);
    return ScopedIcon(static_cast<HICON>(LoadImageW(instance, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0)));
}

class NoSteps : public StartupSteps {
public:
    void Done(const char*) override {}
};

int Run(HINSTANCE instance, int show, StartupSteps& steps) {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&controls);
    steps.Done("common controls");

    Win32FileSystemFactory fileSystems;
    Win32ProfileStore settings;
    Win32System system;
    Win32MessageBoxes messages;
    Win32TrayShell tray;
    Win32Shortcuts shortcuts;
    Win32Browser browser;
    EventDispatch dispatch([&messages](const std::string& failure) { messages.Show(texts::ProgramFailure(failure)); });

    // The icons outlive the window and the tray icon that show them.
    const ScopedIcon largeIcon = LoadProgramIcon(instance, SM_CXICON);
    const ScopedIcon smallIcon = LoadProgramIcon(instance, SM_CXSMICON);
    FormWindow window(instance, {largeIcon.Get(), smallIcon.Get()});
    Win32Worker worker([&window] { return window.Wake(); });
    Form1 form({fileSystems, settings, system, messages, window, tray, shortcuts, browser, worker}, dispatch);
    steps.Done("icons and window class");
    window.Realize(form.model);
    messages.SetOwner(window.Handle());
    steps.Done("window and controls");

    form.model.RaiseFormEvent(FormEvent::Load);
    steps.Done("settings and tray icon");
    ShowWindow(window.Handle(), show == SW_SHOWMINIMIZED || show == SW_MINIMIZE ? SW_SHOWNORMAL : show);
    steps.Done("shown");

    const int code = window.RunMessages().value_or(0);
    // A cycle that the file system holds past the unload (which has stored what it freed) ends with the program.
    if (!worker.WaitFor(0))
        ExitProcess(static_cast<UINT>(code));
    return code;
}

}  // namespace

// A second start shows the copy that runs and ends, touching neither the settings, the tray nor the cache.
int RunZelmora(HINSTANCE instance, int show, StartupSteps* steps) {
    NoSteps noSteps;
    StartupSteps& told = steps ? *steps : noSteps;
    const SingleInstance single;
    told.Done("one copy");
    if (!single.First()) {
        SingleInstance::ShowRunningCopy();
        return 0;
    }
    return Run(instance, show, told);
}

}  // namespace zelmora
