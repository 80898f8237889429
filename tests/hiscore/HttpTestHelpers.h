// Waiting on the HTTP client and the hiscore service in tests.
#pragma once

#include <chrono>
#include <thread>

#include "tvlib/hiscore/TSimpleHttp.h"

// Polls until the status leaves pending or `timeoutMs` passes; the last status.
inline int WaitForStatus(const TSimpleHttp& http, int timeoutMs) {
  auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  int status = http.GetStatus();
  while (status == 0 && std::chrono::steady_clock::now() < until) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
    status = http.GetStatus();
  }
  return status;
}

// Milliseconds spent in `work`.
template <typename F>
long long ElapsedMs(F&& work) {
  auto start = std::chrono::steady_clock::now();
  work();
  return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() -
                                                               start)
      .count();
}
