#pragma once

// Programs run from a Windows program under Wine, which starts Unix programs too.

#include <chrono>
#include <string>

namespace zelmora::testing {

// Runs a program and waits for it: a Windows one, or a Linux one such as xdotool acting on the X display.
void RunAndWait(const std::string& commandLine);
// Runs a shell script on the Linux side and waits until it has finished, for up to the time given.
void RunShell(const std::string& script, std::chrono::seconds timeout = std::chrono::seconds(20));
// A path on drive C as a quoted Linux path.
std::string UnixPath(const std::string& windowsPath);

}  // namespace zelmora::testing
