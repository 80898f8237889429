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
constexpr char kMissingType[] = "Missing required parameter: type";
constexpr char kBadLogin[] = "hiscore.error.invalidUsernameOrPassword";

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

bool ReplyContains(const THiscoreState& s, const char* text) {
  return s.reply.Find(text) >= 0;
}

}  // namespace

void TTvHiscores::StartRequest() {
  if (!mState->stub.IsLoaded()) mState->http.Send(0);
}

void TTvHiscores::RequestCategoryInformation() {
  THiscoreState& s = *mState;
  PrepareTablesRequest(&s.http, QueryOf(s));
  if (s.stub.IsLoaded()) s.stub.Calls().RequestCategoryInformation(s.localServer, s.gameId.c_str());
  StartRequest();
  s.requestKind = THiscoreRequestKind::kTables;
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
  StartRequest();
  s.requestKind = THiscoreRequestKind::kScores;
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
  StartRequest();
  bool hasPassword = password && *password;
  s.account = hasPassword && accountName ? accountName : "";
  s.requestKind = THiscoreRequestKind::kSubmit;
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
  const char* text =
      s.stub.IsLoaded() ? s.stub.Calls().GetContents(s.localServer) : s.http.GetResult();
  s.reply = text ? text : "";
  const char* bytes = s.reply.c_str();
  size_t size = static_cast<size_t>(s.reply.Length());
  THiscoreReply reply;
  switch (s.requestKind) {
    case THiscoreRequestKind::kTables:
      reply = ReadTablesReply(bytes, size, &s.categories);
      s.message = reply.message;
      if (reply.ok) return 0;
      CopyHiscoreText(FailureText(s), errorBuffer, errorSize);
      return 2;
    case THiscoreRequestKind::kScores:
      reply = ReadScoresReply(bytes, size, &s.onlineTable, &s.ownIndex);
      s.message = reply.message;
      if (reply.ok) return 0;
      if (ReplyContains(s, kMissingType))
        s.message = kBadMode;
      else if (s.categories.empty())
        s.message = kNoCategories;
      CopyHiscoreText(FailureText(s), errorBuffer, errorSize);
      return 2;
    case THiscoreRequestKind::kSubmit:
      reply = ReadSubmitReply(bytes, size);
      s.message = reply.message;
      if (!reply.ok) {
        CopyHiscoreText(FailureText(s), errorBuffer, errorSize);
        if (ReplyContains(s, kBadLogin)) s.logins.erase(s.player);
        return 2;
      }
      if (!reply.hasMedals) {
        if (THiscoreTable* table = s.FindLocalTable(s.submitTable))
          for (THiscoreEntry& entry : table->entries)
            if (entry.name == s.player) entry.submitted = true;
        Save();
        if (outHasScore) *outHasScore = reply.hasScore;
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
