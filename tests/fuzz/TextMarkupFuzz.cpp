// Fuzz target: mark-up text laid out in a box whose size comes from the first two bytes,
// then hit-tested, scrolled and drawn into a small target, so no text can read past its end,
// overflow the mark-up stacks or lose the layout's way.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/ui/TextTestSupport.h"
#include "tvlib/ui/TTextBlock.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 2) return 0;
  static TTestTextServices* services = new TTestTextServices;
  const float white[4] = {1, 1, 1, 1};
  const TString text(reinterpret_cast<const char*>(data + 2), static_cast<int>(size - 2));
  TTextBlock* block = TTextBlock::Create(text, data[0], 64, data[1] & 15, "round", 10, white);
  const TPoint point{data[0] / 2, data[1] / 4};
  block->SetHotLinkAt(&point, data[1] & 3);
  block->SetFirstLine(block->GetScrollLimit(1.0f, 0));
  block->GetBounds();
  std::vector<uint8_t> pixels(64 * 64 * 4);
  const TLockedPixels target{pixels.data(), 64 * 4, 64, 64};
  block->SetFirstLine(0);
  block->Draw(TRect{0, 0, 63, 63}, 1.0f, 0, 1.0f, true, &target);
  TTextBlock::Delete(block);
  (void)services;
  return 0;
}
