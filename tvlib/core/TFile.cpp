// The file handle and the free file functions over it.
#include "tvlib/core/TFile.h"

#include "tvlib/core/TDiskFileData.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/core/TFlatFileMap.h"
#include "tvlib/core/TSafeSave.h"

bool TFile::Open(const TString& name, int mode) {
  mData.reset();
  TString path = ResolvePath(name);
  if (path.Length() == 0) return false;
  std::unique_ptr<TFileData> data;
  if (path.GetAt(0) == '@')
    data = std::make_unique<TFlatFileMap>();
  else
    data = std::make_unique<TDiskFileData>();
  if (!data->Open(path, mode)) return false;
  mData = std::move(data);
  return true;
}

TFile* FileOpen(const char* name, int mode) {
  auto file = std::make_unique<TFile>();
  if (!file->Open(name, mode)) return nullptr;
  return file.release();
}

void FileClose(TFile* file) {
  delete file;
}

void FileSeek(TFile* file, int offset, int whence) {
  if (file) file->Seek(offset, whence);
}

int FileTell(TFile* file) {
  return file ? file->Tell() : -1;
}

int FileRead(TFile* file, void* buffer, int count) {
  return file ? file->Read(buffer, count) : 0;
}

int FileWrite(TFile* file, const void* buffer, int count) {
  return file ? file->Write(buffer, count) : 0;
}

int FileEof(TFile* file) {
  return !file || file->IsEOF() ? 1 : 0;
}

int FileGetChar(TFile* file) {
  if (FileEof(file)) return -1;
  unsigned char c;
  return file->Read(&c, 1) == 1 ? c : -1;
}

void FileUngetChar(TFile* file) {
  if (file) file->UngetChar();
}

bool FileIsBad(TFile* file) {
  return !file || !file->IsOpen();
}

bool FileReadAll(const char* name, int mode, int maxSize, std::string* out) {
  std::unique_ptr<TFile> file(FileOpen(name, mode));
  if (!file) return false;
  int size = file->GetSize();
  if (size < 0 || size > maxSize) return false;
  out->assign(static_cast<size_t>(size), '\0');
  int got = size ? file->Read(out->data(), size) : 0;
  out->resize(static_cast<size_t>(got));
  return got == size || NormalizeFileMode(mode) == kFileReadText;
}

bool WriteFileAtomically(const TString& name, const void* bytes, size_t size, mode_t mode) {
  const TString resolved = ResolvePath(name);
  if (resolved.Length() == 0 || resolved.GetAt(0) != '/') return false;  // no disk file
  return SaveFileSafely(resolved.c_str(), bytes, size, mode);
}
