// The machine identifier from the first network interface's address.
#include "tvlib/core/TComputerId.h"

#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <sys/random.h>

#include <algorithm>
#include <cstring>

namespace {

std::vector<TNetInterface> ListInterfaces() {
  std::vector<TNetInterface> interfaces;
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return interfaces;
  for (ifaddrs* entry = list; entry; entry = entry->ifa_next) {
    if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_PACKET) continue;
    auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
    const size_t length = std::min<size_t>(link->sll_halen, sizeof link->sll_addr);
    interfaces.push_back({entry->ifa_name ? entry->ifa_name : "",
                          (entry->ifa_flags & IFF_LOOPBACK) != 0,
                          std::vector<uint8_t>(link->sll_addr, link->sll_addr + length)});
  }
  freeifaddrs(list);
  return interfaces;
}

}  // namespace

TString ComputerIdFromAddress(const uint8_t address[8]) {
  uint8_t bytes[8];
  std::memcpy(bytes, address, 8);
  bytes[6] = bytes[3];
  bytes[7] = bytes[4];
  char id[17];
  for (int i = 0; i < 8; ++i) {
    int x = bytes[i] ^ bytes[(i + 1) % 8];
    id[2 * i] = static_cast<char>(64 + (x & 31));
    id[2 * i + 1] = static_cast<char>(66 + i + (x >> 5));
  }
  id[16] = '\0';
  return id;
}

bool MachineAddress(std::span<const TNetInterface> interfaces, uint8_t address[8]) {
  const TNetInterface* chosen = nullptr;
  for (const TNetInterface& candidate : interfaces) {
    const std::vector<uint8_t>& bytes = candidate.address;
    if (candidate.loopback || bytes.empty()) continue;
    if (std::all_of(bytes.begin(), bytes.end(), [](uint8_t b) { return b == 0; })) continue;
    if (bytes[0] & 0x02) continue;  // locally administered: bridges, containers, VPNs
    if (!chosen || candidate.name < chosen->name) chosen = &candidate;
  }
  if (!chosen) return false;
  std::memset(address, 0, 8);
  std::memcpy(address, chosen->address.data(), std::min<size_t>(chosen->address.size(), 8));
  return true;
}

TString GetComputerId() {
  uint8_t address[16] = {};
  if (!MachineAddress(ListInterfaces(), address)) {
    // No network interface: sixteen random bytes stand where the address would be.
    ssize_t got = getrandom(address, sizeof address, 0);
    (void)got;
  }
  return ComputerIdFromAddress(address);
}
