#pragma once

// The ntdll file services of the handle-relative walk, all present since Windows XP. winternl.h declares most
// of them for any _WIN32_WINNT; what it lacks is declared here.

#include <windows.h>
#include <winternl.h>

#include <cstring>

extern "C" NTSTATUS NTAPI NtQueryDirectoryFile(HANDLE file, HANDLE event, PIO_APC_ROUTINE apcRoutine, PVOID apcContext,
                                               PIO_STATUS_BLOCK ioStatus, PVOID buffer, ULONG length,
                                               FILE_INFORMATION_CLASS informationClass, BOOLEAN returnSingleEntry,
                                               PUNICODE_STRING fileName, BOOLEAN restartScan);

namespace zelmora::nt {

constexpr NTSTATUS kNoMoreFiles = static_cast<NTSTATUS>(0x80000006);
constexpr NTSTATUS kNoSuchFile = static_cast<NTSTATUS>(0xC000000F);
constexpr NTSTATUS kObjectNameNotFound = static_cast<NTSTATUS>(0xC0000034);
constexpr NTSTATUS kObjectPathNotFound = static_cast<NTSTATUS>(0xC000003A);
constexpr NTSTATUS kDeletePending = static_cast<NTSTATUS>(0xC0000056);

// Sets an entry's information: NtSetInformationFile, or a stand-in that answers as another system would.
using SetInformationFile = NTSTATUS(NTAPI*)(HANDLE file, PIO_STATUS_BLOCK ioStatus, PVOID information, ULONG length,
                                            FILE_INFORMATION_CLASS informationClass);

// An information class of a later system, past the end of winternl.h's enumeration.
inline FILE_INFORMATION_CLASS InformationClass(int number) {
    static_assert(sizeof(FILE_INFORMATION_CLASS) == sizeof number);
    FILE_INFORMATION_CLASS informationClass;
    std::memcpy(&informationClass, &number, sizeof number);
    return informationClass;
}

}  // namespace zelmora::nt
