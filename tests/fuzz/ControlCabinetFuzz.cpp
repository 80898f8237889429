// The control's cabinet unpacker: whatever the cabinet holds, nothing is written outside the
// folder it is unpacked into.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "webcontrol/CabinetUnpacker.h"
#include "webcontrol/GameFolder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // A private folder for each input, with the game's folder in it.
  std::string pattern = GetTemporaryFolder() + "/tvfuzz-cabinet-XXXXXX";
  if (!mkdtemp(pattern.data())) std::abort();
  std::string root = std::filesystem::canonical(pattern).string();
  std::string folder = root + "/game";
  std::filesystem::create_directory(folder);
  UnpackCabinet(data, size, folder);
  // The game's folder is all the private folder holds.
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(root)) {
    (void)entry;
    ++entries;
  }
  if (entries != 1 || !RemoveGameFolder(root)) std::abort();
  return 0;
}
