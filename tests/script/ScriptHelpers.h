// Test helpers for the script runtime: a state with `print', `typeof' (the type name),
// `setmeta' (sets a metatable, returns the table) and an `out' function that collects its arguments
// (tab-separated, one line per call), and runners for source text.
#pragma once

#include <filesystem>
#include <span>
#include <string>

#include "tvlib/script/AuxLib.h"
#include "tvlib/script/Libs.h"
#include "tvlib/script/Object.h"

namespace tvs::test {

struct RunResult {
  int status = 0;
  std::string output;  // lines written by `out'
  std::string error;   // the error message when status != 0
};

class ScriptState {
 public:
  ScriptState();
  ~ScriptState();
  ScriptState(const ScriptState&) = delete;
  ScriptState& operator=(const ScriptState&) = delete;

  lua_State* L() const { return mL; }
  // Compiles and runs source text under the chunk name (default "=test").
  RunResult Run(const std::string& source, const std::string& name = "=test");
  // Compiles only; the function is left on the stack when the status is 0.
  int Load(const std::string& source, const std::string& name = "=test");
  // The prototype of the script function on the stack top.
  const TProto* TopProto() const;

 private:
  lua_State* mL;
};

// Compiles source and returns the listing of its main function and nested functions, or the
// syntax error message.
std::string ListSource(const std::string& source);

// A script and the whole output it must write through `out'.
struct Case {
  const char* source;
  const char* output;
};
// A script and the whole error message it must fail with.
struct ErrorCase {
  const char* source;
  const char* message;
};
// Runs each case in a fresh state under the chunk name "=test".
void ExpectOutputs(std::span<const Case> cases);
void ExpectErrors(std::span<const ErrorCase> cases);

// The whole file, as bytes; empty when it cannot be read.
std::string ReadGoldenFile(const std::filesystem::path& path);

}  // namespace tvs::test
