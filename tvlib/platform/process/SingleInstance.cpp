// The single-instance claim and the raise request to the first instance.
#include "tvlib/platform/process/SingleInstance.h"

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tvlib/core/DebugLog.h"

namespace {

constexpr char kRaiseRequest[] = "raise";

// FNV-1a: a stable 64-bit name for any length of path.
uint64_t HashName(const char* text) {
  uint64_t hash = 14695981039346656037ull;
  for (; *text; ++text) hash = (hash ^ static_cast<unsigned char>(*text)) * 1099511628211ull;
  return hash;
}

// The display's server: ":0.1" and ":0" are one display.
std::string ServerOf(const char* display) {
  std::string server = display ? display : "";
  const size_t colon = server.rfind(':');
  const size_t dot = server.rfind('.');
  if (colon != std::string::npos && dot != std::string::npos && dot > colon) server.resize(dot);
  return server;
}

socklen_t MakeAddress(const TString& instanceName, const char* display, sockaddr_un* address) {
  const std::string mutexName = std::string(instanceName.c_str()) + "_MUTEX\n" +
                                std::to_string(getuid()) + "\n" + ServerOf(display);
  std::memset(address, 0, sizeof *address);
  address->sun_family = AF_UNIX;
  // sun_path[0] stays 0: the abstract namespace.
  int n = std::snprintf(address->sun_path + 1, sizeof address->sun_path - 1, "FestraVask-%016llx",
                        static_cast<unsigned long long>(HashName(mutexName.c_str())));
  return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + n);
}

}  // namespace

TSingleInstance::~TSingleInstance() {
  if (mSocket >= 0) close(mSocket);
}

TSingleInstance::TClaim TSingleInstance::Claim(const TString& instanceName) {
  return Claim(instanceName, std::getenv("DISPLAY"));
}

TSingleInstance::TClaim TSingleInstance::Claim(const TString& instanceName, const char* display) {
  sockaddr_un address;
  socklen_t length = MakeAddress(instanceName, display, &address);
  int fd = socket(AF_UNIX, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd < 0) {
    DebugLog("TSingleInstance::Claim failed! socket: %s", std::strerror(errno));
    return TClaim::kFailed;
  }
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0) {
    if (mSocket >= 0) close(mSocket);
    mSocket = fd;
    return TClaim::kFirst;
  }
  int bindError = errno;
  if (bindError == EADDRINUSE) {
    sendto(fd, kRaiseRequest, sizeof kRaiseRequest, 0, reinterpret_cast<sockaddr*>(&address),
           length);
    close(fd);
    return TClaim::kAlreadyRunning;
  }
  close(fd);
  DebugLog("TSingleInstance::Claim failed! bind: %s", std::strerror(bindError));
  return TClaim::kFailed;
}

bool TSingleInstance::TakeRaiseRequest() {
  if (mSocket < 0) return false;
  bool asked = false;
  char buffer[16];
  while (recv(mSocket, buffer, sizeof buffer, MSG_DONTWAIT) > 0) asked = true;
  return asked;
}
