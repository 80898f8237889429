// The monotonic system clock behind ClockMilliseconds, and the test seam that replaces it.
#include "tvlib/core/Clock.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {

class TSystemClock : public TClockSource {
 public:
  uint32_t Now() override {
    auto since = std::chrono::steady_clock::now().time_since_epoch();
    // Truncation to 32 bits is the designed wrap-around of the millisecond counter.
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
  }
  void Sleep(uint32_t ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

TSystemClock gSystemClock;
// Read by the cursor thread as well as the UI thread.
std::atomic<TClockSource*> gClock{&gSystemClock};

}  // namespace

uint32_t ClockMilliseconds() {
  return gClock.load()->Now();
}

void ClockSleep(uint32_t ms) {
  gClock.load()->Sleep(ms);
}

void SetClockSource(TClockSource* source) {
  gClock.store(source ? source : &gSystemClock);
}
