// getrandom behind FillSystemRandom, retried on interruption and short reads.
#include "tvlib/core/SystemRandom.h"

#include <sys/random.h>

#include <cerrno>
#include <cstdint>

bool FillSystemRandom(void* out, size_t count) {
  auto* bytes = static_cast<uint8_t*>(out);
  while (count > 0) {
    ssize_t got = getrandom(bytes, count, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes += got;
    count -= static_cast<size_t>(got);
  }
  return true;
}
