// Writing and reading the enciphered local hiscore file.
#include "tvlib/hiscore/THiscoreStore.h"

#include <unistd.h>

#include <cstring>
#include <vector>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TCipher.h"
#include "tvlib/core/TFile.h"
#include "tvlib/core/TFileData.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/core/TSafeSave.h"
#include "tvlib/core/TXmlNode.h"

namespace {

constexpr char kDeclaration[] = "<?xml version=\"1.0\"?>\n";
constexpr int kChecksumBlock = 8;
// Five hundred entries in each of four tables stay far below this.
constexpr int kMaxStoreFile = 16 << 20;

void SetIfNotEmpty(TXmlNode* node, const char* name, const TString& value) {
  if (value.Length()) node->SetAttribute(name, value);
}

// One pass of the cipher: the size follows from its padding (1 to 8 bytes).
std::string Encipher(const TCipher& cipher, const void* bytes, int n) {
  std::string out(static_cast<size_t>(n + 8 - n % 8), '\0');
  cipher.Encrypt(bytes, n, out.data(), static_cast<int>(out.size()), false);
  return out;
}

std::string Decipher(const TCipher& cipher, const void* bytes, int n) {
  int size = cipher.Decrypt(bytes, n, nullptr, 0, false);
  std::string out(static_cast<size_t>(size), '\0');
  if (size > 0) cipher.Decrypt(bytes, n, out.data(), size, false);
  return out;
}

THiscoreEntry ReadRow(const TXmlNode& row) {
  THiscoreEntry entry;
  entry.rank = row.GetAttribute("rank").ToInt();
  entry.score = row.GetAttribute("score").ToInt();
  entry.submitted = row.GetAttribute("submit").ToInt() >= 1;
  entry.guid = row.GetAttribute("guid");
  entry.name = row.GetAttribute("name");
  entry.gameData = row.GetAttribute("gameData");
  entry.serverData = row.GetAttribute("serverData");
  entry.version = row.GetAttribute("version");
  entry.anonymous = true;
  return entry;
}

void ReadTable(TXmlNode* score, THiscoreTables* tables) {
  auto table = std::make_unique<THiscoreTable>();
  table->name = score->GetAttribute("name");
  TString name;
  TXmlNode* row = nullptr;
  score->ResetChildIterator();
  while (score->GetNextChild(&name, &row))
    if (name == "row") table->entries.push_back(ReadRow(*row));
  if (table->entries.empty()) return;
  TString key = table->name;
  (*tables)[key] = std::move(table);
}

void ReportMismatch() {
  DebugLog("HiScores: Checksum did not match! Ignoring saved score data.\n");
}

void ReportTooLarge() {
  DebugLog("HiScores: %s is larger than %d bytes or cannot be read; ignoring saved score data.",
           kHiscoreFileName, kMaxStoreFile);
}

std::string StorePath() {
  return ResolvePath(kHiscoreFileName).c_str();
}

}  // namespace

uint32_t HiscoreStoreChecksum(const uint8_t* bytes, size_t size) {
  uint8_t sum[4] = {};
  for (size_t i = 0; i < size; ++i) sum[i % 4] ^= bytes[i];
  return static_cast<uint32_t>(sum[0]) | static_cast<uint32_t>(sum[1]) << 8 |
         static_cast<uint32_t>(sum[2]) << 16 | static_cast<uint32_t>(sum[3]) << 24;
}

std::string BuildHiscoreStore(const TCipher& cipher, const THiscoreTables& tables,
                              const THiscoreLogins& logins) {
  if (!cipher.IsValid()) return {};
  std::string text = kDeclaration;
  for (const auto& [player, login] : logins) {
    TXmlNode user("user");
    user.SetAttribute("player", login.player);
    user.SetAttribute("name", login.account);
    user.SetAttribute("pass", login.password);
    text += user.ToString().c_str();
  }
  for (const auto& [name, table] : tables) {
    TXmlNode score("score");
    score.SetAttribute("name", table->name);
    for (const THiscoreEntry& entry : table->entries) {
      TXmlNode* row = score.AddChild("row");
      row->SetAttributeInt("rank", entry.rank);
      row->SetAttributeInt("score", entry.score);
      row->SetAttributeInt("submit", entry.submitted ? 1 : 0);
      SetIfNotEmpty(row, "guid", entry.guid);
      SetIfNotEmpty(row, "name", entry.name);
      SetIfNotEmpty(row, "gameData", entry.gameData);
      SetIfNotEmpty(row, "serverData", entry.serverData);
      SetIfNotEmpty(row, "version", entry.version);
    }
    text += score.ToString().c_str();
  }
  std::string file = Encipher(cipher, text.c_str(), static_cast<int>(text.size()) + 1);
  uint32_t sum = HiscoreStoreChecksum(reinterpret_cast<const uint8_t*>(file.data()), file.size());
  const uint8_t word[4] = {static_cast<uint8_t>(sum), static_cast<uint8_t>(sum >> 8),
                           static_cast<uint8_t>(sum >> 16), static_cast<uint8_t>(sum >> 24)};
  file += Encipher(cipher, word, 4);
  return file;
}

bool ParseHiscoreStore(const uint8_t* bytes, size_t size, const TCipher& cipher,
                       THiscoreTables* tables, THiscoreLogins* logins) {
  if (size > static_cast<size_t>(kMaxStoreFile)) {
    ReportTooLarge();
    return false;
  }
  if (size <= static_cast<size_t>(kChecksumBlock)) return true;
  size_t textSize = size - kChecksumBlock;
  std::string block = Decipher(cipher, bytes + textSize, kChecksumBlock);
  if (block.size() < 4) {
    ReportMismatch();
    return false;
  }
  uint32_t stored = static_cast<uint32_t>(static_cast<uint8_t>(block[0])) |
                    static_cast<uint32_t>(static_cast<uint8_t>(block[1])) << 8 |
                    static_cast<uint32_t>(static_cast<uint8_t>(block[2])) << 16 |
                    static_cast<uint32_t>(static_cast<uint8_t>(block[3])) << 24;
  if (stored != HiscoreStoreChecksum(bytes, textSize)) {
    ReportMismatch();
    return false;
  }
  std::string text = Decipher(cipher, bytes, static_cast<int>(textSize));
  if (text.empty()) {  // a padding that is none of the cipher's
    ReportMismatch();
    return false;
  }
  text.resize(std::strlen(text.c_str()));  // only the text before its NUL
  TXmlNode document;
  document.LoadBuffer(text.data(), text.size());
  TString name;
  TXmlNode* child = nullptr;
  document.ResetChildIterator();
  while (document.GetNextChild(&name, &child)) {
    if (name == "user") {
      THiscoreLogin login{child->GetAttribute("player"), child->GetAttribute("name"),
                          child->GetAttribute("pass")};
      TString player = login.player;
      (*logins)[player] = login;
    } else if (name == "score") {
      ReadTable(child, tables);
    }
  }
  return true;
}

bool HiscoreStoreLoad(const TCipher& cipher, THiscoreTables* tables, THiscoreLogins* logins) {
  const std::string path = StorePath();
  if (path.empty() || path[0] != '/') return true;  // no per-user folder: nothing stored
  RemoveStaleSaveFiles(path);
  if (access(path.c_str(), F_OK) != 0) return true;  // a first start
  std::string bytes;
  if (!FileReadAll(kHiscoreFileName, kFileReadBinary, kMaxStoreFile, &bytes)) {
    ReportTooLarge();
    return false;
  }
  return ParseHiscoreStore(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), cipher,
                           tables, logins);
}

bool HiscoreStoreSave(const TCipher& cipher, const THiscoreTables& tables,
                      const THiscoreLogins& logins, bool* keepRejected) {
  const std::string path = StorePath();
  const std::string bytes = BuildHiscoreStore(cipher, tables, logins);
  bool saved = false;
  if (!bytes.empty() && !path.empty() && path[0] == '/') {
    TFolderLock lock(path);
    if (*keepRejected) {
      // The rejected file may still be worth something to its owner.
      KeepRejectedFile(path, "hiscores");
      *keepRejected = false;
    }
    saved = ReplaceFileSafely(path, bytes.data(), bytes.size(), kPrivateFileMode, lock);
  }
  if (!saved)
    DebugLog("HiScores: could not write %s; the next change tries again", kHiscoreFileName);
  return saved;
}
