#include "measure_then_delete.h"

#include <chrono>
#include <stdexcept>

#include "test_support.h"

namespace zelmora::bench {

Pass MeasureThenDelete(FileSystemFactory& fileSystems, const std::string& path) {
    // The main window with fakes for its services; one file-system object measures and deletes, as in a cycle.
    testing::Harness harness;
    Form1& form = harness.form;

    const auto start = std::chrono::steady_clock::now();
    const std::unique_ptr<FileSystem> fso = fileSystems.Create();
    const int32_t bytes = form.FolderlenRec(*fso, path, path);
    const bool deleted = fso->DeleteFolder(path);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;

    if (!harness.messages.shown.empty())
        throw std::runtime_error("measuring " + path + " failed: " + harness.messages.shown.front());
    if (!deleted || fileSystems.Create()->Exists(path))
        throw std::runtime_error(path + " is still there after deletion");
    return {bytes, elapsed.count()};
}

}  // namespace zelmora::bench
