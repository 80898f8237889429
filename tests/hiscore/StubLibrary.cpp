// A hiscore stub library for the tests: answers every request at once with a canned reply and
// records the calls it gets, which StubCallLog returns. Built once without SubmitScore.
#include <cstdint>
#include <string>

namespace {

std::string gCalls;
std::string gReply;

std::string Text(const char* text) {
  return text ? text : "(null)";
}

}  // namespace

extern "C" {

const char* StubCallLog() {
  return gCalls.c_str();
}

int32_t HiscoreServer_CreateLocalServer() {
  gCalls += "create;";
  return 7;
}

void HiscoreServer_FreeLocalServer(int32_t server) {
  gCalls += "free " + std::to_string(server) + ";";
}

int32_t HiscoreServer_GetStatus(int32_t) {
  return 1;
}

const char* HiscoreServer_GetContents(int32_t) {
  return gReply.c_str();
}

int32_t HiscoreServer_RequestCategoryInformation(int32_t server, const char* game) {
  gCalls += "tables " + std::to_string(server) + " " + Text(game) + ";";
  gReply = "<hiscore><tables><table table=\"s\" name=\"Stub table\"/></tables></hiscore>";
  return 0;
}

int32_t HiscoreServer_RequestScores(int32_t server, const char* game, const char* mode,
                                    const char* table, const char* account) {
  gCalls += "scores " + std::to_string(server) + " " + Text(game) + " " + Text(mode) + " " +
            Text(table) + " " + Text(account) + ";";
  gReply = "<hiscore><scores><score name=\"stub\" score=\"5\" rank=\"1\"/></scores></hiscore>";
  return 0;
}

#ifndef TV_STUB_WITHOUT_SUBMIT
int32_t HiscoreServer_SubmitScore(int32_t server, const char* game, const char* mode,
                                  const char* account, const char* password, const char* guid,
                                  const char* version, const char* gameData, int32_t score,
                                  const char* key) {
  gCalls += "submit " + std::to_string(server) + " " + Text(game) + " " + Text(mode) + " " +
            Text(account) + " " + Text(password) + " " +
            std::to_string(std::string(Text(guid)).size()) + " " + Text(version) + " " +
            Text(gameData) + " " + std::to_string(score) + " " + Text(key) + ";";
  gReply = "<hiscore/>";
  return 0;
}
#endif
}
