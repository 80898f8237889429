// The page's six parameters, as the control keeps them: narrowed page texts (PageText.h),
// empty until the page gives them. A parameter counts as given when its text is not empty.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "webcontrol/FestraVaskControl.h"

enum class TPageParam { DownloadUrl, Options, AnonymousScores, HideLogos, MSN, GameData };

// The names the page gives them by, in the order the control asks for them.
inline constexpr std::array<const char*, 6> kPageParamNames = {
    "DownloadUrl", "Options", "AnonymousScores", "HideLogos", "MSN", "GameData"};

class TPageParams {
 public:
  const std::string& Get(TPageParam param) const { return mTexts[static_cast<size_t>(param)]; }

  // Reads the page's parameters: each of the six, in order, takes the first entry that names
  // it (without regard to case). One that no entry names, or whose entry has no value (it
  // could not be read), keeps what it held.
  void Load(const fv_param* params, size_t count);

 private:
  std::array<std::string, kPageParamNames.size()> mTexts;
};
