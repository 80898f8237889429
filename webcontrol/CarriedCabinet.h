// The game's cabinet, carried in the control library's own read-only data.
#pragma once

#include <span>

// Empty when the library carries no cabinet.
std::span<const unsigned char> GetCarriedCabinet();
