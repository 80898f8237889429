// The fake hiscore server: sockets, request reading and the replies of each mode.
#include "tests/hiscore/FakeHiscoreServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstring>

#include "tvlib/core/TCipher.h"
#include "tvlib/core/TXmlNode.h"

namespace {

constexpr int kPollMs = 20;

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string PercentDecode(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
        HexValue(text[i + 2]) >= 0) {
      out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
      i += 2;
    } else {
      out += text[i];
    }
  }
  return out;
}

std::string Escape(const std::string& text) {
  std::string out;
  for (char c : text) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

bool SendAll(int socket, const std::string& bytes) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    ssize_t n = send(socket, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n <= 0) return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

std::string Reply(int code, const char* reason, const std::string& type, const std::string& body) {
  return "HTTP/1.1 " + std::to_string(code) + " " + reason + "\r\nContent-Type: " + type +
         "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
         body;
}

}  // namespace

std::map<std::string, std::string> DecodeQuery(const std::string& query) {
  std::map<std::string, std::string> pairs;
  size_t start = 0;
  while (start <= query.size()) {
    size_t end = query.find('&', start);
    if (end == std::string::npos) end = query.size();
    std::string pair = query.substr(start, end - start);
    size_t equals = pair.find('=');
    if (!pair.empty())
      pairs[PercentDecode(pair.substr(0, equals))] =
          equals == std::string::npos ? "" : PercentDecode(pair.substr(equals + 1));
    start = end + 1;
  }
  return pairs;
}

TFakeHiscoreServer::TFakeHiscoreServer(const std::string& keyText) : mKeyText(keyText) {}

TFakeHiscoreServer::~TFakeHiscoreServer() {
  mStop = true;
  if (mThread.joinable()) mThread.join();
  if (mListener >= 0) close(mListener);
}

bool TFakeHiscoreServer::Start() {
  mListener = socket(AF_INET, SOCK_STREAM, 0);
  if (mListener < 0) return false;
  int yes = 1;
  setsockopt(mListener, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(mListener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      listen(mListener, 8) != 0 ||
      getsockname(mListener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
    return false;
  mPort = ntohs(address.sin_port);
  mThread = std::thread([this] { Serve(); });
  return true;
}

std::string TFakeHiscoreServer::Url(const std::string& path) const {
  return "http://127.0.0.1:" + std::to_string(mPort) + path;
}

void TFakeHiscoreServer::SetCannedReply(const std::string& body) {
  std::lock_guard<std::mutex> lock(mMutex);
  mCanned = body;
}

void TFakeHiscoreServer::SetRedirect(const std::string& location) {
  std::lock_guard<std::mutex> lock(mMutex);
  mRedirect = location;
}

void TFakeHiscoreServer::AddAccount(const std::string& name, const std::string& password) {
  std::lock_guard<std::mutex> lock(mMutex);
  mAccounts[name] = password;
}

std::vector<TFakeHiscoreServer::TRequest> TFakeHiscoreServer::Requests() {
  std::lock_guard<std::mutex> lock(mMutex);
  return mRequests;
}

std::vector<TFakeHiscoreServer::TStoredScore> TFakeHiscoreServer::Scores() {
  std::lock_guard<std::mutex> lock(mMutex);
  return mScores;
}

int TFakeHiscoreServer::RefusedPort() {
  int probe = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  bind(probe, reinterpret_cast<sockaddr*>(&address), sizeof address);
  getsockname(probe, reinterpret_cast<sockaddr*>(&address), &length);
  close(probe);
  return ntohs(address.sin_port);
}

void TFakeHiscoreServer::Serve() {
  while (!mStop) {
    pollfd waiting{mListener, POLLIN, 0};
    if (poll(&waiting, 1, kPollMs) <= 0) continue;
    int client = accept(mListener, nullptr, nullptr);
    if (client < 0) continue;
    Answer(client);
    close(client);
  }
}

void TFakeHiscoreServer::Answer(int client) {
  // The request: head up to the blank line, then the body its Content-Length gives.
  std::string bytes;
  size_t headEnd = std::string::npos;
  TRequest request;
  size_t bodyLength = 0;
  char buffer[4096];
  while (!mStop) {
    if (headEnd != std::string::npos && bytes.size() >= headEnd + 4 + bodyLength) break;
    pollfd readable{client, POLLIN, 0};
    if (poll(&readable, 1, kPollMs) <= 0) continue;
    ssize_t n = recv(client, buffer, sizeof buffer, 0);
    if (n <= 0) return;
    bytes.append(buffer, static_cast<size_t>(n));
    if (headEnd == std::string::npos && (headEnd = bytes.find("\r\n\r\n")) != std::string::npos) {
      size_t lineEnd = bytes.find("\r\n");
      std::string line = bytes.substr(0, lineEnd);
      size_t space = line.find(' ');
      request.method = line.substr(0, space);
      request.target = line.substr(space + 1, line.rfind(' ') - space - 1);
      size_t at = lineEnd + 2;
      while (at < headEnd) {
        size_t next = bytes.find("\r\n", at);
        std::string header = bytes.substr(at, next - at);
        size_t colon = header.find(':');
        if (colon != std::string::npos) {
          size_t value = header.find_first_not_of(' ', colon + 1);
          request.headers[Lower(header.substr(0, colon))] =
              value == std::string::npos ? "" : header.substr(value);
        }
        at = next + 2;
      }
      if (request.headers.count("content-length"))
        bodyLength = std::stoul(request.headers["content-length"]);
    }
  }
  if (mStop) return;
  request.body = bytes.substr(headEnd + 4, bodyLength);
  std::string canned, redirect;
  {
    std::lock_guard<std::mutex> lock(mMutex);
    mRequests.push_back(request);
    canned = mCanned;
    redirect = mRedirect;
  }
  switch (mMode.load()) {
    case TMode::kRedirect:
      if (request.target.rfind("/go/hiscore", 0) == 0)
        SendAll(client, "HTTP/1.1 302 Found\r\nLocation: " + redirect +
                            "\r\nContent-Length: 5\r\nConnection: close\r\n\r\nmoved");
      else
        SendAll(client, Reply(200, "OK", "text/xml", canned));
      break;
    case TMode::kCanned:
      SendAll(client, Reply(200, "OK", "text/xml", canned));
      break;
    case TMode::kStore:
      SendAll(client, Reply(200, "OK", "text/xml", StoreReply(request)));
      break;
    case TMode::kSlow: {
      auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(mDelayMs.load());
      while (!mStop && std::chrono::steady_clock::now() < until) {
        // Leaves early when the client gives up and closes its end.
        pollfd closed{client, POLLIN, 0};
        char probe;
        if (poll(&closed, 1, kPollMs) > 0 && recv(client, &probe, 1, MSG_PEEK) <= 0) return;
      }
      SendAll(client, Reply(200, "OK", "text/xml", canned));
      break;
    }
    case TMode::kServerError:
      SendAll(client, Reply(500, "Internal Server Error", "text/html",
                            "<html><body><h1>500 Internal Server Error</h1></body></html>"));
      break;
    case TMode::kEmptyBody:
      SendAll(client, Reply(200, "OK", "text/xml", ""));
      break;
    case TMode::kReset: {
      linger abort{1, 0};
      setsockopt(client, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
      break;
    }
    case TMode::kEndless: {
      SendAll(client, "HTTP/1.1 200 OK\r\nContent-Type: text/xml\r\nConnection: close\r\n\r\n");
      std::string piece(64 << 10, 'x');
      while (!mStop && SendAll(client, piece)) {
      }
      break;
    }
  }
}

std::string TFakeHiscoreServer::StoreReply(const TRequest& request) {
  size_t question = request.target.find('?');
  auto query =
      DecodeQuery(question == std::string::npos ? "" : request.target.substr(question + 1));
  const std::string& action = query["action"];
  if (action == "tables")
    return "<hiscore><tables><table table=\"weekly\" name=\"This week\"/>"
           "<table table=\"all\" name=\"All time\"/></tables></hiscore>";
  if (action == "get") {
    if (query["type"].empty())
      return "<hiscore><protocolError>Missing required parameter: type</protocolError></hiscore>";
    std::lock_guard<std::mutex> lock(mMutex);
    std::vector<TStoredScore> ranked;
    for (const TStoredScore& stored : mScores)
      if (stored.type == query["type"]) ranked.push_back(stored);
    std::stable_sort(
        ranked.begin(), ranked.end(),
        [](const TStoredScore& a, const TStoredScore& b) { return a.score > b.score; });
    std::string reply = "<?xml version=\"1.0\"?>\n<hiscore><scores>";
    for (size_t i = 0; i < ranked.size(); ++i) {
      reply += "<score name=\"" + Escape(ranked[i].account) + "\" data=\"" +
               Escape(ranked[i].data) + "\" guid=\"" + ranked[i].guid + "\" anonymous=\"false\"" +
               " score=\"" + std::to_string(ranked[i].score) + "\" rank=\"" +
               std::to_string(i + 1) + "\"";
      if (!query["username"].empty() && ranked[i].account == query["username"])
        reply += " account=\"true\"";
      reply += "/>";
    }
    return reply + "</scores></hiscore>";
  }
  if (action == "submit") {
    TCipher cipher(mKeyText.c_str());
    const std::string& base64 = query["score"];
    int n = static_cast<int>(base64.size());
    int size = cipher.Decrypt(base64.data(), n, nullptr, 0, true);
    std::string document(static_cast<size_t>(std::max(size, 0)), '\0');
    if (size > 0) cipher.Decrypt(base64.data(), n, document.data(), size, true);
    TXmlNode parsed;
    parsed.LoadBuffer(document.data(), document.size());
    TXmlNode* score = parsed.FindChild("score");
    if (!score) return "<hiscore><protocolError>Unreadable score</protocolError></hiscore>";
    TStoredScore stored;
    stored.account = score->GetAttribute("name").c_str();
    stored.type = score->GetAttribute("type").c_str();
    stored.guid = score->GetAttribute("guid").c_str();
    stored.data = score->GetAttribute("data").c_str();
    stored.score = score->GetAttribute("score").ToInt();
    std::string password = score->GetAttribute("password").c_str();
    std::lock_guard<std::mutex> lock(mMutex);
    auto known = mAccounts.find(stored.account);
    if (known != mAccounts.end() && known->second != password)
      return "<hiscore><message>hiscore.error.invalidUsernameOrPassword</message></hiscore>";
    mScores.push_back(stored);
    return "<hiscore><score rank=\"1\"/></hiscore>";
  }
  return "<hiscore><protocolError>Unknown action</protocolError></hiscore>";
}
