// The online hiscore protocol: the three requests (ordered query parameters of one GET), the
// enciphered score document a submit carries, and the checks and readings of the XML replies,
// whose root element is "hiscore".
//
// Every reply is checked the same way: no "hiscore" element fails ("HiScore XML parsing
// error!"); a "message" child fails and is the text for the user; else a "protocolError" child
// fails with the message left empty. The reply readers take bytes and a length and read no
// further.
#pragma once

#include <cstddef>
#include <vector>

#include "tvlib/core/TString.h"
#include "tvlib/hiscore/THiscoreTable.h"

class TCipher;
class TSimpleHttp;

// What a request needs to know of the service.
struct THiscoreQuery {
  TString serverAddress;
  TString language;
  TString gameId;
};

void PrepareTablesRequest(TSimpleHttp* http, const THiscoreQuery& query);
// `tableId` null or empty: no "table" parameter; `account` empty: no "username".
void PrepareScoresRequest(TSimpleHttp* http, const THiscoreQuery& query, const TString& modeId,
                          const char* tableId, const TString& account);
void PrepareSubmitRequest(TSimpleHttp* http, const THiscoreQuery& query,
                          const TString& scoreDocument);

// The submit's score document, enciphered and in Base64. `account` and `password` may be null.
TString BuildScoreDocument(const TCipher& cipher, const THiscoreEntry& entry, const char* account,
                           const char* password, const TString& modeId, const TString& gameId);
// The plain document before enciphering (the form the server deciphers back to).
TString BuildPlainScoreDocument(const THiscoreEntry& entry, const char* account,
                                const char* password, const TString& modeId, const TString& gameId);

// What a reply said besides its data.
struct THiscoreReply {
  bool ok = false;
  TString message;  // the "message" text; empty when none
  bool hasMedals = false;
  bool hasScore = false;
};

// What the pending request is.
enum class THiscoreRequestKind { kSubmit = 0, kScores = 1, kTables = 2 };

// Everything one reply says, read by the rules of its request kind.
struct THiscoreReading {
  THiscoreReply reply;
  std::vector<THiscoreCategory> categories;  // a tables reply's
  THiscoreTable table;                       // a scores reply's
  int ownIndex = -1;
  bool missingType = false;  // the text names the missing "type" parameter
  bool badLogin = false;     // the text says the account or password was wrong
};
THiscoreReading ReadHiscoreReply(THiscoreRequestKind kind, const char* bytes, size_t size);

// Checks a reply of any kind (a submit's, here) and notes its "medals" and "score" children.
THiscoreReply ReadSubmitReply(const char* bytes, size_t size);
// A tables reply: fills `categories` (cleared first); no "tables" element fails.
THiscoreReply ReadTablesReply(const char* bytes, size_t size,
                              std::vector<THiscoreCategory>* categories);
// A scores reply: fills `table` (cleared first) and the index of the first entry marked as
// the account's own (-1 when none); no "scores" element fails with "HiScores parsed
// incorrectly".
THiscoreReply ReadScoresReply(const char* bytes, size_t size, THiscoreTable* table, int* ownIndex);
