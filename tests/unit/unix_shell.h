#pragma once

// Linux commands run from a Windows program under Wine, which starts Unix programs too.

#include <string>

namespace zelmora::testing {

// Runs a Linux command and waits for it: xdotool acts on the X display.
void RunUnix(const std::string& commandLine);
// Runs a shell script on the Linux side and waits until it has finished.
void RunShell(const std::string& script);
// A path on drive C as a quoted Linux path.
std::string UnixPath(const std::string& windowsPath);

}  // namespace zelmora::testing
