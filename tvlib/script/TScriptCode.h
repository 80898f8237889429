// A compiled script as a shared asset: the bytes of one precompiled chunk, found again by
// file name while anyone holds it, compiled again after the last holder lets it go. The
// bytes may contain zeros: their length bounds them. UI thread only.
#pragma once

#include <memory>
#include <string>

#include "tvlib/core/TAsset.h"
#include "tvlib/core/TString.h"

class TScriptCode : public TAsset {
  TV_ASSET_CLASS(TScriptCode, TAsset)

 public:
  TScriptCode(const char* bytes, int length) : mCode(bytes, static_cast<size_t>(length)) {}
  const std::string& GetCode() const { return mCode; }
  int GetLength() const { return static_cast<int>(mCode.size()); }

  // The compiled code of a script file (a virtual file name): the live shared one, or a new
  // compile registered with the asset manager; empty when the file does not load.
  static std::shared_ptr<TScriptCode> Get(const TString& fileName);
  // The asset as compiled code, or empty when it is another kind.
  static std::shared_ptr<TScriptCode> FromAsset(const std::shared_ptr<TAsset>& asset);

 private:
  std::string mCode;
};
