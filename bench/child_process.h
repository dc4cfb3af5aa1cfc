#pragma once

#include <string>
#include <vector>

namespace zelmora::bench {

// Runs a program (looked up on PATH when the name has no "/") and waits for it. Its standard output is
// collected into output, or discarded when output is null. Returns the exit status; throws if it cannot run
// or does not exit normally.
int Run(const std::vector<std::string>& command, std::string* output = nullptr);

}  // namespace zelmora::bench
