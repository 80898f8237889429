// Fuzz target: Ogg Vorbis bytes opened as a sound (decoded whole when short) and, when
// streamed, a few buffer halves spooled from the decoder with looping on. Mutated pages get
// their checksums mended, so the decoder's set-up sees the mutations.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzLog.h"
#include "tests/fuzz/OggFuzz.h"
#include "tvlib/media/TSoundData.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetFuzzLog("ogg_sound");
  TSoundData sound;
  if (!sound.OpenMemory(data, size)) return 0;
  tvfuzz::SpoolSome(&sound);
  return 0;
}
