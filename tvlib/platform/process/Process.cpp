// posix_spawnp behind SpawnProgram, with a detached reaper per started program.
#include "tvlib/platform/process/Process.h"

#include <spawn.h>
#include <sys/wait.h>

#include <thread>

extern char** environ;

bool SpawnProgram(const std::vector<std::string>& argv) {
  if (argv.empty() || argv[0].empty()) return false;
  std::vector<char*> args;
  args.reserve(argv.size() + 1);
  for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);
  pid_t pid = 0;
  if (posix_spawnp(&pid, args[0], nullptr, nullptr, args.data(), environ) != 0) return false;
  std::thread([pid] {
    int status = 0;
    waitpid(pid, &status, 0);
  }).detach();
  return true;
}
