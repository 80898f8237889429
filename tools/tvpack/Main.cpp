// tvpack: packs folders into an asset package.
//   tvpack <folder>... <package.tvp>
// A file of a later folder replaces the file of the same name from an earlier one (the game
// packs its assets, then its precompiled scripts over their sources). The package is
// written beside its final name and renamed over it, so a failed run never leaves a
// half-written package.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tools/tvpack/TPackageWriter.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: tvpack <folder>... <package.tvp>\n");
    return 2;
  }
  std::string error, package;
  std::vector<TPackMember> members;
  if (!CollectFolders({argv + 1, argv + argc - 1}, &members, &error)) {
    std::fprintf(stderr, "tvpack: %s\n", error.c_str());
    return 1;
  }
  if (!BuildPackage(members, &package, &error)) {
    std::fprintf(stderr, "tvpack: %s\n", error.c_str());
    return 1;
  }
  // The partial file's name holds no ".tvp", so a failed run never leaves a package behind
  // that the game would mount.
  std::filesystem::path target(argv[argc - 1]);
  std::filesystem::path temporary =
      target.parent_path() / ("~" + target.stem().string() + ".partial");
  std::error_code failure;
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out.write(package.data(), static_cast<std::streamsize>(package.size()));
    if (!out.flush()) {
      std::fprintf(stderr, "tvpack: cannot write %s\n", temporary.c_str());
      std::filesystem::remove(temporary, failure);
      return 1;
    }
  }
  std::filesystem::rename(temporary, target, failure);
  if (failure) {
    std::fprintf(stderr, "tvpack: cannot rename %s: %s\n", temporary.c_str(),
                 failure.message().c_str());
    return 1;
  }
  std::printf("tvpack: %zu entries, %zu bytes in %s\n", members.size(), package.size(),
              argv[argc - 1]);
  return 0;
}
