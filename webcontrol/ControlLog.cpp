// Writing the control's failure log.
#include "webcontrol/ControlLog.h"

#include <cstdarg>
#include <cstdio>

void ControlLog(const char* format, ...) {
  char line[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  std::fprintf(stderr, "FestraVask control: %s\n", line);
}
