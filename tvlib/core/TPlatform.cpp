// The platform interface's own part: the instance, the time and the program icon.
#include "tvlib/core/TPlatform.h"

#include <atomic>

#include "tvlib/core/Clock.h"

namespace {

// Read by the cursor thread's clock users as well as the UI thread.
std::atomic<TPlatform*> gInstance{nullptr};
const uint32_t* gProgramIcon = nullptr;
int gProgramIconSize = 0;

}  // namespace

TPlatform::TPlatform() {
  gInstance = this;
}

TPlatform::~TPlatform() {
  Unregister();
}

void TPlatform::Unregister() {
  TPlatform* self = this;
  gInstance.compare_exchange_strong(self, nullptr);
}

TPlatform* TPlatform::GetInstance() {
  return gInstance;
}

uint32_t TPlatform::GetTime() {
  TPlatform* platform = gInstance;
  return platform ? platform->GetElapsedTime() : ClockMilliseconds();
}

void TPlatform::SetProgramIcon(const uint32_t* argb, int size) {
  gProgramIcon = argb;
  gProgramIconSize = argb ? size : 0;
}

const uint32_t* TPlatform::GetProgramIcon(int* size) {
  *size = gProgramIconSize;
  return gProgramIcon;
}
