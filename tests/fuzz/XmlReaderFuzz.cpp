// Reads arbitrary bytes as an XML or ZXML document, writes the tree and reads that again.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "tests/fuzz/FuzzLog.h"
#include "tvlib/core/TXmlNode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  SetFuzzLog("xml_reader");
  std::vector<char> bytes(data, data + size);  // exact size: a read past the end is caught
  TXmlNode root;
  root.LoadBuffer(bytes.data(), bytes.size());
  TString text = root.ToString();
  TXmlNode again;
  again.LoadBuffer(text.c_str());
  return 0;
}
