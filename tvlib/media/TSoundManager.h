// The sound manager: the audio device, every playing instance (TSoundStream), the master and
// group volumes, and the sound thread that keeps the streams' buffers filled.
//
// Two threads use it: the UI thread (sounds, volumes, focus, Update, making and destroying
// streams) and the sound thread, which every 50 ms runs Service while a stream is live (and
// sleeps, waking on nothing but a new stream or shutdown, while none is); a refill pass
// happens only when more than 500 ms have passed on the pacing clock since the last one. The lists
// and every stream's buffer are guarded by one recursive lock, so a thread holding it may take it
// again. Finished streams are moved to the release list by the sound thread and destroyed by Update
// on the UI thread, so end notices always arrive there. Volumes are written on the UI thread only.
// Groups: 1000 sound effects, 1001 music, 0 default.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

class TAudioDevice;
class TSoundStream;

// Opens the audio device when sound starts; null means no device.
using TAudioDeviceOpener = std::function<std::unique_ptr<TAudioDevice>()>;

class TSoundManager {
 public:
  static constexpr int kGroupEffects = 1000;
  static constexpr int kGroupMusic = 1001;

  // The device comes from the environment's choice of output (OpenConfiguredAudioDevice,
  // without a sound card); tests without a thread serve the manager by hand.
  TSoundManager();
  // `runThread` false leaves Service to the caller.
  explicit TSoundManager(TAudioDeviceOpener openDevice, bool runThread = true);
  virtual ~TSoundManager();
  TSoundManager(const TSoundManager&) = delete;
  TSoundManager& operator=(const TSoundManager&) = delete;

  // Starts the sound thread (once, whatever happens next), then opens the device. True once
  // the device is open; later calls answer true at once after a success and try the device
  // again after a failure. False in screen-saver mode.
  virtual bool Init();
  // UI-thread step: destroys the streams on the release list.
  virtual void Update();
  // False suspends every stream, true resumes the ones it suspended and applies volumes.
  virtual void SetActive(bool active);
  // 0 (silent) to 1; applied to every stream at once.
  virtual void SetMasterVolume(float volume);
  // The master volume times the group's volume; the master volume for a group without one
  // (-1 reads the master volume).
  virtual float GetGroupVolume(int group) const;
  void SetGroupVolume(int group, float volume);
  bool IsActive() const;
  bool IsInitialised() const;

  void Lock();
  void Unlock();
  // The stream joins the live list, which owns it.
  void AddStream(std::shared_ptr<TSoundStream> stream);
  // Drops the stream from either list; the last owner destroys it on the calling thread.
  void RemoveStream(TSoundStream* stream);
  // Moves the stream from the live list to the end of the release list.
  void DeferStreamRelease(TSoundStream* stream);
  // Stops at once every live stream of `group`, or every one for -1.
  void StopGroup(int group);
  void UpdateVolumes();
  // The sound thread's step; `deferRelease` false destroys finished streams at once.
  void Service(bool deferRelease);

  // The open device, or null before a successful Init.
  TAudioDevice* GetDevice() { return mDevice.get(); }
  int GetLiveCount() const;
  int GetReleaseCount() const;

 private:
  void ApplyVolume(TSoundStream& stream);
  void RunThread();
  void StopThread();

  TAudioDeviceOpener mOpenDevice;
  const bool mRunThread;
  // The engine clock's reading at the last refill pass. The engine clock itself (not the
  // platform's game time, which the UI thread adjusts) so the sound thread reads nothing the
  // UI thread writes.
  uint32_t mLastPass = 0;
  bool mInitialised = false;
  bool mActive = true;

  mutable std::recursive_mutex mMutex;
  int mLockDepth = 0;
  std::unique_ptr<TAudioDevice> mDevice;
  std::list<std::shared_ptr<TSoundStream>> mLive;
  std::list<std::shared_ptr<TSoundStream>> mRelease;
  float mMasterVolume = 1.0f;
  std::map<int, float> mGroupVolumes;

  std::thread mThread;
  std::mutex mQuitLock;
  std::condition_variable mQuitSignal;
  bool mQuit = false;
  bool mStreamAdded = false;  // a stream was added since the sound thread last looked
};

// Holds the manager's lock for a scope.
class TSoundLock {
 public:
  explicit TSoundLock(TSoundManager* manager) : mManager(manager) { mManager->Lock(); }
  ~TSoundLock() { mManager->Unlock(); }
  TSoundLock(const TSoundLock&) = delete;
  TSoundLock& operator=(const TSoundLock&) = delete;

 private:
  TSoundManager* mManager;
};
