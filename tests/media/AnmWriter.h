// Writes ".anm" animation files for fixtures: an animation record in the file's section
// order, or single items for hand-made (and broken) files. Numbers are little-endian.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>

#include "tvlib/media/TAnimation.h"

class TAnmWriter {
 public:
  TAnmWriter& Tag(const char* tag) {
    mBytes.append(tag, 4);
    return *this;
  }
  TAnmWriter& Int(int32_t v) {
    uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) mBytes.push_back(static_cast<char>(u >> (8 * i)));
    return *this;
  }
  TAnmWriter& Float(float v) {
    int32_t bits;
    std::memcpy(&bits, &v, 4);
    return Int(bits);
  }
  TAnmWriter& String(const std::string& text) {
    Int(static_cast<int32_t>(text.size()));
    mBytes += text;
    return *this;
  }
  // The whole file for `a`; the SCRP section only when `withScript`.
  TAnmWriter& Animation(const TAnimation& a, bool withScript) {
    Tag("ANIM").Int(1).Int(0).String(a.sequenceName.c_str()).String(a.sequenceSource.c_str());
    Tag("IMGN").Int(a.regX).Int(a.regY).Int(a.width).Int(a.height);
    for (float v : a.imageTransform) Float(v);
    String(a.imageName.c_str()).String(a.maskName.c_str());
    Tag("FRMS").Int(static_cast<int32_t>(a.frames.size()));
    for (const TAnimFrame& f : a.frames) {
      Int(f.regX).Int(f.regY).Int(f.x).Int(f.y).Int(f.width).Int(f.height);
      for (float v : f.transform) Float(v);
      String(f.name.c_str()).Int(static_cast<int32_t>(f.anchors.size()));
      for (const TAnimAnchor& anchor : f.anchors)
        Int(anchor.x).Int(anchor.y).String(anchor.name.c_str());
    }
    if (withScript) Tag("SCRP").String(a.script.c_str());
    return *this;
  }
  const std::string& Bytes() const { return mBytes; }

 private:
  std::string mBytes;
};

// A small animation: a 96 x 32 sheet of three 32 x 32 frames, registration points at the
// middle of the bottom edge, one anchor on the second frame.
inline TAnimation SampleAnimation() {
  TAnimation a;
  a.sequenceName = "walk";
  a.sequenceSource = "walk.psd";
  a.imageName = "walk.png";
  a.width = 96;
  a.height = 32;
  for (int i = 0; i < 3; ++i) {
    TAnimFrame f;
    f.name = TString::Format("f%d", i);
    f.x = 32 * i;
    f.width = f.height = 32;
    f.regX = 16;
    f.regY = 32;
    a.frames.push_back(f);
  }
  a.frames[1].anchors.push_back(TAnimAnchor{"hand", 5, 6});
  a.maxWidth = a.maxHeight = 32;
  a.script = "function DoAnim() delay(10); frames{3,2,1}; end";
  return a;
}
