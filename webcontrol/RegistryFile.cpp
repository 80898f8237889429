// Writing and reading the text form of registry keys.
#include "webcontrol/RegistryFile.h"

#include <strings.h>

namespace {

bool SameText(std::string_view a, std::string_view b) {
  return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool HasLineBreak(std::string_view text) {
  return text.find_first_of("\r\n") != std::string_view::npos;
}

}  // namespace

bool FormatRegistryText(const TRegistryKeys& keys, std::string* text) {
  text->clear();
  for (const TRegistryKey& key : keys) {
    if (HasLineBreak(key.path) || key.path.find(']') != std::string::npos) return false;
    *text += "[" + key.path + "]\n";
    for (const TRegistryValue& value : key.values) {
      if (HasLineBreak(value.name) || HasLineBreak(value.text) || value.name.empty() ||
          value.name.find('=') != std::string::npos)
        return false;
      *text += value.name + "=" + value.text + "\n";
    }
  }
  return true;
}

TRegistryKeys ParseRegistryText(const char* bytes, size_t length) {
  TRegistryKeys keys;
  std::string_view rest(bytes, length);
  while (!rest.empty()) {
    size_t end = rest.find('\n');
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.size() >= 2 && line.front() == '[' && line.back() == ']') {
      keys.push_back({std::string(line.substr(1, line.size() - 2)), {}});
      continue;
    }
    size_t equals = line.find('=');
    if (equals == std::string_view::npos || equals == 0 || keys.empty()) continue;
    keys.back().values.push_back(
        {std::string(line.substr(0, equals)), std::string(line.substr(equals + 1))});
  }
  return keys;
}

const std::string* FindRegistryValue(const TRegistryKeys& keys, std::string_view path,
                                     std::string_view name) {
  for (const TRegistryKey& key : keys) {
    if (!SameText(key.path, path)) continue;
    for (const TRegistryValue& value : key.values)
      if (SameText(value.name, name)) return &value.text;
  }
  return nullptr;
}
