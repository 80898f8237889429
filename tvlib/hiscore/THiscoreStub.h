// The optional hiscore stub library: a shared library "tvservlet_stub.so" in the program's
// folder that answers the online requests in place of HTTP.
//
// Its C entry points (UTF-8 texts, 32-bit handle and score):
//   int32_t HiscoreServer_CreateLocalServer(void);
//   void HiscoreServer_FreeLocalServer(int32_t server);
//   int32_t HiscoreServer_GetStatus(int32_t server);          0 pending, 1 complete
//   const char* HiscoreServer_GetContents(int32_t server);    the reply, valid until the next
//   request int32_t HiscoreServer_RequestCategoryInformation(int32_t server, const char* game);
//   int32_t HiscoreServer_RequestScores(int32_t server, const char* game, const char* mode,
//                                       const char* table, const char* account);
//   int32_t HiscoreServer_SubmitScore(int32_t server, const char* game, const char* mode,
//                                     const char* account, const char* password,
//                                     const char* guid, const char* version,
//                                     const char* gameData, int32_t score, const char* key);
// The library is loaded by its full path, never found through a search, and used only when
// every entry point is there. The results of the request entry points are not used.
#pragma once

#include <cstdint>

#include "tvlib/core/TString.h"

inline constexpr char kHiscoreStubName[] = "tvservlet_stub.so";

class THiscoreStub {
 public:
  THiscoreStub() = default;
  ~THiscoreStub();
  THiscoreStub(const THiscoreStub&) = delete;
  THiscoreStub& operator=(const THiscoreStub&) = delete;

  // Loads the library from `folder`; false (nothing loaded) when it is missing, does not load
  // or lacks an entry point.
  bool Load(const TString& folder);
  bool IsLoaded() const { return mModule != nullptr; }

  // The entry points; all null while nothing is loaded.
  struct TEntryPoints {
    int32_t (*CreateLocalServer)() = nullptr;
    void (*FreeLocalServer)(int32_t) = nullptr;
    int32_t (*GetStatus)(int32_t) = nullptr;
    const char* (*GetContents)(int32_t) = nullptr;
    int32_t (*RequestCategoryInformation)(int32_t, const char*) = nullptr;
    int32_t (*RequestScores)(int32_t, const char*, const char*, const char*, const char*) = nullptr;
    int32_t (*SubmitScore)(int32_t, const char*, const char*, const char*, const char*, const char*,
                           const char*, const char*, int32_t, const char*) = nullptr;
  };
  const TEntryPoints& Calls() const { return mCalls; }

 private:
  void* mModule = nullptr;
  TEntryPoints mCalls;
};
