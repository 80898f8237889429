// Reads the wall clock and formats it in the local time zone.
#include "tvlib/core/TLocalTime.h"

#include <ctime>

TString FormatLocalTime(const char* format) {
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[64];
  size_t n = std::strftime(text, sizeof text, format, &local);
  return TString(text, static_cast<int>(n));
}
