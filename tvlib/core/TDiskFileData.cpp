// Disk files behind TFileData over buffered stdio.
#include "tvlib/core/TDiskFileData.h"

#include <climits>

bool TDiskFileData::Open(const TString& name, int mode) {
  Close();
  if (name.Length() == 0) return false;
  static const char* const kStdioModes[] = {"rb", "rb", "wb", "wb", "ab", "ab"};
  mMode = NormalizeFileMode(mode);
  mStream = std::fopen(name.c_str(), kStdioModes[mMode]);
  mLastChar = -1;
  return mStream != nullptr;
}

int TDiskFileData::Close() {
  if (!mStream) return 0;
  int result = std::fclose(mStream);
  mStream = nullptr;
  return result;
}

void TDiskFileData::UngetChar() {
  if (!mStream) return;
  if (mLastChar >= 0) std::ungetc(mLastChar, mStream);
  mLastChar = -1;
}

void TDiskFileData::Seek(int offset, int whence) {
  if (!mStream) return;
  int origin = whence == kSeekCurrent ? SEEK_CUR : whence == kSeekEnd ? SEEK_END : SEEK_SET;
  std::fseek(mStream, offset, origin);
}

int TDiskFileData::GetSize() {
  if (!mStream) return 0;
  long position = std::ftell(mStream);
  std::fseek(mStream, 0, SEEK_END);
  long size = std::ftell(mStream);
  std::fseek(mStream, position, SEEK_SET);
  return size < 0 ? 0 : size > INT_MAX ? INT_MAX : static_cast<int>(size);
}

int TDiskFileData::Tell() {
  if (!mStream) return 0;
  long position = std::ftell(mStream);
  return position < 0 ? 0 : position > INT_MAX ? INT_MAX : static_cast<int>(position);
}

int TDiskFileData::Read(void* buffer, int count) {
  if (!mStream || !buffer || count <= 0) return 0;
  auto* out = static_cast<unsigned char*>(buffer);
  int stored = 0;
  if (mMode == kFileReadText) {
    int c;
    while (stored < count && (c = std::fgetc(mStream)) != EOF)
      if (c != '\r') out[stored++] = static_cast<unsigned char>(c);
  } else {
    stored = static_cast<int>(std::fread(out, 1, static_cast<size_t>(count), mStream));
  }
  if (stored > 0) mLastChar = out[stored - 1];
  return stored;
}

int TDiskFileData::Write(const void* buffer, int count) {
  if (!mStream || !buffer || count <= 0) return 0;
  return static_cast<int>(std::fwrite(buffer, 1, static_cast<size_t>(count), mStream));
}

bool TDiskFileData::IsEOF() {
  return !mStream || std::feof(mStream);
}
