// Running the built fighost as a child process and collecting its output and status.
#include "fighost_run.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>

#include "support/temp_dir.h"

extern char** environ;

namespace fighost_test {

RunResult runFighost(const std::vector<std::string>& args) {
    setenv("LSAN_OPTIONS", "suppressions=" FIGHOST_LSAN_SUPPRESSIONS, 0);
    testing_support::TempDir folder;
    std::string outPath = folder.path("stdout"), errPath = folder.path("stderr");
    std::vector<std::string> words = {FIGHOST_PATH};
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(&word[0]);
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    RunResult result;
    pid_t child = 0;
    int spawned = posix_spawn(&child, FIGHOST_PATH, &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return result;
    int wait = 0;
    if (waitpid(child, &wait, 0) == child && WIFEXITED(wait))
        result.status = WEXITSTATUS(wait);
    result.out = testing_support::readFile(outPath);
    result.err = testing_support::readFile(errPath);
    return result;
}

RunResult runFighost(const std::vector<std::string>& args, const RunOptions& options) {
    setenv("LSAN_OPTIONS", "suppressions=" FIGHOST_LSAN_SUPPRESSIONS, 0);
    testing_support::TempDir folder;
    std::string outPath = options.stdoutPath.empty() ? folder.path("stdout") : options.stdoutPath;
    std::string errPath = folder.path("stderr");
    std::vector<std::string> words = options.prefix;
    words.push_back(FIGHOST_PATH);
    words.insert(words.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(&word[0]);
    argv.push_back(nullptr);
    std::vector<std::string> environment = options.environment;
    for (char** entry = environ; *entry != nullptr; ++entry)
        environment.push_back(*entry);
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(&entry[0]);
    envp.push_back(nullptr);

    RunResult result;
    pid_t child = fork();
    if (child < 0)
        return result;
    if (child == 0) {
        int in = open("/dev/null", O_RDONLY);
        int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(in, STDIN_FILENO);
        dup2(err, STDERR_FILENO);
        if (outPath == "-") {
            close(STDOUT_FILENO);
        } else {
            int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
            dup2(out, STDOUT_FILENO);
        }
        if (options.fileSizeLimit > 0) {
            // A write past the limit then fails with EFBIG instead of ending the process.
            signal(SIGXFSZ, SIG_IGN);
            struct rlimit limit = {static_cast<rlim_t>(options.fileSizeLimit),
                                   static_cast<rlim_t>(options.fileSizeLimit)};
            setrlimit(RLIMIT_FSIZE, &limit);
        }
        execvpe(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    int wait = 0;
    if (waitpid(child, &wait, 0) == child && WIFEXITED(wait))
        result.status = WEXITSTATUS(wait);
    if (options.stdoutPath.empty())
        result.out = testing_support::readFile(outPath);
    result.err = testing_support::readFile(errPath);
    return result;
}

std::string examplePath(const std::string& name) {
    return std::string(FIGURE_SOURCE_DIR) + "/examples/" + name;
}

std::string testDataPath(const std::string& name) {
    return std::string(FIGHOST_E2E_DIR) + "/" + name;
}

}  // namespace fighost_test
