// One entry of a mapped asset package behind the TFileData interface: read-only, reading
// straight from the mapped bytes without copying the entry.
//
// It holds a share of the package's mapping, so the bytes stay valid while it is open even
// when the package is mounted again. Writes are refused.
#pragma once

#include <memory>

#include "tvlib/core/TFileData.h"
#include "tvlib/core/TFileMap.h"

class TFlatFileMap : public TFileData {
 public:
  // `handle` is a package handle "@<slot>:<offset>,<size>" from the file index.
  bool Open(const TString& handle, int mode) override;
  int Close() override;
  void UngetChar() override { Seek(-1, kSeekCurrent); }
  void Seek(int offset, int whence) override;
  int GetSize() override { return mSize; }
  int Tell() override { return mPosition; }
  int Read(void* buffer, int count) override;
  int Write(const void*, int) override { return 0; }
  bool IsEOF() override { return mPosition == mSize; }

 private:
  std::shared_ptr<const TFileMapData> mData;
  const unsigned char* mBase = nullptr;
  int mMode = kFileReadBinary;
  int mSize = 0;
  int mPosition = 0;
};
