// Loading the optional test harness library and calling its hook.
#include "tvlib/platform/process/Harness.h"

#include <dlfcn.h>

uintptr_t LoadTestHarness(const TString& programFolder, const char** commandLine) {
  TString path = programFolder + TString(kHarnessLibrary);
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!library) return 0;
  auto hook = reinterpret_cast<TTestHookProc>(dlsym(library, kHarnessEntry));
  return hook ? hook(commandLine) : 0;
}
