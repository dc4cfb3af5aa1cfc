#pragma once

// The main window with fakes for every service, for the tests of its handlers.

#include <functional>
#include <string>
#include <vector>

#include "engine/worker.h"
#include "fake_file_system.h"
#include "fake_settings.h"
#include "fake_shell.h"
#include "fake_system.h"
#include "shell/tray_shell.h"
#include "ui/form1.h"

namespace zelmora::testing {

// The cleaning's thread, run on the caller's: the work runs at once, or waits until the test runs it (hold), and
// its news reach the form once it has run, as the window's thread would take them.
class FakeWorker : public Worker {
public:
    void Start(std::function<void()> work) override;
    bool WaitFor(uint32_t milliseconds) override;
    bool Notify() override;
    void RunHeld();

    std::function<void()> news;  // raises the form's WorkerNews event
    bool hold = false;
    bool loseWakeUps = false;  // wake-ups are sent, and never arrive
    int started = 0;

private:
    void Run(std::function<void()> work);
    std::function<void()> held_;
    bool newsPending_ = false;
};

// Records every call to the shell with the record as it was and the settings written so far.
class RecordingTray : public TrayShell {
public:
    explicit RecordingTray(const RecordingSettings& settings) : settings_(settings) {}
    int32_t NotifyIcon(uint32_t message, const NotifyRecord& record) override {
        calls.push_back({message, record, settings_.writes.size()});
        return answers.empty() ? 1 : Next();
    }
    int32_t Next() {
        const int32_t answer = answers.front();
        answers.erase(answers.begin());
        if (answer == kFail)
            throw std::runtime_error("the shell call failed");
        return answer;
    }
    static constexpr int32_t kFail = -1;
    struct Call {
        uint32_t message;
        NotifyRecord record;
        size_t settingsWritten;
    };
    std::vector<Call> calls;
    std::vector<int32_t> answers;  // given in order, then 1

private:
    const RecordingSettings& settings_;
};

class RecordingMessages : public MessageBoxes {
public:
    void Show(const std::string& text) override { shown.push_back(text); }
    std::vector<std::string> shown;
};

class FakeWindowHost : public WindowHost {
public:
    void Close() override { ++closed; }
    WindowState State() override { return state; }
    void SetState(WindowState newState) override { state = newState; }
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
    WindowState state = WindowState::Normal;
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
