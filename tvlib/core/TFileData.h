// The interface behind every open file: a disk file or an entry of a mapped asset package.
//
// Open modes are shared by every implementation: 0 read binary, 1 read text, 2 write binary,
// 3 write text, 4 append binary, 5 append text; any other number reads text. Text-mode
// reads drop carriage returns. Seek's whence: 0 from the current position, 1 from the start,
// 2 from the end.
#pragma once

#include "tvlib/core/TString.h"

enum : int {
  kFileReadBinary = 0,
  kFileReadText = 1,
  kFileWriteBinary = 2,
  kFileWriteText = 3,
  kFileAppendBinary = 4,
  kFileAppendText = 5,
};

enum : int { kSeekCurrent = 0, kSeekStart = 1, kSeekEnd = 2 };

class TFileData {
 public:
  virtual ~TFileData() = default;
  virtual bool Open(const TString& name, int mode) = 0;
  // Safe on a closed file.
  virtual int Close() = 0;
  // Pushes the last byte read back.
  virtual void UngetChar() = 0;
  virtual void Seek(int offset, int whence) = 0;
  virtual int GetSize() = 0;
  virtual int Tell() = 0;
  virtual int Read(void* buffer, int count) = 0;
  virtual int Write(const void* buffer, int count) = 0;
  virtual bool IsEOF() = 0;
};

// Modes outside 0..5 read text.
inline int NormalizeFileMode(int mode) {
  return mode >= kFileReadBinary && mode <= kFileAppendText ? mode : kFileReadText;
}
