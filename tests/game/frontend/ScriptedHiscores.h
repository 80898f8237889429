// A hiscore service whose online answers the test scripts: each poll takes the next answer
// (pending while none is left, as a silent server), the categories and the online table are
// set by the test, and every request is logged. The local tables are the real service's, in
// the test's user folder.
#pragma once

#include <deque>
#include <string>
#include <vector>

#include "tvlib/core/TSettings.h"
#include "tvlib/hiscore/TTvHiscores.h"

class TScriptedHiscores : public TTvHiscores {
 public:
  struct TAnswer {
    int result = 0;  // 0 done, 1 pending, 2 failed
    std::string message;
    bool placed = false;  // a done submission's score entered the table
  };
  struct TOnlineEntry {
    std::string name;
    int score = 0;
    bool anonymous = false;
  };

  explicit TScriptedHiscores(const TSettings& settings)
      : TTvHiscores(settings, "festravask", "1.0.0.48", false) {}

  void RequestCategoryInformation() override { calls.push_back("categories"); }
  int GetCategoryCount() const override { return static_cast<int>(categories.size()); }
  bool GetCategoryName(int index, char* buffer, int size) const override {
    if (index < 0 || index >= GetCategoryCount() || !buffer || size <= 0) return false;
    Copy(categories[static_cast<size_t>(index)], buffer, size);
    return true;
  }
  void RequestScores(int categoryIndex) override {
    calls.push_back("scores " + std::to_string(categoryIndex));
  }
  int PollRequest(char* errorBuffer, int errorSize, bool* outHasScore) override {
    ++polls;
    if (answers.empty()) return 1;
    const TAnswer answer = answers.front();
    answers.pop_front();
    if (answer.result == 2 && errorBuffer) Copy(answer.message, errorBuffer, errorSize);
    if (answer.result == 0 && outHasScore) *outHasScore = answer.placed;
    return answer.result;
  }
  int GetScoreCount(bool local) const override {
    return local ? TTvHiscores::GetScoreCount(true) : static_cast<int>(online.size());
  }
  bool GetScoreEntry(bool local, int index, int* outRank, char* nameBuffer, int nameSize,
                     bool* outAnonymous, int* outScore, char* dataBuffer,
                     int dataSize) const override {
    if (local)
      return TTvHiscores::GetScoreEntry(true, index, outRank, nameBuffer, nameSize, outAnonymous,
                                        outScore, dataBuffer, dataSize);
    if (index < 0 || index >= static_cast<int>(online.size())) return false;
    const TOnlineEntry& entry = online[static_cast<size_t>(index)];
    if (outRank) *outRank = index + 1;
    if (nameBuffer) Copy(entry.name, nameBuffer, nameSize);
    if (outAnonymous) *outAnonymous = entry.anonymous;
    if (outScore) *outScore = entry.score;
    return true;
  }
  bool GetPlayerScore(int source, int* outScore, int* outRank, char* dataBuffer,
                      int dataSize) const override {
    if (source == 0) return TTvHiscores::GetPlayerScore(0, outScore, outRank, dataBuffer, dataSize);
    if (ownRank <= 0) return false;
    if (outScore) *outScore = 0;
    if (outRank) *outRank = ownRank;
    return true;
  }
  bool SubmitScore(const char* accountName, const char* password, bool remember) override {
    calls.push_back(std::string("submit ") + accountName + " " + (password ? password : "-") +
                    (remember ? " remember" : ""));
    return submitStarts;
  }
  bool GetStoredLogin(char* nameBuffer, int nameSize, char* passwordBuffer,
                      int passwordSize) const override {
    if (storedAccount.empty()) return false;
    Copy(storedAccount, nameBuffer, nameSize);
    Copy(storedPassword, passwordBuffer, passwordSize);
    return true;
  }

  // Answers of the next polls, first to last.
  void Answer(int result, const std::string& message = "", bool placed = false) {
    answers.push_back(TAnswer{result, message, placed});
  }
  // `count` entries "player1".. with falling scores.
  void FillOnline(int count) {
    online.clear();
    for (int i = 0; i < count; ++i)
      online.push_back(TOnlineEntry{"player" + std::to_string(i + 1), 10000 - 100 * i, i % 2 == 1});
  }

  std::vector<std::string> calls;
  std::deque<TAnswer> answers;
  std::vector<std::string> categories;
  std::vector<TOnlineEntry> online;
  int ownRank = 0;  // the player's rank in the online table; 0: not in it
  bool submitStarts = true;
  std::string storedAccount, storedPassword;
  int polls = 0;

 private:
  static void Copy(const std::string& text, char* buffer, int size) {
    if (!buffer || size <= 0) return;
    const size_t n = std::min(text.size(), static_cast<size_t>(size - 1));
    text.copy(buffer, n);
    buffer[n] = '\0';
  }
};
