// The list of window backends and the choice between them.
#include "tvlib/app/WindowBackends.h"

#include <cstdlib>
#include <cstring>

#include "tvlib/platform/dialog/TMessageBox.h"
#include "tvlib/platform/headless/THeadlessWindowBackend.h"
#include "tvlib/platform/sdl/SdlBackend.h"

namespace {

// In order of preference: the first that starts is the one a run without a choice gets.
constexpr TWindowBackendEntry kBackends[] = {
    {"sdl", CreateSdlWindowBackend},
    {"headless", CreateHeadlessWindowBackend},
};

}  // namespace

std::unique_ptr<TWindowBackend> CreateWindowBackend() {
  const char* asked = std::getenv("TV_WINDOW_BACKEND");
  for (const TWindowBackendEntry& entry : kBackends) {
    if (asked && std::strcmp(asked, entry.name) == 0) {
      if (auto backend = entry.create()) return backend;
    }
  }
  // A backend answers null when it cannot start here (no display): the next one is tried.
  for (const TWindowBackendEntry& entry : kBackends) {
    if (auto backend = entry.create()) return backend;
  }
  return nullptr;
}
