// The ".anm" animation file: tagged sections ANIM, IMGN, FRMS and an optional SCRP, every
// number a little-endian int32 or float, every string a length and that many bytes. The
// reader checks each count and length against the bytes left before it trusts it.
#include <cstring>

#include "tvlib/media/TAnimation.h"

namespace {

// Smallest encodings: a frame (six ints, six floats, an empty name, an anchor count) and an
// anchor (two ints and an empty name).
constexpr size_t kMinFrameBytes = 6 * 4 + 6 * 4 + 4 + 4;
constexpr size_t kMinAnchorBytes = 3 * 4;

class TAnmCursor {
 public:
  TAnmCursor(const uint8_t* bytes, size_t size) : mBytes(bytes), mLeft(size) {}

  size_t Left() const { return mLeft; }
  bool Tag(const char* tag) {
    if (mLeft < 4 || std::memcmp(mBytes, tag, 4) != 0) return false;
    Skip(4);
    return true;
  }
  bool Int(int32_t* out) {
    uint32_t v = 0;
    if (!Word(&v)) return false;
    *out = static_cast<int32_t>(v);
    return true;
  }
  bool Float(float* out) {
    uint32_t v = 0;
    if (!Word(&v)) return false;
    std::memcpy(out, &v, 4);
    return true;
  }
  // A length of 0 or less is the empty string; a longer one than the bytes left fails.
  bool String(TString* out) {
    int32_t n = 0;
    if (!Int(&n)) return false;
    if (n <= 0) {
      *out = TString();
      return true;
    }
    if (static_cast<size_t>(n) > mLeft) return false;
    *out = TString(reinterpret_cast<const char*>(mBytes), n);
    Skip(static_cast<size_t>(n));
    return true;
  }
  // A count that is negative or names more items of `minBytes` than the bytes left hold.
  bool Count(int32_t* out, size_t minBytes) {
    return Int(out) && *out >= 0 && static_cast<size_t>(*out) <= mLeft / minBytes;
  }

 private:
  bool Word(uint32_t* out) {
    if (mLeft < 4) return false;
    *out = static_cast<uint32_t>(mBytes[0]) | static_cast<uint32_t>(mBytes[1]) << 8 |
           static_cast<uint32_t>(mBytes[2]) << 16 | static_cast<uint32_t>(mBytes[3]) << 24;
    Skip(4);
    return true;
  }
  void Skip(size_t n) {
    mBytes += n;
    mLeft -= n;
  }

  const uint8_t* mBytes;
  size_t mLeft;
};

bool ReadFrame(TAnmCursor& in, TAnimFrame* frame) {
  int32_t anchors = 0;
  if (!in.Int(&frame->regX) || !in.Int(&frame->regY) || !in.Int(&frame->x) || !in.Int(&frame->y) ||
      !in.Int(&frame->width) || !in.Int(&frame->height))
    return false;
  for (float& v : frame->transform)
    if (!in.Float(&v)) return false;
  if (!in.String(&frame->name) || !in.Count(&anchors, kMinAnchorBytes)) return false;
  frame->anchors.resize(static_cast<size_t>(anchors));
  for (TAnimAnchor& anchor : frame->anchors)
    if (!in.Int(&anchor.x) || !in.Int(&anchor.y) || !in.String(&anchor.name)) return false;
  return true;
}

}  // namespace

TString MakeDefaultAnimationScript(int frameCount) {
  TString script = "function DoAnim()\n    delay(60);\n";
  if (frameCount > 0) {
    script += "    frames{";
    for (int i = 1; i <= frameCount; ++i) script += TString::Format(i == 1 ? "%d" : ",%d", i);
    script += "};\n";
  }
  return script + "end\n";
}

bool ReadAnimationAnm(const uint8_t* bytes, size_t size, TAnimation* out) {
  TAnmCursor in(bytes, size);
  int32_t unused = 0;
  if (!in.Tag("ANIM") || !in.Int(&unused) || !in.Int(&unused) || !in.String(&out->sequenceName) ||
      !in.String(&out->sequenceSource))
    return false;

  if (!in.Tag("IMGN") || !in.Int(&out->regX) || !in.Int(&out->regY) || !in.Int(&out->width) ||
      !in.Int(&out->height))
    return false;
  for (float& v : out->imageTransform)
    if (!in.Float(&v)) return false;
  if (!in.String(&out->imageName) || !in.String(&out->maskName)) return false;

  int32_t count = 0;
  if (!in.Tag("FRMS") || !in.Count(&count, kMinFrameBytes)) return false;
  out->frames.assign(static_cast<size_t>(count), TAnimFrame{});
  for (TAnimFrame& frame : out->frames) {
    if (!ReadFrame(in, &frame)) return false;
    if (frame.width > out->maxWidth) out->maxWidth = frame.width;
    if (frame.height > out->maxHeight) out->maxHeight = frame.height;
  }

  if (in.Tag("SCRP")) return in.String(&out->script);
  out->script = MakeDefaultAnimationScript(count);
  return true;
}
