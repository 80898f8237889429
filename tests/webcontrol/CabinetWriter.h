// Writes small Microsoft Cabinet files for the tests: one folder, stored without compression,
// with the entry names given as they stand (so that a test can make the names a cabinet from
// elsewhere might hold).
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// Each entry: its name in the cabinet, and its bytes.
using TCabinetEntries = std::vector<std::pair<std::string, std::string>>;

inline std::string MakeStoredCabinet(const TCabinetEntries& entries) {
  constexpr size_t kHeaderSize = 36;
  constexpr size_t kFolderSize = 8;
  constexpr size_t kBlockLimit = 32768;
  auto put16 = [](std::string& out, uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
  };
  auto put32 = [&](std::string& out, uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
  };
  std::string files;
  std::string data;
  for (const auto& [name, bytes] : entries) {
    put32(files, static_cast<uint32_t>(bytes.size()));
    put32(files, static_cast<uint32_t>(data.size()));  // its place in the folder's data
    put16(files, 0);                                   // folder 0
    put16(files, 0x5A21);                              // 2025-01-01
    put16(files, 0);
    put16(files, 0x20);  // archive attribute; names are not flagged UTF-8
    files += name;
    files += '\0';
    data += bytes;
  }
  std::string blocks;
  uint32_t blockCount = 0;
  for (size_t at = 0; at < data.size() || blockCount == 0; at += kBlockLimit) {
    std::string block = data.substr(at, kBlockLimit);
    put32(blocks, 0);  // no checksum
    put16(blocks, static_cast<uint32_t>(block.size()));
    put16(blocks, static_cast<uint32_t>(block.size()));
    blocks += block;
    ++blockCount;
  }
  size_t filesAt = kHeaderSize + kFolderSize;
  size_t blocksAt = filesAt + files.size();
  std::string cabinet = "MSCF";
  put32(cabinet, 0);
  put32(cabinet, static_cast<uint32_t>(blocksAt + blocks.size()));
  put32(cabinet, 0);
  put32(cabinet, static_cast<uint32_t>(filesAt));
  put32(cabinet, 0);
  cabinet += '\x03';  // format version 1.3
  cabinet += '\x01';
  put16(cabinet, 1);  // one folder
  put16(cabinet, static_cast<uint32_t>(entries.size()));
  put16(cabinet, 0);  // flags
  put16(cabinet, 0);  // set id
  put16(cabinet, 0);  // number in the set
  put32(cabinet, static_cast<uint32_t>(blocksAt));
  put16(cabinet, blockCount);
  put16(cabinet, 0);  // stored
  return cabinet + files + blocks;
}
