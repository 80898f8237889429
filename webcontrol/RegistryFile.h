// The text form of registry keys, which the control's registration file holds in place of
// the system registry's class entries.
//
// A key is a line "[path]" (path parts joined by backslashes); the lines after it are its
// values, "name=value", with "@" naming the key's default value. A value runs to the end of
// its line, so no value holds a line break. Blank and malformed lines are skipped, as are
// values before the first key.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct TRegistryValue {
  std::string name;  // "@": the key's default value
  std::string text;
};

struct TRegistryKey {
  std::string path;
  std::vector<TRegistryValue> values;
};

using TRegistryKeys = std::vector<TRegistryKey>;

inline constexpr char kRegistryDefaultValue[] = "@";

// The text of the keys; false when a path or value cannot be written (it holds a line break,
// or a path holds "]").
bool FormatRegistryText(const TRegistryKeys& keys, std::string* text);
TRegistryKeys ParseRegistryText(const char* bytes, size_t length);

// The value `name` of the key `path`, both matched without regard to case (as the registry
// does); null when either is missing.
const std::string* FindRegistryValue(const TRegistryKeys& keys, std::string_view path,
                                     std::string_view name);
