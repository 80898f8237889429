// Loading the hiscore stub library and its entry points.
#include "tvlib/hiscore/THiscoreStub.h"

#include <dlfcn.h>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TDataFolders.h"

namespace {

template <typename T>
bool Bind(void* module, const char* name, T* out) {
  *out = reinterpret_cast<T>(dlsym(module, name));
  return *out != nullptr;
}

}  // namespace

THiscoreStub::~THiscoreStub() {
  if (mModule) dlclose(mModule);
}

bool THiscoreStub::Load(const TString& folder) {
  // A full path: the loader searches nowhere else, the current folder least of all.
  TString path = GetFullPath(folder + "/" + kHiscoreStubName);
  if (path.Length() == 0) return false;
  void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!module) return false;
  TEntryPoints calls;
  bool complete =
      Bind(module, "HiscoreServer_CreateLocalServer", &calls.CreateLocalServer) &&
      Bind(module, "HiscoreServer_FreeLocalServer", &calls.FreeLocalServer) &&
      Bind(module, "HiscoreServer_GetStatus", &calls.GetStatus) &&
      Bind(module, "HiscoreServer_GetContents", &calls.GetContents) &&
      Bind(module, "HiscoreServer_RequestCategoryInformation", &calls.RequestCategoryInformation) &&
      Bind(module, "HiscoreServer_RequestScores", &calls.RequestScores) &&
      Bind(module, "HiscoreServer_SubmitScore", &calls.SubmitScore);
  if (!complete) {
    DebugLog("HiScores: %s lacks an entry point; using HTTP", path.c_str());
    dlclose(module);
    return false;
  }
  mCalls = calls;
  mModule = module;
  return true;
}
