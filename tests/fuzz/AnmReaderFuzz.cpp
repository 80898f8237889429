// Fuzz target: an ".anm" animation file read into the animation record, so a short or lying
// file can neither read past its bytes nor make the reader allocate what it does not hold.
#include <cstddef>
#include <cstdint>

#include "tvlib/media/TAnimation.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TAnimation animation;
  if (ReadAnimationAnm(data, size, &animation)) {
    // Everything read must be within what the file held.
    size_t anchors = 0;
    for (const TAnimFrame& frame : animation.frames) anchors += frame.anchors.size();
    if (animation.frames.size() * 56 + anchors * 12 > size) __builtin_trap();
  }
  return 0;
}
