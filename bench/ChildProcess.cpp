// Tunefold - lists the MP3 files of a folder as an HTML page.
// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChildProcess.h"

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace tunefold::bench {

double monotonicSeconds()
{
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

ChildProcess::ChildProcess(const Command &command)
{
    std::vector<char *> argv;
    for (const std::string &argument : command.argv)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);

    std::vector<std::string> names;
    for (const std::string &setting : command.environment)
        names.push_back(setting.substr(0, setting.find('=') + 1));
    std::vector<char *> env;
    for (char **variable = environ; *variable; ++variable) {
        const std::string_view current(*variable);
        const bool replaced = std::any_of(names.begin(), names.end(), [&](const std::string &n) {
            return current.substr(0, n.size()) == n;
        });
        if (!replaced)
            env.push_back(*variable);
    }
    for (const std::string &setting : command.environment)
        env.push_back(const_cast<char *>(setting.c_str()));
    env.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, command.stdoutPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, command.stderrPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    m_start = monotonicSeconds();
    const int error = posix_spawnp(&m_pid, argv[0], &actions, nullptr, argv.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (error != 0) {
        m_pid = -1;
        throw std::runtime_error("cannot start " + command.argv[0] + ": " + std::strerror(error));
    }
}

ChildProcess::~ChildProcess()
{
    // Only on the way out of an error: nothing is left running behind us.
    if (m_pid > 0) {
        kill(m_pid, SIGTERM);
        waitpid(m_pid, nullptr, 0);
    }
}

double ChildProcess::elapsed() const
{
    return monotonicSeconds() - m_start;
}

Finished ChildProcess::wait()
{
    Finished finished;
    rusage usage{};
    while (wait4(m_pid, &finished.status, 0, &usage) < 0) {
        if (errno != EINTR)
            throw std::runtime_error(std::string("wait4: ") + std::strerror(errno));
    }
    finished.seconds = elapsed();
    finished.cpuSeconds = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                          double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
    finished.peakRssKiB = usage.ru_maxrss;
    m_pid = -1;
    return finished;
}

Finished ChildProcess::terminate()
{
    kill(m_pid, SIGTERM);
    return wait();
}

Finished runCommand(const Command &command, std::vector<int> acceptedExits)
{
    ChildProcess child(command);
    const Finished finished = child.wait();
    const bool accepted = WIFEXITED(finished.status) &&
                          std::find(acceptedExits.begin(), acceptedExits.end(),
                                    WEXITSTATUS(finished.status)) != acceptedExits.end();
    if (!accepted)
        throw std::runtime_error(command.argv[0] + " failed (status " +
                                 std::to_string(finished.status) + "), see " + command.stderrPath);
    return finished;
}

} // namespace tunefold::bench
