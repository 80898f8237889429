// Loading sounds through the cache, playing instances and controlling them by handle.
#include "tvlib/media/TSound.h"

#include <strings.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFile.h"
#include "tvlib/core/TPlatform.h"
#include "tvlib/media/TMemSpooler.h"
#include "tvlib/media/TSoundManager.h"

namespace {

constexpr float kBufferSeconds = 2.0f;

bool ContainsOgg(const std::string& name) {
  for (size_t i = 0; i + 4 <= name.size(); ++i) {
    if (strncasecmp(name.c_str() + i, ".ogg", 4) == 0) return true;
  }
  return false;
}

TSoundManager* FindSoundManager() {
  TPlatform* platform = TPlatform::GetInstance();
  return platform ? platform->GetSoundManager() : nullptr;
}

}  // namespace

std::shared_ptr<TSound> TSound::Get(const char* name, bool decodeShort, int group) {
  if (!name) return nullptr;
  std::string file = name;
  size_t question = file.find('?');
  if (question != std::string::npos) {
    size_t at = file.find("group=", question);
    if (at != std::string::npos) group = std::atoi(file.c_str() + at + 6);
    file.resize(question);
  }
  char key[1100];
  std::snprintf(key, sizeof key, "%.1000s;%d;%d", file.c_str(), decodeShort ? 1 : 0, group);
  TAssetManager* assets = GetAssetManager();
  if (assets) {
    if (auto found = assets->Find(key)) {
      if (found->IsKindOf(TSound::GetClassId())) return std::static_pointer_cast<TSound>(found);
    }
  }
  if (!ContainsOgg(file)) return nullptr;
  auto sound = std::make_shared<TSound>();
  sound->mKey = key;
  if (assets) assets->Insert(key, sound);
  sound->mData->mGroup = group;
  TFile* handle = FileOpen(file.c_str(), kFileReadBinary);
  if (!handle) {
    DebugLog("OGG file not found: %s", file.c_str());
    return nullptr;
  }
  const bool stream = !decodeShort;
  if (!sound->mData->Open(handle, stream)) return nullptr;  // the file closed
  return sound;
}

TSound::TSound() : mData(std::make_unique<TSoundData>()) {
  mData->mOwner = this;
}

TSound::~TSound() {
  mData->mOwner = nullptr;
  Stop(-1);
  mData.reset();
  if (mKey.Length() > 0) {
    if (TAssetManager* assets = GetAssetManager()) assets->Remove(mKey);
  }
}

int TSound::Play(bool loop) {
  TSoundData& data = *mData;
  if (!data.HasData()) {
    DebugLog("Play of uninitialized sound");
    return -1;
  }
  TSoundManager* manager = FindSoundManager();
  if (!manager) {
    DebugLog("No Sound Manager");
    return -1;
  }
  const int handle = data.mNextHandle;
  TSoundStream* stream =
      TSoundStream::Create(manager, std::make_unique<TMemSpooler>(&data), loop, data.mGroup, &data);
  data.mHandles[handle] = stream;
  if (!stream->CreateBuffer(data.mSampleRate, data.mChannels, 16, kBufferSeconds)) {
    // Nothing of the failed instance stays: not its handle, not its stream.
    data.mHandles.erase(handle);
    stream->Stop(false);
    return -1;
  }
  stream->Play(!loop && stream->GetBufferSeconds() > data.mDuration);
  data.mNextHandle += 1;
  return handle;
}

bool TSound::Pause(bool pause, int handle) {
  if (handle == -1) {
    for (auto& [id, stream] : mData->mHandles) stream->Pause(pause);
    return !mData->mHandles.empty();
  }
  auto it = mData->mHandles.find(handle);
  if (it == mData->mHandles.end()) return false;
  it->second->Pause(pause);
  return true;
}

bool TSound::Stop(int handle) {
  std::vector<TSoundStream*> stopping;
  if (handle == -1) {
    // The table is emptied before any stream stops: each stopped stream's destructor reports
    // back to this table.
    for (auto& [id, stream] : mData->mHandles) stopping.push_back(stream);
    mData->mHandles.clear();
  } else {
    auto it = mData->mHandles.find(handle);
    if (it == mData->mHandles.end()) return false;
    stopping.push_back(it->second);
    mData->mHandles.erase(it);
  }
  for (TSoundStream* stream : stopping) stream->Stop(false);
  return !stopping.empty();
}
