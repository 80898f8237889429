// Opening Ogg Vorbis data and deciding between decoding it whole and streaming it.
#include "tvlib/media/TSoundData.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFile.h"
#include "tvlib/media/TOggSources.h"
#include "tvlib/media/TSound.h"

namespace {

// A compressed file larger than this is not read into memory.
constexpr int kMaxFileBytes = 64 << 20;
// Holes (lost data) the decoder may report before the decoding stops.
constexpr int kMaxHoles = 16;

}  // namespace

TSoundData::TSoundData() = default;

TSoundData::~TSoundData() {
  CloseDecoder();
  mHandles.clear();
}

void TSoundData::CloseDecoder() {
  if (!mDecoder) return;
  ov_clear(mDecoder);
  delete mDecoder;
  mDecoder = nullptr;
}

bool TSoundData::Open(TFile* file, bool streamFromFile) {
  FileSeek(file, 0, 2);
  const int size = FileTell(file);
  FileSeek(file, 0, 1);
  if (!streamFromFile) {
    std::vector<uint8_t> bytes;
    int read = 0;
    if (size >= 0 && size <= kMaxFileBytes) {
      bytes.resize(static_cast<size_t>(size));
      read = size > 0 ? FileRead(file, bytes.data(), size) : 0;
    }
    FileClose(file);
    if (size < 0 || size > kMaxFileBytes) {
      DebugLog("OGG file could not be opened: %d bytes", size);
      return false;
    }
    return OpenMemory(bytes.data(), size_t(std::max(read, 0)));
  }
  const TOggLayout layout = ScanOggPages([file](uint8_t* out, size_t wanted) {
    const int read = FileRead(file, out, int(std::min<size_t>(wanted, INT_MAX)));
    return size_t(std::max(read, 0));
  });
  FileSeek(file, 0, 1);
  if (!IsUsableOggLayout(layout)) {
    DebugLog("OGG file could not be opened: %d logical streams", layout.streams);
    FileClose(file);
    return false;
  }
  auto* source = new TOggFileSource{file, layout.end};
  mDecoder = new OggVorbis_File;
  std::memset(mDecoder, 0, sizeof *mDecoder);
  if (ov_open_callbacks(source, mDecoder, nullptr, 0, OggFileCallbacks()) < 0) {
    // A failed open leaves its source to the caller.
    DebugLog("OGG file could not be opened");
    FileClose(file);
    delete source;
    delete mDecoder;
    mDecoder = nullptr;
    return false;
  }
  return Finish(true);  // a refusal there closes the decoder, and the file with it
}

bool TSoundData::OpenMemory(const uint8_t* bytes, size_t size) {
  size_t position = 0;
  const TOggLayout layout = ScanOggPages([&](uint8_t* out, size_t wanted) {
    const size_t n = std::min(wanted, size - position);
    if (n) std::memcpy(out, bytes + position, n);
    position += n;
    return n;
  });
  if (!IsUsableOggLayout(layout)) {
    DebugLog("OGG data could not be opened: %d logical streams", layout.streams);
    return false;
  }
  auto* source = new TOggMemoryFile;
  source->data.assign(bytes, bytes + layout.end);
  mDecoder = new OggVorbis_File;
  std::memset(mDecoder, 0, sizeof *mDecoder);
  if (ov_open_callbacks(source, mDecoder, nullptr, 0, OggMemoryCallbacks()) < 0) {
    DebugLog("OGG file could not be opened");
    delete source;
    delete mDecoder;
    mDecoder = nullptr;
    return false;
  }
  return Finish(false);
}

bool TSoundData::Finish(bool streamFromFile) {
  vorbis_info* info = ov_info(mDecoder, -1);
  double duration = ov_time_total(mDecoder, -1);
  if (!info || info->channels < 1 || info->channels > 2 || info->rate < 1000 ||
      info->rate > 192000 || !std::isfinite(duration) || duration < 0) {
    DebugLog("OGG file could not be opened");
    CloseDecoder();
    return false;
  }
  mSampleRate = int(info->rate);
  mChannels = info->channels;
  mDuration = duration;
  if (mDuration > kDecodeWholeSeconds || streamFromFile) return true;
  mCapacity = int(2.0 * (mDuration + 0.1) * mChannels * mSampleRate);
  mPcm.assign(size_t(mCapacity) + 4, 0);
  mDecodedBytes = 0;
  int holes = 0;
  while (mDecodedBytes < mCapacity) {
    int section = 0;
    long n = ov_read(mDecoder, reinterpret_cast<char*>(mPcm.data()) + mDecodedBytes,
                     mCapacity - mDecodedBytes, 0, 2, 1, &section);
    if (n == OV_HOLE && ++holes <= kMaxHoles) continue;
    if (n <= 0) break;
    mDecodedBytes += int(n);
  }
  CloseDecoder();
  return true;
}

void TSoundData::OnStreamNotify(TSoundStream* stream) {
  std::shared_ptr<TAsset> keep = mOwner ? mOwner->weak_from_this().lock() : nullptr;
  for (auto it = mHandles.begin(); it != mHandles.end(); ++it) {
    if (it->second == stream) {
      mHandles.erase(it);
      break;
    }
  }
}
