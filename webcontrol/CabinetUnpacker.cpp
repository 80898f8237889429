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

enum class TEntryResult { kWritten, kRefused, kDamaged };

// Reads the entry's data, block by block, and writes it to the file the writer has opened for
// it (none: the data is read and dropped). kDamaged when the cabinet's data cannot be read:
// the reader may then not be asked for another entry.
TEntryResult CopyData(archive* reader, archive* writer) {
  TEntryResult result = TEntryResult::kWritten;
  for (;;) {
    const void* block = nullptr;
    size_t size = 0;
    la_int64_t offset = 0;
    int status = archive_read_data_block(reader, &block, &size, &offset);
    if (status == ARCHIVE_EOF) return result;
    if (status != ARCHIVE_OK) return TEntryResult::kDamaged;
    if (writer && archive_write_data_block(writer, block, size, offset) != ARCHIVE_OK) {
      result = TEntryResult::kRefused;
      writer = nullptr;  // the rest is read and dropped
    }
  }
}

// Writes one entry under `folder`. A refused entry's data is read and dropped, not skipped:
// the reader's skipping of a damaged cabinet is not safe.
TEntryResult WriteEntry(archive* reader, archive* writer, archive_entry* entry,
                        const std::string& folder) {
  const char* given = archive_entry_pathname(entry);
  std::string name = given ? given : "";  // a copy: the entry's own goes with the next change
  if (!given || !IsSafeEntryName(name) || archive_entry_filetype(entry) != AE_IFREG) {
    ControlLog("UnpackCabinet: the entry \"%s\" is refused", name.c_str());
    return CopyData(reader, nullptr) == TEntryResult::kDamaged ? TEntryResult::kDamaged
                                                               : TEntryResult::kRefused;
  }
  std::string target = folder + "/" + name;
  for (char& c : target)
    if (c == '\\') c = '/';
  archive_entry_set_pathname(entry, target.c_str());
  archive_entry_set_perm(entry, S_IRUSR | S_IWUSR);
  if (archive_write_header(writer, entry) != ARCHIVE_OK) {
    ControlLog("UnpackCabinet: %s: %s", name.c_str(), archive_error_string(writer));
    return CopyData(reader, nullptr) == TEntryResult::kDamaged ? TEntryResult::kDamaged
                                                               : TEntryResult::kRefused;
  }
  TEntryResult result = CopyData(reader, writer);
  if (archive_write_finish_entry(writer) != ARCHIVE_OK && result == TEntryResult::kWritten)
    result = TEntryResult::kRefused;
  if (result != TEntryResult::kWritten)
    ControlLog("UnpackCabinet: %s could not be written whole", name.c_str());
  return result;
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
    TEntryResult result = WriteEntry(reader.get(), writer.get(), entry, folder);
    if (result == TEntryResult::kDamaged) {
      ControlLog("UnpackCabinet: the cabinet's data is damaged");
      return false;
    }
    whole = whole && result == TEntryResult::kWritten;
  }
  return whole;
}
