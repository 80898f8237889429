// A file on disk behind the TFileData interface: one buffered stdio stream.
//
// Disk files are always opened in binary; text mode only changes reads, which drop carriage
// returns so that files written on any system read alike. Sizes are limited to 2 GB.
#pragma once

#include <cstdio>

#include "tvlib/core/TFileData.h"

class TDiskFileData : public TFileData {
 public:
  TDiskFileData() = default;
  ~TDiskFileData() override { Close(); }
  TDiskFileData(const TDiskFileData&) = delete;
  TDiskFileData& operator=(const TDiskFileData&) = delete;

  bool Open(const TString& name, int mode) override;
  int Close() override;
  void UngetChar() override;
  void Seek(int offset, int whence) override;
  int GetSize() override;
  int Tell() override;
  int Read(void* buffer, int count) override;
  int Write(const void* buffer, int count) override;
  bool IsEOF() override;

 private:
  FILE* mStream = nullptr;
  int mMode = kFileReadBinary;
  int mLastChar = -1;  // the last byte Read gave; -1 after UngetChar
};
