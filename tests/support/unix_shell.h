#pragma once

// Programs run from a Windows program under Wine, which starts Unix programs too.

#include <string>

namespace zelmora::testing {

// Runs a program and waits for it: a Windows one, or a Linux one such as xdotool acting on the X display.
void RunAndWait(const std::string& commandLine);
// Runs a shell script on the Linux side and waits until it has finished.
void RunShell(const std::string& script);
// A path on drive C as a quoted Linux path.
std::string UnixPath(const std::string& windowsPath);

}  // namespace zelmora::testing
