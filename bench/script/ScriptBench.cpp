// Speed of the script runtime on small classic workloads: calls, arithmetic, tables, strings,
// closures, compilation and the libraries (patterns, sorting, formatting, pack). Each
// benchmark compiles once and runs the chunk per iteration.
#include <benchmark/benchmark.h>

#include <string>

#include "tvlib/script/AuxLib.h"
#include "tvlib/script/Libs.h"

namespace {

void RunChunk(benchmark::State& state, const std::string& source) {
  lua_State* L = lua_open();
  luaopen_all(L);
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

BENCHMARK_CAPTURE(
    RunChunk, Fib,
    "local function fib(n) if n < 2 then return n end return fib(n-1) + fib(n-2) end fib(24)");
BENCHMARK_CAPTURE(RunChunk, FloatLoop,
                  "local x = 0 for i = 1, 1000000 do x = x + i * 0.5 - i / 3 end");
BENCHMARK_CAPTURE(RunChunk, ArrayFillSum,
                  "local t = {} for i = 1, 200000 do t[i] = i end local s = 0 for i = 1, 200000 do "
                  "s = s + t[i] end");
BENCHMARK_CAPTURE(RunChunk, HashBuildLookup,
                  "local t = {} for i = 1, 20000 do t['k' .. i] = i end "
                  "local s = 0 for r = 1, 5 do for i = 1, 20000 do s = s + t['k' .. i] end end");
BENCHMARK_CAPTURE(RunChunk, Closures,
                  "local s = 0 for i = 1, 100000 do local f = function() s = s + i end f() end");
BENCHMARK_CAPTURE(RunChunk, Bitwise,
                  "local x = 0 for i = 1, 1000000 do x = (x ^ i) & 0xFFFF | (i << 3) >> 2 end");
BENCHMARK_CAPTURE(
    RunChunk, Patterns,
    "local text = string.rep('alpha=1, beta=22; (gamma) 333\\n', 100) local n = 0 "
    "for k, v in string.gfind(text, '(%a+)=(%d+)') do n = n + v end "
    "local r = string.gsub(text, '%s+', ' ') local a, b = string.find(text, '%b()', 500)");
BENCHMARK_CAPTURE(
    RunChunk, Sort,
    "local t = {} local s = 7 for i = 1, 5000 do s = math.mod(s * 16807, 2147483647) t[i] = s end "
    "table.sort(t) table.sort(t, function(a, b) return a > b end)");
BENCHMARK_CAPTURE(
    RunChunk, FormatConcat,
    "local p = {} for i = 1, 2000 do p[i] = string.format('%d:%5.2f:%s', i, i / 7, 'x') end "
    "local s = table.concat(p, ',')");
BENCHMARK_CAPTURE(RunChunk, PackUnpack,
                  "for i = 1, 2000 do local r = string.pack('>ihdz', i, -i, i / 3, 'name') "
                  "local pos, a, b, c, d = string.unpack(r, '>ihdz') end");

void BM_Compile(benchmark::State& state) {
  std::string source = "return {";
  for (int i = 0; i < 5000; i++)
    source += "{name = 'item" + std::to_string(i) + "', x = " + std::to_string(i) + ", y = 2.5},\n";
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
