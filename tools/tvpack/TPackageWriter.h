// Builds asset packages (".tvp", layout in tvlib/core/TPackageFormat.h).
//
// Entries are written in byte-wise order of their names, so the same folder always gives
// the same package. Names are relative paths with "/" separators. Names of more than 255
// bytes and packages of 2 GB or more are refused with a message. Everything is built in
// memory: the game's assets are far below the format's limit.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct TPackMember {
  std::string name;
  std::string data;
};

// An empty text when entries of these names and sizes fit one package; else what is wrong.
std::string CheckPackageLimits(const std::vector<std::string>& names,
                               const std::vector<uint64_t>& sizes);

// The package holding `members` (sorted by name here). False with `error` set when a name is
// empty, repeated or too long, or the package would be too large.
bool BuildPackage(std::vector<TPackMember> members, std::string* package, std::string* error);

// Every file below `folder`, named by its path relative to it.
bool CollectFolder(const std::string& folder, std::vector<TPackMember>* members,
                   std::string* error);

// Every file below each folder in turn; a later folder's file replaces an earlier folder's
// file of the same name.
bool CollectFolders(const std::vector<std::string>& folders, std::vector<TPackMember>* members,
                    std::string* error);
