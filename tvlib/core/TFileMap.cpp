// Mapping an asset package read-only into memory.
#include "tvlib/core/TFileMap.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tvlib/core/TDataFolders.h"

bool TFileMapData::Open(const TString& path) {
  Close();
  TString diskPath = path;
  if (diskPath.Length() >= 2 && diskPath.GetAt(0) == ':' && diskPath.GetAt(1) == ':')
    diskPath = diskPath.Substr(2);
  diskPath = GetFullPath(diskPath);
  if (diskPath.Length() == 0) return false;
  int fd = ::open(diskPath.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info {};
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size <= 0) {
    ::close(fd);
    return false;
  }
  void* view = mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
  ::close(fd);  // the mapping keeps the file
  if (view == MAP_FAILED) return false;
  mBase = static_cast<const unsigned char*>(view);
  mSize = static_cast<size_t>(info.st_size);
  return true;
}

void TFileMapData::Close() {
  if (mBase) munmap(const_cast<unsigned char*>(mBase), mSize);
  mBase = nullptr;
  mSize = 0;
}

bool TFileMapHandler::Open(const TString& path) {
  mPath = path;
  auto data = std::make_shared<TFileMapData>();
  if (!data->Open(path)) {
    mData.reset();
    return false;
  }
  mData = std::move(data);
  return true;
}
