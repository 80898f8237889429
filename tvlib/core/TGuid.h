// Random GUIDs (version-4 style bytes from the kernel's generator).
#pragma once

#include <cstdint>

#include "tvlib/core/TString.h"

// Fills 16 bytes; answers false (bytes zeroed) when the system gave no random bytes.
bool MakeGuid(uint8_t out[16]);
// A new GUID as 32 lower-case hexadecimal digits: its bytes read as four little-endian
// 32-bit words, each printed as eight digits.
TString MakeGuidString();
