// A small HTTP server on a free loopback port for the hiscore tests: it records every request
// and answers by its mode.
//
// Modes: a canned reply; an in-memory hiscore store speaking the service's protocol (a submit
// deciphers its score document, checks the account's password and ranks the score; a fetch
// ranks the mode's scores and flags the asking account's first one); and the hostile ones: a
// slow reply, a 500 with an HTML body, an empty body, a reset connection and an endless body.
// In redirect mode the path "/go/hiscore" answers 302 to the set address, any other path the
// canned reply.
// One connection at a time, each closed after its reply.
#pragma once

#include <atomic>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TFakeHiscoreServer {
 public:
  enum class TMode {
    kCanned,
    kStore,
    kSlow,
    kServerError,
    kEmptyBody,
    kReset,
    kEndless,
    kRedirect
  };

  struct TRequest {
    std::string method;
    std::string target;                          // path and query as sent
    std::map<std::string, std::string> headers;  // names lower-cased
    std::string body;
  };

  struct TStoredScore {
    std::string account;
    std::string type;
    std::string guid;
    std::string data;
    int score = 0;
  };

  // `keyText` deciphers the submitted score documents.
  explicit TFakeHiscoreServer(const std::string& keyText);
  ~TFakeHiscoreServer();
  TFakeHiscoreServer(const TFakeHiscoreServer&) = delete;
  TFakeHiscoreServer& operator=(const TFakeHiscoreServer&) = delete;

  // Listens on 127.0.0.1 at a free port; false when it cannot.
  bool Start();
  int Port() const { return mPort; }
  std::string Url(const std::string& path = "/go/hiscore") const;

  void SetMode(TMode mode) { mMode = mode; }
  void SetCannedReply(const std::string& body);
  void SetRedirect(const std::string& location);
  void SetDelayMs(int ms) { mDelayMs = ms; }
  // Store mode: an account the store knows, with its password.
  void AddAccount(const std::string& name, const std::string& password);

  std::vector<TRequest> Requests();
  std::vector<TStoredScore> Scores();
  // A port on which nothing listens.
  static int RefusedPort();

 private:
  void Serve();
  void Answer(int client);
  std::string StoreReply(const TRequest& request);

  std::string mKeyText;
  int mListener = -1;
  int mPort = 0;
  std::atomic<bool> mStop{false};
  std::atomic<TMode> mMode{TMode::kCanned};
  std::atomic<int> mDelayMs{0};
  std::thread mThread;
  std::mutex mMutex;  // guards what follows
  std::string mCanned;
  std::string mRedirect;
  std::vector<TRequest> mRequests;
  std::vector<TStoredScore> mScores;
  std::map<std::string, std::string> mAccounts;
};

// Splits a query ("a=1&b=%20") into its decoded pairs.
std::map<std::string, std::string> DecodeQuery(const std::string& query);
