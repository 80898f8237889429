// The hiscore service: construction, configuration and the local tables.
#include "tvlib/hiscore/TTvHiscores.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFile.h"
#include "tvlib/core/TFileData.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/core/TGuid.h"
#include "tvlib/core/TSettings.h"
#include "tvlib/core/TXmlNode.h"
#include "tvlib/hiscore/THiscoreState.h"
#include "tvlib/hiscore/THiscoreStore.h"

namespace {

// A host under the reserved ".invalid" domain never resolves: until "hiscoreserver.txt"
// names a server, online requests fail at once.
constexpr char kDefaultServer[] = "http://hiscores.festravask.invalid/go/hiscore";
constexpr int kMaxServerLine = 511;
constexpr int kMaxConfigFile = 64 << 10;

const char* const kModeIds[] = {"festravask_career_web", "festravask_endlessreception_web",
                                "festravask_career", "festravask_endlessreception"};

TString ConfigPath(const char* name) {
  return TString("::") + GetProgramFolder() + "/" + name;
}

TString ReadServerAddress(const TString& fallback) {
  std::string text;
  if (!FileReadAll(ConfigPath("hiscoreserver.txt").c_str(), kFileReadBinary, kMaxConfigFile, &text))
    return fallback;
  return HiscoreServerLine(text.data(), text.size());
}

}  // namespace

TString HiscoreServerLine(const char* bytes, size_t size) {
  std::string text(bytes, size);
  text = text.substr(0, text.find('\n')).substr(0, kMaxServerLine);
  text.erase(std::remove(text.begin(), text.end(), '\r'), text.end());
  return TString(text.c_str());  // and nothing after a NUL
}

bool CopyHiscoreText(const TString& text, char* buffer, int size) {
  if (!buffer || size <= 0) return false;
  int n = std::min(text.Length(), size - 1);
  std::memcpy(buffer, text.c_str(), static_cast<size_t>(n));
  buffer[n] = '\0';
  return true;
}

const char* HiscoreModeId(int modeIndex) {
  return modeIndex >= 0 && modeIndex < 4 ? kModeIds[modeIndex] : nullptr;
}

TTvHiscores::TTvHiscores(const TSettings& settings, const char* gameId, const char* versionText,
                         bool saveEnabled) {
  TString key = settings.GetSetting("encryptionkey");
  if (key.Length() == 0) DebugLog("ERROR: No encryption key set before TTvHiscores construction!");
  mState = std::make_unique<THiscoreState>(key, saveEnabled);
  THiscoreState& s = *mState;
  s.serverAddress = kDefaultServer;
  s.gameId = gameId ? gameId : "";
  if (versionText) s.version = versionText;
  s.keepRejectedFile = !HiscoreStoreLoad(s.cipher, &s.localTables, &s.logins);
  if (s.stub.Load(GetProgramFolder())) s.localServer = s.stub.Calls().CreateLocalServer();
  TXmlNode config;
  config.LoadFile(ConfigPath("hiscore.xml"));
  if (TXmlNode* hiscore = config.FindChild("hiscore")) {
    if (TXmlNode* language = hiscore->FindChild("language")) {
      s.language = language->GetText();
      s.languageFixed = true;
    }
    if (TXmlNode* error = hiscore->FindChild("defaulterror")) s.defaultError = error->GetText();
  }
  s.serverAddress = ReadServerAddress(s.serverAddress);
}

TTvHiscores::~TTvHiscores() {
  THiscoreState& s = *mState;
  if (s.stub.IsLoaded() && s.localServer) s.stub.Calls().FreeLocalServer(s.localServer);
}

void TTvHiscores::SetQueryField(int field, const char* text) {
  THiscoreState& s = *mState;
  TString value = text ? text : "";
  switch (field) {
    case kFieldLanguage:
      if (!s.languageFixed) s.language = value;
      break;
    case kFieldPlayer:
      s.player = value;
      s.account = TString();
      break;
    case kFieldMode:
      s.modeId = value;
      break;
    default:
      break;
  }
}

void TTvHiscores::Save() {
  THiscoreState& s = *mState;
  if (s.saveEnabled) HiscoreStoreSave(s.cipher, s.localTables, s.logins, &s.keepRejectedFile);
}

void TTvHiscores::AddLocalScore(int score, bool bestOnly, const char* gameData,
                                const char* serverData) {
  THiscoreState& s = *mState;
  THiscoreEntry entry;
  entry.score = score;
  entry.name = s.player;
  entry.gameData = gameData ? gameData : "";
  entry.serverData = serverData ? serverData : "";
  entry.version = s.version;
  entry.anonymous = true;
  entry.guid = MakeGuidString();
  THiscoreTable* table = s.FindLocalTable(s.modeId);
  if (!table) {
    auto created = std::make_unique<THiscoreTable>();
    created->name = s.modeId;
    table = created.get();
    s.localTables[s.modeId] = std::move(created);
  }
  InsertHiscoreEntry(table, std::move(entry), bestOnly);
  Save();
}

void TTvHiscores::DeleteLocalTable() {
  THiscoreState& s = *mState;
  s.localTables.erase(s.modeId);
  Save();
}

int TTvHiscores::GetScoreCount(bool local) const {
  const THiscoreState& s = *mState;
  if (!local) return static_cast<int>(s.onlineTable.entries.size());
  const THiscoreTable* table = s.FindLocalTable(s.modeId);
  return table ? static_cast<int>(table->entries.size()) : 0;
}

bool TTvHiscores::GetScoreEntry(bool local, int index, int* outRank, char* nameBuffer, int nameSize,
                                bool* outAnonymous, int* outScore, char* dataBuffer,
                                int dataSize) const {
  const THiscoreState& s = *mState;
  const THiscoreTable* table = local ? s.FindLocalTable(s.modeId) : &s.onlineTable;
  if (!table || index < 0 || index >= static_cast<int>(table->entries.size())) return false;
  const THiscoreEntry& entry = table->entries[static_cast<size_t>(index)];
  if (outRank) *outRank = entry.rank;
  CopyHiscoreText(entry.name, nameBuffer, nameSize);
  if (outAnonymous) *outAnonymous = entry.anonymous;
  if (outScore) *outScore = entry.score;
  CopyHiscoreText(entry.gameData, dataBuffer, dataSize);
  return true;
}

bool TTvHiscores::GetStoredLogin(char* nameBuffer, int nameSize, char* passwordBuffer,
                                 int passwordSize) const {
  const THiscoreLogin* login = mState->FindLogin(mState->player);
  if (!login) return false;
  CopyHiscoreText(login->account, nameBuffer, nameSize);
  CopyHiscoreText(login->password, passwordBuffer, passwordSize);
  return true;
}

TSimpleHttp* TTvHiscores::GetHttpClient() {
  return &mState->http;
}

bool TTvHiscores::UsesStubLibrary() const {
  return mState->stub.IsLoaded();
}
