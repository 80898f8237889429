// Bounds on what a script may use: instructions per run from the engine and memory in use at
// once, with the one budget every script of the game's assets runs under (layouts, particle,
// effect and animation scripts, the game's own). tvlua's --instructions and --memory set them
// for a script run by hand.
//
// A run is an entry of the engine into a state's scripts: a protected call or a resume, made
// through Call and Resume below (every engine entry is); runs nested inside it (a script
// calling the engine calling a script) belong to it. Past the
// instruction bound every further instruction of the run raises "instruction limit reached",
// so a script that catches the error still ends; past the memory bound the run's allocations
// fail with "not enough memory" (what the engine allocates between runs is never refused, so
// a script that filled its state cannot make the engine fail). A termination request of the
// system (TTerminationRequest.h) stops a run the same way, so that no script keeps the program
// from ending. Each stop is logged; the caller learns of it from Stop() and drops what the
// script was building. UI thread only, like the scripts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "tvlib/script/Api.h"

struct TScriptBudget {
  uint64_t instructions = 0;  // per run; 0: no bound
  size_t memoryBytes = 0;     // in use at once; 0: no bound
};

// Every script of the assets: far above what any shipped script needs (the largest runs a few
// hundred thousand instructions and holds a few megabytes), and still an end within a second
// or so for a script that loops or grows without end.
inline constexpr TScriptBudget kAssetScriptBudget{100'000'000, 256u << 20};

// The budget the engine's scripts open their states with: kAssetScriptBudget, unless a test or
// fuzz target has set a smaller one to reach the limits quickly (nullopt: back to it).
const TScriptBudget& AssetScriptBudget();
void SetAssetScriptBudgetForTests(std::optional<TScriptBudget> budget);

enum class TScriptStop { kNone, kInstructions, kMemory, kTermination };

class TScriptLimits {
 public:
  explicit TScriptLimits(const TScriptBudget& budget) : mBudget(budget) {}
  TScriptLimits(const TScriptLimits&) = delete;
  TScriptLimits& operator=(const TScriptLimits&) = delete;

  // A new state that keeps to these limits, or null when it cannot be made. The limits must
  // outlive it.
  lua_State* OpenState();
  // The limits of a state made by OpenState, else null.
  static TScriptLimits* Of(lua_State* L);

  const TScriptBudget& GetBudget() const { return mBudget; }
  // Why the last run was stopped; kNone while it runs on, or when it ended by itself.
  TScriptStop GetStop() const { return mStop; }
  size_t GetBytesInUse() const { return mInUse; }
  uint64_t GetInstructionsRun() const { return mExecuted; }

  // lua_pcall and lua_resume as one run each; the outermost run starts a fresh count and
  // clears the last stop. For a state without limits, the plain calls.
  static int Call(lua_State* L, int nargs, int nresults, int errfunc);
  static int Resume(lua_State* L, int nargs);
  // The stop of the state's last run; kNone for a state without limits.
  static TScriptStop StopOf(lua_State* L);

 private:
  // Marks a run while it lives. Only around a protected call: allocations are refused only
  // inside one, where the refusal is a script error and never the end of the program.
  class TRun {
   public:
    explicit TRun(lua_State* L);
    ~TRun();
    TRun(const TRun&) = delete;
    TRun& operator=(const TRun&) = delete;

   private:
    TScriptLimits* mLimits;
  };

  static void* Allocate(void* ud, void* block, size_t osize, size_t nsize, int, int);
  static void CountInstructions(lua_State* L, lua_Debug*);
  static void CollectAfterMemoryStop(lua_State* L);
  // Notes and logs the first stop of a run.
  void StopRun(TScriptStop stop);

  TScriptBudget mBudget;
  TScriptStop mStop = TScriptStop::kNone;
  int mRunDepth = 0;
  uint64_t mExecuted = 0;
  size_t mInUse = 0;
};
