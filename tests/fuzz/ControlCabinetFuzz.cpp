// The control's cabinet unpacker: whatever the cabinet holds, nothing is written outside the
// folder it is unpacked into.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "webcontrol/CabinetUnpacker.h"
#include "webcontrol/GameFolder.h"

namespace {

// A private folder of the target's own; the game folders are made and removed inside it.
const std::string& FuzzRoot() {
  static const std::string root = [] {
    std::string pattern = GetTemporaryFolder() + "/tvfuzz-cabinet-XXXXXX";
    if (!mkdtemp(pattern.data())) std::abort();
    return std::filesystem::canonical(pattern).string();
  }();
  return root;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string& root = FuzzRoot();
  std::string folder = root + "/game";
  std::filesystem::create_directory(folder);
  UnpackCabinet(data, size, folder);
  // The game folder is all the root holds.
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(root)) {
    (void)entry;
    ++entries;
  }
  if (entries != 1 || !RemoveGameFolder(folder)) std::abort();
  return 0;
}
