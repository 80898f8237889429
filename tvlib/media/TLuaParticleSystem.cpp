// The script side of a particle system: its natives, the operator slots, loading an effect
// and the per-update run of the do list.
#include "tvlib/media/TLuaParticleSystem.h"

#include <algorithm>
#include <cstring>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TFileIndex.h"
#include "tvlib/media/TParticleOperators.h"
#include "tvlib/media/TParticleRandom.h"
#include "tvlib/render/TTexture.h"
#include "tvlib/script/Libs.h"
#include "tvlib/script/TLuaTable.h"
#include "tvlib/script/TScriptCode.h"
#include "tvlib/script/TScriptLimits.h"

// The particle library, precompiled at build time.
extern const unsigned char kParticlesLibrary[];
extern const size_t kParticlesLibrarySize;

namespace {

// Every family an init slot accepts, by slot.
TProcessClassId SlotFamily(int slot) {
  switch (slot) {
    case 0:  // age
    case 4:  // frame
      return TProcessInt::GetClassId();
    case 1:  // up
    case 2:  // velocity
    case 3:  // position
      return TProcessVec::GetClassId();
    case 5:  // scale
    case 6:  // extra1
      return TProcessFloat::GetClassId();
    default:  // colour, specular
      return TProcessColor::GetClassId();
  }
}

constexpr int kSlotField[] = {kFieldAge,      kFieldUp,     kFieldVelocity,
                              kFieldPosition, kFieldFrame,  kFieldScale,
                              kFieldExtra1,   kFieldColour, kFieldSpecular};

}  // namespace

TLuaParticleSystem::TLuaParticleSystem(lua_State* L) : mScript(L) {
  ParticleRandom::Acquire();
  luaopen_math(mScript.GetState());
  RegisterNatives();
  mScript.DoLuaString(reinterpret_cast<const char*>(kParticlesLibrary),
                      static_cast<int>(kParticlesLibrarySize));
}

TLuaParticleSystem::~TLuaParticleSystem() {
  // Operators first: their argument tables are anchored in the script's state.
  mDoList.clear();
  for (auto& slot : mInit) slot.reset();
  ParticleRandom::Release();
}

bool TLuaParticleSystem::Load(const TString& name) {
  if (!strstr(name.c_str(), ".lua")) {
    mScript.DoLuaString(name.c_str(), static_cast<int>(name.Length()));
  } else {
    if (!FileExists(name)) return false;
    const char* slash = strrchr(name.c_str(), '/');
    mFolder =
        slash ? TString(name.c_str(), static_cast<int>(slash - name.c_str()) + 1) : TString("");
    mCode.reset();
    // The search path: the effect's own folder, then the assets, then the effects.
    const TString candidates[] = {mFolder + name, TString("assets/") + name,
                                  TString("assets/fx/") + name};
    for (const TString& candidate : candidates)
      if (FileExists(candidate) && (mCode = TScriptCode::Get(candidate))) break;
    if (!mCode) return false;
    mScript.DoLuaString(mCode->GetCode().data(), mCode->GetLength());
  }
  if (StoppedByLimits()) return false;
  mScript.DoLuaString("Init();");
  if (StoppedByLimits()) return false;
  mDone = false;
  return true;
}

bool TLuaParticleSystem::StoppedByLimits() {
  if (mScript.GetStop() == TScriptStop::kNone) return false;
  mStopped = mDone = true;  // the effect goes with what its script built
  return true;
}

void TLuaParticleSystem::Update(int ms) {
  if (mStopped) return;
  mScript.DoLuaString(TString::Format("Update(%d);", ms).c_str());
  if (StoppedByLimits()) return;
  Process(ms);
}

void TLuaParticleSystem::SetAlpha(float alpha) {
  mAlpha = alpha < 0.0f ? 0.0f : alpha > 1.0f ? 1.0f : alpha;
  if (alpha != alpha) mAlpha = 0.0f;  // NaN
}

void TLuaParticleSystem::CreateParticles(int n) {
  for (int i = 0; i < n; ++i) {
    TParticle* p = TakeFree();
    if (!p) return;
    for (int slot = 0; slot < kInitSlots; ++slot)
      if (mInit[static_cast<size_t>(slot)])
        mInit[static_cast<size_t>(slot)]->Apply(*p, kSlotField[slot], 0);
    AddToLayer(p);
  }
}

void TLuaParticleSystem::Process(int ms) {
  if (HasLayers()) {
    const float alpha = mAlpha;
    ForEachLive([&](TParticle& p) {
      for (auto& [op, field] : mDoList)
        if (!op->Run(p, field, ms)) return false;
      p.colour.SetAlpha(static_cast<uint8_t>(static_cast<float>(p.colour.GetAlpha()) * alpha));
      return true;
    });
  }
  // Emptied even without layers, so a script that never sets a texture does not grow it.
  mDoList.clear();
}

void TLuaParticleSystem::ScriptSetTexture(TString name, bool add) {
  AddTextureLayer(TTexture::Get(mFolder + name, 0), add);
}

int TLuaParticleSystem::ScriptRandomRange(int lo, int hi) {
  return ParticleRandom::RandomRange(lo, hi);
}

float TLuaParticleSystem::ScriptRandomFloat() {
  return ParticleRandom::RandomFloat();
}

std::unique_ptr<TProcessValue> TLuaParticleSystem::MakeOperator(lua_State* L) {
  const TString type = LuaToString(L, 1);
  const std::vector<TProcessType>& types = GetProcessTypes();
  const auto found = std::find_if(types.begin(), types.end(),
                                  [&](const TProcessType& t) { return type == t.name; });
  if (found == types.end()) {
    ReportUnknownType(type);
    return nullptr;
  }
  std::unique_ptr<TProcessValue> op(found->create());
  lua_pushvalue(L, 2);
  const TLuaTable args(L);  // anchors the argument table (nil reads as no arguments)
  op->Init(args);
  return op;
}

int TLuaParticleSystem::SetInit(lua_State* L, InitSlot slot) {
  std::unique_ptr<TProcessValue> op = MakeOperator(L);
  if (!op) return 0;
  // An operator of another family leaves the slot empty.
  mInit[slot] = op->IsKindOf(SlotFamily(slot)) ? std::move(op) : nullptr;
  return 0;
}

int TLuaParticleSystem::QueueDo(lua_State* L, int fieldOffset) {
  if (std::unique_ptr<TProcessValue> op = MakeOperator(L))
    mDoList.emplace_back(std::move(op), fieldOffset);
  return 0;
}

void TLuaParticleSystem::ReportUnknownType(const TString& name) {
  // The name reaches _ALERT as a value, never as script text.
  lua_State* L = mScript.GetState();
  const int top = lua_gettop(L);
  lua_pushstring(L, "_ALERT");
  lua_gettable(L, LUA_GLOBALSINDEX);
  if (lua_isfunction(L, -1)) {
    PushLuaString(L, TString("Type not found: ") + name);
    TScriptLimits::Call(L, 1, 0, 0);
  } else {
    DebugLog("Type not found: %s", name.c_str());
  }
  lua_settop(L, top);
}
