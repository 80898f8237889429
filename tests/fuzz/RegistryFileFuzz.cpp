// The registration file's text form: whatever is read can be written again, and reads back
// the same.
#include <cstdlib>
#include <string>

#include "webcontrol/RegistryFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TRegistryKeys keys = ParseRegistryText(reinterpret_cast<const char*>(data), size);
  std::string text;
  if (!FormatRegistryText(keys, &text)) return 0;  // e.g. a lone "\r" inside a value
  TRegistryKeys again = ParseRegistryText(text.data(), text.size());
  if (again.size() != keys.size()) std::abort();
  for (size_t i = 0; i < keys.size(); ++i) {
    if (again[i].path != keys[i].path || again[i].values.size() != keys[i].values.size())
      std::abort();
    for (size_t j = 0; j < keys[i].values.size(); ++j)
      if (again[i].values[j].name != keys[i].values[j].name ||
          again[i].values[j].text != keys[i].values[j].text)
        std::abort();
  }
  return 0;
}
