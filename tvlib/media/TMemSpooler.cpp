// Filling buffer halves from decoded data or from the decoder.
#include "tvlib/media/TMemSpooler.h"

#include <vorbis/vorbisfile.h>

#include <algorithm>
#include <cstring>

#include "tvlib/media/TSoundData.h"

namespace {

// Holes (lost data) the decoder may report in one read before it counts as the end.
constexpr int kMaxHoles = 16;

}  // namespace

bool TMemSpooler::Fill(int bytes, void* dest, int* got, bool loop) {
  char* out = static_cast<char*>(dest);
  std::memset(out, 0, size_t(std::max(bytes, 0)));
  int delivered = 0;
  bool wrapped = false;
  for (;;) {
    int n = 0;
    bool ended = Read(bytes - delivered, out + delivered, &n);
    delivered += n;
    if (!ended) break;
    // An empty sound gives nothing even from the start: it ends instead of wrapping again.
    if (!loop || (wrapped && n == 0)) {
      *got = delivered;
      return false;
    }
    Rewind();
    wrapped = true;
  }
  *got = delivered;
  return true;
}

bool TMemSpooler::Read(int bytes, char* dest, int* got) {
  *got = 0;
  if (mData->IsDecodedWhole()) {
    long long left = std::max<long long>(mData->mDecodedBytes - mPosition, 0);
    int n = int(std::min<long long>(bytes, left));
    std::memcpy(dest, mData->mPcm.data() + mPosition, size_t(n));
    mPosition += n;
    *got = n;
    return n < bytes;
  }
  OggVorbis_File* decoder = mData->mDecoder;
  if (!decoder) return false;
  if (ov_pcm_tell(decoder) != mPosition && ov_pcm_seek(decoder, mPosition) != 0) return true;
  int delivered = 0;
  int holes = 0;
  bool ended = false;
  while (delivered < bytes) {
    int section = 0;
    long n = ov_read(decoder, dest + delivered, bytes - delivered, 0, 2, 1, &section);
    if (n == OV_HOLE && ++holes <= kMaxHoles) continue;
    if (n <= 0) {
      ended = true;
      break;
    }
    delivered += int(n);
  }
  mPosition = ov_pcm_tell(decoder);
  *got = delivered;
  return ended;
}

void TMemSpooler::Rewind() {
  mPosition = 0;
  if (mData->mDecoder) ov_pcm_seek(mData->mDecoder, 0);
}
