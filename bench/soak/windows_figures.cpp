#include "windows_figures.h"

#include <psapi.h>
#include <winternl.h>

#include <optional>
#include <stdexcept>
#include <string>

namespace zelmora::soak {

namespace {

constexpr char kNotReported[] = "not reported by Wine";
constexpr NTSTATUS kInfoLengthMismatch = static_cast<NTSTATUS>(0xC0000004);

std::optional<int64_t> Positive(uint64_t count) {
    return count ? std::optional<int64_t>(static_cast<int64_t>(count)) : std::nullopt;
}

// A running program always holds some handles, and one with a window some GDI and USER objects: a count of 0
// means the call reports nothing.
std::optional<int64_t> HandleCount(HANDLE process) {
    DWORD count = 0;
    return GetProcessHandleCount(process, &count) ? Positive(count) : std::nullopt;
}

struct MemoryCounters {
    std::optional<int64_t> privateKilobytes;  // only where the extended counters come back
    std::optional<int64_t> pagefileKilobytes;
    std::optional<int64_t> workingSetKilobytes;
};

MemoryCounters Memory(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters))
        return {};
    MemoryCounters memory;
    if (counters.cb >= sizeof counters)
        memory.privateKilobytes = Positive(counters.PrivateUsage / 1024);
    memory.pagefileKilobytes = Positive(counters.PagefileUsage / 1024);
    memory.workingSetKilobytes = Positive(counters.WorkingSetSize / 1024);
    return memory;
}

// What private bytes amount to, summed over the process's address space as Windows sees it.
std::optional<int64_t> CommittedPrivate(HANDLE process) {
    uint64_t committed = 0;
    uintptr_t address = 0;
    MEMORY_BASIC_INFORMATION region;
    while (VirtualQueryEx(process, reinterpret_cast<void*>(address), &region, sizeof region) == sizeof region) {
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE)
            committed += region.RegionSize;
        const uintptr_t next = reinterpret_cast<uintptr_t>(region.BaseAddress) + region.RegionSize;
        if (next <= address)
            break;  // the top of the address space
        address = next;
    }
    return Positive(committed / 1024);
}

// The system's handle table, which under Wine is its server's, lists each handle with the process owning it.
std::optional<int64_t> ServerHandles(DWORD processId) {
    std::vector<char> buffer(64 * 1024);
    NTSTATUS status;
    while ((status = NtQuerySystemInformation(SystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()),
                                              nullptr)) == kInfoLengthMismatch)
        buffer.resize(buffer.size() * 2);
    if (!NT_SUCCESS(status))
        return std::nullopt;
    const auto* table = reinterpret_cast<const SYSTEM_HANDLE_INFORMATION*>(buffer.data());
    const SYSTEM_HANDLE_ENTRY* entries = table->Handle;
    uint64_t owned = 0;
    for (ULONG i = 0; i < table->Count; ++i)
        owned += entries[i].OwnerPid == processId;
    return Positive(owned);
}

struct WindowCount {
    DWORD processId;
    uint64_t count;
};

BOOL CALLBACK CountChild(HWND, LPARAM parameter) {
    ++reinterpret_cast<WindowCount*>(parameter)->count;
    return TRUE;
}

BOOL CALLBACK CountOwned(HWND window, LPARAM parameter) {
    auto* windows = reinterpret_cast<WindowCount*>(parameter);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == windows->processId) {
        ++windows->count;
        EnumChildWindows(window, CountChild, parameter);
    }
    return TRUE;
}

std::optional<int64_t> Windows(DWORD processId) {
    WindowCount windows{processId, 0};
    EnumWindows(CountOwned, reinterpret_cast<LPARAM>(&windows));
    return Positive(windows.count);
}

Figure Reported(const char* heading, const char* source, std::optional<int64_t> value) {
    return {heading, source, value, kNotReported};
}

}  // namespace

WindowsFigures::WindowsFigures(DWORD processId)
    : processId_(processId), process_(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, processId)) {
    if (!process_)
        throw std::runtime_error("cannot open the program's process");
}

WindowsFigures::~WindowsFigures() {
    CloseHandle(process_);
}

std::vector<Figure> WindowsFigures::Sample() const {
    const MemoryCounters memory = Memory(process_);
    return {
        Reported("handles", "handle count (GetProcessHandleCount)", HandleCount(process_)),
        Reported("gdi", "GDI objects (GetGuiResources GR_GDIOBJECTS)",
                 Positive(GetGuiResources(process_, GR_GDIOBJECTS))),
        Reported("user", "USER objects (GetGuiResources GR_USEROBJECTS)",
                 Positive(GetGuiResources(process_, GR_USEROBJECTS))),
        Reported("private-KB", "private bytes (GetProcessMemoryInfo, PROCESS_MEMORY_COUNTERS_EX PrivateUsage)",
                 memory.privateKilobytes),
        Reported("committed-KB", "committed private memory (VirtualQueryEx over the address space)",
                 CommittedPrivate(process_)),
        Reported("server-handles", "handles held for it, from the system's handle table (NtQuerySystemInformation)",
                 ServerHandles(processId_)),
        Reported("windows", "its windows, top-level and child (EnumWindows, EnumChildWindows)", Windows(processId_)),
        Reported("pagefile-KB", "PagefileUsage (GetProcessMemoryInfo; Wine gives the Linux process's RssAnon)",
                 memory.pagefileKilobytes),
        Reported("working-set-KB", "WorkingSetSize (GetProcessMemoryInfo; Wine gives the Linux process's VmRSS)",
                 memory.workingSetKilobytes),
    };
}

}  // namespace zelmora::soak
