// The machine identifier from the first network interface's address.
#include "tvlib/core/TComputerId.h"

#include <ifaddrs.h>
#include <linux/if_packet.h>
#include <net/if.h>
#include <sys/random.h>

#include <algorithm>
#include <cstring>

namespace {

// The first hardware address of an interface that is not the loopback one.
bool FirstHardwareAddress(uint8_t address[8]) {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return false;
  bool found = false;
  for (ifaddrs* entry = list; entry && !found; entry = entry->ifa_next) {
    if (!entry->ifa_addr || entry->ifa_addr->sa_family != AF_PACKET) continue;
    if (entry->ifa_flags & IFF_LOOPBACK) continue;
    auto* link = reinterpret_cast<const sockaddr_ll*>(entry->ifa_addr);
    if (link->sll_halen == 0) continue;
    std::memcpy(address, link->sll_addr, std::min<size_t>(link->sll_halen, 8));
    found = true;
  }
  freeifaddrs(list);
  return found;
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

TString GetComputerId() {
  uint8_t address[16] = {};
  if (!FirstHardwareAddress(address)) {
    // No network interface: sixteen random bytes stand where the address would be.
    ssize_t got = getrandom(address, sizeof address, 0);
    (void)got;
  }
  return ComputerIdFromAddress(address);
}
