// The animation record: one sheet image (with an optional alpha mask), its frames (a
// rectangle of the sheet, a registration point, named anchors and a 2x2 transform each) and
// the text of the animation script. Filled from an XML animation document or an ".anm" file
// of tagged sections; both readers take what is already in memory, so they never touch files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "tvlib/core/TString.h"

class TXmlNode;

// The first image-transform value when the file gives no transform.
inline constexpr float kNoImageTransform = -10000000.0f;

struct TAnimAnchor {
  TString name;
  int32_t x = 0, y = 0;
};

struct TAnimFrame {
  TString name;
  int32_t x = 0, y = 0, width = 0, height = 0;
  int32_t regX = 0, regY = 0;
  std::vector<TAnimAnchor> anchors;
  // (a, b / c, d) of the frame's 2x2 matrix, then two values carried without use.
  float transform[6] = {0, 0, 0, 0, 0, 0};
};

struct TAnimation {
  TString sequenceName;
  TString sequenceSource;
  TString imageName;
  TString maskName;
  TString script;
  int32_t maxWidth = 0, maxHeight = 0;
  int32_t regX = 0, regY = 0, width = 0, height = 0;
  float imageTransform[4] = {kNoImageTransform, 0, 0, 0};
  std::vector<TAnimFrame> frames;

  bool HasFrameTransforms() const { return imageTransform[0] != kNoImageTransform; }
};

// The script given to an animation without one: DoAnim shows every frame once, 60 ms each.
TString MakeDefaultAnimationScript(int frameCount);

// Reads the `sequence` element of a parsed document. False without `sequence`, and (after
// reading everything present) without `img` or `framelist`. A missing script gets the default.
bool ReadAnimationXml(const TXmlNode& document, TAnimation* out);

// Registration points and anchors lie at most this far from their frame's corner; sheets are
// far smaller, so that no sum of a frame's values can overflow.
inline constexpr int32_t kMaxAnimOffset = 1 << 20;

// Brings the frames within a sheet of `width` x `height` pixels: each rectangle inside the
// sheet (cut where it runs over), registration points and anchors within kMaxAnimOffset, and
// the largest frame size again. False when anything had to change.
bool FitAnimationToSheet(TAnimation* animation, int32_t width, int32_t height);

// Reads an ".anm" file's bytes. Every count and length is checked against the bytes left:
// a short file, a wrong section tag or a count that cannot fit fails the read.
bool ReadAnimationAnm(const uint8_t* bytes, size_t size, TAnimation* out);
