// One asset package file mapped read-only into memory, and the handle the package table
// keeps of it.
//
// The mapping is shared: the package table and every open package entry (TFlatFileMap) hold
// a share, so a package mounted again never unmaps bytes an open file still reads; the view
// goes when its last user does. Needs POSIX mmap.
#pragma once

#include <cstddef>
#include <memory>

#include "tvlib/core/TString.h"

class TFileMapData {
 public:
  TFileMapData() = default;
  ~TFileMapData() { Close(); }
  TFileMapData(const TFileMapData&) = delete;
  TFileMapData& operator=(const TFileMapData&) = delete;

  // Maps the whole file; a leading "::" is dropped and the path made absolute. False for a
  // missing, unreadable or empty file.
  bool Open(const TString& path);
  void Close();
  const unsigned char* GetBase() const { return mBase; }
  size_t GetSize() const { return mSize; }

 private:
  const unsigned char* mBase = nullptr;
  size_t mSize = 0;
};

class TFileMapHandler {
 public:
  virtual ~TFileMapHandler() = default;

  // Remembers the path and maps the package (a fresh mapping; copies made earlier keep theirs).
  bool Open(const TString& path);
  // Gives up this handler's share of the mapping.
  void Close() { mData.reset(); }
  const unsigned char* GetBase() const { return mData ? mData->GetBase() : nullptr; }
  const std::shared_ptr<const TFileMapData>& GetData() const { return mData; }
  const TString& GetPath() const { return mPath; }

 private:
  std::shared_ptr<const TFileMapData> mData;
  TString mPath;
};
