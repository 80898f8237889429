// A running script: a script state that is also a timed task. Its main chunk (or any
// function run with one result) may return a function, which becomes the script's coroutine:
// the task resumes it each time it fires, and functions bound by the engine suspend it with
// lua_yield after arranging when the task fires next (SetPeriod) or leaving it suspended
// until an event wakes it. Script errors go to "_ALERT", which logs "Lua error: %s".
//
// When the script opens its own state, that state runs under the asset scripts' budget
// (TScriptLimits.h); GetStop tells whether its last run was stopped by it.
//
// Globals of every script: "_ALERT", "DebugOut" (discards its text), "DumpTable" (logs a
// table's pairs), "_SCRIPT" (the TScript as light userdata) and, once needed, "GetClosure".
// Libraries: base with coroutines, string, table. UI thread only.
#pragma once

#include <memory>
#include <vector>

#include "tvlib/core/TString.h"
#include "tvlib/core/TTask.h"
#include "tvlib/script/Api.h"
#include "tvlib/script/TLuaObjectWrapper.h"
#include "tvlib/script/TScriptLimits.h"

class TLuaTable;

class TScript : public TAnimTask {
 public:
  // Takes the state (null: opens a new one under AssetScriptBudget()); the script owns it.
  // Built suspended.
  explicit TScript(lua_State* L = nullptr);
  ~TScript() override;
  TScript(const TScript&) = delete;
  TScript& operator=(const TScript&) = delete;

  lua_State* GetState() const { return mL; }
  // The script deletes the object before it next runs, or when it goes.
  void QueueDelete(TLuaObjectWrapper* object) { mPending.push_back(object); }

  // Compiles (or shares) and runs a script file; false when it does not exist, load or run.
  bool RunScript(const TString& fileName);
  // Runs source text (length -1: up to the terminating zero); errors are logged and passed
  // to the global "LuaErrorMessage" when there is one.
  void DoLuaString(const char* code, int length = -1);
  // Calls the function below the nargs arguments on the stack top. While the script is
  // suspended in a yield, a call for at most one result is first offered to OfferClosure as
  // a closure that makes the call later. Returns 0 or the error status.
  int RunFunction(int nargs, int nresults);
  // Resumes the coroutine with nargs values; returns the status of lua_resume.
  int Resume(int nargs);
  bool IsYielded() const { return lua_isyielded(mL) != 0; }
  // Why the last RunFunction (RunScript, DoLuaString) or Resume was stopped by the state's
  // limits (kNone: it was not, or the state has none): what it built is then to be dropped.
  TScriptStop GetStop() const { return mLastStop; }

  // The task's step: resumes the coroutine; suspends the task when it ends or fails.
  bool Animate() override;
  // Offered a closure (on the stack top, consumed) to run when the script can take calls;
  // true when taken. This one declines.
  virtual bool OfferClosure();

  // Values on the stack top, popped.
  double PopNumber();
  TString PopString();
  // nil and false are false, numbers true when not 0; strings log and give false; other
  // types log and give false without being popped.
  bool PopBool();
  // Pushes field n of the table on the top; false (pushing nothing) when it is nil.
  bool PushTableItem(int n);

  // Globals; the stack top is restored.
  TString GetGlobalString(const char* name);
  void SetGlobalString(const char* name, const TString& text);
  TLuaTable* GetGlobalTable(const char* name);
  double GetGlobalNumber(const char* name);

 private:
  void OpenLibraries();
  void DeletePending();
  // Calls _ALERT (when it is a function) with the message on the stack top, popping it.
  void Alert();
  // Leaves a closure that calls the function and arguments on the top later (see RunFunction).
  void MakeClosure(int nargs);

  std::unique_ptr<TScriptLimits> mLimits;  // those of a state the script opened
  lua_State* mL;
  std::vector<TLuaObjectWrapper*> mPending;
  // The stack top below the coroutine's function: what it leaves when it ends is dropped.
  int mCoroutineBase = 0;
  TScriptStop mLastStop = TScriptStop::kNone;
};
