# The test programs for 32-bit Windows: GoogleTest needs the posix-thread compiler, whose C++ library has
# std::mutex. They run under Wine only and need not load on Windows XP.
set(ZELMORA_MINGW_THREADS posix)
include(${CMAKE_CURRENT_LIST_DIR}/i686-w64-mingw32.cmake)
