#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ui/form1_description.h"
#include "unix_shell.h"

namespace zelmora::e2e {

// The name of the account the tests run as, whose profile the prefix holds.
std::string UserName();

// Settings with auto clear and start-at-log-on off, an interval of a minute and no totals.
inline const std::string kQuietSettings =
    "[Auto]\r\nDel=0\r\nTime=1\r\nALoad=0\r\n[Cls]\r\nTGB=0\r\nTMB=0\r\nTKB=0\r\n";

// A Zelmora.exe started in a program folder of its own, driven through its window.
class Zelmora {
public:
    // Copies the program into a fresh folder under C:\zelmora-e2e, writes the Config.ini given (if any) and
    // empties the user's cache. The program starts with USERNAME set to the name given, or unset.
    explicit Zelmora(const std::string& caseName, const std::string& configIni = "",
                     std::optional<std::string> userName = UserName());
    ~Zelmora();

    // Starts the program and waits for its main window; Launch only starts it.
    void Start();
    void Launch();
    bool Running() const;
    // Ends the program at once, as the task manager's end task does, and waits until it has ended.
    void Kill();
    void WaitForExit();
    DWORD ExitCode() const;

    HWND Window() const { return window_; }
    HWND Control(Form1Control name) const;
    std::string Caption() const;
    std::string Text(Form1Control name) const;
    int Check(Form1Control name) const;
    void Type(Form1Control name, const std::string& text);  // as typed: the control raises its change event
    void Click(Form1Control name);
    void ChooseMenu(Form1Menu item);
    void Close();

    // The status line once a cycle has told its outcome: it holds neither nothing nor a running cycle's progress.
    std::string Report(std::chrono::milliseconds timeout = std::chrono::seconds(60));
    // Runs one cycle now, as 立即清理 with auto clear on does, and gives what it told. The report begins with the
    // cycle's time to the second, so the cycle starts in another second than the last report's, and its report is
    // the status line's next text.
    std::string RunCycle();

    // Polls until the condition holds; false after the timeout.
    static bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout);

    std::string ProgramFolder() const { return folder_; }
    std::string ConfigIni() const;
    // The user's own cache, reached through the old fixed path as the program reaches it.
    static std::string CacheFolder();
    static void MakeCacheFile(const std::string& relative, uint64_t size);
    static bool CacheExists();

private:
    std::string folder_;
    std::optional<std::string> userName_;
    PROCESS_INFORMATION process_{};
    HWND window_ = nullptr;
};

std::string ClassOf(HWND window);
// The first visible top-level window of the given class (and of the program's process, where one is given).
HWND ShownWindow(const std::string& className, const Zelmora* app = nullptr);
// Whether the program shows a message box (an error box among them).
bool ShowsABox(const Zelmora& app);
// Ends every running copy of the named programs (but the caller), as Windows' "end task" does.
void EndPrograms(const std::vector<std::wstring>& exeNames);

using testing::RunAndWait;
using testing::RunShell;
using testing::UnixPath;

// Clicks the newest icon of Wine's own tray window; clicks is 1 or 2, button 1 left or 3 right.
void ClickTrayIcon(int button, int clicks);
// Has Wine's tray drop the icons of the programs that ended, as a pointer passing over them does.
void ForgetEndedTrayIcons();

// A value under HKEY_CURRENT_USER for the length of a case, such as one of Wine's settings (the Windows
// version it reports, the display's dots per inch); what was there before comes back afterwards.
class UserRegistryValue {
public:
    UserRegistryValue(const std::wstring& key, const std::wstring& name, DWORD value);
    UserRegistryValue(const std::wstring& key, const std::wstring& name, const std::wstring& value);
    UserRegistryValue(const UserRegistryValue&) = delete;
    UserRegistryValue& operator=(const UserRegistryValue&) = delete;
    ~UserRegistryValue();

private:
    void Set(DWORD type, const void* data, DWORD size);
    std::wstring key_;
    std::wstring name_;
    std::optional<std::pair<DWORD, std::string>> previous_;  // type and bytes
};

// A stored setting, or "<missing>", read through the profile API as the program reads it.
std::string Setting(const std::string& iniPath, const char* section, const char* key);

// Where the program keeps its settings when the folder beside it cannot be written.
std::string UserSettingsFolder();
// The user's own Startup folder, as the system names it.
std::string StartupFolder();

std::string ParentOf(const std::string& path);
// Makes a folder and every folder above it that is missing.
void MakeFolders(const std::string& path);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& contents);

}  // namespace zelmora::e2e
