// The HTTP client's owner side: the address and parameters, sending and polling.
#include "tvlib/hiscore/TSimpleHttp.h"

#include <curl/curl.h>

#include <cstring>
#include <mutex>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFile.h"
#include "tvlib/core/TFileData.h"
#include "tvlib/hiscore/THttpRequest.h"

namespace {

bool NeedsEncoding(unsigned char c) {
  if (c < 0x20 || c >= 0x7f) return true;
  return std::strchr(" \"#$%&+,/:;<=>?@[\\]^`{|}", c) != nullptr;
}

}  // namespace

TSimpleHttp::TSimpleHttp() {
  // libcurl's global set-up is not thread-safe; the first client, on the UI thread, does it.
  static std::once_flag once;
  std::call_once(once, [] {
    if (curl_global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) DebugLog("TSimpleHttp: no libcurl");
  });
}

TSimpleHttp::~TSimpleHttp() {
  Abandon();
}

void TSimpleHttp::Abandon() {
  if (mRequest) mRequest->abandoned.store(true);
  mRequest.reset();
}

void TSimpleHttp::Init(const char* url, bool post, const char* outputFile) {
  mUrl = url ? url : "";
  mOutputFile = outputFile ? outputFile : "";
  mPost = post;
  mBody.clear();
  mFirstParameter = true;
  mReplyReader = nullptr;
  Abandon();
}

void TSimpleHttp::AddParameter(const char* name, const char* value) {
  std::string& target = mPost ? mBody : mUrl;
  if (!mFirstParameter) {
    target += '&';
  } else if (!mPost) {
    // An address that already carries a query gets its parameters after an "&".
    size_t query = target.find('?');
    if (query == std::string::npos)
      target += '?';
    else if (target.back() != '?' && target.back() != '&')
      target += '&';
  }
  target += name ? name : "";
  target += '=';
  target += UrlEncode(value);
  mFirstParameter = false;
}

void TSimpleHttp::AddNumberParameter(const char* name, int number) {
  AddParameter(name, std::to_string(number).c_str());
}

std::string TSimpleHttp::UrlEncode(const char* text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  if (!text) return out;
  for (const char* p = text; *p; ++p) {
    auto c = static_cast<unsigned char>(*p);
    if (NeedsEncoding(c)) {
      out += '%';
      out += kHex[c >> 4];
      out += kHex[c & 15];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

void TSimpleHttp::Send(int flags) {
  Abandon();
  auto request = std::make_shared<THttpRequest>();
  request->url = mUrl;
  request->body = mBody;
  request->post = mPost;
  request->flags = flags;
  request->connectTimeoutMs = mConnectTimeoutMs;
  request->totalTimeoutMs = mTotalTimeoutMs;
  request->readReply = mReplyReader;
  mRequest = request;
  if (!mOutputFile.empty()) {
    request->output.reset(FileOpen(mOutputFile.c_str(), kFileWriteBinary));
    if (!request->output) {
      request->status.store(kHttpNoOutputFile);
      return;
    }
  }
  StartHttpWorker(std::move(request));
}

int TSimpleHttp::GetStatus() const {
  return mRequest ? mRequest->status.load() : kHttpFailed;
}

const char* TSimpleHttp::GetResult() const {
  if (!mRequest || mRequest->status.load() != kHttpComplete) return nullptr;
  return mRequest->reply.c_str();
}

void TSimpleHttp::SetReplyReader(std::function<void(const std::string&)> reader) {
  mReplyReader = std::move(reader);
}

void TSimpleHttp::SetTimeouts(int connectMs, int totalMs) {
  mConnectTimeoutMs = connectMs;
  mTotalTimeoutMs = totalMs;
}
