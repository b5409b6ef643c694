// Starting a program and collecting its cost, for benchmarks of whole processes.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <string>
#include <vector>

extern char** environ;

namespace zxp::bench {

struct ChildCost {
  double wallSeconds = 0;
  double cpuSeconds = 0;  // user + system, from wait4
  bool ok = false;        // started, and exited with status 0
};

// Starts `bin` with `args` (without the program name), waits for it and returns its wall and CPU
// time. The child's standard output goes to `stdoutFile` when one is given.
inline ChildCost runChild(const std::string& bin, const std::vector<std::string>& args,
                          const std::string& stdoutFile = {}) {
  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(bin.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  ChildCost cost;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  if (!stdoutFile.empty())
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, stdoutFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = 0;
  const int spawned = posix_spawn(&pid, bin.c_str(), &actions, nullptr, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  if (spawned != 0) return cost;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return cost;
  cost.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  const auto seconds = [](const timeval& t) { return static_cast<double>(t.tv_sec) + t.tv_usec / 1e6; };
  cost.cpuSeconds = seconds(usage.ru_utime) + seconds(usage.ru_stime);
  cost.ok = WIFEXITED(status) && WEXITSTATUS(status) == 0;
  return cost;
}

}  // namespace zxp::bench
