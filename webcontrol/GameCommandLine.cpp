// Building and splitting the game's command line.
#include "webcontrol/GameCommandLine.h"

#include <unistd.h>

#include <climits>
#include <cstdio>

std::string BuildGameCommandLine(const TPageParams& params, unsigned long window,
                                 const std::string& hostProgram) {
  char windowSwitch[32];
  std::snprintf(windowSwitch, sizeof windowSwitch, "-wnd=%lx", window);
  std::string line = std::string(kGameProgramName) + " " + windowSwitch;
  auto add = [&](TPageParam param, const char* before) {
    const std::string& text = params.Get(param);
    if (!text.empty()) line += before + text;
  };
  add(TPageParam::DownloadUrl, " -url=");
  add(TPageParam::Options, " -options=");
  add(TPageParam::AnonymousScores, " -anon ");
  add(TPageParam::HideLogos, " -hidelogo ");
  add(TPageParam::GameData, " ");
  if (!params.Get(TPageParam::MSN).empty())
    line += " -msn";
  else
    line += " -host=" + hostProgram;
  return line;
}

std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> arguments(1);
  for (char c : line) {
    if (c == ' ')
      arguments.emplace_back();
    else
      arguments.back() += c;
  }
  return arguments;
}

std::string GetHostProgramPath() {
  char path[PATH_MAX];
  ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  if (length <= 0 || static_cast<size_t>(length) >= sizeof path) return {};
  return std::string(path, static_cast<size_t>(length));
}
