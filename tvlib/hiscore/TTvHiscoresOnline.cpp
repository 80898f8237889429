// The hiscore service's online half: starting requests, polling them, submitting scores and
// finding the player's online entry.
#include <cstring>

#include "tvlib/hiscore/THiscoreProtocol.h"
#include "tvlib/hiscore/THiscoreState.h"
#include "tvlib/hiscore/TTvHiscores.h"

namespace {

constexpr char kNoConnection[] = "Unable to connect to server. Please try again later.";
constexpr char kBadMode[] = "Score request failed because game mode is not valid";
constexpr char kNoCategories[] =
    "Score request failed because no category information has been received yet";

const char* OrNull(const TString& text) {
  return text.Length() ? text.c_str() : nullptr;
}

// The text the player sees for a failure.
TString FailureText(const THiscoreState& s) {
  if (s.message.Length()) return s.message;
  if (s.defaultError.Length()) return s.defaultError;
  return kNoConnection;
}

THiscoreQuery QueryOf(const THiscoreState& s) {
  return {s.serverAddress, s.language, s.gameId};
}

}  // namespace

void TTvHiscores::StartRequest(THiscoreRequestKind kind) {
  THiscoreState& s = *mState;
  s.requestKind = kind;
  s.reading.reset();
  if (s.stub.IsLoaded()) return;
  // The worker reads the reply, so that a large one never holds up the game.
  auto reading = std::make_shared<THiscoreReading>();
  s.reading = reading;
  s.http.SetReplyReader([reading, kind](const std::string& reply) {
    *reading = ReadHiscoreReply(kind, reply.data(), reply.size());
  });
  s.http.Send(0);
}

void TTvHiscores::RequestCategoryInformation() {
  THiscoreState& s = *mState;
  PrepareTablesRequest(&s.http, QueryOf(s));
  if (s.stub.IsLoaded()) s.stub.Calls().RequestCategoryInformation(s.localServer, s.gameId.c_str());
  StartRequest(THiscoreRequestKind::kTables);
}

int TTvHiscores::GetCategoryCount() const {
  return static_cast<int>(mState->categories.size());
}

bool TTvHiscores::GetCategoryName(int index, char* buffer, int size) const {
  const THiscoreState& s = *mState;
  if (!buffer || index < 0 || index >= static_cast<int>(s.categories.size())) return false;
  return CopyHiscoreText(s.categories[static_cast<size_t>(index)].displayName, buffer, size);
}

void TTvHiscores::RequestScores(int categoryIndex) {
  THiscoreState& s = *mState;
  const char* tableId = nullptr;
  if (categoryIndex >= 0 && categoryIndex < static_cast<int>(s.categories.size()))
    tableId = s.categories[static_cast<size_t>(categoryIndex)].tableId.c_str();
  PrepareScoresRequest(&s.http, QueryOf(s), s.modeId, tableId, s.account);
  if (s.stub.IsLoaded())
    s.stub.Calls().RequestScores(s.localServer, s.gameId.c_str(), s.modeId.c_str(), tableId,
                                 OrNull(s.account));
  StartRequest(THiscoreRequestKind::kScores);
}

bool TTvHiscores::SubmitScore(const char* accountName, const char* password, bool remember) {
  THiscoreState& s = *mState;
  THiscoreTable* table = s.FindLocalTable(s.modeId);
  const THiscoreEntry* entry = nullptr;
  if (table) {
    for (const THiscoreEntry& candidate : table->entries) {
      if (candidate.name == s.player && !candidate.submitted) {
        entry = &candidate;
        break;
      }
    }
  }
  if (!entry) return false;
  s.submitTable = table->name;
  PrepareSubmitRequest(
      &s.http, QueryOf(s),
      BuildScoreDocument(s.cipher, *entry, accountName, password, s.modeId, s.gameId));
  if (s.stub.IsLoaded())
    s.stub.Calls().SubmitScore(s.localServer, s.gameId.c_str(), s.modeId.c_str(), accountName,
                               password, entry->guid.c_str(), entry->version.c_str(),
                               entry->gameData.c_str(), entry->score, s.keyText.c_str());
  StartRequest(THiscoreRequestKind::kSubmit);
  bool hasPassword = password && *password;
  s.account = hasPassword && accountName ? accountName : "";
  if (remember) {
    THiscoreLogin& login = s.logins[s.player];
    login.player = s.player;
    login.account = accountName ? accountName : "";
    login.password = password ? password : "";
  } else {
    s.logins.erase(s.player);
  }
  return true;
}

int TTvHiscores::PollRequest(char* errorBuffer, int errorSize, bool* outHasScore) {
  THiscoreState& s = *mState;
  int status = s.stub.IsLoaded() ? s.stub.Calls().GetStatus(s.localServer) : s.http.GetStatus();
  if (status == 0) return 1;
  if (status != 1) {
    s.message = TString();
    CopyHiscoreText(FailureText(s), errorBuffer, errorSize);
    return 2;
  }
  THiscoreReading reading;
  if (s.stub.IsLoaded()) {
    const char* text = s.stub.Calls().GetContents(s.localServer);
    reading = ReadHiscoreReply(s.requestKind, text, text ? std::strlen(text) : 0);
  } else if (s.reading) {
    reading = *s.reading;  // read by the worker before it said complete
  }
  s.message = reading.reply.message;
  switch (s.requestKind) {
    case THiscoreRequestKind::kTables:
      s.categories = std::move(reading.categories);
      if (reading.reply.ok) return 0;
      CopyHiscoreText(FailureText(s), errorBuffer, errorSize);
      return 2;
    case THiscoreRequestKind::kScores:
      s.onlineTable = std::move(reading.table);
      s.ownIndex = reading.ownIndex;
      if (reading.reply.ok) return 0;
      if (reading.missingType)
        s.message = kBadMode;
      else if (s.categories.empty())
        s.message = kNoCategories;
      CopyHiscoreText(FailureText(s), errorBuffer, errorSize);
      return 2;
    case THiscoreRequestKind::kSubmit:
      if (!reading.reply.ok) {
        CopyHiscoreText(FailureText(s), errorBuffer, errorSize);
        if (reading.badLogin) s.logins.erase(s.player);
        return 2;
      }
      if (!reading.reply.hasMedals) {
        if (THiscoreTable* table = s.FindLocalTable(s.submitTable))
          for (THiscoreEntry& entry : table->entries)
            if (entry.name == s.player) entry.submitted = true;
        Save();
        if (outHasScore) *outHasScore = reading.reply.hasScore;
      }
      return 0;
  }
  return 0;
}

bool TTvHiscores::GetPlayerScore(int source, int* outScore, int* outRank, char* dataBuffer,
                                 int dataSize) const {
  const THiscoreState& s = *mState;
  const THiscoreEntry* found = nullptr;
  if (source == 0) {
    if (const THiscoreTable* table = s.FindLocalTable(s.modeId)) {
      for (const THiscoreEntry& entry : table->entries) {
        if (entry.name == s.player && !entry.submitted) {
          found = &entry;
          break;
        }
      }
    }
  } else if (source == 1) {
    const std::vector<THiscoreEntry>& online = s.onlineTable.entries;
    if (s.ownIndex >= 0 && s.ownIndex < static_cast<int>(online.size())) {
      found = &online[static_cast<size_t>(s.ownIndex)];
    } else {
      TString account = s.player;
      if (const THiscoreLogin* login = s.FindLogin(s.player))
        account = login->account;
      else if (s.account.Length())
        account = s.account;
      const THiscoreTable* local = s.FindLocalTable(s.modeId);
      for (size_t i = 0; local && !found && i < online.size(); ++i) {
        if (online[i].name != account) continue;
        for (const THiscoreEntry& mine : local->entries) {
          if (mine.guid == online[i].guid) {
            found = &online[i];
            break;
          }
          if (mine.score < online[i].score) break;
        }
      }
    }
  }
  if (!found) return false;
  if (outScore) *outScore = found->score;
  if (outRank) *outRank = found->rank;
  CopyHiscoreText(found->gameData, dataBuffer, dataSize);
  return true;
}
