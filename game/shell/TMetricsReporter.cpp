// The program's one metrics reporter.
#include "game/shell/TMetricsReporter.h"

TMetricsReporter& GetMetricsReporter() {
  static TMetricsReporter reporter;
  return reporter;
}
