#pragma once

#include <windows.h>

#include <vector>

#include "figure_table.h"

namespace zelmora::soak {

// What Windows calls report of another process: its handles, GDI and USER objects, private bytes and
// working set; and what Wine does give where some of those give nothing: the committed private memory of
// its address space, the handles Wine's server holds for it and the windows it owns.
class WindowsFigures {
public:
    explicit WindowsFigures(DWORD processId);
    WindowsFigures(const WindowsFigures&) = delete;
    WindowsFigures& operator=(const WindowsFigures&) = delete;
    ~WindowsFigures();

    std::vector<Figure> Sample() const;

private:
    DWORD processId_;
    HANDLE process_;
};

}  // namespace zelmora::soak
