// The handle every file of the engine is read and written through.
//
// A TFile owns at most one TFileData: a disk file or an asset package entry, chosen by the
// virtual name it was opened with (TFileIndex.h). Every operation on a TFile without a file
// answers a harmless value (Tell -1, GetSize 0, IsEOF true, Read and Write 0). The File*
// functions work on the heap TFile that FileOpen gives.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>

#include "tvlib/core/TFileData.h"

class TFile {
 public:
  TFile() = default;
  ~TFile() = default;
  TFile(const TFile&) = delete;
  TFile& operator=(const TFile&) = delete;

  // Resolves the virtual name and opens it (modes in TFileData.h); false leaves no file.
  bool Open(const TString& name, int mode);
  bool IsOpen() const { return mData != nullptr; }
  void Close() { mData.reset(); }
  bool IsEOF() { return !mData || mData->IsEOF(); }
  void Seek(int offset, int whence) {
    if (mData) mData->Seek(offset, whence);
  }
  int GetSize() { return mData ? mData->GetSize() : 0; }
  int Tell() { return mData ? mData->Tell() : -1; }
  int Read(void* buffer, int count) { return mData ? mData->Read(buffer, count) : 0; }
  int Write(const void* buffer, int count) { return mData ? mData->Write(buffer, count) : 0; }
  void UngetChar() {
    if (mData) mData->UngetChar();
  }

 private:
  std::unique_ptr<TFileData> mData;
};

// A new open TFile, or null when the name resolves to nothing or does not open.
TFile* FileOpen(const char* name, int mode);
// Closes and deletes; null is fine.
void FileClose(TFile* file);
void FileSeek(TFile* file, int offset, int whence);
int FileTell(TFile* file);
int FileRead(TFile* file, void* buffer, int count);
int FileWrite(TFile* file, const void* buffer, int count);
// 1 at the end of the file (or without one), else 0.
int FileEof(TFile* file);
// The next byte as 0..255, or -1 at the end.
int FileGetChar(TFile* file);
void FileUngetChar(TFile* file);
// True when the TFile holds no open file.
bool FileIsBad(TFile* file);

// Replaces the disk file a virtual name resolves to with `size` bytes, so that it is either
// whole or as it was, with the file mode `mode` (TSafeSave.h). False (the old file untouched)
// when the name names no disk file or a step fails.
bool WriteFileAtomically(const TString& name, const void* bytes, size_t size, mode_t mode);
// Reads a whole file of at most `maxSize` bytes into `out`. False when it does not open, is
// larger, or a binary read comes up short (a text read is shorter by its carriage returns).
bool FileReadAll(const char* name, int mode, int maxSize, std::string* out);
