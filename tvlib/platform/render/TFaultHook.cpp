// Fault injection for the software rendering device: the one process-wide hook.
#include "tvlib/platform/render/TFaultHook.h"

namespace sd {

namespace {
TFaultFn& Hook() {
  static TFaultFn hook;
  return hook;
}
}  // namespace

void SetFaultHook(TFaultFn hook) {
  Hook() = std::move(hook);
}

HR CheckFault(TCall call) {
  const TFaultFn& hook = Hook();
  return hook ? hook(call) : kOk;
}

}  // namespace sd
