// Fuzz target: Ogg Vorbis bytes opened from a file on the streamed path (the decoder reading
// the file itself, as music does), then a few buffer halves spooled with looping on. Every
// refusal must close the file exactly once. Mutated pages get their checksums mended.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/fuzz/FuzzLog.h"
#include "tests/fuzz/OggFuzz.h"
#include "tvlib/core/TFile.h"
#include "tvlib/core/TFileData.h"
#include "tvlib/media/TSoundData.h"

namespace {

// One file of this process, rewritten for each input.
const std::string& InputPath() {
  static const std::string path = [] {
    const char* tmp = std::getenv("TMPDIR");
    return std::string(tmp && *tmp ? tmp : "/tmp") + "/tvfuzz-ogg-stream-" +
           std::to_string(getpid()) + ".ogg";
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetFuzzLog("ogg_stream");
  // Registered after the path exists, so it runs before the path goes.
  static const bool removedAtExit =
      !InputPath().empty() && std::atexit([] { std::remove(InputPath().c_str()); }) == 0;
  (void)removedAtExit;
  FILE* out = std::fopen(InputPath().c_str(), "wb");
  if (!out) return 0;
  std::fwrite(data, 1, size, out);
  std::fclose(out);
  TFile* file = FileOpen(("::" + InputPath()).c_str(), kFileReadBinary);
  if (!file) return 0;
  TSoundData sound;
  if (!sound.Open(file, true)) return 0;
  tvfuzz::SpoolSome(&sound);
  return 0;
}
