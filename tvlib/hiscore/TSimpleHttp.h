// A small HTTP client: one GET with query parameters or POST of a form at a time, run on a
// worker thread (THttpRequest.h), polled by its owner on the UI thread.
//
// Init names the address, the method and where the reply goes (memory, or a file when one is
// named); AddParameter builds the query or the form body; Send starts the request. GetStatus
// answers 0 pending, 1 complete, 2 failed (also: no request), 3 the output file could not be
// made; GetResult gives the NUL-terminated reply once the status is 1 (a reply of no bytes is
// the empty text). Starting anything new, or destroying the client, abandons the request in
// flight. Every request has a connect timeout and an overall timeout, and a reply over 4 MB
// fails. HTTPS certificates are verified; send flag 2 accepts one issued for another host.
// Redirects are followed only on the same host, and never from https to http: a request
// redirected anywhere else fails.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "tvlib/core/TString.h"

struct THttpRequest;

class TSimpleHttp {
 public:
  static constexpr int kDefaultConnectTimeoutMs = 10000;
  static constexpr int kDefaultTotalTimeoutMs = 30000;

  TSimpleHttp();
  virtual ~TSimpleHttp();
  TSimpleHttp(const TSimpleHttp&) = delete;
  TSimpleHttp& operator=(const TSimpleHttp&) = delete;

  // `outputFile` is a virtual file name (TFile.h), or null or empty to keep the reply.
  void Init(const char* url, bool post, const char* outputFile);
  void AddParameter(const char* name, const char* value);
  void AddNumberParameter(const char* name, int number);
  void Send(int flags);
  // Reads the reply on the worker thread, once it is whole and before the status becomes 1,
  // so that reading a large reply never holds up the owner's thread. Applies to the requests
  // sent from now on; Init clears it.
  void SetReplyReader(std::function<void(const std::string&)> reader);
  int GetStatus() const;
  const char* GetResult() const;
  // Applies to the requests sent from now on.
  void SetTimeouts(int connectMs, int totalMs);

  // The address with its query so far, and the form body.
  const std::string& GetUrl() const { return mUrl; }
  const std::string& GetBody() const { return mBody; }

  // Percent-encodes (upper-case hex) space, the characters " # $ % & + , / : ; < = > ? @ [ \ ]
  // ^ ` { | }, control bytes and bytes from 128; everything else is copied. Null gives "".
  static std::string UrlEncode(const char* text);

 private:
  void Abandon();

  std::string mUrl;
  std::string mOutputFile;
  std::string mBody;
  bool mFirstParameter = true;
  bool mPost = false;
  int mConnectTimeoutMs = kDefaultConnectTimeoutMs;
  int mTotalTimeoutMs = kDefaultTotalTimeoutMs;
  std::function<void(const std::string&)> mReplyReader;
  std::shared_ptr<THttpRequest> mRequest;
};
