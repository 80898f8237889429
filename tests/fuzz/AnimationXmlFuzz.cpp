// Fuzz target: bytes read as an XML animation document, then fitted to a sheet whose size
// comes from the first two bytes, so that no frame value can overflow when it is drawn.
#include <cstddef>
#include <cstdint>

#include "tests/fuzz/FuzzLog.h"
#include "tvlib/core/TXmlNode.h"
#include "tvlib/media/TAnimation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetFuzzLog("animation_xml");
  if (size < 2) return 0;
  TXmlNode document;
  document.LoadBuffer(data + 2, size - 2);
  TAnimation animation;
  if (!ReadAnimationXml(document, &animation)) return 0;
  FitAnimationToSheet(&animation, data[0] * 16, data[1] * 16);
  for (const TAnimFrame& f : animation.frames) {
    // What drawing a frame computes: none of it may overflow.
    const int64_t right = int64_t(f.x) + f.width, bottom = int64_t(f.y) + f.height;
    if (right > data[0] * 16 || bottom > data[1] * 16 || f.regX < -kMaxAnimOffset ||
        f.regX > kMaxAnimOffset)
      __builtin_trap();
  }
  return 0;
}
