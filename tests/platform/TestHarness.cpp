// A test harness library: replaces the command line and answers a recognisable handle.
#include <cstdint>

extern "C" uintptr_t TestHook(const char** commandLine) {
  static const char kReplaced[] = "--multiple replaced-by-harness";
  *commandLine = kReplaced;
  return 0x5eed;
}
