// The local hiscore file, "user:hiscore.dat": the stored logins and the local tables as XML
// text, enciphered, followed by one enciphered block holding a checksum of the enciphered
// text.
//
// The text is the declaration, then one "user" element per login (player, name, pass) and one
// "score" element per table (name) with a "row" per entry (rank, score, submit, then guid,
// name, gameData, serverData, version when not empty), each element written by the XML
// writer and appended. The text and its NUL are enciphered as raw bytes; the checksum XORs
// enciphered byte i into byte i mod 4 of a little-endian 32-bit word. Reading checks the
// checksum and the cipher's padding and parses only the deciphered text up to its NUL; a
// file that fails either, or is larger than the limit, is ignored with a log line and kept
// aside as "hiscore.dat.bad" (then ".bad.1", ...) before the next save replaces it. Entries
// keep their stored ranks. Saves are those of TSafeSave.h: locked, atomic, readable by the
// owner alone (the file holds passwords).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "tvlib/hiscore/THiscoreTable.h"

class TCipher;

inline constexpr char kHiscoreFileName[] = "user:hiscore.dat";

// The file's bytes for these tables and logins; empty without a cipher.
std::string BuildHiscoreStore(const TCipher& cipher, const THiscoreTables& tables,
                              const THiscoreLogins& logins);
// Reads a file's bytes into `tables` and `logins` (adding to them). A file of 8 bytes or less
// reads as nothing; false, with the log line, when the checksum or the padding is wrong or
// the file is too large.
bool ParseHiscoreStore(const uint8_t* bytes, size_t size, const TCipher& cipher,
                       THiscoreTables* tables, THiscoreLogins* logins);

// The checksum of enciphered bytes.
uint32_t HiscoreStoreChecksum(const uint8_t* bytes, size_t size);

// Removes what killed saves left, then loads "user:hiscore.dat" when it exists. False (with a
// log line, nothing loaded) when the file is rejected: the caller keeps it aside at its save.
bool HiscoreStoreLoad(const TCipher& cipher, THiscoreTables* tables, THiscoreLogins* logins);
// Replaces "user:hiscore.dat" whole; with `keepRejected` set, first keeps the rejected file
// aside and clears the flag. False, with a log line, when it could not be written.
bool HiscoreStoreSave(const TCipher& cipher, const THiscoreTables& tables,
                      const THiscoreLogins& logins, bool* keepRejected);
