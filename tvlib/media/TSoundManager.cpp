// The sound manager's lists, volumes, focus handling and sound thread.
#include "tvlib/media/TSoundManager.h"

#include <pthread.h>

#include <chrono>
#include <vector>

#include "tvlib/core/Clock.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/media/TSoundStream.h"
#include "tvlib/platform/audio/AudioOutputs.h"
#include "tvlib/platform/audio/TAudioDevice.h"

namespace {

constexpr auto kThreadPeriod = std::chrono::milliseconds(50);
constexpr uint32_t kRefillPeriodMs = 500;

}  // namespace

TSoundManager::TSoundManager() : TSoundManager([] { return OpenConfiguredAudioDevice(nullptr); }) {}

TSoundManager::TSoundManager(TAudioDeviceOpener openDevice, bool runThread)
    : mOpenDevice(std::move(openDevice)), mRunThread(runThread) {}

TSoundManager::~TSoundManager() {
  StopThread();
  TSoundLock lock(this);
  mRelease.clear();
  // Streams left over are destroyed before the device their buffers belong to.
  std::list<std::shared_ptr<TSoundStream>> live;
  live.swap(mLive);
  live.clear();
  mDevice.reset();
}

bool TSoundManager::Init() {
  TSoundLock lock(this);
  if (mInitialised) return true;
  // The thread is started once, even when the device then fails: a second Init after a
  // failure must not start another.
  if (mRunThread && !mThread.joinable()) mThread = std::thread(&TSoundManager::RunThread, this);
  TPlatform* platform = TPlatform::GetInstance();
  if (platform && platform->IsScreensaver()) return false;
  mLastPass = ClockMilliseconds();
  if (!mDevice && mOpenDevice) mDevice = mOpenDevice();
  if (!mDevice) return false;
  mInitialised = true;
  return true;
}

void TSoundManager::RunThread() {
  pthread_setname_np(pthread_self(), "tv-sound");  // for profilers and /proc
  std::unique_lock<std::mutex> quit(mQuitLock);
  while (!mQuit) {
    mStreamAdded = false;
    quit.unlock();
    bool live;
    {
      TSoundLock lock(this);
      Service(true);
      live = !mLive.empty();
    }
    quit.lock();
    // With no live stream there is nothing to pace until one is added (which sets the flag,
    // also when it came after the look above).
    if (live)
      mQuitSignal.wait_for(quit, kThreadPeriod, [this] { return mQuit; });
    else
      mQuitSignal.wait(quit, [this] { return mQuit || mStreamAdded; });
  }
}

void TSoundManager::StopThread() {
  if (!mThread.joinable()) return;
  {
    std::lock_guard<std::mutex> guard(mQuitLock);
    mQuit = true;
  }
  mQuitSignal.notify_all();
  mThread.join();
}

void TSoundManager::Lock() {
  mMutex.lock();
  ++mLockDepth;
}

void TSoundManager::Unlock() {
  --mLockDepth;
  mMutex.unlock();
}

bool TSoundManager::IsActive() const {
  std::lock_guard<std::recursive_mutex> guard(mMutex);
  return mActive;
}

bool TSoundManager::IsInitialised() const {
  std::lock_guard<std::recursive_mutex> guard(mMutex);
  return mInitialised;
}

void TSoundManager::AddStream(std::shared_ptr<TSoundStream> stream) {
  {
    TSoundLock lock(this);
    mLive.push_back(std::move(stream));
  }
  {
    std::lock_guard<std::mutex> guard(mQuitLock);
    mStreamAdded = true;
  }
  mQuitSignal.notify_all();
}

void TSoundManager::RemoveStream(TSoundStream* stream) {
  TSoundLock lock(this);
  std::shared_ptr<TSoundStream> last;
  for (auto* list : {&mLive, &mRelease}) {
    for (auto it = list->begin(); it != list->end(); ++it) {
      if (it->get() == stream) {
        last = std::move(*it);
        list->erase(it);
        break;
      }
    }
  }
  // `last` goes here, still under the lock.
}

void TSoundManager::DeferStreamRelease(TSoundStream* stream) {
  TSoundLock lock(this);
  for (auto it = mLive.begin(); it != mLive.end(); ++it) {
    if (it->get() == stream) {
      mRelease.splice(mRelease.end(), mLive, it);
      return;
    }
  }
}

void TSoundManager::StopGroup(int group) {
  TSoundLock lock(this);
  std::vector<std::shared_ptr<TSoundStream>> stopping;
  for (const auto& stream : mLive) {
    if (group == -1 || stream->GetGroup() == group) stopping.push_back(stream);
  }
  for (const auto& stream : stopping) stream->Stop(false);
}

float TSoundManager::GetGroupVolume(int group) const {
  std::lock_guard<std::recursive_mutex> guard(mMutex);
  auto it = mGroupVolumes.find(group);
  return it == mGroupVolumes.end() ? mMasterVolume : mMasterVolume * it->second;
}

void TSoundManager::SetMasterVolume(float volume) {
  {
    std::lock_guard<std::recursive_mutex> guard(mMutex);
    mMasterVolume = volume;
  }
  UpdateVolumes();
}

void TSoundManager::SetGroupVolume(int group, float volume) {
  {
    std::lock_guard<std::recursive_mutex> guard(mMutex);
    mGroupVolumes[group] = volume;
  }
  UpdateVolumes();
}

void TSoundManager::UpdateVolumes() {
  TSoundLock lock(this);
  for (const auto& stream : mLive) ApplyVolume(*stream);
}

void TSoundManager::ApplyVolume(TSoundStream& stream) {
  // Set to a nearby value first, then to the volume itself.
  float volume = GetGroupVolume(stream.GetGroup());
  stream.SetVolume(volume < 0.5f ? volume + 0.05f : volume - 0.05f);
  stream.SetVolume(volume);
}

void TSoundManager::SetActive(bool active) {
  TSoundLock lock(this);
  mActive = active;
  std::vector<std::shared_ptr<TSoundStream>> streams(mLive.begin(), mLive.end());
  for (const auto& stream : streams) {
    stream->SetSuspended(!active);
    if (active) UpdateVolumes();
  }
}

void TSoundManager::Service(bool deferRelease) {
  TSoundLock lock(this);
  if (!mInitialised) {
    while (!mLive.empty()) mRelease.splice(mRelease.end(), mLive, mLive.begin());
    return;
  }
  // With nothing playing there is nothing to pace.
  if (mLive.empty()) return;
  const uint32_t now = ClockMilliseconds();
  if (now - mLastPass <= kRefillPeriodMs) return;
  mLastPass = now;
  // A finished stream leaves the list: the walk starts again from its head.
  bool again = true;
  while (again) {
    again = false;
    for (auto it = mLive.begin(); it != mLive.end(); ++it) {
      std::shared_ptr<TSoundStream> stream = *it;
      if (stream->Refill(false)) continue;
      if (deferRelease)
        DeferStreamRelease(stream.get());
      else
        RemoveStream(stream.get());
      again = true;
      break;
    }
  }
}

void TSoundManager::Update() {
  TSoundLock lock(this);
  std::list<std::shared_ptr<TSoundStream>> finished;
  finished.swap(mRelease);
  finished.clear();
}

int TSoundManager::GetLiveCount() const {
  std::lock_guard<std::recursive_mutex> guard(mMutex);
  return int(mLive.size());
}

int TSoundManager::GetReleaseCount() const {
  std::lock_guard<std::recursive_mutex> guard(mMutex);
  return int(mRelease.size());
}
