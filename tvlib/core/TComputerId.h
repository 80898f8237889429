// The machine identifier: 16 characters derived from the first network interface's
// hardware address, so a cheat code made for one computer works only there.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "tvlib/core/TString.h"

// The identifier of this machine: the hardware address MachineAddress picks, or random bytes
// when there is none (then it differs on every run).
TString GetComputerId();

struct TNetInterface {
  std::string name;
  bool loopback = false;
  std::vector<uint8_t> address;  // the hardware address, as long as the link's
};
// The address of the first interface by name that is not the loopback one and has a real
// hardware address (not all zeros, not locally administered as virtual ones are), as 8 bytes
// padded with zeros; false when there is none. By name, so the choice does not change with
// the order the system lists interfaces in.
bool MachineAddress(std::span<const TNetInterface> interfaces, uint8_t address[8]);

// The identifier of an 8-byte address (a 6-byte address ends in two zeros).
TString ComputerIdFromAddress(const uint8_t address[8]);
