// Unpacking the game's cabinet (a Microsoft Cabinet, as libarchive reads it) into a folder.
//
// Each entry is written to the folder under its name in the cabinet, with "\" read as "/" and
// its missing folders made. An entry is refused, and nothing written for it, when its name
// could leave the folder (an absolute name, a drive name, a ".." part, an empty name), when it
// is no plain file, or when a link already in the folder lies on its way. Files are written
// readable and writable by the user only; the caller makes the program executable.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Whether a cabinet entry's name stays inside the folder it is unpacked into.
bool IsSafeEntryName(std::string_view name);

// Unpacks the cabinet of `size` bytes at `data` into `folder` (an absolute path without
// links). True when the cabinet was read to its end and every entry was written.
bool UnpackCabinet(const unsigned char* data, size_t size, const std::string& folder);
