#include "zelmora_driver.h"

#include <shlobj.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>
#include <vector>

#include "base/win32_system.h"
#include "base/win32_text.h"

namespace zelmora::e2e {

namespace {

// The text may grow between asking its length and reading it (a cycle's progress gives way to its report): it is
// read again, into more room, until it fits with room to spare, and so whole.
std::string WindowText(HWND window) {
    for (auto size = static_cast<size_t>(SendMessageW(window, WM_GETTEXTLENGTH, 0, 0)) + 2;; size *= 2) {
        std::vector<wchar_t> text(size);
        const auto copied =
            static_cast<size_t>(SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data())));
        if (copied + 1 < size)
            return Narrow(text.data());
    }
}

std::string ZelmoraExe() {
    const char* path = std::getenv("ZELMORA_EXE");
    if (!path)
        throw std::runtime_error("ZELMORA_EXE names the program under test");
    return path;
}

// Links are never entered: under Wine a link to a folder lists its target's contents.
void RemoveTree(const std::wstring& path) {
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW((path + L"\\*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            const std::wstring child = path + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
                continue;
            SetFileAttributesW(child.c_str(), FILE_ATTRIBUTE_NORMAL);
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveTree(child);
            else
                DeleteFileW(child.c_str());
        } while (FindNextFileW(find, &found));
        FindClose(find);
    }
    RemoveDirectoryW(path.c_str());
}

struct WindowSearch {
    std::string className;
    DWORD processId;
    HWND found;
};

BOOL CALLBACK MatchShown(HWND window, LPARAM parameter) {
    auto* search = reinterpret_cast<WindowSearch*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (!IsWindowVisible(window) || ClassOf(window) != search->className ||
        (search->processId && owner != search->processId))
        return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

std::string UserName() {
    wchar_t name[256] = {};
    DWORD size = 256;
    if (!GetUserNameW(name, &size))
        throw std::runtime_error("no user name");
    return Narrow(name);
}

std::string ClassOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return Narrow(name);
}

HWND ShownWindow(const std::string& className, const Zelmora* app) {
    WindowSearch search{className, 0, nullptr};
    if (app)
        GetWindowThreadProcessId(app->Window(), &search.processId);
    EnumWindows(MatchShown, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool ShowsABox(const Zelmora& app) {
    return ShownWindow("#32770", &app) != nullptr;
}

void EndPrograms(const std::vector<std::wstring>& exeNames) {
    const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE)
        throw std::runtime_error("no list of processes");
    std::vector<HANDLE> ending;
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
        const bool named = std::any_of(exeNames.begin(), exeNames.end(), [&](const std::wstring& name) {
            return !lstrcmpiW(name.c_str(), entry.szExeFile);
        });
        if (!named || entry.th32ProcessID == GetCurrentProcessId())
            continue;
        if (const HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, entry.th32ProcessID)) {
            TerminateProcess(process, 1);
            ending.push_back(process);
        }
    }
    CloseHandle(snapshot);
    for (const HANDLE process : ending) {
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
}

namespace {

const std::string kFindTray =
    "tray=$(/usr/bin/xdotool search --onlyvisible --name 'Wine System Tray' | head -n 1); "
    "eval $(/usr/bin/xdotool getwindowgeometry --shell $tray); ";
// Passes the pointer over every slot of the tray, from the right: Wine drops the icon of a program that has ended
// once the pointer passes over it, and moves the icons to its right one slot left.
const std::string kSweepTray =
    "moves=; for x in $(seq $((WIDTH - 10)) -20 10); do moves=$moves' mousemove --window '$tray' '$x' 10 sleep 0.03'; "
    "done; /usr/bin/xdotool $moves; ";

}  // namespace

void ForgetEndedTrayIcons() {
    RunShell(kFindTray + kSweepTray + "true");
}

// Wine's tray lays its icons out from left to right in the order they came, in slots of 20 pixels, eight at least:
// once the icons of programs that ended are gone, the newest icon is the last one drawn.
void ClickTrayIcon(int button, int clicks) {
    RunShell(kFindTray + "/usr/bin/xdotool windowraise $tray; " + kSweepTray +
             "sleep 0.3; last=$(import -window $tray txt:- | awk -F'[,:]' 'NR > 1 && !/#FFFFFF/ && $1 > m {m = $1} "
             "END {print m + 0}'); x=$((last / 20 * 20 + 10)); /usr/bin/xdotool mousemove --window $tray $x 10; "
             "sleep 0.3; /usr/bin/xdotool mousemove --window $tray $((x + 1)) 10 click --repeat " +
             std::to_string(clicks) + " --delay 120 " + std::to_string(button));
}

std::string ParentOf(const std::string& path) {
    return path.substr(0, path.rfind('\\'));
}

void MakeFolders(const std::string& path) {
    std::wstring wide = Widen(path);
    for (size_t i = 3; i <= wide.size(); ++i) {
        if (i == wide.size() || wide[i] == L'\\')
            CreateDirectoryW(wide.substr(0, i).c_str(), nullptr);
    }
}

std::string ReadFile(const std::string& path) {
    std::ifstream file(std::filesystem::path(Widen(path)), std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

void WriteFile(const std::string& path, const std::string& contents) {
    std::ofstream(std::filesystem::path(Widen(path)), std::ios::binary) << contents;
}

Zelmora::Zelmora(const std::string& caseName, const std::string& configIni, std::optional<std::string> userName)
    : folder_("C:\\zelmora-e2e\\" + caseName), userName_(std::move(userName)) {
    RemoveTree(Widen(folder_));
    RemoveTree(Widen(CacheFolder()));
    RemoveTree(Widen(UserSettingsFolder()));
    MakeFolders(folder_);
    if (!CopyFileW(Widen(ZelmoraExe()).c_str(), Widen(folder_ + "\\Zelmora.exe").c_str(), FALSE))
        throw std::runtime_error("cannot copy the program");
    if (!configIni.empty())
        WriteFile(ConfigIni(), configIni);
}

Zelmora::~Zelmora() {
    if (Running()) {
        TerminateProcess(process_.hProcess, 1);
        WaitForSingleObject(process_.hProcess, 5000);
    }
    if (process_.hProcess) {
        CloseHandle(process_.hProcess);
        CloseHandle(process_.hThread);
    }
}

void Zelmora::Launch() {
    SetEnvironmentVariableW(L"USERNAME", userName_ ? Widen(*userName_).c_str() : nullptr);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + Widen(folder_ + "\\Zelmora.exe") + L"\"";
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, Widen(folder_).c_str(),
                        &startup, &process_))
        throw std::runtime_error("cannot start the program");
}

void Zelmora::Start() {
    Launch();
    const DWORD processId = process_.dwProcessId;
    const bool shown = WaitFor(
        [&] {
            window_ = nullptr;
            HWND candidate = nullptr;
            while ((candidate = FindWindowExW(nullptr, candidate, L"ZelmoraForm", nullptr))) {
                DWORD owner = 0;
                GetWindowThreadProcessId(candidate, &owner);
                if (owner == processId && IsWindowVisible(candidate))
                    window_ = candidate;
            }
            return window_ != nullptr;
        },
        std::chrono::seconds(30));
    if (!shown)
        throw std::runtime_error("the main window did not appear");
}

bool Zelmora::Running() const {
    return process_.hProcess && WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT;
}

void Zelmora::Kill() {
    TerminateProcess(process_.hProcess, 1);
    WaitForExit();
    CloseHandle(process_.hProcess);
    CloseHandle(process_.hThread);
    process_ = {};
    window_ = nullptr;
}

void Zelmora::WaitForExit() {
    if (WaitForSingleObject(process_.hProcess, 30000) != WAIT_OBJECT_0)
        throw std::runtime_error("the program did not end");
}

DWORD Zelmora::ExitCode() const {
    DWORD code = 0;
    GetExitCodeProcess(process_.hProcess, &code);
    return code;
}

HWND Zelmora::Control(Form1Control name) const {
    return GetDlgItem(window_, name.Description().id);
}

std::string Zelmora::Caption() const {
    return WindowText(window_);
}

std::string Zelmora::Text(Form1Control name) const {
    return WindowText(Control(name));
}

int Zelmora::Check(Form1Control name) const {
    return static_cast<int>(SendMessageW(Control(name), BM_GETCHECK, 0, 0));
}

void Zelmora::Type(Form1Control name, const std::string& text) {
    SendMessageW(Control(name), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

void Zelmora::Click(Form1Control name) {
    SendMessageW(Control(name), BM_CLICK, 0, 0);
}

void Zelmora::ChooseMenu(Form1Menu item) {
    PostMessageW(window_, WM_COMMAND, MAKEWPARAM(item.Description().id, 0), 0);
}

void Zelmora::Close() {
    PostMessageW(window_, WM_CLOSE, 0, 0);
}

namespace {

bool IsProgress(const std::string& status) {
    return status.starts_with("正在清理");
}

std::string Now() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char text[16];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", now.wHour, now.wMinute, now.wSecond);
    return text;
}

}  // namespace

std::string Zelmora::Report(std::chrono::milliseconds timeout) {
    std::string status;
    WaitFor([&] { return !(status = Text("Lb1")).empty() && !IsProgress(status); }, timeout);
    return status;
}

std::string Zelmora::RunCycle() {
    const std::string before = Text("Lb1");
    WaitFor([&] { return !before.starts_with(Now()); }, std::chrono::seconds(2));
    Click("Ccls");
    if (Check("CDel") != BST_CHECKED)
        Click("CDel");
    std::string status;
    WaitFor([&] { return (status = Text("Lb1")) != before && !IsProgress(status); }, std::chrono::seconds(60));
    return status;
}

bool Zelmora::WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

std::string Zelmora::ConfigIni() const {
    return folder_ + "\\Config.ini";
}

UserRegistryValue::UserRegistryValue(const std::wstring& key, const std::wstring& name, DWORD value)
    : key_(key), name_(name) {
    Set(REG_DWORD, &value, sizeof value);
}

UserRegistryValue::UserRegistryValue(const std::wstring& key, const std::wstring& name, const std::wstring& value)
    : key_(key), name_(name) {
    Set(REG_SZ, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

void UserRegistryValue::Set(DWORD type, const void* data, DWORD size) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot open a registry key");
    DWORD previousType = 0;
    DWORD previousSize = 0;
    if (RegQueryValueExW(key, name_.c_str(), nullptr, &previousType, nullptr, &previousSize) == ERROR_SUCCESS) {
        std::string bytes(previousSize, '\0');
        RegQueryValueExW(key, name_.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(bytes.data()), &previousSize);
        previous_.emplace(previousType, bytes);
    }
    RegSetValueExW(key, name_.c_str(), 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
}

UserRegistryValue::~UserRegistryValue() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, KEY_WRITE, &key) != ERROR_SUCCESS)
        return;
    if (previous_)
        RegSetValueExW(key, name_.c_str(), 0, previous_->first, reinterpret_cast<const BYTE*>(previous_->second.data()),
                       static_cast<DWORD>(previous_->second.size()));
    else
        RegDeleteValueW(key, name_.c_str());
    RegCloseKey(key);
}

std::string Setting(const std::string& iniPath, const char* section, const char* key) {
    wchar_t value[256] = {};
    GetPrivateProfileStringW(Widen(section).c_str(), Widen(key).c_str(), L"<missing>", value, 256,
                             Widen(iniPath).c_str());
    return Narrow(value);
}

std::string UserSettingsFolder() {
    const std::string appData = Win32System().AppDataFolder();
    if (appData.empty())
        throw std::runtime_error("no application-data folder");
    return appData + "\\Zelmora";
}

std::string StartupFolder() {
    wchar_t folder[MAX_PATH] = {};
    if (FAILED(SHGetFolderPathW(nullptr, CSIDL_STARTUP | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, folder)))
        throw std::runtime_error("no Startup folder");
    return Narrow(folder);
}

std::string Zelmora::CacheFolder() {
    return "C:\\Documents and Settings\\" + UserName() + "\\Application Data\\sina\\weibo\\cache";
}

void Zelmora::MakeCacheFile(const std::string& relative, uint64_t size) {
    const std::string path = CacheFolder() + "\\" + relative;
    MakeFolders(path.substr(0, path.rfind('\\')));
    const HANDLE file = CreateFileW(Widen(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER end;
    end.QuadPart = static_cast<LONGLONG>(size);
    SetFilePointerEx(file, end, nullptr, FILE_BEGIN);
    SetEndOfFile(file);
    CloseHandle(file);
}

bool Zelmora::CacheExists() {
    return GetFileAttributesW(Widen(CacheFolder()).c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace zelmora::e2e
