// Times a save of the three totals under Wine: whole (a copy written, flushed and renamed over Config.ini) against
// the profile API writing Config.ini in place, key by key.
//   zelmora_settings_bench FOLDER SAVES
// Prints the median and the slowest of each kind, in milliseconds.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "base/win32_text.h"
#include "median.h"
#include "settings/win32_profile_store.h"

namespace {

const std::vector<zelmora::StoredValue> kTotals = {{"Cls", "TGB", "1"}, {"Cls", "TMB", "1023"}, {"Cls", "TKB", "904"}};

void Time(const char* label, int saves, const std::function<void(int)>& save) {
    std::vector<double> milliseconds;
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    for (int i = 0; i < saves; ++i) {
        LARGE_INTEGER start;
        LARGE_INTEGER end;
        QueryPerformanceCounter(&start);
        save(i);
        QueryPerformanceCounter(&end);
        milliseconds.push_back(1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
                               static_cast<double>(frequency.QuadPart));
    }
    std::printf("%-44s median %7.3f ms, slowest %7.3f ms\n", label, zelmora::bench::Median(milliseconds),
                *std::max_element(milliseconds.begin(), milliseconds.end()));
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: zelmora_settings_bench FOLDER SAVES\n");
        return 2;
    }
    const std::string folder = argv[1];
    const int saves = std::atoi(argv[2]);
    const std::string whole = folder + "\\whole.ini";
    const std::string inPlace = folder + "\\in-place.ini";
    const std::string settings = "[Auto]\r\nDel=1\r\nTime=1\r\nALoad=0\r\n[Cls]\r\nTGB=0\r\nTMB=0\r\nTKB=0\r\n";
    for (const std::string& file : {whole, inPlace}) {
        const HANDLE handle =
            CreateFileW(zelmora::Widen(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD written = 0;
        WriteFile(handle, settings.data(), static_cast<DWORD>(settings.size()), &written, nullptr);
        CloseHandle(handle);
    }
    std::printf("A save of the three totals, %d times:\n", saves);
    zelmora::Win32ProfileStore store;
    Time("whole: copy, profile writes, flush, rename", saves, [&](int i) {
        std::vector<zelmora::StoredValue> totals = kTotals;
        totals[2].value = std::to_string(i % 1024);
        store.Save(totals, whole);
    });
    Time("in place: the profile API on Config.ini", saves, [&](int i) {
        for (const zelmora::StoredValue& total : kTotals) {
            const std::string value = total.key == "TKB" ? std::to_string(i % 1024) : total.value;
            WritePrivateProfileStringW(zelmora::Widen(total.section).c_str(), zelmora::Widen(total.key).c_str(),
                                       zelmora::Widen(value).c_str(), zelmora::Widen(inPlace).c_str());
        }
    });
    return 0;
}
