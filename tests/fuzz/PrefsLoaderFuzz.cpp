// Reads arbitrary bytes as a preferences store, plain or enciphered (the first byte chooses),
// then reads and writes values of the tree it gives.
#include <cstddef>
#include <cstdint>

#include "tvlib/core/TPrefs.h"
#include "tvlib/core/TXmlNode.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  bool enciphered = size > 0 && (data[0] & 1);
  if (size > 0) ++data, --size;
  TXmlNode store;
  if (!ParsePrefsStore(reinterpret_cast<const char*>(data), size, enciphered ? "c2VjcmV0a2V5" : "",
                       &store)) {
    return 0;
  }
  TString name;
  TXmlNode* child = nullptr;
  store.ResetChildIterator();
  while (store.GetNextChild(&name, &child)) child->SetAttribute("tvinstallkey", name);
  return 0;
}
