// What a sound knows: its Ogg Vorbis data (decoded whole when short, else an open decoder
// that every instance reads from at its own position), the file's rate, channels and
// length, its volume group, and the table of playing instances by handle.
//
// The decoder reads from memory or from a file of the engine (TOggSources.h). Only mono and
// stereo at 1000 to 192000 Hz are accepted. UI thread only, but the decoder itself is used
// under the sound manager's lock (by the spoolers, during refills).
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "tvlib/media/TSoundStream.h"

class TFile;
class TSound;
struct OggVorbis_File;

class TSoundData : public TStreamNotify {
 public:
  // Sounds of this length or shorter are decoded whole, unless streamed from the file.
  static constexpr double kDecodeWholeSeconds = 2.0;

  TSoundData();
  ~TSoundData() override;
  TSoundData(const TSoundData&) = delete;
  TSoundData& operator=(const TSoundData&) = delete;

  // Opens the file's Ogg Vorbis data and takes the file: without `streamFromFile` it is read
  // into memory (64 MB at most) and closed at once; with it the decoder keeps it (closed with
  // the decoder). False, the file closed, when the data is no usable Ogg Vorbis stream: more
  // logical streams than kMaxOggStreams, none, or a stream the engine does not play.
  bool Open(TFile* file, bool streamFromFile);
  // The same from `size` bytes (copied up to the end of the last page).
  bool OpenMemory(const uint8_t* bytes, size_t size);
  // Erases the stream's table entry, keeping the owning sound alive meanwhile.
  void OnStreamNotify(TSoundStream* stream) override;

  bool HasData() const { return !mPcm.empty() || mDecoder != nullptr; }
  bool IsDecodedWhole() const { return !mPcm.empty(); }

  std::map<int, TSoundStream*> mHandles;
  int mNextHandle = 0;
  int mGroup = 0;
  std::vector<uint8_t> mPcm;  // 16-bit little-endian interleaved; empty unless decoded whole
  int mSampleRate = 0;
  int mChannels = 0;
  double mDuration = 0;
  int mCapacity = 0;
  int mDecodedBytes = 0;
  OggVorbis_File* mDecoder = nullptr;
  TSound* mOwner = nullptr;

 private:
  // Reads the stream's facts and decodes it whole when short; false (decoder closed) when the
  // stream is unusable.
  bool Finish(bool streamFromFile);
  void CloseDecoder();
};
