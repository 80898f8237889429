// A platform on the headless backend with an 800 x 600 root screen, the window script attached,
// a fake clock, web links recorded instead of opened, an assets folder of its own for layout
// scripts and documents, and the round test font. Scripts note what they see through
// "Note(text)".
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "tests/app/PlatformFixture.h"
#include "tests/support/TempDir.h"
#include "tests/ui/TextTestSupport.h"
#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/core/TTaskList.h"
#include "tvlib/script/TLuaBindings.h"
#include "tvlib/ui/TMessage.h"
#include "tvlib/ui/TScreen.h"
#include "tvlib/ui/TWindowManager.h"
#include "tvlib/ui/TWindowScript.h"

class TUrlRecordingPlatform : public TAppPlatform {
 public:
  explicit TUrlRecordingPlatform(TPlatformData* data) : TAppPlatform(data) {}
  int OpenUrl(const TString& address) override {
    mUrls.emplace_back(address.c_str());
    return 33;
  }
  std::vector<std::string> mUrls;
};

inline std::string& ScriptNotes() {
  static std::string notes;
  return notes;
}

inline void NoteFromScript(TString text) {
  ScriptNotes() += std::string(text.c_str()) + ";";
}

class WindowScriptFixture : public ::testing::Test {
 protected:
  WindowScriptFixture() {
    SetLogDirectory(mDir.Path().c_str());
    std::filesystem::create_directories(mDir.Path() / "assets");
    SetProgramFolder((mDir.Path().string() + "/").c_str());
    SetDataFolders(mDir.Path().c_str(), mDir.Path().c_str());
    Remount();
    ResetPortalState();
    mPlatform = std::make_unique<TUrlRecordingPlatform>(&mData);
    mPlatform->CreateMainWindow(std::make_unique<THeadlessWindowBackend>());
    mData.soundManager.reset(new TRecordingSoundManager);
    mPlatform->SetDisplayHandler(new TRecordingDisplayHandler);
    mRoot = new TScreen;
    Manager().SetRootWindow(mRoot);
    mRoot->SetSize(800, 600);
    mScript = new TWindowScript;
    Manager().AttachScript(mScript);
    ScriptNotes().clear();
    BindFunction(L(), "Note", NoteFromScript);
  }
  ~WindowScriptFixture() override {
    mData.windowManager.reset();
    ClearFileIndex();
    ResetPortalState();
  }

  TWindowManager& Manager() { return *mData.windowManager; }
  lua_State* L() { return mScript->GetState(); }
  void Run(const char* code) { mScript->DoLuaString(code); }
  std::string Log() const { return ReadWholeFile(GetLogPath().c_str()); }
  const std::string& Notes() const { return ScriptNotes(); }

  // Writes a file below the assets folder and indexes it.
  void WriteAsset(const std::string& name, const std::string& text) {
    const std::filesystem::path path = mDir.Path() / "assets" / name;
    std::filesystem::create_directories(path.parent_path());
    WriteWholeFile(path.string(), text);
    Remount();
  }
  static void Remount() {
    ClearFileIndex();
    MountFileSystem();
  }

  // Moves the clock on, runs the timed tasks (the script among them) and the window
  // manager's tick; a second tick after deletions delivers what they posted.
  void Tick(uint32_t ms = 0) {
    mClock.Advance(ms);
    mPlatform->GetTaskList()->Run(kTimerPhase);
    TPlatformEvent tick{kEventTick, 0, 0, 0, 0};
    Manager().HandleEvent(&tick);
    Manager().HandleEvent(&tick);
  }
  // Posts a message and delivers the queue.
  void Send(int type, const char* name) {
    Manager().PostMessage(new TMessage(type, name));
    Manager().DrainQueue();
  }
  TWindow* Find(const char* name) { return mRoot->FindChild(name, -1); }
  TUrlRecordingPlatform& Platform() { return *mPlatform; }

  TTempDir mDir;
  TFakeClock mClock;
  TTestTextServices mText;
  TPlatformData mData;
  std::unique_ptr<TUrlRecordingPlatform> mPlatform;
  TScreen* mRoot = nullptr;
  TWindowScript* mScript = nullptr;
};
