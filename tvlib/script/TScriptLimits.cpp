// The budgets' allocator and instruction hook, and the runs that reset them.
#include "tvlib/script/TScriptLimits.h"

#include <cinttypes>
#include <cstdlib>

#include "tvlib/core/DebugLog.h"
#include "tvlib/core/TTerminationRequest.h"
#include "tvlib/script/AuxLib.h"

namespace {

// Instructions between two looks at the count and the termination request: small enough to
// stop close to the bound, large enough to cost nothing measurable.
constexpr int kCountStep = 1000;

const char* StopMessage(TScriptStop stop) {
  switch (stop) {
    case TScriptStop::kInstructions:
      return "instruction limit reached";
    case TScriptStop::kTermination:
      return "the program is ending";
    default:
      return "not enough memory";
  }
}

std::optional<TScriptBudget> gTestBudget;

}  // namespace

const TScriptBudget& AssetScriptBudget() {
  return gTestBudget ? *gTestBudget : kAssetScriptBudget;
}

void SetAssetScriptBudgetForTests(std::optional<TScriptBudget> budget) {
  gTestBudget = budget;
}

lua_State* TScriptLimits::OpenState() {
  lua_State* L = lua_newstate(Allocate, this);
  if (L) lua_sethook(L, CountInstructions, LUA_MASKCOUNT, kCountStep);
  return L;
}

TScriptLimits* TScriptLimits::Of(lua_State* L) {
  void* ud = nullptr;
  return lua_getallocf(L, &ud) == Allocate ? static_cast<TScriptLimits*>(ud) : nullptr;
}

void TScriptLimits::StopRun(TScriptStop stop) {
  if (mStop != TScriptStop::kNone) return;
  mStop = stop;
  switch (stop) {
    case TScriptStop::kInstructions:
      DebugLog("Script stopped: it ran more than %" PRIu64 " instructions", mBudget.instructions);
      break;
    case TScriptStop::kMemory:
      DebugLog("Script stopped: it needed more than %zu bytes", mBudget.memoryBytes);
      break;
    case TScriptStop::kTermination:
      DebugLog("Script stopped: the program is ending");
      break;
    case TScriptStop::kNone:
      break;
  }
}

void* TScriptLimits::Allocate(void* ud, void* block, size_t osize, size_t nsize, int, int) {
  auto* limits = static_cast<TScriptLimits*>(ud);
  if (nsize == 0) {
    limits->mInUse -= osize;
    std::free(block);
    return nullptr;
  }
  const size_t budget = limits->mBudget.memoryBytes;
  if (budget != 0 && limits->mRunDepth > 0 && nsize > osize &&
      (limits->mInUse > budget || nsize - osize > budget - limits->mInUse)) {
    limits->StopRun(TScriptStop::kMemory);
    return nullptr;
  }
  void* fresh = std::realloc(block, nsize);
  if (fresh != nullptr) limits->mInUse = limits->mInUse - osize + nsize;
  return fresh;
}

void TScriptLimits::CountInstructions(lua_State* L, lua_Debug*) {
  TScriptLimits* limits = Of(L);
  if (!limits) return;
  limits->mExecuted += static_cast<uint64_t>(lua_gethookcount(L));
  const uint64_t bound = limits->mBudget.instructions;
  TScriptStop stop = TScriptStop::kNone;
  if (PendingTerminationRequest())
    stop = TScriptStop::kTermination;
  else if (bound != 0 && limits->mExecuted >= bound)
    stop = TScriptStop::kInstructions;
  if (stop == TScriptStop::kNone || limits->mRunDepth == 0) {
    // Back to the usual step on a thread that a stopped run left counting every instruction.
    if (lua_gethookcount(L) != kCountStep)
      lua_sethook(L, CountInstructions, LUA_MASKCOUNT, kCountStep);
    return;
  }
  limits->StopRun(stop);
  // From now on every instruction of the run stops it, wherever the script catches the error.
  lua_sethook(L, CountInstructions, LUA_MASKCOUNT, 1);
  luaL_error(L, "%s", StopMessage(stop));
}

int TScriptLimits::Call(lua_State* L, int nargs, int nresults, int errfunc) {
  int status;
  {
    TRun run(L);
    status = lua_pcall(L, nargs, nresults, errfunc);
  }
  CollectAfterMemoryStop(L);
  return status;
}

int TScriptLimits::Resume(lua_State* L, int nargs) {
  int status;
  {
    TRun run(L);
    status = lua_resume(L, nargs);
  }
  CollectAfterMemoryStop(L);
  return status;
}

void TScriptLimits::CollectAfterMemoryStop(lua_State* L) {
  // What the stopped run left is mostly garbage the collector has not seen yet: without a
  // collection now, every later run would be refused its first allocation.
  const TScriptLimits* limits = Of(L);
  if (limits && limits->mRunDepth == 0 && limits->mStop == TScriptStop::kMemory)
    lua_setgcthreshold(L, 0);
}

TScriptStop TScriptLimits::StopOf(lua_State* L) {
  const TScriptLimits* limits = Of(L);
  return limits ? limits->GetStop() : TScriptStop::kNone;
}

TScriptLimits::TRun::TRun(lua_State* L) : mLimits(L ? Of(L) : nullptr) {
  if (!mLimits) return;
  if (mLimits->mRunDepth++ == 0) {
    mLimits->mExecuted = 0;
    mLimits->mStop = TScriptStop::kNone;
  }
}

TScriptLimits::TRun::~TRun() {
  if (mLimits) --mLimits->mRunDepth;
}
