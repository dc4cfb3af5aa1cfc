#pragma once

// The main window with fakes for every service, for the tests of its handlers.

#include <functional>
#include <string>
#include <vector>

#include "fakes.h"
#include "ui/form1.h"

namespace zelmora::testing {

class RecordingMessages : public MessageBoxes {
public:
    void Show(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

class FakeWindowHost : public WindowHost {
public:
    void Close() override { ++closed; }
    int WindowState() override { return state; }
    void SetWindowState(int newState) override { state = newState; }
    void Hide() override { visible = false; }
    void Show() override { visible = true; }
    void PopupMenu(const MenuDescription& menu) override { popups.push_back(menu.name); }
    void ShowModal(FormModel& form) override {
        form.RaiseFormEvent(FormEvent::Load);
        modalCaptions.push_back(form.Caption());
        if (whileModal)
            whileModal(form);
        form.RaiseFormEvent(FormEvent::Unload);
    }
    uint32_t WindowHandle(const ControlDescription& control) override {
        return std::string_view(control.name) == "picMouseEvent" ? 0x1234 : 0;
    }
    uint32_t PictureHandle(const ControlDescription& control) override {
        if (failHandles > 0) {
            --failHandles;
            throw std::runtime_error("no picture");
        }
        return control.options.programIcon ? 0x5678 : 0;
    }

    int closed = 0;
    int state = 0;
    bool visible = true;
    int failHandles = 0;
    std::vector<std::string> popups;
    std::vector<std::string> modalCaptions;
    std::function<void(FormModel&)> whileModal;
};

// Form1 with fakes for every service; the file systems may be real ones instead.
struct Harness {
    explicit Harness(FileSystemFactory* otherFileSystems = nullptr);
    FakeFileSystemFactory fileSystems;
    RecordingSettings settings;
    FakeSystem system;
    RecordingMessages messages;
    FakeWindowHost window;
    RecordingTray tray{settings};
    FakeShortcuts shortcuts;
    RecordingBrowser browser;
    FakeWorker worker;
    std::vector<std::string> failures;
    EventDispatch dispatch{[this](const std::string& failure) { failures.push_back(failure); }};
    Form1 form;

    // The start-up sequence, which finds the user's folders and the settings.
    void Load() { form.model.RaiseFormEvent(FormEvent::Load); }
};

}  // namespace zelmora::testing
