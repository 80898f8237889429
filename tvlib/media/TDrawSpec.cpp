// Building and composing drawing records.
#include "tvlib/media/TDrawSpec.h"

TDrawSpec::TDrawSpec(TVec2 position, float alpha_, float scale, uint32_t flags_)
    : alpha(alpha_), flags(flags_) {
  if (scale != 1.0f) transform.Scale(scale);
  transform.m[2][0] = position.x;
  transform.m[2][1] = position.y;
  transform.m[2][2] = 1.0f;
}

TDrawSpec TDrawSpec::Combine(const TDrawSpec& parent) const {
  TDrawSpec out = *this;
  out.transform = transform * parent.transform;
  out.alpha = alpha * parent.alpha;
  out.flags = flags ^ (parent.flags & (kSpecMirrorX | kSpecMirrorY));
  if (out.blend == kBlendInherit) out.blend = parent.blend;
  return out;
}

void TDrawSpec::ScaleInPlace(float s) {
  if (s == 1.0f) return;
  const TVec2 position = GetPosition();
  transform.Scale(s);
  SetPosition(position);
}
