// Loads arbitrary bytes as a workbook and looks up every label it gave with arguments that
// name labels, percent signs and plain text.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "tests/fuzz/FuzzLog.h"
#include "tvlib/core/TStringTable.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetFuzzLog("string_table");
  std::vector<char> bytes(data, data + size);
  TStringTable table;
  table.LoadBuffer(bytes.data(), bytes.size());
  // The labels are whatever the first cells held; probe a few likely ones and raw slices.
  std::string text(bytes.begin(), bytes.end());
  for (size_t at = 0; at < text.size() && at < 4096; at += 61) {
    TString label(text.substr(at, 8).c_str());
    table.GetString(label, "%%", "%a%", "%", "x", label);
  }
  table.GetString("a", "1", "%a%");
  return 0;
}
