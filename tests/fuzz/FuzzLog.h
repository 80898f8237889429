// Points the debug log of a fuzz target at a folder of its own, once.
#pragma once

#include <cstdlib>
#include <string>

#include "tvlib/core/DebugLog.h"

inline void SetFuzzLog(const char* target) {
  static bool done = [target] {
    const char* tmp = std::getenv("TMPDIR");
    SetLogDirectory((std::string(tmp && *tmp ? tmp : "/tmp") + "/tvfuzz-" + target).c_str());
    return true;
  }();
  (void)done;
}
