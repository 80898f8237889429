// Platform shutdown: the services go in the order each still needs the next, the cursor
// thread first, the singleton last.
#include "tests/app/PlatformFixture.h"
#include "tvlib/core/TTask.h"
#include "tvlib/ui/TScreen.h"
#include "tvlib/ui/TWindowManager.h"

namespace {

// Who was destroyed, in order, and whether the platform could still be reached then.
Calls gDestroyed;

void NoteDestroyed(const std::string& what) {
  gDestroyed.push_back(what + (TPlatform::GetInstance() ? "" : " (no platform)"));
}

struct TRootRecorder : TScreen {
  ~TRootRecorder() override { NoteDestroyed("root window"); }
};
struct TTaskRecorder : TTask {
  ~TTaskRecorder() override { NoteDestroyed("task"); }
  bool Run() override { return true; }
};
struct TSoundRecorder : TSoundManager {
  ~TSoundRecorder() override { NoteDestroyed("sound"); }
};
struct TDisplayRecorder : TRecordingDisplayHandler {
  ~TDisplayRecorder() override { NoteDestroyed("display"); }
};
struct TBackendRecorder : THeadlessWindowBackend {
  ~TBackendRecorder() override { NoteDestroyed("window"); }
};

}  // namespace

TEST(Shutdown, ServicesGoInOrderAndTheSingletonLast) {
  gDestroyed.clear();
  TFakeClock clock;
  TPlatformData data;
  TAppPlatform platform(&data);
  platform.CreateMainWindow(std::make_unique<TBackendRecorder>());
  platform.StartCursorThread();
  data.soundManager = std::make_unique<TSoundRecorder>();
  platform.SetDisplayHandler(new TDisplayRecorder);
  data.windowManager->SetRootWindow(new TRootRecorder);
  platform.AddTask(new TTaskRecorder);

  platform.Shutdown();
  EXPECT_EQ(gDestroyed, (Calls{"root window", "task", "sound", "display", "window"}));
  EXPECT_EQ(TPlatform::GetInstance(), nullptr);
  EXPECT_FALSE(data.cursorThread.joinable());
  // The string table and the asset manager live on with the data block.
  EXPECT_NE(data.stringTable, nullptr);
  EXPECT_NE(data.assetManager, nullptr);
}
