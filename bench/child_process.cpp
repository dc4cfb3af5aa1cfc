#include "child_process.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <stdexcept>

extern char** environ;

namespace zelmora::bench {

namespace {

[[noreturn]] void Fail(const std::string& what, const std::string& program, int error) {
    throw std::runtime_error(what + " " + program + ": " + std::strerror(error));
}

class FileActions {
public:
    FileActions() { posix_spawn_file_actions_init(&actions_); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
    ~FileActions() { posix_spawn_file_actions_destroy(&actions_); }
    posix_spawn_file_actions_t* Get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_;
};

}  // namespace

int Run(const std::vector<std::string>& command, std::string* output) {
    std::vector<char*> argv;
    for (const std::string& word : command)
        argv.push_back(const_cast<char*>(word.c_str()));
    argv.push_back(nullptr);

    FileActions actions;
    int pipeFds[2] = {-1, -1};
    if (output) {
        if (pipe2(pipeFds, O_CLOEXEC) != 0)
            Fail("cannot make a pipe for", command[0], errno);
        posix_spawn_file_actions_adddup2(actions.Get(), pipeFds[1], STDOUT_FILENO);
    } else {
        posix_spawn_file_actions_addopen(actions.Get(), STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    }
    pid_t pid = 0;
    const int spawnError = posix_spawnp(&pid, argv[0], actions.Get(), nullptr, argv.data(), environ);
    if (output) {
        close(pipeFds[1]);
        if (spawnError == 0) {
            char buffer[4096];
            ssize_t got = 0;
            while ((got = read(pipeFds[0], buffer, sizeof buffer)) > 0 || (got < 0 && errno == EINTR))
                output->append(buffer, static_cast<size_t>(std::max<ssize_t>(got, 0)));
        }
        close(pipeFds[0]);
    }
    if (spawnError != 0)
        Fail("cannot run", command[0], spawnError);

    int status = 0;
    while (waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR)
            Fail("cannot wait for", command[0], errno);
    }
    if (!WIFEXITED(status))
        throw std::runtime_error(command[0] + " did not exit normally");
    return WEXITSTATUS(status);
}

}  // namespace zelmora::bench
