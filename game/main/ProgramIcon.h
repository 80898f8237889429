// The program's window icon (drawn by tools/icon/make_icon.py).
#pragma once

#include <cstdint>

inline constexpr int kProgramIconSize = 64;
extern const uint32_t kProgramIcon[kProgramIconSize * kProgramIconSize];
