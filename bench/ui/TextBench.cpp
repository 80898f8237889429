// Text blocks end to end: a page of about 3,000 characters of marked-up text (three faces,
// bold, italic, links, wrapping) laid out and drawn into an 800 x 600 target the first time
// (every glyph rasterised) and again (every glyph replayed from the glyph cache), the same
// redraw handed to a display as batches of coverage glyphs, the layout of a 100-character
// label, and of hostile text: 80 KB of "<" that no ">" closes (any outside text, such as an
// online name, reaches the mark-up).
// Items are glyphs drawn (or characters laid out).
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "tvlib/render/TTvMiniVecDraw.h"
#include "tvlib/ui/TTextBlock.h"
#include "tvlib/ui/TTextServices.h"

namespace {

constexpr float kWhite[4] = {1, 1, 1, 1};

bool ReadAsset(const TString& name, std::vector<uint8_t>& bytes) {
  std::ifstream file(std::string(TV_FONT_ASSETS) + "/" + name.c_str(), std::ios::binary);
  if (!file) return false;
  bytes.assign(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
  return true;
}

TCoverageDrawer NullDevice() {
  return [](std::span<const sd::TRasterCoverageGlyph> glyphs) {
    benchmark::DoNotOptimize(glyphs.data());
  };
}

class TBenchServices : public TTextServices {
 public:
  TBenchServices() {
    for (const char* name :
         {"fonts/arial.mvec", "fonts/monotype_corsiva.mvec", "font.mvec", "fonts/default.mvec"})
      GetVecFont(&fonts, name, ReadAsset);
    SetTextServices(this);
  }
  ~TBenchServices() override { SetTextServices(nullptr); }
  TFontCache* GetFontCache() override { return &fonts; }
  TTvMiniVecDraw* GetTextRasteriser() override { return draw.get(); }
  bool GetDisplayScale(float* scale) const override {
    *scale = 1.0f;
    return false;
  }
  TFontCache fonts;
  std::unique_ptr<TTvMiniVecDraw> draw = std::make_unique<TTvMiniVecDraw>();
};

// About 3,000 characters of text in paragraphs of the three faces.
TString MakePage() {
  const std::string paragraphs[] = {
      "Velka checks the <b>seating plan</b> once more: the aunt must not sit beside the "
      "uncle, and the <i>cake</i> arrives after the speeches. <a id='plan'>Open the plan</a> "
      "to move a guest. ",
      "<font face='fonts/monotype_corsiva.mvec' size='22'>A reception to remember, with "
      "music, flowers and a table for every family.</font> ",
      "<font face='font.mvec' size='14'>Score: 12,450 points. Guests served: 24 of 26. "
      "Time left: 1:35. <b>Bonus</b> for a happy couple.</font><br>",
  };
  std::string page;
  for (int i = 0; page.size() < 3000; ++i) page += paragraphs[i % 3];
  return TString(page.c_str());
}

int CountGlyphs(const TTextBlock& block) {
  int count = 0;
  for (const TTextLine& line : block.GetLines()) {
    for (const TTextRun& run : line.runs)
      count += run.last >= run.first ? run.last - run.first + 1 : 0;
  }
  return count;
}

struct TPage {
  TBenchServices services;
  std::vector<uint8_t> pixels = std::vector<uint8_t>(800 * 600 * 4);
  TLockedPixels target{pixels.data(), 800 * 4, 800, 600};
  TString text = MakePage();
  TTextBlock* Make() const {
    return TTextBlock::Create(text, 780, 600, 0, "fonts/arial.mvec", 16, kWhite);
  }
};

void BM_TextPageLayout(benchmark::State& state) {
  TPage page;
  int glyphs = 0;
  for (auto _ : state) {
    TTextBlock* block = page.Make();
    glyphs = CountGlyphs(*block);
    TTextBlock::Delete(block);
  }
  state.SetItemsProcessed(state.iterations() * glyphs);
}
BENCHMARK(BM_TextPageLayout);

// Each "<" must be found to be an ordinary character; the whole must stay linear.
void BM_UnclosedTagsLayout(benchmark::State& state) {
  TPage page;
  const TString text(std::string(static_cast<size_t>(state.range(0)), '<').c_str());
  for (auto _ : state) {
    TTextBlock* block = TTextBlock::Create(text, 780, 600, 0, "fonts/arial.mvec", 16, kWhite);
    benchmark::DoNotOptimize(block);
    TTextBlock::Delete(block);
  }
  state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_UnclosedTagsLayout)->Arg(80 << 10)->Arg(160 << 10)->Unit(benchmark::kMillisecond);

// Layout and first draw: a new rasteriser each time, so every glyph is rasterised.
void BM_TextPageFirstDraw(benchmark::State& state) {
  TPage page;
  int glyphs = 0;
  for (auto _ : state) {
    page.services.draw = std::make_unique<TTvMiniVecDraw>();
    TTextBlock* block = page.Make();
    block->Draw(TRect{10, 0, 799, 599}, 1.0f, 0, 1.0f, true, &page.target);
    glyphs = CountGlyphs(*block);
    TTextBlock::Delete(block);
    benchmark::DoNotOptimize(page.pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * glyphs);
}
BENCHMARK(BM_TextPageFirstDraw)->Unit(benchmark::kMillisecond);

// Redraw of a laid-out page from the glyph cache: into the target (0) or the display (1).
void BM_TextPageRedraw(benchmark::State& state) {
  TPage page;
  if (state.range(0) == 1) page.services.draw = std::make_unique<TTvMiniVecDraw>(NullDevice());
  TTextBlock* block = page.Make();
  const TLockedPixels* target = state.range(0) == 0 ? &page.target : nullptr;
  block->Draw(TRect{10, 0, 799, 599}, 1.0f, 0, 1.0f, true, target);
  for (auto _ : state) {
    block->Draw(TRect{10, 0, 799, 599}, 1.0f, 0, 1.0f, true, target);
    benchmark::DoNotOptimize(page.pixels.data());
  }
  state.SetItemsProcessed(state.iterations() * CountGlyphs(*block));
  TTextBlock::Delete(block);
}
BENCHMARK(BM_TextPageRedraw)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void BM_LabelLayout(benchmark::State& state) {
  TBenchServices services;
  const TString label(
      "<b>New record!</b> You seated every guest at the <i>Lindqvist</i> wedding in 4:12. "
      "<a id='ok'>Continue</a>");
  TTextBlock* block = TTextBlock::Create(label, 400, 60, 1, "fonts/arial.mvec", 18, kWhite);
  for (auto _ : state) {
    block->Layout();
    benchmark::DoNotOptimize(block->GetLineCount());
  }
  state.SetItemsProcessed(state.iterations() * label.Length());
  TTextBlock::Delete(block);
}
BENCHMARK(BM_LabelLayout);

}  // namespace
