#include "temp_tree.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <pthread.h>
#endif

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace zelmora::testing {

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("zelmora-test-" + std::to_string(stamp) + "-" + std::to_string(counter++));
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored))
        std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
}

std::string TempDir::Text(const std::string& relative) const {
    const std::u8string base = path_.u8string();
    std::string text(base.begin(), base.end());
    const char separator = static_cast<char>(std::filesystem::path::preferred_separator);
    return relative.empty() ? text : text + separator + relative;
}

void MakeFile(const std::filesystem::path& path, uintmax_t size) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary).put('x');
    std::filesystem::resize_file(path, size);
}

namespace {

#ifdef _WIN32
DWORD WINAPI RunWork(void* work) {
#else
void* RunWork(void* work) {
#endif
    (*static_cast<const std::function<void()>*>(work))();
    return {};
}

}  // namespace

void RunWithStack(size_t bytes, const std::function<void()>& work) {
    void* argument = const_cast<std::function<void()>*>(&work);
#ifdef _WIN32
    const HANDLE thread = CreateThread(nullptr, bytes, RunWork, argument, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (!thread)
        throw std::runtime_error("cannot start a thread");
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
#else
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, bytes);
    pthread_t thread;
    const int started = pthread_create(&thread, &attributes, RunWork, argument);
    pthread_attr_destroy(&attributes);
    if (started != 0)
        throw std::runtime_error("cannot start a thread");
    pthread_join(thread, nullptr);
#endif
}

std::string Contents(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

}  // namespace zelmora::testing
