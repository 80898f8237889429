// Message boxes through the chosen backend and the process end, each with a test hook.
#include "tvlib/platform/dialog/TMessageBox.h"

#include <cstdio>
#include <cstdlib>

#include "tvlib/platform/process/Termination.h"

namespace {

TMessageBoxHook gBoxHook;
TEndProcessHook gEndHook;
TMessageBoxService gBoxService;

}  // namespace

void ShowMessageBox(const char* text, const char* caption, uint32_t flags) {
  // The event pump does not run while the box waits: a termination request ends the process.
  TImmediateTermination immediate;
  if (gBoxHook) {
    gBoxHook(text, caption, flags);
    return;
  }
  if (!gBoxService || !gBoxService(text, caption, flags)) {
    std::fprintf(stderr, "%s: %s\n", caption, text);
  }
}

void EndProcess(int status) {
  if (gEndHook) {
    gEndHook(status);
    return;
  }
  std::exit(status);
}

void SetMessageBoxHook(TMessageBoxHook hook) {
  gBoxHook = std::move(hook);
}
void SetMessageBoxService(TMessageBoxService service) {
  gBoxService = std::move(service);
}
void SetEndProcessHook(TEndProcessHook hook) {
  gEndHook = std::move(hook);
}
