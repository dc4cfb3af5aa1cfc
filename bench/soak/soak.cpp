// Soak: cleaning cycles of the real Zelmora.exe under Wine while pictures keep arriving in its cache and one
// is held open for stretches of cycles, with the figures of its process at the start, along the way and at
// the end, and how much each grew.
//   zelmora_soak [CYCLES]    (1000 by default; ZELMORA_EXE names the program)

#include <windows.h>

#include <array>
#include <chrono>
#include <cstdio>
#include <exception>
#include <optional>
#include <string>
#include <vector>

#include "cycle_driver.h"
#include "figure_table.h"
#include "held_picture.h"
#include "linux_figures.h"
#include "picture_writer.h"
#include "windows_figures.h"
#include "zelmora_driver.h"

namespace zelmora::soak {

namespace {

// The picture is held for every other stretch of this many cycles, from the second on.
constexpr int kStretch = 50;

using Seconds = std::chrono::duration<double>;

struct Tally {
    std::array<int, 3> outcomes{};  // by CycleOutcome

    std::string Text() const {
        return std::to_string(outcomes[0]) + " deleted, " + std::to_string(outcomes[1]) +
               " stopped at a picture in use, " + std::to_string(outcomes[2]) + " found no cache";
    }
};

// Every tenth of the run.
bool IsCheckpoint(int cycle, int cycles) {
    return cycle * 10 / cycles != (cycle - 1) * 10 / cycles;
}

// The program keeps a line for each folder it measures in its hidden list, up to the last thousand.
Figure ListLines(const e2e::Zelmora& app) {
    const LRESULT lines = SendMessageW(app.Control("List1"), LB_GETCOUNT, 0, 0);
    return {"List1-lines", "lines in the program's hidden list of measured folders (LB_GETCOUNT)",
            lines == LB_ERR ? std::nullopt : std::optional<int64_t>(lines), "no answer"};
}

std::vector<Figure> Sample(const e2e::Zelmora& app, const WindowsFigures& windowsFigures,
                           const LinuxFigures& linuxFigures) {
    std::vector<Figure> figures = windowsFigures.Sample();
    figures.push_back(ListLines(app));
    for (Figure& figure : linuxFigures.Sample())
        figures.push_back(std::move(figure));
    return figures;
}

int Soak(int cycles) {
    e2e::Zelmora app("soak", CycleDriver::ConfigIni(), "soak");
    app.Start();
    DWORD processId = 0;
    GetWindowThreadProcessId(app.Window(), &processId);
    const WindowsFigures windowsFigures(processId);
    const LinuxFigures linuxFigures(app.ProgramFolder());
    std::printf("Zelmora.exe in %s: Windows process %lu, Linux process %s\n", app.ProgramFolder().c_str(), processId,
                linuxFigures.ProcessId() ? std::to_string(*linuxFigures.ProcessId()).c_str() : "not found");
    std::printf(
        "%d cycles: 立即清理 then a tick of the program's clock each; the viewed picture held for every other "
        "%d cycles; pictures written to the cache throughout\n\n",
        cycles, kStretch);

    const std::vector<Figure> first = Sample(app, windowsFigures, linuxFigures);
    FigureTable table(first);
    table.Add(0, first);
    CycleDriver driver(app);
    std::optional<HeldPicture> held;
    std::array<Tally, 2> tallies;  // picture released, picture held
    Seconds driving{};
    {
        const PictureWriter writer(app);
        for (int cycle = 1; cycle <= cycles; ++cycle) {
            const auto start = std::chrono::steady_clock::now();
            const bool hold = (cycle - 1) / kStretch % 2 == 1;
            if (hold && !held)
                held.emplace(app);
            if (!hold)
                held.reset();
            ++tallies[hold].outcomes[static_cast<size_t>(driver.Run())];
            driving += std::chrono::steady_clock::now() - start;
            if (IsCheckpoint(cycle, cycles))
                table.Add(cycle, Sample(app, windowsFigures, linuxFigures));
        }
        std::printf("\nThe writer made %llu pictures, %llu KB.\n", static_cast<unsigned long long>(writer.Pictures()),
                    static_cast<unsigned long long>(writer.Bytes() / 1024));
    }
    held.reset();
    table.PrintGrowth();

    std::printf("\n%d cycles in %.1f s of driving (the figures aside): %.2f cycles per second.\n", cycles,
                driving.count(), cycles / driving.count());
    std::printf("With the picture released: %s.\n", tallies[0].Text().c_str());
    std::printf("With the picture held:     %s.\n", tallies[1].Text().c_str());
    std::printf("Clicks repeated since the program's own tick came first: %d.\n", driver.OwnTicksFirst());
    std::printf("Freed totals shown: %s GB %s MB %s KB.\n", app.Text("TGB").c_str(), app.Text("TMB").c_str(),
                app.Text("TKB").c_str());
    app.Close();
    app.WaitForExit();
    std::printf("The program ended with exit code %lu.\n", app.ExitCode());
    return 0;
}

}  // namespace

}  // namespace zelmora::soak

int main(int argc, char** argv) {
    try {
        return zelmora::soak::Soak(argc > 1 ? std::stoi(argv[1]) : 1000);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "soak: %s\n", failure.what());
        return 1;
    }
}
