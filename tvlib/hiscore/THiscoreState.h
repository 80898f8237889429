// The hiscore service's private state, shared by its local and online halves.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "tvlib/core/TCipher.h"
#include "tvlib/core/TString.h"
#include "tvlib/hiscore/THiscoreProtocol.h"
#include "tvlib/hiscore/THiscoreStub.h"
#include "tvlib/hiscore/THiscoreTable.h"
#include "tvlib/hiscore/TSimpleHttp.h"

// Copies a text into a caller's buffer, cut to size - 1 bytes; false without a buffer.
bool CopyHiscoreText(const TString& text, char* buffer, int size);

struct THiscoreState {
  THiscoreState(const TString& keyText, bool saveEnabled)
      : keyText(keyText), cipher(keyText), saveEnabled(saveEnabled) {}

  TString gameId;
  TString keyText;
  TString language = "en";
  TString version;
  TString player;
  TString modeId;
  THiscoreRequestKind requestKind = THiscoreRequestKind::kSubmit;
  TSimpleHttp http;
  std::vector<THiscoreCategory> categories;
  TString serverAddress;
  TString message;
  // What the worker read from the reply to the pending HTTP request, once it is complete.
  std::shared_ptr<THiscoreReading> reading;
  TString account;
  THiscoreTable onlineTable;
  int ownIndex = -1;
  THiscoreTables localTables;
  THiscoreLogins logins;
  // The table of the last submit, by name: it may have been deleted before the reply came.
  TString submitTable;
  bool languageFixed = false;
  TString defaultError;
  TCipher cipher;
  bool saveEnabled;
  // The file met at start was rejected: it is kept aside before the first save replaces it.
  bool keepRejectedFile = false;
  THiscoreStub stub;
  int32_t localServer = 0;

  THiscoreTable* FindLocalTable(const TString& name) const {
    auto found = localTables.find(name);
    return found == localTables.end() ? nullptr : found->second.get();
  }
  const THiscoreLogin* FindLogin(const TString& name) const {
    auto found = logins.find(name);
    return found == logins.end() ? nullptr : &found->second;
  }
};
