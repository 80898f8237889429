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
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0) {
    ::close(fd);
    return false;
  }
  const size_t size = static_cast<size_t>(info.st_size);
  if (size == 0) {
    ::close(fd);
    return true;
  }
  void* view = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
  if (view != MAP_FAILED) {
    ::close(fd);  // the mapping keeps the file
    mBase = static_cast<const unsigned char*>(view);
    mSize = size;
    return true;
  }
  // Some file systems cannot map files: the bytes are read instead.
  const bool read = ReadAll(fd, size);
  ::close(fd);
  return read;
}

bool TFileMapData::ReadAll(int fd, size_t size) {
  mCopy.resize(size);
  size_t done = 0;
  while (done < size) {
    const ssize_t got = pread(fd, mCopy.data() + done, size - done, static_cast<off_t>(done));
    if (got <= 0) {
      mCopy.clear();
      return false;
    }
    done += static_cast<size_t>(got);
  }
  mBase = mCopy.data();
  mSize = size;
  return true;
}

void TFileMapData::Close() {
  if (mBase && mCopy.empty()) munmap(const_cast<unsigned char*>(mBase), mSize);
  mCopy.clear();
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
