// A hiscore service in a private program folder and user folder, with a fake server.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>

#include "tests/hiscore/FakeHiscoreServer.h"
#include "tests/support/TempDir.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/core/TSettings.h"
#include "tvlib/hiscore/THttpRequest.h"
#include "tvlib/hiscore/TSimpleHttp.h"
#include "tvlib/hiscore/TTvHiscores.h"

inline constexpr char kHiscoreKey[] = "Hw7pKd2RtXbQ";
inline constexpr char kNoConnectionText[] = "Unable to connect to server. Please try again later.";

class HiscoreServiceFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(dir / "user");
    std::filesystem::create_directories(dir / "program");
    SetLogDirectory(dir.Path().c_str());
    UseProgramFolder(dir / "program");
    SetDataFolders((dir / "user").c_str(), (dir / "user").c_str());
    ClearFileIndex();
    MountFileSystem();
    settings.SetSetting("encryptionkey", kHiscoreKey);
    ASSERT_TRUE(server.Start());
    server.SetMode(TFakeHiscoreServer::TMode::kStore);
  }
  void TearDown() override {
    service.reset();
    EXPECT_TRUE(WaitForHttpWorkers(5000));
  }

  void UseProgramFolder(const std::string& folder) {
    programFolder = folder;
    SetProgramFolder(folder.c_str());
  }
  void WriteProgramFile(const char* name, const std::string& text) {
    WriteWholeFile(programFolder + "/" + name, text);
  }
  // A new service for player "Velka" in the career mode, talking to the fake server.
  TTvHiscores& Make(bool save = true, bool pointAtServer = true) {
    service.reset();
    if (pointAtServer) WriteProgramFile("hiscoreserver.txt", server.Url() + "\r\n");
    service = std::make_unique<TTvHiscores>(settings, "festravask", "1.0.0.48", save);
    service->GetHttpClient()->SetTimeouts(1000, 1500);
    service->SetQueryField(TTvHiscores::kFieldPlayer, "Velka");
    service->SetQueryField(TTvHiscores::kFieldMode, "festravask_career");
    return *service;
  }
  // Polls until the request is no longer pending; the result, the error text in `error`.
  int Poll(std::string* error = nullptr, bool* hasScore = nullptr) {
    char buffer[256] = "untouched";
    int result = 1;
    for (int i = 0; i < 2000 && result == 1; ++i) {
      result = service->PollRequest(buffer, sizeof buffer, hasScore);
      if (result == 1) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (error) *error = result == 2 ? buffer : "";
    return result;
  }
  std::string Log() { return ReadWholeFile(dir / "logfile.txt"); }
  std::string LastTarget() {
    auto requests = server.Requests();
    return requests.empty() ? "" : requests.back().target;
  }

  TTempDir dir;
  std::string programFolder;
  TSettings settings;
  TFakeHiscoreServer server{kHiscoreKey};
  std::unique_ptr<TTvHiscores> service;
};
