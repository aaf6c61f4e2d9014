// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace tunefold::bench {

// A program to start: no shell between, so nothing is timed but the program.
struct Command
{
    Command(std::vector<std::string> arguments) : argv(std::move(arguments)) {}

    std::vector<std::string> argv;        // argv[0] is looked up in PATH
    std::string stdoutPath = "/dev/null"; // created or emptied
    std::string stderrPath = "/dev/null";
    std::vector<std::string> environment; // NAME=VALUE added to ours
};

struct Finished
{
    double seconds = 0;    // from just before the start until reaped
    double cpuSeconds = 0; // user and system time of the child
    long peakRssKiB = 0;   // the child's ru_maxrss
    int status = 0;        // as wait4() gives it
};

// A started program. The clock runs from just before the start.
class ChildProcess
{
public:
    // Throws std::runtime_error when the program cannot be started.
    explicit ChildProcess(const Command &command);
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;

    [[nodiscard]] double elapsed() const;
    // Waits for the program to end.
    Finished wait();
    // Ends the program with SIGTERM and waits for it.
    Finished terminate();

private:
    pid_t m_pid = -1;
    double m_start = 0;
};

// Starts the command, waits for it and throws std::runtime_error unless it
// exited with one of the accepted statuses.
Finished runCommand(const Command &command, std::vector<int> acceptedExits = {0});

// Seconds on the monotonic clock.
[[nodiscard]] double monotonicSeconds();

} // namespace tunefold::bench
