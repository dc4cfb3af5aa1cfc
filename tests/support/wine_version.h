#pragma once

// Which Wine runs the tests.

namespace zelmora::testing {

// Whether this Wine deletes with POSIX semantics (FileDispositionInformationEx), as Windows 10 and 11 do: Wine 10
// does; Wine 8 refuses the class, so the deletion takes its fallback.
bool WineDeletesWithPosixSemantics();

}  // namespace zelmora::testing
