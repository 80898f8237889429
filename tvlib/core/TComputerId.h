// The machine identifier: 16 characters derived from the first network interface's
// hardware address, so a cheat code made for one computer works only there.
#pragma once

#include <cstdint>

#include "tvlib/core/TString.h"

// The identifier of this machine: the first non-loopback interface's hardware address, or
// random bytes when there is none (then it differs on every run).
TString GetComputerId();

// The identifier of an 8-byte address (a 6-byte address ends in two zeros).
TString ComputerIdFromAddress(const uint8_t address[8]);
