// One HTTP request of TSimpleHttp, shared by the client that made it and the worker thread
// that runs it over libcurl.
//
// The client keeps the record until it abandons it; the worker keeps it until its transfer
// has ended. The status is the only field both sides write to and read while the worker
// runs: the worker fills the reply, then publishes status 1 (or 2); the client reads the
// reply only after it has seen 1. Abandoning sets a flag that the worker checks every 50 ms
// and in every piece of data it receives; it never touches a handle the worker owns.
#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <string>

class TFile;

inline constexpr int kHttpPending = 0;
inline constexpr int kHttpComplete = 1;
inline constexpr int kHttpFailed = 2;
inline constexpr int kHttpNoOutputFile = 3;

// Send flags: 1 keeps the reply out of any cache (libcurl keeps none), 2 accepts an HTTPS
// certificate issued for another host name.
inline constexpr int kHttpNoCacheWrite = 1;
inline constexpr int kHttpIgnoreCertName = 2;

// A reply larger than this fails: the service's replies are a few kilobytes.
inline constexpr size_t kHttpMaxReply = 4u << 20;

struct THttpRequest {
  THttpRequest();
  ~THttpRequest();
  THttpRequest(const THttpRequest&) = delete;
  THttpRequest& operator=(const THttpRequest&) = delete;

  // Set by the client before the worker starts, read-only afterwards.
  std::string url;
  std::string body;
  bool post = false;
  int flags = 0;
  int connectTimeoutMs = 0;
  int totalTimeoutMs = 0;
  std::unique_ptr<TFile> output;  // null: the reply is kept in `reply`
  // Run by the worker on the whole reply kept in memory, before the status says complete.
  std::function<void(const std::string&)> readReply;

  // The worker's until the status leaves pending.
  std::string reply;
  size_t received = 0;

  std::atomic<int> status{kHttpPending};
  std::atomic<bool> abandoned{false};
};

// Whether a redirect from one address to another is followed: the service is one address, so
// only to the same host, and from https only to https (from http to either).
bool HttpRedirectAllowed(const std::string& from, const std::string& to);

// Starts a detached worker thread that runs the request and then lets go of it.
void StartHttpWorker(std::shared_ptr<THttpRequest> request);
// Waits until no worker thread is running, at most `timeoutMs`; true when none is. For the
// program's exit and for tests, so that no transfer outlives what it reports to.
bool WaitForHttpWorkers(int timeoutMs);
