// What the in-level widgets' texts share: the vector font and the black ink.
#pragma once

#include "tvlib/ui/TTextBlock.h"

inline constexpr const char* kWidgetFont = "fonts/arial.mvec";
inline constexpr float kWidgetInk[4] = {0.0f, 0.0f, 0.0f, 1.0f};
