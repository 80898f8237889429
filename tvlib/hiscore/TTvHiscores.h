// The hiscore service: the player's local hiscore tables, one per game mode, kept in
// "user:hiscore.dat", and the online hiscore service: its score categories, one online table
// at a time, and submitting the player's best unsubmitted local score.
//
// Online requests go to the stub library (THiscoreStub.h) when it loads, else over HTTP to
// the server address: a built-in one that fails at once, or the first line of
// "hiscoreserver.txt" in the program's folder. "hiscore.xml" there may fix the language
// ("language") and give the default error text ("defaulterror"). One request is pending at a
// time; PollRequest answers 0 done, 1 pending, 2 failed with the text for the player.
// The tables, the logins and the submitted flags are written to the file (atomically) after
// each local score, a deleted table and a successful submit, when saving is enabled.
// UI thread only; the HTTP transfer itself, and the reading of its reply, run on the client's
// worker thread, so that a reply of any size never holds up the game.
// The operations the screens call are virtual, so that a screen's tests can script the
// service's answers.
#pragma once

#include <cstddef>
#include <memory>

#include "tvlib/core/TString.h"

class TSettings;
class TSimpleHttp;
struct THiscoreState;
enum class THiscoreRequestKind;

// The server address "hiscoreserver.txt" gives: its first line (at most 511 bytes), without
// its line end or anything after a NUL.
TString HiscoreServerLine(const char* bytes, size_t size);

// The hiscore table id of a game mode index (0 to 3); null for another index.
const char* HiscoreModeId(int modeIndex);

class TTvHiscores {
 public:
  // Query fields of SetQueryField.
  static constexpr int kFieldLanguage = 0;
  static constexpr int kFieldPlayer = 1;
  static constexpr int kFieldMode = 2;

  // Reads "encryptionkey" from `settings`, loads the local file, the stub library, then
  // "hiscore.xml" and "hiscoreserver.txt".
  TTvHiscores(const TSettings& settings, const char* gameId, const char* versionText,
              bool saveEnabled);
  virtual ~TTvHiscores();
  TTvHiscores(const TTvHiscores&) = delete;
  TTvHiscores& operator=(const TTvHiscores&) = delete;

  // 0 the language (unless "hiscore.xml" fixed it), 1 the player (forgets the account name),
  // 2 the mode id; other fields do nothing.
  void SetQueryField(int field, const char* text);

  virtual void RequestCategoryInformation();
  virtual int GetCategoryCount() const;
  // The display name, cut to size - 1 bytes; false for no buffer or no such category.
  virtual bool GetCategoryName(int index, char* buffer, int size) const;
  // Scores of the current mode; of the category's table when the index names one.
  virtual void RequestScores(int categoryIndex);
  // 0 done, 1 pending, 2 failed with the player's text in the buffer. `outHasScore` (may be
  // null) tells whether a done submit's reply gave a score back.
  virtual int PollRequest(char* errorBuffer, int errorSize, bool* outHasScore);

  // Adds the current player's score to the current mode's local table (see
  // InsertHiscoreEntry), then saves. `serverData` may be null.
  void AddLocalScore(int score, bool bestOnly, const char* gameData, const char* serverData);
  // Entries of the current mode's local table, or of the online table.
  virtual int GetScoreCount(bool local) const;
  // One entry; every out-parameter may be null, texts are cut to size - 1 bytes.
  virtual bool GetScoreEntry(bool local, int index, int* outRank, char* nameBuffer, int nameSize,
                             bool* outAnonymous, int* outScore, char* dataBuffer,
                             int dataSize) const;
  // The player's entry: source 0 local (first unsubmitted), 1 online.
  virtual bool GetPlayerScore(int source, int* outScore, int* outRank, char* dataBuffer,
                              int dataSize) const;
  // Submits the player's first unsubmitted local entry of the current mode; false when there
  // is none. `remember` stores the login for the player, otherwise it is forgotten.
  virtual bool SubmitScore(const char* accountName, const char* password, bool remember);
  virtual bool GetStoredLogin(char* nameBuffer, int nameSize, char* passwordBuffer,
                              int passwordSize) const;
  // Deletes the current mode's local table, then saves.
  void DeleteLocalTable();

  // The HTTP client the online requests go through (its timeouts may be changed).
  TSimpleHttp* GetHttpClient();
  // True when the stub library answers the online requests.
  bool UsesStubLibrary() const;

 private:
  void Save();
  // Sends the prepared request (unless the stub library takes it) as the pending one.
  void StartRequest(THiscoreRequestKind kind);
  std::unique_ptr<THiscoreState> mState;
};
