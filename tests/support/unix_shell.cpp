#include "unix_shell.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "base/win32_export.h"
#include "base/win32_text.h"

namespace zelmora::testing {

void RunAndWait(const std::string& commandLine) {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = Widen(commandLine);
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        throw std::runtime_error("cannot run " + commandLine);
    // For a Linux program Wine gives no process handle, and leaves stray values in the rest of the record: closing
    // them would close whatever handles of this process they happen to name (its desktop, say).
    if (!process.hProcess)
        return;
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
}

std::string UnixPath(const std::string& windowsPath) {
    static const std::string driveC = [] {
        const auto unixName =
            Export<char*(CDECL*)(LPCWSTR)>(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name");
        char* drive = unixName ? unixName(L"C:\\") : nullptr;
        if (!drive)
            throw std::runtime_error("not under Wine");
        std::string path = drive;
        HeapFree(GetProcessHeap(), 0, drive);
        return path.ends_with('/') ? path : path + '/';
    }();
    std::string path = driveC + windowsPath.substr(3);
    std::replace(path.begin(), path.end(), '\\', '/');
    return "'" + path + "'";
}

// Wine does not wait for a Linux process, so the script leaves a mark when it is done.
void RunShell(const std::string& script, std::chrono::seconds timeout) {
    const std::wstring done = L"C:\\zelmora-e2e-shell-done";
    DeleteFileW(done.c_str());
    RunAndWait("/bin/sh -c \"" + script + "; touch " + UnixPath(Narrow(done.c_str())) + "\"");
    const auto end = std::chrono::steady_clock::now() + timeout;
    while (GetFileAttributesW(done.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (std::chrono::steady_clock::now() > end)
            throw std::runtime_error("the shell did not finish: " + script);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    DeleteFileW(done.c_str());
}

}  // namespace zelmora::testing
