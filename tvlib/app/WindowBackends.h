// The composition root's choice of window backend from the backend list.
#pragma once

#include <memory>

#include "tvlib/platform/window/TWindowBackend.h"

// The backend the environment variable TV_WINDOW_BACKEND names when it starts, else the first
// of the list that starts (SDL, then headless); null only when none can start.
std::unique_ptr<TWindowBackend> CreateWindowBackend();
