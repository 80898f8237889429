// Unpacking the game's cabinet with libarchive, entry by entry.
#include "webcontrol/CabinetUnpacker.h"

#include <archive.h>
#include <archive_entry.h>
#include <sys/stat.h>

#include <memory>

#include "webcontrol/ControlLog.h"

namespace {

struct TArchiveCloser {
  void operator()(archive* reader) const { archive_read_free(reader); }
};
struct TDiskCloser {
  void operator()(archive* writer) const { archive_write_free(writer); }
};

bool IsSeparator(char c) {
  return c == '/' || c == '\\';
}

// Writes the entry's data, block by block, to the file the writer has opened for it.
bool CopyData(archive* reader, archive* writer) {
  for (;;) {
    const void* block = nullptr;
    size_t size = 0;
    la_int64_t offset = 0;
    int status = archive_read_data_block(reader, &block, &size, &offset);
    if (status == ARCHIVE_EOF) return true;
    if (status != ARCHIVE_OK) return false;
    if (archive_write_data_block(writer, block, size, offset) != ARCHIVE_OK) return false;
  }
}

// Writes one entry under `folder`; false when it is refused or cannot be written.
bool WriteEntry(archive* reader, archive* writer, archive_entry* entry, const std::string& folder) {
  const char* given = archive_entry_pathname(entry);
  std::string name = given ? given : "";  // a copy: the entry's own goes with the next change
  if (!given || !IsSafeEntryName(name) || archive_entry_filetype(entry) != AE_IFREG) {
    ControlLog("UnpackCabinet: the entry \"%s\" is refused", name.c_str());
    return false;
  }
  std::string target = folder + "/" + name;
  for (char& c : target)
    if (c == '\\') c = '/';
  archive_entry_set_pathname(entry, target.c_str());
  archive_entry_set_perm(entry, S_IRUSR | S_IWUSR);
  if (archive_write_header(writer, entry) != ARCHIVE_OK) {
    ControlLog("UnpackCabinet: %s: %s", name.c_str(), archive_error_string(writer));
    return false;
  }
  bool written = CopyData(reader, writer) && archive_write_finish_entry(writer) == ARCHIVE_OK;
  if (!written) ControlLog("UnpackCabinet: %s could not be written whole", name.c_str());
  return written;
}

}  // namespace

bool IsSafeEntryName(std::string_view name) {
  if (name.empty() || IsSeparator(name.front())) return false;
  if (name.size() >= 2 && name[1] == ':') return false;  // a drive: "C:\..." or "C:..."
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = start;
    while (end < name.size() && !IsSeparator(name[end])) ++end;
    std::string_view part = name.substr(start, end - start);
    if (part == ".." || part.find('\0') != std::string_view::npos) return false;
    start = end + 1;
  }
  return true;
}

bool UnpackCabinet(const unsigned char* data, size_t size, const std::string& folder) {
  std::unique_ptr<archive, TArchiveCloser> reader(archive_read_new());
  std::unique_ptr<archive, TDiskCloser> writer(archive_write_disk_new());
  if (!reader || !writer) return false;
  archive_read_support_format_cab(reader.get());
  // The folder's own path is absolute and has no links: every link or ".." the writer meets
  // on an entry's way lies inside it, and is refused.
  archive_write_disk_set_options(writer.get(), ARCHIVE_EXTRACT_SECURE_NODOTDOT |
                                                   ARCHIVE_EXTRACT_SECURE_SYMLINKS |
                                                   ARCHIVE_EXTRACT_PERM);
  if (archive_read_open_memory(reader.get(), data, size) != ARCHIVE_OK) {
    ControlLog("UnpackCabinet: no cabinet: %s", archive_error_string(reader.get()));
    return false;
  }
  bool whole = true;
  for (;;) {
    archive_entry* entry = nullptr;
    int status = archive_read_next_header(reader.get(), &entry);
    if (status == ARCHIVE_EOF) break;
    if (status != ARCHIVE_OK && status != ARCHIVE_WARN) {
      ControlLog("UnpackCabinet: the cabinet is damaged: %s", archive_error_string(reader.get()));
      return false;
    }
    whole = WriteEntry(reader.get(), writer.get(), entry, folder) && whole;
  }
  return whole;
}
