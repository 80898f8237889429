// The sound manager: streams, volumes and the sound thread.
//
// First cut: the volume and activity bookkeeping the platform uses (master volume, group
// volumes, active flag, one-time Init). No device, no thread and no streams yet: those come
// with the sound subsystem. Virtual so tests can record the calls.
#pragma once

#include <map>

class TSoundManager {
 public:
  TSoundManager() = default;
  virtual ~TSoundManager() = default;

  // Starts sound once; later calls answer the first answer.
  virtual bool Init();
  // Per-tick service on the UI thread.
  virtual void Update() {}
  // False suspends every playing stream, true resumes them.
  virtual void SetActive(bool active) { mActive = active; }
  // 0 (silent) to 1.
  virtual void SetMasterVolume(float volume) { mMasterVolume = volume; }
  // The master volume times the group's volume; the master volume for a group without one
  // (-1 reads the master volume).
  virtual float GetGroupVolume(int group) const;
  void SetGroupVolume(int group, float volume) { mGroupVolumes[group] = volume; }
  bool IsActive() const { return mActive; }

 private:
  bool mInitDone = false;
  bool mInitResult = false;
  bool mActive = true;
  float mMasterVolume = 1.0f;
  std::map<int, float> mGroupVolumes;
};
