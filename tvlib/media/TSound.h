// The sound asset: one Ogg Vorbis file, loaded once, shared through the asset cache and
// played any number of times at once. Each Play makes a new instance (a TSoundStream with
// its own buffer) and answers its handle (0, 1, 2 ... per sound), by which the instance can
// be paused or stopped. Effects (group 1000) are decoded whole when short; music (group
// 1001) is streamed from its file. UI thread only.
#pragma once

#include <memory>

#include "tvlib/core/TAsset.h"
#include "tvlib/media/TSoundData.h"

class TSound : public TAsset {
  TV_ASSET_CLASS(TSound, TAsset)

 public:
  // The shared sound of a file. "name?group=N" plays in group N. The cache key is
  // "%s;%d;%d" of the file name, `decodeShort` and the group. Empty for a null name, a name
  // without ".ogg", a missing file or data that does not decode.
  static std::shared_ptr<TSound> Get(const char* name, bool decodeShort, int group);

  TSound();
  ~TSound() override;

  // Starts a new instance and answers its handle, or -1 (no data, no sound manager, no
  // buffer: then nothing of the instance is left behind).
  int Play(bool loop);
  // Pauses or resumes the instance `handle`, or every instance for -1; whether there was one.
  bool Pause(bool pause, int handle);
  // Stops the instance `handle` at once, or every instance for -1; whether there was one.
  bool Stop(int handle);

  TSoundData& GetData() { return *mData; }

 private:
  std::unique_ptr<TSoundData> mData;
  TString mKey;
};
