// Runs the built fighost as a child process and collects what it printed and its exit status.
#pragma once

#include <string>
#include <vector>

namespace fighost_test {

struct RunResult {
    int status = -1;  // the exit status; -1 when the child did not exit normally
    std::string out;  // everything it wrote to stdout
    std::string err;  // everything it wrote to stderr
};

// Runs fighost with args; the child inherits the environment, with leak checking told to pass
// over what Qt and fontconfig keep (unless LSAN_OPTIONS is already set).
RunResult runFighost(const std::vector<std::string>& args);

// How else to run fighost.
struct RunOptions {
    std::vector<std::string> environment;  // NAME=VALUE entries added to the child's environment
    std::vector<std::string> prefix;       // a program (and its words) that runs fighost
    std::string stdoutPath;                // stdout goes there instead of being read; "-" closes it
    long fileSizeLimit = 0;                // bytes a file may grow to in the child; 0 no limit
};
RunResult runFighost(const std::vector<std::string>& args, const RunOptions& options);

// The path of a file under examples/.
std::string examplePath(const std::string& name);
// The path of a file kept beside these tests.
std::string testDataPath(const std::string& name);

}  // namespace fighost_test
