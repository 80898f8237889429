// The installed text services.
#include "tvlib/ui/TTextServices.h"

namespace {
TTextServices* gTextServices = nullptr;
}  // namespace

void SetTextServices(TTextServices* services) {
  gTextServices = services;
}

TTextServices* GetTextServices() {
  return gTextServices;
}
