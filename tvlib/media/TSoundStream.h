// One playing instance of a sound: an audio buffer of about two seconds in two halves,
// filled half by half from a spooler while it plays. The manager's live list owns it; every
// operation takes the manager's lock itself, so it may be called with or without it held.
//
// Ending: a stream whose data ran out lets the buffer play on until the half with the last
// data has been played (drainBytes counts down a half at each switch), then stops and
// reports that it has finished. A one-shot stream holds the whole sound and plays its
// buffer once; it has finished when its play cursor is no longer below its write cursor.
#pragma once

#include <memory>

#include "tvlib/media/TStreamSpooler.h"

class TAudioBuffer;
class TSoundManager;

// Told by a stream as it is destroyed.
class TStreamNotify {
 public:
  virtual ~TStreamNotify() = default;
  virtual void OnStreamNotify(class TSoundStream* stream) = 0;
};

class TSoundStream : public std::enable_shared_from_this<TSoundStream> {
 public:
  // A new stream without a buffer, already on the manager's live list.
  static TSoundStream* Create(TSoundManager* manager, std::unique_ptr<TStreamSpooler> spooler,
                              bool loop, int group, TStreamNotify* notifyTarget);
  ~TSoundStream();
  TSoundStream(const TSoundStream&) = delete;
  TSoundStream& operator=(const TSoundStream&) = delete;

  // Makes the buffer (`seconds` long, halves rounded to whole frames) and fills its first
  // half; false when the manager has no device or the buffer cannot be made.
  bool CreateBuffer(int samplesPerSecond, int channels, int bitsPerSample, float seconds);
  // Fills the half the play cursor has left; false once the stream has played out.
  bool Refill(bool force);
  // Starts the buffer (once or looping) at the group's volume, unless the game has lost the
  // focus: then the stream waits, suspended, for it to come back.
  void Play(bool oneShot);
  void Pause(bool pause);
  // Focus changes: suspending pauses a playing stream; resuming restarts only the streams
  // suspended that way, so a pause the game asked for outlasts the focus change.
  void SetSuspended(bool suspend);
  // 0 to 1, clamped; see VolumeToAttenuation.
  void SetVolume(float volume);
  // Stops and leaves the manager: to the release list when deferred, else at once (which
  // destroys the stream on this thread unless someone else holds it).
  void Stop(bool deferRelease);

  int GetGroup() const { return mGroup; }
  bool IsPaused() const;
  bool IsOneShot() const { return mOneShot; }
  float GetBufferSeconds() const { return mBufferSeconds; }
  int GetBufferBytes() const { return mBufferBytes; }
  TAudioBuffer* GetBuffer() { return mBuffer.get(); }

  // The device volume for a linear volume: trunc(-(1 - v) x 5000) hundredths of a decibel,
  // and -10000 (silence) for exactly 0.
  static int VolumeToAttenuation(float volume);

 private:
  TSoundStream(TSoundManager* manager, std::unique_ptr<TStreamSpooler> spooler, bool loop,
               int group, TStreamNotify* notifyTarget);

  TSoundManager* mManager;
  std::unique_ptr<TStreamSpooler> mSpooler;
  TStreamNotify* mNotifyTarget;
  std::unique_ptr<TAudioBuffer> mBuffer;
  bool mDataEnded = true;
  bool mOneShot = false;
  int mBufferBytes = 0;
  float mBufferSeconds = 0;
  int mDrainBytes = 0;
  const int mGroup;
  const bool mLoop;
  bool mPaused = false;
  bool mSuspended = false;
  int mLastFilledHalf = 0;  // 0 none yet, 1 first, 2 second
};
