// Times measuring then deleting trees made beforehand through Win32FileSystem:
//   zelmora_bench_win32 FOLDER COPIES BYTES
// measures and deletes FOLDER\1 to FOLDER\COPIES, each of which must hold BYTES, and prints
// "seconds" followed by each time.

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/win32_file_system.h"
#include "measure_then_delete.h"

int main(int argc, char** argv) {
    using namespace zelmora;
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s FOLDER COPIES BYTES\n", argv[0]);
        return 2;
    }
    try {
        Win32FileSystemFactory fileSystems;
        const int copies = std::stoi(argv[2]);
        const long long expectedBytes = std::stoll(argv[3]);
        std::vector<double> seconds;
        for (int copy = 1; copy <= copies; ++copy) {
            const std::string path = std::string(argv[1]) + "\\" + std::to_string(copy);
            const bench::Pass pass = bench::MeasureThenDelete(fileSystems, path);
            if (pass.bytes != expectedBytes)
                throw std::runtime_error(path + " measured " + std::to_string(pass.bytes) + " bytes, it holds " +
                                         std::to_string(expectedBytes));
            seconds.push_back(pass.seconds);
        }
        std::printf("seconds");
        for (double value : seconds)
            std::printf(" %.6f", value);
        std::printf("\n");
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zelmora_bench_win32: FAILED: %s\n", error.what());
        return 1;
    }
    return 0;
}
