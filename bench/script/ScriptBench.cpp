// Speed of the script runtime on small classic workloads: calls, arithmetic, tables, strings,
// closures and compilation. Each benchmark compiles once and runs the chunk per iteration.
#include <benchmark/benchmark.h>

#include <string>

#include "tvlib/script/AuxLib.h"

namespace {

void RunChunk(benchmark::State& state, const std::string& source) {
  lua_State* L = lua_open();
  if (luaL_loadbuffer(L, source.data(), source.size(), "=bench") != 0) {
    state.SkipWithError(lua_tostring(L, -1));
    lua_close(L);
    return;
  }
  for (auto _ : state) {
    lua_pushvalue(L, -1);
    if (lua_pcall(L, 0, 0, 0) != 0) {
      state.SkipWithError(lua_tostring(L, -1));
      break;
    }
  }
  lua_close(L);
}

void BM_Fib(benchmark::State& state) {
  RunChunk(state, "local function fib(n) if n < 2 then return n end return fib(n-1) + fib(n-2) end fib(24)");
}
BENCHMARK(BM_Fib);

void BM_FloatLoop(benchmark::State& state) {
  RunChunk(state, "local x = 0 for i = 1, 1000000 do x = x + i * 0.5 - i / 3 end");
}
BENCHMARK(BM_FloatLoop);

void BM_ArrayFillSum(benchmark::State& state) {
  RunChunk(state, "local t = {} for i = 1, 200000 do t[i] = i end local s = 0 for i = 1, 200000 do s = s + t[i] end");
}
BENCHMARK(BM_ArrayFillSum);

void BM_HashBuildLookup(benchmark::State& state) {
  RunChunk(state,
           "local t = {} for i = 1, 20000 do t['k' .. i] = i end "
           "local s = 0 for r = 1, 5 do for i = 1, 20000 do s = s + t['k' .. i] end end");
}
BENCHMARK(BM_HashBuildLookup);

void BM_Closures(benchmark::State& state) {
  RunChunk(state,
           "local s = 0 for i = 1, 100000 do local f = function() s = s + i end f() end");
}
BENCHMARK(BM_Closures);

void BM_Bitwise(benchmark::State& state) {
  RunChunk(state, "local x = 0 for i = 1, 1000000 do x = (x ^ i) & 0xFFFF | (i << 3) >> 2 end");
}
BENCHMARK(BM_Bitwise);

void BM_Compile(benchmark::State& state) {
  std::string source = "return {";
  for (int i = 0; i < 5000; i++) source += "{name = 'item" + std::to_string(i) + "', x = " + std::to_string(i) + ", y = 2.5},\n";
  source += "}";
  lua_State* L = lua_open();
  for (auto _ : state) {
    luaL_loadbuffer(L, source.data(), source.size(), "=data");
    lua_settop(L, 0);
  }
  lua_close(L);
}
BENCHMARK(BM_Compile);

}  // namespace
