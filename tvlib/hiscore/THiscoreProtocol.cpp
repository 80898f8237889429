// Requests to the online hiscore service and the reading of its replies.
#include "tvlib/hiscore/THiscoreProtocol.h"

#include <cstring>
#include <string_view>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TCipher.h"
#include "tvlib/core/TXmlNode.h"
#include "tvlib/hiscore/TSimpleHttp.h"

namespace {

constexpr char kProtocolVersion[] = "1.0";
constexpr int kRequestedScores = 500;

bool IsGiven(const char* text) {
  return text && *text;
}

void StartRequest(TSimpleHttp* http, const THiscoreQuery& query) {
  http->Init(query.serverAddress.c_str(), false, nullptr);
  http->AddParameter("lang", query.language.c_str());
  http->AddParameter("ver", kProtocolVersion);
}

// Parses the reply and applies the common check; the "hiscore" element, or null on failure.
TXmlNode* CheckReply(TXmlNode* document, const char* bytes, size_t size, THiscoreReply* reply) {
  reply->message = TString();
  if (bytes) document->LoadBuffer(bytes, size);
  TXmlNode* root = document->FindChild("hiscore");
  if (!root) {
    DebugLog("HiScore XML parsing error!\n");
    return nullptr;
  }
  if (TXmlNode* message = root->FindChild("message")) {
    reply->message = message->GetText();
    DebugLog("HiScore User Message: %s\n", reply->message.c_str());
    return nullptr;
  }
  if (TXmlNode* error = root->FindChild("protocolError")) {
    DebugLog("HiScore Protocol Error: %s\n", error->GetText().c_str());
    return nullptr;
  }
  return root;
}

}  // namespace

void PrepareTablesRequest(TSimpleHttp* http, const THiscoreQuery& query) {
  StartRequest(http, query);
  http->AddParameter("action", "tables");
  http->AddParameter("game", query.gameId.c_str());
}

void PrepareScoresRequest(TSimpleHttp* http, const THiscoreQuery& query, const TString& modeId,
                          const char* tableId, const TString& account) {
  StartRequest(http, query);
  http->AddParameter("action", "get");
  http->AddParameter("game", query.gameId.c_str());
  http->AddParameter("type", modeId.c_str());
  if (IsGiven(tableId)) http->AddParameter("table", tableId);
  http->AddNumberParameter("numScores", kRequestedScores);
  if (account.Length()) http->AddParameter("username", account.c_str());
}

void PrepareSubmitRequest(TSimpleHttp* http, const THiscoreQuery& query,
                          const TString& scoreDocument) {
  StartRequest(http, query);
  http->AddParameter("game", query.gameId.c_str());
  http->AddParameter("action", "submit");
  http->AddParameter("score", scoreDocument.c_str());
}

TString BuildPlainScoreDocument(const THiscoreEntry& entry, const char* account,
                                const char* password, const TString& modeId,
                                const TString& gameId) {
  TXmlNode score("score");
  score.SetAttribute("guid", entry.guid);
  if (account) score.SetAttribute("name", account);
  if (IsGiven(password)) score.SetAttribute("password", password);
  score.SetAttribute("type", modeId);
  if (gameId.Length()) score.SetAttribute("game", gameId);
  score.SetAttributeInt("score", entry.score);
  if (entry.gameData.Length()) score.SetAttribute("data", entry.gameData);
  if (entry.version.Length()) score.SetAttribute("ver", entry.version);
  TString element = score.ToString();
  if (entry.serverData.Length()) {
    // The server data is the element's content, as it stands.
    int end = element.Find("</score>");
    if (end >= 0) element = element.Substr(0, end) + entry.serverData + "</score>";
  }
  return TString("<?xml version=\"1.0\"?>\n") + element;
}

TString BuildScoreDocument(const TCipher& cipher, const THiscoreEntry& entry, const char* account,
                           const char* password, const TString& modeId, const TString& gameId) {
  TString plain = BuildPlainScoreDocument(entry, account, password, modeId, gameId);
  int size = cipher.Encrypt(plain.c_str(), plain.Length(), nullptr, 0, true);
  if (size <= 0) return TString();
  std::string text(static_cast<size_t>(size), '\0');
  cipher.Encrypt(plain.c_str(), plain.Length(), text.data(), size, true);
  return TString(text.c_str());
}

THiscoreReply ReadSubmitReply(const char* bytes, size_t size) {
  THiscoreReply reply;
  TXmlNode document;
  TXmlNode* root = CheckReply(&document, bytes, size, &reply);
  if (!root) return reply;
  reply.ok = true;
  reply.hasMedals = root->FindChild("medals") != nullptr;
  reply.hasScore = root->FindChild("score") != nullptr;
  return reply;
}

THiscoreReply ReadTablesReply(const char* bytes, size_t size,
                              std::vector<THiscoreCategory>* categories) {
  categories->clear();
  THiscoreReply reply;
  TXmlNode document;
  TXmlNode* root = CheckReply(&document, bytes, size, &reply);
  if (!root) return reply;
  TXmlNode* tables = root->FindChild("tables");
  if (!tables) return reply;
  TString name;
  TXmlNode* child = nullptr;
  tables->ResetChildIterator();
  while (tables->GetNextChild(&name, &child))
    if (name == "table")
      categories->push_back({child->GetAttribute("table"), child->GetAttribute("name")});
  reply.ok = true;
  return reply;
}

THiscoreReply ReadScoresReply(const char* bytes, size_t size, THiscoreTable* table, int* ownIndex) {
  table->entries.clear();
  *ownIndex = -1;
  THiscoreReply reply;
  TXmlNode document;
  TXmlNode* root = CheckReply(&document, bytes, size, &reply);
  if (!root) return reply;
  TXmlNode* scores = root->FindChild("scores");
  if (!scores) {
    DebugLog("HiScores parsed incorrectly\n");
    return reply;
  }
  TString name;
  TXmlNode* child = nullptr;
  scores->ResetChildIterator();
  while (scores->GetNextChild(&name, &child)) {
    if (name != "score") continue;
    THiscoreEntry entry;
    entry.name = child->GetAttribute("name");
    entry.gameData = child->GetAttribute("data");
    entry.serverData = child->GetAttribute("serverData");
    entry.version = child->GetAttribute("ver");
    entry.guid = child->GetAttribute("guid");
    entry.anonymous = child->GetAttribute("anonymous") == "true";
    entry.score = child->GetAttribute("score").ToInt();
    entry.rank = child->GetAttribute("rank").ToInt();
    if (*ownIndex < 0 && child->GetAttribute("account") == "true")
      *ownIndex = static_cast<int>(table->entries.size());
    table->entries.push_back(std::move(entry));
  }
  reply.ok = true;
  return reply;
}

THiscoreReading ReadHiscoreReply(THiscoreRequestKind kind, const char* bytes, size_t size) {
  constexpr std::string_view kMissingType = "Missing required parameter: type";
  constexpr std::string_view kBadLogin = "hiscore.error.invalidUsernameOrPassword";
  // The reply is read as text: up to its first NUL.
  const std::string_view text(bytes ? bytes : "", bytes ? strnlen(bytes, size) : 0);
  size = text.size();
  THiscoreReading reading;
  switch (kind) {
    case THiscoreRequestKind::kTables:
      reading.reply = ReadTablesReply(bytes, size, &reading.categories);
      break;
    case THiscoreRequestKind::kScores:
      reading.reply = ReadScoresReply(bytes, size, &reading.table, &reading.ownIndex);
      break;
    case THiscoreRequestKind::kSubmit:
      reading.reply = ReadSubmitReply(bytes, size);
      break;
  }
  reading.missingType = text.find(kMissingType) != std::string_view::npos;
  reading.badLogin = text.find(kBadLogin) != std::string_view::npos;
  return reading;
}
