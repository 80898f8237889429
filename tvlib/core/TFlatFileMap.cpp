// Reading one entry of a mapped asset package.
#include "tvlib/core/TFlatFileMap.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TPackageReader.h"

namespace {

// Reads the decimal number at `text`; false unless digits are there and it fits `limit`.
bool ReadNumber(const char* text, long long limit, long long* value) {
  char* end = nullptr;
  long long n = std::strtoll(text, &end, 10);
  if (end == text || n < 0 || n > limit) return false;
  *value = n;
  return true;
}

}  // namespace

bool TFlatFileMap::Open(const TString& handle, int mode) {
  Close();
  const char* text = handle.c_str();
  long long slot = 0;
  if (text[0] != '@' || !ReadNumber(text + 1, INT32_MAX, &slot)) return false;
  std::shared_ptr<const TFileMapData> data = GetPackageData(static_cast<int>(slot));
  if (!data) return false;
  if (!data->GetBase()) {
    DebugLog("error reading %s from flat file", text);
    return false;
  }
  const char* colon = std::strchr(text, ':');
  const char* comma = colon ? std::strchr(colon, ',') : nullptr;
  long long offset = 0, size = 0;
  if (!comma || !ReadNumber(colon + 1, INT32_MAX, &offset) ||
      !ReadNumber(comma + 1, INT32_MAX, &size))
    return false;
  if (static_cast<unsigned long long>(offset + size) > data->GetSize()) {
    DebugLog("error reading %s from flat file", text);
    return false;
  }
  mData = std::move(data);
  mBase = mData->GetBase() + offset;
  mMode = NormalizeFileMode(mode);
  mSize = static_cast<int>(size);
  mPosition = 0;
  return true;
}

int TFlatFileMap::Close() {
  mData.reset();
  mBase = nullptr;
  mSize = 0;
  mPosition = 0;
  return 0;
}

void TFlatFileMap::Seek(int offset, int whence) {
  long long position = whence == kSeekCurrent ? static_cast<long long>(mPosition) + offset
                       : whence == kSeekEnd   ? static_cast<long long>(mSize) + offset
                                              : offset;
  // A position before the start or past the end lands on the end.
  mPosition = position < 0 || position > mSize ? mSize : static_cast<int>(position);
}

int TFlatFileMap::Read(void* buffer, int count) {
  if (!mBase || !buffer || count <= 0) return 0;
  if (count > mSize - mPosition) count = mSize - mPosition;
  auto* out = static_cast<unsigned char*>(buffer);
  if (mMode == kFileReadText) {
    int stored = 0;
    while (stored < count && mPosition < mSize) {
      unsigned char c = mBase[mPosition++];
      if (c != '\r') out[stored++] = c;
    }
    return stored;
  }
  std::memcpy(out, mBase + mPosition, static_cast<size_t>(count));
  mPosition += count;
  return count;
}
