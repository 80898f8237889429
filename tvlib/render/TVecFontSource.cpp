// The built-in font and the name chain; see TVecFontSource.h.
#include "tvlib/render/TVecFontSource.h"

#include <string>

#include "tvlib/core/TFile.h"

// Generated from the built-in face during the build (cmake/EmbedFile.cmake).
extern const unsigned char kBuiltinFontImage[];
extern const size_t kBuiltinFontImageSize;

namespace {
constexpr int kMaxFontFile = 16 << 20;
}  // namespace

bool ReadFontFile(const TString& name, std::vector<uint8_t>& bytes) {
  std::string data;
  if (!FileReadAll(name.c_str(), kFileReadBinary, kMaxFontFile, &data)) return false;
  bytes.assign(data.begin(), data.end());
  return true;
}

std::span<const uint8_t> GetBuiltinFontImage() {
  return {kBuiltinFontImage, kBuiltinFontImageSize};
}

std::unique_ptr<TVecFont> LoadBuiltinVecFont() {
  const std::span<const uint8_t> image = GetBuiltinFontImage();
  auto font = std::make_unique<TVecFont>();
  font->Load(std::vector<uint8_t>(image.begin(), image.end()));
  return font;
}

std::unique_ptr<TVecFont> LoadVecFontByName(const TString& name, const TFontFileReader& readFile) {
  if (name == "__DEFAULT" || !readFile) return LoadBuiltinVecFont();
  // A file that is missing or does not load (damaged) gives way to the next in the chain.
  for (const TString& candidate : {name, TString("fonts/default.mvec")}) {
    std::vector<uint8_t> bytes;
    if (!readFile(candidate, bytes)) continue;
    auto font = std::make_unique<TVecFont>();
    if (font->Load(std::move(bytes))) return font;
  }
  return LoadBuiltinVecFont();
}
