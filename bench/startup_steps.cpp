// Zelmora started as Zelmora.exe starts, telling when each start-up step ends:
//   startup_steps LAUNCH_COUNT OUTPUT
// LAUNCH_COUNT is the performance counter when the parent started this process; each step appends a line
// "milliseconds since launch<TAB>step" to OUTPUT.

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "app/zelmora_app.h"

namespace {

class StepClock : public zelmora::StartupSteps {
public:
    StepClock(long long launch, const wchar_t* output) : launch_(launch), output_(_wfopen(output, L"a")) {}
    ~StepClock() override {
        if (output_)
            std::fclose(output_);
    }
    void Done(const char* step) override {
        LARGE_INTEGER now;
        LARGE_INTEGER frequency;
        QueryPerformanceCounter(&now);
        QueryPerformanceFrequency(&frequency);
        if (output_) {
            std::fprintf(output_, "%.2f\t%s\n",
                         static_cast<double>(now.QuadPart - launch_) * 1e3 / static_cast<double>(frequency.QuadPart),
                         step);
            std::fflush(output_);
        }
    }

private:
    long long launch_;
    FILE* output_;
};

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
    int count = 0;
    wchar_t** arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    if (count != 3)
        return 2;
    StepClock clock(std::wcstoll(arguments[1], nullptr, 10), arguments[2]);
    clock.Done("process started");
    return zelmora::RunZelmora(instance, show, &clock);
}
