// The HTTP worker: one libcurl transfer per request, on a thread of its own.
#include "tvlib/hiscore/THttpRequest.h"

#include <curl/curl.h>

#include <cctype>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFile.h"

namespace {

constexpr char kUserAgent[] = "tvlib";
// How long the worker waits for network activity before it looks at the abandoned flag.
constexpr int kAbandonCheckMs = 50;
constexpr int kMaxRedirects = 10;

struct TWorkerCount {
  std::mutex mutex;
  std::condition_variable idle;
  int running = 0;
};

TWorkerCount& Workers() {
  static TWorkerCount workers;
  return workers;
}

bool IsHttps(const std::string& url) {
  return url.size() >= 6 && curl_strnequal(url.c_str(), "https:", 6);
}

// What the write callback works on.
struct TTransfer {
  THttpRequest* request;
  CURL* easy;
};

bool IsRedirect(long code) {
  return code >= 300 && code < 400;
}

long ResponseCode(CURL* easy) {
  long code = 0;
  curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &code);
  return code;
}

// The scheme and host of an address, lower-cased by the parser; false when it has none.
bool SchemeAndHost(const std::string& url, std::string* scheme, std::string* host) {
  CURLU* parts = curl_url();
  if (!parts) return false;
  char* schemePart = nullptr;
  char* hostPart = nullptr;
  const bool ok = curl_url_set(parts, CURLUPART_URL, url.c_str(), 0) == CURLUE_OK &&
                  curl_url_get(parts, CURLUPART_SCHEME, &schemePart, 0) == CURLUE_OK &&
                  curl_url_get(parts, CURLUPART_HOST, &hostPart, 0) == CURLUE_OK;
  if (ok) {
    *scheme = schemePart;
    *host = hostPart;
    for (char& c : *host) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  curl_free(schemePart);
  curl_free(hostPart);
  curl_url_cleanup(parts);
  return ok;
}

// libcurl's write callback: appends a piece to the file or the reply; a short count (a
// failed write, a reply past the limit, or an abandoned request) ends the transfer. The body
// of a redirect is not the reply and is dropped.
size_t ReceivePiece(char* bytes, size_t size, size_t count, void* user) {
  auto* transfer = static_cast<TTransfer*>(user);
  THttpRequest* request = transfer->request;
  size_t n = size * count;
  if (request->abandoned.load(std::memory_order_relaxed)) return 0;
  if (IsRedirect(ResponseCode(transfer->easy))) return n;
  if (n > kHttpMaxReply - request->received) return 0;
  if (request->output) {
    if (request->output->Write(bytes, static_cast<int>(n)) != static_cast<int>(n)) return 0;
  } else {
    request->reply.append(bytes, n);
  }
  request->received += n;
  return n;
}

// The connection failure's log line names the kind of request, as the service's log always has.
const char* RequestKind(const THttpRequest& request) {
  if (IsHttps(request.url)) return "HTTPS";
  return request.post ? "POST" : "InternetOpenUrl";
}

void SetOptions(CURL* easy, TTransfer* transfer, curl_slist** headers) {
  THttpRequest* request = transfer->request;
  curl_easy_setopt(easy, CURLOPT_URL, request->url.c_str());
  curl_easy_setopt(easy, CURLOPT_USERAGENT, kUserAgent);
  curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 0L);  // Follow() checks each redirect
  // A proxy from the environment never stands between the program and its own machine.
  curl_easy_setopt(easy, CURLOPT_NOPROXY, "localhost,127.0.0.1,::1");
  curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(request->connectTimeoutMs));
  curl_easy_setopt(easy, CURLOPT_TIMEOUT_MS, static_cast<long>(request->totalTimeoutMs));
  curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, ReceivePiece);
  curl_easy_setopt(easy, CURLOPT_WRITEDATA, transfer);
  bool https = IsHttps(request->url);
  if (https) {
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(easy, CURLOPT_SSL_VERIFYHOST,
                     (request->flags & kHttpIgnoreCertName) ? 0L : 2L);
  }
  if (request->post) {
    *headers = curl_slist_append(*headers, "Content-Type: application/x-www-form-urlencoded");
    curl_easy_setopt(easy, CURLOPT_POST, 1L);
    curl_easy_setopt(easy, CURLOPT_POSTFIELDS, request->body.c_str());
    curl_easy_setopt(easy, CURLOPT_POSTFIELDSIZE, static_cast<long>(request->body.size()));
  }
  if (https || request->post) *headers = curl_slist_append(*headers, "Pragma: no-cache");
  if (*headers) curl_easy_setopt(easy, CURLOPT_HTTPHEADER, *headers);
}

// Runs the transfer until it ends or the request is abandoned; the transfer's result code,
// or -1 when it was abandoned.
int Transfer(CURL* easy, THttpRequest* request) {
  CURLM* multi = curl_multi_init();
  if (!multi) return CURLE_OUT_OF_MEMORY;
  curl_multi_add_handle(multi, easy);
  int result = -1;
  int running = 1;
  while (!request->abandoned.load()) {
    if (curl_multi_perform(multi, &running) != CURLM_OK) {
      result = CURLE_FAILED_INIT;
      break;
    }
    if (running == 0) {
      int left = 0;
      CURLMsg* message = curl_multi_info_read(multi, &left);
      result = message && message->msg == CURLMSG_DONE ? message->data.result : CURLE_RECV_ERROR;
      break;
    }
    curl_multi_poll(multi, nullptr, 0, kAbandonCheckMs, nullptr);
  }
  curl_multi_remove_handle(multi, easy);
  curl_multi_cleanup(multi);
  return result;
}

// After a transfer that ended in a redirect: points the handle at its target and answers
// true when it may be followed; false (logged) when it may not.
bool Follow(CURL* easy, THttpRequest* request, std::string* url, int* redirects) {
  char* target = nullptr;
  curl_easy_getinfo(easy, CURLINFO_REDIRECT_URL, &target);
  if (!target || ++*redirects > kMaxRedirects || !HttpRedirectAllowed(*url, target)) {
    DebugLog("THttpRequest: not following the redirect from %s to %s", url->c_str(),
             target ? target : "(nowhere)");
    return false;
  }
  *url = target;
  curl_easy_setopt(easy, CURLOPT_URL, url->c_str());
  // As browsers do: a POST answered by 301, 302 or 303 goes on as a GET.
  const long code = ResponseCode(easy);
  if (request->post && code >= 301 && code <= 303) curl_easy_setopt(easy, CURLOPT_HTTPGET, 1L);
  return true;
}

void RunRequest(const std::shared_ptr<THttpRequest>& request) {
  CURL* easy = curl_easy_init();
  if (!easy) {
    DebugLog("Error creating connection (%s) %d", RequestKind(*request), CURLE_FAILED_INIT);
    request->status.store(kHttpFailed);
    return;
  }
  curl_slist* headers = nullptr;
  TTransfer transfer{request.get(), easy};
  SetOptions(easy, &transfer, &headers);
  std::string url = request->url;
  int redirects = 0;
  int result = Transfer(easy, request.get());
  while (result == CURLE_OK && IsRedirect(ResponseCode(easy))) {
    if (!Follow(easy, request.get(), &url, &redirects)) {
      result = CURLE_TOO_MANY_REDIRECTS;
      break;
    }
    result = Transfer(easy, request.get());
  }
  curl_easy_cleanup(easy);
  curl_slist_free_all(headers);
  request->output.reset();  // closes the file before the status says it is whole
  if (result < 0) return;   // abandoned: nobody reads the status any more
  if (result != CURLE_OK) {
    DebugLog("Error creating connection (%s) %d", RequestKind(*request), result);
    request->status.store(kHttpFailed);
    return;
  }
  if (request->readReply && !request->output) request->readReply(request->reply);
  request->status.store(kHttpComplete);
}

}  // namespace

bool HttpRedirectAllowed(const std::string& from, const std::string& to) {
  std::string fromScheme, fromHost, toScheme, toHost;
  if (!SchemeAndHost(from, &fromScheme, &fromHost) || !SchemeAndHost(to, &toScheme, &toHost))
    return false;
  if (fromHost != toHost) return false;
  return toScheme == "https" || (toScheme == "http" && fromScheme == "http");
}

THttpRequest::THttpRequest() = default;
THttpRequest::~THttpRequest() = default;

void StartHttpWorker(std::shared_ptr<THttpRequest> request) {
  TWorkerCount& workers = Workers();
  {
    std::lock_guard<std::mutex> lock(workers.mutex);
    ++workers.running;
  }
  std::thread([request = std::move(request)]() mutable {
    RunRequest(request);
    request.reset();
    TWorkerCount& count = Workers();
    std::lock_guard<std::mutex> lock(count.mutex);
    if (--count.running == 0) count.idle.notify_all();
  }).detach();
}

bool WaitForHttpWorkers(int timeoutMs) {
  TWorkerCount& workers = Workers();
  std::unique_lock<std::mutex> lock(workers.mutex);
  return workers.idle.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                               [&] { return workers.running == 0; });
}
