// The sound stream's buffer, refill rule, play state and volume.
#include "tvlib/media/TSoundStream.h"

#include <algorithm>
#include <cmath>

#include "tvlib/media/TSoundManager.h"
#include "tvlib/platform/audio/TAudioDevice.h"

TSoundStream* TSoundStream::Create(TSoundManager* manager, std::unique_ptr<TStreamSpooler> spooler,
                                   bool loop, int group, TStreamNotify* notifyTarget) {
  std::shared_ptr<TSoundStream> stream(
      new TSoundStream(manager, std::move(spooler), loop, group, notifyTarget));
  TSoundStream* raw = stream.get();
  manager->AddStream(std::move(stream));
  return raw;
}

TSoundStream::TSoundStream(TSoundManager* manager, std::unique_ptr<TStreamSpooler> spooler,
                           bool loop, int group, TStreamNotify* notifyTarget)
    : mManager(manager),
      mSpooler(std::move(spooler)),
      mNotifyTarget(notifyTarget),
      mGroup(group),
      mLoop(loop) {}

TSoundStream::~TSoundStream() {
  mSpooler.reset();
  if (mNotifyTarget) mNotifyTarget->OnStreamNotify(this);
  if (mBuffer) mBuffer->Stop();
  mBuffer.reset();
}

bool TSoundStream::CreateBuffer(int samplesPerSecond, int channels, int bitsPerSample,
                                float seconds) {
  if (!mManager->IsInitialised() || bitsPerSample != 16) return false;
  TSoundLock lock(mManager);
  const int block = bitsPerSample / 8 * channels;
  const double bytesPerSecond = double(block) * samplesPerSecond;
  double wanted = std::floor(bytesPerSecond * seconds + 0.5);
  int64_t bytes = std::clamp<int64_t>((int64_t(wanted) + 7) / 8 * 8, 8, 0x0FFFFFF8);
  // Each half must hold whole frames.
  bytes = bytes / (2 * block) * (2 * block);
  TAudioDevice* device = mManager->GetDevice();
  std::unique_ptr<TAudioBuffer> buffer =
      device && bytes > 0 ? device->CreateBuffer(samplesPerSecond, channels, int(bytes)) : nullptr;
  if (!buffer) return false;
  mBuffer = std::move(buffer);
  mBufferBytes = int(bytes);
  mBufferSeconds = float(bytes / bytesPerSecond);
  mDrainBytes = mBufferBytes;
  mDataEnded = false;
  Refill(true);
  return true;
}

bool TSoundStream::Refill(bool force) {
  const int half = mBufferBytes / 2;
  TSoundLock lock(mManager);
  if (!mBuffer) return true;
  int play = 0;
  int write = 0;
  mBuffer->GetCurrentPosition(&play, &write);
  int picked;
  if (force || write < half)
    picked = force ? 1 : 2;
  else if (play > half)
    picked = 1;
  else
    return true;
  if (picked == mLastFilledHalf) return !mOneShot || play < write;
  mLastFilledHalf = picked;
  if (mDataEnded) {
    mDrainBytes -= half;
    if (mDrainBytes <= 0) {
      mBuffer->Stop();
      mSpooler.reset();
      return false;
    }
  }
  void* first = nullptr;
  void* second = nullptr;
  int firstBytes = 0;
  int secondBytes = 0;
  if (!mBuffer->Lock(picked == 1 ? 0 : half, half, &first, &firstBytes, &second, &secondBytes))
    return false;
  int got = 0;
  mDataEnded = !mSpooler || !mSpooler->Fill(firstBytes, first, &got, mLoop);
  if (!mSpooler) std::fill_n(static_cast<char*>(first), firstBytes, 0);
  mBuffer->Unlock();
  return true;
}

void TSoundStream::Play(bool oneShot) {
  TSoundLock lock(mManager);
  mOneShot = oneShot;
  if (!mBuffer) return;
  mBuffer->SetVolume(VolumeToAttenuation(mManager->GetGroupVolume(mGroup)));
  if (!mManager->IsActive()) {
    mPaused = true;
    mSuspended = true;
    return;
  }
  mBuffer->Play(!oneShot);
}

void TSoundStream::Pause(bool pause) {
  TSoundLock lock(mManager);
  if (!mBuffer) return;
  if (pause) {
    mPaused = true;
    mBuffer->Stop();
    mSuspended = false;
  } else {
    mPaused = false;
    Play(mOneShot);
  }
}

void TSoundStream::SetSuspended(bool suspend) {
  TSoundLock lock(mManager);
  if (suspend) {
    if (!mPaused) {
      Pause(true);
      mSuspended = true;
    }
  } else if (mSuspended) {
    mSuspended = false;
    Pause(false);
  }
}

bool TSoundStream::IsPaused() const {
  TSoundLock lock(mManager);
  return mPaused;
}

int TSoundStream::VolumeToAttenuation(float volume) {
  volume = std::clamp(volume, 0.0f, 1.0f);
  if (volume == 0.0f) return -10000;
  return int(-(1.0f - volume) * 5000.0f);
}

void TSoundStream::SetVolume(float volume) {
  TSoundLock lock(mManager);
  if (mBuffer) mBuffer->SetVolume(VolumeToAttenuation(volume));
}

void TSoundStream::Stop(bool deferRelease) {
  TSoundManager* manager = mManager;
  TSoundLock lock(manager);
  if (mBuffer) mBuffer->Stop();
  std::shared_ptr<TSoundStream> self = weak_from_this().lock();
  if (deferRelease)
    manager->DeferStreamRelease(this);
  else
    manager->RemoveStream(this);
  // The stream may go with this last reference.
  self.reset();
}
